// The rectangle and the box mechanics it shares with its family: drawing
// press by press with the size readout, the outline hit test and the band
// test, the eight box handles and their drags, moving, the record and the
// values a damaged file can hold.
#include "box_shape_support.h"

#include "siteplan/grab_handles.h"
#include "siteplan/shape_property_editor.h"
#include "siteplan/shapes/vyr_rectangle.h"

#include "platform/recording_canvas.h"

#include <limits>

using boxtest::BoxPlan;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRRectangle;

namespace {

constexpr int RectKind = TVYRRectangle::Kind;

struct Rectangle : BoxPlan {};

QStringList RedRectangles(RecordingCanvas& canvas)
{
    QStringList out;
    for (const auto& call : canvas.Calls())
        if (call.Op == CanvasOp::Rectangle && call.Pen.Color == platform::clRed)
            out << call.ToString();
    canvas.Clear();
    return out;
}

TEST_F(Rectangle, DrawnPressByPressWithTheReadoutAndKeptAsDrawn)
{
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    map.SetCanvas(&canvas);
    map.DefaultPen.SetWidth(2);
    map.SetDrawKind(RectKind);
    Press({300, 200});
    auto* rect = dynamic_cast<TVYRRectangle*>(map.DrawingMapCom());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->Corner1, QPoint(30000, 20000));
    EXPECT_EQ(rect->Corner2, QPoint(30000, 20000));
    const QString style = " pen=0000FF,solid,2,notxor brush=FFFFFF,clear";
    EXPECT_EQ(RedRectangles(canvas), QStringList{"Rectangle(300,200,300,200)" + style});
    hints.clear();
    Move({100, 100});
    // Erased where it was, drawn to the mouse; the sizes in 100 mm.
    EXPECT_EQ(RedRectangles(canvas),
              (QStringList{"Rectangle(300,200,300,200)" + style, "Rectangle(100,100,300,200)" + style}));
    EXPECT_EQ(hints, QStringList{"X边长度：2000mm, Y边长度：1000 mm"});
    Release({100, 100});
    EXPECT_EQ(map.DrawKind(), RectKind);
    EXPECT_EQ(addMapAfter, 1);
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_TRUE(map.IsSelected(rect));
    // Drawn from the lower right: the corners stay as drawn.
    EXPECT_EQ(rect->Corner1, QPoint(30000, 20000));
    EXPECT_EQ(rect->Corner2, QPoint(10000, 10000));
    EXPECT_EQ(rect->GetBounds(), (siteplan::TRect{100, 100, 300, 200}));
    EXPECT_EQ(rect->Attributes(), siteplan::attr::Pen | siteplan::attr::Brush);
    EXPECT_EQ(rect->MethodCount, 0);

    canvas.Clear();
    rect->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Log(CanvasOp::Rectangle),
              QStringList{"Rectangle(100,100,300,200) pen=000000,solid,2,copy brush=FFFFFF,clear"});
}

TEST_F(Rectangle, PressAndReleaseAtOnePointMakesNoShape)
{
    EXPECT_EQ(Draw<TVYRRectangle>(RectKind, {100, 100}, {100, 100}), nullptr);
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_EQ(addMapAfter, 1);
    // Zero width and some height is a box: it draws as a line.
    EXPECT_NE(Draw<TVYRRectangle>(RectKind, {100, 100}, {100, 200}), nullptr);
}

TEST(BoxReadout, SizesInWholeDecimetresHalvesToEven)
{
    FakeWindowServices services;
    // One pixel is 10 world units: widths that are not whole decimetres.
    siteplan::TPlaneMap map(services, 254);
    map.SetMapScale(10);
    QStringList hints;
    map.onMapHint = [&hints](siteplan::TVyrMapCom*, const QString& hint) { hints << hint; };
    const struct {
        QPoint to;
        const char* hint;
    } cases[] = {
        {{250, 350}, "X边长度：200mm, Y边长度：400 mm"},
        {{1230, 0}, "X边长度：1200mm, Y边长度：0 mm"},
        {{-250, -1230}, "X边长度：200mm, Y边长度：1200 mm"},
        {{40, 60}, "X边长度：0mm, Y边长度：100 mm"},
    };
    TVYRRectangle rect(&map, {});
    for (const auto& c : cases) {
        hints.clear();
        rect.SetCreatingPoint(1, c.to);
        EXPECT_EQ(hints, QStringList{QString::fromUtf8(c.hint)});
    }
}

