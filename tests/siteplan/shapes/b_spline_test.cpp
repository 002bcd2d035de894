// The interpolating B-spline: worked point sets, the curve through every
// data point at its knot, the corner at three coinciding points, and the
// counts a file may hold (none, one).
#include "siteplan/shapes/b_spline.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using siteplan::TBSpline;
using siteplan::TSplinePoint;

namespace {

TBSpline SplineOf(const std::vector<TSplinePoint>& points, bool interpolate = true)
{
    TBSpline spline;
    for (const TSplinePoint& p : points)
        spline.AddPoint(p);
    if (interpolate)
        spline.Interpolate();
    return spline;
}

void ExpectNear(const TSplinePoint& v, float x, float y, float tolerance = 1e-3f)
{
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
}

TEST(BSpline, TwoPointsGiveEvenlySpacedSamplesOnTheSegment)
{
    TBSpline spline = SplineOf({{0, 0, 0}, {200, 100, 0}});
    EXPECT_FALSE(spline.Prepared());
    // The reflected ends make the curve a straight line.
    ExpectNear(spline.Point(0), -200, -100);
    ExpectNear(spline.Point(3), 400, 200);
    for (const int j : {0, 1, 50, 100, 137, 199, 200}) {
        SCOPED_TRACE(j);
        ExpectNear(spline.Evaluate(static_cast<float>(j) / 200), static_cast<float>(j), j / 2.0f);
    }
}

TEST(BSpline, ThreeCollinearPointsStayOnTheirLine)
{
    TBSpline spline = SplineOf({{100, 50, 0}, {200, 50, 0}, {300, 50, 0}});
    EXPECT_TRUE(spline.Prepared());
    for (int j = 0; j <= 200; ++j) {
        SCOPED_TRACE(j);
        ExpectNear(spline.Evaluate(static_cast<float>(j) / 200), 100.0f + j, 50);
    }
}

TEST(BSpline, CurvePassesThroughEveryDataPointAtItsKnot)
{
    const std::vector<TSplinePoint> points = {{0, 0, 0}, {100, -40, 0}, {180, 60, 0}, {260, 10, 0}, {400, 200, 0}};
    TBSpline spline = SplineOf(points);
    ASSERT_TRUE(spline.Prepared());
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectNear(spline.Evaluate(static_cast<float>(i) / 4), points[i].X, points[i].Y, 1e-2f);
    }
    // Natural ends: the reflected end points continue the control polygon
    // straight, so the curve does not bend at the first and last point.
    const TSplinePoint c0 = spline.Point(0);
    const TSplinePoint c1 = spline.Point(1);
    const TSplinePoint c2 = spline.Point(2);
    EXPECT_NEAR(c0.X - 2 * c1.X + c2.X, 0, 1e-2);
    EXPECT_NEAR(c0.Y - 2 * c1.Y + c2.Y, 0, 1e-2);
}

TEST(BSpline, ThreeCoincidingPointsMakeACorner)
{
    TBSpline spline = SplineOf({{0, 0, 0}, {100, 0, 0}, {100, 0, 0}, {100, 0, 0}, {200, 100, 0}});
    ASSERT_TRUE(spline.Prepared());
    // The tripled point keeps its own control points: the curve runs into
    // it at its middle knot, along the first span's line, and leaves it
    // towards the last point: a corner.
    ExpectNear(spline.Evaluate(0.5f), 100, 0);
    ExpectNear(spline.Evaluate(0), 0, 0);
    ExpectNear(spline.Evaluate(1), 200, 100);
    const TSplinePoint in = spline.Evaluate(0.49f);
    const TSplinePoint out = spline.Evaluate(0.51f);
    EXPECT_LT(in.X, 100);
    EXPECT_EQ(in.Y, 0);
    EXPECT_GT(out.X, 100);
    EXPECT_GT(out.Y, 0);
    EXPECT_NEAR(out.Y, out.X - 100, 1e-3);
}

TEST(BSpline, NoneOrOnePointAndTheLimitOfAHundred)
{
    TBSpline none = SplineOf({});
    ExpectNear(none.Evaluate(0), 0, 0);
    ExpectNear(none.Evaluate(1), 0, 0);
    TBSpline one = SplineOf({{30, 40, 0}});
    for (const float t : {0.0f, 0.5f, 1.0f})
        ExpectNear(one.Evaluate(t), 30, 40);

    TBSpline full;
    for (int i = 0; i < 105; ++i)
        full.AddPoint({static_cast<float>(i * 10), 0, 0});
    EXPECT_EQ(full.Count(), 100);
    full.Interpolate();
    // The ends read only the entries that exist.
    ExpectNear(full.Evaluate(0), 0, 0, 1e-2f);
    ExpectNear(full.Evaluate(1), 990, 0, 1e-2f);
}

} // namespace

namespace {

// The plane evaluation gives exactly the X and Y of the full one, for
// random curves of every length at every sample.
TEST(BSpline, PlaneEvaluationGivesTheSameXAndY)
{
    std::mt19937 random(20261211);
    std::uniform_real_distribution<float> coordinate(-5000, 5000);
    for (int count = 2; count <= TBSpline::MaxCount; count += 7) {
        std::vector<TSplinePoint> points;
        for (int i = 0; i < count; ++i)
            points.push_back({coordinate(random), coordinate(random), 0});
        const TBSpline spline = SplineOf(points);
        for (int j = 0; j <= 200; ++j) {
            const siteplan::TSplineWeights weights = TBSpline::Weights(count, static_cast<float>(j) / 200);
            const TSplinePoint full = spline.Evaluate(weights);
            const QPointF plane = spline.EvaluatePlane(weights);
            EXPECT_EQ(plane, QPointF(full.X, full.Y)) << count << " points, sample " << j;
        }
    }
}

} // namespace
