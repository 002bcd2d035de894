#include "numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

std::int64_t saturateToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or above it saturates.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

} // namespace

std::int64_t Round(double value)
{
    if (!std::isfinite(value))
        return saturateToInt64(value);
    return saturateToInt64(std::nearbyint(value));
}

std::int64_t Trunc(double value)
{
    if (!std::isfinite(value))
        return saturateToInt64(value);
    return saturateToInt64(std::trunc(value));
}

std::int32_t SaturateInt(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int32_t RoundInt(double value) { return SaturateInt(Round(value)); }

std::int32_t TruncInt(double value) { return SaturateInt(Trunc(value)); }

namespace {

// number * numerator / denominator rounded half away from zero; the
// denominator is not 0. The magnitude of the result fits in int64 because
// the product of two int32 values does.
std::int64_t ScaledRounded(std::int32_t number, std::int32_t numerator, std::int32_t denominator)
{
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                                 : static_cast<std::int64_t>(denominator);
    magnitude = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (denominator < 0);
    return negative ? -magnitude : magnitude;
}

} // namespace

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t result = ScaledRounded(number, numerator, denominator);
    if (result > std::numeric_limits<std::int32_t>::max()
        || result < std::numeric_limits<std::int32_t>::min())
        return -1;
    return static_cast<std::int32_t>(result);
}

std::int32_t MulDivSaturated(std::int32_t number, std::int32_t numerator, std::int32_t denominator)
{
    if (denominator == 0)
        return 0;
    return SaturateInt(ScaledRounded(number, numerator, denominator));
}

QString FloatToStr(float value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0f)
        return QStringLiteral("0");
    const float magnitude = std::fabs(value);
    const bool plain = magnitude >= 1e-4f && magnitude < 1e15f;
    char buffer[64];
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    QString text = QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
    if (!plain) {
        // "1e+20" -> "1E+20", the way dialogs and labels show exponents.
        text.replace(QLatin1Char('e'), QLatin1Char('E'));
    }
    return text;
}

bool TryStrToFloat(const QString& text, double& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double parsed = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

} // namespace platform
