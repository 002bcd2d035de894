#include "common/length_units.h"

#include "platform/numbers.h"

#include <utility>

namespace common {

namespace {

// Units per inch of a physical unit; 0 for pixels and unknown codes.
int UnitsPerInch(int unit)
{
    switch (unit) {
    case luTenthMM: return 254;
    case luHundredthMM: return 2540;
    case luTenthInch: return 10;
    case luHundredthInch: return 100;
    case luTwips: return 1440;
    default: return 0;
    }
}

} // namespace

int ConvertLength(int value, int resolution, int fromUnit, int toUnit)
{
    const int fromPerInch = UnitsPerInch(fromUnit);
    const int toPerInch = UnitsPerInch(toUnit);
    if (resolution <= 0 && (fromPerInch != 0 || toPerInch != 0))
        return 0;
    const int pixels = fromPerInch != 0 ? platform::MulDivSaturated(value, resolution, fromPerInch) : value;
    return toPerInch != 0 ? platform::MulDivSaturated(pixels, toPerInch, resolution) : pixels;
}

void SwapInt(int& a, int& b)
{
    std::swap(a, b);
}

} // namespace common
