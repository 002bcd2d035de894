#include "apps/sitelay/zoom_steps.h"

#include "platform/numbers.h"

namespace sitelay {

namespace {

int RaiseToMultipleOf5(int z)
{
    if (z % 5 != 0)
        z += 5 - z % 5;
    return z;
}

} // namespace

int ZoomInStep(int zoom)
{
    return RaiseToMultipleOf5(3 * zoom / 2);
}

int ZoomOutStep(int zoom)
{
    return RaiseToMultipleOf5(3 * zoom / 4);
}

QString MousePositionText(QPoint world)
{
    const std::int64_t x = platform::Round(world.x() / 1000.0) * 100;
    const std::int64_t y = platform::Round(world.y() / 1000.0) * 100;
    return QStringLiteral("X = %1 mm ; Y =  %2 mm").arg(x).arg(y);
}

} // namespace sitelay
