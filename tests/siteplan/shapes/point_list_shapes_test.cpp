// The point-list shapes together: each kind through the copy buffer, and
// all of them painted as the plan shows them, saved for a look into
// SHOTS_DIR: a polyline, a Bezier curve, a filled polygon, an enclosure
// wall (selected) and a spline curve, with a second spline being drawn
// over them.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/shapes/vyr_b_splines.h"
#include "siteplan/shapes/vyr_curve.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_muliangle.h"
#include "siteplan/shapes/vyr_wei_qiang.h"

#include "platform/painter_canvas.h"

#include <QDir>
#include <QImage>

namespace {

struct PointListPicture : PlanFixture {
    PointListPicture() : PlanFixture(254, 100) {}

    void Draw(int kind, std::initializer_list<QPoint> points)
    {
        map.ClearSelection();
        map.SetDrawKind(kind);
        const QPoint* p = points.begin();
        Drag(p[0], p[1]);
        for (std::size_t i = 2; i < points.size(); ++i)
            Drag(p[i], p[i]);
        if (map.DrawingMapCom())
            DoubleClick(*(points.end() - 1));
        map.SetDrawKind(0);
    }
};

// Each kind pastes as the same kind with the same points, moved by the
// paste offset of 5 pixels (snapped: 500 world units here).
TEST_F(PointListPicture, EveryKindPastesFromTheCopyBuffer)
{
    const int kinds[] = {siteplan::TVYRLine::Kind, siteplan::TVYRCurve::Kind, siteplan::TVYRMuliangle::Kind,
                         siteplan::TVYRBSplines::Kind, siteplan::TVYRWeiQiang::Kind};
    for (const int kind : kinds) {
        SCOPED_TRACE(kind);
        const int before = map.MapComCount();
        Draw(kind, {{100, 100}, {200, 50}, {300, 150}, {400, 100}});
        ASSERT_EQ(map.MapComCount(), before + 1);
        map.CopySelection();
        map.PasteSelection();
        ASSERT_EQ(map.MapComCount(), before + 2);
        auto* original = dynamic_cast<siteplan::TPointListMapCom*>(map.MapCom(before));
        auto* pasted = dynamic_cast<siteplan::TPointListMapCom*>(map.MapCom(before + 1));
        ASSERT_NE(pasted, nullptr);
        EXPECT_EQ(pasted->MapID, kind);
        ASSERT_EQ(pasted->PointCount(), original->PointCount());
        for (int i = 0; i < original->PointCount(); ++i)
            EXPECT_EQ(pasted->GetPointPos(i), original->GetPointPos(i) + QPoint(5, 5));
        EXPECT_TRUE(map.IsSelected(pasted));
    }
}

TEST_F(PointListPicture, EveryPointListShapeAndASplineBeingDrawn)
{
    map.DefaultPen.SetColor(platform::clNavy);
    map.DefaultPen.SetWidth(2);
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
    map.DefaultBrush.SetColor(platform::clAqua);
    Draw(siteplan::TVYRLine::Kind, {{40, 40}, {200, 40}, {260, 120}});
    // The curve: press at the start, drag to each control point, then the end.
    map.ClearSelection();
    map.SetDrawKind(siteplan::TVYRCurve::Kind);
    Drag({300, 140}, {320, 20});
    Drag({320, 20}, {460, 160});
    Drag({460, 160}, {500, 40});
    map.SetDrawKind(0);
    Draw(siteplan::TVYRMuliangle::Kind, {{40, 200}, {180, 180}, {220, 300}, {90, 330}});
    Draw(siteplan::TVYRBSplines::Kind, {{280, 320}, {340, 220}, {420, 300}, {500, 200}, {560, 260}});
    Draw(siteplan::TVYRWeiQiang::Kind, {{560, 40}, {700, 40}, {700, 180}, {600, 180}});
    ASSERT_EQ(map.MapComCount(), 5);
    // The wall stays selected: red not-XOR with its frame.
    ASSERT_TRUE(map.IsSelected(map.MapCom(4)));
    shapetest::AddToCorpus(shapetest::SavedBytes(map), QStringLiteral("point-list-shapes"));

    QImage image(740, 460, QImage::Format_RGB32);
    image.fill(Qt::white);
    platform::PainterCanvas canvas(image);
    map.Paint(canvas);
    canvas.SetWorldTransform(QTransform());
    // A spline being drawn: its rubber band in red not-XOR on the screen.
    map.SetCanvas(&canvas);
    map.SetDrawKind(siteplan::TVYRBSplines::Kind);
    Press({260, 420});
    Move({400, 350});
    Release({400, 350});
    Press({560, 440});
    Move({700, 370});
    map.SetCanvas(nullptr);
    QDir().mkpath(SHOTS_DIR);
    ASSERT_TRUE(image.save(SHOTS_DIR "/point_list_shapes.png"));

    const QRgb aqua = qRgb(0, 255, 255);
    EXPECT_EQ(image.pixel(130, 260), aqua); // inside the polygon
    // Ticks above the wall's first segment, on its left as drawn.
    int tickPixels = 0;
    for (int x = 570; x < 690; ++x)
        tickPixels += image.pixel(x, 34) != qRgb(255, 255, 255);
    EXPECT_GT(tickPixels, 8);
    // The spline being drawn passes through its clicked points.
    EXPECT_NE(image.pixel(400, 350), qRgb(255, 255, 255));
}

} // namespace
