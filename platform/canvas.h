// The drawing surface every engine draws on: the screen back buffer, a
// bitmap, a printer page, a metafile or a recording in a test. The pen,
// brush and font are public state read by each call, so callers set them
// the way they would on any canvas and then draw.
//
// Pixel conventions (kept by every implementation):
// - Rectangle, Ellipse and RoundRect cover [Left, Right) x [Top, Bottom):
//   the right and bottom edges are outside the figure. With a clear pen the
//   fill alone covers one pixel less to the right and bottom.
// - FillRect and FrameRect cover exactly the pixels of their QRect.
// - LineTo draws up to, but not including, its end point.
// - Arc runs counter-clockwise (as seen on the screen) from the radial
//   through the start point to the radial through the end point; equal
//   radials draw the whole ellipse.
// - Pens wider than one pixel have round ends and joins; dash styles apply
//   to one-pixel pens only, and their gaps show the brush colour when the
//   brush is solid. psInsideFrame keeps a wide outline inside the bounding
//   box of Rectangle, Ellipse and RoundRect.
// - Hatches are 8-pixel patterns aligned to the device, drawn in the brush
//   colour over a transparent background.
// - Text is anchored at the top-left of its cell; Font.Escapement turns it
//   counter-clockwise in tenths of a degree (900 reads bottom to top).
// - Text is drawn on an opaque background of the brush colour when the
//   brush is solid; a clear or hatched brush leaves the background.
//   TextOut moves PenPos to the end of the text.
// - Pen.Mode combines the pen and brush pixels of lines and figures with the
//   pixels below; text, FillRect, FrameRect, pictures and pixels always copy.
#pragma once

#include "colors.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <span>

namespace platform {

// Ordinals are stored in files: keep the order.
enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode : std::uint8_t { pmCopy, pmNotXor, pmMaskPenNot, pmXor };
enum class TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;
    TPenMode Mode = TPenMode::pmCopy;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

struct TFont {
    QString Name = QStringLiteral("宋体");
    int Size = 9;             // points; the canvas converts with its PixelsPerInch
    TFontStyles Style = 0;    // TFontStyle bits
    TColor Color = clBlack;
    int Escapement = 0;       // tenths of a degree, counter-clockwise
    friend bool operator==(const TFont&, const TFont&) = default;
};

// Flags of DrawText.
namespace dt {
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;
constexpr unsigned Bottom = 0x8;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned NoClip = 0x100;
constexpr unsigned CalcRect = 0x400;
constexpr unsigned EditControl = 0x2000;
} // namespace dt

class Canvas {
public:
    virtual ~Canvas() = default;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // Lines. The current position is moved by MoveTo and LineTo.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual QPoint PenPos() const = 0;
    virtual void Polyline(std::span<const QPoint> points) = 0;
    // Separate lines of one pen: ends holds (from, to) pairs, each drawn as
    // MoveTo(from) then LineTo(to), in order. A canvas may draw them in one
    // go where that shows the same pixels.
    virtual void Segments(std::span<const QPoint> ends)
    {
        for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
            MoveTo(ends[i].x(), ends[i].y());
            LineTo(ends[i + 1].x(), ends[i + 1].y());
        }
    }
    // 3n + 1 points: a start point and n (control, control, end) triples.
    virtual void PolyBezier(std::span<const QPoint> points) = 0;

    // Figures: outlined with the pen, filled with the brush.
    virtual void Polygon(std::span<const QPoint> points) = 0; // alternate fill
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) = 0;
    virtual void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) = 0;
    // Brush only, no outline.
    virtual void FillRect(const QRect& rect) = 0;
    // A one-pixel frame in the brush colour.
    virtual void FrameRect(const QRect& rect) = 0;

    // Text in Font.
    virtual void TextOut(int x, int y, const QString& text) = 0;
    // Text at (x, y), clipped to rect; the rect is filled when the brush is not clear.
    virtual void TextRect(const QRect& rect, int x, int y, const QString& text) = 0;
    // Formats text in rect by the dt flags. With dt::CalcRect nothing is
    // drawn: left and top stay, right and bottom grow to the text. Returns
    // the height of the text.
    virtual int DrawText(const QString& text, QRect& rect, unsigned flags) = 0;
    virtual QSize TextExtent(const QString& text) = 0;
    int TextWidth(const QString& text) { return TextExtent(text).width(); }
    int TextHeight(const QString& text) { return TextExtent(text).height(); }

    // Coordinates passed to every call are mapped by the world transform.
    virtual void SetWorldTransform(const QTransform& transform) = 0;
    virtual QTransform WorldTransform() const = 0;

    // Clipping, in device pixels; ResetClipRegion lets drawing reach the whole surface.
    virtual void SetClipRegion(const QRegion& region) = 0;
    virtual void ResetClipRegion() = 0;
    // The area that drawing can reach: the clip box, or the whole surface,
    // mapped back to logical coordinates through the world transform.
    virtual QRect ClipRect() const = 0;

    // Pictures.
    virtual void Draw(int x, int y, const QImage& image) = 0;
    virtual void StretchDraw(const QRect& rect, const QImage& image) = 0;

    // Single pixels (for surfaces that hold pixels; others ignore them and
    // read white). Pixel gives -1 outside the surface or the clip region.
    virtual TColor Pixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;

    // Logical resolution of the surface, used for font sizes and for
    // converting millimetres to pixels.
    virtual int PixelsPerInch() const = 0;
    // True when only the pixels left at the end count (a screen or a
    // bitmap), not the calls that made them: a drawing wholly painted over
    // by later opaque ones may then be left out.
    virtual bool KeepsOnlyPixels() const { return false; }
};

} // namespace platform
