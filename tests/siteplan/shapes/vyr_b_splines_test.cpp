// The spline curve: drawing with the rubber band in not-XOR pairs, the
// samples recomputed after repeated points go and after a zoom, the hit
// test on the drawn curve, the point methods and their limits, the point
// counts a file may hold, and its record.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/caption_editor.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/shapes/vyr_b_splines.h"

#include "platform/recording_canvas.h"

#include <cmath>

using platform::CanvasCall;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRBSplines;

namespace {

struct Spline : PlanFixture {
    RecordingCanvas canvas{QSize(1000, 1000), 254};

    Spline() : PlanFixture(254, 100) {}

    TVYRBSplines* AddSpline(std::initializer_list<QPoint> points)
    {
        map.ClearSelection();
        map.SetDrawKind(TVYRBSplines::Kind);
        const QPoint* p = points.begin();
        Drag(p[0], p[1]);
        for (std::size_t i = 2; i < points.size(); ++i)
            Drag(p[i], p[i]);
        DoubleClick(*(points.end() - 1));
        map.SetDrawKind(0);
        return LastShape<TVYRBSplines>();
    }

    std::vector<std::vector<QPoint>> Polylines()
    {
        std::vector<std::vector<QPoint>> out;
        for (const CanvasCall& call : canvas.Calls())
            if (call.Op == CanvasOp::Polyline)
                out.push_back(call.Points);
        canvas.Clear();
        return out;
    }

    static std::vector<QPoint> SamplesOf(const TVYRBSplines& spline)
    {
        return {spline.Samples.begin(), spline.Samples.end()};
    }
};

TEST_F(Spline, RubberBandComesInNotXorPairsOnTheSameSamples)
{
    map.SetCanvas(&canvas);
    map.SetDrawKind(TVYRBSplines::Kind);
    Press({100, 300});
    auto* spline = dynamic_cast<TVYRBSplines*>(map.DrawingMapCom());
    ASSERT_NE(spline, nullptr);
    std::vector<QPoint> shown = Polylines().at(0);
    const auto step = [&](const std::function<void()>& action) {
        action();
        const auto drawn = Polylines();
        ASSERT_EQ(drawn.size(), 2u);
        // The curve on the screen is erased, then the new one drawn.
        EXPECT_EQ(drawn[0], shown);
        EXPECT_EQ(drawn[1], SamplesOf(*spline));
        shown = drawn[1];
    };
    step([&] { Move({200, 100}); });
    Release({200, 100});
    step([&] { Press({300, 300}); });
    EXPECT_EQ(spline->PointCount(), 3);
    step([&] { Move({320, 300}); });
    Release({320, 300});
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline).size(), 0);
    map.SetCanvas(nullptr);
    DoubleClick({320, 300});
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    EXPECT_EQ(spline->PointCount(), 3);
    EXPECT_EQ(spline->Samples[0], QPoint(100, 300));
    EXPECT_EQ(spline->Samples[100], QPoint(200, 100));
    EXPECT_EQ(spline->Samples[200], QPoint(320, 300));
}

TEST_F(Spline, RepeatedPointsRemovedAtTheEndAreLeftOutOfTheCurveToo)
{
    map.SetDrawKind(TVYRBSplines::Kind);
    // A first press without a drag doubles the first point; the double
    // click repeats the last.
    Click({100, 300});
    Drag({200, 100}, {200, 100});
    Drag({400, 300}, {400, 300});
    DoubleClick({400, 300});
    ASSERT_EQ(map.MapComCount(), 1);
    auto* spline = dynamic_cast<TVYRBSplines*>(map.MapCom(0));
    ASSERT_EQ(spline->PointCount(), 3);
    // What is shown is what a reload or a zoom shows.
    const std::vector<QPoint> shown = SamplesOf(*spline);
    spline->Recalculate();
    EXPECT_EQ(SamplesOf(*spline), shown);
    EXPECT_EQ(spline->Samples[100], QPoint(200, 100));
}

