// The main window's commands for the work and network dialog: New, the
// menu and tool-bar command "编辑网络图(&D)...", a click in the inspecting
// mode and the preview's settings button.
#include "apps/arrowplan/network_preview.h"

#include "tests/apps/arrowplan/main_window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using MainWindowDialogsTest = MainWindowFixture;

using Call = std::pair<network::TWorkItem*, network::TNodeItem*>;

TEST_F(MainWindowDialogsTest, TheEditCommandStandsInTheMenuAndTheToolBarAndNeedsANetwork)
{
    const QList<QAction*> map = window->menuBar()->actions()[2]->menu()->actions();
    ASSERT_EQ(map.size(), 5);
    EXPECT_EQ(map[0], window->ActNetWorkMap);
    EXPECT_TRUE(map[1]->isSeparator());
    EXPECT_EQ(map[2], window->ActMapEdit);
    EXPECT_TRUE(map[3]->isSeparator());
    EXPECT_EQ(window->ActMapEdit->text(), QStringLiteral("编辑网络图(&D)..."));
    EXPECT_EQ(window->ActMapEdit->statusTip(), QStringLiteral("打开网络图编辑窗口"));
    const QList<QAction*> bar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions();
    const auto preview = bar.indexOf(window->ActNetWorkMap);
    ASSERT_GE(preview, 0);
    EXPECT_EQ(bar.value(preview + 1), window->ActMapEdit);
    EXPECT_FALSE(window->ActMapEdit->isEnabled());

    window->ActNew->trigger();
    EXPECT_TRUE(window->ActMapEdit->isEnabled());
    window->ActMapEdit->trigger();
    EXPECT_EQ(networkDialogs, (std::vector<Call>{{nullptr, nullptr}, {nullptr, nullptr}}));
}

TEST_F(MainWindowDialogsTest, NewOpensTheDialogOnceAfterTheDefaults)
{
    int radiiSeen = 0;
    window.reset();
    CreateWindow();
    window->ActNew->trigger();
    EXPECT_EQ(networkDialogs.size(), 1u);
    radiiSeen = Net().Nodes().Radii();
    EXPECT_GT(radiiSeen, 0);
    EXPECT_TRUE(Net().Modified());
}

TEST_F(MainWindowDialogsTest, AClickInTheInspectingModeOpensTheDialogOnTheClickedNode)
{
    window->ActNew->trigger();
    networkDialogs.clear();
    window->ActSeaech->trigger();
    ASSERT_EQ(Net().DrawState(), 4);
    const QPoint start = NodePoint(1);
    Press(start);
    Release(start);
    ASSERT_EQ(networkDialogs.size(), 1u);
    EXPECT_EQ(networkDialogs[0].first, nullptr);
    EXPECT_EQ(networkDialogs[0].second, Net().Nodes().Items(0));
}

TEST_F(MainWindowDialogsTest, ThePreviewsSettingsButtonOpensTheDialogAndRefreshesOnOk)
{
    window->ActNew->trigger();
    network::TNodeItem& end = Net().AddNode(101, 0.0f);
    Net().Works().BeginUpdate();
    network::TWorkItem& work = Net().Works().Add();
    work.SetPriorNode(Net().Nodes().Items(0)->NewID());
    work.SetNextNode(end.NewID());
    work.SetContinueTime(20.0f);
    Net().Works().EndUpdate();
    networkDialogs.clear();
    networkDialogResult = true;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* preview = dynamic_cast<arrowplan::TNetworkPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        caption = preview->tbtnEdit->text();
        EXPECT_EQ(preview->tbtnEdit->toolTip(), QStringLiteral("设置网络图的显示属性"));
        EXPECT_EQ(preview->ToolBar2->actions().front(), preview->tbtnEdit);
        const QSize before = preview->Bitmap().size();
        Net().SetSmallWidth(Net().SmallWidth() * 3);
        preview->tbtnEdit->trigger();
        EXPECT_GT(preview->Bitmap().width(), before.width());
        preview->close();
    });
    window->ActNetWorkMap->trigger();
    EXPECT_EQ(caption, QStringLiteral("设置属性"));
    EXPECT_EQ(networkDialogs, (std::vector<Call>{{nullptr, nullptr}}));
}

} // namespace
