// The ellipse and the rounded rectangle: what they change of the box
// family (primitive, ring hit test, corner rounding and its handle, readout
// words, records).
#include "box_shape_support.h"

#include "siteplan/shapes/vyr_ellipse.h"
#include "siteplan/shapes/vyr_round_rect_range.h"

#include "platform/recording_canvas.h"

using boxtest::BoxPlan;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVyrEllipse;
using siteplan::TVYRRoundRectRangle;

namespace {

struct Ellipse : BoxPlan {};

TEST_F(Ellipse, DrawnWithTheAxisReadoutAndDrawnAsAnEllipse)
{
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    map.SetCanvas(&canvas);
    map.SetDrawKind(TVyrEllipse::Kind);
    Press({100, 100});
    Move({500, 300});
    EXPECT_EQ(hints, QStringList{"X轴长度：4000mm, Y轴长度：2000 mm"});
    QStringList red;
    for (const auto& call : canvas.Calls())
        if (call.Op == CanvasOp::Ellipse)
            red << call.ToString();
    EXPECT_EQ(red, (QStringList{"Ellipse(100,100,100,100) pen=0000FF,solid,1,notxor brush=FFFFFF,clear",
                                "Ellipse(100,100,100,100) pen=0000FF,solid,1,notxor brush=FFFFFF,clear",
                                "Ellipse(100,100,500,300) pen=0000FF,solid,1,notxor brush=FFFFFF,clear"}));
    Release({500, 300});
    ASSERT_EQ(map.MapComCount(), 1);
    auto* ellipse = dynamic_cast<TVyrEllipse*>(map.MapCom(0));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->GetPointCount(), 8);
    EXPECT_EQ(ellipse->Attributes(), siteplan::attr::Pen | siteplan::attr::Brush);
    boxtest::FakeEditor editor;
    map.SetPropertyEditor(&editor);
    ellipse->EditProperty();
    EXPECT_EQ(editor.caption, QStringLiteral("编辑椭圆属性"));
}

TEST_F(Ellipse, OnlyTheRingAroundTheOutlineHits)
{
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
    // Centre (300, 200), semi-axes 200 and 100 pixels, margin 1.
    TVyrEllipse* ellipse = Draw<TVyrEllipse>(TVyrEllipse::Kind, {100, 100}, {500, 300});
    ASSERT_NE(ellipse, nullptr);
    const struct {
        QPoint p;
        bool hit;
    } cases[] = {
        {{500, 200}, true}, {{505, 200}, true},  {{506, 200}, false}, {{494, 200}, true},
        {{493, 200}, false}, {{300, 100}, true}, {{300, 300}, true},  {{100, 200}, true},
        {{300, 200}, false}, // inside the filled ellipse
        {{300, 110}, false}, {{110, 110}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        EXPECT_EQ(ellipse->HitTest(c.p), c.hit);
    }
    // Turned a quarter, the long axis stands upright.
    ellipse->RotateAngle = 900;
    EXPECT_TRUE(ellipse->HitTest({300, 400}));
    EXPECT_FALSE(ellipse->HitTest({500, 200}));
}

TEST_F(Ellipse, RingWithAZeroAxisNeverHits)
{
    // Semi-axes 2 and 100 pixels: a margin of 2 leaves the inner ellipse no
    // width, a margin of -2 (a damaged file's pen of width -4) the outer one.
    TVyrEllipse* ellipse = Draw<TVyrEllipse>(TVyrEllipse::Kind, {100, 100}, {104, 300});
    ASSERT_NE(ellipse, nullptr);
    for (const int width : {3, 4, -4}) {
        SCOPED_TRACE(width);
        ellipse->OwnPen.SetWidth(width);
        for (const QPoint p : {QPoint(102, 100), QPoint(104, 200), QPoint(102, 200), QPoint(100, 200)})
            EXPECT_FALSE(ellipse->HitTest(p)) << p.x() << "," << p.y();
    }
    ellipse->OwnPen.SetWidth(1);
    EXPECT_TRUE(ellipse->HitTest({102, 100}));
}

struct RoundRect : BoxPlan {};

TEST_F(RoundRect, RoundingIsAQuarterOfTheBoxAndItsHandleKeepsItOnTheBox)
{
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    // 1000 by 600 world units.
    TVYRRoundRectRangle* rect = Draw<TVYRRoundRectRangle>(TVYRRoundRectRangle::Kind, {100, 100}, {110, 106});
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(hints.back(), "X边长度：100mm, Y边长度：100 mm");
    EXPECT_EQ(rect->CornerSize, QPoint(250, 150));
    ASSERT_EQ(rect->GetPointCount(), 9);
    EXPECT_EQ(rect->GetPointCursor(8), platform::cursor::kSizeAll);
    // A quarter of the corner size in from the top-left corner.
    EXPECT_EQ(rect->GetPointPos(8), QPoint(101, 100));
    const struct {
        QPoint drop;
        QPoint size;
    } drags[] = {
        {{90, 103}, {0, 600}},     // left of the box: square in X
        {{200, 101}, {1000, 400}}, // past the right side: the full width
        {{101, 99}, {400, 0}},
        {{102, 101}, {800, 400}},
    };
    for (const auto& d : drags) {
        rect->MovePoint(8, d.drop);
        EXPECT_EQ(rect->CornerSize, d.size);
    }
    rect->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Log(CanvasOp::RoundRect),
              QStringList{"RoundRect(100,100,110,106,8,4) pen=000000,solid,1,copy brush=FFFFFF,clear"});
    // The rounding is ignored by the hit test: the square corner hits.
    EXPECT_TRUE(rect->HitTest({100, 100}));
    boxtest::FakeEditor editor;
    map.SetPropertyEditor(&editor);
    rect->EditProperty();
    EXPECT_EQ(editor.caption, QStringLiteral("编辑圆角矩形属性"));
}

