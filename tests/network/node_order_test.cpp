#include "network/network_index.h"
#include "network/node_order.h"
#include "network/reach_through_falls.h"
#include "network/schedule_graph.h"
#include "network_fixture.h"
#include "tests/support/generated_networks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>

using namespace network;
using namespace network_test;

TEST(NodeOrder, GroupsOfEqualTime)
{
    struct Case {
        const char* name;
        std::vector<float> offsets;
        std::vector<std::vector<int>> reachedBy;
        std::vector<int> order;
        bool rulesMet;
    };
    const Case cases[] = {
        {"unlinked, equal offsets keep their order", {0, 0, 0}, {{}, {}, {}}, {0, 1, 2}, true},
        {"a reaching node moves just before the one it reaches", {0, 0, 0}, {{2}, {}, {}}, {2, 0, 1}, true},
        {"smaller offsets first", {1, 0.5f, 0}, {{}, {}, {}}, {2, 1, 0}, true},
        {"equal offsets keep their order among smaller ones", {1, 0, 0.5f, 0}, {{}, {}, {}, {}}, {1, 3, 2, 0}, true},
        {"links beat offsets", {0, 1}, {{1}, {}}, {1, 0}, true},
        // 3 must come before 0 (smaller offset, unlinked), so 1, which
        // reaches 3, comes first although 0 and 1 tie.
        {"a node is placed after what must precede it", {1, 1, 0.5f, 0, 0}, {{}, {}, {0, 1, 3}, {1}, {0, 1, 2, 3}},
         {1, 3, 0, 2, 4}, true},
        {"a reaching node of a larger offset pulls its descendants' order", {0, 0, 0, -1}, {{}, {0}, {0}, {0, 2}},
         {0, 2, 3, 1}, true},
        {"offsets contradicting a link: links, then offsets", {1, 0.5f, 0}, {{}, {}, {0}}, {1, 0, 2}, false},
        {"a cycle is broken by position", {0, 0}, {{1}, {0}}, {0, 1}, false},
        {"a cycle with differing offsets: links, then offsets", {0, 1, 0.5f}, {{1}, {0}, {}}, {2, 0, 1}, false},
    };
    for (const Case& c : cases) {
        bool rulesMet = true;
        const std::vector<int> order = OrderEqualTimeGroup(c.offsets, c.reachedBy, rulesMet);
        EXPECT_EQ(order, c.order) << c.name;
        EXPECT_EQ(rulesMet, c.rulesMet) << c.name;
        if (!rulesMet)
            continue;
        // An order that meets the rules stays as it is.
        std::vector<int> placeOf(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            placeOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        std::vector<float> offsets;
        std::vector<std::vector<int>> reachedBy;
        for (const int member : order) {
            offsets.push_back(c.offsets[static_cast<std::size_t>(member)]);
            reachedBy.emplace_back();
            for (const int p : c.reachedBy[static_cast<std::size_t>(member)])
                reachedBy.back().push_back(placeOf[static_cast<std::size_t>(p)]);
        }
        std::vector<int> same(order.size());
        std::iota(same.begin(), same.end(), 0);
        bool again = true;
        EXPECT_EQ(OrderEqualTimeGroup(offsets, reachedBy, again), same) << c.name;
        EXPECT_TRUE(again) << c.name;
    }
}

// A group of two is ordered as the general rule orders it, for every way the
// two can reach each other and every relation of their offsets, including
// -0 against 0.
TEST(NodeOrder, PairsOrderAsTheGeneralRule)
{
    const std::pair<float, float> offsetPairs[] = {{0, 0}, {0, 1}, {1, 0}, {-0.0f, 0.0f}, {-1.5f, -2}, {2, 2}};
    for (const auto& [first, second] : offsetPairs)
        for (const bool firstReaches : {false, true})
            for (const bool secondReaches : {false, true}) {
                std::vector<std::vector<int>> reachedBy(2);
                if (firstReaches)
                    reachedBy[1].push_back(0);
                if (secondReaches)
                    reachedBy[0].push_back(1);
                bool generalMet = true;
                const std::vector<int> general = OrderEqualTimeGroup(std::vector<float>{first, second}, reachedBy,
                                                                     generalMet);
                bool pairMet = true;
                const bool swapped = SecondOfPairFirst(first, second, firstReaches, secondReaches, pairMet);
                const std::string where = std::to_string(first) + " " + std::to_string(second) + " "
                    + std::to_string(firstReaches) + std::to_string(secondReaches);
                EXPECT_EQ(swapped, general == (std::vector<int>{1, 0})) << where;
                EXPECT_EQ(pairMet, generalMet) << where;
            }
}

namespace {

// The schedule written out as its rules read: linear scans and plain
// recursion, usable on small acyclic networks.
struct Reference {
    const TVYRNetworkAddNodeWork& net;

    const TNodeItem* Node(int id) const
    {
        for (int i = 0; i < net.Nodes().Count(); ++i)
            if (net.Nodes().Items(i)->NewID() == id)
                return net.Nodes().Items(i);
        return nullptr;
    }
    std::vector<const TWorkItem*> Into(int id) const
    {
        std::vector<const TWorkItem*> out;
        for (int i = 0; i < net.Works().Count(); ++i)
            if (net.Works().Items(i)->NextNode() == id)
                out.push_back(net.Works().Items(i));
        return out;
    }
    std::vector<const TWorkItem*> From(int id) const
    {
        std::vector<const TWorkItem*> out;
        for (int i = 0; i < net.Works().Count(); ++i)
            if (net.Works().Items(i)->PriorNode() == id)
                out.push_back(net.Works().Items(i));
        return out;
    }
    float Earliest(const TNodeItem* n) const
    {
        if (n->Index() == 0)
            return 0.0f;
        float r = 0.0f;
        for (const TWorkItem* w : Into(n->NewID())) {
            const TNodeItem* s = Node(w->PriorNode());
            if (s == n)
                break;
            const float v = Earliest(s) + w->ContinueTime() - w->ParallelTime() + w->Diapause();
            if (r < v)
                r = v;
        }
        return r;
    }
    std::vector<float> Latest() const
    {
        const int count = net.Nodes().Count();
        std::vector<float> lt(static_cast<std::size_t>(count));
        const float total = Earliest(net.Nodes().Items(count - 1));
        for (int k = count - 1; k >= 0; --k) {
            float v = total;
            if (k < count - 1)
                for (const TWorkItem* w : From(net.Nodes().Items(k)->NewID())) {
                    const float c = lt[static_cast<std::size_t>(Node(w->NextNode())->Index())] - w->ContinueTime()
                        + w->ParallelTime() - w->Diapause();
                    if (v > c)
                        v = c;
                }
            lt[static_cast<std::size_t>(k)] = v;
        }
        return lt;
    }
    float TotalFloat(const TWorkItem* w, const std::vector<float>& lt) const
    {
        return lt[static_cast<std::size_t>(Node(w->NextNode())->Index())]
            - lt[static_cast<std::size_t>(Node(w->PriorNode())->Index())] - w->ContinueTime() - w->Diapause();
    }
    bool Forward(const TWorkItem* w, const std::vector<float>& lt) const
    {
        if (TotalFloat(w, lt) != 0.0f)
            return false;
        const auto out = From(w->NextNode());
        return out.empty() || std::any_of(out.begin(), out.end(), [&](auto* o) { return Forward(o, lt); });
    }
    bool Backward(const TWorkItem* w, const std::vector<float>& lt) const
    {
        if (TotalFloat(w, lt) != 0.0f)
            return false;
        const auto in = Into(w->PriorNode());
        return in.empty() || std::any_of(in.begin(), in.end(), [&](auto* i) { return Backward(i, lt); });
    }
    bool HasNoPathTo(int a, int b) const
    {
        for (const TWorkItem* w : From(b))
            if (w->NextNode() == a || !HasNoPathTo(a, w->NextNode()))
                return false;
        return true;
    }
    bool IsPredecessor(const TNodeItem* node, const TNodeItem* other) const
    {
        for (const TWorkItem* w : Into(node->NewID())) {
            const TNodeItem* s = Node(w->PriorNode());
            if (s == other || IsPredecessor(s, other))
                return true;
        }
        return false;
    }
    // Whether q may stand before r in a group of equal earliest time.
    bool MayPrecede(const TNodeItem* q, const TNodeItem* r) const
    {
        return !IsPredecessor(q, r) && (q->Offset() <= r->Offset() || IsPredecessor(r, q));
    }
};

} // namespace

// Random small acyclic networks: every time, float, critical flag and path
// answer equals that of the plain rules, and the node order meets the
// ordering rules wherever some order of a group can.
TEST(NodeOrder, MatchesThePlainRulesOnRandomNetworks)
{
    std::mt19937 random(20261210);
    const auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    const float durations[] = {0.0f, 0.5f, 1.0f, 2.0f, 3.0f};
    for (int round = 0; round < 400; ++round) {
        RecordingNetwork net;
        const int nodes = 2 + pick(6);
        AddNodes(net, nodes);
        for (int i = 1; i < nodes; ++i)
            if (pick(3) == 0)
                net.Nodes().Items(i)->SetOffset(0.5f * float(pick(3)));
        // A random precedence order of the NewIDs, node 1 first.
            std::vector<int> ids;
        for (int id = 2; id <= nodes; ++id)
            ids.push_back(id);
        std::shuffle(ids.begin(), ids.end(), random);
        ids.insert(ids.begin(), 1);
        net.Works().BeginUpdate();
        const int works = 1 + pick(10);
        for (int k = 0; k < works; ++k) {
            const int a = pick(nodes - 1);
            const int b = a + 1 + pick(nodes - 1 - a);
            TWorkItem& work = net.Works().Add();
            work.SetPriorNode(ids[static_cast<std::size_t>(a)]);
            work.SetNextNode(ids[static_cast<std::size_t>(b)]);
            work.SetContinueTime(durations[pick(5)]);
            work.SetDiapause(0.5f * float(pick(2)));
            work.SetParallelTime(std::min(work.ContinueTime() + work.Diapause(), 0.5f * float(pick(2))));
        }
        net.Works().EndUpdate();

        const Reference ref{net};
        const std::vector<float> lt = ref.Latest();
        for (int i = 0; i < nodes; ++i) {
            const TNodeItem* node = net.Nodes().Items(i);
            ASSERT_EQ(net.GetNodeEarliest(node), ref.Earliest(node)) << "round " << round;
            ASSERT_EQ(net.GetNodeLatest(node), lt[static_cast<std::size_t>(i)]) << "round " << round;
            for (int j = 0; j < nodes; ++j) {
                const TNodeItem* other = net.Nodes().Items(j);
                ASSERT_EQ(net.IsPredecessor(node, other), ref.IsPredecessor(node, other)) << "round " << round;
                ASSERT_EQ(net.HasNoPathTo(node->NewID(), other->NewID()),
                          ref.HasNoPathTo(node->NewID(), other->NewID()))
                    << "round " << round;
            }
        }
        for (int w = 0; w < net.Works().Count(); ++w) {
            const TWorkItem* work = net.Works().Items(w);
            ASSERT_EQ(net.IsKeyWork(*work), ref.Forward(work, lt) && ref.Backward(work, lt)) << "round " << round;
        }

        // Each group of equal earliest time, when some order of it meets
        // the rules, is in such an order.
        for (int i = 0; i < nodes;) {
            int j = i + 1;
            while (j < nodes && net.GetNodeEarliest(net.Nodes().Items(j)) == net.GetNodeEarliest(net.Nodes().Items(i)))
                ++j;
            std::vector<const TNodeItem*> group;
            for (int k = i; k < j; ++k)
                group.push_back(net.Nodes().Items(k));
            const auto valid = [&](const std::vector<const TNodeItem*>& g) {
                for (std::size_t x = 0; x < g.size(); ++x)
                    for (std::size_t y = x + 1; y < g.size(); ++y)
                        if (!ref.MayPrecede(g[x], g[y]))
                            return false;
                return true;
            };
            std::vector<const TNodeItem*> trial = group;
            std::sort(trial.begin(), trial.end());
            bool possible = false;
            do
                possible = possible || valid(trial);
            while (!possible && std::next_permutation(trial.begin(), trial.end()));
            if (possible) {
                EXPECT_TRUE(valid(group)) << "round " << round;
            }
            i = j;
        }
    }
}

namespace {

// Adds the works given as (start, end, duration, overlap) in one
// recomputation.
void AddWorks(TVYRNetworkAddNodeWork& net, const std::vector<WorkSpec>& specs)
{
    net.Works().BeginUpdate();
    for (const WorkSpec& spec : specs) {
        TWorkItem& work = net.Works().Add();
        work.SetPriorNode(spec.prior);
        work.SetNextNode(spec.next);
        work.SetContinueTime(spec.duration);
        work.SetParallelTime(spec.overlap);
        work.SetDiapause(spec.interval);
    }
    net.Works().EndUpdate();
}

} // namespace

// Every work a dummy, so every node has time 0: 1->2, 1->3, 3->4, then 1->5
// up to the last node; node 4 has the smaller Offset. 3 reaches 4 and 4 must
// come before 2, so 3 does too, whatever the size of the group.
TEST(NodeOrder, LargeGroupsFollowTheSameRule)
{
    for (const int count : {104, 2104}) {
        RecordingNetwork net;
        AddNodes(net, count);
        net.Nodes().Items(3)->SetOffset(-1.0f);
        std::vector<WorkSpec> specs{{1, 2, 0}, {1, 3, 0}, {3, 4, 0}};
        for (int id = 5; id <= count; ++id)
            specs.push_back({1, id, 0});
        AddWorks(net, specs);
        std::vector<int> expected{1, 3, 4, 2};
        for (int id = 5; id <= count; ++id)
            expected.push_back(id);
        EXPECT_EQ(NodeOrder(net), expected) << count << " nodes";
    }
}

// Node 2 reaches node 4 through node 3, whose time is later; the overlap of
// 3->4 brings node 4 back to time 0. Linked through a later node, 2 still
// comes before 4 despite 4's smaller Offset.
TEST(NodeOrder, ChainsThroughAWorkRunningBackInTimeCount)
{
    RecordingNetwork net;
    AddNodes(net, 4);
    net.Nodes().Items(3)->SetOffset(-1.0f);
    AddWorks(net, {{1, 2, 0}, {2, 3, 4}, {3, 4, 1, 6}});
    EXPECT_EQ(NodeOrder(net), (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(net.GetNodeEarliest(net.Nodes().FindByNewID(4)), 0.0f);
    // One pass from the order by NewID, where every work runs forward,
    // already sees the work running back.
    net.Nodes().Move(3, 2);
    ASSERT_EQ(NodeOrder(net), (std::vector<int>{1, 2, 3, 4}));
    net.CalcEarliestTimes();
    net.SortNodes();
    EXPECT_EQ(NodeOrder(net), (std::vector<int>{1, 2, 4, 3}));

    // Without the chain, the smaller Offset comes first.
    RecordingNetwork apart;
    AddNodes(apart, 4);
    apart.Nodes().Items(3)->SetOffset(-1.0f);
    AddWorks(apart, {{1, 2, 0}, {1, 3, 4}, {3, 4, 1, 6}});
    EXPECT_EQ(NodeOrder(apart), (std::vector<int>{1, 4, 2, 3}));
}

// A long chain in which the middle work overlaps its predecessor by more
// than the time so far: every later node falls back and many meet the time
// of an earlier node, which reaches them. Each such pair keeps the earlier
// node first, and the whole network is sorted by time.
TEST(NodeOrder, LongChainWithAWorkRunningBackInTime)
{
    const int count = 20000;
    RecordingNetwork net;
    AddNodes(net, count);
    std::vector<WorkSpec> specs;
    for (int id = 1; id < count; ++id)
        specs.push_back({id, id + 1, float(1 + id % 3), id == count / 2 ? float(3 * count) : 0.0f});
    AddWorks(net, specs);
    int pairs = 0;
    for (int i = 1; i < count; ++i) {
        const TNodeItem* before = net.Nodes().Items(i - 1);
        const TNodeItem* after = net.Nodes().Items(i);
        ASSERT_LE(net.GetNodeEarliest(before), net.GetNodeEarliest(after)) << i;
        if (net.GetNodeEarliest(before) == net.GetNodeEarliest(after)) {
            ++pairs;
            ASSERT_LT(before->NewID(), after->NewID()) << i;
        }
    }
    EXPECT_GT(pairs, 1000);
}

// A chain of dummies is one group of time 0 whose links decide the whole
// order, whatever the offsets; a node that only the first reaches comes
// before every node of a larger offset. A long chain is ordered in a
// moment (every member reaches all after it, which is never listed).
TEST(NodeOrder, DummyChainsWithDifferingOffsets)
{
    for (const int count : {50, 20000}) {
        for (const bool branch : {false, true}) {
            if (branch && count > 50)
                continue;
            RecordingNetwork net;
            AddNodes(net, count + 1);
            for (int i = 0; i < count; ++i)
                net.Nodes().Items(i)->SetOffset(0.5f * float(i % 3));
            net.Nodes().Items(count)->SetOffset(branch ? -1.0f : 2.0f);
            std::vector<WorkSpec> specs;
            for (int id = 1; id < count; ++id)
                specs.push_back({id, id + 1, 0});
            specs.push_back({branch ? 1 : count, count + 1, 0});
            AddWorks(net, specs);
            std::vector<int> expected(static_cast<std::size_t>(count));
            std::iota(expected.begin(), expected.end(), 1);
            expected.insert(branch ? expected.begin() + 1 : expected.end(), count + 1);
            EXPECT_EQ(NodeOrder(net), expected) << count << " nodes" << (branch ? ", branch" : "");
            EXPECT_EQ(net.GetTotalTime(), 0.0f);
        }
    }
}

// Whatever the times, a member of a group of equal time reaches another
// either inside the group or through a work to an earlier time; the search
// finds exactly the members that reach each member along the works (a walk
// over the whole network per member), both from the leaving lists and from
// the entering lists alone.
TEST(NodeOrder, ReachThroughFallsFindsEveryReachingMember)
{
    std::mt19937 random(1414);
    const auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    for (int round = 0; round < 200; ++round) {
        RecordingNetwork net;
        const int count = 2 + pick(round % 10 == 0 ? 150 : 20);
        AddNodes(net, count);
        std::vector<WorkSpec> specs;
        for (int w = 0; w < count + pick(2 * count); ++w)
            specs.push_back({1 + pick(count), 1 + pick(count + 1), 1.0f});
        AddWorks(net, specs);
        NetworkIndex index;
        index.Refresh(net.Nodes(), net.Works());
        ScheduleGraph graph;
        graph.Refresh(index, net.Nodes(), net.Works());
        const IndexedLinks& links = graph.Links();

        // Random times by node index; the groups hold equal times.
        std::vector<float> times;
        for (int k = 0; k < count; ++k)
            times.push_back(float(pick(1 + count / 4)));
        std::vector<int> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return times[static_cast<std::size_t>(a)] < times[static_cast<std::size_t>(b)];
        });
        std::vector<std::pair<std::size_t, std::size_t>> groups;
        for (std::size_t i = 0, j = 0; i < order.size(); i = j) {
            for (j = i + 1; j < order.size() && times[static_cast<std::size_t>(order[j])]
                     == times[static_cast<std::size_t>(order[i])];
                 ++j) {
            }
            if (j - i >= 2)
                groups.emplace_back(i, j);
        }

        std::vector<std::vector<char>> reaches(static_cast<std::size_t>(count));
        for (int from = 0; from < count; ++from) {
            std::vector<char>& seen = reaches[static_cast<std::size_t>(from)];
            seen.assign(static_cast<std::size_t>(count), 0);
            std::vector<int> pending{from};
            while (!pending.empty()) {
                const int node = pending.back();
                pending.pop_back();
                for (int to = 0; to < count; ++to)
                    for (const IndexedLinks::Link& link : links.Into(to))
                        if (link.other == node && !seen[static_cast<std::size_t>(to)]) {
                            seen[static_cast<std::size_t>(to)] = 1;
                            pending.push_back(to);
                        }
            }
        }
        for (const bool uniqueNodes : {true, false}) {
            ReachThroughFalls search;
            const auto& found = search.Find(links, uniqueNodes, times, order, groups);
            for (const auto& [begin, end] : groups)
                for (std::size_t m = begin; m < end; ++m) {
                    const int member = order[m];
                    std::vector<int> expected;
                    for (std::size_t o = begin; o < end; ++o)
                        if (order[o] != member
                            && reaches[static_cast<std::size_t>(order[o])][static_cast<std::size_t>(member)])
                            expected.push_back(order[o]);
                    std::vector<int> got = found[static_cast<std::size_t>(member)];
                    std::sort(expected.begin(), expected.end());
                    std::sort(got.begin(), got.end());
                    ASSERT_EQ(got, expected) << "round " << round << ", node " << member;
                }
        }
    }
}

namespace {

// The node order the rules give from the current order and earliest times:
// a stable sort by time, then every group of equal times by the general
// order, each member given every other member that reaches it (a walk over
// the whole network per member). For networks with a work falling back in
// time, where every group is ordered from its members' reach.
std::vector<const TNodeItem*> OrderByTheGeneralRule(const TVYRNetworkAddNodeWork& net)
{
    const int count = net.Nodes().Count();
    std::vector<std::vector<int>> leaving(static_cast<std::size_t>(count));
    for (int w = 0; w < net.Works().Count(); ++w) {
        const TWorkItem& work = *net.Works().Items(w);
        const TNodeItem* a = net.Nodes().FindByNewID(work.PriorNode());
        const TNodeItem* b = net.Nodes().FindByNewID(work.NextNode());
        if (a && b)
            leaving[static_cast<std::size_t>(a->Index())].push_back(b->Index());
    }
    const auto timeOf = [&](int k) { return net.GetNodeEarliest(net.Nodes().Items(k)); };
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return timeOf(a) < timeOf(b); });
    std::vector<char> reached(static_cast<std::size_t>(count));
    for (std::size_t i = 0, j = 0; i < order.size(); i = j) {
        for (j = i + 1; j < order.size() && timeOf(order[j]) == timeOf(order[i]); ++j) {
        }
        std::vector<float> offsets;
        std::vector<std::vector<int>> reachedBy(j - i);
        for (std::size_t m = i; m < j; ++m) {
            offsets.push_back(net.Nodes().Items(order[m])->Offset());
            std::fill(reached.begin(), reached.end(), 0);
            std::vector<int> pending{order[m]};
            while (!pending.empty()) {
                const int node = pending.back();
                pending.pop_back();
                for (const int next : leaving[static_cast<std::size_t>(node)])
                    if (!reached[static_cast<std::size_t>(next)]) {
                        reached[static_cast<std::size_t>(next)] = 1;
                        pending.push_back(next);
                    }
            }
            for (std::size_t o = i; o < j; ++o)
                if (o != m && reached[static_cast<std::size_t>(order[o])])
                    reachedBy[o - i].push_back(static_cast<int>(m - i));
        }
        bool rulesMet = true;
        const std::vector<int> placed = OrderEqualTimeGroup(offsets, reachedBy, rulesMet);
        std::vector<int> group(order.begin() + static_cast<std::ptrdiff_t>(i), order.begin() + static_cast<std::ptrdiff_t>(j));
        for (std::size_t m = 0; m < group.size(); ++m)
            order[i + m] = group[static_cast<std::size_t>(placed[m])];
    }
    std::vector<const TNodeItem*> nodes;
    for (const int k : order)
        nodes.push_back(net.Nodes().Items(k));
    return nodes;
}

