#include "network/node_order.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <utility>

namespace network {

namespace {

// Places every member after its predecessors, taking the members in the
// sequence given and each member's predecessors in list order (depth first,
// without recursion); nothing when they form a cycle.
std::optional<std::vector<int>> PlaceAfterPredecessors(std::span<const int> sequence,
                                                       const std::vector<std::vector<int>>& predecessors)
{
    enum : char { unplaced, placing, placed };
    std::vector<char> state(predecessors.size(), unplaced);
    std::vector<int> order;
    order.reserve(predecessors.size());
    std::vector<std::pair<int, std::size_t>> stack;
    for (const int root : sequence) {
        if (state[static_cast<std::size_t>(root)] != unplaced)
            continue;
        state[static_cast<std::size_t>(root)] = placing;
        stack.emplace_back(root, 0);
        while (!stack.empty()) {
            const int x = stack.back().first;
            const auto& preds = predecessors[static_cast<std::size_t>(x)];
            if (stack.back().second < preds.size()) {
                const int p = preds[stack.back().second++];
                char& s = state[static_cast<std::size_t>(p)];
                if (s == unplaced) {
                    s = placing;
                    stack.emplace_back(p, 0);
                } else if (s == placing) {
                    return std::nullopt;
                }
                continue;
            }
            state[static_cast<std::size_t>(x)] = placed;
            order.push_back(x);
            stack.pop_back();
        }
    }
    return order;
}

// Repeatedly places, among the members whose predecessors are all placed,
// the one with the smallest Offset (then the earliest in the current
// order). Where a cycle leaves no such member, the first unplaced member in
// that priority is placed anyway.
std::vector<int> PlaceByPriority(std::span<const float> offsets, const std::vector<std::vector<int>>& predecessors)
{
    const std::size_t count = offsets.size();
    std::vector<int> byPriority(count);
    std::iota(byPriority.begin(), byPriority.end(), 0);
    std::stable_sort(byPriority.begin(), byPriority.end(), [&](int a, int b) {
        return offsets[static_cast<std::size_t>(a)] < offsets[static_cast<std::size_t>(b)];
    });
    std::vector<int> rank(count);
    for (std::size_t r = 0; r < count; ++r)
        rank[static_cast<std::size_t>(byPriority[r])] = static_cast<int>(r);

    std::vector<std::vector<int>> successors(count);
    std::vector<int> waiting(count, 0);
    for (std::size_t x = 0; x < count; ++x)
        for (const int p : predecessors[x]) {
            successors[static_cast<std::size_t>(p)].push_back(static_cast<int>(x));
            ++waiting[x];
        }
    std::set<int> ready; // ranks
    for (std::size_t x = 0; x < count; ++x)
        if (waiting[x] == 0)
            ready.insert(rank[x]);
    std::vector<char> placed(count, 0);
    std::vector<int> order;
    order.reserve(count);
    std::size_t firstUnplaced = 0;
    while (order.size() < count) {
        int x;
        if (!ready.empty()) {
            x = byPriority[static_cast<std::size_t>(*ready.begin())];
            ready.erase(ready.begin());
        } else {
            while (placed[static_cast<std::size_t>(byPriority[firstUnplaced])])
                ++firstUnplaced;
            x = byPriority[firstUnplaced];
        }
        placed[static_cast<std::size_t>(x)] = 1;
        order.push_back(x);
        for (const int next : successors[static_cast<std::size_t>(x)])
            if (--waiting[static_cast<std::size_t>(next)] == 0 && !placed[static_cast<std::size_t>(next)])
                ready.insert(rank[static_cast<std::size_t>(next)]);
    }
    return order;
}

} // namespace

std::vector<int> OrderEqualTimeGroup(std::span<const float> offsets, const std::vector<std::vector<int>>& reachedBy,
                                     bool closed)
{
    const std::size_t count = offsets.size();
    std::vector<int> positions(count);
    std::iota(positions.begin(), positions.end(), 0);
    const bool equalOffsets = std::all_of(offsets.begin(), offsets.end(), [&](float o) { return o == offsets[0]; });

    if (equalOffsets) {
        std::vector<std::vector<int>> sorted = reachedBy;
        for (auto& preds : sorted)
            std::sort(preds.begin(), preds.end());
        if (auto order = PlaceAfterPredecessors(positions, sorted))
            return *order;
    } else if (closed) {
        // Every pair must be ordered: by reachability, or by Offset where
        // neither reaches the other.
        std::vector<char> reaches(count * count, 0);
        for (std::size_t x = 0; x < count; ++x)
            for (const int y : reachedBy[x])
                reaches[static_cast<std::size_t>(y) * count + x] = 1;
        std::vector<std::vector<int>> before(count);
        for (std::size_t x = 0; x < count; ++x)
            for (std::size_t y = 0; y < count; ++y) {
                if (x == y)
                    continue;
                const bool linked = reaches[y * count + x] || reaches[x * count + y];
                if (reaches[y * count + x] || (!linked && offsets[y] < offsets[x]))
                    before[x].push_back(static_cast<int>(y));
            }
        if (auto order = PlaceAfterPredecessors(positions, before))
            return *order;
    }

    return PlaceByPriority(offsets, reachedBy);
}

} // namespace network
