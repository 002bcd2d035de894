// The status bar, zoom, paper, scale and orientation controls, the sheet's
// place in the view and the rulers beside it.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "apps/sitelay/zoom_steps.h"

#include "siteplan/host/staff_guage.h"

#include "platform/colors.h"

#include <QAction>
#include <QComboBox>
#include <QScrollBar>

namespace {

using MainWindowTest = MainWindowFixture;

std::vector<int> ZoomWith(sitelay::TForm1& window, QAction* action, int times)
{
    std::vector<int> zooms;
    for (int i = 0; i < times && action->isEnabled(); ++i) {
        action->trigger();
        zooms.push_back(window.PlaneMap()->Zoom());
        EXPECT_EQ(window.StatusPanel(2), QStringLiteral("显示比例：%1%").arg(zooms.back()));
    }
    return zooms;
}

TEST_F(MainWindowTest, ZoomInAndOutFollowTheirSequencesUntilDisabled)
{
    EXPECT_EQ(ZoomWith(*window, window->act_ShowZoomIn, 10), (std::vector<int>{150, 225, 340, 510, 765, 1150}));
    EXPECT_FALSE(window->act_ShowZoomIn->isEnabled());
    EXPECT_TRUE(window->act_ShowZoom->isEnabled());
    window->act_ShowZoom->trigger();
    EXPECT_EQ(Map().Zoom(), 100);
    EXPECT_FALSE(window->act_ShowZoom->isEnabled());
    // Zooming out from 15 % gives 15 % again, so the action stays enabled.
    EXPECT_EQ(ZoomWith(*window, window->act_ShowZoomOut, 9), (std::vector<int>{75, 60, 45, 35, 30, 25, 20, 15, 15}));
    EXPECT_TRUE(window->act_ShowZoomOut->isEnabled());
    Map().SetZoom(10);
    window->ActionList1Update();
    EXPECT_FALSE(window->act_ShowZoomOut->isEnabled());
}

TEST_F(MainWindowTest, PaperScaleAndOrientationControls)
{
    window->cmb_PlanmapSizeClick(3);
    EXPECT_EQ(Map().PlanmapSize(), 3);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("平面图尺寸：%1 * %2mm").arg(Map().MapHeight()).arg(Map().MapWidth()));
    EXPECT_EQ(Map().MapHeight(), 420);

    window->cmb_MapScaleClick(5);
    EXPECT_EQ(Map().MapScale(), 500);
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("比例尺：1 : 500"));
    // A scale that is not in the list shows as "自定义"; choosing that item changes nothing.
    Map().SetMapScale(300);
    window->UpdateMapStatus();
    EXPECT_EQ(window->cmb_MapScale->currentText(), QStringLiteral("自定义"));
    window->cmb_MapScaleClick(window->cmb_MapScale->count() - 1);
    EXPECT_EQ(Map().MapScale(), 300);

    EXPECT_EQ(window->OrientationImageIndex(), 12);
    window->ToolButton31Click();
    EXPECT_EQ(window->OrientationImageIndex(), 11);
    EXPECT_EQ(Map().Orientation(), siteplan::TPrinterOrientation::poPortrait);
    window->ToolButton31Click();
    EXPECT_EQ(Map().Orientation(), siteplan::TPrinterOrientation::poLandscape);
}

