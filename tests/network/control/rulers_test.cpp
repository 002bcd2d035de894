// Ruler rows across month and year ends, the schedule ruler's ticks and
// numbers, and the picture size with stored values that overflow.
#include "control_fixture.h"

#include "platform/date_serial.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDate>
#include <QImage>

#include <gtest/gtest.h>

#include <limits>

using namespace control_test;
using network::TTableTopStyleMember;

namespace {

struct Cell {
    QString text;
    int left, right;
    friend bool operator==(const Cell&, const Cell&) = default;
};

void PrintTo(const Cell& c, std::ostream* os) { *os << c.text.toStdString() << "[" << c.left << "," << c.right << ")"; }

std::vector<Cell> Cells(const platform::RecordingCanvas& canvas)
{
    std::vector<Cell> cells;
    for (const platform::CanvasCall& call : canvas.Calls())
        if (call.Op == platform::CanvasOp::TextRect)
            cells.push_back({call.Text, call.Args[0], call.Args[2]});
    return cells;
}

double Serial(int y, int m, int d) { return *platform::DateToSerial(QDate(y, m, d)); }

} // namespace

TEST(Rulers, CalendarRowsSplitAtMonthAndYearEnds)
{
    // 10 pixels a working day; no rest days unless given. Working day n is
    // the n-th working day counted from the start date itself.
    const struct {
        const char* name;
        TTableTopStyleMember row;
        double start;
        float days;
        std::uint8_t rest;
        std::vector<Cell> cells;
    } cases[] = {
        {"months from 15 May", network::tsMoon, Serial(2024, 5, 15), 30.0f, 0,
         {{"2024.5", 0, 170}, {"2024.6", 170, 300}}},
        {"years across a year end", network::tsYear, Serial(2024, 12, 20), 20.0f, 0,
         {{"2024", 0, 120}, {"2025", 120, 200}}},
        {"ten-day periods", network::tsPeriod, Serial(2024, 5, 15), 30.0f, 0,
         {{"上旬", 0, 0}, {"中旬", 0, 60}, {"下旬", 60, 170}, {"上旬", 170, 270}, {"中旬", 270, 300}}},
        {"working weeks of five days", network::tsWorkWeek, Serial(2024, 5, 13), 12.0f, 0x03,
         {{"1", 0, 50}, {"2", 50, 100}, {"3", 100, 120}}},
        {"working weeks of seven days", network::tsWorkWeek, Serial(2024, 5, 13), 8.0f, 0,
         {{"1", 0, 70}, {"2", 70, 80}}},
        {"days across a month end", network::tsDay, Serial(2024, 1, 29), 5.0f, 0,
         {{"30", 0, 20}, {"1", 20, 40}, {"2", 40, 50}}},
        {"weekdays", network::tsWeek, Serial(2024, 1, 29), 5.0f, 0,
         {{"二", 0, 20}, {"四", 20, 40}, {"五", 40, 50}}},
        {"a part day runs to the next whole day", network::tsDay, Serial(2024, 1, 29), 4.5f, 0,
         {{"30", 0, 20}, {"1", 20, 40}, {"2", 40, 50}}},
    };
    for (const auto& c : cases) {
        Network net;
        net.SetStartDate(c.start);
        net.SetRecessDate(network::TRecessDate::FromBits(c.rest));
        platform::RecordingCanvas canvas;
        net.DrawRulerRow(c.row, canvas, 0, false, 0, c.days);
        EXPECT_EQ(Cells(canvas), c.cells) << c.name;
    }
}

TEST(Rulers, TheLabelBoxComesFirstAndShiftsTheCells)
{
    Network net;
    net.SetStartDate(Serial(2024, 5, 15));
    platform::RecordingCanvas canvas;
    net.DrawMonthRow(canvas, 5, true, 0, 3.0f);
    const std::vector<Cell> cells = Cells(canvas);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].text, QStringLiteral("月"));
    EXPECT_EQ(cells[0].left, 5);
    EXPECT_EQ(cells[1].left, cells[0].right);
    EXPECT_EQ(cells[1].right, cells[0].right + 30);
}

TEST(Rulers, ScheduleRowTicksAndNumbers)
{
    Network net;
    platform::RecordingCanvas canvas;
    net.DrawScheduleRow(canvas, 0, false, 0, 25.0f);
    std::vector<int> ticks;
    QStringList numbers;
    for (const platform::CanvasCall& call : canvas.Calls()) {
        // Forward along the top: day t's tick ends at point 3t + 1.
        if (call.Op == platform::CanvasOp::Polyline)
            for (std::size_t i = 1; i < call.Points.size() && ticks.size() < 26; i += 3)
                ticks.push_back(call.Points[i].y());
        if (call.Op == platform::CanvasOp::TextOut)
            numbers << call.Text;
    }
    ASSERT_GE(ticks.size(), 26u);
    EXPECT_EQ(ticks[0], 8);
    EXPECT_EQ(ticks[1], 3);
    EXPECT_EQ(ticks[5], 5);
    EXPECT_EQ(ticks[10], 5);
    EXPECT_EQ(ticks[25], 16) << "the end goes down to the bottom";
    EXPECT_EQ(numbers, (QStringList{"10", "20"}));
}

