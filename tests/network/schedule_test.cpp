#include "network_fixture.h"
#include "tests/support/generated_networks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace network;
using namespace network_test;

namespace {

struct NodeTimes {
    int newID;
    float et, lt;
};

struct WorkTimes {
    int prior, next;
    float es, ef, ls, lf, ff, tf;
    bool key;
};

// Builds a network with nodes 1..nodeCount and the works given, in one
// recomputation.
void Build(TVYRNetworkAddNodeWork& net, int nodeCount, std::initializer_list<WorkSpec> works)
{
    AddNodes(net, nodeCount);
    net.Works().BeginUpdate();
    for (const WorkSpec& spec : works) {
        TWorkItem& work = net.Works().Add();
        work.SetPriorNode(spec.prior);
        work.SetNextNode(spec.next);
        work.SetContinueTime(spec.duration);
        work.SetParallelTime(spec.overlap);
        work.SetDiapause(spec.interval);
    }
    net.Works().EndUpdate();
}

void ExpectSchedule(const TVYRNetworkAddNodeWork& net, std::initializer_list<NodeTimes> nodes,
                    std::initializer_list<WorkTimes> works)
{
    std::vector<int> order;
    for (const NodeTimes& n : nodes) {
        order.push_back(n.newID);
        const TNodeItem* node = net.Nodes().FindByNewID(n.newID);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(net.GetNodeEarliest(node), n.et) << "ET of node " << n.newID;
        EXPECT_EQ(net.GetNodeLatest(node), n.lt) << "LT of node " << n.newID;
    }
    EXPECT_EQ(NodeOrder(net), order);
    for (const WorkTimes& w : works) {
        const TWorkItem* work = FindWork(net, w.prior, w.next);
        ASSERT_NE(work, nullptr) << w.prior << "->" << w.next;
        const auto where = [&] { return std::to_string(w.prior) + "->" + std::to_string(w.next); };
        EXPECT_EQ(net.GetWorkEarliestStart(*work), w.es) << "ES " << where();
        EXPECT_EQ(net.GetWorkEarliestFinish(*work), w.ef) << "EF " << where();
        EXPECT_EQ(net.GetWorkLatestStart(*work), w.ls) << "LS " << where();
        EXPECT_EQ(net.GetWorkLatestFinish(*work), w.lf) << "LF " << where();
        EXPECT_EQ(net.GetWorkFreeTime(*work), w.ff) << "FF " << where();
        EXPECT_EQ(net.GetWorkTotalFloat(*work), w.tf) << "TF " << where();
        EXPECT_EQ(net.IsKeyWork(*work), w.key) << "critical " << where();
    }
}

bool NodeCritical(const TVYRNetworkAddNodeWork& net, int newID)
{
    const TNodeItem* node = net.Nodes().FindByNewID(newID);
    return net.GetNodeEarliest(node) == net.GetNodeLatest(node);
}

} // namespace

TEST(Schedule, SingleNode)
{
    RecordingNetwork net;
    net.RecalcNetwork();
    ExpectSchedule(net, {{1, 0, 0}}, {});
    EXPECT_EQ(net.GetTotalTime(), 0.0f);
}

TEST(Schedule, Chain)
{
    RecordingNetwork net;
    Build(net, 3, {{1, 2, 3}, {2, 3, 4}});
    ExpectSchedule(net, {{1, 0, 0}, {2, 3, 3}, {3, 7, 7}},
                   {{1, 2, 0, 3, 0, 3, 0, 0, true}, {2, 3, 3, 7, 3, 7, 0, 0, true}});
    EXPECT_EQ(net.GetTotalTime(), 7.0f);
    EXPECT_TRUE(NodeCritical(net, 2));
    EXPECT_TRUE(NodeCritical(net, 3));
}

