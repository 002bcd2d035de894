// Line layout of DrawText: splits a text into the lines that the dt flags
// ask for, measured with the font metrics of the surface.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace platform {

struct TextLine {
    QString Text;
    int Width = 0;
};

// Lines of text within a box maxWidth pixels wide.
// - dt::SingleLine: the whole text on one line.
// - otherwise lines end at line feeds ("\r\n", "\n" or "\r"); a line feed
//   that ends the text adds no empty line.
// - dt::WordBreak additionally ends a line where the next word would pass
//   maxWidth: after a run of spaces (the spaces are dropped) or between two
//   characters when either is a CJK character. A word longer than the box
//   stays whole, unless dt::EditControl is set, which breaks it between
//   characters.
std::vector<TextLine> LayoutText(const QString& text, int maxWidth, unsigned flags, const QFontMetrics& metrics);

// Height of one text line: the font's cell height, ascent plus descent.
inline int LineHeight(const QFontMetrics& metrics) { return metrics.ascent() + metrics.descent(); }

// The text of one DrawText call laid out in its rect.
struct TextBlock {
    std::vector<TextLine> Lines;
    int LineHeight = 0;
    QSize Size;  // widest line by all lines; what dt::CalcRect gives
    int Top = 0; // top of the first line: the rect's top, or lower for a
                 // single line with dt::VCenter or dt::Bottom
    // What DrawText returns: the height of the text below the rect's top.
    int DrawnHeight(const QRect& rect) const { return Top - rect.top() + Size.height(); }
};

TextBlock LayoutTextBlock(const QString& text, const QRect& rect, unsigned flags, const QFontMetrics& metrics);

} // namespace platform
