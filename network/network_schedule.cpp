// The schedule of the first control layer: earliest and latest event times,
// the times and floats of works, critical works, the cycle test and the
// node and work orders. Every walk over the network visits each node or work
// once and keeps its own stack, so long chains and grids cost linear time;
// works that name a missing node are left out, and a cycle (possible only in
// data from a file) is broken where a walk meets it.
#include "network/network_add_node_work.h"
#include "network/node_order.h"
#include "network/reach_through_falls.h"

#include "platform/numbers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace network {

namespace {

enum : char { unvisited, visiting, visited };

float WorkSpan(float start, const TWorkItem& work)
{
    return start + work.ContinueTime() - work.ParallelTime() + work.Diapause();
}

float WorkSpan(float start, const IndexedLinks::Link& link)
{
    return start + link.duration - link.overlap + link.interval;
}

} // namespace

float TVYRNetworkAddNodeWork::TimeAt(const std::vector<float>& times, const TNodeItem* node)
{
    if (!node)
        return 0.0f;
    const auto index = static_cast<std::size_t>(node->Index());
    return index < times.size() ? times[index] : 0.0f;
}

float TVYRNetworkAddNodeWork::GetTotalTime() const
{
    if (m_nodes->Count() == 0)
        return 0.0f;
    return TimeAt(m_earliestTimes, m_nodes->Items(m_nodes->Count() - 1));
}

float TVYRNetworkAddNodeWork::GetNodeEarliest(const TNodeItem* node) const { return TimeAt(m_earliestTimes, node); }

float TVYRNetworkAddNodeWork::GetNodeLatest(const TNodeItem* node) const { return TimeAt(m_latestTimes, node); }

float TVYRNetworkAddNodeWork::GetWorkEarliestStart(const TWorkItem& work) const
{
    return TimeAt(m_earliestTimes, PriorNodeOf(work)) - work.ParallelTime() + work.Diapause();
}

float TVYRNetworkAddNodeWork::GetWorkEarliestFinish(const TWorkItem& work) const
{
    return WorkSpan(TimeAt(m_earliestTimes, PriorNodeOf(work)), work);
}

float TVYRNetworkAddNodeWork::GetWorkLatestStart(const TWorkItem& work) const
{
    return TimeAt(m_latestTimes, NextNodeOf(work)) - work.ContinueTime();
}

float TVYRNetworkAddNodeWork::GetWorkLatestFinish(const TWorkItem& work) const
{
    return TimeAt(m_latestTimes, NextNodeOf(work));
}

float TVYRNetworkAddNodeWork::GetWorkFreeTime(const TWorkItem& work) const
{
    return TimeAt(m_earliestTimes, NextNodeOf(work)) - TimeAt(m_earliestTimes, PriorNodeOf(work)) - work.ContinueTime();
}

float TVYRNetworkAddNodeWork::GetWorkTotalFloat(const TWorkItem& work) const
{
    return TimeAt(m_latestTimes, NextNodeOf(work)) - TimeAt(m_latestTimes, PriorNodeOf(work)) - work.ContinueTime()
        - work.Diapause();
}

void TVYRNetworkAddNodeWork::CalcEarliestTimes()
{
    const int count = m_nodes->Count();
    ++m_timesRevision;
    m_timesFollowLinks = true;
    if (count == 0) {
        m_earliestTimes.clear();
        m_earliestBasis.valid = false;
        return;
    }
    const ScheduleGraph& graph = Graph();
    const IndexedLinks& links = graph.Links();
    m_risingSeen.known = false;
    if (links.Forward()) {
        if (!UpdateEarliestTimes()) {
            // Every start node comes before the end node: one pass in
            // order, which also sees whether every work rises in time.
            m_earliestTimes.assign(static_cast<std::size_t>(count), -1.0f);
            m_earliestTimes[0] = 0.0f;
            float* times = m_earliestTimes.data();
            m_fallsInto.assign(static_cast<std::size_t>(count), 0);
            m_fallingNodes = 0;
            for (int k = 1; k < count; ++k) {
                float result = 0.0f;
                const auto into = links.IntoBeforeLoop(k);
                for (const IndexedLinks::Link& link : into) {
                    if (link.other < 0)
                        continue;
                    const float v = WorkSpan(times[link.other], link);
                    if (result < v)
                        result = v;
                }
                times[k] = result;
                bool rising = true;
                for (const IndexedLinks::Link& link : into)
                    rising &= link.other < 0 || result >= times[link.other];
                if (!rising) {
                    m_fallsInto[static_cast<std::size_t>(graph.SlotOfIndex(k))] = 1;
                    ++m_fallingNodes;
                }
            }
        }
        m_earliestBasis = {true, graph.ChangeEpoch(), m_nodes->OrderRevision(), graph.ChangeCount(),
                           graph.SlotOfIndex(0), 0};
        m_risingSeen = {true, m_fallingNodes == 0, m_timesRevision, m_nodes->OrderRevision(),
                        m_works->StructureRevision()};
        return;
    }
    m_earliestBasis.valid = false;
    m_earliestTimes.assign(static_cast<std::size_t>(count), -1.0f);
    m_earliestTimes[0] = 0.0f;
    std::vector<char>& state = m_earliestState; // by index
    state.assign(static_cast<std::size_t>(count), unvisited);
    state[0] = visited;

    // A node's time is the largest end of its entering works, after the
    // times of their start nodes; a work from the node to itself ends the
    // scan of its entering works. Where no such work ends a scan and the
    // walk meets no cycle, every time is the same in any node order that
    // keeps the first node.
    bool orderFree = true;
    std::vector<EarliestFrame>& stack = m_earliestStack;
    stack.clear();
    for (int root = 1; root < count; ++root) {
        if (state[static_cast<std::size_t>(root)] == visited)
            continue;
        // In a sorted network every start node is done already.
        float result = 0.0f;
        bool ready = true;
        for (const IndexedLinks::Link& link : links.IntoBeforeLoop(root)) {
            if (link.other < 0)
                continue;
            if (state[static_cast<std::size_t>(link.other)] != visited) {
                ready = false;
                break;
            }
            const float v = WorkSpan(m_earliestTimes[static_cast<std::size_t>(link.other)], link);
            if (result < v)
                result = v;
        }
        if (ready) {
            m_earliestTimes[static_cast<std::size_t>(root)] = result;
            state[static_cast<std::size_t>(root)] = visited;
            orderFree = orderFree && links.IntoBeforeLoop(root).size() == links.Into(root).size();
            continue;
        }
        state[static_cast<std::size_t>(root)] = visiting;
        stack.push_back({root, 0, 0.0f});
        while (!stack.empty()) {
            EarliestFrame& frame = stack.back();
            const auto into = links.IntoBeforeLoop(frame.node);
            int descend = -1;
            for (; frame.next < into.size(); ++frame.next) {
                const IndexedLinks::Link& link = into[frame.next];
                if (link.other < 0)
                    continue;
                const char startState = state[static_cast<std::size_t>(link.other)];
                if (startState == unvisited) {
                    descend = link.other;
                    break;
                }
                if (startState == visited) {
                    const float v = WorkSpan(m_earliestTimes[static_cast<std::size_t>(link.other)], link);
                    if (frame.result < v)
                        frame.result = v;
                } else {
                    orderFree = false;
                }
            }
            if (descend >= 0) {
                state[static_cast<std::size_t>(descend)] = visiting;
                stack.push_back({descend, 0, 0.0f});
                continue;
            }
            m_earliestTimes[static_cast<std::size_t>(frame.node)] = frame.result;
            state[static_cast<std::size_t>(frame.node)] = visited;
            orderFree = orderFree && into.size() == links.Into(frame.node).size();
            stack.pop_back();
        }
    }
    m_timesFollowLinks = orderFree;
}

