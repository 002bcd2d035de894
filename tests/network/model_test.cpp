#include "network_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <limits>

using namespace network;
using namespace network_test;

TEST(NetworkModel, NewNetworkHasOneModifiedStartNode)
{
    RecordingNetwork net;
    ASSERT_EQ(net.Nodes().Count(), 1);
    const TNodeItem& node = *net.Nodes().Items(0);
    EXPECT_EQ(node.NewID(), 1);
    EXPECT_EQ(node.NodeY(), 101);
    EXPECT_EQ(node.Number(), 1);
    EXPECT_TRUE(node.AutoNumber());
    EXPECT_EQ(net.Works().Count(), 0);
    EXPECT_TRUE(net.Modified());
    EXPECT_EQ(net.GetTotalTime(), 0.0f);
    EXPECT_EQ(net.Works().ArrowHeight(), 5);
    EXPECT_EQ(net.Works().LineColor(), platform::clBlue);
    EXPECT_EQ(net.Works().KeyLineColor(), platform::clRed);
    EXPECT_EQ(net.Works().WaveLineColor(), platform::clGreen);
    EXPECT_EQ(net.Works().Font().Color, platform::clGreen);
    EXPECT_EQ(net.Nodes().Radii(), 10);
}

TEST(NetworkModel, DurationsAndOffsetsKeepHalfDays)
{
    struct Case { float in; float stored; };
    const float huge = 1e30f;
    const Case cases[] = {
        {2.3f, 2.5f}, {2.25f, 2.0f}, {2.75f, 3.0f}, {0.25f, 0.0f}, {0.75f, 1.0f},
        {-0.75f, -1.0f}, {-1.25f, -1.0f}, {7.0f, 7.0f}, {5000000.5f, 5000000.5f}, {huge, huge},
    };
    for (const Case& c : cases) {
        RecordingNetwork net;
        AddNodes(net, 2);
        TWorkItem& work = AddWork(net, {1, 2, 1.0f});
        work.SetContinueTime(c.in);
        EXPECT_EQ(work.ContinueTime(), c.stored) << c.in;
        TNodeItem& node = *net.Nodes().Items(1);
        node.SetOffset(c.in);
        EXPECT_EQ(node.Offset(), c.stored) << c.in;
    }

    RecordingNetwork net;
    AddNodes(net, 2);
    TWorkItem& work = AddWork(net, {1, 2, 1.0f});
    work.SetDiapause(2.3f);
    work.SetParallelTime(2.3f);
    EXPECT_EQ(work.Diapause(), 2.3f);
    EXPECT_EQ(work.ParallelTime(), 2.3f);

    // Non-finite values are ignored.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    net.ResetCounts();
    work.SetContinueTime(nan);
    work.SetContinueTime(inf);
    work.SetDiapause(nan);
    work.SetParallelTime(-inf);
    net.Nodes().Items(1)->SetOffset(nan);
    EXPECT_EQ(work.ContinueTime(), 1.0f);
    EXPECT_EQ(work.Diapause(), 2.3f);
    EXPECT_EQ(work.ParallelTime(), 2.3f);
    EXPECT_EQ(net.Nodes().Items(1)->Offset(), 0.0f);
    EXPECT_EQ(net.timesRecalculated, 0);
}

