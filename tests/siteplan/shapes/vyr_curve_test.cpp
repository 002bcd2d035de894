// The Bezier curve: three presses with the dotted rubber band, nothing
// drawn before it has its four points, hit and band tests on the control
// polygon, its record of four points, and a drawing never saved or copied
// half done.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/caption_editor.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/shapes/vyr_curve.h"

#include "platform/recording_canvas.h"

#include <QTemporaryDir>

using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRCurve;

namespace {

// One pixel is 100 world units.
struct Curve : PlanFixture {
    RecordingCanvas canvas{QSize(1000, 1000), 254};

    Curve() : PlanFixture(254, 100) {}

    // Press at each point and drag to the next: start, first control
    // point, second control point, end.
    TVYRCurve* AddCurve(QPoint start, QPoint c1, QPoint c2, QPoint end)
    {
        map.ClearSelection();
        map.SetDrawKind(TVYRCurve::Kind);
        Drag(start, c1);
        Drag(c1, c2);
        Drag(c2, end);
        map.SetDrawKind(0);
        return LastShape<TVYRCurve>();
    }

    QStringList Lines()
    {
        QStringList out;
        for (const platform::CanvasCall& call : canvas.Calls())
            if (call.Op == CanvasOp::LineTo || call.Op == CanvasOp::MoveTo || call.Op == CanvasOp::Polyline)
                out << call.ToString();
        canvas.Clear();
        return out;
    }
};

TEST_F(Curve, ThreePressesWithTheDottedControlPolygon)
{
    map.SetCanvas(&canvas);
    map.DefaultPen.SetWidth(3);
    map.DefaultPen.SetColor(platform::clGreen);
    map.SetDrawKind(TVYRCurve::Kind);
    const QString band = " pen=0000FF,dot,1,notxor";

    Press({100, 300});
    auto* curve = dynamic_cast<TVYRCurve*>(map.DrawingMapCom());
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->PointCount(), 2);
    EXPECT_EQ(curve->MethodCount, 0);
    EXPECT_EQ(Lines(), (QStringList{"MoveTo(100,300)", "LineTo(100,300)" + band}));
    Move({100, 100});
    EXPECT_EQ(Lines(), (QStringList{"MoveTo(100,300)", "LineTo(100,300)" + band, "MoveTo(100,300)",
                                    "LineTo(100,100)" + band}));
    Release({100, 100});
    Press({300, 100});
    EXPECT_EQ(curve->PointCount(), 3);
    EXPECT_EQ(Lines(), (QStringList{"MoveTo(100,100)", "LineTo(300,100)" + band}));
    Move({300, 120});
    Release({300, 120});
    canvas.Clear();

    // Two or three points: already in the plan, but a repaint draws
    // nothing of it until the fourth point.
    map.Paint(canvas);
    EXPECT_TRUE(canvas.Log(CanvasOp::PolyBezier).isEmpty());
    canvas.Clear();

    Press({300, 300});
    Move({320, 300});
    Release({320, 300});
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(curve->PointCount(), 4);
    EXPECT_EQ(curve->Points[3], QPoint(32000, 30000));
    EXPECT_TRUE(map.IsSelected(curve));
    EXPECT_EQ(curve->GetBounds(), (siteplan::TRect{100, 100, 320, 300}));
    map.SetCanvas(nullptr);
}

TEST_F(Curve, FewerThanFourDistinctPointsAreDiscarded)
{
    map.SetDrawKind(TVYRCurve::Kind);
    // A first press without a drag doubles the start point.
    Click({100, 100});
    Drag({200, 100}, {300, 200});
    Drag({300, 200}, {400, 100});
    EXPECT_EQ(map.MapComCount(), 0);
    // A double click before the third press ends drawing early.
    Drag({100, 100}, {150, 50});
    DoubleClick({150, 50});
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_EQ(addMapAfter, 2);
}

TEST_F(Curve, HitAndBandTestsRunOverTheControlPolygon)
{
    TVYRCurve* curve = AddCurve({100, 300}, {100, 100}, {300, 100}, {300, 300});
    ASSERT_NE(curve, nullptr);
    const struct {
        QPoint p;
        bool hit;
    } clicks[] = {
        {{200, 103}, true},  // the control polygon, far from the curve
        {{200, 150}, false}, // the middle of the curve itself
        {{104, 200}, true},  {{296, 250}, true},
        {{200, 298}, false}, // where a closing edge would run
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        EXPECT_EQ(curve->HitTest(c.p), c.hit);
    }
    EXPECT_TRUE(curve->InRect({190, 90, 210, 110}));
    EXPECT_FALSE(curve->InRect({190, 140, 210, 160}));
}

