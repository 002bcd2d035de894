// One-pixel solid lines written into the canvas's image by the canvas
// itself, pixel for pixel where the painter's stroke would set them; paths
// of many points drawn again from the pixels kept for them.
#include "painter_canvas.h"

#include "kept_run_cache.h"
#include "thin_line.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// Writes color into the pixels of run that lie in clip.
void WriteRun(uchar* bits, qsizetype stride, QRgb color, const ThinRun& run, const QRect& clip)
{
    const int alongFirst = run.From;
    const int alongLast = run.From + run.Count - 1;
    const std::int64_t acrossEnd = run.Across + std::int64_t{run.Count - 1} * run.Step;
    const int acrossLow = static_cast<int>(std::min(run.Across, acrossEnd) >> 16);
    const int acrossHigh = static_cast<int>(std::max(run.Across, acrossEnd) >> 16);
    const QRect extent = run.Vertical ? QRect(QPoint(acrossLow, alongFirst), QPoint(acrossHigh, alongLast))
                                      : QRect(QPoint(alongFirst, acrossLow), QPoint(alongLast, acrossHigh));
    if (!extent.intersects(clip))
        return;
    const bool inside = clip.contains(extent);
    std::int64_t across = run.Across;
    for (int along = alongFirst; along <= alongLast; ++along, across += run.Step) {
        const int other = static_cast<int>(across >> 16);
        const int x = run.Vertical ? other : along;
        const int y = run.Vertical ? along : other;
        if (inside || clip.contains(x, y))
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = color;
    }
}

// Calls put(run) for the runs of pixels that the painter's one-pixel
// stroke of the path through points (device pixels) sets on a device of
// the given size, a pixel once or more. False, with nothing put, for a
// path that the painter draws nothing of.
template <typename Put>
bool TraceThinPath(QSize device, std::span<const QPoint> points, QPoint offset, Put put)
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
    for (std::size_t i = 1; i < path.size(); ++i)
        if (tracer.Piece(path[i - 1], path[i], run))
            put(run);
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
        TraceThinPath(target.size(), points, offset, [&](const ThinRun& run) {
            std::int64_t across = run.Across;
            for (int k = 0; k < run.Count; ++k, across += run.Step) {
                const int other = static_cast<int>(across >> 16);
                if (run.Vertical)
                    pixels.emplace_back(other - at.x(), run.From + k - at.y());
                else
                    pixels.emplace_back(run.From + k - at.x(), other - at.y());
            }
        });
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

template <typename Trace>
bool PainterCanvas::WithThinLineWriter(Trace trace)
{
    if (!CanWriteThinLine())
        return false;
    QImage& target = *TargetImage();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const QRgb color = ToQColor(Pen.Color).rgb();
    const std::vector<QRect>& clips = StampClip();
    if (clips.empty())
        return true;
    // The clip rectangles do not overlap: each takes its part of a run.
    trace([&](const ThinRun& run) {
        for (const QRect& clip : clips)
            WriteRun(bits, stride, color, run, clip);
    });
    return true;
}

bool PainterCanvas::PaintThinPath(std::span<const QPoint> points)
{
    if (!CanWriteThinLine())
        return false;
    if (StampClip().empty())
        return true;
    const QPoint offset(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    if (PaintKeptThinPath(points, offset, ToQColor(Pen.Color).rgb()))
        return true;
    const QSize device = TargetImage()->size();
    bool drawn = true;
    WithThinLineWriter([&](auto put) { drawn = TraceThinPath(device, points, offset, put); });
    return drawn;
}

bool PainterCanvas::PaintThinSegments(std::span<const QPoint> ends)
{
    if (!CanWriteThinLine())
        return false;
    // A line of no length is the painter's to draw.
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2)
        if (ends[i] == ends[i + 1])
            return false;
    const QSize device = TargetImage()->size();
    const QPoint offset(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    return WithThinLineWriter([&](auto put) {
        ThinRun run;
        for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
            const QPoint a = ends[i];
            const QPoint b = ends[i + 1];
            if ((a.x() == b.x() || a.y() == b.y()) && PaintStraightLine(a, b))
                continue;
            // Each line is a path of its own: nothing of the one before
            // counts.
            ThinLineTracer tracer(device);
            tracer.BeginOpenPath();
            if (tracer.Piece(QPointF(a + offset), QPointF(b + offset), run))
                put(run);
        }
    });
}

bool PainterCanvas::PaintThinPieces(std::span<const QPointF> points, const QPointF* closing)
{
    const QSize device = TargetImage()->size();
    return WithThinLineWriter([&](auto put) {
        ThinLineTracer tracer(device);
        if (closing != nullptr)
            tracer.BeginClosedPath(closing[0], closing[1]);
        else
            tracer.BeginOpenPath();
        ThinRun run;
        for (std::size_t i = 1; i < points.size(); ++i)
            if (tracer.Piece(points[i - 1], points[i], run))
                put(run);
    });
}

} // namespace platform
