// One-pixel solid lines written into the canvas's image by the canvas
// itself, pixel for pixel where the painter's stroke would set them.
#include "painter_canvas.h"

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
    const auto write = [&](int x, int y) { reinterpret_cast<QRgb*>(bits + y * stride)[x] = color; };
    if (clips.size() == 1) {
        const QRect clip = clips.front();
        trace([&](int x, int y) {
            if (x >= clip.left() && x <= clip.right() && y >= clip.top() && y <= clip.bottom())
                write(x, y);
        });
        return true;
    }
    trace([&](int x, int y) {
        if (InClip(clips, QPoint(x, y)))
            write(x, y);
    });
    return true;
}

bool PainterCanvas::PaintThinPath(std::span<const QPoint> points)
{
    if (!CanWriteThinLine())
        return false;
    const QSize device = TargetImage()->size();
    const QPoint offset(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    bool drawn = true;
    WithThinLineWriter([&](auto plot) { drawn = TraceThinPath(device, points, offset, plot); });
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
    return WithThinLineWriter([&](auto plot) {
        for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
            const QPoint a = ends[i];
            const QPoint b = ends[i + 1];
            if ((a.x() == b.x() || a.y() == b.y()) && PaintStraightLine(a, b))
                continue;
            TraceThinPath(device, ends.subspan(i, 2), offset, plot);
        }
    });
}

bool PainterCanvas::PaintThinPieces(std::span<const QPointF> points, const QPointF* closing)
{
    const QSize device = TargetImage()->size();
    return WithThinLineWriter([&](auto plot) {
        ThinLineTracer tracer(device);
        if (closing != nullptr)
            tracer.BeginClosedPath(closing[0], closing[1]);
        else
            tracer.BeginOpenPath();
        ThinRun run;
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (!tracer.Piece(points[i - 1], points[i], run))
                continue;
            std::int64_t across = run.Across;
            for (int k = 0; k < run.Count; ++k, across += run.Step) {
                if (run.Vertical)
                    plot(static_cast<int>(across >> 16), run.From + k);
                else
                    plot(run.From + k, static_cast<int>(across >> 16));
            }
        }
    });
}

} // namespace platform