TEST_F(Spline, TwoPointsAndThreeCollinearPointsSampleTheirLine)
{
    TVYRBSplines* two = AddSpline({{100, 100}, {300, 200}});
    ASSERT_NE(two, nullptr);
    for (int j = 0; j <= 200; j += 20)
        EXPECT_EQ(two->Samples[static_cast<std::size_t>(j)], QPoint(100 + j, 100 + j / 2)) << j;
    TVYRBSplines* three = AddSpline({{100, 500}, {200, 500}, {300, 500}});
    ASSERT_NE(three, nullptr);
    for (int j = 0; j <= 200; ++j)
        EXPECT_EQ(three->Samples[static_cast<std::size_t>(j)], QPoint(100 + j, 500)) << j;
    EXPECT_EQ(three->GetBounds(), (siteplan::TRect{100, 500, 300, 500}));
}

TEST_F(Spline, HitOnTheDrawnCurveNotOnTheChord)
{
    TVYRBSplines* spline = AddSpline({{100, 300}, {200, 100}, {300, 300}});
    ASSERT_NE(spline, nullptr);
    EXPECT_TRUE(spline->HitTest(spline->Samples[50]));
    EXPECT_TRUE(spline->HitTest(spline->Samples[150]));
    EXPECT_FALSE(spline->HitTest({200, 250}));
    // The chord between the first two clicked points: the curve bulges
    // out beyond it.
    const QPoint chord(150, 200);
    double nearest = 1e9;
    for (const QPoint s : spline->Samples)
        nearest = std::min(nearest, std::hypot(s.x() - chord.x(), s.y() - chord.y()));
    ASSERT_GT(nearest, 8);
    EXPECT_FALSE(spline->HitTest(chord));
    // The band test runs over the clicked points.
    EXPECT_TRUE(spline->InRect({145, 195, 155, 205}));
}

TEST_F(Spline, InsertGoesBetweenTheClickedPointsWhoseParametersHoldTheHitPiece)
{
    const struct {
        QPoint click;
        int index;
    } cases[] = {
        {{200, 100}, 1}, // piece 100 ends at parameter 0.5: before the middle point
        {{201, 100}, 2}, // piece 101
        {{150, 102}, 1},
        {{299, 98}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.click.x());
        TVYRBSplines* spline = AddSpline({{100, 100}, {200, 100}, {300, 100}});
        ASSERT_NE(spline, nullptr);
        map.Modified = false;
        spline->DoMethod(siteplan::pointmethod::Insert, siteplan::methodkind::MapClick, c.click);
        ASSERT_EQ(spline->PointCount(), 4);
        EXPECT_EQ(spline->Points[static_cast<std::size_t>(c.index)], c.click * 100);
        EXPECT_TRUE(map.Modified);
        // The samples follow the new point.
        const std::vector<QPoint> shown = SamplesOf(*spline);
        spline->Recalculate();
        EXPECT_EQ(SamplesOf(*spline), shown);
    }
}

