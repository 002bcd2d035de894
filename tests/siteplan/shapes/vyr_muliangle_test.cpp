// The polygon: drawn like the polyline without showing the closing edge,
// outline and fill, hit and band tests on the open chain of its edges, its
// record with the brush, and the pen and brush dialog.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/caption_editor.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/shapes/vyr_muliangle.h"

#include "platform/recording_canvas.h"

using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRMuliangle;

namespace {

struct Polygon : PlanFixture {
    RecordingCanvas canvas{QSize(1000, 1000), 254};

    Polygon() : PlanFixture(254, 100) {}

    TVYRMuliangle* AddPolygon(std::initializer_list<QPoint> points)
    {
        return ClickDrawn<TVYRMuliangle>(TVYRMuliangle::Kind, points);
    }
};

TEST_F(Polygon, DrawnPressByPressWithoutTheClosingEdge)
{
    map.SetCanvas(&canvas);
    map.DefaultBrush.SetColor(platform::clYellow);
    map.SetDrawKind(TVYRMuliangle::Kind);
    Press({100, 100});
    auto* polygon = dynamic_cast<TVYRMuliangle*>(map.DrawingMapCom());
    ASSERT_NE(polygon, nullptr);
    Move({300, 100});
    Release({300, 100});
    Press({300, 300});
    canvas.Clear();
    Move({200, 300});
    // Only the segment being drawn follows the mouse; no edge back to the
    // first vertex.
    EXPECT_EQ(canvas.Log(CanvasOp::LineTo), (QStringList{"LineTo(300,300) pen=0000FF,solid,1,notxor",
                                                         "LineTo(200,300) pen=0000FF,solid,1,notxor"}));
    Release({200, 300});
    DoubleClick({200, 300});
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(polygon->PointCount(), 3);
    EXPECT_EQ(polygon->MethodCount, 3);
    EXPECT_EQ(polygon->Attributes(), siteplan::attr::Pen | siteplan::attr::Brush);
    EXPECT_EQ(polygon->OwnBrush.Value(), map.DefaultBrush.Value());
    EXPECT_EQ(polygon->Brush(), &polygon->OwnBrush);
    map.SetCanvas(nullptr);

    // Two distinct points are a polygon too, drawn as a line.
    EXPECT_NE(AddPolygon({{500, 500}, {600, 500}}), nullptr);
}

TEST_F(Polygon, ClosingEdgeAndInsideAreNotHit)
{
    TVYRMuliangle* polygon = AddPolygon({{100, 100}, {300, 100}, {300, 300}, {100, 300}});
    ASSERT_NE(polygon, nullptr);
    const struct {
        QPoint p;
        bool hit;
    } cases[] = {
        {{200, 103}, true}, {{297, 200}, true}, {{200, 297}, true},
        {{103, 200}, false}, // the closing edge
        {{200, 200}, false}, // inside
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        EXPECT_EQ(polygon->HitTest(c.p), c.hit);
    }
    EXPECT_FALSE(polygon->InRect({95, 150, 105, 160}));
    EXPECT_TRUE(polygon->InRect({295, 150, 305, 160}));

    // INSERT cannot reach the closing edge; ADD makes the new point the
    // last vertex, so the closing edge then runs from it.
    map.SetEditMethod(siteplan::pointmethod::Insert);
    Click({101, 200});
    EXPECT_EQ(polygon->PointCount(), 4);
    map.SetEditMethod(siteplan::pointmethod::Add);
    Click({50, 200});
    ASSERT_EQ(polygon->PointCount(), 5);
    EXPECT_EQ(polygon->Points[4], QPoint(5000, 20000));
}

TEST_F(Polygon, OutlineAndFillAndTheSelectedLook)
{
    map.DefaultPen.SetColor(platform::clGreen);
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
    map.DefaultBrush.SetColor(platform::clYellow);
    TVYRMuliangle* polygon = AddPolygon({{100, 100}, {300, 100}, {300, 300}});
    ASSERT_NE(polygon, nullptr);
    const QString points = "Polygon((100,100),(300,100),(300,300))";
    polygon->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Log(CanvasOp::Polygon),
              QStringList{points + " pen=008000,solid,1,copy brush=00FFFF,solid"});
    canvas.Clear();
    // Selected: the pen keeps its own colour, in not-XOR, fill included.
    polygon->Draw(canvas, siteplan::drawmode::Selected);
    EXPECT_EQ(canvas.Log(CanvasOp::Polygon),
              QStringList{points + " pen=008000,solid,1,notxor brush=00FFFF,solid"});
    canvas.Clear();
    polygon->SetPointCount(0);
    polygon->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST_F(Polygon, PenAndBrushDialog)
{
    TVYRMuliangle* polygon = AddPolygon({{100, 100}, {300, 100}, {300, 300}});
    ASSERT_NE(polygon, nullptr);
    shapetest::CaptionEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        map.Modified = false;
        editor.answer = ok;
        map.EditProperties();
        EXPECT_EQ(polygon->OwnBrush.Style(), ok ? platform::TBrushStyle::bsCross : map.DefaultBrush.Style());
        EXPECT_EQ(map.Modified, ok);
    }
    EXPECT_EQ(editor.captions, (QStringList{"pen+brush:编辑多边形属性", "pen+brush:编辑多边形属性"}));
}

TEST_F(Polygon, RecordHoldsPenBrushAndVertices)
{
    std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(TVYRMuliangle::Kind);
    auto* polygon = dynamic_cast<TVYRMuliangle*>(shape.get());
    ASSERT_NE(polygon, nullptr);
    polygon->BasePoint = QPoint(100, 200);
    polygon->RotateAngle = 450;
    polygon->OwnPen.SetStyle(platform::TPenStyle::psDot);
    polygon->OwnBrush.SetStyle(platform::TBrushStyle::bsHorizontal);
    polygon->OwnBrush.SetColor(platform::clBlue);
    polygon->Points[0] = QPoint(100, 200);
    polygon->Points[1] = QPoint(300, 200);
    polygon->Points[2] = QPoint(300, -100);
    polygon->SetPointCount(3);
    map.AddMapCom(std::move(shape));
    const QByteArray record = QByteArray::fromHex(
        "06000000"                         // MapID 6
        "c2010000" "0000803f0000803f"      // RotateAngle 450, FlexX, FlexY
        "64000000c8000000"                 // BasePoint (100, 200)
        "000000000200000001000000"         // pen: black, dot, 1
        "020000000000ff00"                 // brush: horizontal, blue
        "03000000"                         // three vertices
        "64000000c8000000"                 // (100, 200)
        "2c010000c8000000"                 // (300, 200)
        "2c0100009cffffff");               // (300, -100)
    const QByteArray plan = shapetest::ExpectSavesAs(map, record, QStringLiteral("polygon"), services);

    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(shapetest::LoadBytes(loaded, plan));
    const auto* read = dynamic_cast<const TVYRMuliangle*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->OwnBrush.Color(), platform::clBlue);
    EXPECT_EQ(read->PointCount(), 3);
    EXPECT_EQ(shapetest::SavedBytes(loaded), plan);

    // A vertex count beyond 100 or a cut record refuses the file.
    QByteArray tooMany = plan;
    tooMany[plan.size() - 28] = char(101);
    for (const QByteArray& bad : {tooMany, plan.first(plan.size() - 1)}) {
        siteplan::TPlaneMap refused(services);
        EXPECT_FALSE(shapetest::LoadBytes(refused, bad));
    }
}

} // namespace
