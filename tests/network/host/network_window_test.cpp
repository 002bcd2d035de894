// The network view in a window of its own: a small network with every
// ruler row, resource curves left to the exports, a work being drawn with
// the mouse. The picture is saved to look at. With NETWORK_VIEW_HOLD set to
// a number of seconds the window stays open that long for real input.
#include "network/host/network_view.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BuildSample(network::TVYRNetwork& net)
{
    net.SetStartDate(45292.0);
    net.SetSmallWidth(40);
    net.SetTopStyle(network::TopStyleOf({network::tsSchedule, network::tsMoon, network::tsWeek, network::tsDay}));
    net.SetTopLinePosition(90);
    while (net.Nodes().Count() < 6)
        net.AddNode(101, 0.0f);
    const struct {
        int prior, next;
        float days;
        int row;
    } works[] = {{1, 2, 3, 0}, {2, 3, 4, 0}, {3, 6, 2, 0}, {2, 4, 2, 0}, {4, 5, 3, 0}, {5, 6, 1, 0}};
    net.Nodes().FindByNewID(4)->SetNodeY(103);
    net.Nodes().FindByNewID(5)->SetNodeY(103);
    for (const auto& w : works) {
        net.Works().BeginUpdate();
        network::TWorkItem& work = net.Works().Add();
        work.SetPriorNode(w.prior);
        work.SetNextNode(w.next);
        work.SetContinueTime(w.days);
        work.SetLabor(10.0f);
        net.Works().EndUpdate();
    }
}

} // namespace

TEST(NetworkWindow, ANetworkWithRulersAndAWorkBeingDrawn)
{
    network::TNetworkView view;
    view.setWindowTitle(QStringLiteral("网络图"));
    view.resize(900, 560);
    BuildSample(view.Network());
    view.show();
    QApplication::processEvents();

    // A drawing from the last node, held before the release.
    network::TVYRNetwork& net = view.Network();
    const QPoint from = net.GetNodePosition(net.Nodes().FindByNewID(6)) + net.GetOrigin();
    SendMouse(view.viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseMove, from + QPoint(30, 2), Qt::NoButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseMove, from + QPoint(120, 80), Qt::NoButton, Qt::LeftButton);
    const QImage shot = view.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(net.PendingPoints().size(), 2u);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, from + QPoint(120, 80), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(net.Works().Count(), 7);
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    ASSERT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/network_view_drawing.png")));

    if (const int hold = qEnvironmentVariableIntValue("NETWORK_VIEW_HOLD"); hold > 0) {
        QTimer::singleShot(hold * 1000, qApp, &QApplication::quit);
        QApplication::exec();
    }
}
