#include "segment_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace siteplan {

float SegmentAngle(QPoint a, QPoint b)
{
    constexpr double pi = std::numbers::pi;
    const double dx = static_cast<double>(b.x()) - a.x();
    const double dy = static_cast<double>(b.y()) - a.y();
    if (dx == 0 && dy == 0)
        return 0;
    // The angle is first taken clockwise (as y grows downwards) from the
    // arcsine of the y share, then turned round.
    double c = 0;
    if (dx == 0) {
        c = dy >= 0 ? pi / 2 : 3 * pi / 2;
    } else {
        const double s = dy / std::sqrt(dx * dx + dy * dy);
        const double a = static_cast<float>(std::atan(s / std::sqrt(1 - s * s)));
        if (dx < 0)
            c = pi - a;
        else if (a < 0)
            c = a + 2 * pi;
        else
            c = a;
    }
    double r = 2 * pi - c;
    if (r >= 2 * pi)
        r -= 2 * pi;
    return static_cast<float>(r);
}

float SegmentLength(QPoint a, QPoint b)
{
    const double dx = static_cast<double>(b.x()) - a.x();
    const double dy = static_cast<double>(b.y()) - a.y();
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    return -FloorDiv(-a, b);
}

TVisibleArea VisibleArea(const platform::Canvas& canvas, std::int64_t reach)
{
    const QRect r = canvas.ClipRect();
    return {std::int64_t{r.left()} - reach, std::int64_t{r.top()} - reach, std::int64_t{r.right()} + reach,
            std::int64_t{r.bottom()} + reach};
}

void VisibleStretch(const TVisibleArea& area, QPoint a, double theta, std::int64_t& from, std::int64_t& to)
{
    const double ux = std::cos(theta);
    const double uy = -std::sin(theta);
    const double xs[2] = {static_cast<double>(area.Left), static_cast<double>(area.Right)};
    const double ys[2] = {static_cast<double>(area.Top), static_cast<double>(area.Bottom)};
    double low = 0;
    double high = 0;
    bool first = true;
    for (const double x : xs) {
        for (const double y : ys) {
            const double t = (x - a.x()) * ux + (y - a.y()) * uy;
            low = first ? t : std::min(low, t);
            high = first ? t : std::max(high, t);
            first = false;
        }
    }
    from = static_cast<std::int64_t>(std::floor(std::clamp(low, -1e15, 1e15)));
    to = static_cast<std::int64_t>(std::ceil(std::clamp(high, -1e15, 1e15)));
}

bool CrossingStretch(const TVisibleArea& area, QPoint a, double theta, std::int64_t& from, std::int64_t& to)
{
    constexpr double limit = 1e15;
    double low = -limit;
    double high = limit;
    // Each axis keeps the distances whose points lie between the area's two
    // sides on it; a line along an axis is kept whole or not at all.
    const auto cut = [&low, &high](double start, double step, double side1, double side2) {
        if (step == 0)
            return start >= side1 && start <= side2;
        const double t1 = (side1 - start) / step;
        const double t2 = (side2 - start) / step;
        low = std::max(low, std::min(t1, t2));
        high = std::min(high, std::max(t1, t2));
        return true;
    };
    if (!cut(a.x(), std::cos(theta), static_cast<double>(area.Left), static_cast<double>(area.Right))
        || !cut(a.y(), -std::sin(theta), static_cast<double>(area.Top), static_cast<double>(area.Bottom)))
        return false;
    if (low > high)
        return false;
    from = static_cast<std::int64_t>(std::floor(low));
    to = static_cast<std::int64_t>(std::ceil(high));
    return true;
}

void SetFontAngle(platform::TFont& font, int angle)
{
    font.Escapement = angle;
}

} // namespace siteplan
