#include "platform/date_serial.h"

#include <cmath>
#include <limits>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct SerialCase {
    QDate date;
    std::int32_t serial;
};

TEST(DateSerial, ConvertsBothWays)
{
    const SerialCase cases[] = {
        {QDate(1899, 12, 30), 0},
        {QDate(1899, 12, 29), -1},
        {QDate(1900, 3, 1), 61},
        {QDate(2006, 3, 1), 38777},
        {QDate(2026, 12, 10), 46366},
        {QDate(1, 1, 1), kMinDateSerial},
        {QDate(9999, 12, 31), kMaxDateSerial},
    };
    for (const SerialCase& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(DateToSerial(c.date), c.serial);
        EXPECT_EQ(SerialToDate(c.serial), c.date);
    }
}

TEST(DateSerial, RefusesWhatNoFileCanHold)
{
    EXPECT_FALSE(DateToSerial(QDate()));
    EXPECT_FALSE(DateToSerial(QDate(10000, 1, 1)));
    EXPECT_FALSE(DateToSerial(QDate(-1, 12, 31)));
    const double refused[] = {kMinDateSerial - 1.0, kMaxDateSerial + 1.0, 1e300, -1e300,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()};
    for (double serial : refused)
        EXPECT_FALSE(SerialToDate(serial)) << serial;
}

TEST(DateSerial, TimeOfDayIsCutTowardZero)
{
    EXPECT_EQ(SerialToDate(38777.75), QDate(2006, 3, 1));
    EXPECT_EQ(SerialToDate(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(SerialToDate(-0.5), QDate(1899, 12, 30));
}

TEST(DateSerial, DayOfWeekStartsOnSunday)
{
    EXPECT_EQ(DayOfWeek(QDate(2026, 12, 6)), 1); // Sunday
    EXPECT_EQ(DayOfWeek(QDate(2026, 12, 7)), 2);
    EXPECT_EQ(DayOfWeek(QDate(2026, 12, 12)), 7); // Saturday
}

struct TextCase {
    const char* text;
    QDate date; // invalid: refused
};

TEST(DateText, ReadsYearMonthDay)
{
    const TextCase cases[] = {
        {"2026-12-10", QDate(2026, 12, 10)},
        {"2006-3-1", QDate(2006, 3, 1)},
        {" 2006-03-01 ", QDate(2006, 3, 1)},
        {"2024-02-29", QDate(2024, 2, 29)},
        {"2023-02-29", QDate()},
        {"2006-13-01", QDate()},
        {"06-3-1", QDate()},
        {"2006/3/1", QDate()},
        {"2006-3-1 12:00", QDate()},
        {"0000-01-01", QDate()},
        {"", QDate()},
        {"abc", QDate()},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<QDate> date = TextToDate(QString::fromUtf8(c.text));
        EXPECT_EQ(date.value_or(QDate()), c.date);
    }
    EXPECT_EQ(DateToText(QDate(2006, 3, 1)), QStringLiteral("2006-03-01"));
    EXPECT_EQ(DateToText(QDate(2026, 12, 10)), QStringLiteral("2026-12-10"));
    EXPECT_EQ(TextToDate(DateToText(QDate(1, 1, 1))), QDate(1, 1, 1));
}

} // namespace