// Each setter's report and what the collection makes of it.
TEST(NetworkModel, ChangeReportsAreDispatchedByKind)
{
    struct Effect {
        int changeKind, times, network, invalidated, netChanged, selections;
        bool modified;
    };
    struct Case {
        const char* name;
        void (*change)(TVYRNetworkAddNodeWork&, TWorkItem&, TNodeItem&);
        Effect effect;
    };
    // changeKind -1: the item's ChangeKind keeps its old value.
    const Case cases[] = {
        {"ContinueTime", [](auto&, TWorkItem& w, auto&) { w.SetContinueTime(4.0f); }, {1, 1, 0, 1, 1, 0, true}},
        {"Diapause", [](auto&, TWorkItem& w, auto&) { w.SetDiapause(1.0f); }, {2, 1, 0, 1, 1, 0, true}},
        {"NextNode", [](auto&, TWorkItem& w, auto&) { w.SetNextNode(3); }, {3, 0, 1, 1, 1, 0, true}},
        {"ParallelTime", [](auto&, TWorkItem& w, auto&) { w.SetParallelTime(1.0f); }, {4, 1, 0, 1, 1, 0, true}},
        {"PriorNode", [](auto&, TWorkItem& w, auto&) { w.SetPriorNode(3); }, {5, 0, 1, 1, 1, 0, true}},
        {"work Selected", [](auto&, TWorkItem& w, auto&) { w.SetSelected(true); }, {6, 0, 0, 0, 0, 1, false}},
        {"Caption", [](auto&, TWorkItem& w, auto&) { w.SetCaption(QStringLiteral("挖土")); }, {-1, 0, 1, 1, 1, 0, true}},
        {"Labor", [](auto&, TWorkItem& w, auto&) { w.SetLabor(12.0f); }, {-1, 0, 1, 1, 1, 0, true}},
        {"Font", [](auto&, TWorkItem& w, auto&) { w.SetFont(platform::TFont{}); }, {-1, 0, 1, 1, 1, 0, true}},
        {"same ContinueTime", [](auto&, TWorkItem& w, auto&) { w.SetContinueTime(2.0f); }, {-1, 0, 0, 0, 0, 0, false}},
        {"own Font", [](auto&, TWorkItem& w, auto&) { w.SetFont(w.Font()); }, {-1, 0, 0, 0, 0, 0, false}},
        {"NodeY", [](auto&, auto&, TNodeItem& n) { n.SetNodeY(7); }, {1, 0, 0, 1, 1, 0, true}},
        {"node Offset", [](auto&, auto&, TNodeItem& n) { n.SetOffset(1.0f); }, {2, 0, 0, 1, 1, 0, true}},
        {"node Selected", [](auto&, auto&, TNodeItem& n) { n.SetSelected(true); }, {3, 0, 0, 0, 0, 1, false}},
        {"Number", [](auto&, auto&, TNodeItem& n) { n.SetNumber(9); }, {-1, 0, 0, 0, 0, 0, true}},
        {"add node", [](TVYRNetworkAddNodeWork& net, auto&, auto&) { net.Nodes().Add(); }, {-1, 0, 0, 0, 0, 0, true}},
        {"delete work", [](TVYRNetworkAddNodeWork& net, auto&, auto&) { net.Works().Delete(0); }, {-1, 0, 1, 1, 1, 0, true}},
        {"works setting", [](TVYRNetworkAddNodeWork& net, auto&, auto&) { net.Works().SetLineWidth(2); }, {-1, 0, 1, 1, 1, 0, true}},
    };
    for (const Case& c : cases) {
        RecordingNetwork net;
        AddNodes(net, 3);
        TWorkItem& work = AddWork(net, {1, 2, 2.0f});
        TNodeItem& node = *net.Nodes().Items(1);
        net.ResetCounts();
        const std::string name = c.name;
        const bool isNodeCase = name.starts_with("Node") || name.starts_with("node") || name == "Number";
        const auto kindNow = [&] { return isNodeCase ? node.ChangeKind() : work.ChangeKind(); };
        const int before = kindNow();
        c.change(net, work, node);
        if (net.Works().Count() == 1) {
            if (c.effect.changeKind >= 0)
                EXPECT_EQ(kindNow(), c.effect.changeKind) << c.name;
            else
                EXPECT_EQ(kindNow(), before) << c.name;
        }
        EXPECT_EQ(net.timesRecalculated, c.effect.times) << c.name;
        EXPECT_EQ(net.networksRecalculated, c.effect.network) << c.name;
        EXPECT_EQ(net.Invalidated(), c.effect.invalidated) << c.name;
        EXPECT_EQ(net.netChanged, c.effect.netChanged) << c.name;
        EXPECT_EQ(net.nodeSelections + net.workSelections, c.effect.selections) << c.name;
        EXPECT_EQ(net.Modified(), c.effect.modified) << c.name;
    }
}