TEST_F(Spline, PointMethodsKeepTwoPointsAndAHundredAtMost)
{
    TVYRBSplines* spline = AddSpline({{100, 100}, {300, 100}, {300, 300}});
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ((QStringList{spline->GetMethodBitmap(0), spline->GetMethodBitmap(1), spline->GetMethodBitmap(2)}),
              (QStringList{"ADD", "INSERT", "DELETE"}));
    spline->DoMethod(siteplan::pointmethod::Add, siteplan::methodkind::MapClick, {500, 400});
    ASSERT_EQ(spline->PointCount(), 4);
    EXPECT_EQ(spline->Samples[200], QPoint(500, 400));
    for (int i = 3; i >= 0; --i)
        spline->DoMethod(siteplan::pointmethod::Delete, siteplan::methodkind::HandleClick, {i, 0});
    // The last two stay: below that there is no curve.
    EXPECT_EQ(spline->PointCount(), 2);
    EXPECT_EQ(spline->Samples[0], QPoint(100, 100));
    EXPECT_EQ(spline->Samples[200], QPoint(300, 100));

    for (int i = 2; i < 100; ++i)
        spline->AddCreatingPoint({300, 100 + i});
    ASSERT_EQ(spline->PointCount(), 100);
    for (const int method : {siteplan::pointmethod::Add, siteplan::pointmethod::Insert}) {
        SCOPED_TRACE(method);
        services.messages.clear();
        map.Modified = false;
        spline->DoMethod(method, siteplan::methodkind::MapClick, spline->Samples[10]);
        EXPECT_EQ(services.MessageTexts(), QStringList{"线段太多"});
        EXPECT_EQ(spline->PointCount(), 100);
        EXPECT_FALSE(map.Modified);
    }

    // With one point the clicked points have no parameters: INSERT does
    // nothing.
    spline->SetPointCount(1);
    spline->Recalculate();
    spline->DoMethod(siteplan::pointmethod::Insert, siteplan::methodkind::MapClick, {100, 100});
    EXPECT_EQ(spline->PointCount(), 1);
}

TEST_F(Spline, AddOnATurnedSplineErasesTheCurveWhereItWasDrawn)
{
    TVYRBSplines* spline = AddSpline({{100, 100}, {200, 300}, {300, 100}});
    ASSERT_NE(spline, nullptr);
    spline->RotateAngle = 900;
    map.SetCanvas(&canvas);
    spline->Draw(canvas, siteplan::drawmode::Selected);
    canvas.SetWorldTransform(QTransform());
    const QStringList drawn = canvas.Log(CanvasOp::Polyline);
    ASSERT_EQ(drawn.size(), 1);
    EXPECT_TRUE(drawn[0].contains("xform=")) << drawn[0].toStdString();
    canvas.Clear();
    spline->DoMethod(siteplan::pointmethod::Add, siteplan::methodkind::MapClick, {400, 400});
    // The erase covers the selected curve exactly: same points, pen and turn.
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline), drawn);
    EXPECT_TRUE(canvas.WorldTransform().isIdentity());
    map.SetCanvas(nullptr);
}

TEST_F(Spline, ZoomRecomputesTheSamplesFromTheClickedPoints)
{
    TVYRBSplines* spline = AddSpline({{100, 100}, {200, 300}, {300, 100}});
    ASSERT_NE(spline, nullptr);
    map.SetMapScale(200);
    EXPECT_EQ(spline->Samples[0], QPoint(50, 50));
    EXPECT_EQ(spline->Samples[100], QPoint(100, 150));
    EXPECT_EQ(spline->Samples[200], QPoint(150, 50));
    EXPECT_EQ(spline->Points[1], QPoint(20000, 30000));
}

TEST_F(Spline, DrawnCurveAndTheSelectedLook)
{
    map.DefaultPen.SetColor(platform::clGreen);
    map.DefaultPen.SetWidth(2);
    TVYRBSplines* spline = AddSpline({{100, 100}, {200, 300}, {300, 100}});
    ASSERT_NE(spline, nullptr);
    spline->Draw(canvas, siteplan::drawmode::Normal);
    ASSERT_EQ(canvas.Calls().size(), 2u); // the turn, then the curve
    const CanvasCall& curve = canvas.Calls().back();
    EXPECT_EQ(curve.Op, CanvasOp::Polyline);
    EXPECT_EQ(curve.Points, SamplesOf(*spline));
    EXPECT_EQ(curve.Pen, (platform::TPen{platform::clGreen, platform::TPenStyle::psSolid, 2}));
    canvas.Clear();
    spline->Draw(canvas, siteplan::drawmode::Selected);
    EXPECT_EQ(canvas.Calls().back().Pen,
              (platform::TPen{platform::clRed, platform::TPenStyle::psSolid, 2, platform::TPenMode::pmNotXor}));

    shapetest::CaptionEditor editor;
    editor.answer = true;
    map.SetPropertyEditor(&editor);
    map.EditProperties();
    EXPECT_EQ(editor.captions, QStringList{"pen:"});
    EXPECT_EQ(spline->OwnPen.Width(), 4);
}