void TVYRNetworkAddNodeWork::BeginPending(int count)
{
    // Every visit clears its mark, so the marks are all clear between
    // updates.
    if (m_pending.size() != static_cast<std::size_t>(count))
        m_pending.assign(static_cast<std::size_t>(count), 0);
    m_pendingLow = count;
    m_pendingHigh = -1;
}

bool TVYRNetworkAddNodeWork::TooManyVisited(int visited)
{
    // Beyond an eighth of the nodes a whole pass in order costs less than
    // the visits still to come; it leaves the marks clear.
    if (visited * 8 <= static_cast<int>(m_pending.size()))
        return false;
    std::fill(m_pending.begin() + m_pendingLow, m_pending.begin() + m_pendingHigh + 1, 0);
    return true;
}

void TVYRNetworkAddNodeWork::Push(int index)
{
    m_pending[static_cast<std::size_t>(index)] = 1;
    m_pendingLow = std::min(m_pendingLow, index);
    m_pendingHigh = std::max(m_pendingHigh, index);
}

bool TVYRNetworkAddNodeWork::UpdateEarliestTimes()
{
    // A node's time changes only when the values of a work entering it or
    // the time of a start node did. Every work runs forward, so a sweep in
    // ascending order visits the marked nodes each after all its start
    // nodes, and marks only nodes ahead of it.
    const ScheduleGraph& graph = Graph();
    const IndexedLinks& links = graph.Links();
    const int count = m_nodes->Count();
    const PassBasis& basis = m_earliestBasis;
    if (!basis.valid || basis.epoch != graph.ChangeEpoch() || basis.nodeOrder != m_nodes->OrderRevision()
        || m_earliestTimes.size() != static_cast<std::size_t>(count)
        || m_fallsInto.size() != static_cast<std::size_t>(count) || graph.SlotOfIndex(0) != basis.firstSlot)
        return false;
    BeginPending(count);
    for (const ScheduleGraph::ValueChange& change : graph.ChangesFrom(basis.logged))
        if (change.nextSlot >= 0)
            Push(graph.IndexOfSlot(change.nextSlot));
    float* times = m_earliestTimes.data();
    char* pending = m_pending.data();
    int visited = 0;
    for (int k = m_pendingLow; k <= m_pendingHigh; ++k) {
        if (!pending[k])
            continue;
        if (TooManyVisited(++visited))
            return false;
        pending[k] = 0;
        if (k == 0)
            continue;
        float result = 0.0f;
        const auto into = links.IntoBeforeLoop(k);
        for (const IndexedLinks::Link& link : into) {
            if (link.other < 0)
                continue;
            const float v = WorkSpan(times[link.other], link);
            if (result < v)
                result = v;
        }
        bool rising = true;
        for (const IndexedLinks::Link& link : into)
            rising &= link.other < 0 || result >= times[link.other];
        char& falls = m_fallsInto[static_cast<std::size_t>(graph.SlotOfIndex(k))];
        m_fallingNodes += int{!rising} - int{falls};
        falls = !rising;
        if (std::bit_cast<std::uint32_t>(result) == std::bit_cast<std::uint32_t>(times[k]))
            continue;
        times[k] = result;
        for (const IndexedLinks::Link& link : links.From(k))
            if (link.other >= 0)
                Push(link.other);
    }
    return true;
}

bool TVYRNetworkAddNodeWork::UpdateLatestTimes(float total)
{
    // A node's latest time and chainOn change only when the values of a
    // work leaving it or the latest time or chainOn of an end node did; the
    // sweep runs in descending order, each node after all its end nodes.
    const ScheduleGraph& graph = Graph();
    const IndexedLinks& links = graph.Links();
    const int count = m_nodes->Count();
    const PassBasis& basis = m_latestBasis;
    if (!basis.valid || basis.epoch != graph.ChangeEpoch() || basis.nodeOrder != m_nodes->OrderRevision()
        || basis.totalBits != std::bit_cast<std::uint32_t>(total)
        || m_latestTimes.size() != static_cast<std::size_t>(count)
        || m_keyFlags.chainOn.size() != static_cast<std::size_t>(count))
        return false;
    BeginPending(count);
    for (const ScheduleGraph::ValueChange& change : graph.ChangesFrom(basis.logged))
        if (change.priorSlot >= 0)
            Push(graph.IndexOfSlot(change.priorSlot));
    float* latest = m_latestTimes.data();
    char* chainOn = m_keyFlags.chainOn.data();
    char* pending = m_pending.data();
    int visited = 0;
    for (int k = m_pendingHigh; k >= m_pendingLow; --k) {
        if (!pending[k])
            continue;
        if (TooManyVisited(++visited))
            return false;
        pending[k] = 0;
        const auto from = links.From(k);
        bool changed = false;
        if (k < count - 1) {
            float v = total;
            for (const IndexedLinks::Link& link : from) {
                if (link.other < 0)
                    continue;
                const float c = latest[link.other] - link.duration + link.overlap - link.interval;
                if (v > c)
                    v = c;
            }
            changed = std::bit_cast<std::uint32_t>(v) != std::bit_cast<std::uint32_t>(latest[k]);
            latest[k] = v;
        }
        const float start = latest[k];
        bool anyWork = false;
        bool found = false;
        for (const IndexedLinks::Link& link : from) {
            if (link.other < 0)
                continue;
            anyWork = true;
            found |= (latest[link.other] - start - link.duration - link.interval == 0.0f)
                & (chainOn[link.other] != 0);
        }
        const char on = found || !anyWork;
        changed = changed || on != chainOn[k];
        chainOn[k] = on;
        if (!changed)
            continue;
        for (const IndexedLinks::Link& link : links.Into(k))
            if (link.other >= 0)
                Push(link.other);
    }
    return true;
}

