#include "text_layout.h"

#include "canvas.h"

#include <algorithm>

namespace platform {

namespace {

bool IsCjk(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) // radicals, punctuation, kana, ideographs
        || (u >= 0xAC00 && u <= 0xD7AF) // Hangul syllables
        || (u >= 0xF900 && u <= 0xFAFF) // compatibility ideographs
        || (u >= 0xFE30 && u <= 0xFE4F) // compatibility forms
        || (u >= 0xFF00 && u <= 0xFFEF) // full-width forms
        || c.isSurrogate();             // supplementary ideographs
}

// A line may end before position i (0 < i < size) without dropping text:
// between two characters when either is CJK (never inside a surrogate pair).
bool CjkBreakBefore(const QString& text, qsizetype i)
{
    if (text[i].isLowSurrogate())
        return false;
    return IsCjk(text[i - 1]) || IsCjk(text[i]);
}

// The position after the character at i, keeping surrogate pairs whole.
qsizetype NextChar(const QString& text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return i + 2;
    return i + 1;
}

void BreakParagraph(const QString& paragraph, int maxWidth, bool breakLongWords, const QFontMetrics& metrics,
                    std::vector<TextLine>& lines)
{
    const QChar space = QLatin1Char(' ');
    const qsizetype size = paragraph.size();
    qsizetype start = 0;
    while (true) {
        const QString rest = paragraph.mid(start);
        const int restWidth = metrics.horizontalAdvance(rest);
        if (restWidth <= maxWidth) {
            lines.push_back({rest, restWidth});
            return;
        }
        // The last break whose line fits; the first break when none fits.
        qsizetype lineEnd = -1;
        qsizetype nextStart = -1;
        qsizetype firstEnd = -1;
        qsizetype firstNext = -1;
        for (qsizetype i = NextChar(paragraph, start); i < size; i = NextChar(paragraph, i)) {
            qsizetype candidateNext = -1;
            if (paragraph[i] == space && paragraph[i - 1] != space) {
                candidateNext = i;
                while (candidateNext < size && paragraph[candidateNext] == space)
                    ++candidateNext;
            } else if (paragraph[i] != space && paragraph[i - 1] != space && CjkBreakBefore(paragraph, i)) {
                candidateNext = i;
            } else {
                continue;
            }
            if (firstEnd < 0) {
                firstEnd = i;
                firstNext = candidateNext;
            }
            if (metrics.horizontalAdvance(paragraph.mid(start, i - start)) > maxWidth)
                break;
            lineEnd = i;
            nextStart = candidateNext;
        }
        if (lineEnd < 0 && breakLongWords) {
            // The first word alone is too wide: break it where it passes the box.
            lineEnd = NextChar(paragraph, start);
            for (qsizetype i = lineEnd; i < size; i = NextChar(paragraph, i)) {
                if (metrics.horizontalAdvance(paragraph.mid(start, NextChar(paragraph, i) - start)) > maxWidth)
                    break;
                lineEnd = NextChar(paragraph, i);
            }
            nextStart = lineEnd;
        } else if (lineEnd < 0) {
            lineEnd = firstEnd;
            nextStart = firstNext;
        }
        if (lineEnd < 0) {
            lines.push_back({rest, restWidth});
            return;
        }
        const QString line = paragraph.mid(start, lineEnd - start);
        lines.push_back({line, metrics.horizontalAdvance(line)});
        start = nextStart;
        if (start >= size)
            return;
    }
}

} // namespace

std::vector<TextLine> LayoutText(const QString& text, int maxWidth, unsigned flags, const QFontMetrics& metrics)
{
    std::vector<TextLine> lines;
    if (flags & dt::SingleLine) {
        lines.push_back({text, metrics.horizontalAdvance(text)});
        return lines;
    }
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A line break at the very end starts no further line.
    if (normalized.endsWith(QLatin1Char('\n')))
        normalized.chop(1);
    const QStringList paragraphs = normalized.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (flags & dt::WordBreak)
            BreakParagraph(paragraph, maxWidth, (flags & dt::EditControl) != 0, metrics, lines);
        else
            lines.push_back({paragraph, metrics.horizontalAdvance(paragraph)});
    }
    return lines;
}

TextBlock LayoutTextBlock(const QString& text, const QRect& rect, unsigned flags, const QFontMetrics& metrics)
{
    TextBlock block;
    block.LineHeight = LineHeight(metrics);
    if (text.isEmpty()) {
        block.Size = QSize(0, (flags & dt::SingleLine) ? block.LineHeight : 0);
    } else {
        block.Lines = LayoutText(text, rect.width(), flags, metrics);
        int width = 0;
        for (const TextLine& line : block.Lines)
            width = std::max(width, line.Width);
        block.Size = QSize(width, static_cast<int>(block.Lines.size()) * block.LineHeight);
    }
    block.Top = rect.top();
    if (flags & dt::SingleLine) {
        if (flags & dt::VCenter)
            block.Top += (rect.height() - block.LineHeight) / 2;
        else if (flags & dt::Bottom)
            block.Top += rect.height() - block.LineHeight;
    }
    return block;
}

} // namespace platform
