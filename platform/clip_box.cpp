#include "clip_box.h"

#include "numbers.h"

#include <cmath>
#include <limits>

namespace platform {

QRect ClipBoxInWorld(const QRect& box, const QTransform& world)
{
    if (world.isIdentity())
        return box;
    bool invertible = false;
    const QTransform inverse = world.inverted(&invertible);
    if (!invertible)
        return box;
    const QRectF exact = inverse.mapRect(QRectF(box));
    // Qt's integer mapping is kept wherever it cannot overflow, so that an
    // ordinary view gets exactly the box it always got.
    constexpr double margin = 4;
    constexpr double low = std::numeric_limits<int>::min() + margin;
    constexpr double high = std::numeric_limits<int>::max() - margin;
    if (exact.left() >= low && exact.top() >= low && exact.right() <= high && exact.bottom() <= high)
        return inverse.mapRect(box);
    return {QPoint(RoundInt(std::floor(exact.left())), RoundInt(std::floor(exact.top()))),
            QPoint(RoundInt(std::ceil(exact.right()) - 1), RoundInt(std::ceil(exact.bottom()) - 1))};
}

} // namespace platform
