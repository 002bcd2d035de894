// The main window of Sitelay: the one open plan (a plan host widget) with
// its life cycle (new, open, save, save as, close, quit), the menus and
// actions with their enabling rules, the status bar, the paper, scale,
// orientation and zoom controls, the tool pages, the style toolbars, the
// edit-method panel and the two rulers.
//
// Ownership: the window owns the view of the open plan (none while no plan
// is open), which owns the plan and its shapes. The message service and the
// file dialogs and the property dialogs are the Qt ones unless the creator
// passes its own (tests); those are not owned.
#pragma once

#include "apps/sitelay/file_dialogs.h"

#include "siteplan/host/plane_map_view.h"

#include "platform/window_services.h"

#include <QMainWindow>

#include <functional>

#include <memory>
#include <vector>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QSpinBox;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace common {
class TQOpenFilePopupMenu;
}

namespace siteplan {
class TMapBrush;
class TMapPen;
class TQStaffGuage;
class TShapePropertyEditor;
class TTextShowSet;
class TVyrMapCom;
} // namespace siteplan

namespace sitelay {

class TMethodsPanle;

// The application title, also the caption while no plan is open.
QString ApplicationTitle();

struct TForm1Options {
    platform::WindowServices* Messages = nullptr; // null: Qt message boxes
    TFileDialogs* Dialogs = nullptr;              // null: the Qt dialogs
    siteplan::TShapePropertyEditor* PropertyEditor = nullptr; // null: the property dialogs
    // The recent-files list; a relative name lies in the program data folder.
    QString RecentIniFile = QStringLiteral("OpenPlaneMap.Ini");
    // The legend library; a relative name lies in the program data folder.
    QString LegendLibrary = QStringLiteral("Legends.dll");
};

class TForm1 : public QMainWindow {
public:
    explicit TForm1(const TForm1Options& options = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Document ---
    siteplan::TPlaneMap* PlaneMap() const;
    siteplan::TPlaneMapView* PlaneMapView() const { return FView.get(); }
    const QString& FileName() const { return FFileName; }
    const QString& MapName() const { return FMapName; }

    // True when the plan may go: none open, unmodified, saved on Yes, or
    // given up on No.
    bool CanCloseMap();
    void SetFileName(const QString& fileName);
    // Replaces the open plan by a new one (empty name) or the file's; false
    // when the old plan was kept (the prompt cancelled, the file refused).
    bool OpenMap(const QString& fileName);
    void UpdateMapStatus();
    void CenterMap();

    // --- Commands ---
    QAction* act_FileNew;
    QAction* act_FileOpen;
    QAction* act_FileSave;
    QAction* act_FileSaveAs;
    QAction* act_FileClose;
    QAction* act_FileExit;
    QAction* act_FilePreview;
    QAction* act_FilePrintSet;
    QAction* act_FilePrint;
    QAction* act_HelpHelp;
    QAction* act_HelpAbout;
    QAction* act_EditCopy;
    QAction* act_EditCut;
    QAction* act_EditPase;
    QAction* act_EditDelete;
    QAction* act_EditDeleteAll;
    QAction* act_EditSelectAll;
    QAction* act_EditNotSelect;
    QAction* act_ShowRePain;
    QAction* act_ShowZoomIn;
    QAction* act_ShowZoom;
    QAction* act_ShowZoomOut;
    QAction* act_EditProperty;
    QAction* act_SetSetProperty;
    // The enabling rules of every command.
    void ActionList1Update();

    // Each returns whether the document was written.
    bool act_FileSaveExecute();
    bool act_FileSaveAsExecute();
    void act_FileOpenExecute();
    void act_FileCloseExecute();
    // The map-property dialog; on OK the status and the sheet's place follow.
    void act_SetSetPropertyExecute();
    void qppm_OpenFileClickItem(const QString& fileName);
    // Preview, print (after the print dialog) and printer set-up of the
    // application's printer.
    void act_FilePreviewExecute();
    void act_FilePrintExecute();
    void act_FilePrintSetExecute();

    // --- Paper, scale, orientation, zoom ---
    QComboBox* cmb_PlanmapSize;
    QToolButton* ToolButton31;
    QComboBox* cmb_MapScale;
    QToolBar* tlb_PlaneMap;
    void cmb_PlanmapSizeClick(int index);
    void cmb_MapScaleClick(int index);
    void ToolButton31Click();
    int OrientationImageIndex() const { return FOrientationImage; }

    // --- Status bar ---
    QString StatusPanel(int index) const;
    // Shows the site position of a move on the sheet. Moves over the
    // workspace around it are not the plan's, except while a button is held
    // (the plan keeps the mouse during a drag).
    void PlaneMapMouseMove(siteplan::TShiftState shift, QPoint p);
    void PlaneMapHint(const QString& hint);

    // --- Tool pages ---
    QTabWidget* PageControl1;
    // The tool buttons of a page in order, its select button first.
    std::vector<QToolButton*> PageButtons(int page) const;
    QToolButton* ToolButtonOf(int drawKind) const;
    void spbtn_SelectClick(QToolButton* button);
    void ResetToolToSelect();
    // Reads the legend library and puts one page per library page after
    // the two fixed pages; a library that cannot be read is reported and
    // the pages stay as they were. Runs when the window is first shown.
    void RebuildLegendPages();
    QString LegendLibraryFile() const;
    void PageControl1Resize();

    // --- Style toolbars ---
    QComboBox* cmb_FontName;
    QComboBox* cmb_FontSize;
    QToolButton* tlbtn_FontB;
    QToolButton* tlbtn_FontI;
    QToolButton* tlbtn_FontU;
    QToolButton* tlbtn_FontLeft;
    QToolButton* tlbtn_FontCenter;
    QToolButton* tlbtn_FontRight;
    QToolButton* tlbtn_FontTop;
    QToolButton* tlbtn_FontVCenter;
    QToolButton* tlbtn_FontBottom;
    QToolButton* tlbtn_FontColor;
    QComboBox* cmb_BrushStyle;
    QToolButton* tlbtn_BrushColor;
    QComboBox* cmb_PenStyle;
    QSpinBox* ud_PenWidth;
    QToolButton* tbn_PenColor;
    void ShowPen(const siteplan::TMapPen& pen);
    void ShowBrush(const siteplan::TMapBrush& brush);
    void ShowTextShow(const siteplan::TTextShowSet& textShow);
    void cmb_PenStyleClick(int index);
    // False (and nothing changes) outside 1 to 25.
    bool ud_PenWidthChangingEx(int newPosition);
    void tbn_PenColorClick();
    void cmb_BrushStyleClick(int index);
    void tlbtn_BrushColorClick();
    void cmb_FontNameClick(int index);
    void cmb_FontSizeClick(int index);
    void tlbtn_FontBClick();
    void tlbtn_FontIClick();
    void tlbtn_FontUClick();
    void tlbtn_FontLeftClick(QToolButton* button);
    void tlbtn_FontTopClick(QToolButton* button);
    void tlbtn_FontColorClick();

    // --- Edit-method panel and rulers ---
    TMethodsPanle* MethodsPanel() const { return FMethodsPanel; }
    siteplan::TQStaffGuage* QStaffGuage1;
    siteplan::TQStaffGuage* QStaffGuage2;
    common::TQOpenFilePopupMenu* qppm_OpenFile;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TLegendPageControl;

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateToolPages();
    void CreateLegendPages();
    void CreateStyleBars();
    void CreateWorkspace();
    void CreateStatusBar();
    QToolButton* AddToolButton(QWidget* page, QButtonGroup* group, int drawKind, const QString& hint);
    void BindPlaneMap(siteplan::TPlaneMap& map);
    void InstallView(std::unique_ptr<siteplan::TPlaneMapView> view);
    void FreeMap();
    void ShowZoom(int zoom);
    void PlaneMapSelectChanged();
    void PaintHorizontalRuler(platform::Canvas& canvas);
    void PaintVerticalRuler(platform::Canvas& canvas);
    // The position of the sheet's top-left pixel in the widget's coordinates.
    QPoint SheetPosIn(const QWidget* widget) const;
    // Runs a command: errors are shown, never passed to Qt; the enabling
    // rules are evaluated afterwards.
    void Run(const std::function<void()>& command);

    std::unique_ptr<platform::WindowServices> FOwnMessages;
    std::unique_ptr<TFileDialogs> FOwnDialogs;
    platform::WindowServices* FMessages;
    TFileDialogs* FDialogs;
    std::unique_ptr<siteplan::TShapePropertyEditor> FOwnPropertyEditor;
    siteplan::TShapePropertyEditor* FPropertyEditor;

    std::unique_ptr<siteplan::TPlaneMapView> FView;
    QString FFileName;
    QString FMapName;
    TMethodsPanle* FMethodsPanel = nullptr;
    QWidget* FWorkspace = nullptr;
    std::vector<QLabel*> FPanels;
    std::vector<std::vector<QToolButton*>> FPageButtons;
    int FOrientationImage = 12;
    int FPage = 0; // the tool page shown
    QString FLegendLibrary;
    bool FLegendPagesBuilt = false;
    bool FRebuildingPages = false;
    bool FUpdatingBars = false;
};

} // namespace sitelay
