// The 10-byte x87 extended float of the stream (64-bit mantissa with an
// explicit integer bit, 15-bit exponent, sign), converted with integer
// arithmetic so that the result does not depend on the compiler's long
// double. Every double is exact in the extended format; the way back rounds
// to nearest, ties to even, with subnormals, infinities and NaN kept.
#pragma once

#include <array>
#include <cstdint>

namespace stream {

using Extended = std::array<std::uint8_t, 10>;

Extended DoubleToExtended(double value);
double ExtendedToDouble(const Extended& bytes);
// Rounds straight to single precision, without passing through double.
float ExtendedToSingle(const Extended& bytes);

} // namespace stream