// A dummy, an overlap and an interval. The free float leaves the interval
// out and the total float the overlap, so the overlapped work 2->4 has
// negative floats.
TEST(Schedule, DummyOverlapAndInterval)
{
    RecordingNetwork net;
    Build(net, 5,
          {{1, 2, 4}, {2, 4, 5, 2, 0}, {1, 3, 7, 0, 1}, {3, 4, 0}, {4, 5, 2}, {3, 5, 1}});
    ExpectSchedule(net, {{1, 0, 0}, {2, 4, 5}, {3, 8, 8}, {4, 8, 8}, {5, 10, 10}},
                   {
                       {1, 2, 0, 4, 1, 5, 0, 1, false},
                       {2, 4, 2, 7, 3, 8, -1, -2, false},
                       {1, 3, 1, 8, 1, 8, 1, 0, true},
                       {3, 4, 8, 8, 8, 8, 0, 0, true},
                       {4, 5, 8, 10, 8, 10, 0, 0, true},
                       {3, 5, 8, 9, 9, 10, 1, 1, false},
                   });
    EXPECT_EQ(net.GetTotalTime(), 10.0f);
    EXPECT_FALSE(NodeCritical(net, 2));
    EXPECT_TRUE(NodeCritical(net, 3));
    EXPECT_TRUE(FindWork(net, 3, 4)->IsVirtual());
    // Works are grouped by start node in node order.
    std::vector<int> starts;
    for (int i = 0; i < net.Works().Count(); ++i)
        starts.push_back(net.Works().Items(i)->PriorNode());
    EXPECT_EQ(starts, (std::vector<int>{1, 1, 2, 3, 3, 4}));
}

TEST(Schedule, IntervalsAndOverlapsMoveTheEndNode)
{
    RecordingNetwork interval;
    Build(interval, 2, {{1, 2, 5, 0, 2}});
    EXPECT_EQ(interval.GetTotalTime(), 7.0f);
    EXPECT_EQ(interval.GetWorkEarliestStart(*interval.Works().Items(0)), 2.0f);
    EXPECT_EQ(interval.GetWorkEarliestFinish(*interval.Works().Items(0)), 7.0f);

    RecordingNetwork overlap;
    Build(overlap, 3, {{1, 2, 4}, {2, 3, 5, 2, 0}});
    EXPECT_EQ(overlap.GetTotalTime(), 7.0f);

    // A span below zero leaves the end node at zero.
    RecordingNetwork deep;
    Build(deep, 2, {{1, 2, 1, 3, 0}});
    EXPECT_EQ(deep.GetNodeEarliest(deep.Nodes().FindByNewID(2)), 0.0f);
}

TEST(Schedule, SortedNodesAndTheOnlyCriticalWork)
{
    RecordingNetwork net;
    Build(net, 3, {{1, 2, 5}, {1, 3, 1}, {3, 2, 2}});
    ExpectSchedule(net, {{1, 0, 0}, {3, 1, 3}, {2, 5, 5}},
                   {
                       {1, 2, 0, 5, 0, 5, 0, 0, true},
                       {1, 3, 0, 1, 2, 3, 0, 2, false},
                       {3, 2, 1, 3, 3, 5, 2, 0, false},
                   });
    EXPECT_FALSE(NodeCritical(net, 3));
    // Numbers follow the new order.
    EXPECT_EQ(net.Nodes().FindByNewID(3)->Number(), 2);
    EXPECT_EQ(net.Nodes().FindByNewID(2)->Number(), 3);
}

// 2^24 + 1 is not a single-precision value: the work 1->2->3 loses its last
// day, and the direct work 1->3, one day of float in exact arithmetic, has
// zero total float and is critical.
TEST(Schedule, SinglePrecisionDecidesCriticality)
{
    const float big = 16777216.0f;
    RecordingNetwork net;
    Build(net, 3, {{1, 2, big}, {2, 3, 1}, {1, 3, big}});
    ExpectSchedule(net, {{1, 0, -1}, {2, big, big - 1}, {3, big, big}},
                   {
                       {1, 2, 0, big, -1, big - 1, 0, 0, true},
                       {2, 3, big, big, big - 1, big, -1, 0, true},
                       {1, 3, 0, big, 0, big, 0, 0, true},
                   });
    EXPECT_FALSE(NodeCritical(net, 1));
}

// Asked before the next recomputation (here while loading), the critical
// works follow the durations as they are now against the latest times
// kept: 2->3 no longer ends on time, so 1->2 no longer leads to the end.
TEST(Schedule, CriticalWorksFollowDurationsChangedSinceTheLastRecomputation)
{
    RecordingNetwork net;
    Build(net, 3, {{1, 2, 2}, {2, 3, 2}, {1, 3, 1}});
    TWorkItem* first = FindWork(net, 1, 2);
    ASSERT_TRUE(net.IsKeyWork(*first));
    net.SetLoading(true);
    FindWork(net, 2, 3)->SetContinueTime(1.0f);
    EXPECT_FALSE(net.IsKeyWork(*first));
    EXPECT_FALSE(net.IsKeyWork(*FindWork(net, 2, 3)));
    net.SetLoading(false);
}

