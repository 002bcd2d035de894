// Polygons of a one-pixel solid pen: the painter fills them, and the canvas
// writes their outline into the image itself (see PaintThinPath).
#include "painter_canvas.h"

#include <algorithm>
#include <vector>

namespace platform {

bool PainterCanvas::PaintThinPolygon(std::span<const QPoint> points)
{
    // A polygon of one point has no outline to trace.
    if (!CanWriteThinLine() || std::all_of(points.begin(), points.end(), [&](QPoint p) { return p == points.front(); }))
        return false;
    if (Brush.Style != TBrushStyle::bsClear) {
        QPainterPath path(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            path.lineTo(points[i]);
        path.closeSubpath();
        path.setFillRule(Qt::OddEvenFill);
        PaintFigure({path, QPainterPath(), true});
    }
    // The outline runs back to the first point.
    thread_local std::vector<QPoint> closed;
    closed.assign(points.begin(), points.end());
    if (closed.back() != closed.front())
        closed.push_back(closed.front());
    PaintThinPath(closed);
    return true;
}

} // namespace platform