void TVYRNetworkAddNodeWork::CalcLatestTimes()
{
    const int count = m_nodes->Count();
    m_latestTimes.resize(static_cast<std::size_t>(count), 0.0f);
    ++m_timesRevision;
    if (count == 0)
        return;
    const ScheduleGraph& graph = Graph();
    const IndexedLinks& links = graph.Links();
    const float total = GetTotalTime();
    m_latestTimes[static_cast<std::size_t>(count) - 1] = total;
    m_chainOnKept = false;
    if (links.Forward() && UpdateLatestTimes(total)) {
        m_chainOnKept = true;
    } else if (links.Forward()) {
        // The ends of a node's works are done already, so the chains of
        // critical works onwards are found on the way (see
        // KeyWorksInNodeOrder), while the node's lists are at hand.
        float* latest = m_latestTimes.data();
        m_keyFlags.chainOn.resize(static_cast<std::size_t>(count));
        char* chainOn = m_keyFlags.chainOn.data();
        for (int k = count - 1; k >= 0; --k) {
            const auto from = links.From(k);
            if (k < count - 1) {
                float v = total;
                for (const IndexedLinks::Link& link : from) {
                    if (link.other < 0)
                        continue;
                    const float c = latest[link.other] - link.duration + link.overlap - link.interval;
                    if (v > c)
                        v = c;
                }
                latest[k] = v;
            }
            const float start = latest[k];
            bool anyWork = false;
            bool found = false;
            for (const IndexedLinks::Link& link : from) {
                if (link.other < 0)
                    continue;
                anyWork = true;
                found |= (latest[link.other] - start - link.duration - link.interval == 0.0f)
                    & (chainOn[link.other] != 0);
            }
            chainOn[k] = found || !anyWork;
        }
        m_chainOnKept = true;
    }
    if (m_chainOnKept) {
        const std::uint64_t revisions[4]
            = {m_nodes->OrderRevision(), m_works->StructureRevision(), m_works->ValueRevision(), m_timesRevision};
        std::copy(std::begin(revisions), std::end(revisions), std::begin(m_chainOnRevisions));
        m_latestBasis = {true, graph.ChangeEpoch(), m_nodes->OrderRevision(), graph.ChangeCount(), 0,
                         std::bit_cast<std::uint32_t>(total)};
        return;
    }
    m_latestBasis.valid = false;
    for (int k = count - 2; k >= 0; --k) {
        float v = total;
        for (const IndexedLinks::Link& link : links.From(k)) {
            if (link.other < 0)
                continue;
            const float c
                = m_latestTimes[static_cast<std::size_t>(link.other)] - link.duration + link.overlap - link.interval;
            if (v > c)
                v = c;
        }
        m_latestTimes[static_cast<std::size_t>(k)] = v;
    }
}

void TVYRNetworkAddNodeWork::ComputeKeyWorks() const
{
    // Flags by node index do not depend on the order of the works.
    const std::uint64_t revisions[5] = {m_nodes->OrderRevision(), m_works->StructureRevision(),
                                        m_works->OrderRevision(), m_works->ValueRevision(), m_timesRevision};
    if (m_keyWorksValid) {
        bool same = true;
        for (std::size_t r = 0; r < std::size(revisions) && same; ++r)
            same = revisions[r] == m_keyRevisions[r] || (r == 2 && m_keyFlags.byIndex);
        if (same)
            return;
    }
    Graph();
    m_keyFlags.byIndex = !NodeLookup().HasDuplicateNewIDs() && KeyWorksInNodeOrder();
    if (!m_keyFlags.byIndex)
        KeyWorksDepthFirst();
    std::copy(std::begin(revisions), std::end(revisions), std::begin(m_keyRevisions));
    m_keyWorksValid = true;
}

float TVYRNetworkAddNodeWork::LatestAt(int index) const
{
    const auto i = static_cast<std::size_t>(index);
    return i < m_latestTimes.size() ? m_latestTimes[i] : 0.0f;
}

// A work counts only when both of its nodes exist; it is on a chain of
// critical works when its total float is exactly 0. chainOn: a chain of
// zero-float works leads from the node onwards to a node without leaving
// works; chainBack: back to a node without entering works.
//
// When every work runs from an earlier to a later node, one pass against the
// node order and one along it find both, by node index; false (and nothing
// is kept) when a work runs otherwise.
bool TVYRNetworkAddNodeWork::KeyWorksInNodeOrder() const
{
    const IndexedLinks& links = Graph().Links();
    KeyFlags& flags = m_keyFlags;
    const auto count = static_cast<std::size_t>(m_nodes->Count());
    // Nodes without a latest time yet count as 0.
    const std::vector<float>* times = &m_latestTimes;
    if (m_latestTimes.size() < count) {
        m_paddedTimes.assign(count, 0.0f);
        std::copy(m_latestTimes.begin(), m_latestTimes.end(), m_paddedTimes.begin());
        times = &m_paddedTimes;
    }
    const float* latest = times->data();
    // Given no duplicate NewIDs, as the caller checks.
    if (!links.Forward())
        return false;
    const std::uint64_t revisions[4]
        = {m_nodes->OrderRevision(), m_works->StructureRevision(), m_works->ValueRevision(), m_timesRevision};
    const bool chainOnKept = m_chainOnKept && times == &m_latestTimes
        && std::equal(std::begin(revisions), std::end(revisions), std::begin(m_chainOnRevisions));
    if (!chainOnKept) {
        flags.chainOn.assign(count, 1);
        m_latestBasis.valid = false;
    }
    flags.chainBack.assign(count, 1);
    char* chainOn = flags.chainOn.data();
    char* chainBack = flags.chainBack.data();
    // Without branches on the floats, which follow no pattern.
    for (std::size_t k = chainOnKept ? 0 : count; k-- > 0;) {
        const float start = latest[k];
        bool anyWork = false;
        bool found = false;
        for (const IndexedLinks::Link& link : links.From(static_cast<int>(k))) {
            if (link.other < 0)
                continue;
            const auto end = static_cast<std::size_t>(link.other);
            anyWork = true;
            found |= (latest[end] - start - link.duration - link.interval == 0.0f) & (chainOn[end] != 0);
        }
        chainOn[k] = found || !anyWork;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const float end = latest[k];
        bool anyWork = false;
        bool found = false;
        for (const IndexedLinks::Link& link : links.Into(static_cast<int>(k))) {
            if (link.other < 0)
                continue;
            const auto start = static_cast<std::size_t>(link.other);
            anyWork = true;
            found |= (end - latest[start] - link.duration - link.interval == 0.0f) & (chainBack[start] != 0);
        }
        chainBack[k] = found || !anyWork;
    }
    return true;
}

