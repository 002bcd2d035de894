#include "network/reach_through_falls.h"

#include <algorithm>
#include <bit>

namespace network {

std::uint32_t ReachThroughFalls::NextStamp()
{
    if (m_stamp == 0xFFFFFFFFu) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 0;
    }
    return ++m_stamp;
}

// The members that reach each member along works between members of its
// group, by a walk back from it that stays in the group.
void ReachThroughFalls::FindInGroups(const IndexedLinks& links, std::span<const int> order,
                                     std::span<const std::pair<std::size_t, std::size_t>> groups)
{
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto [begin, end] = groups[g];
        for (std::size_t m = begin; m < end; ++m) {
            const int member = order[m];
            std::vector<int>& reachedBy = m_reachedBy[static_cast<std::size_t>(member)];
            const std::uint32_t stamp = NextStamp();
            m_seen[static_cast<std::size_t>(member)] = stamp;
            m_pending.assign(1, member);
            while (!m_pending.empty()) {
                const int node = m_pending.back();
                m_pending.pop_back();
                for (const IndexedLinks::Link& link : links.Into(node)) {
                    if (link.other < 0)
                        continue;
                    const auto start = static_cast<std::size_t>(link.other);
                    if (m_groupOf[start] != static_cast<int>(g) || m_seen[start] == stamp)
                        continue;
                    m_seen[start] = stamp;
                    reachedBy.push_back(link.other);
                    m_pending.push_back(link.other);
                }
            }
        }
    }
}

// The links by start node, from the entering lists, in their order.
void ReachThroughFalls::ReverseLinks(const IndexedLinks& links)
{
    const auto count = static_cast<std::size_t>(links.NodeCount());
    m_outStart.assign(count + 1, 0);
    for (std::size_t v = 0; v < count; ++v)
        for (const IndexedLinks::Link& link : links.Into(static_cast<int>(v)))
            if (link.other >= 0)
                ++m_outStart[static_cast<std::size_t>(link.other) + 1];
    for (std::size_t i = 0; i < count; ++i)
        m_outStart[i + 1] += m_outStart[i];
    m_out.resize(static_cast<std::size_t>(m_outStart[count]));
    m_pending.assign(m_outStart.begin(), m_outStart.end() - 1);
    for (std::size_t v = 0; v < count; ++v)
        for (const IndexedLinks::Link& link : links.Into(static_cast<int>(v)))
            if (link.other >= 0)
                m_out[static_cast<std::size_t>(m_pending[static_cast<std::size_t>(link.other)]++)]
                    = static_cast<int>(v);
}

// Spreads the bits along the links (eachNext(v, f) calls f for every node v
// passes its bits on to) until nothing changes. Most links run the way of
// the node order (towards the end for the leaving links, towards the start
// for the entering ones), so one sweep in that direction does most of the
// work; a node the sweep has passed that gains a bit from a later one is
// noted, and the noted nodes are taken again until none can pass on a bit,
// each only when it gained one, so at most 65 times.
template <typename EachNext>
void ReachThroughFalls::Spread(std::vector<std::uint64_t>& bits, bool towardsEnd, EachNext eachNext)
{
    const std::size_t count = bits.size();
    m_pending.clear();
    m_queued.assign(count, 0);
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t v = towardsEnd ? step : count - 1 - step;
        if (const std::uint64_t mine = bits[v])
            eachNext(v, [&](std::size_t w) {
                const std::uint64_t merged = bits[w] | mine;
                if (merged == bits[w])
                    return;
                bits[w] = merged;
                const bool passed = towardsEnd ? w < v : w > v;
                if (passed && !m_queued[w]) {
                    m_queued[w] = 1;
                    m_pending.push_back(static_cast<int>(w));
                }
            });
    }
    while (!m_pending.empty()) {
        const auto v = static_cast<std::size_t>(m_pending.back());
        m_pending.pop_back();
        m_queued[v] = 0;
        const std::uint64_t mine = bits[v];
        eachNext(v, [&](std::size_t w) {
            const std::uint64_t merged = bits[w] | mine;
            if (merged != bits[w]) {
                bits[w] = merged;
                if (!m_queued[w]) {
                    m_queued[w] = 1;
                    m_pending.push_back(static_cast<int>(w));
                }
            }
        });
    }
}