TEST_F(Curve, DrawnCurveAndSelectedLook)
{
    map.DefaultPen.SetColor(platform::clGreen);
    map.DefaultPen.SetStyle(platform::TPenStyle::psDash);
    map.DefaultPen.SetWidth(3);
    TVYRCurve* curve = AddCurve({100, 300}, {100, 100}, {300, 100}, {300, 300});
    ASSERT_NE(curve, nullptr);
    const QString points = "(100,300),(100,100),(300,100),(300,300)";
    curve->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(canvas.Log(CanvasOp::Polyline).isEmpty());
    EXPECT_EQ(canvas.Log(CanvasOp::PolyBezier), QStringList{"PolyBezier(" + points + ") pen=008000,dash,3,copy"});
    canvas.Clear();
    curve->Draw(canvas, siteplan::drawmode::Selected);
    EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).size(), 1);
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline), QStringList{"Polyline(" + points + ") pen=0000FF,dot,1,notxor"});
    EXPECT_EQ(canvas.Log(CanvasOp::PolyBezier), QStringList{"PolyBezier(" + points + ") pen=0000FF,dash,3,notxor"});
    EXPECT_EQ(curve->GetSelectMargin(), 2);
}

TEST_F(Curve, NoPointMethodsAndThePenDialog)
{
    TVYRCurve* curve = AddCurve({100, 300}, {100, 100}, {300, 100}, {300, 300});
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->GetMethodBitmap(0), "");
    EXPECT_EQ(curve->GetMethodHint(0), "");
    curve->DoMethod(siteplan::pointmethod::Add, siteplan::methodkind::MapClick, {500, 500});
    curve->DoMethod(siteplan::pointmethod::Delete, siteplan::methodkind::HandleClick, {0, 0});
    EXPECT_EQ(curve->PointCount(), 4);
    EXPECT_EQ(curve->Points[0], QPoint(10000, 30000));

    shapetest::CaptionEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        map.Modified = false;
        editor.answer = ok;
        map.EditProperties();
        EXPECT_EQ(curve->OwnPen.Width(), ok ? 4 : 1);
        EXPECT_EQ(map.Modified, ok);
    }
    EXPECT_EQ(editor.captions, (QStringList{"pen:编辑曲线属性", "pen:编辑曲线属性"}));
}

TEST_F(Curve, RecordHoldsThePenAndFourPointsWithoutACount)
{
    std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(TVYRCurve::Kind);
    auto* curve = dynamic_cast<TVYRCurve*>(shape.get());
    ASSERT_NE(curve, nullptr);
    curve->BasePoint = QPoint(100, 200);
    curve->OwnPen.SetColor(platform::clRed);
    curve->OwnPen.SetWidth(2);
    curve->Points = {QPoint(100, 200), QPoint(300, -400), QPoint(500, 600), QPoint(-700, 800)};
    curve->SetPointCount(4);
    map.AddMapCom(std::move(shape));
    const QByteArray record = QByteArray::fromHex(
        "05000000"                         // MapID 5
        "00000000" "0000803f0000803f"      // RotateAngle, FlexX, FlexY
        "64000000c8000000"                 // BasePoint (100, 200)
        "ff0000000000000002000000"         // pen: red, solid, 2
        "64000000c8000000"                 // (100, 200)
        "2c01000070feffff"                 // (300, -400)
        "f401000058020000"                 // (500, 600)
        "44fdffff20030000");               // (-700, 800)
    const QByteArray plan = shapetest::ExpectSavesAs(map, record, QStringLiteral("curve"), services);

    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(shapetest::LoadBytes(loaded, plan));
    const auto* read = dynamic_cast<const TVYRCurve*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->PointCount(), 4);
    EXPECT_EQ(read->Points[3], QPoint(-700, 800));
    EXPECT_EQ(shapetest::SavedBytes(loaded), plan);

    // A short record refuses the file.
    siteplan::TPlaneMap refused(services);
    EXPECT_FALSE(shapetest::LoadBytes(refused, plan.first(plan.size() - 4)));
    EXPECT_EQ(refused.MapComCount(), 0);
}

TEST_F(Curve, ACurveBeingDrawnIsFinishedBeforeASaveOrACopy)
{
    QTemporaryDir dir;
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save);
        map.SetDrawKind(TVYRCurve::Kind);
        Drag({100, 300}, {100, 100});
        Drag({100, 100}, {300, 100});
        ASSERT_NE(map.DrawingMapCom(), nullptr);
        if (save) {
            ASSERT_TRUE(map.SaveToFile(dir.filePath("half.Plm")));
            siteplan::TPlaneMap loaded(services);
            ASSERT_TRUE(loaded.LoadFromFile(dir.filePath("half.Plm")));
            EXPECT_EQ(loaded.MapComCount(), 0);
        } else {
            map.CopySelection();
            map.PasteSelection();
        }
        // Three points: not a curve, so drawing ended without one.
        EXPECT_EQ(map.DrawingMapCom(), nullptr);
        EXPECT_EQ(map.MapComCount(), 0);
    }
}

} // namespace
