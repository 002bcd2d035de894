#include "platform/date_serial.h"

#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace platform {

namespace {

const qint64 kSerialZeroJulianDay = QDate(1899, 12, 30).toJulianDay();

} // namespace

std::optional<std::int32_t> DateToSerial(QDate date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return std::nullopt;
    return static_cast<std::int32_t>(date.toJulianDay() - kSerialZeroJulianDay);
}

std::optional<QDate> SerialToDate(double serial)
{
    if (!std::isfinite(serial))
        return std::nullopt;
    const double days = std::trunc(serial);
    if (days < kMinDateSerial || days > kMaxDateSerial)
        return std::nullopt;
    return QDate::fromJulianDay(kSerialZeroJulianDay + static_cast<qint64>(days));
}

int DayOfWeek(QDate date)
{
    return date.dayOfWeek() % 7 + 1;
}

QString DateToText(QDate date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString DateTimeText(double serial)
{
    const double day = std::floor(serial);
    const std::optional<QDate> d = SerialToDate(day);
    if (!d)
        return {};
    QString text = DateToText(*d);
    const int seconds = static_cast<int>(std::lround((serial - day) * 86400.0));
    if (seconds > 0 && seconds < 86400)
        text += QLatin1Char(' ') + QTime::fromMSecsSinceStartOfDay(seconds * 1000).toString(QStringLiteral("H:mm:ss"));
    return text;
}

std::optional<QDate> TextToDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!DateToSerial(date))
        return std::nullopt;
    return date;
}

} // namespace platform
