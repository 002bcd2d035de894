// The network view with real Qt events: mouse sequences per draw state, and
// after every step the viewport shows what a fresh full render shows.
#include "network/host/network_view.h"

#include "network/control/network_file.h"

#include "tests/support/fake_window_services.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

using network::TNetworkView;
using network::TVYRNetwork;

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

struct NetworkViewTest : ::testing::Test {
    TNetworkView view;
    FakeWindowServices messages;
    int step = 0;

    NetworkViewTest()
    {
        view.resize(640, 420);
        view.SetMessageServices(&messages);
        view.show();
        TVYRNetwork& net = view.Network();
        net.SetSmallWidth(40);
        net.SetStartDate(45292.0);
    }
    TVYRNetwork& Net() { return view.Network(); }
    QPoint Scroll() const { return QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()); }
    // Viewport position of the centre of the node with this NewID.
    QPoint NodeAt(int id)
    {
        return Net().GetNodePosition(Net().Nodes().FindByNewID(id)) + Net().GetOrigin() - Scroll();
    }
    void Drag(QPoint from, std::initializer_list<QPoint> moves)
    {
        SendMouse(view.viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        QPoint last = from;
        for (const QPoint m : moves)
            SendMouse(view.viewport(), QEvent::MouseMove, last = m, Qt::NoButton, Qt::LeftButton);
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
    }
    // The view after the step equals a fresh render of the network.
    void ExpectScreenInvariant(const char* what)
    {
        view.grab();
        const QImage fresh = view.FreshRender();
        const QImage& shown = view.Buffer();
        QRect differs;
        if (shown.size() == fresh.size())
            for (int y = 0; y < fresh.height(); ++y)
                for (int x = 0; x < fresh.width(); ++x)
                    if (shown.pixel(x, y) != fresh.pixel(x, y))
                        differs |= QRect(x, y, 1, 1);
        EXPECT_TRUE(shown.size() == fresh.size() && differs.isNull())
            << what << " (step " << ++step << "): differs in " << differs.x() << "," << differs.y() << " "
            << differs.width() << "x" << differs.height();
    }
};

} // namespace

TEST_F(NetworkViewTest, DrawingMovingRetimingSplittingDeletingAndScrollingKeepTheScreenRight)
{
    ExpectScreenInvariant("new network");
    const QPoint start = NodeAt(1);
    Drag(start, {start + QPoint(20, 1), start + QPoint(122, 2)});
    ASSERT_EQ(Net().Works().Count(), 1);
    EXPECT_EQ(Net().Works().Items(0)->ContinueTime(), 6.0f) << "20 pixels a day, half days snapped";
    ExpectScreenInvariant("drawn a work");

    Drag(NodeAt(2), {NodeAt(2) + QPoint(0, 30), NodeAt(2) + QPoint(81, 80)});
    ASSERT_EQ(Net().Works().Count(), 2);
    EXPECT_EQ(Net().Works().Items(1)->ContinueTime(), 4.0f);
    EXPECT_TRUE(Net().Works().Items(1)->HorizontalLine()) << "down first";
    ExpectScreenInvariant("drawn an elbow");

    Drag(NodeAt(3), {NodeAt(3) + QPoint(0, 40), NodeAt(1)});
    EXPECT_EQ(Net().Works().Count(), 2);
    EXPECT_EQ(messages.MessageTexts(), QStringList{QStringLiteral("该工作有逻辑错误，不能增加！")});
    ExpectScreenInvariant("refused a cycle");

    const QPoint mid = (NodeAt(1) + NodeAt(2)) / 2;
    Drag(mid, {mid + QPoint(0, 45)});
    EXPECT_EQ(Net().Nodes().FindByNewID(2)->NodeY(), 102) << "moved a row down with its work";
    ExpectScreenInvariant("moved the selection");

    Net().SetDrawState(6);
    ExpectScreenInvariant("state 6");
    Drag(NodeAt(1) + QPoint(30, 0), {NodeAt(1) + QPoint(50, 0)});
    EXPECT_EQ(Net().Works().Items(0)->ContinueTime(), 7.0f);
    ExpectScreenInvariant("retimed by drag");

    Net().SetDrawState(7);
    const QPoint split = NodeAt(1) + QPoint(40, 0);
    Drag(split, {});
    EXPECT_EQ(Net().Works().Count(), 3);
    ExpectScreenInvariant("split a work");

    Net().SetDrawState(3);
    messages.QueueAnswer(platform::MessageButton::Ok);
    Drag(NodeAt(1) + QPoint(15, 0), {});
    EXPECT_EQ(Net().Works().Count(), 2);
    ExpectScreenInvariant("deleted a work");

    view.horizontalScrollBar()->setValue(30);
    view.verticalScrollBar()->setValue(20);
    ExpectScreenInvariant("scrolled");
}