TEST_F(MainWindowTest, TheSheetIsCentredWhenItFitsAndKeepsAMarginOtherwise)
{
    const QSize client = window->PlaneMapView()->viewport()->size();
    ASSERT_GT(Map().Width() + 40, client.width());
    EXPECT_EQ(window->PlaneMapView()->MapOrigin().x(), 20);
    window->PlaneMapView()->horizontalScrollBar()->setValue(30);
    Map().SetZoom(15);
    window->CenterMap();
    EXPECT_EQ(window->PlaneMapView()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(window->PlaneMapView()->MapOrigin(),
              QPoint((client.width() - Map().Width()) / 2, (client.height() - Map().Height()) / 2));
}

TEST_F(MainWindowTest, MouseMovesShowTheSitePositionInMillimetres)
{
    const QPoint viewportPos(150, 120);
    SendMouse(Viewport(), QEvent::MouseMove, viewportPos, Qt::NoButton, Qt::NoButton);
    const QPoint mapPos = window->PlaneMapView()->ToMap(viewportPos);
    EXPECT_EQ(window->StatusPanel(3), sitelay::MousePositionText(Map().ScreenToWorld(mapPos)));
    EXPECT_TRUE(window->StatusPanel(3).startsWith(QStringLiteral("X = ")));
}

TEST_F(MainWindowTest, EditCommandsFollowTheSelectionAndTheCopyBuffer)
{
    EXPECT_FALSE(window->act_EditCopy->isEnabled());
    EXPECT_FALSE(window->act_EditPase->isEnabled());
    DrawBox({100, 100}, {300, 200});
    EXPECT_TRUE(window->act_EditCopy->isEnabled());
    EXPECT_TRUE(window->act_EditCut->isEnabled());
    EXPECT_TRUE(window->act_EditNotSelect->isEnabled());
    window->act_EditCopy->trigger();
    EXPECT_TRUE(window->act_EditPase->isEnabled());
    window->act_EditPase->trigger();
    EXPECT_EQ(Map().MapComCount(), 2);
    EXPECT_EQ(Map().SelectedCount(), 1);
    window->act_EditSelectAll->trigger();
    EXPECT_EQ(Map().SelectedCount(), 2);
    window->act_EditCut->trigger();
    EXPECT_EQ(Map().MapComCount(), 0);
    EXPECT_FALSE(window->act_EditDeleteAll->isEnabled());
    EXPECT_FALSE(window->act_EditCopy->isEnabled());
}

TEST_F(MainWindowTest, PropertiesWithNothingSelectedEditTheDrawingDefaults)
{
    window->act_EditProperty->trigger();
    EXPECT_EQ(propertyEditor.planeProperty, 1);
    EXPECT_EQ(Map().DefaultPen.Style(), platform::TPenStyle::psDash);
    EXPECT_TRUE(Map().Modified);
    // Each new plan gets the dialogs too.
    services.QueueAnswer(platform::MessageButton::No);
    window->act_FileNew->trigger();
    window->act_EditProperty->trigger();
    EXPECT_EQ(propertyEditor.planeProperty, 2);
}

TEST_F(MainWindowTest, ControlPIsNotTheRedrawKey)
{
    EXPECT_TRUE(window->act_ShowRePain->shortcut().isEmpty());
    EXPECT_EQ(window->act_FilePrint->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action != window->act_FilePrint) {
            EXPECT_NE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P)) << action->text().toStdString();
        }
    }
}

TEST_F(MainWindowTest, RulersStartAtTheSheetAndStayBlankWithoutAPlan)
{
    const QImage shot = window->grab().toImage();
    const QWidget* viewport = window->PlaneMapView()->viewport();
    const QPoint sheetInViewport = -window->PlaneMapView()->ToMap(QPoint(0, 0));
    const QPoint sheetInRuler(viewport->mapTo(window.get(), sheetInViewport).x(),
                              window->QStaffGuage1->mapTo(window.get(), QPoint(0, 0)).y());
    // White over the sheet, the workspace colour before it.
    const QColor workspace = platform::ToQColor(platform::clAppWorkSpace);
    EXPECT_EQ(shot.pixelColor(sheetInRuler + QPoint(1, 4)), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(sheetInRuler + QPoint(-3, 4)), workspace);

    window->act_FileClose->trigger();
    const QImage closed = window->grab().toImage();
    EXPECT_EQ(closed.pixelColor(sheetInRuler + QPoint(1, 4)), workspace);
}

} // namespace
