// The drawing routines on the recording canvas: segment meetings, the line
// kinds, arcs, arrowheads and aligned text, and that each routine gives the
// pen and brush back as it found them.
#include "drawing_fixture.h"
#include "network/drawing/vyr_draw_tool.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using network::TPointList;
using platform::CanvasOp;
using platform::RecordingCanvas;

struct OverlapCase {
    QPoint a1, a2, b1, b2;
    bool meets;
    TPointList out;
};

TEST(SegmentOverlap, CollinearAndCrossingSegments)
{
    const OverlapCase cases[] = {
        {{0, 0}, {10, 0}, {10, 0}, {20, 0}, true, {{10, 0}}},
        {{0, 0}, {10, 0}, {2, 0}, {5, 0}, true, {{0, 0}, {2, 0}, {5, 0}, {10, 0}}},
        {{0, 0}, {10, 0}, {0, 0}, {12, 0}, true, {}},
        {{0, 0}, {10, 0}, {-5, 0}, {4, 0}, true, {{4, 0}, {10, 0}}},
        {{0, 0}, {10, 0}, {6, 0}, {15, 0}, true, {{0, 0}, {6, 0}}},
        {{0, 0}, {10, 0}, {11, 0}, {15, 0}, false, {}},
        {{0, 0}, {10, 0}, {0, 1}, {10, 1}, false, {}},
        {{0, 0}, {10, 0}, {5, -3}, {5, 3}, true, {{5, 0}}},
        {{0, 0}, {10, 0}, {11, -3}, {11, 3}, false, {}},
        {{0, 0}, {10, 0}, {5, 0}, {5, 3}, true, {{5, 0}}},
        {{10, 0}, {0, 0}, {3, 0}, {2, 0}, true, {{0, 0}, {2, 0}, {3, 0}, {10, 0}}},
        {{5, -3}, {5, 3}, {0, 0}, {10, 0}, true, {{5, 0}}},
        {{5, 0}, {5, 10}, {5, 4}, {5, 20}, true, {{5, 0}, {5, 4}}},
        {{5, 0}, {5, 10}, {6, 4}, {6, 20}, false, {}},
        // A point segment counts as horizontal; at the end of the other it
        // touches, inside it it is covered.
        {{5, 0}, {5, 0}, {5, 0}, {9, 0}, true, {{5, 0}}},
        {{6, 0}, {6, 0}, {5, 0}, {9, 0}, true, {}},
        {{5, 0}, {5, 0}, {5, -2}, {5, 2}, true, {{5, 0}}},
        {{0, 0}, {10, 0}, {4, 0}, {4, 0}, true, {{0, 0}, {4, 0}, {4, 0}, {10, 0}}},
    };
    for (const OverlapCase& c : cases) {
        TPointList out{{99, 99}};
        EXPECT_EQ(network::SegmentOverlap(c.a1, c.a2, c.b1, c.b2, out), c.meets) << c.a1.x() << "," << c.b1.x();
        EXPECT_EQ(out, c.out) << c.a1.x() << "," << c.a2.x() << " / " << c.b1.x() << "," << c.b2.x();
    }
}

TEST(PointNearSegment, WithinExtentAndStrictlyCloserThanTolerance)
{
    EXPECT_TRUE(network::PointNearSegment({5, 4}, {0, 0}, {10, 0}, 5));
    EXPECT_FALSE(network::PointNearSegment({5, 5}, {0, 0}, {10, 0}, 5));
    EXPECT_FALSE(network::PointNearSegment({11, 0}, {0, 0}, {10, 0}, 5));
    EXPECT_TRUE(network::PointNearSegment({5, 4}, {10, 0}, {0, 0}, 5));
    EXPECT_TRUE(network::PointNearSegment({3, 8}, {0, 10}, {0, 0}, 5));
    EXPECT_FALSE(network::PointNearSegment({0, 11}, {0, 10}, {0, 0}, 5));
}