// The same by depth-first walks that break cycles, for any network.
void TVYRNetworkAddNodeWork::KeyWorksDepthFirst() const
{
    m_chainOnKept = false;
    m_latestBasis.valid = false;
    const ScheduleGraph& graph = Graph();
    KeyFlags& flags = m_keyFlags;
    const int workCount = m_works->Count();
    std::vector<char> scheduled(static_cast<std::size_t>(workCount));
    flags.zeroFloat.assign(static_cast<std::size_t>(workCount), 0);
    for (int w = 0; w < workCount; ++w) {
        const int start = graph.PriorSlot(w);
        const int end = graph.NextSlot(w);
        const bool both = start >= 0 && end >= 0;
        scheduled[static_cast<std::size_t>(w)] = both;
        flags.zeroFloat[static_cast<std::size_t>(w)] = both
            && LatestAt(graph.IndexOfSlot(end)) - LatestAt(graph.IndexOfSlot(start)) - graph.Duration(w)
                    - graph.Interval(w)
                == 0.0f;
    }
    const auto chainEnds = [&](bool forward, std::vector<char>& reaches) {
        const auto keyCount = static_cast<std::size_t>(graph.KeyCount());
        std::vector<char> state(keyCount, unvisited);
        reaches.assign(keyCount, 0);
        struct Frame {
            int key;
            std::size_t next;
            bool anyWork;
        };
        std::vector<Frame> stack;
        for (int root = 0; root < graph.KeyCount(); ++root) {
            if (state[static_cast<std::size_t>(root)] != unvisited)
                continue;
            state[static_cast<std::size_t>(root)] = visiting;
            stack.push_back({root, 0, false});
            while (!stack.empty()) {
                Frame& frame = stack.back();
                const auto works = forward ? graph.FromKey(frame.key) : graph.IntoKey(frame.key);
                int descend = -1;
                bool found = false;
                while (frame.next < works.size()) {
                    const int work = works[frame.next];
                    const auto w = static_cast<std::size_t>(work);
                    if (scheduled[w]) {
                        frame.anyWork = true;
                        const int other = forward ? graph.NextKey(work) : graph.PriorKey(work);
                        const char otherState = state[static_cast<std::size_t>(other)];
                        if (flags.zeroFloat[w] && otherState == unvisited) {
                            descend = other;
                            break;
                        }
                        if (flags.zeroFloat[w] && otherState == visited && reaches[static_cast<std::size_t>(other)]) {
                            found = true;
                            break;
                        }
                    }
                    ++frame.next;
                }
                if (descend >= 0) {
                    state[static_cast<std::size_t>(descend)] = visiting;
                    stack.push_back({descend, 0, false});
                    continue;
                }
                const auto done = static_cast<std::size_t>(frame.key);
                reaches[done] = found || !frame.anyWork;
                state[done] = visited;
                stack.pop_back();
            }
        }
    };
    chainEnds(true, flags.chainOn);
    chainEnds(false, flags.chainBack);
}

bool TVYRNetworkAddNodeWork::IsKeyWork(const TWorkItem& work) const
{
    if (&work.Collection() != m_works.get())
        return false;
    ComputeKeyWorks();
    const ScheduleGraph& graph = Graph();
    const int w = work.Index();
    if (!m_keyFlags.byIndex)
        return m_keyFlags.zeroFloat[static_cast<std::size_t>(w)]
            && m_keyFlags.chainOn[static_cast<std::size_t>(graph.NextKey(w))]
            && m_keyFlags.chainBack[static_cast<std::size_t>(graph.PriorKey(w))];
    const int startSlot = graph.PriorSlot(w);
    const int endSlot = graph.NextSlot(w);
    if (startSlot < 0 || endSlot < 0)
        return false;
    const int start = graph.IndexOfSlot(startSlot);
    const int end = graph.IndexOfSlot(endSlot);
    return LatestAt(end) - LatestAt(start) - graph.Duration(w) - graph.Interval(w) == 0.0f
        && m_keyFlags.chainOn[static_cast<std::size_t>(end)] && m_keyFlags.chainBack[static_cast<std::size_t>(start)];
}

bool TVYRNetworkAddNodeWork::HasNoPathTo(int a, int b) const
{
    const NetworkIndex& index = LookupIndex();
    const int from = index.KeyOf(b);
    if (from < 0)
        return true;
    std::vector<char> seen(static_cast<std::size_t>(index.KeyCount()), 0);
    std::vector<int> pending{from};
    seen[static_cast<std::size_t>(from)] = 1;
    while (!pending.empty()) {
        const int key = pending.back();
        pending.pop_back();
        for (const TWorkItem* work : index.WorksFrom(key)) {
            if (work->NextNode() == a)
                return false;
            const int next = NetworkIndex::NextKey(*work);
            if (!seen[static_cast<std::size_t>(next)]) {
                seen[static_cast<std::size_t>(next)] = 1;
                pending.push_back(next);
            }
        }
    }
    return true;
}

