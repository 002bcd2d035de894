// The per-day resource accumulation, the histogram row's scale, the day
// lines and the screen painting of the rulers under the network.
#include "control_fixture.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using namespace control_test;

namespace {

// A network whose single work runs from time start to start + duration.
void BuildOne(TVYRNetwork& net, float start, float duration, float labor, int workforce = 0)
{
    AddNodes(net, 3);
    AddWork(net, 1, 2, start > 0 ? start : 0.0f);
    TWorkItem& w = AddWork(net, 2, 3, duration);
    w.SetLabor(labor);
    w.SetWorkforce(workforce);
    if (start > 0 && start != std::floor(start)) {
        // Half days: the first work carries the start.
        net.Works().Items(0)->SetContinueTime(start);
    }
}

std::vector<float> Accumulated(TVYRNetwork& net, int kind)
{
    std::vector<float> days = net.ResourceDays();
    net.AccumulateResource(days, static_cast<std::int64_t>(days.size()) - 1, kind);
    return days;
}

} // namespace

TEST(Resources, AccumulationGivesEachDayThePartTheWorkCovers)
{
    const struct {
        const char* name;
        float start, duration, labor;
        std::vector<float> expected;
    } cases[] = {
        // Labour 12 over 3 days from day 0.5: rate 4.
        {"half days at both ends", 0.5f, 3.0f, 12.0f, {0, 2, 4, 4, 2}},
        {"whole days", 1.0f, 2.0f, 6.0f, {0, 0, 3, 3}},
        {"starts and ends in one day", 0.5f, 0.5f, 2.0f, {0, 2}},
    };
    for (const auto& c : cases) {
        Network net;
        BuildOne(net, c.start, c.duration, c.labor);
        std::vector<float> days = Accumulated(net, 0);
        days.resize(c.expected.size());
        for (std::size_t j = 0; j < c.expected.size(); ++j)
            EXPECT_NEAR(days[j], c.expected[j], 1e-5) << c.name << " day " << j;
    }
}

TEST(Resources, SharesOutsideTheDaysAreDroppedAndMissingNodesSkipped)
{
    Network net;
    BuildOne(net, 1.0f, 3.0f, 0.0f, 5);
    // A large overlap starts the work before day 0.
    net.Works().Items(1)->SetParallelTime(10.0f);
    TWorkItem& orphan = AddWork(net, 99, 3, 2.0f);
    orphan.SetWorkforce(7);
    std::vector<float> days = net.ResourceDays();
    ASSERT_FALSE(days.empty());
    net.AccumulateResource(days, static_cast<std::int64_t>(days.size()) - 1, 1);
    for (const float v : days)
        EXPECT_EQ(v, 0.0f);
    // A highest index beyond the array is cut to it.
    net.AccumulateResource(days, 1'000'000'000, 1);
}

TEST(Resources, TheScaleTopIsAMultipleOfFour)
{
    const struct {
        float largest;
        QStringList marks;
    } cases[] = {{9.0f, {"3", "6", "9", "12"}}, {0.3f, {"1", "2", "3", "4"}}, {0.0f, {}}};
    for (const auto& c : cases) {
        Network net;
        std::vector<float> days{0.0f, c.largest, 1.0f * (c.largest > 0)};
        platform::RecordingCanvas canvas;
        net.DrawResourceRow(days, 2, true, 0, QStringLiteral("劳动量"), 0, canvas);
        QStringList marks;
        int polylines = 0;
        for (const platform::CanvasCall& call : canvas.Calls()) {
            if (call.Op == platform::CanvasOp::TextOut)
                marks << call.Text;
            polylines += call.Op == platform::CanvasOp::Polyline;
        }
        EXPECT_EQ(marks, c.marks) << c.largest;
        EXPECT_EQ(polylines, c.largest > 0 ? 1 : 0) << c.largest;
    }
}

TEST(Resources, DayLinesFollowShowDayLineAndTheClip)
{
    Network net;
    net.SetBounds(0, 0, 400, 300);
    QImage image(400, 300, QImage::Format_RGB32);
    platform::PainterCanvas canvas(image);
    net.SetCanvas(&canvas);
    platform::RecordingCanvas recording(QSize(400, 300));
    net.DrawDayLines(recording, 0, false, 0, 100.0f, 50);
    int lines = 0;
    for (const platform::CanvasCall& call : recording.Calls())
        lines += call.Op == platform::CanvasOp::LineTo;
    EXPECT_EQ(lines, 40) << "days 0 to 39 reach the 400 pixels";

    image.fill(Qt::black);
    net.Paint();
    const QImage withLines = image.copy();
    net.SetShowDayLine(false);
    image.fill(Qt::black);
    net.Paint();
    EXPECT_NE(image, withLines);
    net.SetCanvas(nullptr);
}

namespace {

// Four works over two rows from 2024-01-01 under the schedule, month and
// week rulers, in a 480 x 320 control.
void BuildRuledNetwork(Network& net)
{
    net.SetStartDate(45292.0);
    AddNodes(net, 4);
    AddWork(net, 1, 2, 3.0f);
    AddWork(net, 2, 3, 5.0f);
    AddWork(net, 1, 4, 2.0f);
    net.Nodes().FindByNewID(4)->SetNodeY(102);
    AddWork(net, 4, 3, 2.0f);
    net.SetTopStyle(network::TopStyleOf({network::tsSchedule, network::tsMoon, network::tsWeek}));
    net.SetBounds(0, 0, 480, 320);
}

} // namespace

TEST(Resources, ScreenPaintingShowsRulersAboveTheNetwork)
{
    Network net;
    BuildRuledNetwork(net);
    QImage image(480, 320, QImage::Format_RGB32);
    image.fill(Qt::black);
    platform::PainterCanvas canvas(image);
    net.SetCanvas(&canvas);
    net.Paint();
    net.SetCanvas(nullptr);
    // The ruler rows' lines in the ruler colour at the top.
    int green = 0;
    for (int x = 0; x < 480; ++x)
        green += image.pixel(x, 0) == qRgb(0, 0x80, 0);
    EXPECT_GT(green, 100);
    if (const QByteArray dir = qgetenv("NETWORK_PICTURE_DIR"); !dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("network_screen.png")));
}

TEST(Resources, WorksScrolledUpPastTheFirstRowLeaveTheRulersUncovered)
{
    Network net;
    BuildRuledNetwork(net);
    const int rulerBottom = TVYRNetwork::RowCount(net.TopStyle()) * net.ScheduleHeight();
    const auto render = [&net](int topLine) {
        QImage image(480, 320, QImage::Format_RGB32);
        image.fill(Qt::black);
        platform::PainterCanvas canvas(image);
        net.SetCanvas(&canvas);
        net.SetTopLineID(topLine);
        net.Paint();
        net.SetCanvas(nullptr);
        return image;
    };
    // Far below the view: only the rulers and the background.
    const QImage plain = render(-100);
    for (const int topLine : {101, 102}) {
        const QImage scrolled = render(topLine);
        EXPECT_EQ(scrolled.copy(0, 0, 480, rulerBottom), plain.copy(0, 0, 480, rulerBottom)) << topLine;
        EXPECT_NE(scrolled.copy(0, rulerBottom, 480, 320 - rulerBottom), plain.copy(0, rulerBottom, 480, 320 - rulerBottom))
            << "the works still show below the rulers at " << topLine;
    }
}
