// Rows of pixels written straight into the image, and the unturned
// rectangles written that way. The painter fills a rectangle of whole-pixel
// edges over exactly its pixels, and strokes its frame with a one-pixel
// pen along the rows and columns of its edges, the right and bottom ones a
// pixel beyond the fill: the same pixels are written without setting up
// its fill and stroke for every rectangle, where it lies within the clip.
#include "painter_canvas.h"

#include "colors.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Rectangles farther from the origin are left to the painter.
constexpr double MostWrittenReach = 1 << 20;

} // namespace

PainterCanvas::RowWriter PainterCanvas::Rows()
{
    QImage& target = *TargetImage();
    return {target.bits(), target.bytesPerLine(), &StampClip()};
}

void PainterCanvas::RowWriter::operator()(int y, int from, int to, QRgb color) const
{
    for (const QRect& clip : *Clips) {
        if (y < clip.top() || y > clip.bottom())
            continue;
        const int left = std::max(from, clip.left());
        const int right = std::min(to, clip.right());
        if (left > right)
            continue;
        auto* line = reinterpret_cast<QRgb*>(Bits + y * Stride);
        std::fill(line + left, line + right + 1, color);
    }
}

bool PainterCanvas::WriteRectangle(const QRectF& rect)
{
    const bool solidPen = Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame;
    if ((!solidPen && Pen.Style != TPenStyle::psClear) || !CanStamp() || DevicePenWidth() != 1)
        return false;
    // The painter takes a figure of no width or height another way.
    if (rect.width() < 1 || rect.height() < 1 ||
        std::max({std::abs(rect.left()), std::abs(rect.top()), std::abs(rect.right()), std::abs(rect.bottom())}) >
            MostWrittenReach)
        return false;
    const QColor pen = ToQColor(Pen.Color);
    const QColor brush = ToQColor(Brush.Color);
    if (pen.alpha() != 255 || brush.alpha() != 255)
        return false;
    const int left = static_cast<int>(rect.left() + world_.dx());
    const int top = static_cast<int>(rect.top() + world_.dy());
    const int right = left + static_cast<int>(rect.width());
    const int bottom = top + static_cast<int>(rect.height());
    // The painter strokes a frame that meets the edge of the image a little
    // differently: only a rectangle wholly inside one clip rectangle is
    // written, and one wholly outside the clip shows nothing.
    const QRect area(QPoint(left, top), QPoint(right, bottom));
    const std::vector<QRect>& clips = StampClip();
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.intersects(area); }))
        return true;
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(area); }))
        return false;
    // Rows off the image lie in no clip rectangle.
    const int height = TargetImage()->height();
    const RowWriter write = Rows();
    if (Brush.Style == TBrushStyle::bsSolid) {
        const QRgb fill = brush.rgba();
        for (int y = std::max(top, 0), end = std::min(bottom - 1, height - 1); y <= end; ++y)
            write(y, left, right - 1, fill);
    }
    if (Pen.Style == TPenStyle::psClear)
        return true;
    const QRgb frame = pen.rgba();
    write(top, left, right, frame);
    write(bottom, left, right, frame);
    for (int y = std::max(top + 1, 0), end = std::min(bottom - 1, height - 1); y <= end; ++y) {
        write(y, left, left, frame);
        write(y, right, right, frame);
    }
    return true;
}

} // namespace platform