bool TVYRNetworkAddNodeWork::IsPredecessor(const TNodeItem* node, const TNodeItem* other) const
{
    if (!node)
        return false;
    const NetworkIndex& index = LookupIndex();
    const int from = index.KeyOf(node->NewID());
    if (from < 0)
        return false;
    std::vector<char> seen(static_cast<std::size_t>(index.KeyCount()), 0);
    std::vector<int> pending{from};
    seen[static_cast<std::size_t>(from)] = 1;
    while (!pending.empty()) {
        const int key = pending.back();
        pending.pop_back();
        for (const TWorkItem* work : index.WorksInto(key)) {
            const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(*work));
            if (!start)
                continue;
            if (start == other)
                return true;
            const int previous = NetworkIndex::PriorKey(*work);
            if (!seen[static_cast<std::size_t>(previous)]) {
                seen[static_cast<std::size_t>(previous)] = 1;
                pending.push_back(previous);
            }
        }
    }
    return false;
}

void TVYRNetworkAddNodeWork::CheckLinks(bool& rising, bool& forward) const
{
    // Each work is listed once at the first node of its start NewID.
    const IndexedLinks& links = Graph().Links();
    rising = forward = true;
    for (int k = 0; k < links.NodeCount() && rising; ++k) {
        if (!links.OwnsFrom(k))
            continue;
        const float start = m_earliestTimes[static_cast<std::size_t>(k)];
        for (const IndexedLinks::Link& link : links.From(k)) {
            if (link.other < 0 || link.other == k)
                continue;
            rising = m_earliestTimes[static_cast<std::size_t>(link.other)] >= start;
            forward = forward && k < link.other;
            if (!rising)
                break;
        }
    }
}

std::vector<std::vector<int>> TVYRNetworkAddNodeWork::ReachingMembers(std::span<const int> members,
                                                                      GroupScratch& scratch) const
{
    // For each member, the members from which a chain of works inside the
    // group leads to it.
    const IndexedLinks& links = Graph().Links();
    std::vector<std::vector<int>> reachedBy(members.size());
    std::vector<int> pending;
    for (std::size_t m = 0; m < members.size(); ++m) {
        const int stamp = ++scratch.stamp;
        pending.assign(1, members[m]);
        scratch.seen[static_cast<std::size_t>(members[m])] = stamp;
        while (!pending.empty()) {
            const int node = pending.back();
            pending.pop_back();
            for (const IndexedLinks::Link& link : links.Into(node)) {
                if (link.other < 0)
                    continue;
                const auto start = static_cast<std::size_t>(link.other);
                if (scratch.position[start] < 0 || scratch.seen[start] == stamp)
                    continue;
                scratch.seen[start] = stamp;
                reachedBy[m].push_back(scratch.position[start]);
                pending.push_back(link.other);
            }
        }
    }
    return reachedBy;
}

std::vector<std::vector<int>> TVYRNetworkAddNodeWork::DirectPredecessors(std::span<const int> members,
                                                                         const GroupScratch& scratch) const
{
    const IndexedLinks& links = Graph().Links();
    std::vector<std::vector<int>> reachedBy(members.size());
    for (std::size_t m = 0; m < members.size(); ++m)
        for (const IndexedLinks::Link& link : links.Into(members[m])) {
            if (link.other < 0 || link.other == members[m])
                continue;
            const int position = scratch.position[static_cast<std::size_t>(link.other)];
            if (position >= 0)
                reachedBy[m].push_back(position);
        }
    return reachedBy;
}

bool TVYRNetworkAddNodeWork::ChainsMeetOffsets(std::span<const int> members, std::span<const float> offsets,
                                               const GroupScratch& scratch) const
{
    // Members linked each to the next form runs in which every member
    // reaches all after it; the rules then hold when every link inside the
    // group runs forward and no member has a smaller Offset than a member of
    // an earlier run.
    const IndexedLinks& links = Graph().Links();
    float earlierRuns = -std::numeric_limits<float>::infinity();
    float run = offsets[0];
    for (std::size_t m = 0; m < members.size(); ++m) {
        bool joined = false;
        for (const IndexedLinks::Link& link : links.Into(members[m])) {
            if (link.other < 0)
                continue;
            const int position = scratch.position[static_cast<std::size_t>(link.other)];
            if (position > static_cast<int>(m))
                return false;
            joined = joined || position + 1 == static_cast<int>(m);
        }
        if (m > 0 && !joined) {
            earlierRuns = std::max(earlierRuns, run);
            run = offsets[m];
        }
        run = std::max(run, offsets[m]);
        if (offsets[m] < earlierRuns)
            return false;
    }
    return true;
}

