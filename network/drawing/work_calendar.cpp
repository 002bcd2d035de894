#include "network/drawing/work_calendar.h"

#include "platform/date_serial.h"

#include <QDate>

#include <cmath>

namespace network {

namespace {

double Serial(int year, int month, int day)
{
    return *platform::DateToSerial(QDate(year, month, day));
}

// True when date lies in the days first..last of month in the year of day.
bool InHoliday(double date, const QDate& day, int month, int first, int last)
{
    return date >= Serial(day.year(), month, first) && date <= Serial(day.year(), month, last);
}

} // namespace

bool IsWorkDay(double date, TRecessDate rest)
{
    const std::optional<QDate> day = platform::SerialToDate(date);
    if (!day)
        return true;
    const int weekDay = platform::DayOfWeek(*day);
    if (rest.Contains(rdSunday) && weekDay == 1)
        return false;
    if (rest.Contains(rdSaturday) && weekDay == 7)
        return false;
    if (rest.Contains(rdLabor) && InHoliday(date, *day, 5, 1, 3))
        return false;
    if (rest.Contains(rdNational) && InHoliday(date, *day, 10, 1, 3))
        return false;
    if (rest.Contains(rdNewyear) && InHoliday(date, *day, 1, 1, 2))
        return false;
    return true;
}

std::int32_t CountWorkDays(double from, double to, TRecessDate rest)
{
    if (!std::isfinite(from) || !std::isfinite(to) || from > to)
        return 0;
    // The days keep the time of day of from; those before year 1 are skipped
    // and the count stops after 9999-12-31.
    double first = from;
    if (first < platform::kMinDateSerial)
        first += std::ceil(platform::kMinDateSerial - first);
    const double end = platform::kMaxDateSerial + 1.0;
    std::int32_t count = 0;
    for (double day = first; day <= to && day < end; day += 1.0)
        if (IsWorkDay(day, rest))
            ++count;
    return count;
}

double WorkDayToDate(std::int64_t n, double start, TRecessDate rest)
{
    if (n <= 0 || !std::isfinite(start))
        return start;
    const double last = platform::kMaxDateSerial;
    double day = start;
    for (;;) {
        if (IsWorkDay(day, rest) && --n == 0)
            return day;
        if (day >= last)
            return day;
        day += 1.0;
    }
}

} // namespace network
