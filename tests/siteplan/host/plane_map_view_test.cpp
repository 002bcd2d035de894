#include "siteplan/host/plane_map_view.h"
#include "siteplan/grab_handles.h"

#include "platform/colors.h"

#include "tests/siteplan/test_shapes.h"
#include "tests/support/fake_window_services.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

using siteplan::TPlaneMapView;
using testshapes::TTestBox;

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void DragOn(QWidget* viewport, QPoint from, QPoint to)
{
    SendMouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

struct PlaneMapViewTest : ::testing::Test {
    TPlaneMapView view;
    PlaneMapViewTest()
    {
        testshapes::RegisterTestShapes();
        view.resize(640, 420);
        view.PlaneMap().SetMapScale(10);
    }
    QColor PixelOfMap(const QImage& shot, QPoint mapPoint) const
    {
        return shot.pixelColor(view.viewport()->mapTo(&view, mapPoint - QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value())));
    }
};

TEST_F(PlaneMapViewTest, MouseDrawsInPlanCoordinatesUnderTheScrollOffset)
{
    view.grab();
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(40);
    ASSERT_EQ(view.horizontalScrollBar()->value(), 100);
    siteplan::TPlaneMap& map = view.PlaneMap();
    map.SetDrawKind(testshapes::BoxKind);
    DragOn(view.viewport(), {50, 60}, {250, 160});
    ASSERT_EQ(map.MapComCount(), 1);
    const auto* box = static_cast<const TTestBox*>(map.MapCom(0));
    const siteplan::TRect b = box->GetBounds();
    // Viewport (50, 60) is plan (150, 100), snapped to whole centimetres.
    EXPECT_NEAR(b.Left, 150, 4);
    EXPECT_NEAR(b.Top, 100, 4);
    EXPECT_NEAR(b.Right, 350, 4);
    EXPECT_NEAR(b.Bottom, 200, 4);
    EXPECT_TRUE(map.IsSelected(box));
}

TEST_F(PlaneMapViewTest, TheSheetStandsAtItsOriginWithTheSameMarginAfterIt)
{
    view.grab();
    siteplan::TPlaneMap& map = view.PlaneMap();
    view.SetMapOrigin({20, 30});
    EXPECT_EQ(view.ToMap({20, 30}), QPoint(0, 0));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), std::max(0, map.Width() + 40 - view.viewport()->width()));
    EXPECT_EQ(view.verticalScrollBar()->maximum(), std::max(0, map.Height() + 60 - view.viewport()->height()));
    map.SetDrawKind(testshapes::BoxKind);
    DragOn(view.viewport(), {120, 130}, {320, 230});
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_NEAR(map.MapCom(0)->GetBounds().Left, 100, 4);
    EXPECT_NEAR(map.MapCom(0)->GetBounds().Top, 100, 4);
    // Outside the sheet the workspace colour shows.
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(view.viewport()->mapTo(&view, QPoint(10, 10))),
              platform::ToQColor(platform::clAppWorkSpace));
}

TEST_F(PlaneMapViewTest, MessagesGoToTheServicesTheOwnerNames)
{
    FakeWindowServices messages;
    view.SetMessageServices(&messages);
    view.PlaneMap().Services().ShowMessage(QStringLiteral("线段太多"));
    EXPECT_EQ(messages.MessageTexts(), QStringList{QStringLiteral("线段太多")});
}

TEST_F(PlaneMapViewTest, ScreenshotOfShapesOnTheGridWithOneSelected)
{
    siteplan::TPlaneMap& map = view.PlaneMap();
    map.SetDrawKind(testshapes::BoxKind);
    DragOn(view.viewport(), {60, 60}, {220, 170});
    DragOn(view.viewport(), {300, 100}, {480, 300});
    map.SetDrawKind(testshapes::PathKind);
    for (const QPoint p : {QPoint(80, 250), QPoint(200, 330), QPoint(260, 230)}) {
        SendMouse(view.viewport(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    SendMouse(view.viewport(), QEvent::MouseButtonDblClick, {260, 230}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, {260, 230}, Qt::LeftButton, Qt::NoButton);
    map.SetDrawKind(0);
    ASSERT_EQ(map.MapComCount(), 3);
    auto* second = static_cast<TTestBox*>(map.MapCom(1));
    second->OwnBrush.SetStyle(platform::TBrushStyle::bsSolid);
    second->OwnBrush.SetColor(platform::RGB(255, 230, 160));
    second->OwnPen.SetWidth(2);
    second->RotateAngle = 150;
    map.SelectMapCom(second, true);

    const QImage shot = view.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    shot.save(QDir::current().filePath(QStringLiteral("plane_map_view.png")));

    // A point handle in the highlight colour over the selected shape.
    const siteplan::TGrabHandle& corner = second->GrabHandles()->Handle(2);
    EXPECT_EQ(PixelOfMap(shot, corner.Bounds().ToQRect().center()), platform::ToQColor(platform::clHighlight));
    // The filled box inside, white paper where nothing is drawn.
    EXPECT_EQ(PixelOfMap(shot, second->GetCenter() + QPoint(10, 10)), QColor(255, 230, 160));
    EXPECT_EQ(PixelOfMap(shot, {600, 20}), QColor(Qt::white));
}

} // namespace
