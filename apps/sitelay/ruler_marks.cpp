#include "apps/sitelay/ruler_marks.h"

#include "platform/colors.h"
#include "platform/numbers.h"

#include <vector>

namespace sitelay {

namespace {

constexpr int kMaxUnits = 100000;

int Nearest(double value)
{
    return platform::RoundInt(value);
}

// Number of whole grid units on the sheet, or -1 when no marks are drawn.
int UnitCount(const RulerGeometry& ruler)
{
    if (!(ruler.UnitPixel > 0.0f))
        return -1;
    const std::int64_t n = platform::Trunc(ruler.Length / static_cast<double>(ruler.UnitPixel));
    return n > kMaxUnits ? -1 : static_cast<int>(n);
}

// Drops the points beyond the end along the axis, then closes the baseline
// at the end.
void EndAt(std::vector<QPoint>& points, int end, QPoint last, bool horizontal)
{
    const auto along = [horizontal](QPoint p) { return horizontal ? p.x() : p.y(); };
    while (!points.empty() && along(points.back()) > end)
        points.pop_back();
    if (!points.empty() && along(points.back()) < end)
        points.push_back(last);
}

void WhiteStrip(platform::Canvas& canvas)
{
    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    canvas.Pen = platform::TPen{platform::clWhite, platform::TPenStyle::psSolid, 1};
}

void BlackLine(platform::Canvas& canvas, const std::vector<QPoint>& points)
{
    canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psSolid, 1};
    canvas.Polyline(points);
}

} // namespace

void PaintHorizontalRuler(platform::Canvas& canvas, const RulerGeometry& ruler)
{
    const int left = ruler.Start;
    const int right = left + ruler.Length;
    WhiteStrip(canvas);
    canvas.Rectangle(left, 0, right, ruler.Thickness - 1);
    const int n = UnitCount(ruler);
    if (n < 0)
        return;
    const int y0 = ruler.Thickness - 2;
    const int yMajor = ruler.Thickness / 2 + 3;
    const int yMinor = ruler.Thickness / 4 + yMajor - 2;
    std::vector<QPoint> points;
    points.reserve(6 * (static_cast<std::size_t>(n) + 1) + 1);
    for (int i = 0; i <= n; ++i) {
        const int x = Nearest(i * static_cast<double>(ruler.UnitPixel)) + left;
        const int xm = Nearest((i + 0.5) * static_cast<double>(ruler.UnitPixel)) + left;
        points.insert(points.end(), {{x, y0}, {x, yMajor}, {x, y0}, {xm, y0}, {xm, yMinor}, {xm, y0}});
        if (i == 0) {
            canvas.TextOut(x + 2, 0, ruler.ShowUnit);
        } else {
            const QString label = QString::number(static_cast<std::int64_t>(i) * ruler.UnitValue);
            canvas.TextOut(x - canvas.TextWidth(label) / 2, 0, label);
        }
    }
    EndAt(points, right, {right, y0}, true);
    BlackLine(canvas, points);
}

void PaintVerticalRuler(platform::Canvas& canvas, const RulerGeometry& ruler)
{
    const int top = ruler.Start;
    const int bottom = top + ruler.Length;
    WhiteStrip(canvas);
    canvas.Rectangle(0, top, ruler.Thickness, bottom);
    const int n = UnitCount(ruler);
    if (n < 0)
        return;
    const int x0 = ruler.Thickness - 1;
    const int xMajor = ruler.Thickness / 2 + 3;
    const int xMinor = ruler.Thickness / 4 + xMajor - 2;
    // Widths are measured upright, as the labels' lengths along the ruler.
    const platform::TFont upright = canvas.Font;
    platform::TFont turned = upright;
    turned.Escapement = 900;
    std::vector<QPoint> points;
    points.reserve(6 * (static_cast<std::size_t>(n) + 1) + 1);
    for (int i = 0; i <= n; ++i) {
        const int y = Nearest(i * static_cast<double>(ruler.UnitPixel)) + top;
        const int ym = Nearest((i + 0.5) * static_cast<double>(ruler.UnitPixel)) + top;
        points.insert(points.end(), {{x0, y}, {xMajor, y}, {x0, y}, {x0, ym}, {xMinor, ym}, {x0, ym}});
        const QString label = i == 0 ? ruler.ShowUnit : QString::number(static_cast<std::int64_t>(i) * ruler.UnitValue);
        canvas.Font = upright;
        const int w = canvas.TextWidth(label);
        canvas.Font = turned;
        canvas.TextOut(-2, i == 0 ? y + w : y + w / 2, label);
    }
    canvas.Font = upright;
    EndAt(points, bottom, {x0, bottom}, false);
    BlackLine(canvas, points);
}

} // namespace sitelay