TEST(BoxRecords, EllipseAndRoundRectRecordsByteForByteAndLoadSaveIdentical)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    TVyrEllipse ellipse(&map, {});
    ellipse.Corner1 = QPoint(500, 600);
    ellipse.Corner2 = QPoint(-100, 200);
    TVYRRoundRectRangle round(&map, {});
    round.Corner1 = QPoint(100, 200);
    round.Corner2 = QPoint(1100, 800);
    round.CornerSize = QPoint(250, -7);
    const QByteArray style = QByteArray::fromHex("000000000000000001000000" "01000000ffffff00");
    const QByteArray base = QByteArray::fromHex("00000000" "0000803f" "0000803f" "00000000" "00000000");
    const QByteArray ellipseRecord = QByteArray::fromHex("02000000") + base + style
                                     + QByteArray::fromHex("f4010000" "58020000" "9cffffff" "c8000000");
    const QByteArray roundRecord = QByteArray::fromHex("04000000") + base + style
                                   + QByteArray::fromHex("64000000" "c8000000" "4c040000" "20030000")
                                   + QByteArray::fromHex("fa000000" "f9ffffff");
    EXPECT_EQ(boxtest::RecordBytes(ellipse).toHex(), ellipseRecord.toHex());
    EXPECT_EQ(boxtest::RecordBytes(round).toHex(), roundRecord.toHex());

    QByteArray plan = boxtest::SavedBytes(map);
    plan.chop(4);
    plan += QByteArray::fromHex("02000000") + ellipseRecord + roundRecord;
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, plan));
    ASSERT_EQ(loaded.MapComCount(), 2);
    const auto* readRound = dynamic_cast<const TVYRRoundRectRangle*>(loaded.MapCom(1));
    ASSERT_NE(readRound, nullptr);
    EXPECT_EQ(readRound->CornerSize, QPoint(250, -7));
    EXPECT_EQ(dynamic_cast<const TVyrEllipse*>(loaded.MapCom(0))->Corner2, QPoint(-100, 200));
    EXPECT_EQ(boxtest::SavedBytes(loaded), plan);
    boxtest::AddToCorpus(plan, QStringLiteral("ellipse-roundrect"));
    EXPECT_FALSE(boxtest::LoadBytes(loaded, plan.chopped(2)));
}

} // namespace
