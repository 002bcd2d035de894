#include "apps/arrowplan/network_preview.h"

#include "apps/arrowplan/new_edit_network.h"

#include "network/control/network_exports.h"
#include "network/control/vyr_network.h"

#include "platform/guarded_run.h"
#include "platform/program_folders.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QToolBar>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace arrowplan {

namespace {

constexpr int kLineSpaceFloor = 15;
constexpr int kSmallWidthFloor = 10;

} // namespace

common::TMapPreviewLayout ArrowplanPreviewLayout()
{
    return {QSize(640, 480), QSize(640, 480), QStringLiteral("退出"), QStringLiteral("返回")};
}

int ScalePercent(float scale)
{
    const double percent = std::trunc(static_cast<double>(scale) * 100.0);
    if (!(percent > INT_MIN))
        return INT_MIN;
    if (!(percent < INT_MAX))
        return INT_MAX;
    return static_cast<int>(percent);
}

TNetworkPreview::TNetworkPreview(network::TVYRNetwork& network, common::TPrintServices& printing,
                                 platform::WindowServices& messages, QWidget* parent)
    : Tfrm_MapPreview(printing, ArrowplanPreviewLayout(), &messages, parent), FNetwork(network), FMessages(messages)
{
    ToolBar2 = new QToolBar(this);
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (auto* column = qobject_cast<QVBoxLayout*>(layout()))
        column->insertWidget(1, ToolBar2);
    CreateNetworkActions();
    EditSettings = [this](network::TVYRNetwork& net) {
        return ShowNetworkDialog(net, nullptr, nullptr, FMessages, this) == QDialog::Accepted;
    };
    SaveBitmapDialog = [this](const QString& folder) {
        QString name = QFileDialog::getSaveFileName(this, QStringLiteral("保存网络图"),
                                                    QDir(folder).filePath(QStringLiteral("*.bmp")),
                                                    QStringLiteral("位图文件(*.bmp)"), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".bmp");
        return name;
    };
}