TEST(Schedule, EqualTimesPutLinkedNodesThenSmallerOffsetsFirst)
{
    // No link: the smaller Offset first.
    RecordingNetwork apart;
    AddNodes(apart, 4);
    apart.Nodes().Items(1)->SetOffset(1.0f);
    apart.Nodes().Items(2)->SetOffset(0.5f);
    Build(apart, 4, {{1, 2, 2}, {1, 3, 2}, {2, 4, 1}, {3, 4, 1}});
    EXPECT_EQ(NodeOrder(apart), (std::vector<int>{1, 3, 2, 4}));

    // Node 3 reaches node 2 through a dummy: it comes first whatever the offsets.
    RecordingNetwork linked;
    AddNodes(linked, 4);
    linked.Nodes().Items(2)->SetOffset(1.0f);
    Build(linked, 4, {{1, 3, 2}, {3, 2, 0}, {2, 4, 1}});
    EXPECT_EQ(NodeOrder(linked), (std::vector<int>{1, 3, 2, 4}));
}

// Start->A and start->B take 3 days, A->C is a dummy, C->E and B->E take a
// day. With offsets A 1.0, B 0.5, C 0 no order of A, B, C meets every rule
// (A before C by the link, B before A and C before B by the offsets); the
// order must still be found, linked nodes first, then the smaller offset.
TEST(Schedule, ContradictoryOffsetsStillGiveAnOrder)
{
    RecordingNetwork net;
    AddNodes(net, 5); // 1 start, 2 A, 3 B, 4 C, 5 E
    net.Nodes().Items(1)->SetOffset(1.0f);
    net.Nodes().Items(2)->SetOffset(0.5f);
    Build(net, 5, {{1, 2, 3}, {1, 3, 3}, {2, 4, 0}, {4, 5, 1}, {3, 5, 1}});
    EXPECT_EQ(NodeOrder(net), (std::vector<int>{1, 3, 2, 4, 5}));
    EXPECT_EQ(net.GetTotalTime(), 4.0f);
    // The order is stable: recomputing changes nothing.
    net.ResetCounts();
    net.RecalcNetwork();
    EXPECT_EQ(NodeOrder(net), (std::vector<int>{1, 3, 2, 4, 5}));
    EXPECT_FALSE(net.Modified());
}

TEST(Schedule, RenumberingKeepsHandSetGaps)
{
    for (const bool secondAuto : {true, false}) {
        RecordingNetwork net;
        AddNodes(net, 3);
        net.Nodes().Items(1)->SetNumber(3);
        net.Nodes().Items(2)->SetNumber(5);
        net.Nodes().Move(2, 1); // numbers 1, 5, 3
        net.Nodes().Items(1)->SetAutoNumber(secondAuto);
        net.Nodes().Items(2)->SetAutoNumber(true);
        net.RenumberNodes();
        std::vector<int> numbers;
        for (int i = 0; i < 3; ++i)
            numbers.push_back(net.Nodes().Items(i)->Number());
        EXPECT_EQ(numbers, secondAuto ? (std::vector<int>{1, 2, 3}) : (std::vector<int>{1, 5, 6}));
    }
}

TEST(Schedule, WorksOfOneStartNodeAscendByIntervalLessOverlap)
{
    RecordingNetwork net;
    Build(net, 4, {{1, 2, 1, 0, 2}, {1, 3, 1, 1, 1}, {1, 4, 1, 0, 1}});
    std::vector<int> ends;
    for (int i = 0; i < net.Works().Count(); ++i)
        ends.push_back(net.Works().Items(i)->NextNode());
    EXPECT_EQ(ends, (std::vector<int>{3, 4, 2}));
}

TEST(Schedule, PathTests)
{
    // 1 -> 2 -> 4 and 1 -> 3; node 5 stands apart.
    RecordingNetwork net;
    Build(net, 5, {{1, 2, 1}, {1, 3, 1}, {2, 4, 1}});
    EXPECT_FALSE(net.HasNoPathTo(4, 1)); // reached by the first branch, not the second
    EXPECT_FALSE(net.HasNoPathTo(3, 1)); // reached by the second branch only
    EXPECT_TRUE(net.HasNoPathTo(3, 2));
    EXPECT_TRUE(net.HasNoPathTo(1, 4));
    EXPECT_TRUE(net.HasNoPathTo(1, 1));
    EXPECT_TRUE(net.HasNoPathTo(5, 99));
    const auto node = [&](int id) { return net.Nodes().FindByNewID(id); };
    EXPECT_TRUE(net.IsPredecessor(node(4), node(1)));
    EXPECT_FALSE(net.IsPredecessor(node(1), node(4)));
    EXPECT_FALSE(net.IsPredecessor(node(3), node(2)));
    EXPECT_FALSE(net.IsPredecessor(nullptr, node(1)));
}