// Adds, for the falling works whose bits are spread, each member that
// reaches the start of one of them to the members its end reaches.
void ReachThroughFalls::AddThroughFalls(std::span<const int> order,
                                        std::span<const std::pair<std::size_t, std::size_t>> groups)
{
    for (const auto& [begin, end] : groups) {
        std::uint64_t reaching = 0;
        std::uint64_t reached = 0;
        for (std::size_t m = begin; m < end; ++m) {
            reaching |= m_reachesFall[static_cast<std::size_t>(order[m])];
            reached |= m_reachedFromFall[static_cast<std::size_t>(order[m])];
        }
        const std::uint64_t shared = reaching & reached;
        if (!shared)
            continue;
        for (std::uint64_t bits = shared; bits; bits &= bits - 1)
            m_holders[std::countr_zero(bits)].clear();
        for (std::size_t m = begin; m < end; ++m) {
            const int node = order[m];
            for (std::uint64_t bits = m_reachesFall[static_cast<std::size_t>(node)] & shared; bits; bits &= bits - 1)
                m_holders[std::countr_zero(bits)].push_back(node);
        }
        for (std::size_t m = begin; m < end; ++m) {
            const auto node = static_cast<std::size_t>(order[m]);
            const std::uint64_t through = m_reachedFromFall[node] & shared;
            if (!through)
                continue;
            std::vector<int>& reachedBy = m_reachedBy[node];
            const std::uint32_t stamp = NextStamp();
            m_seen[node] = stamp;
            for (const int known : reachedBy)
                m_seen[static_cast<std::size_t>(known)] = stamp;
            for (std::uint64_t bits = through; bits; bits &= bits - 1)
                for (const int other : m_holders[std::countr_zero(bits)])
                    if (m_seen[static_cast<std::size_t>(other)] != stamp) {
                        m_seen[static_cast<std::size_t>(other)] = stamp;
                        reachedBy.push_back(other);
                    }
        }
    }
}

const std::vector<std::vector<int>>& ReachThroughFalls::Find(const IndexedLinks& links, bool uniqueNodes,
                                                             std::span<const float> earliest,
                                                             std::span<const int> order,
                                                             std::span<const std::pair<std::size_t, std::size_t>> groups)
{
    const std::size_t count = order.size();
    m_reachedBy.resize(count);
    if (m_seen.size() != count) {
        m_seen.assign(count, 0);
        m_stamp = 0;
    }
    m_groupOf.assign(count, -1);
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (std::size_t m = groups[g].first; m < groups[g].second; ++m) {
            m_groupOf[static_cast<std::size_t>(order[m])] = static_cast<int>(g);
            m_reachedBy[static_cast<std::size_t>(order[m])].clear();
        }
    FindInGroups(links, order, groups);

    m_falls.clear();
    for (std::size_t v = 0; v < count; ++v)
        for (const IndexedLinks::Link& link : links.Into(static_cast<int>(v)))
            if (link.other >= 0 && earliest[v] < earliest[static_cast<std::size_t>(link.other)])
                m_falls.emplace_back(link.other, static_cast<int>(v));
    if (m_falls.empty())
        return m_reachedBy;
    if (!uniqueNodes)
        ReverseLinks(links);
    const auto eachStart = [&](std::size_t v, auto&& visit) {
        for (const IndexedLinks::Link& link : links.Into(static_cast<int>(v)))
            if (link.other >= 0)
                visit(static_cast<std::size_t>(link.other));
    };
    const auto eachEnd = [&](std::size_t v, auto&& visit) {
        if (uniqueNodes) {
            for (const IndexedLinks::Link& link : links.From(static_cast<int>(v)))
                if (link.other >= 0)
                    visit(static_cast<std::size_t>(link.other));
        } else {
            for (int e = m_outStart[v]; e < m_outStart[v + 1]; ++e)
                visit(static_cast<std::size_t>(m_out[static_cast<std::size_t>(e)]));
        }
    };
    for (std::size_t first = 0; first < m_falls.size(); first += 64) {
        m_reachesFall.assign(count, 0);
        m_reachedFromFall.assign(count, 0);
        for (std::size_t f = first; f < m_falls.size() && f < first + 64; ++f) {
            const std::uint64_t bit = std::uint64_t{1} << (f - first);
            m_reachesFall[static_cast<std::size_t>(m_falls[f].first)] |= bit;
            m_reachedFromFall[static_cast<std::size_t>(m_falls[f].second)] |= bit;
        }
        Spread(m_reachesFall, false, eachStart);
        Spread(m_reachedFromFall, true, eachEnd);
        AddThroughFalls(order, groups);
    }
    return m_reachedBy;
}

} // namespace network
