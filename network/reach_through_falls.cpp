#include "network/reach_through_falls.h"

#include "network/schedule_graph.h"

#include <bit>
#include <cstdint>

namespace network {

namespace {

// The links between nodes by index, both ways, as offsets into one array.
struct Links {
    std::vector<int> inStart, in, outStart, out;
};

Links CollectLinks(const ScheduleGraph& graph, std::size_t count, std::vector<std::pair<int, int>>& falls,
                   std::span<const float> earliest)
{
    Links links;
    links.inStart.assign(count + 1, 0);
    links.outStart.assign(count + 1, 0);
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t v = 0; v < count; ++v)
        for (const int work : graph.Into(graph.SlotOfIndex(static_cast<int>(v)))) {
            const int startSlot = graph.PriorSlot(work);
            if (startSlot < 0)
                continue;
            const int u = graph.IndexOfSlot(startSlot);
            pairs.emplace_back(u, static_cast<int>(v));
            if (earliest[v] < earliest[static_cast<std::size_t>(u)])
                falls.emplace_back(u, static_cast<int>(v));
        }
    for (const auto& [u, v] : pairs) {
        ++links.inStart[static_cast<std::size_t>(v) + 1];
        ++links.outStart[static_cast<std::size_t>(u) + 1];
    }
    for (std::size_t i = 0; i < count; ++i) {
        links.inStart[i + 1] += links.inStart[i];
        links.outStart[i + 1] += links.outStart[i];
    }
    links.in.resize(pairs.size());
    links.out.resize(pairs.size());
    std::vector<int> inFill(links.inStart.begin(), links.inStart.end() - 1);
    std::vector<int> outFill(links.outStart.begin(), links.outStart.end() - 1);
    for (const auto& [u, v] : pairs) {
        links.in[static_cast<std::size_t>(inFill[static_cast<std::size_t>(v)]++)] = u;
        links.out[static_cast<std::size_t>(outFill[static_cast<std::size_t>(u)]++)] = v;
    }
    return links;
}

// Spreads the bits along the links given (in: towards the nodes that reach
// a node; out: towards the nodes it reaches) until nothing changes. A node
// is taken again only when it gained a bit, so at most 65 times.
void Spread(std::vector<std::uint64_t>& bits, const std::vector<int>& start, const std::vector<int>& next)
{
    std::vector<int> pending;
    std::vector<char> queued(bits.size(), 0);
    for (std::size_t v = 0; v < bits.size(); ++v)
        if (bits[v]) {
            pending.push_back(static_cast<int>(v));
            queued[v] = 1;
        }
    while (!pending.empty()) {
        const auto v = static_cast<std::size_t>(pending.back());
        pending.pop_back();
        queued[v] = 0;
        for (int e = start[v]; e < start[v + 1]; ++e) {
            const auto w = static_cast<std::size_t>(next[static_cast<std::size_t>(e)]);
            const std::uint64_t merged = bits[w] | bits[v];
            if (merged != bits[w]) {
                bits[w] = merged;
                if (!queued[w]) {
                    queued[w] = 1;
                    pending.push_back(static_cast<int>(w));
                }
            }
        }
    }
}

} // namespace

std::vector<std::vector<int>> ReachThroughFalls(const ScheduleGraph& graph, std::span<const float> earliest,
                                                std::span<const int> order,
                                                std::span<const std::pair<std::size_t, std::size_t>> groups)
{
    const std::size_t count = order.size();
    std::vector<std::vector<int>> reachedBy(count);
    std::vector<std::pair<int, int>> falls;
    const Links links = CollectLinks(graph, count, falls, earliest);

    std::vector<std::uint64_t> reachesFall(count), reachedFromFall(count);
    std::vector<std::size_t> seen(count, 0);
    std::size_t stamp = 0;
    std::vector<int> holders[64];
    for (std::size_t first = 0; first < falls.size(); first += 64) {
        std::fill(reachesFall.begin(), reachesFall.end(), 0);
        std::fill(reachedFromFall.begin(), reachedFromFall.end(), 0);
        for (std::size_t f = first; f < falls.size() && f < first + 64; ++f) {
            const std::uint64_t bit = std::uint64_t{1} << (f - first);
            reachesFall[static_cast<std::size_t>(falls[f].first)] |= bit;
            reachedFromFall[static_cast<std::size_t>(falls[f].second)] |= bit;
        }
        Spread(reachesFall, links.inStart, links.in);
        Spread(reachedFromFall, links.outStart, links.out);

        for (const auto& [begin, end] : groups) {
            for (auto& list : holders)
                list.clear();
            for (std::size_t m = begin; m < end; ++m) {
                const int node = order[m];
                for (std::uint64_t bits = reachesFall[static_cast<std::size_t>(node)]; bits; bits &= bits - 1)
                    holders[std::countr_zero(bits)].push_back(node);
            }
            for (std::size_t m = begin; m < end; ++m) {
                const auto node = static_cast<std::size_t>(order[m]);
                if (!reachedFromFall[node])
                    continue;
                ++stamp;
                seen[node] = stamp;
                for (const int known : reachedBy[node])
                    seen[static_cast<std::size_t>(known)] = stamp;
                for (std::uint64_t bits = reachedFromFall[node]; bits; bits &= bits - 1)
                    for (const int other : holders[std::countr_zero(bits)])
                        if (seen[static_cast<std::size_t>(other)] != stamp) {
                            seen[static_cast<std::size_t>(other)] = stamp;
                            reachedBy[node].push_back(other);
                        }
            }
        }
    }
    return reachedBy;
}

} // namespace network
