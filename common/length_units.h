// Lengths of paper and print: device pixels at a resolution and five
// physical units, and the conversion between them through pixels.
#pragma once

#include <cstdint>

namespace common {

// The screen counts as 96 pixels per inch for everything the preview shows.
constexpr int ScreenPixelsPerInch = 96;

// Unit codes of ConvertLength; any other code acts like luPixels.
enum TLengthUnit : int {
    luPixels = 0,       // device pixels at the given resolution
    luTenthMM = 1,      // 0.1 mm, 254 per inch
    luHundredthMM = 2,  // 0.01 mm, 2540 per inch
    luTenthInch = 3,    // 10 per inch
    luHundredthInch = 4,// 100 per inch
    luTwips = 5,        // 1440 per inch
};

// Value in fromUnit turned into pixels at resolution (pixels per inch),
// then into toUnit; each step rounds to the nearest integer, halves away
// from zero, so a round trip may differ by one unit. A resolution of 0 or
// below gives 0 for every conversion that passes through physical units;
// results beyond int32 saturate.
int ConvertLength(int value, int resolution, int fromUnit, int toUnit);

void SwapInt(int& a, int& b);

} // namespace common
