#include "tests/siteplan/plan_fixture.h"

#include "siteplan/grab_handles.h"

using siteplan::TGrabHandle;
using siteplan::TGrabHandles;
using testshapes::TTestBox;
using testshapes::TTestPath;
namespace handleindex = siteplan::handleindex;
namespace mousestate = siteplan::mousestate;

namespace {

struct GrabHandles : PlanFixture {
    // Position of the handle with this index in its set (move, rotate, points).
    static const TGrabHandle& HandleOf(const siteplan::TVyrMapCom& shape, int index)
    {
        return shape.GrabHandles()->Handle(index + 2);
    }
    static QPoint Centre(const TGrabHandle& handle) { return handle.Bounds().ToQRect().center(); }
};

TEST_F(GrabHandles, OneSetPerSelectedShapeWithMoveRotateAndPoints)
{
    siteplan::TVyrMapCom plain(&map, {});
    TGrabHandles handles(map, plain);
    EXPECT_EQ(handles.Count(), 2);
    EXPECT_EQ(handles.Handle(0).HandleIndex(), handleindex::Move);
    EXPECT_EQ(handles.Handle(1).HandleIndex(), handleindex::Rotate);
    EXPECT_EQ(handles.Handle(0).Cursor(), platform::cursor::kSizeAll);
    EXPECT_EQ(handles.Handle(1).Cursor(), platform::cursor::kRevolver);
    EXPECT_FALSE(handles.Visible());

    TTestBox* box = AddBox({100, 100}, {300, 300});
    ASSERT_NE(box->GrabHandles(), nullptr);
    EXPECT_EQ(box->GrabHandles()->Count(), 4);
    EXPECT_TRUE(box->GrabHandles()->Visible());
    // 254 pixels per inch: squares of 2 x 7 pixels.
    const TGrabHandle& corner = HandleOf(*box, 1);
    EXPECT_EQ(corner.Bounds(), (siteplan::TRect{293, 293, 307, 307}));
    EXPECT_EQ(HandleOf(*box, handleindex::Move).GetAnchor(), QPoint(200, 200));
    EXPECT_EQ(HandleOf(*box, handleindex::Rotate).GetAnchor(), QPoint(300 + 7 + 25, 200));

    TTestPath* path = AddPath({{1000, 1000}, {1200, 1000}, {1400, 1200}});
    EXPECT_EQ(path->GrabHandles()->Count(), 5);
    EXPECT_FALSE(box->GrabHandles()->Visible());
}

TEST_F(GrabHandles, SeveralSelectedShapesShowDisabledHandles)
{
    TTestBox* a = AddBox({100, 100}, {300, 300});
    TTestBox* b = AddBox({700, 100}, {900, 300});
    map.SelectMapCom(a, true);
    map.SelectMapCom(b, false);
    for (const TTestBox* box : {a, b})
        for (int i = 0; i < box->GrabHandles()->Count(); ++i)
            EXPECT_FALSE(box->GrabHandles()->Handle(i).Enabled());
    // A press over a disabled handle reaches the plan: a drag of the shapes.
    const QPoint corner = Centre(HandleOf(*b, 1));
    EXPECT_EQ(map.HandleAt(corner), nullptr);
    Drag(corner, corner + QPoint(100, 0));
    EXPECT_EQ(b->Corner2, QPoint(1000, 300));
    EXPECT_EQ(a->Corner2, QPoint(400, 300));
}

TEST_F(GrabHandles, RotationHandleBelowTheCentreTurnsTo900)
{
    TTestBox* box = AddBox({100, 100}, {300, 300});
    map.Modified = false;
    const TGrabHandle& rotate = HandleOf(*box, handleindex::Rotate);
    EXPECT_TRUE(rotate.Enabled());
    EXPECT_EQ(map.CursorAt(Centre(rotate)), platform::cursor::kRevolver);
    Press(Centre(rotate));
    EXPECT_EQ(map.MouseState(), mousestate::Moving);
    EXPECT_FALSE(box->GrabHandles()->Visible());
    // The drag runs from the anchor: the press was at the handle's centre.
    const QPoint offset = rotate.GetAnchor() - Centre(rotate);
    Move(QPoint(200, 400) - offset);
    EXPECT_EQ(box->RotateAngle, 900);
    EXPECT_FALSE(map.Modified);
    Release(QPoint(200, 400) - offset);
    EXPECT_TRUE(map.Modified);
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    EXPECT_TRUE(box->GrabHandles()->Visible());
    // The handle now sits below the shape.
    EXPECT_EQ(HandleOf(*box, handleindex::Rotate).GetAnchor(), QPoint(200, 200 + 100 + 7 + 25));
}

TEST_F(GrabHandles, MoveHandleMovesTheSelectionInWholeSteps)
{
    TTestBox* box = AddBox({100, 100}, {300, 300});
    const QPoint press = Centre(HandleOf(*box, handleindex::Move)) + QPoint(2, -3);
    Press(press);
    services.invalidatedRects.clear();
    Move(press + QPoint(40, 0)); // under half a step: the shape stays
    EXPECT_EQ(box->Corner1, QPoint(100, 100));
    Move(press + QPoint(60, 0));
    EXPECT_EQ(box->Corner1, QPoint(200, 100));
    Move(press + QPoint(130, 0)); // measured from the moved anchor: 30 px, no step
    EXPECT_EQ(box->Corner1, QPoint(200, 100));
    Move(press + QPoint(160, 260));
    Release(press + QPoint(160, 260));
    EXPECT_EQ(box->Corner1, QPoint(300, 400));
    // Every step repainted where the shape was and where it went.
    const QRegion painted = [&] {
        QRegion r;
        for (const QRect& rect : services.invalidatedRects)
            r += rect;
        return r;
    }();
    EXPECT_TRUE(painted.contains(QPoint(150, 150)));
    EXPECT_TRUE(painted.contains(QPoint(450, 550)));
}

TEST_F(GrabHandles, PointHandleReshapes)
{
    TTestBox* box = AddBox({100, 100}, {300, 300});
    const QPoint press = Centre(HandleOf(*box, 1));
    Press(press);
    Move(press + QPoint(190, 110));
    Release(press + QPoint(190, 110));
    EXPECT_EQ(box->Corner2, QPoint(500, 400));
    EXPECT_EQ(box->Corner1, QPoint(100, 100));
    EXPECT_TRUE(map.Modified);
    EXPECT_EQ(HandleOf(*box, 1).GetAnchor(), QPoint(500, 400));
}

TEST_F(GrabHandles, DeletingThePointOfTheClickedHandle)
{
    TTestPath* path = AddPath({{1000, 1000}, {1200, 1000}, {1400, 1200}});
    map.SetEditMethod(testshapes::PathDeleteMethod);
    ASSERT_EQ(map.EditMethod(), testshapes::PathDeleteMethod);
    // The last handle: the method frees it while its own click is handled.
    const QPoint last = Centre(HandleOf(*path, 2));
    Press(last);
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    Release(last);
    EXPECT_EQ(path->Points, (std::vector<QPoint>{{1000, 1000}, {1200, 1000}}));
    EXPECT_EQ(path->GrabHandles()->Count(), 4);
    EXPECT_EQ(map.HandleAt(last), nullptr);
    const QPoint first = Centre(HandleOf(*path, 0));
    Click(first);
    EXPECT_EQ(path->Points, (std::vector<QPoint>{{1200, 1000}}));
    EXPECT_EQ(path->GrabHandles()->Count(), 3);
}

TEST_F(GrabHandles, ZoomRepositionsVisibleHandles)
{
    TTestBox* box = AddBox({100, 100}, {300, 300});
    map.SetZoom(200);
    EXPECT_EQ(HandleOf(*box, 1).GetAnchor(), QPoint(600, 600));
    EXPECT_EQ(HandleOf(*box, 1).Bounds().Left, 593);
}

} // namespace
