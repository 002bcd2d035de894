// One-pixel solid lines written into the canvas's image by the canvas
// itself, pixel for pixel where the painter's stroke would set them; paths
// of many points drawn again from the pixels kept for them.
#include "painter_canvas.h"

#include "kept_run_cache.h"
#include "thin_line.h"

#include <vector>

namespace platform {

namespace {

// Calls plot(x, y) for each pixel that the painter's one-pixel stroke of
// the path through points (device pixels) sets on a device of the given
// size, a pixel once or more. False, with nothing plotted, for a path that
// the painter draws nothing of.
template <typename Plot>
bool TraceThinPath(QSize device, std::span<const QPoint> points, QPoint offset, Plot plot)
{
    // The path as the painter keeps it: a point equal to the one before is
    // left out.
    thread_local std::vector<QPointF> path;
    path.clear();
    for (const QPoint& p : points) {
        const QPointF at(p + offset);
        if (path.empty() || path.back() != at)
            path.push_back(at);
    }
    if (path.size() < 2)
        return false;
    ThinLineTracer tracer(device);
    if (path.front() == path.back())
        tracer.BeginClosedPath(path[path.size() - 2], path.back());
    else
        tracer.BeginOpenPath();
    ThinRun run;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (!tracer.Piece(path[i - 1], path[i], run))
            continue;
        std::int64_t across = run.Across;
        for (int k = 0; k < run.Count; ++k, across += run.Step) {
            if (run.Vertical)
                plot(static_cast<int>(across >> 16), run.From + k);
            else
                plot(run.From + k, static_cast<int>(across >> 16));
        }
    }
    return true;
}

} // namespace

bool PainterCanvas::PaintKeptThinPath(std::span<const QPoint> points, QPoint offset, QRgb color)
{
    thread_local std::vector<int> key;
    QRect extent;
    if (points.size() < KeptRunCache::FewestPathPoints || !KeptRunCache::KeyOf(points, key, extent))
        return false;
    QImage& target = *TargetImage();
    // Only a path wholly on the device shows pixels that move with it.
    const std::int64_t x = std::int64_t{points.front().x()} + offset.x();
    const std::int64_t y = std::int64_t{points.front().y()} + offset.y();
    if (x + extent.left() < 0 || y + extent.top() < 0 || x + extent.right() >= target.width() ||
        y + extent.bottom() >= target.height())
        return false;
    const QPoint at = points.front() + offset;
    KeptRunCache& cache = KeptRunCache::ThinPaths();
    const std::vector<KeptRun>* runs = cache.Find(key);
    if (runs == nullptr) {
        if (!cache.ShouldKeep(key))
            return false;
        thread_local std::vector<QPoint> pixels;
        pixels.clear();
        TraceThinPath(target.size(), points, offset,
                      [&](int px, int py) { pixels.emplace_back(px - at.x(), py - at.y()); });
        runs = &cache.Keep(key, pixels);
    }
    // A piece's pixels stay within a pixel of the box of its ends; the
    // reach allows two.
    WriteKeptRuns(target.bits(), target.bytesPerLine(), color, StampClip(), at,
                  extent.translated(at).adjusted(-2, -2, 2, 2), *runs);
    return true;
}

bool PainterCanvas::CanWriteThinLine() const
{
    return CanStamp() && DevicePenWidth() == 1 &&
           (Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame);
}

bool PainterCanvas::PaintThinPath(std::span<const QPoint> points)
{
    if (!CanWriteThinLine())
        return false;
    QImage& target = *TargetImage();
    const QPoint offset(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const QRgb color = ToQColor(Pen.Color).rgb();
    const std::vector<QRect>& clips = StampClip();
    if (clips.empty())
        return true;
    if (PaintKeptThinPath(points, offset, color))
        return true;
    const auto write = [&](int x, int y) { reinterpret_cast<QRgb*>(bits + y * stride)[x] = color; };
    if (clips.size() == 1) {
        const QRect clip = clips.front();
        return TraceThinPath(target.size(), points, offset, [&](int x, int y) {
            if (x >= clip.left() && x <= clip.right() && y >= clip.top() && y <= clip.bottom())
                write(x, y);
        });
    }
    return TraceThinPath(target.size(), points, offset, [&](int x, int y) {
        if (InClip(clips, QPoint(x, y)))
            write(x, y);
    });
}

} // namespace platform