const QByteArray SplineRecord = QByteArray::fromHex(
    "0a000000"                         // MapID 10
    "00000000" "0000803f0000803f"      // RotateAngle, FlexX, FlexY
    "64000000c8000000"                 // BasePoint (100, 200)
    "0000ff000300000001000000"         // pen: blue, dash dot, 1
    "03000000"                         // three clicked points
    "10270000e02e0000"                 // (10000, 12000)
    "204e0000a00f0000"                 // (20000, 4000)
    "30750000e02e0000");               // (30000, 12000)

TEST_F(Spline, RecordHoldsTheClickedPointsAndTheSamplesAreRebuiltOnLoading)
{
    std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(TVYRBSplines::Kind);
    auto* spline = dynamic_cast<TVYRBSplines*>(shape.get());
    ASSERT_NE(spline, nullptr);
    spline->BasePoint = QPoint(100, 200);
    spline->OwnPen.SetColor(platform::clBlue);
    spline->OwnPen.SetStyle(platform::TPenStyle::psDashDot);
    spline->Points[0] = QPoint(10000, 12000);
    spline->Points[1] = QPoint(20000, 4000);
    spline->Points[2] = QPoint(30000, 12000);
    spline->SetPointCount(3);
    map.AddMapCom(std::move(shape));
    const QByteArray plan = shapetest::PlanOf(SplineRecord, 1, services);
    EXPECT_EQ(shapetest::SavedBytes(map).toHex(), plan.toHex());
    shapetest::AddToCorpus(plan, QStringLiteral("spline"));

    siteplan::TPlaneMap loaded(services);
    loaded.SetMapScale(100);
    ASSERT_TRUE(shapetest::LoadBytes(loaded, plan));
    const auto* read = dynamic_cast<const TVYRBSplines*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Samples[0], loaded.WorldToScreen({10000, 12000}));
    EXPECT_EQ(read->Samples[100], loaded.WorldToScreen({20000, 4000}));
    EXPECT_EQ(shapetest::SavedBytes(loaded), plan);
}

// A file may hold a spline of one point or none: one puts the whole curve
// on its point, none draws nothing and is never hit.
TEST_F(Spline, OneOrNoClickedPointsFromAFile)
{
    for (const int count : {0, 1}) {
        SCOPED_TRACE(count);
        QByteArray record = SplineRecord.first(SplineRecord.size() - 24);
        record[record.size() - 4] = static_cast<char>(count);
        if (count == 1)
            record += QByteArray::fromHex("10270000e02e0000");
        const QByteArray plan = shapetest::PlanOf(record, 1, services);
        siteplan::TPlaneMap loaded(services);
        ASSERT_TRUE(shapetest::LoadBytes(loaded, plan));
        auto* read = dynamic_cast<TVYRBSplines*>(loaded.MapCom(0));
        ASSERT_NE(read, nullptr);
        const QPoint at = loaded.WorldToScreen({10000, 12000});
        RecordingCanvas painted{QSize(1000, 1000), 96};
        read->Draw(painted, siteplan::drawmode::Selected);
        if (count == 0) {
            EXPECT_TRUE(painted.Calls().empty());
            EXPECT_EQ(read->GetBounds(), siteplan::TRect{});
            EXPECT_FALSE(read->HitTest({0, 0}));
        } else {
            for (const QPoint s : read->Samples)
                ASSERT_EQ(s, at);
            EXPECT_TRUE(read->HitTest(at));
            EXPECT_EQ(painted.Log(CanvasOp::Polyline).size(), 1);
        }
        EXPECT_EQ(shapetest::SavedBytes(loaded), plan);
        shapetest::AddToCorpus(plan, QStringLiteral("spline-%1-point").arg(count));
    }
}

} // namespace
