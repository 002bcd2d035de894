// The main window of Arrowplan: the one open network (a network view) with
// its life cycle (new, open, save, save as, close), the menus, the tool bar
// and the actions with their enabling rules, the editing modes, the scroll
// bars of the time axis and the rows, the status bar, and the hint and
// thumbnail windows it drives.
//
// Ownership: the window owns the view of the open network (none while no
// network is open), which owns the network. The message service, the file
// dialogs, the hint window and the thumbnail window are not owned: the
// program creates the two windows before the main window, so that they
// outlive it.
#pragma once

#include "apps/arrowplan/file_dialogs.h"
#include "apps/arrowplan/network_view.h"

#include "platform/window_services.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QScrollBar;

namespace common {
class TQOpenFilePopupMenu;
}

namespace arrowplan {

class TFrmGlide;
class TFrmHint;
class Tfrm_PreviewForm;

// The application title, also the caption while no network is open.
QString ApplicationTitle();

// The names of the editing modes by draw state, shown in the status bar.
extern const std::array<const char*, 12> DrawStateNames;

struct TFrmMainOptions {
    platform::WindowServices* Messages = nullptr; // null: Qt message boxes
    TFileDialogs* Dialogs = nullptr;              // null: the Qt dialogs
    TFrmHint* Hint = nullptr;                     // null: no hint is shown
    Tfrm_PreviewForm* Thumbnail = nullptr;        // null: no thumbnail
    // The recent-files list; a relative name lies in the program data folder.
    QString RecentIniFile = QStringLiteral("NetOpenFile.Ini");
    // The drawing defaults of new networks.
    QString DefaultsIniFile;                      // empty: "NetRunInfo.ini" in the data folder
    // The work and network dialog on a work, a node or neither; true on OK.
    std::function<bool(network::TVYRNetwork&, network::TWorkItem*, network::TNodeItem*)> NetworkDialog; // null: the dialog
    TFrmGlide* Glide = nullptr;                   // null: the window keeps its own wizard
};

class TFrmMain : public QMainWindow {
public:
    explicit TFrmMain(const TFrmMainOptions& options = {}, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // --- Document ---
    network::TVYRNetwork* Network() const;
    TNetworkView* NetworkView() const { return FView.get(); }
    const QString& FileName() const { return FFileName; }
    const QString& DataDir() const { return FDataDir; }

    // True when the network may go: none open, unmodified, saved on Yes, or
    // given up on No.
    bool CanCloseNetwork();
    // Replaces the open network by a new one (empty name) or the file's;
    // false when the old network was kept (the prompt cancelled, the file
    // refused).
    bool OpenNetwork(const QString& fileName);
    void UpdateCaption();
    void UpdateScrollBars();
    void RefreshThumbnail();

    // --- Commands ---
    QAction* ActNew;
    QAction* ActOpen;
    QAction* ActSave;
    QAction* ActSaveAs;
    QAction* ActExit;
    QAction* ActAddSimple;
    QAction* ActSeaech;
    QAction* ActDelete;
    QAction* ActEdit;
    QAction* ActDecompose;
    QAction* ActGlide;
    QAction* ActXiaoY;
    QAction* ActDaY;
    QAction* ActXiaoX;
    QAction* ActDaX;
    QAction* ActNetWorkMap;
    QAction* ActMapEdit;
    QAction* ActHelp;
    QAction* M2;  // "设置缺省图形控制(&M)..."
    QAction* N21; // "显示略图(&S)"
    QAction* N12; // "关于(&T)..."
    void ActionList1Update();

    void ActNewExecute();
    void ActOpenExecute();
    // Each returns whether the network was written.
    bool ActSaveExecute();
    bool ActSaveAsExecute();
    void ActXiaoYExecute();
    void ActDaYExecute();
    void ActXiaoXExecute();
    void ActDaXExecute();
    // The network's preview window, modal.
    void ActNetWorkMapExecute();
    void N21Click();
    // The work and network dialog on the drawing's settings.
    void ActMapEditExecute();
    // The work and network dialog on a work, a node or neither; true on OK.
    bool EditNetwork(network::TWorkItem* work, network::TNodeItem* node);
    TFrmGlide& Glide() const { return *FGlide; }
    void QOpenFilePopupMenu1ClickItem(const QString& fileName);

    // --- Status bar, scroll bars ---
    QString StatusPanel(int index) const;
    // The status bar's simple text, empty while the panels show.
    QString StatusSimpleText() const;
    QScrollBar* ScrollBar1;
    QScrollBar* ScrollBar2;
    QLabel* Panel1;
    common::TQOpenFilePopupMenu* QOpenFilePopupMenu1;

    // Handlers of the network's events, public for the tests.
    void DrawStateChanged();
    void NetMouseMove(QPoint p);
    void NetMousePress(QPoint p, QPoint globalPoint);
    void AppHint(const QString& hint);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void UseDialogOptions(const TFrmMainOptions& options);
    void CreateDialogActions();
    void BindDialogs(network::TVYRNetwork& network);
    void CreateMenus();
    void CreateToolBar();
    void CreateWorkspace();
    void CreateStatusBar();
    void InstallView(std::unique_ptr<TNetworkView> view);
    void BindNetwork(network::TVYRNetwork& network);
    void FreeNetwork();
    bool WriteTo(const QString& fileName);
    // Runs a command: errors are shown, never passed to Qt; the enabling
    // rules are evaluated afterwards.
    void Run(const std::function<void()>& command);

    std::unique_ptr<platform::WindowServices> FOwnMessages;
    std::unique_ptr<TFileDialogs> FOwnDialogs;
    platform::WindowServices* FMessages;
    TFileDialogs* FDialogs;
    TFrmHint* FHint;
    Tfrm_PreviewForm* FThumbnail;
    QString FDefaultsIniFile;
    std::function<bool(network::TVYRNetwork&, network::TWorkItem*, network::TNodeItem*)> FNetworkDialog;
    TFrmGlide* FGlide; // the options' wizard, or the window's own child

    std::unique_ptr<TNetworkView> FView;
    QString FFileName;
    QString FExePath;
    QString FDataDir;
    QString FAppTitle;
    QWidget* FWorkspace = nullptr;
    std::array<QLabel*, 2> FPanels{};
    // The start node of the work being drawn or retimed, by its position
    // + 1, and the index of the work being retimed (-1: none).
    int FHintStartNode = 0;
    int FHintWork = -1;
    double FHintStartTime = 0.0;
    QPoint FHintPoint;
};

} // namespace arrowplan
