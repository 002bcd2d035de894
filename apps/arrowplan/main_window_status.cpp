// The status bar, the scroll bars, the spacing actions, the hint beside the
// cursor while a work is drawn and the thumbnail.
#include "apps/arrowplan/main_window.h"

#include "apps/arrowplan/hint_window.h"
#include "apps/arrowplan/network_preview.h"
#include "apps/arrowplan/preview_form.h"

#include "network/control/network_exports.h"

#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>

#include <algorithm>
#include <climits>
#include <cmath>

namespace arrowplan {

namespace {

int ToBarValue(double value)
{
    if (!(value > 0.0))
        return 0;
    return value >= double(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

int ToBarValue(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX));
}

// The date of a schedule time on the network's working-day calendar.
double DateOfTime(const network::TVYRNetwork& net, double t)
{
    const double days = std::floor(t);
    return net.WorkDayToDate(static_cast<std::int64_t>(days), net.StartDate()) + (t - days);
}

} // namespace

void TFrmMain::UpdateScrollBars()
{
    const network::TVYRNetwork* net = Network();
    if (!net)
        return;
    const int smallDate = net->SmallDate();
    ScrollBar1->setRange(0, ToBarValue(std::trunc(double(net->GetTotalTime()) + net->OffsetTotal())));
    ScrollBar1->setSingleStep(ToBarValue(std::int64_t{2} * smallDate));
    ScrollBar1->setPageStep(ToBarValue(std::int64_t{8} * smallDate));
    const int rowMax = ToBarValue(std::int64_t{net->GetMaxRow()} + 5);
    ScrollBar2->setRange(std::min(ToBarValue(std::int64_t{net->GetMinRow()} - 5), rowMax), rowMax);
    ScrollBar2->setSingleStep(2);
    ScrollBar2->setPageStep(8);
    ScrollBar1->show();
    ScrollBar2->show();
}

void TFrmMain::DrawStateChanged()
{
    const network::TVYRNetwork* net = Network();
    if (!net)
        return;
    const std::size_t state = net->DrawState();
    const QString name = state < DrawStateNames.size() ? QString::fromUtf8(DrawStateNames[state]) : QString();
    FPanels[0]->setText(QStringLiteral("当前状态: ") + name);
    ActionList1Update();
}

void TFrmMain::NetMousePress(QPoint p, QPoint globalPoint)
{
    network::TVYRNetwork* net = Network();
    FHintStartNode = 0;
    FHintWork = -1;
    if (!net)
        return;
    network::TNodeItem* start = nullptr;
    if (net->DrawState() <= 1) {
        start = net->NodeAt(p.x(), p.y());
    } else if (net->DrawState() == 6) {
        if (network::TWorkItem* work = net->WorkAt(p.x(), p.y())) {
            start = net->Nodes().FindByNewID(work->PriorNode());
            FHintWork = work->Index();
        }
    }
    if (start) {
        FHintStartNode = start->Index() + 1;
        FHintStartTime = net->GetNodeEarliest(start);
    }
    FHintPoint = globalPoint + QPoint(0, 20);
}

void TFrmMain::NetMouseMove(QPoint)
{
    network::TVYRNetwork* net = Network();
    if (!net)
        return;
    statusBar()->clearMessage();
    if (net->EditEnabled() && net->DrawState() <= 1)
        FPanels[1]->setText(QStringLiteral("工作持续时间: ") + GeneralFloatText(net->DragDuration()));
    else
        FPanels[1]->setText(QStringLiteral("工程结束时间: ") + DateTimeText(net->EndDate()) + QStringLiteral("  总工期: ") +
                            GeneralFloatText(net->GetTotalTime()));

    // The hint follows a work being drawn or retimed.
    if (!FHint || FHintStartNode == 0 || !net->EditEnabled())
        return;
    double duration = 0.0;
    if (net->DrawState() <= 1)
        duration = net->DragDuration();
    else if (net->DrawState() == 6 && FHintWork >= 0 && FHintWork < net->Works().Count())
        duration = net->Works().Items(FHintWork)->ContinueTime();
    else
        return;
    FHint->SetValues(FHintStartNode, duration, DateOfTime(*net, FHintStartTime), DateOfTime(*net, FHintStartTime + duration));
    if (!FHint->isVisible())
        FHint->ShowHintAt(FHintPoint.x(), FHintPoint.y());
}

void TFrmMain::AppHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    statusBar()->showMessage(bar < 0 ? hint : hint.mid(bar + 1));
}

void TFrmMain::RefreshThumbnail()
{
    network::TVYRNetwork* net = Network();
    if (!net || !FThumbnail || !FThumbnail->isVisible())
        return;
    platform::TPicture metafile;
    if (network::DrawToMetafile(*net, metafile, 100))
        FThumbnail->SetPicture(metafile);
    FThumbnail->show();
}

void TFrmMain::N21Click()
{
    if (!FThumbnail)
        return;
    FThumbnail->setVisible(N21->isChecked());
    if (N21->isChecked())
        RefreshThumbnail();
}

// The spacing actions change stored settings: the network counts as
// modified, so closing asks to save them.
void TFrmMain::ActXiaoYExecute()
{
    network::TVYRNetwork* net = Network();
    if (net && net->SmallLineSpace() >= 20) {
        net->SetSmallLineSpace(net->SmallLineSpace() - 5);
        net->SetModified(true);
    }
}

void TFrmMain::ActDaYExecute()
{
    network::TVYRNetwork* net = Network();
    if (net && net->SmallLineSpace() <= INT_MAX - 5) {
        net->SetSmallLineSpace(net->SmallLineSpace() + 5);
        net->SetModified(true);
    }
}

void TFrmMain::ActXiaoXExecute()
{
    network::TVYRNetwork* net = Network();
    if (net && net->SmallWidth() > 2) {
        net->SetSmallWidth(net->SmallWidth() - 2);
        net->SetModified(true);
    }
}

void TFrmMain::ActDaXExecute()
{
    network::TVYRNetwork* net = Network();
    if (net && net->SmallWidth() <= INT_MAX - 2) {
        net->SetSmallWidth(net->SmallWidth() + 2);
        net->SetModified(true);
    }
}

void TFrmMain::ActNetWorkMapExecute()
{
    if (network::TVYRNetwork* net = Network())
        ShowNetworkPreview(*net, QString(), common::ApplicationPrintServices(), *FMessages, this,
                           [this](network::TVYRNetwork&) { return EditNetwork(nullptr, nullptr); });
}

} // namespace arrowplan