TEST_F(Rectangle, OnlyTheOutlineHitsWithinThreePixels)
{
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    const struct {
        QPoint p;
        bool hit;
    } cases[] = {
        {{100, 150}, true},  {{102, 150}, true},  {{98, 150}, true},  {{103, 150}, false},
        {{97, 150}, false},  {{200, 100}, true},  {{200, 202}, true},  {{200, 203}, false},
        {{200, 150}, false}, {{300, 99}, true},   {{303, 150}, false}, {{300, 203}, false},
        {{100, 96}, false},  {{50, 150}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        EXPECT_EQ(rect->HitTest(c.p), c.hit);
    }
    // Turned a quarter about its centre (200, 150) the outline stands
    // upright: (150, 50)-(250, 250).
    rect->RotateAngle = 900;
    EXPECT_TRUE(rect->HitTest({150, 150}));
    EXPECT_TRUE(rect->HitTest({200, 250}));
    EXPECT_FALSE(rect->HitTest({100, 150}));
    // A turn between the axes: the sloped edges hit by their distance.
    rect->RotateAngle = 450;
    const QPoint corner = rect->WorldToScreen(rect->Corner1, true);
    const QPoint next = rect->WorldToScreen(QPoint(rect->Corner2.x(), rect->Corner1.y()), true);
    EXPECT_TRUE(rect->HitTest((corner + next) / 2));
    EXPECT_FALSE(rect->HitTest({200, 150}));
}

TEST_F(Rectangle, AnEdgeOfNoLengthHitsAroundItsPointOnly)
{
    TVYRRectangle* flat = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 100});
    ASSERT_NE(flat, nullptr);
    EXPECT_TRUE(flat->HitTest({200, 101}));
    EXPECT_TRUE(flat->HitTest({300, 102}));
    // Not anywhere above or below the ends.
    EXPECT_FALSE(flat->HitTest({300, 150}));
    EXPECT_FALSE(flat->HitTest({100, 40}));
}

TEST_F(Rectangle, BandSelectsWhatSharesAnArea)
{
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    TVYRRectangle* line = Draw<TVYRRectangle>(RectKind, {400, 100}, {400, 200});
    ASSERT_NE(rect, nullptr);
    ASSERT_NE(line, nullptr);
    const struct {
        siteplan::TRect band;
        bool rect;
        bool line;
    } cases[] = {
        {{0, 0, 150, 150}, true, false},
        {{150, 120, 160, 130}, true, false}, // inside the box
        {{300, 0, 500, 500}, false, false},  // touching its right edge only
        {{350, 0, 450, 500}, false, false},  // across the box of no width
        {{0, 0, 1000, 1000}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rect->InRect(c.band), c.rect);
        EXPECT_EQ(line->InRect(c.band), c.line);
    }
}

