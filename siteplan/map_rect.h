// A rectangle given by its four edges, as the plan control and its shapes
// use it: Right and Bottom are the edge coordinates, not the last pixel
// inside (unlike QRect::right()).
#pragma once

#include "platform/numbers.h"

#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstdint>

namespace siteplan {

// Screen coordinates of shapes stay within +-ScreenLimit, whatever world
// points a file holds, so that margins, handle sizes and offsets added to
// them stay within int.
constexpr int ScreenLimit = 1 << 30;

// A computed screen coordinate, rounded and held within +-ScreenLimit.
inline int ScreenCoordinate(double v)
{
    return platform::RoundInt(std::clamp<double>(v, -ScreenLimit, ScreenLimit));
}

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const TRect&, const TRect&) = default;

    // The same rectangle grown by d on every side (shrunk for negative d),
    // held within int.
    TRect Inflated(int d) const
    {
        const auto grown = [](int v, std::int64_t by) { return platform::SaturateInt(std::int64_t{v} + by); };
        return {grown(Left, -std::int64_t{d}), grown(Top, -std::int64_t{d}), grown(Right, d), grown(Bottom, d)};
    }

    // The rectangle spanned by two corners in any order.
    static TRect Spanning(QPoint a, QPoint b)
    {
        return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y())};
    }

    // Edges at the two ends of the int range are more than an int apart:
    // the corners are given, not the size.
    QRect ToQRect() const
    {
        return QRect(QPoint(Left, Top), QPoint(platform::SaturateInt(std::int64_t{Right} - 1),
                                               platform::SaturateInt(std::int64_t{Bottom} - 1)));
    }
};

} // namespace siteplan
