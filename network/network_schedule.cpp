// The schedule of the first control layer: earliest and latest event times,
// the times and floats of works, critical works, the cycle test and the
// node and work orders. Every walk over the network visits each node or work
// once and keeps its own stack, so long chains and grids cost linear time;
// works that name a missing node are left out, and a cycle (possible only in
// data from a file) is broken where a walk meets it.
#include "network/network_add_node_work.h"
#include "network/node_order.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace network {

namespace {

enum : char { unvisited, visiting, visited };

// Groups of more members than this are ordered from direct links only: the
// pairwise order needs count² steps.
constexpr std::size_t kPairwiseLimit = 2048;

float WorkSpan(float start, const TWorkItem& work)
{
    return start + work.ContinueTime() - work.ParallelTime() + work.Diapause();
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
    m_earliestTimes.assign(static_cast<std::size_t>(count), -1.0f);
    ++m_timesRevision;
    if (count == 0)
        return;
    const NetworkIndex& index = LookupIndex();
    std::vector<char> state(static_cast<std::size_t>(count), unvisited);
    m_earliestTimes[0] = 0.0f;
    state[0] = visited;

    // A node's time is the largest end of its entering works, after the
    // times of their start nodes; a work from the node to itself ends the
    // scan of its entering works.
    struct Frame {
        int node;
        std::size_t next;
        float result;
    };
    std::vector<Frame> stack;
    for (int root = 1; root < count; ++root) {
        if (state[static_cast<std::size_t>(root)] == visited)
            continue;
        state[static_cast<std::size_t>(root)] = visiting;
        stack.push_back({root, 0, 0.0f});
        while (!stack.empty()) {
            const std::size_t top = stack.size() - 1;
            const TNodeItem* node = m_nodes->Items(stack[top].node);
            const auto into = index.WorksInto(NetworkIndex::KeyOf(*node));
            bool descended = false;
            while (stack[top].next < into.size()) {
                const TWorkItem& work = *into[stack[top].next];
                const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(work));
                if (start == node) {
                    stack[top].next = into.size();
                    break;
                }
                if (!start) {
                    ++stack[top].next;
                    continue;
                }
                const auto s = static_cast<std::size_t>(start->Index());
                if (state[s] == unvisited) {
                    state[s] = visiting;
                    stack.push_back({start->Index(), 0, 0.0f});
                    descended = true;
                    break;
                }
                if (state[s] == visited) {
                    const float v = WorkSpan(m_earliestTimes[s], work);
                    if (stack[top].result < v)
                        stack[top].result = v;
                }
                ++stack[top].next;
            }
            if (descended)
                continue;
            const auto done = static_cast<std::size_t>(stack[top].node);
            m_earliestTimes[done] = stack[top].result;
            state[done] = visited;
            stack.pop_back();
        }
    }
}

void TVYRNetworkAddNodeWork::CalcLatestTimes()
{
    const int count = m_nodes->Count();
    m_latestTimes.resize(static_cast<std::size_t>(count), 0.0f);
    ++m_timesRevision;
    if (count == 0)
        return;
    const NetworkIndex& index = LookupIndex();
    const float total = GetTotalTime();
    m_latestTimes[static_cast<std::size_t>(count) - 1] = total;
    for (int k = count - 2; k >= 0; --k) {
        const TNodeItem* node = m_nodes->Items(k);
        float v = total;
        for (const TWorkItem* work : index.WorksFrom(NetworkIndex::KeyOf(*node))) {
            const TNodeItem* end = index.NodeOfKey(NetworkIndex::NextKey(*work));
            if (!end)
                continue;
            const float c = TimeAt(m_latestTimes, end) - work->ContinueTime() + work->ParallelTime() - work->Diapause();
            if (v > c)
                v = c;
        }
        m_latestTimes[static_cast<std::size_t>(k)] = v;
    }
}

