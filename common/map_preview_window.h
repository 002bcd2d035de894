// The print-preview window of both programs: the preview of one picture
// with page navigation, zoom, printer set-up and printing, and a status bar
// of page count, current page and zoom. Each program gives its own layout
// (size, minimum size, close button) and its own entry points, which set
// the caption and the picture and show the window modally.
//
// Ownership: the window owns its preview view; the print services and the
// message service are the caller's and outlive the window.
#pragma once

#include "common/print_preview_view.h"
#include "common/qt_print_services.h"

#include "platform/window_services.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace common {

struct TMapPreviewLayout {
    QSize Size;
    QSize MinimumSize;
    QString CloseCaption;
    QString CloseHint;
};

class Tfrm_MapPreview : public QDialog {
public:
    // messages null: Qt message boxes.
    Tfrm_MapPreview(TPrintServices& printing, const TMapPreviewLayout& layout,
                    platform::WindowServices* messages = nullptr, QWidget* parent = nullptr);
    ~Tfrm_MapPreview() override;

    TVYRPrintPreview& Preview() { return PreviewView->Preview(); }
    TPrintPreviewView* PreviewView;

    QAction* act_FirstPaper;
    QAction* act_PriorPaper;
    QAction* act_NextPaper;
    QAction* act_LastPaper;
    QAction* act_ZoomIN;
    QAction* act_ZoomOut;
    QAction* act_ToWidth;
    QAction* act_ToHeight;
    QAction* act_ToFit;
    QAction* act_PrintSet;
    QAction* act_Print;
    QToolBar* ToolBar1;
    QToolButton* tbtnClose;
    QStatusBar* StatusBar1;

    // The enabling rules of the actions.
    void ActionList1Update();
    void UpdatePageStatus();
    void UpdateCurrentPage();
    void UpdateZoomStatus();
    QString StatusPanel(int index) const;

    // Prints every page; when the printer writes to a file nobody chose, the
    // print dialog asks first (false: cancelled). Failures throw.
    bool act_PrintExecute();
    // The printer set-up dialog; when accepted the page grid follows it.
    void act_PrintSetExecute();

private:
    void CreateActions();
    void Run(const std::function<void()>& command);

    TPrintServices& FPrinting;
    std::unique_ptr<platform::WindowServices> FOwnMessages;
    platform::WindowServices* FMessages;
    std::vector<QLabel*> FPanels;
};

} // namespace common
