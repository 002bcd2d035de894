// The time axis and rows: pixel conversions with truncation and their
// limits, the settings' minima, the node offsets' idle columns and the
// shift of schedule times into drawing times.
#include "drawing_fixture.h"
#include "network/drawing/offset_shift.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace drawing_test;
using network::kScreenLimit;
using network::OffsetShift;
using network::TOffsetColumn;
using network::TOffsetPoint;

TEST(TimeAxis, TimeToXTruncatesTowardZeroWithinTheLimit)
{
    DrawNetwork net;
    const std::pair<float, int> cases[] = {
        {-0.05f, 0}, {4.9999f, 49}, {5.0f, 50}, {-1.0f, -10}, {-1.05f, -10},
        {1e30f, kScreenLimit}, {-1e30f, -kScreenLimit}, {INFINITY, kScreenLimit}, {NAN, 0},
    };
    for (const auto& [t, x] : cases)
        EXPECT_EQ(net.TimeToX(t), x) << t;
    net.SetStartJinDu(3);
    EXPECT_EQ(net.TimeToX(5.0f), 20);
    net.SetStartJinDu(std::numeric_limits<int>::min());
    EXPECT_EQ(net.TimeToX(0.0f), kScreenLimit);
}

TEST(TimeAxis, RowToYInSixtyFourBits)
{
    DrawNetwork net;
    EXPECT_EQ(net.RowToY(100), 40);
    EXPECT_EQ(net.RowToY(101), 80);
    EXPECT_EQ(net.RowToY(99), 0);
    EXPECT_EQ(net.RowToY(std::numeric_limits<int>::max()), kScreenLimit);
    EXPECT_EQ(net.RowToY(std::numeric_limits<int>::min()), -kScreenLimit);
    AddNodes(net, 1);
    net.Nodes().Items(0)->SetNodeY(std::numeric_limits<int>::max());
    EXPECT_EQ(net.GetNodePosition(net.Nodes().Items(0)).y(), kScreenLimit);
    EXPECT_EQ(net.GetNodePosition(nullptr), QPoint(0, 0));
}

TEST(TimeAxis, SmallMoveMakesTheDayWidthEven)
{
    DrawNetwork net;
    net.SetSmallDate(3);
    EXPECT_EQ(net.SmallMove(), 8);
    EXPECT_EQ(net.SmallWidth(), 24);
    net.SetSmallDate(2);
    net.SetSmallWidth(20);
    EXPECT_EQ(net.SmallMove(), 10);
    EXPECT_EQ(net.SmallWidth(), 20);
}

TEST(TimeAxis, SizesBelowOneAreIgnoredAlsoWhileLoading)
{
    for (const bool loading : {false, true}) {
        DrawNetwork net;
        net.SetLoading(loading);
        for (const int bad : {0, -1, std::numeric_limits<int>::min()}) {
            net.SetSmallWidth(bad);
            net.SetSmallDate(bad);
            net.SetSmallLineSpace(bad);
        }
        EXPECT_EQ(net.SmallWidth(), 20);
        EXPECT_EQ(net.SmallDate(), 2);
        EXPECT_EQ(net.SmallLineSpace(), 40);
        EXPECT_EQ(net.TimeToX(3.0f), 30);
        EXPECT_EQ(net.SmallMove(), 10);
        EXPECT_GT(net.LeftLankWidth(), 0);
    }
}

TEST(TimeAxis, OriginAndLabelColumnFollowTheFont)
{
    DrawNetwork net;
    const QPoint origin = net.GetOrigin();
    EXPECT_GT(origin.x(), 0);
    EXPECT_EQ(origin.y(), net.RulerHeight());
    EXPECT_EQ(net.LeftLankWidth() % net.SmallWidth(), 0);
    EXPECT_GE(net.LeftLankWidth(), origin.x());
    EXPECT_LT(net.LeftLankWidth(), origin.x() + net.SmallWidth());
}

// Start (1) -> 2 at day 5 and 1 -> 3 at day 5, 2 -> 4 at day 6.
void BuildTwoNodesAtDayFive(DrawNetwork& net, float offset)
{
    AddNodes(net, 4);
    AddWork(net, 1, 2, 5.0f);
    AddWork(net, 1, 3, 5.0f);
    AddWork(net, 2, 4, 1.0f);
    AddWork(net, 3, 4, 1.0f);
    net.Nodes().FindByNewID(3)->SetOffset(offset);
    net.BuildOffsetColumns();
}