TEST(NetworkModel, UpdatesAreHeldBackUntilTheLastEndUpdate)
{
    RecordingNetwork net;
    AddNodes(net, 3);
    TWorkItem& work = AddWork(net, {1, 2, 2.0f});
    net.ResetCounts();
    net.Works().BeginUpdate();
    net.Works().BeginUpdate();
    work.SetContinueTime(3.0f);
    work.SetNextNode(3);
    net.Works().Add();
    net.Works().EndUpdate();
    EXPECT_EQ(net.networksRecalculated + net.timesRecalculated, 0);
    net.Works().EndUpdate();
    EXPECT_EQ(net.networksRecalculated, 1);
    EXPECT_EQ(net.timesRecalculated, 0);
    EXPECT_EQ(net.netChanged, 1);
    EXPECT_EQ(work.ChangeKind(), wkNextNode);
    EXPECT_EQ(net.GetTotalTime(), 3.0f);
}

TEST(NetworkModel, NothingIsReportedWhileLoadingOrWithUpdatesDisabled)
{
    RecordingNetwork net;
    AddNodes(net, 2);
    TWorkItem& work = AddWork(net, {1, 2, 2.0f});
    net.ResetCounts();
    net.SetLoading(true);
    work.SetContinueTime(5.0f);
    net.Works().Add();
    net.Nodes().Items(1)->SetNodeY(3);
    net.Nodes().Items(1)->SetSelected(true);
    net.SetLoading(false);
    net.Works().SetUpdateEnabled(false);
    work.SetSelected(true);
    work.SetPriorNode(2);
    net.Works().SetUpdateEnabled(true);
    EXPECT_EQ(net.networksRecalculated + net.timesRecalculated + net.Invalidated() + net.netChanged, 0);
    EXPECT_EQ(net.nodeSelections + net.workSelections, 0);
    EXPECT_FALSE(net.Modified());
}

TEST(NetworkModel, WorkCaptionsCountEveryInsertion)
{
    RecordingNetwork net;
    EXPECT_EQ(net.Works().Add().Caption(), QStringLiteral("工作0"));
    EXPECT_EQ(net.Works().Add().Caption(), QStringLiteral("工作1"));
    net.Works().Delete(1);
    net.Works().Delete(0);
    const TWorkItem& third = net.Works().Add();
    EXPECT_EQ(third.Caption(), QStringLiteral("工作2"));
    EXPECT_TRUE(third.ParentFont());
    EXPECT_TRUE(third.HorizontalLine());
    EXPECT_TRUE(third.IsVirtual());
    EXPECT_EQ(third.Font(), TWorks::DefaultFont());
}

TEST(NetworkModel, NewIDsStayAboveTheLargestInUse)
{
    RecordingNetwork net;
    AddNodes(net, 3);
    net.Nodes().Items(1)->SetNewID(40);
    EXPECT_EQ(net.Nodes().Add().NewID(), 41);
    net.Nodes().Delete(3);
    net.Nodes().Delete(1);
    EXPECT_EQ(net.Nodes().Add().NewID(), 4);

    // A file may hold the largest NewID: the next node takes the smallest free one.
    net.Nodes().Items(0)->SetNewID(std::numeric_limits<int>::max());
    EXPECT_EQ(net.Nodes().Add().NewID(), 1);
}

