#include "network/drawing/vyr_draw_tool.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace network {

using platform::Canvas;

std::int32_t ScreenCoordinate(std::int64_t value) { return std::int32_t(std::clamp<std::int64_t>(value, -kScreenLimit, kScreenLimit)); }

void AppendPoint(TPointList& list, QPoint p) { list.push_back(p); }

void TranslatePoints(TPointList& list, int dx, int dy)
{
    for (QPoint& p : list)
        p = QPoint(ScreenCoordinate(std::int64_t{p.x()} + dx), ScreenCoordinate(std::int64_t{p.y()} + dy));
}

void OrderPoints(QPoint& a, QPoint& b)
{
    if (!(b.x() >= a.x() && b.y() >= a.y()))
        std::swap(a, b);
}

namespace {

bool IsVertical(QPoint a, QPoint b) { return a.x() == b.x() && a.y() != b.y(); }

// Collinear segments along one axis: coordinates a1 <= a2 and b1 <= b2,
// turned back into points by at().
template <typename At>
bool CollinearOverlap(int a1, int a2, int b1, int b2, At at, TPointList& out)
{
    if (a2 < b1 || b2 < a1)
        return false;
    if (a2 == b1) {
        out.push_back(at(a2));
        return true;
    }
    if (b2 == a1) {
        out.push_back(at(a1));
        return true;
    }
    if (b1 <= a1 && a2 <= b2)
        return true;
    if (b1 <= a1) {
        out.insert(out.end(), {at(b2), at(a2)});
        return true;
    }
    if (a2 <= b2) {
        out.insert(out.end(), {at(a1), at(b1)});
        return true;
    }
    out.insert(out.end(), {at(a1), at(b1), at(b2), at(a2)});
    return true;
}

} // namespace

bool SegmentOverlap(QPoint a1, QPoint a2, QPoint b1, QPoint b2, TPointList& out)
{
    out.clear();
    OrderPoints(a1, a2);
    OrderPoints(b1, b2);
    const bool aVertical = IsVertical(a1, a2);
    const bool bVertical = IsVertical(b1, b2);
    if (aVertical == bVertical) {
        if (aVertical) {
            if (a1.x() != b1.x())
                return false;
            const int x = a1.x();
            return CollinearOverlap(a1.y(), a2.y(), b1.y(), b2.y(), [x](int y) { return QPoint(x, y); }, out);
        }
        if (a1.y() != b1.y())
            return false;
        const int y = a1.y();
        return CollinearOverlap(a1.x(), a2.x(), b1.x(), b2.x(), [y](int x) { return QPoint(x, y); }, out);
    }
    if (!aVertical) {
        if (a1.x() <= b1.x() && b1.x() <= a2.x() && b1.y() <= a1.y() && a1.y() <= b2.y()) {
            out.push_back(QPoint(b1.x(), a1.y()));
            return true;
        }
        return false;
    }
    if (b1.x() <= a1.x() && a1.x() <= b2.x() && a1.y() <= b1.y() && b1.y() <= a2.y()) {
        out.push_back(QPoint(a1.x(), b1.y()));
        return true;
    }
    return false;
}

bool PointNearSegment(QPoint p, QPoint a, QPoint b, int tol)
{
    OrderPoints(a, b);
    if (a.x() == b.x())
        return a.y() <= p.y() && p.y() <= b.y() && std::llabs(std::int64_t{p.x()} - a.x()) < tol;
    return a.x() <= p.x() && p.x() <= b.x() && std::llabs(std::int64_t{p.y()} - a.y()) < tol;
}

void DrawSolidLine(Canvas& canvas, QPoint p, QPoint q)
{
    const platform::TPenStyle style = canvas.Pen.Style;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    if (p.x() >= q.x() && p.y() >= q.y())
        std::swap(p, q);
    const std::array<QPoint, 2> line{p, q};
    canvas.Polyline(line);
    canvas.Pen.Style = style;
}

void DrawDottedLine(Canvas& canvas, QPoint p, QPoint q)
{
    const platform::TPen saved = canvas.Pen;
    if (saved.Width != 1) {
        canvas.Pen.Color = canvas.Brush.Color;
        DrawSolidLine(canvas, p, q);
    }
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Color = saved.Color;
    canvas.Pen.Style = platform::TPenStyle::psDot;
    canvas.Pen.Width = 1;
    const std::array<QPoint, 2> line{p, q};
    canvas.Polyline(line);
    canvas.Pen.Width = saved.Width;
    canvas.Pen.Mode = saved.Mode;
    canvas.Pen.Style = saved.Style;
}

