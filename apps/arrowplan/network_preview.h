// The preview window of a network: the shared preview window with a second
// tool bar that renders the network as its time-scaled diagram or as a bar
// chart at an adjustable scale, changes the network's row and time spacing,
// saves the rendered picture as a BMP file and copies it to the clipboard.
//
// Ownership: the network is the open document, not owned; changes made here
// (the spacing) change it. The print services and the message service are
// the caller's and outlive the window.
#pragma once

#include "common/map_preview_window.h"

#include <QImage>

#include <functional>

namespace network {
class TVYRNetwork;
}

namespace arrowplan {

// Arrowplan's layout of the preview window.
common::TMapPreviewLayout ArrowplanPreviewLayout();

// The rendering percent of a scale: Trunc(scale * 100) in double, so that
// the single-precision 0.9 gives 89; kept within the int range.
int ScalePercent(float scale);

class TNetworkPreview : public common::Tfrm_MapPreview {
public:
    TNetworkPreview(network::TVYRNetwork& network, common::TPrintServices& printing,
                    platform::WindowServices& messages, QWidget* parent = nullptr);

    network::TVYRNetwork& Network() { return FNetwork; }
    const QImage& Bitmap() const { return FBitmap; }
    float Scale() const { return FScale; }
    int ViewMode() const { return FViewMode; }

    QToolBar* ToolBar2;
    QAction* tbtnEdit;
    QAction* tbtnSave;
    QAction* tbtnCopy;
    QAction* ToolButton16; // the arrow network
    QAction* ToolButton17; // the bar chart
    QAction* ToolButton19; // row spacing smaller
    QAction* ToolButton20; // row spacing larger
    QAction* ToolButton21; // time spacing smaller
    QAction* ToolButton22; // time spacing larger
    QAction* ToolButton24; // scale smaller
    QAction* ToolButton25; // scale 1
    QAction* ToolButton26; // scale larger

    // Renders the network into the bitmap at the scale's percent; false,
    // after the network's message, when the picture cannot be made (the
    // old bitmap stays).
    bool RenderNetwork();
    // Renders and hands the picture to the preview; false as above.
    bool Refresh();

    // The file chosen to save the bitmap to, starting in folder; empty when
    // cancelled. Replaceable so that tests can answer it.
    std::function<QString(const QString& folder)> SaveBitmapDialog;
    // The work and network dialog on the drawing's settings; true on OK.
    // Replaceable so that tests can answer it.
    std::function<bool(network::TVYRNetwork&)> EditSettings;
    void tbtnEditClick();
    void tbtnSaveClick();
    void tbtnCopyClick();

private:
    void CreateNetworkActions();
    // Applies a change and shows the new picture; when the picture cannot
    // be made the change is undone and the old picture stays. Returns
    // whether the change was kept.
    bool Change(const std::function<void()>& apply, const std::function<void()>& undo);
    void ChangeSpacing(bool rows, int step, int floor);
    void Run(const std::function<void()>& command);

    network::TVYRNetwork& FNetwork;
    platform::WindowServices& FMessages;
    QImage FBitmap;
    float FScale = 1.0f;
    int FViewMode = 0;
};

// Shows the preview of the network maximised and modal, under caption
// ("打印预览" when empty).
// The settings button runs editSettings when given, else the work and
// network dialog.
void ShowNetworkPreview(network::TVYRNetwork& network, const QString& caption, common::TPrintServices& printing,
                        platform::WindowServices& messages, QWidget* parent,
                        const std::function<bool(network::TVYRNetwork&)>& editSettings = {});

} // namespace arrowplan
