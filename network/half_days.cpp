#include "network/half_days.h"

#include "platform/numbers.h"

#include <cmath>

namespace network {

float RoundToHalfDay(float value)
{
    // From 2^22 on, single precision has no step finer than half a day.
    constexpr float noFraction = 4194304.0f;
    if (!(std::fabs(value) < noFraction))
        return value;
    const float halves = value / 0.5f;
    return static_cast<float>(platform::Round(halves)) * 0.5f;
}

} // namespace network