// An idle offset far beyond any calendar pushes the cell edges to the ends
// of the int range: every row still draws cells of no negative width.
TEST(Rulers, HugeIdleOffsetsSaturateTheCellEdges)
{
    for (const float offset : {-3.7e19f, 3.7e19f}) {
        Network net;
        net.SetStartDate(Serial(2024, 5, 15));
        AddNodes(net, 3);
        AddWork(net, 1, 2, 3.0f);
        AddWork(net, 2, 3, 2.0f);
        net.Nodes().FindByNewID(2)->SetOffset(offset);
        for (int row = network::tsSchedule; row <= network::tsDay; ++row) {
            platform::RecordingCanvas canvas;
            net.DrawRulerRow(static_cast<TTableTopStyleMember>(row), canvas, 48, true, 0, 40.0f);
            for (const Cell& cell : Cells(canvas))
                EXPECT_LE(cell.left, cell.right) << row << " " << offset;
        }
    }
}

// On the screen a row starts at the first cell that reaches the clip and
// stops right of it, with the same pixels in the clip as a row drawn from
// day 0; other canvases get every cell.
TEST(Rulers, OnTheScreenRowsDrawOnlyTheCellsInTheClipWithTheSamePixels)
{
    const struct {
        const char* name;
        std::uint8_t rest;
        int smallDate;
        float idle; // offset of the middle node: an idle column
    } settings[] = {{"plain", 0, 2, 0.0f}, {"weekends and one-day cells", 0x03, 1, 0.0f},
                    {"an idle column", 0x01, 3, 7.0f}};
    const QRect clips[] = {QRect(0, 0, 2000, 16), QRect(737, 0, 300, 16), QRect(1480, 0, 41, 16)};
    for (const auto& c : settings)
        for (int row = network::tsSchedule; row <= network::tsDay; ++row) {
            Network net;
            net.SetStartDate(Serial(2024, 11, 20));
            net.SetRecessDate(network::TRecessDate::FromBits(c.rest));
            net.SetSmallDate(c.smallDate);
            AddNodes(net, 3);
            AddWork(net, 1, 2, 20.0f);
            AddWork(net, 2, 3, 40.0f);
            net.Nodes().FindByNewID(2)->SetOffset(c.idle);
            net.BuildOffsetColumns();
            const auto member = static_cast<TTableTopStyleMember>(row);
            QImage whole(2000, 16, QImage::Format_RGB32);
            whole.fill(Qt::white);
            {
                platform::PainterCanvas canvas(whole);
                net.DrawRulerRow(member, canvas, 48, true, 0, 90.0f);
            }
            for (const QRect& clip : clips) {
                QImage image(whole.size(), QImage::Format_RGB32);
                image.fill(Qt::white);
                platform::PainterCanvas canvas(image);
                canvas.SetClipRegion(clip);
                net.SetCanvas(&canvas);
                net.DrawRulerRow(member, canvas, 48, true, 0, 90.0f);
                net.SetCanvas(nullptr);
                for (int y = 0; y < 16; ++y)
                    for (int x = clip.left(); x <= clip.right(); ++x)
                        ASSERT_EQ(image.pixel(x, y), whole.pixel(x, y))
                            << c.name << " row " << row << " clip " << clip.left() << " at " << x << "," << y;
            }
            // The recorded cells: all of them off the screen, few on it.
            platform::RecordingCanvas all;
            net.DrawRulerRow(member, all, 48, false, 0, 90.0f);
            platform::RecordingCanvas screen;
            screen.SetClipRegion(QRect(1480, 0, 41, 16));
            net.SetCanvas(&screen);
            net.DrawRulerRow(member, screen, 48, false, 0, 90.0f);
            net.SetCanvas(nullptr);
            if (Cells(all).size() > 8) {
                EXPECT_LT(Cells(screen).size(), Cells(all).size() / 2) << c.name << " row " << row;
            }
        }
}

TEST(Rulers, PictureSizeSaturatesAndIsRefusedWhenTooLarge)
{
    Network net;
    EXPECT_TRUE(net.BitMapSizeAllowed());
    EXPECT_EQ(network::TVYRNetwork::MarginToPixels(20), 76);
    const std::int64_t width = net.BitMapWidth();
    net.SetShowDuty(false);
    EXPECT_EQ(net.BitMapWidth(), width - 200);
    net.SetDutyWidth(std::numeric_limits<int>::max());
    net.SetShowDuty(true);
    net.SetLeftLank(std::numeric_limits<int>::max());
    net.SetLankLineWidth(std::numeric_limits<int>::max());
    net.SetResourceHeight(std::numeric_limits<int>::max());
    net.SetResourceStyle(network::ResourceStyleAll);
    EXPECT_GT(net.BitMapWidth(), std::int64_t{std::numeric_limits<int>::max()});
    EXPECT_GT(net.BitMapHeight(), std::int64_t{std::numeric_limits<int>::max()});
    EXPECT_FALSE(net.BitMapSizeAllowed());
}

TEST(Rulers, RowCounts)
{
    EXPECT_EQ(network::TVYRNetwork::RowCount(0), 0);
    EXPECT_EQ(network::TVYRNetwork::RowCount(network::TableTopStyleAll), 7);
    EXPECT_EQ(network::TVYRNetwork::RowCount(network::TopStyleOf({network::tsSchedule, network::tsDay})), 2);
    EXPECT_EQ(network::TVYRNetwork::ResourceRowCount(network::ResourceStyleAll), 2);
}