bool TVYRNetworkAddNodeWork::OrderEqualTimes(std::vector<int>& order, bool resorted) const
{
    const std::size_t count = order.size();
    const auto timeOf = [&](int node) { return m_earliestTimes[static_cast<std::size_t>(node)]; };
    const ScheduleGraph& graph = Graph();
    const IndexedLinks& links = graph.Links();
    m_groupsOutcome = {};
    std::vector<std::pair<std::size_t, std::size_t>>& groups = m_groups;
    groups.clear();
    for (std::size_t i = 0, j = 0; i < count; i = j) {
        for (j = i + 1; j < count && timeOf(order[j]) == timeOf(order[i]); ++j) {
        }
        if (j - i >= 2)
            groups.emplace_back(i, j);
    }
    if (groups.empty())
        return true;
    bool rising = true;
    bool forward = false;
    const RisingSeen& seen = m_risingSeen;
    if (seen.known && seen.times == m_timesRevision && seen.nodeOrder == m_nodes->OrderRevision()
        && seen.links == m_works->StructureRevision() && links.Forward()) {
        rising = seen.rising;
        forward = true;
    } else {
        CheckLinks(rising, forward);
    }
    m_groupsOutcome.linksChecked = true;
    m_groupsOutcome.rising = rising;
    // Links that run forward in the current order still do after a sort
    // that moved nothing, and, where each work is listed once, after the
    // sort by time, which keeps the current order among equal times.
    forward = forward && (!resorted || links.Unique());
    m_groupsOutcome.forward = forward;
    // When some work ends at an earlier time than it starts, chains between
    // members of a group may leave it and come back through such a work;
    // every member that reaches another then decides.
    static const std::vector<std::vector<int>> none;
    const std::vector<std::vector<int>>& fallingReach = rising
        ? none
        : m_reachThroughFalls.Find(links, !NodeLookup().HasDuplicateNewIDs(), m_earliestTimes, order, groups);

    // Kept between calls: every group leaves its places at -1.
    GroupScratch& scratch = m_groupScratch;
    if (scratch.position.size() != count || scratch.stamp > std::numeric_limits<int>::max() / 2) {
        scratch.position.assign(count, -1);
        scratch.seen.assign(count, 0);
        scratch.stamp = 0;
    }
    std::vector<float> offsets;
    bool rulesMet = true;
    for (const auto& [i, j] : groups) {
        const std::span<int> members(order.data() + i, j - i);
        offsets.clear();
        for (const int node : members)
            offsets.push_back(graph.NodeOffset(graph.SlotOfIndex(node)));
        const bool equalOffsets
            = std::all_of(offsets.begin(), offsets.end(), [&](float o) { return o == offsets[0]; });
        // Most groups are in order already: with equal offsets and times
        // that never fall along a work, that holds when every link inside
        // the group runs forward.
        if (equalOffsets && rising && forward)
            continue;
        // Two members need only whether each reaches the other: inside the
        // group that is a direct link; else the search through falls found it.
        if (members.size() == 2) {
            const auto reaches = [&](int from, int to) {
                if (!rising) {
                    const auto& reaching = fallingReach[static_cast<std::size_t>(to)];
                    return std::find(reaching.begin(), reaching.end(), from) != reaching.end();
                }
                const auto into = links.Into(to);
                return std::any_of(into.begin(), into.end(), [&](const IndexedLinks::Link& link) {
                    return link.other == from;
                });
            };
            if (SecondOfPairFirst(offsets[0], offsets[1], reaches(members[0], members[1]),
                                  reaches(members[1], members[0]), rulesMet)) {
                std::swap(members[0], members[1]);
                m_groupsOutcome.groupsKept = false;
            }
            continue;
        }
        for (std::size_t m = 0; m < members.size(); ++m)
            scratch.position[static_cast<std::size_t>(members[m])] = static_cast<int>(m);
        const auto release = [&] {
            for (const int node : members)
                scratch.position[static_cast<std::size_t>(node)] = -1;
        };

        if (equalOffsets && rising) {
            bool inOrder = true;
            for (std::size_t m = 0; m < members.size() && inOrder; ++m)
                for (const IndexedLinks::Link& link : links.Into(members[m])) {
                    if (link.other >= 0 && scratch.position[static_cast<std::size_t>(link.other)] > static_cast<int>(m)) {
                        inOrder = false;
                        break;
                    }
                }
            if (inOrder) {
                release();
                continue;
            }
        }
        if (rising && !equalOffsets && ChainsMeetOffsets(members, offsets, scratch)) {
            release();
            continue;
        }
        if (!rising) {
            bool inOrder = std::is_sorted(offsets.begin(), offsets.end());
            for (std::size_t m = 0; m < members.size() && inOrder; ++m)
                for (const int node : fallingReach[static_cast<std::size_t>(members[m])])
                    if (scratch.position[static_cast<std::size_t>(node)] > static_cast<int>(m)) {
                        inOrder = false;
                        break;
                    }
            if (inOrder) {
                release();
                continue;
            }
        }
        // With equal offsets the direct links decide; otherwise every
        // member that reaches another does.
        std::vector<std::vector<int>> reachedBy(rising ? 0 : members.size());
        if (rising)
            reachedBy
                = equalOffsets ? DirectPredecessors(members, scratch) : ReachingMembers(members, scratch);
        else
            for (std::size_t m = 0; m < members.size(); ++m)
                for (const int node : fallingReach[static_cast<std::size_t>(members[m])])
                    reachedBy[m].push_back(scratch.position[static_cast<std::size_t>(node)]);
        release();
        // A group whose links all run forward and whose offsets ascend
        // already meets every rule in its current order.
        bool inOrder = std::is_sorted(offsets.begin(), offsets.end());
        for (std::size_t m = 0; m < members.size() && inOrder; ++m)
            inOrder = std::all_of(reachedBy[m].begin(), reachedBy[m].end(),
                                  [&](int position) { return position < static_cast<int>(m); });
        if (inOrder)
            continue;
        const std::vector<int> placed = OrderEqualTimeGroup(offsets, reachedBy, rulesMet);
        std::vector<int> reordered(members.size());
        for (std::size_t m = 0; m < members.size(); ++m) {
            reordered[m] = members[static_cast<std::size_t>(placed[m])];
            m_groupsOutcome.groupsKept = m_groupsOutcome.groupsKept && placed[m] == static_cast<int>(m);
        }
        std::copy(reordered.begin(), reordered.end(), members.begin());
    }
    return rulesMet;
}

void TVYRNetworkAddNodeWork::StableSortByTime(std::vector<int>& order) const
{
    // order holds node indices in their current places, which are
    // ascending. Only nodes between the first and the last fall in time can
    // move, with those of the sorted ends whose times lie within the times
    // there.
    const auto timeOf = [&](std::size_t i) { return m_earliestTimes[static_cast<std::size_t>(order[i])]; };
    const std::size_t count = order.size();
    std::size_t lastOfHead = 0;
    while (lastOfHead + 1 < count && timeOf(lastOfHead) <= timeOf(lastOfHead + 1))
        ++lastOfHead;
    if (lastOfHead + 1 >= count)
        return;
    std::size_t firstOfTail = count - 1;
    while (timeOf(firstOfTail - 1) <= timeOf(firstOfTail))
        --firstOfTail;
    float lowest = std::numeric_limits<float>::infinity();
    for (std::size_t i = lastOfHead + 1; i <= firstOfTail; ++i)
        lowest = std::min(lowest, timeOf(i));
    float highest = -std::numeric_limits<float>::infinity();
    for (std::size_t i = lastOfHead; i < firstOfTail; ++i)
        highest = std::max(highest, timeOf(i));
    std::size_t begin = 0;
    while (begin < lastOfHead && timeOf(begin) <= lowest)
        ++begin;
    std::size_t end = count;
    while (end > firstOfTail && timeOf(end - 1) >= highest)
        --end;

    // After an edit most nodes keep their place: those not earlier than any
    // node before them nor later than any node after them stay as they are,
    // only the others are sorted, and both are merged, the earlier place
    // first among equal times.
    const auto nodeTime = [&](int node) { return m_earliestTimes[static_cast<std::size_t>(node)]; };
    std::vector<float>& smallestAfter = m_smallestAfter;
    smallestAfter.resize(end - begin);
    float smallest = std::numeric_limits<float>::infinity();
    for (std::size_t i = end; i-- > begin;) {
        smallest = std::min(smallest, timeOf(i));
        smallestAfter[i - begin] = smallest;
    }
    std::vector<int>& kept = m_keptNodes;
    std::vector<int>& moved = m_movedNodes;
    kept.clear();
    moved.clear();
    float largest = -std::numeric_limits<float>::infinity();
    for (std::size_t i = begin; i < end; ++i) {
        const float time = timeOf(i);
        const bool inPlace = time >= largest && (i + 1 == end || time <= smallestAfter[i + 1 - begin]);
        largest = std::max(largest, time);
        (inPlace ? kept : moved).push_back(order[i]);
    }
    const auto earlier = [&](int a, int b) { return nodeTime(a) < nodeTime(b); };
    std::stable_sort(moved.begin(), moved.end(), earlier);
    std::merge(kept.begin(), kept.end(), moved.begin(), moved.end(), order.begin() + static_cast<std::ptrdiff_t>(begin),
               [&](int a, int b) { return nodeTime(a) < nodeTime(b) || (nodeTime(a) == nodeTime(b) && a < b); });
}