// Data from a file may name missing nodes, link a node to itself or form a
// cycle: every computation ends, reads no entry outside the arrays, and a
// work with a missing node is left out and is not critical.
TEST(Schedule, BrokenNetworksAreComputedSafely)
{
    RecordingNetwork net;
    Build(net, 4,
          {{1, 2, 2}, {1, 99, 50}, {98, 2, 40}, {2, 2, 1}, {2, 3, 3}, {3, 2, 1}, {3, 4, 1}, {4, 3, 1}});
    EXPECT_EQ(net.GetNodeEarliest(net.Nodes().FindByNewID(2)), 2.0f);
    EXPECT_FALSE(net.IsKeyWork(*FindWork(net, 1, 99)));
    EXPECT_FALSE(net.IsKeyWork(*FindWork(net, 98, 2)));
    EXPECT_FALSE(net.HasNoPathTo(2, 3));
    EXPECT_FALSE(net.HasNoPathTo(3, 3));
    EXPECT_TRUE(net.IsPredecessor(net.Nodes().FindByNewID(3), net.Nodes().FindByNewID(3)));
    // The same data gives the same result.
    RecordingNetwork again;
    Build(again, 4,
          {{1, 2, 2}, {1, 99, 50}, {98, 2, 40}, {2, 2, 1}, {2, 3, 3}, {3, 2, 1}, {3, 4, 1}, {4, 3, 1}});
    EXPECT_EQ(NodeOrder(again), NodeOrder(net));
    net.RecalcNetwork();
    for (int i = 0; i < net.Works().Count(); ++i) {
        const TWorkItem& work = *net.Works().Items(i);
        EXPECT_TRUE(std::isfinite(net.GetWorkTotalFloat(work)));
    }

    // A work into the node itself ends the scan of that node's entering works.
    RecordingNetwork loop;
    Build(loop, 3, {{1, 2, 1}, {1, 3, 1}, {3, 3, 1}, {2, 3, 5}});
    EXPECT_EQ(loop.GetNodeEarliest(loop.Nodes().FindByNewID(3)), 1.0f);

    // A node added without recomputation has no entry yet.
    RecordingNetwork stale;
    Build(stale, 2, {{1, 2, 3}});
    TNodeItem& added = stale.AddNode(105, 0.0f);
    EXPECT_EQ(stale.GetNodeEarliest(&added), 0.0f);
    EXPECT_EQ(stale.GetTotalTime(), 0.0f);
    stale.BuildOffsetPoints();
    stale.Rearrange();
    EXPECT_EQ(stale.Nodes().Count(), 3);
}

TEST(Schedule, HugeDurationsStayDefined)
{
    RecordingNetwork net;
    const float most = std::numeric_limits<float>::max();
    Build(net, 3, {{1, 2, most}, {2, 3, most}, {1, 3, 1}});
    EXPECT_EQ(net.GetTotalTime(), std::numeric_limits<float>::infinity());
    EXPECT_FALSE(net.IsKeyWork(*FindWork(net, 1, 3)));
}

TEST(Schedule, OffsetPointsTakeTheLargestOffsetOfEachTimeGroup)
{
    RecordingNetwork net;
    AddNodes(net, 4);
    net.Nodes().Items(1)->SetOffset(-1.0f);
    net.Nodes().Items(2)->SetOffset(1.0f);
    net.Nodes().Items(3)->SetOffset(2.5f);
    Build(net, 4, {{1, 2, 2}, {1, 3, 2}, {3, 4, 1}});
    net.RearrangeWithOffsets();
    EXPECT_EQ(net.OffsetPoints(), (std::vector<TOffsetPoint>{{2.0f, -1.0f}, {3.0f, 2.5f}}));
}

