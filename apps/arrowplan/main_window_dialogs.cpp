// The main window's dialogs on the open network: the work and network
// dialog (from New, "编辑网络图(&D)...", the preview's settings button and
// a click in the inspecting mode) and the flow-process wizard (a click in
// the flow-process mode).
#include "apps/arrowplan/main_window.h"

#include "apps/arrowplan/glide_wizard.h"
#include "apps/arrowplan/new_edit_network.h"
#include "apps/arrowplan/preview_form.h"

#include <QAction>
#include <QStyle>

namespace arrowplan {

void TFrmMain::UseDialogOptions(const TFrmMainOptions& options)
{
    FNetworkDialog = options.NetworkDialog;
    if (!FNetworkDialog)
        FNetworkDialog = [this](network::TVYRNetwork& net, network::TWorkItem* work, network::TNodeItem* node) {
            return ShowNetworkDialog(net, work, node, *FMessages, this) == QDialog::Accepted;
        };
    FGlide = options.Glide ? options.Glide : new TFrmGlide(FMessages, this);
}

void TFrmMain::CreateDialogActions()
{
    ActMapEdit = new QAction(QStringLiteral("编辑网络图(&D)..."), this);
    ActMapEdit->setToolTip(QStringLiteral("打开网络图编辑窗口"));
    ActMapEdit->setStatusTip(QStringLiteral("打开网络图编辑窗口"));
    ActMapEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    addAction(ActMapEdit);
    connect(ActMapEdit, &QAction::triggered, this, [this] { Run([&] { ActMapEditExecute(); }); });
}

bool TFrmMain::EditNetwork(network::TWorkItem* work, network::TNodeItem* node)
{
    network::TVYRNetwork* net = Network();
    return net && FNetworkDialog(*net, work, node);
}

void TFrmMain::ActMapEditExecute()
{
    if (!Network())
        return;
    EditNetwork(nullptr, nullptr);
    if (FThumbnail && FThumbnail->isVisible())
        RefreshThumbnail();
}

void TFrmMain::BindDialogs(network::TVYRNetwork& net)
{
    net.SetOnEditItemProperties([this](network::TVYRNetwork&, network::TWorkItem* work, network::TNodeItem* node) {
        return EditNetwork(work, node);
    });
    net.SetOnRunGlideWizard([this](network::TVYRNetwork&, network::TVYRNetwork::TGlideTable& table, int& layers,
                                   int& lineDistance) {
        if (FGlide->exec() != QDialog::Accepted)
            return false;
        table = FGlide->Table();
        layers = FGlide->Layers();
        lineDistance = FGlide->LineDistance();
        return true;
    });
}

} // namespace arrowplan