TEST_F(Rectangle, EightHandlesStandOnTheCornersAsDrawnAndMoveThem)
{
    map.DefaultPen.SetWidth(3); // margin 2
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {300, 200}, {100, 100});
    ASSERT_NE(rect, nullptr);
    ASSERT_EQ(rect->GetPointCount(), 8);
    EXPECT_EQ(rect->GetSelectMargin(), 2);
    const struct {
        QPoint pos;
        int cursor;
        QPoint dropAt;   // handle centre dropped here
        QPoint corner1;  // world corners afterwards
        QPoint corner2;
    } handles[] = {
        // Corner1 is the lower right: the offsets point into the box.
        {{298, 198}, -8, {398, 298}, {40000, 30000}, {10000, 10000}},
        {{200, 198}, -7, {250, 248}, {30000, 25000}, {10000, 10000}},
        {{102, 198}, -6, {52, 248}, {30000, 25000}, {5000, 10000}},
        {{102, 150}, -9, {2, 150}, {30000, 20000}, {0, 10000}},
        {{102, 102}, -8, {52, 52}, {30000, 20000}, {5000, 5000}},
        {{200, 102}, -7, {200, 2}, {30000, 20000}, {10000, 0}},
        {{298, 102}, -6, {398, 52}, {40000, 20000}, {10000, 5000}},
        {{298, 150}, -9, {348, 150}, {35000, 20000}, {10000, 10000}},
    };
    const QPoint c1 = rect->Corner1;
    const QPoint c2 = rect->Corner2;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        rect->Corner1 = c1;
        rect->Corner2 = c2;
        EXPECT_EQ(rect->GetPointPos(i), handles[i].pos);
        EXPECT_EQ(rect->GetPointCursor(i), handles[i].cursor);
        int changes = 0;
        rect->OnChanged = [&changes](siteplan::TVyrMapCom*) { ++changes; };
        rect->MovePoint(i, handles[i].dropAt);
        EXPECT_EQ(rect->Corner1, handles[i].corner1);
        EXPECT_EQ(rect->Corner2, handles[i].corner2);
        EXPECT_EQ(changes, 1);
    }
}

TEST_F(Rectangle, HandleDragThroughThePlanAndOnATurnedBox)
{
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    map.Modified = false;
    const QPoint handle4 = rect->GetPointPos(4);
    ASSERT_NE(map.HandleAt(handle4), nullptr);
    Drag(handle4, handle4 + QPoint(50, 30));
    EXPECT_EQ(rect->Corner2, QPoint(35000, 23000));
    EXPECT_TRUE(map.Modified);
    EXPECT_EQ(rect->GrabHandles()->Handle(4 + 2).GetAnchor(), rect->GetPointPos(4));

    // A turned box shows its handles turned and takes a drop back through
    // the turn: the handle lands under the mouse.
    rect->RotateAngle = 900;
    const QPoint turned = rect->GetPointPos(3);
    EXPECT_EQ(turned, rect->WorldToScreen(QPoint(rect->Corner2.x(), 16500), true) + QPoint(1, 0));
    // Turned clockwise by a quarter, the right side faces down: a drop
    // 20 pixels lower widens the box by 20 pixels.
    rect->MovePoint(3, turned + QPoint(0, 20));
    EXPECT_EQ(rect->Corner2, QPoint(37000, 23000));
    EXPECT_EQ(rect->Corner1, QPoint(10000, 10000));
}

TEST_F(Rectangle, MovedBySnappedWorldDistances)
{
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    rect->MoveBy({0, 0}, {20, -10});
    EXPECT_EQ(rect->Corner1, QPoint(12000, 9000));
    EXPECT_EQ(rect->Corner2, QPoint(32000, 19000));
    // Corners from a file at the end of the range stop there.
    constexpr int Max = std::numeric_limits<int>::max();
    rect->Corner1 = QPoint(Max - 50, std::numeric_limits<int>::min() + 50);
    rect->MoveWorld({100, -100});
    EXPECT_EQ(rect->Corner1, QPoint(Max, std::numeric_limits<int>::min()));
}

