#include "extended_float.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace stream {

namespace {

constexpr int extendedBias = 16383;
constexpr std::uint64_t integerBit = std::uint64_t{1} << 63;

// A binary floating-point format: bits of precision including the leading
// one, and the range of unbiased exponents of normal numbers.
struct Format {
    int precision;
    int minExponent;
    int maxExponent;
};

constexpr Format doubleFormat{53, -1022, 1023};
constexpr Format singleFormat{24, -126, 127};

// Rounds mantissa * 2^exponent to the format, ties to even, and returns the
// magnitude as a double (exact for both formats).
double RoundToFormat(std::uint64_t mantissa, int exponent, Format format)
{
    if (mantissa == 0)
        return 0.0;
    const int shift = std::countl_zero(mantissa);
    mantissa <<= shift;
    exponent -= shift;
    const int leading = exponent + 63; // value lies in [2^leading, 2^(leading+1))
    if (leading > format.maxExponent)
        return std::numeric_limits<double>::infinity();
    int keep = format.precision;
    if (leading < format.minExponent)
        keep -= format.minExponent - leading;
    double magnitude = 0.0;
    if (keep == 0) {
        // Between half the smallest subnormal and the smallest subnormal.
        if (mantissa > integerBit)
            magnitude = std::ldexp(1.0, leading + 1);
    } else if (keep > 0) {
        const int drop = 64 - keep;
        std::uint64_t kept = mantissa >> drop;
        const std::uint64_t rest = mantissa & ((std::uint64_t{1} << drop) - 1);
        const std::uint64_t half = std::uint64_t{1} << (drop - 1);
        if (rest > half || (rest == half && (kept & 1) != 0))
            ++kept;
        magnitude = std::ldexp(static_cast<double>(kept), exponent + drop);
    }
    if (magnitude >= std::ldexp(1.0, format.maxExponent + 1))
        return std::numeric_limits<double>::infinity();
    return magnitude;
}

struct Parts {
    bool negative;
    int exponentField;
    std::uint64_t mantissa;
};

Parts Split(const Extended& bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    const unsigned signExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    return {(signExponent & 0x8000u) != 0, static_cast<int>(signExponent & 0x7FFFu), mantissa};
}

double Convert(const Extended& bytes, Format format)
{
    const Parts p = Split(bytes);
    double magnitude;
    if (p.exponentField == 0x7FFF) {
        if ((p.mantissa & ~integerBit) == 0)
            magnitude = std::numeric_limits<double>::infinity();
        else
            return std::numeric_limits<double>::quiet_NaN();
    } else {
        // Extended subnormals use the exponent of the smallest normal.
        const int field = p.exponentField == 0 ? 1 : p.exponentField;
        magnitude = RoundToFormat(p.mantissa, field - extendedBias - 63, format);
    }
    return p.negative ? -magnitude : magnitude;
}

} // namespace

Extended DoubleToExtended(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponentField = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    int extendedExponent = 0;
    std::uint64_t mantissa = 0;
    if (exponentField == 0x7FF) {
        extendedExponent = 0x7FFF;
        mantissa = integerBit | (fraction << 11);
    } else if (exponentField == 0) {
        if (fraction != 0) {
            const int shift = std::countl_zero(fraction);
            mantissa = fraction << shift;
            extendedExponent = -1074 - shift + 63 + extendedBias;
        }
    } else {
        mantissa = integerBit | (fraction << 11);
        extendedExponent = exponentField - 1023 + extendedBias;
    }

    Extended out{};
    for (std::size_t i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const unsigned signExponent = static_cast<unsigned>(extendedExponent) | (negative ? 0x8000u : 0u);
    out[8] = static_cast<std::uint8_t>(signExponent & 0xFF);
    out[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return out;
}

double ExtendedToDouble(const Extended& bytes)
{
    return Convert(bytes, doubleFormat);
}

float ExtendedToSingle(const Extended& bytes)
{
    const double value = Convert(bytes, singleFormat);
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::isinf(value))
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(value); // exact: already rounded to single precision
}

} // namespace stream
