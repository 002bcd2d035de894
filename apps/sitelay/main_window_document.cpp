// The document life cycle of the main window: the save prompt, new, open,
// save, save as, close and the recent-files menu.
//
// A plan is replaced only once its successor exists: Open reads the file
// into a fresh view and swaps it in when the read succeeded, so a refused
// file leaves the open plan, its name, the recent list and the method panel
// as they were. Save As takes the new name only after the write succeeded,
// and a Yes on the save prompt that ends without a write stops the command
// that asked.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/legend_pages.h"
#include "apps/sitelay/methods_panel.h"

#include "common/open_file_popup_menu.h"
#include "common/save_prompt.h"

#include "siteplan/host/staff_guage.h"
#include "siteplan/vyr_map_com.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QScrollBar>

namespace sitelay {

siteplan::TPlaneMap* TForm1::PlaneMap() const
{
    return FView ? &FView->PlaneMap() : nullptr;
}

bool TForm1::CanCloseMap()
{
    const siteplan::TPlaneMap* map = PlaneMap();
    return common::CanCloseDocument(*FMessages, map && map->Modified, QStringLiteral("当前平面图已经改变，要保存吗？"),
                                    [this] { return act_FileSaveExecute(); });
}

void TForm1::SetFileName(const QString& fileName)
{
    FFileName = fileName;
    if (FFileName.isEmpty()) {
        FMapName = QStringLiteral("新平面图");
    } else {
        FMapName = QFileInfo(FFileName).fileName();
        FMapName.chop(std::min<qsizetype>(4, FMapName.size()));
    }
    if (siteplan::TPlaneMap* map = PlaneMap())
        map->Modified = false;
    setWindowTitle(ApplicationTitle() + QStringLiteral(" -- ") + FMapName);
}

bool TForm1::OpenMap(const QString& fileName)
{
    if (!CanCloseMap())
        return false;
    auto view = std::make_unique<siteplan::TPlaneMapView>();
    view->SetMessageServices(FMessages);
    if (!fileName.isEmpty() && !view->PlaneMap().LoadFromFile(fileName))
        return false;
    InstallView(std::move(view));
    SetFileName(fileName);
    qppm_OpenFile->SetCurFileName(FFileName);
    UpdateMapStatus();
    CenterMap();
    FMethodsPanel->SetMapCom(nullptr);
    siteplan::TPlaneMap& map = *PlaneMap();
    ShowPen(map.DefaultPen);
    ShowBrush(map.DefaultBrush);
    ShowTextShow(map.DefaultTextShow);
    QStaffGuage1->update();
    return true;
}

void TForm1::InstallView(std::unique_ptr<siteplan::TPlaneMapView> view)
{
    FreeMap();
    FView = std::move(view);
    BindPlaneMap(FView->PlaneMap());
    FView->setParent(FWorkspace);
    static_cast<QGridLayout*>(FWorkspace->layout())->addWidget(FView.get(), 1, 1);
    FView->viewport()->installEventFilter(this);
    const auto repaintRulers = [this] {
        QStaffGuage1->update();
        QStaffGuage2->update();
    };
    connect(FView->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintRulers);
    connect(FView->verticalScrollBar(), &QScrollBar::valueChanged, this, repaintRulers);
    FView->show();
}

void TForm1::FreeMap()
{
    // The panel lets go of its shape before the plan frees it.
    FMethodsPanel->SetMapCom(nullptr);
    FView.reset();
}

void TForm1::BindPlaneMap(siteplan::TPlaneMap& map)
{
    map.SetPropertyEditor(FPropertyEditor);
    map.onMouseMove = [this](siteplan::TPlaneMap*, siteplan::TShiftState shift, QPoint p) {
        PlaneMapMouseMove(shift, p);
    };
    map.onSelectChanged = [this](siteplan::TPlaneMap*, const siteplan::TSelectMapComs&) { PlaneMapSelectChanged(); };
    map.onCurPenChanged = [this](siteplan::TPlaneMap*, siteplan::TMapPen* pen) { ShowPen(*pen); };
    map.onCurBrushChanged = [this](siteplan::TPlaneMap*, siteplan::TMapBrush* brush) { ShowBrush(*brush); };
    map.onCurTextShowChanged = [this](siteplan::TPlaneMap*, siteplan::TTextShowSet* textShow) {
        ShowTextShow(*textShow);
    };
    map.OnAddMapAfter = [this](siteplan::TPlaneMap*) {
        ResetToolToSelect();
        ActionList1Update();
    };
    map.onMapHint = [this](siteplan::TVyrMapCom*, const QString& hint) { PlaneMapHint(hint); };
    map.CreateLegendMapCom = [this](siteplan::TPlaneMap& plan, int index, std::span<const QPoint> points) {
        return CreateLegendPicture(plan, FLegendLibrary, index, points);
    };
}

bool TForm1::act_FileSaveExecute()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return false;
    if (FFileName.isEmpty())
        return act_FileSaveAsExecute();
    return map->SaveToFile(FFileName);
}

bool TForm1::act_FileSaveAsExecute()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return false;
    const QString fileName = FDialogs->SavePlanFile();
    if (fileName.isEmpty() || !map->SaveToFile(fileName))
        return false;
    SetFileName(fileName);
    qppm_OpenFile->SetCurFileName(FFileName);
    return true;
}

void TForm1::act_FileOpenExecute()
{
    const QString fileName = FDialogs->OpenPlanFile();
    if (!fileName.isEmpty())
        OpenMap(fileName);
}

void TForm1::act_FileCloseExecute()
{
    if (!CanCloseMap() || !FView)
        return;
    FreeMap();
    setWindowTitle(ApplicationTitle());
    UpdateMapStatus();
    QStaffGuage1->update();
    QStaffGuage2->update();
}

void TForm1::qppm_OpenFileClickItem(const QString& fileName)
{
    OpenMap(fileName);
}

} // namespace sitelay
