#include "network/reach_through_falls.h"

#include "network/schedule_graph.h"

#include <algorithm>
#include <bit>

namespace network {

void ReachThroughFalls::CollectLinks(const ScheduleGraph& graph, std::span<const float> earliest)
{
    const std::size_t count = earliest.size();
    m_inStart.assign(count + 1, 0);
    m_outStart.assign(count + 1, 0);
    m_falls.clear();
    const auto eachLink = [&](auto&& visit) {
        for (std::size_t v = 0; v < count; ++v)
            for (const int work : graph.Into(graph.SlotOfIndex(static_cast<int>(v)))) {
                const int startSlot = graph.PriorSlot(work);
                if (startSlot >= 0)
                    visit(graph.IndexOfSlot(startSlot), static_cast<int>(v));
            }
    };
    eachLink([&](int u, int v) {
        ++m_inStart[static_cast<std::size_t>(v) + 1];
        ++m_outStart[static_cast<std::size_t>(u) + 1];
        if (earliest[static_cast<std::size_t>(v)] < earliest[static_cast<std::size_t>(u)])
            m_falls.emplace_back(u, v);
    });
    for (std::size_t i = 0; i < count; ++i) {
        m_inStart[i + 1] += m_inStart[i];
        m_outStart[i + 1] += m_outStart[i];
    }
    m_in.resize(static_cast<std::size_t>(m_inStart[count]));
    m_out.resize(static_cast<std::size_t>(m_outStart[count]));
    // Filled from the back, so each list keeps the order of the links.
    std::vector<int>& inFill = m_pending;
    inFill.assign(m_inStart.begin() + 1, m_inStart.end());
    std::vector<int> outFill(m_outStart.begin() + 1, m_outStart.end());
    for (std::size_t v = count; v-- > 0;) {
        const auto into = graph.Into(graph.SlotOfIndex(static_cast<int>(v)));
        for (std::size_t k = into.size(); k-- > 0;) {
            const int startSlot = graph.PriorSlot(into[k]);
            if (startSlot < 0)
                continue;
            const auto u = static_cast<std::size_t>(graph.IndexOfSlot(startSlot));
            m_in[static_cast<std::size_t>(--inFill[v])] = static_cast<int>(u);
            m_out[static_cast<std::size_t>(--outFill[u])] = static_cast<int>(v);
        }
    }
}

// Spreads the bits along the links given (in: towards the nodes that reach
// a node; out: towards the nodes it reaches) until nothing changes. Most
// links run the way of the node order (towards the end for out, towards the
// start for in), so one sweep in that direction does most of the work; the
// nodes that can still pass on a bit are then taken again until none can,
// each only when it gained a bit, so at most 65 times.
void ReachThroughFalls::Spread(std::vector<std::uint64_t>& bits, const std::vector<int>& start,
                               const std::vector<int>& next, bool towardsEnd)
{
    const std::size_t count = bits.size();
    const auto passOn = [&](std::size_t v) {
        for (int e = start[v]; e < start[v + 1]; ++e)
            bits[static_cast<std::size_t>(next[static_cast<std::size_t>(e)])] |= bits[v];
    };
    for (std::size_t step = 0; step < count; ++step)
        passOn(towardsEnd ? step : count - 1 - step);
    m_pending.clear();
    m_queued.assign(count, 0);
    for (std::size_t v = 0; v < count; ++v)
        for (int e = start[v]; e < start[v + 1]; ++e) {
            const auto w = static_cast<std::size_t>(next[static_cast<std::size_t>(e)]);
            if ((bits[w] | bits[v]) != bits[w]) {
                m_pending.push_back(static_cast<int>(v));
                m_queued[v] = 1;
                break;
            }
        }
    while (!m_pending.empty()) {
        const auto v = static_cast<std::size_t>(m_pending.back());
        m_pending.pop_back();
        m_queued[v] = 0;
        for (int e = start[v]; e < start[v + 1]; ++e) {
            const auto w = static_cast<std::size_t>(next[static_cast<std::size_t>(e)]);
            const std::uint64_t merged = bits[w] | bits[v];
            if (merged != bits[w]) {
                bits[w] = merged;
                if (!m_queued[w]) {
                    m_queued[w] = 1;
                    m_pending.push_back(static_cast<int>(w));
                }
            }
        }
    }
}

const std::vector<std::vector<int>>& ReachThroughFalls::Find(const ScheduleGraph& graph,
                                                             std::span<const float> earliest,
                                                             std::span<const int> order,
                                                             std::span<const std::pair<std::size_t, std::size_t>> groups)
{
    const std::size_t count = order.size();
    m_reachedBy.resize(count);
    for (auto& list : m_reachedBy)
        list.clear();
    CollectLinks(graph, earliest);
    if (m_seen.size() != count || m_stamp > 0xFFFF0000u) {
        m_seen.assign(count, 0);
        m_stamp = 0;
    }
    for (std::size_t first = 0; first < m_falls.size(); first += 64) {
        m_reachesFall.assign(count, 0);
        m_reachedFromFall.assign(count, 0);
        for (std::size_t f = first; f < m_falls.size() && f < first + 64; ++f) {
            const std::uint64_t bit = std::uint64_t{1} << (f - first);
            m_reachesFall[static_cast<std::size_t>(m_falls[f].first)] |= bit;
            m_reachedFromFall[static_cast<std::size_t>(m_falls[f].second)] |= bit;
        }
        Spread(m_reachesFall, m_inStart, m_in, false);
        Spread(m_reachedFromFall, m_outStart, m_out, true);

        for (const auto& [begin, end] : groups) {
            for (auto& list : m_holders)
                list.clear();
            for (std::size_t m = begin; m < end; ++m) {
                const int node = order[m];
                for (std::uint64_t bits = m_reachesFall[static_cast<std::size_t>(node)]; bits; bits &= bits - 1)
                    m_holders[std::countr_zero(bits)].push_back(node);
            }
            for (std::size_t m = begin; m < end; ++m) {
                const auto node = static_cast<std::size_t>(order[m]);
                if (!m_reachedFromFall[node])
                    continue;
                const std::uint32_t stamp = ++m_stamp;
                m_seen[node] = stamp;
                for (const int known : m_reachedBy[node])
                    m_seen[static_cast<std::size_t>(known)] = stamp;
                for (std::uint64_t bits = m_reachedFromFall[node]; bits; bits &= bits - 1)
                    for (const int other : m_holders[std::countr_zero(bits)])
                        if (m_seen[static_cast<std::size_t>(other)] != stamp) {
                            m_seen[static_cast<std::size_t>(other)] = stamp;
                            m_reachedBy[node].push_back(other);
                        }
            }
        }
    }
    return m_reachedBy;
}

} // namespace network
