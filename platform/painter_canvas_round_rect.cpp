// Rounded rectangles of a one-pixel solid or clear pen and a solid or clear
// brush. The canvas writes the fill of a rounded rectangle drawn again from
// the pixels that the painter filled for one of the same size and corners
// before (see KeptRunCache): the fill of a figure that lies within the
// image and one clip rectangle moves with it by whole pixels, so it is kept
// by the figure's size and corners, relative to its top left corner. The
// outline is then written over it as the painter strokes it (see
// WriteThinOutline).
#include "painter_canvas.h"

#include "colors.h"
#include "kept_run_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Rounded rectangles are kept up to this size.
constexpr int MostKeptSide = 512;

// The keys of polygons start with their first point relative to itself, 0;
// this tag keeps the keys of rounded rectangles apart from them.
constexpr int FillTag = 1;

} // namespace

QPainterPath PainterCanvas::RoundRectPath(int left, int top, int right, int bottom, int cornerWidth,
                                          int cornerHeight) const
{
    QPainterPath path;
    path.addRoundedRect(FigureRect(left, top, right, bottom), std::abs(cornerWidth) / 2.0,
                        std::abs(cornerHeight) / 2.0);
    return path;
}

bool PainterCanvas::WriteRoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    if (!CanStamp() || (Pen.Style != TPenStyle::psClear && !CanWriteThinLine()))
        return false;
    const std::int64_t width = std::abs(std::int64_t{right} - left);
    const std::int64_t height = std::abs(std::int64_t{bottom} - top);
    const std::int64_t cornerX = std::abs(std::int64_t{cornerWidth});
    const std::int64_t cornerY = std::abs(std::int64_t{cornerHeight});
    if (std::max({width, height, cornerX, cornerY}) > MostKeptSide)
        return false;
    // The device pixel of the figure's top left corner, and the pixels it
    // can touch with one to spare on each side.
    const std::int64_t x = std::int64_t{std::min(left, right)} + static_cast<std::int64_t>(world_.dx());
    const std::int64_t y = std::int64_t{std::min(top, bottom)} + static_cast<std::int64_t>(world_.dy());
    const QRect image = TargetImage()->rect();
    if (x - 1 <= image.left() || y - 1 <= image.top() || x + width + 1 >= image.right() ||
        y + height + 1 >= image.bottom())
        return false;
    const QPoint at(static_cast<int>(x), static_cast<int>(y));
    const QRect reach(at.x() - 1, at.y() - 1, static_cast<int>(width) + 3, static_cast<int>(height) + 3);
    const std::vector<QRect>& clips = StampClip();
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(reach); }))
        return false;

    // A fill neither kept nor to be kept now is left to the painter, before
    // the figure's path is made.
    KeptRunCache& cache = KeptRunCache::Fills();
    thread_local std::vector<int> key;
    const std::vector<KeptRun>* runs = nullptr;
    const bool filled = Brush.Style == TBrushStyle::bsSolid;
    if (filled) {
        key.assign({FillTag, static_cast<int>(width), static_cast<int>(height), static_cast<int>(cornerX),
                    static_cast<int>(cornerY)});
        runs = cache.Find(key);
        if (runs == nullptr && !cache.ShouldKeep(key))
            return false;
    }
    const QPainterPath path = RoundRectPath(left, top, right, bottom, cornerWidth, cornerHeight);
    if (filled) {
        if (runs == nullptr) {
            // Filled by the painter on a clear image of the figure's reach.
            thread_local QImage scratch;
            if (scratch.width() < reach.width() || scratch.height() < reach.height())
                scratch = QImage(reach.size().expandedTo(scratch.size()), QImage::Format_ARGB32_Premultiplied);
            for (int row = 0; row < reach.height(); ++row) {
                auto* line = reinterpret_cast<QRgb*>(scratch.scanLine(row));
                std::fill(line, line + reach.width(), QRgb(0));
            }
            {
                QPainter painter(&scratch);
                painter.setClipRect(QRect(QPoint(0, 0), reach.size()));
                PaintFigureOn(painter, QTransform::fromTranslate(-reach.left(), -reach.top()),
                              {path, QPainterPath(), true});
            }
            thread_local std::vector<QPoint> pixels;
            pixels.clear();
            for (int row = 0; row < reach.height(); ++row) {
                const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(row));
                for (int column = 0; column < reach.width(); ++column)
                    if (qAlpha(line[column]) != 0)
                        pixels.emplace_back(reach.left() + column - at.x(), reach.top() + row - at.y());
            }
            runs = &cache.Keep(key, pixels);
        }
        WriteKeptRuns(TargetImage()->bits(), TargetImage()->bytesPerLine(), ToQColor(Brush.Color).rgb(), clips, at,
                      reach, *runs);
    }
    if (Pen.Style != TPenStyle::psClear && !WriteThinOutline(path))
        PaintFigure({QPainterPath(), path});
    return true;
}

} // namespace platform
