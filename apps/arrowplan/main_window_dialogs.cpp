// The main window's dialogs on the open network: the work and network
// dialog (from New, "编辑网络图(&D)...", the preview's settings button and
// a click in the inspecting mode) and the flow-process wizard (a click in
// the flow-process mode).
#include "apps/arrowplan/main_window.h"

#include "apps/arrowplan/glide_wizard.h"
#include "apps/arrowplan/new_edit_network.h"
#include "apps/arrowplan/preview_form.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace arrowplan {

namespace {

// The tool-bar icon of the dialog: a sheet with lines of settings.
QIcon SettingsIcon()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(Qt::darkBlue));
    painter.drawRect(3, 2, 13, 15);
    for (int y = 6; y <= 14; y += 4) {
        painter.drawLine(6, y, 13, y);
        painter.fillRect(6 + (y % 3) * 2, y - 1, 3, 3, QColor(Qt::darkRed));
    }
    return QIcon(pixmap);
}

} // namespace

void TFrmMain::UseDialogOptions(const TFrmMainOptions& options)
{
    FNetworkDialog = options.NetworkDialog;
    if (!FNetworkDialog)
        FNetworkDialog = [this](network::TVYRNetwork& net, network::TWorkItem* work, network::TNodeItem* node) {
            // Over the preview when the preview asks.
            QWidget* modal = QApplication::activeModalWidget();
            return ShowNetworkDialog(net, work, node, *FMessages, modal ? modal : this) == QDialog::Accepted;
        };
    FGlide = options.Glide ? options.Glide : new TFrmGlide(FMessages, this);
}

void TFrmMain::CreateDialogActions()
{
    ActMapEdit = new QAction(QStringLiteral("编辑网络图(&D)..."), this);
    ActMapEdit->setToolTip(QStringLiteral("打开网络图编辑窗口"));
    ActMapEdit->setStatusTip(QStringLiteral("打开网络图编辑窗口"));
    ActMapEdit->setIcon(SettingsIcon());
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