void TVYRNetworkAddNodeWork::ComputeKeyWorks() const
{
    const std::uint64_t revisions[4] = {m_nodes->OrderRevision(), m_works->OrderRevision(), m_works->ValueRevision(),
                                        m_timesRevision};
    if (m_keyWorksValid && std::equal(std::begin(revisions), std::end(revisions), std::begin(m_keyRevisions)))
        return;
    const NetworkIndex& index = LookupIndex();
    const int workCount = m_works->Count();

    // A work counts only when both of its nodes exist; it is on a chain of
    // critical works when its total float is exactly 0.
    std::vector<char> scheduled(static_cast<std::size_t>(workCount));
    std::vector<char> zeroFloat(static_cast<std::size_t>(workCount));
    for (int i = 0; i < workCount; ++i) {
        const TWorkItem& work = *m_works->Items(i);
        scheduled[static_cast<std::size_t>(i)] = index.NodeOfKey(NetworkIndex::PriorKey(work))
            && index.NodeOfKey(NetworkIndex::NextKey(work));
        zeroFloat[static_cast<std::size_t>(i)] = scheduled[static_cast<std::size_t>(i)] && GetWorkTotalFloat(work) == 0.0f;
    }

    // reaches[key]: a chain of zero-float works leads from the node onwards
    // (or back) to a node without leaving (entering) works.
    const auto chainEnds = [&](bool forward) {
        const auto keyCount = static_cast<std::size_t>(index.KeyCount());
        std::vector<char> state(keyCount, unvisited);
        std::vector<char> reaches(keyCount, 0);
        struct Frame {
            int key;
            std::size_t next;
            bool anyWork;
        };
        std::vector<Frame> stack;
        for (int root = 0; root < index.KeyCount(); ++root) {
            if (state[static_cast<std::size_t>(root)] != unvisited)
                continue;
            state[static_cast<std::size_t>(root)] = visiting;
            stack.push_back({root, 0, false});
            while (!stack.empty()) {
                const std::size_t top = stack.size() - 1;
                const auto works = forward ? index.WorksFrom(stack[top].key) : index.WorksInto(stack[top].key);
                bool descended = false;
                bool found = false;
                while (stack[top].next < works.size()) {
                    const TWorkItem& work = *works[stack[top].next];
                    const auto w = static_cast<std::size_t>(work.Index());
                    if (!scheduled[w]) {
                        ++stack[top].next;
                        continue;
                    }
                    stack[top].anyWork = true;
                    const int other = forward ? NetworkIndex::NextKey(work) : NetworkIndex::PriorKey(work);
                    const auto o = static_cast<std::size_t>(other);
                    if (zeroFloat[w] && state[o] == unvisited) {
                        state[o] = visiting;
                        stack.push_back({other, 0, false});
                        descended = true;
                        break;
                    }
                    if (zeroFloat[w] && state[o] == visited && reaches[o]) {
                        found = true;
                        break;
                    }
                    ++stack[top].next;
                }
                if (descended)
                    continue;
                const auto done = static_cast<std::size_t>(stack[top].key);
                reaches[done] = found || !stack[top].anyWork;
                state[done] = visited;
                stack.pop_back();
            }
        }
        return reaches;
    };
    const std::vector<char> forward = chainEnds(true);
    const std::vector<char> backward = chainEnds(false);

    m_keyWorks.assign(static_cast<std::size_t>(workCount), 0);
    for (int i = 0; i < workCount; ++i) {
        const TWorkItem& work = *m_works->Items(i);
        const auto w = static_cast<std::size_t>(i);
        m_keyWorks[w] = zeroFloat[w] && forward[static_cast<std::size_t>(NetworkIndex::NextKey(work))]
            && backward[static_cast<std::size_t>(NetworkIndex::PriorKey(work))];
    }
    std::copy(std::begin(revisions), std::end(revisions), std::begin(m_keyRevisions));
    m_keyWorksValid = true;
}