TEST(NetworkModel, SelectionFollowsAddAndToggleRules)
{
    RecordingNetwork net;
    AddNodes(net, 4);
    TWorkItem& a = AddWork(net, {1, 2, 1.0f});
    TWorkItem& b = AddWork(net, {2, 3, 1.0f});
    TWorkItem& c = AddWork(net, {3, 4, 1.0f});
    TWorks& works = net.Works();

    works.SelectWork(&a, false);
    works.SelectWork(&b, true);
    EXPECT_TRUE(a.Selected() && b.Selected());
    works.SelectWork(&a, false); // a plain click on a selected work keeps the selection
    EXPECT_TRUE(a.Selected() && b.Selected());
    works.SelectWork(&a, true); // Add toggles
    EXPECT_FALSE(a.Selected());
    EXPECT_TRUE(b.Selected());
    works.SelectWork(&c, false);
    EXPECT_FALSE(b.Selected());
    EXPECT_TRUE(c.Selected());
    EXPECT_EQ(works.GetSelectedWork(), &c);
    works.SelectWork(&b, true);
    std::vector<int> ids{99};
    works.GetSelectedNodeIDs(ids);
    EXPECT_EQ(ids, (std::vector<int>{2, 3, 4}));
    works.SelectWork(nullptr, true);
    EXPECT_EQ(works.GetSelectedWork(), nullptr);

    TNodeItem* n2 = net.Nodes().Items(1);
    TNodeItem* n3 = net.Nodes().Items(2);
    net.ResetCounts();
    net.SelectItems(n2, nullptr, false);
    net.SelectItems(n3, nullptr, true);
    EXPECT_EQ(net.handlesHidden, 1);
    EXPECT_TRUE(n2->Selected() && n3->Selected());
    EXPECT_EQ(net.Nodes().GetSelectedNode(), n2);
    net.Nodes().MoveSelectedRows(-2);
    EXPECT_EQ(n2->NodeY(), 100);
    EXPECT_EQ(n3->NodeY(), 101);
    EXPECT_EQ(n2->ChangeKind(), nkSelected);
    net.SelectItems(nullptr, nullptr, false);
    EXPECT_EQ(net.Nodes().GetSelectedNode(), nullptr);
}

TEST(NetworkModel, NodeNumbersShiftOrAreRefused)
{
    RecordingNetwork net;
    AddNodes(net, 5);
    for (int i = 1; i < 5; ++i)
        AddWork(net, {i, i + 1, 1.0f});
    const auto numbers = [&] {
        std::vector<int> out;
        for (int i = 0; i < net.Nodes().Count(); ++i)
            out.push_back(net.Nodes().Items(i)->Number());
        return out;
    };
    ASSERT_EQ(numbers(), (std::vector<int>{1, 2, 3, 4, 5}));
    net.ResetCounts();

    net.Nodes().Items(2)->SetNumber(2);
    EXPECT_EQ(net.Messages(), QStringList{QStringLiteral("节点的编号太小，请重新输入！")});
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(net.Modified());

    net.Nodes().Items(2)->SetNumber(10);
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 10, 11, 12}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(net.Nodes().Items(i)->AutoNumber(), i != 2) << i;
    EXPECT_TRUE(net.Modified());

    // The shift saturates instead of overflowing.
    net.Nodes().Items(1)->SetNumber(std::numeric_limits<int>::max() - 1);
    EXPECT_EQ(numbers().back(), std::numeric_limits<int>::max());

    // Renumbering keeps hand-set gaps and closes the others.
    net.Works().Items(0)->SetContinueTime(2.0f);
    EXPECT_EQ(numbers(), (std::vector<int>{1, std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max(),
                                          std::numeric_limits<int>::max(), std::numeric_limits<int>::max()}));
    EXPECT_EQ(net.Messages().size(), 1);
}