TEST(BoxRecords, RectangleRecordByteForByteAndLoadSaveIdentical)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    map.DefaultPen.SetColor(platform::clRed);
    map.DefaultPen.SetWidth(2);
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsCross);
    map.DefaultBrush.SetColor(0x00123456);
    TVYRRectangle rect(&map, {});
    rect.BasePoint = QPoint(30000, 20000);
    rect.RotateAngle = 450;
    rect.Corner1 = QPoint(30000, 20000);
    rect.Corner2 = QPoint(10000, -10000);
    const QByteArray record = QByteArray::fromHex(
        "03000000" "c2010000" "0000803f" "0000803f" "30750000" "204e0000" // base
        "ff000000" "00000000" "02000000"                                   // pen
        "06000000" "56341200"                                              // brush
        "30750000" "204e0000" "10270000" "f0d8ffff");                      // corners as drawn
    EXPECT_EQ(boxtest::RecordBytes(rect).toHex(), record.toHex());

    QByteArray plan = boxtest::SavedBytes(map);
    plan.chop(4);
    plan += QByteArray::fromHex("01000000") + record;
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, plan));
    ASSERT_EQ(loaded.MapComCount(), 1);
    const auto* read = dynamic_cast<const TVYRRectangle*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Corner1, QPoint(30000, 20000));
    EXPECT_EQ(read->Corner2, QPoint(10000, -10000));
    EXPECT_EQ(read->OwnBrush.Style(), platform::TBrushStyle::bsCross);
    EXPECT_EQ(read->RotateAngle, 450);
    EXPECT_EQ(boxtest::SavedBytes(loaded), plan);
    boxtest::AddToCorpus(plan, QStringLiteral("rectangle"));

    // A record cut short anywhere refuses the plan.
    for (qsizetype cut = 1; cut < record.size(); cut += 3) {
        siteplan::TPlaneMap refused(services);
        EXPECT_FALSE(boxtest::LoadBytes(refused, plan.chopped(cut))) << cut;
    }
}

TEST_F(Rectangle, HugePenFromAFileIsKeptButDrawnAndFramedAtMost1024Wide)
{
    const struct {
        int width;
        int drawn;
        int margin;
    } cases[] = {
        {25, 25, 13},
        {1024, 1024, 512},
        {1025, 1024, 512},
        {std::numeric_limits<int>::max(), 1024, 512},
        {-3, -3, 0},
        {std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), -512},
    };
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        rect->OwnPen.SetWidth(c.width);
        RecordingCanvas canvas{QSize(400, 300), 254};
        rect->Draw(canvas, siteplan::drawmode::Normal);
        ASSERT_EQ(canvas.Calls().back().Op, CanvasOp::Rectangle);
        EXPECT_EQ(canvas.Calls().back().Pen.Width, c.drawn);
        EXPECT_EQ(rect->GetSelectMargin(), c.margin);
        EXPECT_EQ(rect->OwnPen.Width(), c.width);
        // The handles and the frame stay within reach of the box.
        for (int i = 0; i < 8; ++i)
            EXPECT_LE(std::abs(rect->GetPointPos(i).x() - 200), 100 + 512);
    }
}

TEST_F(Rectangle, CornersAtTheEndsOfTheRangeGiveHandlesAndHitsWithoutOverflow)
{
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    rect->OwnPen.SetWidth(std::numeric_limits<int>::max());
    rect->Corner1 = QPoint(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    rect->Corner2 = QPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    rect->RotateAngle = 450;
    for (int i = 0; i < 8; ++i) {
        const QPoint p = rect->GetPointPos(i);
        EXPECT_LE(std::abs(p.x()), siteplan::ScreenLimit);
        rect->MovePoint(i, p);
    }
    EXPECT_FALSE(rect->HitTest({0, 0}));
    RecordingCanvas canvas{QSize(400, 300), 254};
    rect->Draw(canvas, siteplan::drawmode::SelectedRotating);
}

TEST_F(Rectangle, PropertyDialogMarksThePlanOnOkOnly)
{
    boxtest::FakeEditor editor;
    map.SetPropertyEditor(&editor);
    TVYRRectangle* rect = Draw<TVYRRectangle>(RectKind, {100, 100}, {300, 200});
    ASSERT_NE(rect, nullptr);
    for (const bool ok : {false, true}) {
        editor.answer = ok;
        map.Modified = false;
        rect->EditProperty();
        EXPECT_EQ(editor.caption, QStringLiteral("编辑矩形属性"));
        EXPECT_EQ(map.Modified, ok);
        EXPECT_EQ(rect->OwnPen.Width(), ok ? 7 : 1);
    }
}

} // namespace
