#include "segment_geometry.h"

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

void SetFontAngle(platform::TFont& font, int angle)
{
    font.Escapement = angle;
}

} // namespace siteplan