void TVYRNetworkAddNodeWork::SortNodes()
{
    const int count = m_nodes->Count();
    m_orderMeetsRules = true;
    if (count < 2)
        return;
    Graph();
    m_earliestTimes.resize(static_cast<std::size_t>(count), 0.0f);
    m_latestTimes.resize(static_cast<std::size_t>(count), 0.0f);

    // By earliest time, keeping the current order among equal times; then
    // each group of equal times by its links and offsets.
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto earlier = [&](int a, int b) {
        return m_earliestTimes[static_cast<std::size_t>(a)] < m_earliestTimes[static_cast<std::size_t>(b)];
    };
    const bool resorted = !std::is_sorted(order.begin(), order.end(), earlier);
    if (resorted)
        StableSortByTime(order);
    m_orderMeetsRules = OrderEqualTimes(order, resorted);

    // Only the stretch from the first to the last node that moved is
    // reordered.
    int first = 0;
    int last = count;
    while (first < count && order[static_cast<std::size_t>(first)] == first)
        ++first;
    while (last > first && order[static_cast<std::size_t>(last) - 1] == last - 1)
        --last;
    const std::uint64_t before = m_nodes->OrderRevision();
    if (first < last) {
        const std::span<const int> stretch(order.data() + first, static_cast<std::size_t>(last - first));
        for (std::vector<float>* times : {&m_earliestTimes, &m_latestTimes}) {
            m_reorderedTimes.resize(stretch.size());
            for (std::size_t i = 0; i < stretch.size(); ++i)
                m_reorderedTimes[i] = (*times)[static_cast<std::size_t>(stretch[i])];
            std::copy(m_reorderedTimes.begin(), m_reorderedTimes.end(), times->begin() + first);
        }
        // chainOn goes along with the latest times it was found from.
        const bool chainOnMoves
            = m_latestBasis.valid && m_keyFlags.chainOn.size() == static_cast<std::size_t>(count);
        if (chainOnMoves) {
            m_reorderedFlags.resize(stretch.size());
            for (std::size_t i = 0; i < stretch.size(); ++i)
                m_reorderedFlags[i] = m_keyFlags.chainOn[static_cast<std::size_t>(stretch[i])];
            std::copy(m_reorderedFlags.begin(), m_reorderedFlags.end(), m_keyFlags.chainOn.begin() + first);
        }
        m_nodes->ReorderNodes(first, stretch);
        m_graph.NodesReordered(first, stretch, *m_nodes);
        ++m_timesRevision;
        m_nodes->Changed();
        if (m_earliestBasis.nodeOrder == before)
            m_earliestBasis.nodeOrder = m_nodes->OrderRevision();
        if (chainOnMoves && m_latestBasis.nodeOrder == before)
            m_latestBasis.nodeOrder = m_nodes->OrderRevision();
        else
            m_latestBasis.valid = false;
        // The stretches moved since the works were last sorted.
        if (m_nodesMoved.to == before && m_worksSortedAt[0] != before) {
            m_nodesMoved.first = std::min(m_nodesMoved.first, first);
            m_nodesMoved.last = std::max(m_nodesMoved.last, last);
        } else {
            m_nodesMoved = {before, 0, first, last};
        }
        m_nodesMoved.to = m_nodes->OrderRevision();
    }
    // Renumbering twice changes nothing: it is needed only after a move or
    // a change of numbers, and after a move only from the stretch on.
    if (m_renumbered && m_renumberedOrder == before && m_renumberedNumbers == m_nodes->NumbersRevision()
        && first < last)
        RenumberFrom(first, last);
    else if (!m_renumbered || m_renumberedOrder != m_nodes->OrderRevision()
             || m_renumberedNumbers != m_nodes->NumbersRevision())
        RenumberNodes();
}

void TVYRNetworkAddNodeWork::RenumberNodes() { RenumberFrom(1, m_nodes->Count()); }

void TVYRNetworkAddNodeWork::RenumberFrom(int first, int last)
{
    // Numbers before first and, once one node from last on keeps its
    // number, those after it were renumbered already.
    for (int i = std::max(first, 1); i < m_nodes->Count(); ++i) {
        const std::int64_t p = m_nodes->Items(i - 1)->Number();
        TNodeItem* node = m_nodes->Items(i);
        if (node->m_number <= p || (node->m_autoNumber && node->m_number > p + 1))
            node->m_number = platform::SaturateInt(p + 1);
        else if (i >= last)
            break;
    }
    m_renumbered = true;
    m_renumberedOrder = m_nodes->OrderRevision();
    m_renumberedNumbers = m_nodes->NumbersRevision();
}