TEST(OffsetColumns, PositiveOffsetOpensAnIdleColumn)
{
    DrawNetwork net;
    BuildTwoNodesAtDayFive(net, 2.0f);
    ASSERT_EQ(net.OffsetPoints().size(), 1u);
    EXPECT_EQ(net.OffsetPoints()[0], (TOffsetPoint{5.0f, 2.0f}));
    EXPECT_EQ(net.OffsetTotal(), 2.0f);
    EXPECT_EQ(net.OffsetColumns(), (std::vector<TOffsetColumn>{{49, 69}}));
    EXPECT_EQ(net.GetNodePosition(net.Nodes().FindByNewID(3)).x(), 70) << "the node with the offset lies after its gap";
    EXPECT_EQ(net.GetNodePosition(net.Nodes().FindByNewID(2)).x(), 50) << "the other node at day 5 stays";
    EXPECT_EQ(net.GetNodePosition(net.Nodes().FindByNewID(4)).x(), 80) << "later nodes move 2 days right";
    EXPECT_EQ(net.AddOffsets(5.0f), 7.0f);
    EXPECT_EQ(net.AddOffsets(4.5f), 4.5f);
}

TEST(OffsetColumns, NegativeOffsetSqueezesTheDaysBefore)
{
    DrawNetwork net;
    AddNodes(net, 3);
    AddWork(net, 1, 2, 8.0f);
    AddWork(net, 2, 3, 2.0f);
    net.Nodes().FindByNewID(2)->SetOffset(-2.0f);
    net.BuildOffsetColumns();
    EXPECT_EQ(net.OffsetTotal(), -2.0f);
    EXPECT_TRUE(net.OffsetColumns().empty());
    EXPECT_EQ(net.ShiftTime(6.0f, false), 6.0f);
    EXPECT_EQ(net.ShiftTime(7.0f, false), 6.25f);
    EXPECT_EQ(net.ShiftTime(8.0f, false), 6.5f);
    EXPECT_EQ(net.ShiftTime(8.0f, true), 6.5f);
    EXPECT_EQ(net.ShiftTime(10.0f, false), 8.5f);
}

TEST(OffsetColumns, ColumnBeyondTwoThousandDaysStartsBeforeItsGap)
{
    DrawNetwork net;
    AddNodes(net, 4);
    AddWork(net, 1, 2, 3000.0f);
    AddWork(net, 1, 3, 3000.0f);
    AddWork(net, 2, 4, 1.0f);
    AddWork(net, 3, 4, 1.0f);
    net.Nodes().FindByNewID(3)->SetOffset(1.0f);
    net.BuildOffsetColumns();
    // t - 0.0001 is t itself in single precision here; the column must
    // still open at the node's day, not after its own gap.
    EXPECT_EQ(net.OffsetColumns(), (std::vector<TOffsetColumn>{{29999, 30009}}));
    // Below 2,048 days the value is the Part's own (t - 0.0001).
    DrawNetwork near;
    BuildTwoNodesAtDayFive(near, 1.0f);
    EXPECT_EQ(near.OffsetColumns(), (std::vector<TOffsetColumn>{{49, 59}}));
}

TEST(OffsetColumns, RebuiltBySmallWidthAndStartJinDuExceptWhileLoading)
{
    DrawNetwork net;
    BuildTwoNodesAtDayFive(net, 2.0f);
    net.SetSmallWidth(40);
    EXPECT_EQ(net.OffsetColumns(), (std::vector<TOffsetColumn>{{99, 139}}));
    net.SetLoading(true);
    net.SetStartJinDu(1);
    EXPECT_EQ(net.OffsetColumns(), (std::vector<TOffsetColumn>{{99, 139}}));
    net.SetLoading(false);
    net.SetStartJinDu(1);
    EXPECT_EQ(net.OffsetColumns(), (std::vector<TOffsetColumn>{{79, 119}}));
}

// ShiftTime through the binary search gives exactly what the walk over
// every pair gives, for ascending and unordered pairs alike.
TEST(OffsetShift, SearchEqualsTheWalk)
{
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        std::vector<TOffsetPoint> pairs;
        float t = 0.0f;
        const bool ascending = round % 4 != 3;
        for (int i = 0; i < 1 + round * 3; ++i) {
            t = ascending ? t + float(random() % 3) * 0.5f : float(random() % 40) * 0.5f;
            float off = float(int(random() % 9) - 4) * 0.5f;
            if (off == 0.0f)
                off = 1.5f;
            pairs.push_back({t, off});
        }
        OffsetShift shift;
        shift.Build(pairs);
        for (int q = 0; q < 200; ++q) {
            const float x = float(int(random() % 100) - 10) * 0.25f;
            for (const bool atOrBefore : {false, true})
                ASSERT_EQ(shift.Shift(x, atOrBefore), OffsetShift::ShiftByWalk(pairs, x, atOrBefore))
                    << "round " << round << " x " << x;
        }
    }
}

} // namespace
