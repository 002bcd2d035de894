// The arc: the points of its angles, the part of the ring that hits, the
// angle handles on a plain and a turned arc, angles outside one turn, and
// its record.
#include "box_shape_support.h"

#include "siteplan/shapes/vyr_arc.h"

#include "platform/recording_canvas.h"

using boxtest::BoxPlan;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVyrArc;

namespace {

struct Arc : BoxPlan {
    // Box 400 by 200 pixels: centre (300, 200), semi-axes 200 and 100.
    TVyrArc* AddArc() { return Draw<TVyrArc>(TVyrArc::Kind, {100, 100}, {500, 300}); }
};

TEST_F(Arc, FreshArcRunsFromUpperLeftThroughTheBottomToLowerRight)
{
    TVyrArc* arc = AddArc();
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(hints.back(), "X轴长度：4000mm, Y轴长度：2000 mm");
    EXPECT_EQ(arc->StartAngle, 2250);
    EXPECT_EQ(arc->EndAngle, 450);
    EXPECT_EQ(arc->Attributes(), siteplan::attr::Pen);
    const struct {
        std::int32_t angle;
        QPoint p;
    } points[] = {
        {0, {500, 200}}, {900, {300, 300}}, {1800, {100, 200}}, {2700, {300, 100}},
        {2250, {211, 111}}, {450, {389, 289}}, {450 + 3 * 3600, {389, 289}}, {-3150, {389, 289}},
    };
    for (const auto& c : points)
        EXPECT_EQ(arc->AnglePoint(c.angle), c.p) << c.angle;
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    arc->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Log(CanvasOp::Arc),
              QStringList{"Arc(100,100,500,300,211,111,389,289) pen=000000,solid,1,copy"});
}

TEST_F(Arc, OnlyTheDrawnPartOfTheRingHits)
{
    TVyrArc* arc = AddArc();
    ASSERT_NE(arc, nullptr);
    const QPoint top(300, 100), bottom(300, 300), left(100, 200), right(500, 200);
    const struct {
        std::int32_t start;
        std::int32_t end;
        bool top, bottom, left, right;
    } cases[] = {
        {2250, 450, false, true, true, false},
        {450, 2250, true, false, false, true},   // through 0
        {900, 900, true, true, true, true},      // the whole ellipse
        {2250 + 3600, 450 - 7200, false, true, true, false},
        {-1350, 450, false, true, true, false},  // -135.0 is 225.0
        {3600, 0, true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.end);
        arc->StartAngle = c.start;
        arc->EndAngle = c.end;
        EXPECT_EQ(arc->HitTest(top), c.top);
        EXPECT_EQ(arc->HitTest(bottom), c.bottom);
        EXPECT_EQ(arc->HitTest(left), c.left);
        EXPECT_EQ(arc->HitTest(right), c.right);
        EXPECT_FALSE(arc->HitTest({300, 200}));
    }
}

TEST_F(Arc, AngleHandlesSetTheAnglesAlsoOnATurnedArc)
{
    TVyrArc* arc = AddArc();
    ASSERT_NE(arc, nullptr);
    ASSERT_EQ(arc->GetPointCount(), 10);
    EXPECT_EQ(arc->GetPointPos(TVyrArc::StartHandle), QPoint(211, 111));
    EXPECT_EQ(arc->GetPointPos(TVyrArc::EndHandle), QPoint(389, 289));
    EXPECT_EQ(arc->GetPointCursor(TVyrArc::StartHandle), platform::cursor::kSizeAll);
    EXPECT_EQ(arc->GetPointCursor(0), platform::cursor::kSizeNWSE);
    int changes = 0;
    arc->OnChanged = [&changes](siteplan::TVyrMapCom*) { ++changes; };
    arc->MovePoint(TVyrArc::StartHandle, {20, 200});
    EXPECT_EQ(arc->StartAngle, 1800);
    EXPECT_EQ(arc->GetPointPos(TVyrArc::StartHandle), QPoint(100, 200));
    arc->MovePoint(TVyrArc::EndHandle, {300, 200}); // on the centre: kept
    EXPECT_EQ(arc->EndAngle, 450);
    EXPECT_EQ(changes, 2);

    // Turned, the handle stands turned and a drop on it measures the same
    // angle: it stays under the mouse.
    arc->RotateAngle = 300;
    const QPoint shown = arc->GetPointPos(TVyrArc::EndHandle);
    EXPECT_EQ(shown, arc->RotatePoint(arc->AnglePoint(450), arc->RotateRadians()));
    arc->MovePoint(TVyrArc::EndHandle, shown);
    // Within the pixel rounding of a point 125 pixels out.
    EXPECT_NEAR(arc->EndAngle, 450, 5);
    EXPECT_NEAR(arc->GetPointPos(TVyrArc::EndHandle).x(), shown.x(), 1);
    EXPECT_NEAR(arc->GetPointPos(TVyrArc::EndHandle).y(), shown.y(), 1);
}

TEST_F(Arc, ArcOfNoWidthIsValidWithBothAngleHandlesOnTheCentre)
{
    TVyrArc* arc = Draw<TVyrArc>(TVyrArc::Kind, {100, 100}, {100, 300});
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetPointPos(TVyrArc::StartHandle), QPoint(100, 200));
    EXPECT_EQ(arc->GetPointPos(TVyrArc::EndHandle), QPoint(100, 200));
    EXPECT_FALSE(arc->HitTest({100, 200}));
}

TEST(BoxRecords, ArcRecordKeepsAnglesAsReadAndLoadSaveIdentical)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    TVyrArc arc(&map, {});
    arc.Corner1 = QPoint(500, 600);
    arc.Corner2 = QPoint(-100, 200);
    arc.StartAngle = -5000;
    arc.EndAngle = 9000;
    const QByteArray record = QByteArray::fromHex(
        "09000000" "00000000" "0000803f" "0000803f" "00000000" "00000000" // base
        "000000000000000001000000"                                       // pen
        "f4010000" "58020000" "9cffffff" "c8000000"                      // corners
        "78ecffff" "28230000");                                          // angles
    EXPECT_EQ(boxtest::RecordBytes(arc).toHex(), record.toHex());
    QByteArray plan = boxtest::SavedBytes(map);
    plan.chop(4);
    plan += QByteArray::fromHex("01000000") + record;
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, plan));
    const auto* read = dynamic_cast<const TVyrArc*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->StartAngle, -5000);
    EXPECT_EQ(read->EndAngle, 9000);
    EXPECT_EQ(boxtest::SavedBytes(loaded), plan);
    boxtest::AddToCorpus(plan, QStringLiteral("arc"));
    EXPECT_FALSE(boxtest::LoadBytes(loaded, plan.chopped(4)));
}

} // namespace