TEST(NetworkModel, WorkLookupsFollowCollectionOrder)
{
    RecordingNetwork net;
    AddNodes(net, 4);
    TWorkItem& a = AddWork(net, {1, 3, 1.0f});
    TWorkItem& b = AddWork(net, {2, 3, 2.0f});
    TWorkItem& c = AddWork(net, {3, 4, 1.0f});
    TWorkItem& orphan = AddWork(net, {77, 3, 1.0f});
    const TNodeItem* n3 = net.Nodes().FindByNewID(3);
    ASSERT_NE(n3, nullptr);
    EXPECT_EQ(net.CountInWorks(n3), 3);
    EXPECT_EQ(net.CountOutWorks(n3), 1);
    EXPECT_EQ(net.GetOutWork(n3, 1), &c);
    EXPECT_EQ(net.GetInWork(n3, 4), nullptr);
    EXPECT_EQ(net.GetInWork(n3, 0), nullptr);
    const std::vector<TWorkItem*> into{net.GetInWork(n3, 1), net.GetInWork(n3, 2), net.GetInWork(n3, 3)};
    EXPECT_EQ(into, (std::vector<TWorkItem*>{&a, &b, &orphan}));
    EXPECT_EQ(net.CountWorksFrom(77), 1);
    EXPECT_EQ(net.GetWorkFrom(77, 1), &orphan);
    EXPECT_EQ(net.CountWorksInto(55), 0);
    EXPECT_EQ(net.CountInWorks(nullptr), 0);
    EXPECT_EQ(net.Nodes().FindByNewID(77), nullptr);

    // Changing a link moves the work between the lists.
    b.SetNextNode(4);
    EXPECT_EQ(net.CountInWorks(n3), 2);
    EXPECT_EQ(net.GetWorkInto(4, 1), &b);
    EXPECT_EQ(net.GetWorkInto(4, 2), &c);
}

TEST(NetworkModel, RowRangeCoversNodesAndWorkOffsets)
{
    RecordingNetwork net;
    AddNodes(net, 3);
    net.Nodes().Items(0)->SetNodeY(5);
    net.Nodes().Items(1)->SetNodeY(8);
    net.Nodes().Items(2)->SetNodeY(6);
    TWorkItem& up = AddWork(net, {1, 2, 1.0f});
    TWorkItem& down = AddWork(net, {3, 2, 1.0f});
    EXPECT_EQ(net.GetMaxRow(), 8);
    EXPECT_EQ(net.GetMinRow(), 5);
    up.SetOffset(-3);
    down.SetOffset(4);
    EXPECT_EQ(net.GetMaxRow(), 10);
    EXPECT_EQ(net.GetMinRow(), 2);
    for (int i = 0; i < 3; ++i)
        net.Nodes().Items(i)->SetNodeY(-20);
    down.SetOffset(0);
    EXPECT_EQ(net.GetMaxRow(), 0);
    EXPECT_EQ(net.GetMinRow(), -23);
}

TEST(NetworkModel, InsertNodeStoresTheOffsetAsGiven)
{
    RecordingNetwork net;
    TNodeItem& inserted = net.InsertNode(0, 7, 0.3f);
    EXPECT_EQ(inserted.Index(), 0);
    EXPECT_EQ(inserted.NewID(), 2);
    EXPECT_EQ(inserted.NodeY(), 7);
    EXPECT_EQ(inserted.Offset(), 0.3f);
    EXPECT_EQ(net.AddNode(9, 0.3f).Offset(), 0.5f);
}

TEST(NetworkModel, AssigningCollectionsCopiesTheirItems)
{
    RecordingNetwork source;
    AddNodes(source, 3);
    source.Nodes().Items(2)->SetNewID(9);
    AddWork(source, {1, 2, 2.0f, 0.5f, 1.0f}).SetCaption(QStringLiteral("砌墙"));
    AddWork(source, {2, 9, 3.0f});

    RecordingNetwork copy;
    copy.ResetCounts();
    copy.SetNodes(source.Nodes());
    copy.SetWorks(source.Works());
    EXPECT_EQ(NodeOrder(copy), NodeOrder(source));
    ASSERT_EQ(copy.Works().Count(), 2);
    const TWorkItem& first = *copy.Works().Items(0);
    EXPECT_EQ(first.Caption(), QStringLiteral("砌墙"));
    EXPECT_EQ(first.ParallelTime(), 0.5f);
    EXPECT_EQ(first.Diapause(), 1.0f);
    EXPECT_EQ(copy.networksRecalculated, 1);
    EXPECT_EQ(copy.GetTotalTime(), 5.5f);
}
