// The screen invariant of the network view with the shared harness: after
// every step of sequences of drawing, moving, retiming, splitting, deleting
// and scrolling, the viewport shows a fresh full render of the network
// (each step ending with its release).
#include "network/host/network_view.h"

#include "tests/support/fake_window_services.h"
#include "tests/support/screen_invariant.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

using network::TNetworkView;
using network::TVYRNetwork;
using screentest::TSequence;

namespace {

struct NetworkScreen {
    TNetworkView view;
    FakeWindowServices messages;
    std::unique_ptr<screentest::ScreenInvariant> screen;

    NetworkScreen()
    {
        view.resize(700, 460);
        view.SetMessageServices(&messages);
        Net().SetSmallWidth(40);
        Net().SetStartDate(45292.0);
        screen = std::make_unique<screentest::ScreenInvariant>(view, [this] { return Fresh(); });
    }
    TVYRNetwork& Net() const { return view.Network(); }
    QPoint Scroll() const
    {
        return QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    }
    QPoint NodeAt(int id) const
    {
        return Net().GetNodePosition(Net().Nodes().FindByNewID(id)) + Net().GetOrigin() - Scroll();
    }
    // Every check follows a release, so no work is being drawn and the
    // fresh render has no overlay.
    QImage Fresh() { return view.FreshRender(); }
};

} // namespace

TEST(NetworkViewScreen, DrawingMovingRetimingSplittingDeletingAndScrolling)
{
    NetworkScreen s;
    const screentest::ScreenInvariant& screen = *s.screen;
    const TSequence sequence{
        QStringLiteral("editing"),
        {
            {QStringLiteral("a work drawn right"), [&] { screen.Drag(s.NodeAt(1), s.NodeAt(1) + QPoint(121, 1)); }},
            {QStringLiteral("a work drawn down first"),
             [&] {
                 const QPoint p = s.NodeAt(2);
                 screen.Press(p);
                 screen.Move(p + QPoint(0, 30));
                 screen.Move(p + QPoint(81, 80));
                 screen.Release(p + QPoint(81, 80));
             }},
            {QStringLiteral("a refused cycle"), [&] { screen.Drag(s.NodeAt(3), s.NodeAt(1)); }},
            {QStringLiteral("the selection moved a row"),
             [&] {
                 const QPoint mid = (s.NodeAt(1) + s.NodeAt(2)) / 2;
                 screen.Drag(mid, mid + QPoint(0, 45));
             }},
            {QStringLiteral("retime state"), [&] { s.Net().SetDrawState(6); }},
            {QStringLiteral("retimed by drag"),
             [&] { screen.Drag(s.NodeAt(1) + QPoint(30, 0), s.NodeAt(1) + QPoint(70, 0)); }},
            {QStringLiteral("split state"), [&] { s.Net().SetDrawState(7); }},
            {QStringLiteral("split"), [&] { screen.Click(s.NodeAt(1) + QPoint(40, 0)); }},
            {QStringLiteral("delete state"), [&] { s.Net().SetDrawState(3); }},
            {QStringLiteral("deleted"),
             [&] {
                 s.messages.QueueAnswer(platform::MessageButton::Ok);
                 screen.Click(s.NodeAt(1) + QPoint(15, 0));
             }},
            {QStringLiteral("scrolled"),
             [&] {
                 s.view.horizontalScrollBar()->setValue(40);
                 s.view.verticalScrollBar()->setValue(30);
             }},
            {QStringLiteral("covered and uncovered"), [&] { screen.CoverAndUncover(QRect(50, 50, 200, 120)); }},
        }};
    EXPECT_TRUE(screen.Check(QStringLiteral("new network")));
    EXPECT_TRUE(screen.Run(sequence));
    EXPECT_EQ(s.Net().Works().Count(), 2);
}
