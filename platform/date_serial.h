// Whole-day dates as the stored files and the schedule keep them: a serial
// number of days since 1899-12-30 (serial 0), and the date text the windows
// show and read ("2026-12-10").
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// The serials of 0001-01-01 and 9999-12-31, the range of dates the files
// may hold.
inline constexpr std::int32_t kMinDateSerial = -693593;
inline constexpr std::int32_t kMaxDateSerial = 2958465;

// Nothing for an invalid date or one outside years 1 to 9999.
std::optional<std::int32_t> DateToSerial(QDate date);

// The date of a serial that may carry a time of day as its fraction: the
// whole days count, cut toward zero (-1.25 is 1899-12-29). Nothing for NaN,
// infinities and serials outside kMinDateSerial..kMaxDateSerial.
std::optional<QDate> SerialToDate(double serial);

// 1 for Sunday, 2 for Monday, ... 7 for Saturday.
int DayOfWeek(QDate date);

// The date as "yyyy-mm-dd" with a four-digit year: "2006-03-01".
QString DateToText(QDate date);

// A serial as date text, with the time of day (" H:mm:ss", to the nearest
// second) only when it is not midnight; empty where SerialToDate has no
// date.
QString DateTimeText(double serial);

// Reads a date typed as year-month-day: four digits of year, one or two of
// month and day ("2006-3-1", "2006-03-01"), blanks around it allowed.
// Nothing for any other text or a day that does not exist.
std::optional<QDate> TextToDate(const QString& text);

} // namespace platform