TEST_F(NetworkViewTest, ADoubleClickNeverStartsADrawingAndHandlesAreGrabbed)
{
    const QPoint start = NodeAt(1);
    Drag(start, {start + QPoint(100, 0)});
    ASSERT_EQ(Net().Works().Count(), 1);
    Net().SetDrawState(6);
    const QPoint mid = (NodeAt(1) + NodeAt(2)) / 2;
    Drag(mid, {});
    ExpectScreenInvariant("selected in state 6");
    ASSERT_TRUE(Net().EndHandle().Visible);

    // Grab the end handle and drop it two rows down on empty space.
    const QPoint handle = QPoint(Net().EndHandle().Left + 4, Net().EndHandle().Top + 4) - Scroll();
    Drag(handle, {handle + QPoint(0, 80)});
    EXPECT_EQ(Net().Nodes().FindByNewID(2)->NodeY(), 103);
    ExpectScreenInvariant("dropped the end handle");

    Net().SetDrawState(0);
    const QPoint p = NodeAt(1);
    SendMouse(view.viewport(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    SendMouse(view.viewport(), QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseMove, p + QPoint(100, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, p + QPoint(100, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Net().Works().Count(), 1);
    ExpectScreenInvariant("after a double click");
}

TEST_F(NetworkViewTest, WithoutPixelScrollingTheNetworkFillsTheViewportAndTheHostHearsTheMouse)
{
    Drag(NodeAt(1), {NodeAt(1) + QPoint(600, 0)});
    ASSERT_EQ(Net().Works().Count(), 1);
    view.grab();
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);

    view.SetPixelScrolling(false);
    view.grab();
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(QSize(Net().Width(), Net().Height()), view.viewport()->size());
    QWheelEvent wheel(QPointF(50, 50), view.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(-240, 0),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_EQ(Scroll(), QPoint(0, 0));

    QStringList heard;
    view.OnMousePress = [&](QPoint p, QPoint global) {
        heard << QStringLiteral("press %1,%2").arg(p.x()).arg(p.y());
        EXPECT_EQ(global, view.viewport()->mapToGlobal(p));
    };
    view.OnMouseMove = [&](network::TShiftState shift, QPoint p) {
        heard << QStringLiteral("move %1,%2 %3").arg(p.x()).arg(p.y()).arg((shift & network::ssLeft) ? "held" : "free");
    };
    view.OnMouseRelease = [&] { heard << QStringLiteral("release"); };
    const QPoint start = NodeAt(1);
    SendMouse(view.viewport(), QEvent::MouseButtonPress, start, Qt::BackButton, Qt::BackButton);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, start, Qt::BackButton, Qt::NoButton);
    EXPECT_TRUE(heard.isEmpty()) << "a button the network does not know is not passed on";
    Drag(start, {start + QPoint(0, 80)});
    EXPECT_EQ(Net().Works().Count(), 2);
    const QString at = QStringLiteral("%1,%2").arg(start.x()).arg(start.y());
    const QString to = QStringLiteral("%1,%2").arg(start.x()).arg(start.y() + 80);
    EXPECT_EQ(heard, QStringList({QStringLiteral("press ") + at, QStringLiteral("move ") + to + QStringLiteral(" held"),
                                  QStringLiteral("release")}));

    view.SetPixelScrolling(true);
    view.grab();
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
}

// A node's interior is filled with the control's colour, the same colour
// the view fills its background with: a new network and one read back
// from its file look alike.
TEST_F(NetworkViewTest, NodeInteriorsShowTheBackgroundOfANewAndOfAReopenedNetwork)
{
    for (const bool reopened : {false, true}) {
        if (reopened)
            view.SetNetwork(network::ReadNetwork(network::WriteNetwork(Net()), view.Services()));
        view.grab();
        const QImage& shown = view.Buffer();
        const QPoint centre = NodeAt(1);
        const int r = Net().Nodes().Radii();
        const QRgb background = shown.pixel(centre + QPoint(3 * r, 3 * r));
        EXPECT_EQ(background, view.FreshRender().pixel(centre + QPoint(3 * r, 3 * r)));
        EXPECT_EQ(shown.pixel(centre + QPoint(-r + 3, 0)), background) << "reopened " << reopened;
        EXPECT_EQ(shown.pixel(centre + QPoint(0, r - 3)), background) << "reopened " << reopened;
        EXPECT_EQ(qRed(background) + qGreen(background) + qBlue(background), 0) << "a new network is black";
    }
}
