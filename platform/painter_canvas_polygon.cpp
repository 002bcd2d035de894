// Polygons of a one-pixel solid pen: the canvas writes their outline into
// the image itself (see PaintThinPath), and the fill of a solid brush from
// the pixels kept when the painter filled the polygon before (see
// KeptRunCache); the painter fills the rest.
#include "painter_canvas.h"

#include "colors.h"
#include "kept_run_cache.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {

namespace {

// Fills are kept for polygons that fit in a square of this side.
constexpr int MostKeptFillSide = 512;

QPainterPath PolygonPath(std::span<const QPoint> points)
{
    QPainterPath path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

} // namespace

bool PainterCanvas::PaintKeptFill(std::span<const QPoint> points)
{
    thread_local std::vector<int> key;
    QRect extent;
    if (Brush.Style != TBrushStyle::bsSolid || !KeptRunCache::KeyOf(points, key, extent) ||
        extent.width() > MostKeptFillSide || extent.height() > MostKeptFillSide)
        return false;
    const std::int64_t x = std::int64_t{points.front().x()} + static_cast<std::int64_t>(world_.dx());
    const std::int64_t y = std::int64_t{points.front().y()} + static_cast<std::int64_t>(world_.dy());
    const QRect image = TargetImage()->rect();
    if (x + extent.left() <= image.left() || y + extent.top() <= image.top() || x + extent.right() >= image.right() ||
        y + extent.bottom() >= image.bottom())
        return false;
    // The fill's pixels have their centres inside the polygon; the clip
    // decides nothing at their edges where a pixel's margin lies within one
    // of its rectangles.
    const QPoint at(static_cast<int>(x), static_cast<int>(y));
    const QRect reach = extent.translated(at).adjusted(-1, -1, 1, 1);
    const std::vector<QRect>& clips = StampClip();
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(reach); }))
        return false;
    KeptRunCache& cache = KeptRunCache::Fills();
    const std::vector<KeptRun>* runs = cache.Find(key);
    if (runs == nullptr) {
        if (!cache.ShouldKeep(key))
            return false;
        // Filled by the painter on a clear image of the polygon's reach.
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
                          {PolygonPath(points), QPainterPath(), true});
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
    return true;
}

bool PainterCanvas::PaintThinPolygon(std::span<const QPoint> points)
{
    // A polygon of one point has no outline to trace.
    if (!CanWriteThinLine() || std::all_of(points.begin(), points.end(), [&](QPoint p) { return p == points.front(); }))
        return false;
    if (Brush.Style != TBrushStyle::bsClear && !PaintKeptFill(points))
        PaintFigure({PolygonPath(points), QPainterPath(), true});
    // The outline runs back to the first point.
    thread_local std::vector<QPoint> closed;
    closed.assign(points.begin(), points.end());
    if (closed.back() != closed.front())
        closed.push_back(closed.front());
    PaintThinPath(closed);
    return true;
}

} // namespace platform