void TNetworkPreview::CreateNetworkActions()
{
    const auto make = [this](const QString& caption, const QString& hint, std::function<void()> effect) {
        auto* action = new QAction(caption, this);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        addAction(action);
        ToolBar2->addAction(action);
        connect(action, &QAction::triggered, this, [this, effect] { Run(effect); });
        return action;
    };
    tbtnEdit = make(QStringLiteral("设置属性"), QStringLiteral("设置网络图的显示属性"), [this] { tbtnEditClick(); });
    tbtnSave = make(QStringLiteral("保存"), QStringLiteral("保存网络图到位图文件(bmp)"), [this] { tbtnSaveClick(); });
    tbtnCopy = make(QStringLiteral("拷贝"), QStringLiteral("将网络图拷贝到剪切板"), [this] { tbtnCopyClick(); });
    ToolBar2->addSeparator();

    const auto viewMode = [this](int mode) {
        return [this, mode] {
            const int old = FViewMode;
            Change([this, mode] { FViewMode = mode; }, [this, old] { FViewMode = old; });
            ToolButton16->setChecked(FViewMode == 0);
            ToolButton17->setChecked(FViewMode == 1);
        };
    };
    ToolButton16 = make(QStringLiteral("网络图"), QStringLiteral("显示双代号网络图"), viewMode(0));
    ToolButton17 = make(QStringLiteral("横道图"), QStringLiteral("按横道图显示"), viewMode(1));
    auto* modes = new QActionGroup(this);
    for (QAction* mode : {ToolButton16, ToolButton17}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    ToolButton16->setChecked(true);
    ToolBar2->addSeparator();

    network::TVYRNetwork& net = FNetwork;
    const auto lineSpace = [this, &net](int step) {
        return [this, &net, step] {
            const int old = net.SmallLineSpace();
            if ((step < 0 && old <= kLineSpaceFloor) || (step > 0 && old > INT_MAX - step))
                return;
            if (Change([&net, old, step] { net.SetSmallLineSpace(old + step); },
                       [&net, old] { net.SetSmallLineSpace(old); }))
                net.SetModified(true);
        };
    };
    const auto smallWidth = [this, &net](int step) {
        return [this, &net, step] {
            const int old = net.SmallWidth();
            if ((step < 0 && old <= kSmallWidthFloor) || (step > 0 && old > INT_MAX - step))
                return;
            if (Change([&net, old, step] { net.SetSmallWidth(old + step); }, [&net, old] { net.SetSmallWidth(old); }))
                net.SetModified(true);
        };
    };
    ToolButton19 = make(QStringLiteral("线距-"), QStringLiteral("缩小节点间的线距"), lineSpace(-2));
    ToolButton20 = make(QStringLiteral("线距+"), QStringLiteral("增大节点间的线距"), lineSpace(2));
    ToolButton21 = make(QStringLiteral("时距-"), QStringLiteral("缩小时间标尺间距"), smallWidth(-1));
    ToolButton22 = make(QStringLiteral("时距+"), QStringLiteral("增大时间标尺间距"), smallWidth(1));
    ToolBar2->addSeparator();

    const auto scaleTo = [this](const std::function<float(float)>& next) {
        return [this, next] {
            const float old = FScale;
            Change([this, next, old] { FScale = next(old); }, [this, old] { FScale = old; });
        };
    };
    ToolButton24 = make(QStringLiteral("缩小"), QStringLiteral("缩小"), scaleTo([](float s) {
        const float smaller = static_cast<float>(static_cast<double>(s) - 0.1);
        return smaller < 0.2 ? 0.2f : smaller;
    }));
    ToolButton25 = make(QStringLiteral("还原"), QStringLiteral("还原"), scaleTo([](float) { return 1.0f; }));
    ToolButton26 = make(QStringLiteral("放大"), QStringLiteral("放大"),
                        scaleTo([](float s) { return static_cast<float>(static_cast<double>(s) + 0.1); }));
}

void TNetworkPreview::Run(const std::function<void()>& command)
{
    platform::RunGuarded(FMessages, command);
    ActionList1Update();
}

bool TNetworkPreview::RenderNetwork()
{
    const int percent = ScalePercent(FScale);
    if (FViewMode == 0)
        return network::DrawToBitmap(FNetwork, FBitmap, percent);
    return network::DrawBarChartToBitmap(FNetwork, FBitmap, percent);
}

bool TNetworkPreview::Refresh()
{
    if (!RenderNetwork())
        return false;
    Preview().SetPicture(FBitmap);
    return true;
}

bool TNetworkPreview::Change(const std::function<void()>& apply, const std::function<void()>& undo)
{
    apply();
    if (Refresh())
        return true;
    undo();
    return false;
}

void TNetworkPreview::tbtnEditClick()
{
    if (EditSettings(FNetwork))
        Refresh();
}

void TNetworkPreview::tbtnSaveClick()
{
    const QString folder = QDir(platform::ProgramFolder()).filePath(QStringLiteral("Data"));
    const QString name = SaveBitmapDialog(folder);
    if (name.isEmpty())
        return;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || !FBitmap.save(&file, "BMP") || !file.commit())
        FMessages.ShowError(QStringLiteral("无法创建文件“%1”。").arg(QDir::toNativeSeparators(name)));
}

void TNetworkPreview::tbtnCopyClick()
{
    QGuiApplication::clipboard()->setImage(FBitmap);
}

void ShowNetworkPreview(network::TVYRNetwork& network, const QString& caption, common::TPrintServices& printing,
                        platform::WindowServices& messages, QWidget* parent,
                        const std::function<bool(network::TVYRNetwork&)>& editSettings)
{
    TNetworkPreview window(network, printing, messages, parent);
    if (editSettings)
        window.EditSettings = editSettings;
    window.setWindowTitle(caption.isEmpty() ? QStringLiteral("打印预览") : caption);
    window.Refresh();
    window.setWindowState(Qt::WindowMaximized);
    window.exec();
}

} // namespace arrowplan
