// The sheet in the workspace: its status panels, paper size, scale,
// orientation and zoom, its position in the view and the two rulers.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/edit_plane_map_property.h"
#include "apps/sitelay/resource_images.h"
#include "apps/sitelay/ruler_marks.h"
#include "apps/sitelay/zoom_steps.h"

#include "siteplan/host/staff_guage.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

namespace sitelay {

namespace {

// Space between the sheet and the edges of the view while it does not fit.
constexpr int kScrollMargin = 20;

int CentredStart(int mapLength, int clientLength)
{
    if (mapLength + 2 * kScrollMargin < clientLength)
        return (clientLength - mapLength) / 2;
    return kScrollMargin;
}

} // namespace

void TForm1::UpdateMapStatus()
{
    const siteplan::TPlaneMap* map = PlaneMap();
    if (!map) {
        cmb_PlanmapSize->setCurrentIndex(-1);
        cmb_MapScale->setCurrentIndex(-1);
        FPanels[0]->setText(QStringLiteral("平面图尺寸："));
        FPanels[1]->setText(QStringLiteral("比例尺："));
        return;
    }
    cmb_PlanmapSize->setCurrentIndex(PaperSizeItem(map->PlanmapSize()));
    FOrientationImage = static_cast<int>(map->Orientation()) + 11;
    ToolButton31->setIcon(CommandIcon(FOrientationImage == 11 ? CommandGlyph::Portrait : CommandGlyph::Landscape));
    FPanels[0]->setText(QStringLiteral("平面图尺寸：%1 * %2mm").arg(map->MapHeight()).arg(map->MapWidth()));
    FPanels[1]->setText(QStringLiteral("比例尺：1 : %1").arg(map->MapScale()));
    const int scaleItem = cmb_MapScale->findText(QString::number(map->MapScale()), Qt::MatchExactly);
    cmb_MapScale->setCurrentIndex(scaleItem >= 0 ? scaleItem : cmb_MapScale->count() - 1);
    FPanels[2]->setText(QStringLiteral("显示比例：%1%").arg(map->Zoom()));
}

void TForm1::CenterMap()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    const QSize client = FView->viewport()->size();
    FView->SetMapOrigin({CentredStart(map->Width(), client.width()), CentredStart(map->Height(), client.height())});
    FView->horizontalScrollBar()->setValue(0);
    FView->verticalScrollBar()->setValue(0);
    map->UpdateGridUnit();
    QStaffGuage1->update();
    QStaffGuage2->update();
}

void TForm1::ShowZoom(int zoom)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    map->SetZoom(zoom);
    FPanels[2]->setText(QStringLiteral("显示比例：%1%").arg(map->Zoom()));
    CenterMap();
}

void TForm1::cmb_PlanmapSizeClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    map->SetPlanmapSize(index);
    if (index == kCustomPaperItem)
        ExecutePlaneMapProperty(*map, *FMessages, this);
    UpdateMapStatus();
    CenterMap();
}

void TForm1::act_SetSetPropertyExecute()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map || !ExecutePlaneMapProperty(*map, *FMessages, this))
        return;
    UpdateMapStatus();
    CenterMap();
}

void TForm1::cmb_MapScaleClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    if (index >= 0 && index < cmb_MapScale->count() - 1)
        map->SetMapScale(cmb_MapScale->itemText(index).toInt());
    UpdateMapStatus();
    CenterMap();
}

void TForm1::ToolButton31Click()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    FOrientationImage = FOrientationImage == 11 ? 12 : 11;
    ToolButton31->setIcon(CommandIcon(FOrientationImage == 11 ? CommandGlyph::Portrait : CommandGlyph::Landscape));
    map->SetOrientation(static_cast<siteplan::TPrinterOrientation>(FOrientationImage - 11));
    CenterMap();
}

void TForm1::PlaneMapMouseMove(siteplan::TShiftState shift, QPoint p)
{
    const siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    const bool dragging = (shift & (siteplan::ssLeft | siteplan::ssRight | siteplan::ssMiddle)) != 0;
    const bool onSheet = p.x() >= 0 && p.y() >= 0 && p.x() < map->Width() && p.y() < map->Height();
    if (onSheet || dragging)
        FPanels[3]->setText(MousePositionText(map->ScreenToWorld(p)));
}

void TForm1::PlaneMapHint(const QString& hint)
{
    FPanels[4]->setText(hint);
}

QPoint TForm1::SheetPosIn(const QWidget* widget) const
{
    const QPoint inViewport = -FView->ToMap(QPoint(0, 0));
    return widget->mapFrom(this, FView->viewport()->mapTo(this, inViewport));
}

void TForm1::PaintHorizontalRuler(platform::Canvas& canvas)
{
    const siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    canvas.Font = platform::TFont{};
    sitelay::PaintHorizontalRuler(canvas, {SheetPosIn(QStaffGuage1).x(), map->Width(), QStaffGuage1->height(),
                                           map->UnitPixel(), map->UnitValue(), map->ShowUnit()});
}

void TForm1::PaintVerticalRuler(platform::Canvas& canvas)
{
    const siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    canvas.Font = platform::TFont{};
    sitelay::PaintVerticalRuler(canvas, {SheetPosIn(QStaffGuage2).y(), map->Height(), QStaffGuage2->width(),
                                         map->UnitPixel(), map->UnitValue(), map->ShowUnit()});
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmb_FontSize->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    if (FView && watched == FView->viewport() && event->type() == QEvent::Resize)
        Run([&] { CenterMap(); });
    return QMainWindow::eventFilter(watched, event);
}

} // namespace sitelay