void DrawWaveLine(Canvas& canvas, QPoint p, QPoint q)
{
    const QPoint left = p.x() <= q.x() ? p : q;
    const QPoint right = p.x() <= q.x() ? q : p;
    const std::int64_t x0 = left.x();
    // Vertex k (1 <= k <= last) lies at x0 + 5k; k = 0 is left and
    // last + 1 is right. Only vertices from the last one left of the clip
    // area to the first one right of it are drawn.
    const std::int64_t span = std::int64_t{right.x()} - x0;
    const std::int64_t last = span > 0 ? (span - 1) / 5 : 0;
    const QRect clip = canvas.ClipRect();
    const std::int64_t clipLeft = std::int64_t{clip.left()} - 2;
    const std::int64_t clipRight = std::int64_t{clip.right()} + 2;
    std::int64_t first = 0;
    if (clipLeft > x0)
        first = std::min(last + 1, (clipLeft - x0) / 5);
    std::int64_t end = last + 1;
    if (clipRight < x0 + 5 * end)
        end = std::max(first, (clipRight - x0 + 4) / 5);
    TPointList points;
    points.reserve(std::size_t(std::min<std::int64_t>(end - first + 1, 1 << 20)));
    for (std::int64_t k = first; k <= end; ++k) {
        if (k == 0)
            points.push_back(left);
        else if (k == last + 1)
            points.push_back(right);
        else
            points.push_back(QPoint(int(x0 + 5 * k), k % 2 ? p.y() + 1 : p.y() - 1));
    }
    const platform::TPen saved = canvas.Pen;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Polyline(points);
    canvas.Pen.Width = saved.Width;
    canvas.Pen.Color = saved.Color;
    canvas.Pen.Style = saved.Style;
}

void DrawJumpArc(Canvas& canvas, QPoint x, bool vertical, int r)
{
    const platform::TPen saved = canvas.Pen;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    const std::int64_t cx = x.x();
    const std::int64_t cy = x.y();
    const std::int64_t radius = r;
    const auto c = [](std::int64_t v) { return ScreenCoordinate(v); };
    if (vertical)
        canvas.Arc(c(cx - radius + 2), c(cy - radius), c(cx + radius + 2), c(cy + radius), c(cx), c(cy + radius), c(cx),
                   c(cy - radius));
    else
        canvas.Arc(c(cx - radius), c(cy - radius - 1), c(cx + radius), c(cy + radius - 1), c(cx + radius), c(cy + 1),
                   c(cx - radius), c(cy + 1));
    canvas.Pen.Width = saved.Width;
    canvas.Pen.Style = saved.Style;
}

void DrawArrowHead(Canvas& canvas, QPoint p, int dir, int h, int w, int back)
{
    const std::int64_t x = p.x();
    const std::int64_t y = p.y();
    const std::int64_t far = std::int64_t{back} + w;
    const std::int64_t near = std::int64_t{back} + 1;
    const auto at = [](std::int64_t px, std::int64_t py) { return QPoint(ScreenCoordinate(px), ScreenCoordinate(py)); };
    std::array<QPoint, 3> corners;
    switch (dir) {
    case 0:
        corners = {at(x - far, y - h), at(x - near, y), at(x - far, y + h)};
        break;
    case 1:
        corners = {at(x + far, y - h), at(x + near, y), at(x + far, y + h)};
        break;
    case 2:
        corners = {at(x - h, y - far), at(x, y - near), at(x + h, y - far)};
        break;
    default:
        corners = {at(x - h, y + far), at(x, y + near), at(x + h, y + far)};
        break;
    }
    const platform::TPen saved = canvas.Pen;
    const platform::TColor brushColor = canvas.Brush.Color;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Brush.Color = canvas.Pen.Color;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Polygon(corners);
    canvas.Pen.Width = saved.Width;
    canvas.Pen.Style = saved.Style;
    canvas.Brush.Color = brushColor;
}

namespace {

QPoint TextPlace(Canvas& canvas, const QRect& rect, const QString& text, int hAlign, int vAlign)
{
    // In 64 bits: a rectangle at the ends of the int range places its text
    // at the screen limit instead of overflowing.
    const QSize size = canvas.TextExtent(text);
    const std::int64_t left = rect.left();
    const std::int64_t top = rect.top();
    const std::int64_t right = left + rect.width();
    const std::int64_t bottom = top + rect.height();
    std::int64_t x = left;
    if (hAlign == 1)
        x = right - size.width();
    else if (hAlign == 2)
        x = (left + right - size.width()) / 2;
    std::int64_t y = top;
    if (vAlign == 0)
        y = bottom - size.height();
    else if (vAlign == 1)
        y = (top + bottom - size.height()) / 2;
    return QPoint(ScreenCoordinate(x), ScreenCoordinate(y));
}

} // namespace

void DrawTextInRect(Canvas& canvas, const QRect& rect, const QString& text, int hAlign, int vAlign,
                    platform::TColor frameColor)
{
    const QPoint at = TextPlace(canvas, rect, text, hAlign, vAlign);
    canvas.TextRect(rect, at.x(), at.y(), text);
    if (frameColor != -1) {
        const platform::TColor brushColor = canvas.Brush.Color;
        canvas.Brush.Color = frameColor;
        canvas.FrameRect(rect.adjusted(0, 0, 1, 1));
        canvas.Brush.Color = brushColor;
    }
}

void DrawTextInRectClear(Canvas& canvas, const QRect& rect, const QString& text, int hAlign, int vAlign,
                         platform::TColor)
{
    const QPoint at = TextPlace(canvas, rect, text, hAlign, vAlign);
    const platform::TBrushStyle style = canvas.Brush.Style;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.TextRect(rect, at.x(), at.y(), text);
    canvas.Brush.Style = style;
}

void DrawTextCentered(Canvas& canvas, QPoint p, const QString& text)
{
    const QSize size = canvas.TextExtent(text);
    const platform::TBrushStyle style = canvas.Brush.Style;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.TextOut(ScreenCoordinate(std::int64_t{p.x()} - size.width() / 2 + 1),
                   ScreenCoordinate(std::int64_t{p.y()} - size.height() / 2), text);
    canvas.Brush.Style = style;
}

} // namespace network