bool TVYRNetworkAddNodeWork::IsKeyWork(const TWorkItem& work) const
{
    if (&work.Collection() != m_works.get())
        return false;
    ComputeKeyWorks();
    return m_keyWorks[static_cast<std::size_t>(work.Index())] != 0;
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

bool TVYRNetworkAddNodeWork::EarliestTimesRise() const
{
    const NetworkIndex& index = LookupIndex();
    for (int i = 0; i < m_works->Count(); ++i) {
        const TWorkItem& work = *m_works->Items(i);
        const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(work));
        const TNodeItem* end = index.NodeOfKey(NetworkIndex::NextKey(work));
        if (start && end && TimeAt(m_earliestTimes, end) < TimeAt(m_earliestTimes, start))
            return false;
    }
    return true;
}

std::vector<std::vector<int>> TVYRNetworkAddNodeWork::ReachingMembers(std::span<const int> members,
                                                                      GroupScratch& scratch, bool withinGroup) const
{
    // For each member, the members from which a chain of works leads to it.
    // When earliest times never fall along a work, such a chain stays
    // inside the group; otherwise the search runs through the whole network.
    const NetworkIndex& index = LookupIndex();
    std::vector<std::vector<int>> reachedBy(members.size());
    std::vector<int> pending;
    for (std::size_t m = 0; m < members.size(); ++m) {
        const int stamp = ++scratch.stamp;
        pending.assign(1, members[m]);
        scratch.seen[static_cast<std::size_t>(members[m])] = stamp;
        while (!pending.empty()) {
            const TNodeItem* node = m_nodes->Items(pending.back());
            pending.pop_back();
            for (const TWorkItem* work : index.WorksInto(NetworkIndex::KeyOf(*node))) {
                const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(*work));
                if (!start)
                    continue;
                const auto s = static_cast<std::size_t>(start->Index());
                if (withinGroup && scratch.position[s] < 0)
                    continue;
                if (scratch.seen[s] == stamp)
                    continue;
                scratch.seen[s] = stamp;
                if (scratch.position[s] >= 0)
                    reachedBy[m].push_back(scratch.position[s]);
                pending.push_back(start->Index());
            }
        }
    }
    return reachedBy;
}

std::vector<std::vector<int>> TVYRNetworkAddNodeWork::DirectPredecessors(std::span<const int> members,
                                                                         const GroupScratch& scratch) const
{
    const NetworkIndex& index = LookupIndex();
    std::vector<std::vector<int>> reachedBy(members.size());
    for (std::size_t m = 0; m < members.size(); ++m) {
        const TNodeItem* node = m_nodes->Items(members[m]);
        for (const TWorkItem* work : index.WorksInto(NetworkIndex::KeyOf(*node))) {
            const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(*work));
            if (start && start != node && scratch.position[static_cast<std::size_t>(start->Index())] >= 0)
                reachedBy[m].push_back(scratch.position[static_cast<std::size_t>(start->Index())]);
        }
    }
    return reachedBy;
}

void TVYRNetworkAddNodeWork::OrderEqualTimes(std::vector<int>& order) const
{
    const std::size_t count = order.size();
    const auto timeOf = [&](int node) { return m_earliestTimes[static_cast<std::size_t>(node)]; };
    GroupScratch scratch;
    bool rising = true;
    bool risingKnown = false;
    for (std::size_t i = 0, j = 0; i < count; i = j) {
        for (j = i + 1; j < count && timeOf(order[j]) == timeOf(order[i]); ++j) {
        }
        if (j - i < 2)
            continue;
        if (!risingKnown) {
            rising = EarliestTimesRise();
            risingKnown = true;
            scratch.position.assign(count, -1);
            scratch.seen.assign(count, 0);
        }
        const std::span<int> members(order.data() + i, j - i);
        std::vector<float> offsets;
        offsets.reserve(members.size());
        for (std::size_t m = 0; m < members.size(); ++m) {
            scratch.position[static_cast<std::size_t>(members[m])] = static_cast<int>(m);
            offsets.push_back(m_nodes->Items(members[m])->Offset());
        }
        const bool equalOffsets
            = std::all_of(offsets.begin(), offsets.end(), [&](float o) { return o == offsets[0]; });
        const bool closed = (!equalOffsets || !rising) && members.size() <= kPairwiseLimit;
        const std::vector<std::vector<int>> reachedBy
            = closed ? ReachingMembers(members, scratch, rising) : DirectPredecessors(members, scratch);
        for (const int node : members)
            scratch.position[static_cast<std::size_t>(node)] = -1;

        const std::vector<int> placed = OrderEqualTimeGroup(offsets, reachedBy, closed);
        std::vector<int> reordered(members.size());
        for (std::size_t m = 0; m < members.size(); ++m)
            reordered[m] = members[static_cast<std::size_t>(placed[m])];
        std::copy(reordered.begin(), reordered.end(), members.begin());
    }
}

