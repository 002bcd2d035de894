#include "apps/sitelay/ruler_marks.h"

#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <vector>

using platform::CanvasOp;

namespace {

struct Drawn {
    std::vector<int> strip; // the white rectangle
    std::vector<QPoint> line;
    std::vector<std::pair<QPoint, QString>> labels;
    int labelEscapement = 0;
};

Drawn Record(void (*paint)(platform::Canvas&, const sitelay::RulerGeometry&), const sitelay::RulerGeometry& ruler,
             platform::RecordingCanvas& canvas)
{
    paint(canvas, ruler);
    Drawn drawn;
    for (const platform::CanvasCall& call : canvas.Calls()) {
        if (call.Op == CanvasOp::Rectangle)
            drawn.strip = call.Args;
        else if (call.Op == CanvasOp::Polyline)
            drawn.line = call.Points;
        else if (call.Op == CanvasOp::TextOut) {
            drawn.labels.push_back({{call.Args[0], call.Args[1]}, call.Text});
            drawn.labelEscapement = call.Font.Escapement;
        }
    }
    return drawn;
}

sitelay::RulerGeometry Ruler(int start, int length)
{
    return {start, length, 17, 25.0f, 5, QStringLiteral("米")};
}

TEST(RulerMarks, HorizontalTicksAtUnitsAndHalvesEndingOnAMajorTick)
{
    platform::RecordingCanvas canvas;
    const Drawn d = Record(sitelay::PaintHorizontalRuler, Ruler(20, 100), canvas);
    EXPECT_EQ(d.strip, (std::vector<int>{20, 0, 120, 16}));
    // Five units of six points; the last unit's minor tick (at 132) lies
    // beyond the sheet and is dropped.
    ASSERT_EQ(d.line.size(), 5u * 6 - 3);
    // y0 = 15, major ticks up to 11, minor ticks up to 13; 12.5 is taken to
    // the even 12.
    const std::vector<QPoint> firstUnit{{20, 15}, {20, 11}, {20, 15}, {32, 15}, {32, 13}, {32, 15}};
    EXPECT_EQ(std::vector<QPoint>(d.line.begin(), d.line.begin() + 6), firstUnit);
    EXPECT_EQ(d.line[9], QPoint(58, 15));
    EXPECT_EQ(d.line.back(), QPoint(120, 15));
    EXPECT_EQ(d.line[d.line.size() - 2], QPoint(120, 11));

    ASSERT_EQ(d.labels.size(), 5u);
    EXPECT_EQ(d.labels[0], std::make_pair(QPoint(22, 0), QStringLiteral("米")));
    const int w = canvas.TextWidth(QStringLiteral("10"));
    EXPECT_EQ(d.labels[2], std::make_pair(QPoint(70 - w / 2, 0), QStringLiteral("10")));
}

TEST(RulerMarks, HorizontalBaselineEndsAtTheSheetEdgeBetweenTicks)
{
    platform::RecordingCanvas canvas;
    const Drawn d = Record(sitelay::PaintHorizontalRuler, Ruler(20, 110), canvas);
    // The last unit's minor tick at 132 lies beyond 130 and is dropped; the
    // baseline goes on to 130.
    ASSERT_EQ(d.line.size(), 5u * 6 - 3 + 1);
    EXPECT_EQ(d.line[d.line.size() - 2], QPoint(120, 15));
    EXPECT_EQ(d.line.back(), QPoint(130, 15));
}

TEST(RulerMarks, VerticalTicksAndUpwardLabels)
{
    platform::RecordingCanvas canvas;
    const Drawn d = Record(sitelay::PaintVerticalRuler, Ruler(10, 60), canvas);
    EXPECT_EQ(d.strip, (std::vector<int>{0, 10, 17, 70}));
    // x0 = 16, major ticks to 11, minor ticks to 13; n = 2.
    const std::vector<QPoint> firstUnit{{16, 10}, {11, 10}, {16, 10}, {16, 22}, {13, 22}, {16, 22}};
    EXPECT_EQ(std::vector<QPoint>(d.line.begin(), d.line.begin() + 6), firstUnit);
    EXPECT_EQ(d.line[d.line.size() - 2], QPoint(16, 60));
    EXPECT_EQ(d.line.back(), QPoint(16, 70));
    ASSERT_EQ(d.labels.size(), 3u);
    const int unitWidth = canvas.TextWidth(QStringLiteral("米"));
    EXPECT_EQ(d.labels[0].first, QPoint(-2, 10 + unitWidth));
    const int w = canvas.TextWidth(QStringLiteral("5"));
    EXPECT_EQ(d.labels[1].first, QPoint(-2, 35 + w / 2));
    EXPECT_EQ(d.labelEscapement, 900);
}

TEST(RulerMarks, OnlyTheStripWhileTheGridIsUnknown)
{
    platform::RecordingCanvas canvas;
    sitelay::RulerGeometry ruler = Ruler(20, 100);
    ruler.UnitPixel = 0;
    const Drawn d = Record(sitelay::PaintHorizontalRuler, ruler, canvas);
    EXPECT_EQ(d.strip, (std::vector<int>{20, 0, 120, 16}));
    EXPECT_TRUE(d.line.empty());
    EXPECT_TRUE(d.labels.empty());
}

} // namespace