// Flow-process networks are grids: a naive walk of all paths would never
// finish on this one.
TEST(Schedule, GridNetworksAreComputedInLinearTime)
{
    const int rows = 40, columns = 40;
    RecordingNetwork net;
    AddNodes(net, rows * columns);
    net.Works().BeginUpdate();
    const auto id = [&](int r, int c) { return r * columns + c + 1; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            if (c + 1 < columns) {
                TWorkItem& work = net.Works().Add();
                work.SetPriorNode(id(r, c));
                work.SetNextNode(id(r, c + 1));
                work.SetContinueTime(float(1 + (r + c) % 3));
            }
            if (r + 1 < rows) {
                TWorkItem& work = net.Works().Add();
                work.SetPriorNode(id(r, c));
                work.SetNextNode(id(r + 1, c));
            }
        }
    net.Works().EndUpdate();
    EXPECT_EQ(net.Nodes().Items(net.Nodes().Count() - 1)->NewID(), id(rows - 1, columns - 1));
    EXPECT_GT(net.GetTotalTime(), 0.0f);
    int critical = 0;
    for (int i = 0; i < net.Works().Count(); ++i) {
        if (net.IsKeyWork(*net.Works().Items(i))) {
            ++critical;
            EXPECT_EQ(net.GetWorkTotalFloat(*net.Works().Items(i)), 0.0f);
        }
    }
    EXPECT_GT(critical, 0);
    EXPECT_FALSE(net.HasNoPathTo(id(rows - 1, columns - 1), 1));
    EXPECT_TRUE(net.IsPredecessor(net.Nodes().FindByNewID(id(rows - 1, columns - 1)), net.Nodes().FindByNewID(1)));
}

// On networks where works run against the node order (falling back in time,
// closing cycles) and no chain of zero-float works is a cycle, a work is
// critical exactly when its total float is 0 and chains of zero-float works
// lead from its end to a node without leaving works and back from its start
// to a node without entering works (searched from every node).
TEST(Schedule, CriticalWorksOnNetworksWithWorksAgainstTheNodeOrder)
{
    std::mt19937 random(1403);
    const auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    int critical = 0;
    for (const generated::NamedShape& c : generated::FallingAndCyclicNetworks()) {
        generated::SilentServices services;
        auto net = generated::BuildNetwork<TVYRNetworkAddNodeWork>(services, c.shape);
        for (int step = 0; step < 12; ++step) {
            net->Works().Items(pick(net->Works().Count()))->SetContinueTime(0.5f * float(1 + pick(6)));
            const int count = net->Nodes().Count();
            struct Arc {
                int start, end;
                bool zeroFloat;
            };
            std::vector<Arc> arcs;
            bool againstOrder = false;
            for (int w = 0; w < net->Works().Count(); ++w) {
                const TWorkItem& work = *net->Works().Items(w);
                const TNodeItem* a = net->Nodes().FindByNewID(work.PriorNode());
                const TNodeItem* b = net->Nodes().FindByNewID(work.NextNode());
                againstOrder = againstOrder || a->Index() >= b->Index();
                arcs.push_back({a->Index(), b->Index(), net->GetWorkTotalFloat(work) == 0.0f});
            }
            ASSERT_TRUE(againstOrder) << c.name;
            // towardsEnd: the nodes from which zero-float works lead to a node
            // without leaving works; else back to one without entering works.
            const auto chainEnds = [&](bool towardsEnd) {
                std::vector<char> bare(static_cast<std::size_t>(count), 1);
                for (const Arc& arc : arcs)
                    bare[static_cast<std::size_t>(towardsEnd ? arc.start : arc.end)] = 0;
                std::vector<char> reaches = bare;
                std::vector<int> pending;
                for (int k = 0; k < count; ++k)
                    if (bare[static_cast<std::size_t>(k)])
                        pending.push_back(k);
                while (!pending.empty()) {
                    const int k = pending.back();
                    pending.pop_back();
                    for (const Arc& arc : arcs) {
                        const int from = towardsEnd ? arc.start : arc.end;
                        if (arc.zeroFloat && (towardsEnd ? arc.end : arc.start) == k
                            && !reaches[static_cast<std::size_t>(from)]) {
                            reaches[static_cast<std::size_t>(from)] = 1;
                            pending.push_back(from);
                        }
                    }
                }
                return reaches;
            };
            const std::vector<char> chainOn = chainEnds(true);
            const std::vector<char> chainBack = chainEnds(false);
            for (int w = 0; w < net->Works().Count(); ++w) {
                const Arc& arc = arcs[static_cast<std::size_t>(w)];
                const bool expected = arc.zeroFloat && chainOn[static_cast<std::size_t>(arc.end)]
                    && chainBack[static_cast<std::size_t>(arc.start)];
                ASSERT_EQ(net->IsKeyWork(*net->Works().Items(w)), expected) << c.name << ", step " << step << ", work " << w;
                critical += expected;
            }
        }
    }
    EXPECT_GT(critical, 1000);
}
