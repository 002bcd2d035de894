// Integer conversions and number texts with the rounding rules the drawing
// and schedule code relies on. Every conversion from a real to an integer in
// the project goes through these, so NaN, infinities and huge values never
// reach an undefined cast.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). NaN gives 0; values beyond the int64 range saturate.
std::int64_t Round(double value);

// Toward zero (2.7 -> 2, -2.7 -> -2), with the same NaN and range rules.
std::int64_t Trunc(double value);

// Round and Trunc narrowed to 32 bits, saturating at the int32 limits.
std::int32_t RoundInt(double value);
std::int32_t TruncInt(double value);

// Clamps a 64-bit intermediate into the int32 range.
std::int32_t SaturateInt(std::int64_t value);

// number * numerator / denominator with a 64-bit intermediate, rounded half
// away from zero. A zero denominator or a result outside int32 gives -1.
std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

// MulDiv for lengths and sizes, where -1 would be read as a real length: the
// same rounding (halves away from zero), a zero denominator gives 0 and a
// result outside int32 saturates at the limits.
std::int32_t MulDivSaturated(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

// The shortest decimal text that reads back as the same single-precision
// value: "2.5", "3", "0.3", "100000". Negative zero shows as "0"; values of
// 1e15 and above, or below 1e-4, use an exponent ("1E+20").
QString FloatToStr(float value);

// Parses a decimal number as typed by a user ("2.5", " 3 ", "-1e3").
// Returns false for empty or malformed text and for non-finite results.
bool TryStrToFloat(const QString& text, double& value);

} // namespace platform