void TVYRNetworkAddNodeWork::SortWorks()
{
    m_works->SetUpdateEnabled(false);
    const ScheduleGraph& graph = Graph();
    // The order holds until nodes or works move or a gap changes.
    const std::uint64_t revisions[3] = {m_nodes->OrderRevision(), m_works->OrderRevision(), graph.GapRevision()};
    if (std::equal(std::begin(revisions), std::end(revisions), std::begin(m_worksSortedAt))) {
        m_works->SetUpdateEnabled(true);
        return;
    }
    const int count = m_works->Count();
    const auto byGap = [&](int a, int b) {
        return graph.Interval(a) - graph.Overlap(a) < graph.Interval(b) - graph.Overlap(b);
    };
    // A node's leaving works as its list holds them, by work index and
    // then by G - P where that is out of order, appended to order.
    const auto appendLeaving = [&](const IndexedLinks& links, int node, std::vector<int>& order) {
        const auto works = links.FromWorks(node);
        const auto begin = order.insert(order.end(), works.begin(), works.end());
        if (works.size() < 2)
            return;
        if (!std::is_sorted(begin, order.end()))
            std::sort(begin, order.end());
        if (!std::is_sorted(begin, order.end(), byGap))
            std::stable_sort(begin, order.end(), byGap);
    };
    const bool sortedBeforeMove = m_worksSortedAt[1] == m_works->OrderRevision()
        && m_worksSortedAt[2] == graph.GapRevision() && m_nodesMoved.from == m_worksSortedAt[0]
        && m_nodesMoved.to == m_nodes->OrderRevision();
    if (sortedBeforeMove && graph.Links().Unique()) {
        // The works were in order before a stretch of nodes moved, and each
        // is listed once at its start node: the works leaving the stretch
        // follow one another, and only they can move.
        const IndexedLinks& links = graph.Links();
        const int first = links.FromBegin(m_nodesMoved.first);
        std::vector<int>& order = m_workOrder;
        order.clear();
        for (int k = m_nodesMoved.first; k < m_nodesMoved.last; ++k)
            appendLeaving(links, k, order);
        bool moved = false;
        for (std::size_t i = 0; i < order.size() && !moved; ++i)
            moved = order[i] != first + static_cast<int>(i);
        if (moved && order.size() * 4 < static_cast<std::size_t>(count)) {
            m_works->ReorderWorks(first, order);
            m_graph.WorksReordered(first, order, *m_works);
        } else if (moved) {
            // Lists renumbered work by work cost more than reading them in
            // order again once many works moved.
            m_fullWorkOrder.resize(static_cast<std::size_t>(count));
            std::iota(m_fullWorkOrder.begin(), m_fullWorkOrder.end(), 0);
            std::copy(order.begin(), order.end(), m_fullWorkOrder.begin() + first);
            m_works->ReorderWorks(m_fullWorkOrder);
            m_graph.WorksReordered(m_fullWorkOrder, *m_works);
        }
        m_worksSortedAt[0] = m_nodes->OrderRevision();
        m_worksSortedAt[1] = m_works->OrderRevision();
        m_worksSortedAt[2] = graph.GapRevision();
        m_works->SetUpdateEnabled(true);
        return;
    }
    struct Key {
        int start;
        float gap;
    };
    const auto keyOf = [&](int w) {
        // Works whose start node is missing go last.
        const int start = graph.PriorSlot(w);
        return Key{start >= 0 ? graph.IndexOfSlot(start) : m_nodes->Count(), graph.Interval(w) - graph.Overlap(w)};
    };
    const auto less = [](const Key& x, const Key& y) {
        return x.start < y.start || (x.start == y.start && x.gap < y.gap);
    };
    bool sorted = true;
    Key previous{};
    for (int w = 0; w < count && sorted; ++w) {
        const Key key = keyOf(w);
        sorted = w == 0 || !less(key, previous);
        previous = key;
    }
    if (!sorted && graph.Links().Unique()) {
        // Each work is listed once at its start node, so the lists in node
        // order, each by work index and then by G - P where that is out of
        // order, and after them the works without a start node, give the
        // same stable sort without a key per work.
        const IndexedLinks& links = graph.Links();
        std::vector<int>& order = m_workOrder;
        order.clear();
        for (int k = 0; k < links.NodeCount(); ++k)
            appendLeaving(links, k, order);
        if (order.size() < static_cast<std::size_t>(count)) {
            const auto listed = static_cast<std::ptrdiff_t>(order.size());
            for (int w = 0; w < count; ++w)
                if (graph.PriorSlot(w) < 0)
                    order.push_back(w);
            if (!std::is_sorted(order.begin() + listed, order.end(), byGap))
                std::stable_sort(order.begin() + listed, order.end(), byGap);
        }
        m_works->ReorderWorks(order);
        m_graph.WorksReordered(order, *m_works);
    } else if (!sorted) {
        // A stable sort by start node, by counting, then by G - P within
        // each start node where that is out of order.
        const auto nodes = static_cast<std::size_t>(m_nodes->Count());
        std::vector<int> first(nodes + 2, 0);
        std::vector<Key> keys(static_cast<std::size_t>(count));
        for (int w = 0; w < count; ++w) {
            keys[static_cast<std::size_t>(w)] = keyOf(w);
            ++first[static_cast<std::size_t>(keys[static_cast<std::size_t>(w)].start) + 1];
        }
        for (std::size_t k = 0; k + 1 < first.size(); ++k)
            first[k + 1] += first[k];
        std::vector<int> order(static_cast<std::size_t>(count));
        std::vector<int> fill(first.begin(), first.end() - 1);
        for (int w = 0; w < count; ++w)
            order[static_cast<std::size_t>(fill[static_cast<std::size_t>(keys[static_cast<std::size_t>(w)].start)]++)] = w;
        const auto byGap = [&](int a, int b) {
            return keys[static_cast<std::size_t>(a)].gap < keys[static_cast<std::size_t>(b)].gap;
        };
        for (std::size_t k = 0; k + 1 < first.size(); ++k) {
            const auto begin = order.begin() + first[k];
            const auto end = order.begin() + first[k + 1];
            if (!std::is_sorted(begin, end, byGap))
                std::stable_sort(begin, end, byGap);
        }
        m_works->ReorderWorks(order);
        m_graph.WorksReordered(order, *m_works);
    }
    m_worksSortedAt[0] = m_nodes->OrderRevision();
    m_worksSortedAt[1] = m_works->OrderRevision();
    m_worksSortedAt[2] = graph.GapRevision();
    m_works->SetUpdateEnabled(true);
}

void TVYRNetworkAddNodeWork::BuildOffsetPoints()
{
    ++m_offsetPointsRevision;
    m_offsetPoints.clear();
    const int count = m_nodes->Count();
    for (int i = 0, j = 0; i < count; i = j) {
        const float time = TimeAt(m_earliestTimes, m_nodes->Items(i));
        float chosen = 0.0f;
        for (j = i; j < count && TimeAt(m_earliestTimes, m_nodes->Items(j)) == time; ++j) {
            const float offset = m_nodes->Items(j)->Offset();
            if (std::fabs(offset) > std::fabs(chosen))
                chosen = offset;
        }
        if (chosen != 0.0f)
            m_offsetPoints.push_back({time, chosen});
    }
}

} // namespace network
