// The working-day calendar: rest days of every kind, counting and walking
// working days across month and year ends, and the end date of a schedule.
#include "drawing_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace drawing_test;
using network::rdLabor;
using network::rdNational;
using network::rdNewyear;
using network::rdSaturday;
using network::rdSunday;
using network::TRecessDate;

struct WorkDayCase {
    double date;
    TRecessDate rest;
    bool working;
};

TEST(WorkCalendar, RestDaysOfEveryKind)
{
    const TRecessDate all{rdSunday, rdSaturday, rdNational, rdNewyear, rdLabor};
    const WorkDayCase cases[] = {
        {Day(2006, 3, 4), {}, true},                   // a Saturday, no rest days
        {Day(2006, 3, 4), {rdSaturday}, false},
        {Day(2006, 3, 4), {rdSunday}, true},
        {Day(2006, 3, 5), {rdSunday}, false},
        {Day(2006, 3, 6), all, true},                  // a Monday
        {Day(2006, 4, 30), {rdLabor}, true},
        {Day(2006, 5, 1), {rdLabor}, false},
        {Day(2006, 5, 3), {rdLabor}, false},
        {Day(2006, 5, 4), {rdLabor}, true},
        {Day(2006, 5, 2), {rdNational, rdNewyear}, true},
        {Day(2006, 10, 1), {rdNational}, false},
        {Day(2006, 10, 3), {rdNational}, false},
        {Day(2006, 10, 4), {rdNational}, true},
        {Day(2006, 9, 30), {rdNational}, true},
        {Day(2007, 1, 1), {rdNewyear}, false},
        {Day(2007, 1, 2), {rdNewyear}, false},
        {Day(2007, 1, 3), {rdNewyear}, true},
        {Day(2006, 12, 31), {rdNewyear}, true},
        // The holiday ranges end at the start of their last day.
        {Day(2006, 5, 3) + 0.5, {rdLabor}, true},
        {Day(2006, 10, 3) + 0.5, {rdNational}, true},
        {Day(2006, 5, 1) + 0.5, {rdLabor}, false},
    };
    for (const WorkDayCase& c : cases)
        EXPECT_EQ(network::IsWorkDay(c.date, c.rest), c.working)
            << platform::DateToText(*platform::SerialToDate(c.date)).toStdString() << " rest " << int(c.rest.Bits());
}

struct WalkCase {
    std::int64_t n;
    double start;
    TRecessDate rest;
    double expected;
};

TEST(WorkCalendar, WorkDayToDateAcrossMonthAndYearEnds)
{
    const TRecessDate weekend{rdSaturday, rdSunday};
    const WalkCase cases[] = {
        {10, Day(2006, 3, 1), {}, Day(2006, 3, 10)},
        {1, Day(2006, 3, 4), weekend, Day(2006, 3, 6)},
        {0, Day(2006, 3, 4), weekend, Day(2006, 3, 4)},
        {-3, Day(2006, 3, 4), weekend, Day(2006, 3, 4)},
        {2, Day(2006, 1, 31), {}, Day(2006, 2, 1)},
        {3, Day(2008, 2, 28), {}, Day(2008, 3, 1)},
        {3, Day(2006, 12, 30), {rdSaturday, rdSunday, rdNewyear}, Day(2007, 1, 5)},
        {1, Day(2006, 4, 29), {rdSaturday, rdSunday, rdLabor}, Day(2006, 5, 4)},
        {2, Day(2006, 9, 29), {rdSaturday, rdSunday, rdNational}, Day(2006, 10, 4)},
        {6, Day(2006, 3, 6), weekend, Day(2006, 3, 13)},
    };
    for (const WalkCase& c : cases)
        EXPECT_EQ(network::WorkDayToDate(c.n, c.start, c.rest), c.expected) << c.n;
}

TEST(WorkCalendar, CountsWorkDaysWithBothBounds)
{
    const TRecessDate weekend{rdSaturday, rdSunday};
    EXPECT_EQ(network::CountWorkDays(Day(2006, 3, 6), Day(2006, 3, 12), weekend), 5);
    EXPECT_EQ(network::CountWorkDays(Day(2006, 3, 6), Day(2006, 3, 6), weekend), 1);
    EXPECT_EQ(network::CountWorkDays(Day(2006, 3, 7), Day(2006, 3, 6), {}), 0);
    EXPECT_EQ(network::CountWorkDays(Day(2006, 4, 28), Day(2006, 5, 5), {rdLabor}), 5);
    EXPECT_EQ(network::CountWorkDays(Day(2006, 12, 31), Day(2007, 1, 3), {rdNewyear}), 2);
    EXPECT_EQ(network::CountWorkDays(std::nan(""), Day(2007, 1, 3), {}), 0);
}

TEST(WorkCalendar, WalksStopAtTheLastDate)
{
    const double last = platform::kMaxDateSerial;
    EXPECT_EQ(network::WorkDayToDate(std::numeric_limits<std::int64_t>::max(), Day(2006, 3, 1), {rdSunday}), last);
    EXPECT_EQ(network::WorkDayToDate(5, last - 1, {}), last);
    EXPECT_EQ(network::CountWorkDays(last - 6, 1e300, {}), 7);
}

TEST(NetworkCalendar, EndDateFollowsTheScheduleInWorkingDays)
{
    DrawNetwork net;
    net.SetStartDate(Day(2006, 3, 1));
    EXPECT_EQ(net.EndDate(), Day(2006, 3, 1)) << "a network of duration 0 ends on its start";
    AddNodes(net, 2);
    TWorkItem& work = AddWork(net, 1, 2, 7.5f);
    net.SetRecessDate({rdSaturday, rdSunday});
    // The 8th working day from Wednesday 1 March: 1, 2, 3, 6, 7, 8, 9, 10.
    EXPECT_EQ(net.EndDate(), Day(2006, 3, 10));
    work.SetContinueTime(8.0f);
    EXPECT_EQ(net.EndDate(), Day(2006, 3, 10));
    work.SetContinueTime(1e30f);
    EXPECT_EQ(net.EndDate(), platform::kMaxDateSerial);
}

TEST(NetworkCalendar, StartDateSetterIgnoresDatesOutsideTheRange)
{
    DrawNetwork net;
    EXPECT_EQ(net.StartDate(), *platform::DateToSerial(QDate::currentDate()));
    net.SetStartDate(Day(2006, 3, 1));
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), platform::kMaxDateSerial + 1.0,
                             platform::kMinDateSerial - 1.0})
        net.SetStartDate(bad);
    EXPECT_EQ(net.StartDate(), Day(2006, 3, 1));
    net.SetStartDate(platform::kMaxDateSerial);
    EXPECT_EQ(net.StartDate(), platform::kMaxDateSerial);
}

} // namespace