TEST(PointLists, OrderAppendAndTranslate)
{
    QPoint a(10, 0);
    QPoint b(0, 0);
    network::OrderPoints(a, b);
    EXPECT_EQ(a, QPoint(0, 0));
    EXPECT_EQ(b, QPoint(10, 0));
    QPoint c(0, 5);
    QPoint d(10, 0);
    network::OrderPoints(c, d);
    EXPECT_EQ(c, QPoint(10, 0)) << "not right of and below: exchanged";
    TPointList list;
    network::AppendPoint(list, {1, 2});
    network::AppendPoint(list, {network::kScreenLimit, 0});
    network::TranslatePoints(list, 10, 20);
    EXPECT_EQ(list, (TPointList{{11, 22}, {network::kScreenLimit, 20}}));
}

class DrawToolCanvas : public ::testing::Test {
protected:
    void SetUp() override
    {
        canvas.Pen = {platform::TColor(0x0000FF), platform::TPenStyle::psDash, 3, platform::TPenMode::pmNotXor};
        canvas.Brush = {platform::TColor(0x00FF00), platform::TBrushStyle::bsSolid};
        saved = canvas.Pen;
        savedBrush = canvas.Brush;
    }
    void ExpectRestored()
    {
        EXPECT_EQ(canvas.Pen.Width, saved.Width);
        EXPECT_EQ(canvas.Pen.Style, saved.Style);
        EXPECT_EQ(canvas.Pen.Color, saved.Color);
        EXPECT_EQ(canvas.Brush, savedBrush);
    }
    RecordingCanvas canvas;
    platform::TPen saved;
    platform::TBrush savedBrush;
};

TEST_F(DrawToolCanvas, SolidLineRunsLeftToRightOrDown)
{
    network::DrawSolidLine(canvas, {10, 5}, {0, 5});
    network::DrawSolidLine(canvas, {0, 5}, {10, 5});
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Polyline)), Join(QStringList{"Polyline((0,5),(10,5)) pen=0000FF,solid,3,notxor",
                           "Polyline((0,5),(10,5)) pen=0000FF,solid,3,notxor"}));
    ExpectRestored();
}

TEST_F(DrawToolCanvas, DottedLineOfAWidePenClearsItsBandFirst)
{
    network::DrawDottedLine(canvas, {0, 5}, {30, 5});
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Polyline)), Join(QStringList{"Polyline((0,5),(30,5)) pen=00FF00,solid,3,notxor",
                           "Polyline((0,5),(30,5)) pen=0000FF,dot,1,copy"}));
    ExpectRestored();
    EXPECT_EQ(canvas.Pen.Mode, saved.Mode);
    canvas.Clear();
    canvas.Pen.Width = 1;
    network::DrawDottedLine(canvas, {0, 5}, {0, 30});
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Polyline)), Join(QStringList{"Polyline((0,5),(0,30)) pen=0000FF,dot,1,copy"}));
}

TEST_F(DrawToolCanvas, WaveLineZigzagsEveryFivePixels)
{
    network::DrawWaveLine(canvas, {0, 20}, {12, 20});
    network::DrawWaveLine(canvas, {30, 20}, {10, 20});
    network::DrawWaveLine(canvas, {0, 20}, {3, 20});
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Polyline)), Join(QStringList{"Polyline((0,20),(5,21),(10,19),(12,20)) pen=0000FF,solid,1,copy",
                           "Polyline((10,20),(15,21),(20,19),(25,21),(30,20)) pen=0000FF,solid,1,copy",
                           "Polyline((0,20),(3,20)) pen=0000FF,solid,1,copy"}));
    ExpectRestored();
}

TEST_F(DrawToolCanvas, LongWaveLineDrawsOnlyNearTheClipAreaWithItsPhase)
{
    // The canvas is 1024 pixels wide: of a line over the whole coordinate
    // range only the vertices from just left of 0 to just right of 1023
    // are drawn, with the phase of the whole line.
    const int start = -network::kScreenLimit;
    network::DrawWaveLine(canvas, {start, 20}, {network::kScreenLimit, 20});
    ASSERT_EQ(canvas.Calls().size(), 1u);
    const std::vector<QPoint>& points = canvas.Calls()[0].Points;
    ASSERT_GE(points.size(), 2u);
    EXPECT_LE(points.front().x(), -2);
    EXPECT_GE(points.back().x(), 1025);
    EXPECT_LT(points.size(), 220u);
    for (const QPoint& p : points) {
        const std::int64_t k = (std::int64_t{p.x()} - start) / 5;
        EXPECT_EQ((std::int64_t{p.x()} - start) % 5, 0);
        EXPECT_EQ(p.y(), k % 2 ? 21 : 19) << p.x();
    }
}