void TVYRNetworkAddNodeWork::SortNodes()
{
    const int count = m_nodes->Count();
    if (count < 2)
        return;
    m_earliestTimes.resize(static_cast<std::size_t>(count), 0.0f);
    m_latestTimes.resize(static_cast<std::size_t>(count), 0.0f);

    // By earliest time, keeping the current order among equal times; then
    // each group of equal times by its links and offsets.
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto earlier = [&](int a, int b) {
        return m_earliestTimes[static_cast<std::size_t>(a)] < m_earliestTimes[static_cast<std::size_t>(b)];
    };
    if (!std::is_sorted(order.begin(), order.end(), earlier))
        std::stable_sort(order.begin(), order.end(), earlier);
    OrderEqualTimes(order);

    bool moved = false;
    for (int i = 0; i < count && !moved; ++i)
        moved = order[static_cast<std::size_t>(i)] != i;
    if (moved) {
        std::vector<float> earliest(order.size()), latest(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            earliest[i] = m_earliestTimes[static_cast<std::size_t>(order[i])];
            latest[i] = m_latestTimes[static_cast<std::size_t>(order[i])];
        }
        m_earliestTimes = std::move(earliest);
        m_latestTimes = std::move(latest);
        m_nodes->ReorderNodes(order);
        ++m_timesRevision;
        m_nodes->Changed();
    }
    RenumberNodes();
}

void TVYRNetworkAddNodeWork::RenumberNodes()
{
    for (int i = 1; i < m_nodes->Count(); ++i) {
        const std::int64_t p = m_nodes->Items(i - 1)->Number();
        TNodeItem* node = m_nodes->Items(i);
        if (node->m_number <= p || (node->m_autoNumber && node->m_number > p + 1))
            node->m_number = platform::SaturateInt(p + 1);
    }
}

void TVYRNetworkAddNodeWork::SortWorks()
{
    m_works->SetUpdateEnabled(false);
    const NetworkIndex& index = LookupIndex();
    const int count = m_works->Count();
    struct Key {
        int start;
        float gap;
    };
    std::vector<Key> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TWorkItem& work = *m_works->Items(i);
        // Works whose start node is missing go last.
        const TNodeItem* start = index.NodeOfKey(NetworkIndex::PriorKey(work));
        keys[static_cast<std::size_t>(i)] = {start ? start->Index() : m_nodes->Count(),
                                             work.Diapause() - work.ParallelTime()};
    }
    const auto before = [&](int a, int b) {
        const Key& x = keys[static_cast<std::size_t>(a)];
        const Key& y = keys[static_cast<std::size_t>(b)];
        return x.start < y.start || (x.start == y.start && x.gap < y.gap);
    };
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    if (!std::is_sorted(order.begin(), order.end(), before)) {
        std::stable_sort(order.begin(), order.end(), before);
        m_works->ReorderWorks(order);
    }
    m_works->SetUpdateEnabled(true);
}

void TVYRNetworkAddNodeWork::BuildOffsetPoints()
{
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
