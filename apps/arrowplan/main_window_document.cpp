// The document life cycle of the main window: the save prompt, new, open,
// save, save as and the recent-files menu.
//
// A network is replaced only once its successor exists: Open reads the file
// into a fresh view and swaps it in when the read succeeded, so a refused
// file leaves the open network, its name and the recent list as they were.
// Saves write a temporary file and rename it over the old one; Save As
// takes the new name only after the write succeeded, and a Yes on the save
// prompt that ends without a write stops the command that asked.
#include "apps/arrowplan/main_window.h"

#include "apps/arrowplan/hint_window.h"
#include "apps/arrowplan/net_defaults.h"
#include "apps/arrowplan/preview_form.h"

#include "common/open_file_popup_menu.h"
#include "common/save_prompt.h"

#include "network/control/network_file.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>

namespace arrowplan {

network::TVYRNetwork* TFrmMain::Network() const
{
    return FView ? &FView->Network() : nullptr;
}

bool TFrmMain::CanCloseNetwork()
{
    const network::TVYRNetwork* net = Network();
    return common::CanCloseDocument(*FMessages, net && net->Modified(), QStringLiteral("网络图已经改变，要保存吗?"),
                                    [this] { return ActSaveExecute(); });
}

bool TFrmMain::OpenNetwork(const QString& fileName)
{
    if (!CanCloseNetwork())
        return false;
    // The scroll bars of the window scroll the network by days and rows.
    auto view = std::make_unique<network::TNetworkView>();
    view->SetMessageServices(FMessages);
    view->SetPixelScrolling(false);
    if (!fileName.isEmpty())
        view->SetNetwork(network::OpenNetworkFile(fileName, view->Services()));
    network::TVYRNetwork& net = view->Network();
    const bool modified = net.Modified();
    net.CalcEarliestTimes();
    net.CalcLatestTimes();
    net.BuildOffsetColumns();
    net.SetModified(modified);
    InstallView(std::move(view));

    FFileName = fileName;
    QOpenFilePopupMenu1->SetCurFileName(FFileName);
    UpdateScrollBars();
    DrawStateChanged();
    // The previous network's times are not this one's.
    NetMouseMove(QPoint());
    if (N21->isChecked() && FThumbnail) {
        FThumbnail->show();
        RefreshThumbnail();
    }
    UpdateCaption();
    return true;
}

void TFrmMain::InstallView(std::unique_ptr<network::TNetworkView> view)
{
    FreeNetwork();
    FView = std::move(view);
    BindNetwork(FView->Network());
    FView->setParent(FWorkspace);
    static_cast<QGridLayout*>(FWorkspace->layout())->addWidget(FView.get(), 0, 0);
    Panel1->hide();
    FView->show();
}

void TFrmMain::BindNetwork(network::TVYRNetwork& net)
{
    net.SetOnWorkChanged([this](network::TVYRNetwork&, network::TWorkItem*) { UpdateScrollBars(); });
    net.SetOnDrawStateChanged([this](network::TVYRNetwork&) { DrawStateChanged(); });
    net.SetOnNetChanged([this](network::TVYRNetworkAddNodeWork&) { RefreshThumbnail(); });
    BindDialogs(net);
    FView->OnMouseMove = [this](network::TShiftState, QPoint p) { NetMouseMove(p); };
    FView->OnMousePress = [this](QPoint p, QPoint globalPoint) { NetMousePress(p, globalPoint); };
    FView->OnMouseRelease = [this] {
        if (FHint)
            FHint->hide();
        ActionList1Update();
    };
}

void TFrmMain::FreeNetwork()
{
    if (FHint)
        FHint->hide();
    FView.reset();
    if (Panel1)
        Panel1->show();
}

bool TFrmMain::WriteTo(const QString& fileName)
{
    network::TVYRNetwork* net = Network();
    network::SaveNetworkFile(fileName, *net);
    net->SetModified(false);
    return true;
}

bool TFrmMain::ActSaveExecute()
{
    if (!Network())
        return false;
    if (FFileName.isEmpty())
        return ActSaveAsExecute();
    try {
        WriteTo(FFileName);
    } catch (const std::exception& e) {
        FMessages->ShowError(QString::fromUtf8(e.what()));
        return false;
    }
    QOpenFilePopupMenu1->SetCurFileName(FFileName);
    return true;
}

bool TFrmMain::ActSaveAsExecute()
{
    if (!Network())
        return false;
    const QString fileName = FDialogs->SaveNetworkFile(FDataDir);
    if (fileName.isEmpty())
        return false;
    if (QFileInfo::exists(fileName) &&
        FMessages->Confirm(QStringLiteral("文件%1已经存在，要覆盖它吗?").arg(fileName),
                           platform::MessageButton::Yes | platform::MessageButton::No) != platform::MessageButton::Yes)
        return false;
    try {
        WriteTo(fileName);
    } catch (const std::exception& e) {
        FMessages->ShowError(QString::fromUtf8(e.what()));
        return false;
    }
    FFileName = fileName;
    QOpenFilePopupMenu1->SetCurFileName(FFileName);
    UpdateCaption();
    return true;
}

void TFrmMain::ActNewExecute()
{
    if (!OpenNetwork(QString()))
        return;
    LoadNetDefaults(*Network(), FDefaultsIniFile);
    UpdateScrollBars();
    RefreshThumbnail();
    EditNetwork(nullptr, nullptr);
}

void TFrmMain::ActOpenExecute()
{
    const QString fileName = FDialogs->OpenNetworkFile(FDataDir);
    if (!fileName.isEmpty())
        OpenNetwork(fileName);
}

void TFrmMain::QOpenFilePopupMenu1ClickItem(const QString& fileName)
{
    OpenNetwork(fileName);
}

void TFrmMain::UpdateCaption()
{
    QString caption = FAppTitle;
    if (Network())
        caption += QStringLiteral(" ... ") + (FFileName.isEmpty() ? QStringLiteral("未命名网络图") : FFileName);
    setWindowTitle(caption);
}

} // namespace arrowplan