std::vector<const TNodeItem*> Nodes(const TVYRNetworkAddNodeWork& net)
{
    std::vector<const TNodeItem*> nodes;
    for (int i = 0; i < net.Nodes().Count(); ++i)
        nodes.push_back(net.Nodes().Items(i));
    return nodes;
}

} // namespace

// On generated networks with works falling back in time and cycles, the
// sort (with its shortcuts for pairs, groups in order and reach through the
// falls) gives the order of the general rule, from orders shuffled by
// random moves and times changed by random edits.
TEST(NodeOrder, SortGivesTheGeneralOrderOnNetworksWithFallsAndCycles)
{
    std::mt19937 random(1402);
    const auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    for (const generated::NamedShape& c : generated::FallingAndCyclicNetworks()) {
        generated::SilentServices services;
        auto net = generated::BuildNetwork<TVYRNetworkAddNodeWork>(services, c.shape);
        int reordered = 0;
        for (int step = 0; step < 30; ++step) {
            net->Works().BeginUpdate();
            for (int k = 0; k < 1 + pick(3); ++k)
                net->Works().Items(pick(net->Works().Count()))->SetContinueTime(0.5f * float(pick(6)));
            for (int k = 0; k < pick(4); ++k)
                net->Nodes().Move(pick(net->Nodes().Count()), pick(net->Nodes().Count()));
            net->CalcEarliestTimes();
            bool falls = false;
            for (int w = 0; w < net->Works().Count() && !falls; ++w) {
                const TWorkItem& work = *net->Works().Items(w);
                falls = net->GetNodeEarliest(net->Nodes().FindByNewID(work.NextNode()))
                    < net->GetNodeEarliest(net->Nodes().FindByNewID(work.PriorNode()));
            }
            ASSERT_TRUE(falls) << c.name << ", step " << step;
            const std::vector<const TNodeItem*> expected = OrderByTheGeneralRule(*net);
            std::vector<const TNodeItem*> byTime = Nodes(*net);
            std::stable_sort(byTime.begin(), byTime.end(), [&](const TNodeItem* a, const TNodeItem* b) {
                return net->GetNodeEarliest(a) < net->GetNodeEarliest(b);
            });
            reordered += byTime != expected;
            net->SortNodes();
            ASSERT_EQ(Nodes(*net), expected) << c.name << ", step " << step;
            net->Works().EndUpdate();
        }
        EXPECT_GT(reordered, 0) << c.name;
    }
}