TEST_F(DrawToolCanvas, JumpArcsBulgeRightOrUp)
{
    network::DrawJumpArc(canvas, {50, 40}, true, 5);
    network::DrawJumpArc(canvas, {50, 40}, false, 5);
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Arc)), Join(QStringList{"Arc(47,35,57,45,50,45,50,35) pen=0000FF,solid,1,copy",
                                                      "Arc(45,34,55,44,55,41,45,41) pen=0000FF,solid,1,copy"}));
    ExpectRestored();
}

TEST_F(DrawToolCanvas, ArrowHeadInEachDirection)
{
    for (int dir = 0; dir < 4; ++dir)
        network::DrawArrowHead(canvas, {100, 50}, dir, 5, 10, 10);
    EXPECT_EQ(Join(canvas.Log(CanvasOp::Polygon)), Join(QStringList{"Polygon((80,45),(89,50),(80,55)) pen=0000FF,solid,1,copy brush=0000FF,solid",
                           "Polygon((120,45),(111,50),(120,55)) pen=0000FF,solid,1,copy brush=0000FF,solid",
                           "Polygon((95,30),(100,39),(105,30)) pen=0000FF,solid,1,copy brush=0000FF,solid",
                           "Polygon((95,70),(100,61),(105,70)) pen=0000FF,solid,1,copy brush=0000FF,solid"}));
    ExpectRestored();
}

TEST_F(DrawToolCanvas, TextInRectAlignsAndFrames)
{
    const QRect rect(QPoint(0, 0), QPoint(99, 39));
    const QSize size = canvas.TextExtent("AB");
    struct Case {
        int hAlign, vAlign;
        int x, y;
    };
    const Case cases[] = {
        {0, 2, 0, 0},
        {3, 2, 0, 0},
        {1, 2, 100 - size.width(), 0},
        {2, 1, (100 - size.width()) / 2, (40 - size.height()) / 2},
        {0, 0, 0, 40 - size.height()},
    };
    for (const Case& c : cases) {
        canvas.Clear();
        network::DrawTextInRect(canvas, rect, "AB", c.hAlign, c.vAlign, -1);
        ASSERT_EQ(canvas.Calls().size(), 1u) << "no frame for colour -1";
        EXPECT_EQ(canvas.Calls()[0].Args, (std::vector<int>{0, 0, 100, 40, c.x, c.y})) << c.hAlign << c.vAlign;
    }
    canvas.Clear();
    network::DrawTextInRect(canvas, rect, "AB", 0, 2, 0x123456);
    EXPECT_EQ(Join(canvas.Log(CanvasOp::FrameRect)), Join(QStringList{"FrameRect(0,0,101,41) brush=123456,solid"}));
    ExpectRestored();
    canvas.Clear();
    network::DrawTextInRectClear(canvas, rect, "AB", 0, 2, 0x123456);
    ASSERT_EQ(canvas.Calls().size(), 1u);
    EXPECT_EQ(canvas.Calls()[0].Brush.Style, platform::TBrushStyle::bsClear);
    ExpectRestored();
    canvas.Clear();
    network::DrawTextCentered(canvas, {50, 20}, "AB");
    ASSERT_EQ(canvas.Calls().size(), 1u);
    EXPECT_EQ(canvas.Calls()[0].Args, (std::vector<int>{50 - size.width() / 2 + 1, 20 - size.height() / 2}));
    EXPECT_EQ(canvas.Calls()[0].Brush.Style, platform::TBrushStyle::bsClear);
    ExpectRestored();
}

} // namespace
