#include "network/node_order.h"

#include <algorithm>
#include <limits>
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

// For each position the smallest offset rank among the unplaced members
// there, to find the first unplaced member after a position whose Offset is
// below a given one.
class UnplacedRanks {
public:
    explicit UnplacedRanks(const std::vector<int>& ranks)
    {
        while (m_size < ranks.size())
            m_size *= 2;
        m_least.assign(2 * m_size, kNone);
        std::copy(ranks.begin(), ranks.end(), m_least.begin() + static_cast<std::ptrdiff_t>(m_size));
        for (std::size_t i = m_size; i-- > 1;)
            m_least[i] = std::min(m_least[2 * i], m_least[2 * i + 1]);
    }

    void Remove(int position)
    {
        std::size_t i = m_size + static_cast<std::size_t>(position);
        m_least[i] = kNone;
        for (i /= 2; i >= 1; i /= 2)
            m_least[i] = std::min(m_least[2 * i], m_least[2 * i + 1]);
    }

    // The first position at or after from holding a rank below limit, or -1.
    int FirstBelow(int from, int limit) const { return Find(1, 0, m_size, static_cast<std::size_t>(from), limit); }

private:
    static constexpr int kNone = std::numeric_limits<int>::max();

    int Find(std::size_t node, std::size_t begin, std::size_t end, std::size_t from, int limit) const
    {
        if (end <= from || m_least[node] >= limit)
            return -1;
        if (end - begin == 1)
            return static_cast<int>(begin);
        const std::size_t middle = (begin + end) / 2;
        const int left = Find(2 * node, begin, middle, from, limit);
        return left >= 0 ? left : Find(2 * node + 1, middle, end, from, limit);
    }

    std::size_t m_size = 1;
    std::vector<int> m_least;
};

// The rule with differing offsets: member x must come after every member
// that reaches it and after every member it is not linked with whose Offset
// is smaller; those are taken in the current order, each placed the same
// way first (depth first, without recursion). The members that must come
// before x are found without listing every pair: those that reach x from
// the sorted lists, the others as the unplaced members with a smaller
// Offset that x does not reach. Nothing when the rules form a cycle.
std::optional<std::vector<int>> PlaceByRules(std::span<const float> offsets,
                                             const std::vector<std::vector<int>>& reachedBy)
{
    const std::size_t count = offsets.size();
    std::vector<float> distinct(offsets.begin(), offsets.end());
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<int> rank(count);
    for (std::size_t x = 0; x < count; ++x)
        rank[x] = static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), offsets[x]) - distinct.begin());
    const auto reaches = [&](int x, int y) {
        const auto& preds = reachedBy[static_cast<std::size_t>(y)];
        return std::binary_search(preds.begin(), preds.end(), x);
    };

    enum : char { unplaced, placing, placed };
    std::vector<char> state(count, unplaced);
    UnplacedRanks unplacedRanks(rank);
    struct Frame {
        int member;
        std::size_t nextReaching; // into reachedBy[member]
        int nextPosition;         // no member before it is still to be taken
        int nextSmaller;          // the search for smaller offsets resumes here
    };
    std::vector<Frame> stack;
    std::vector<int> order;
    order.reserve(count);
    for (std::size_t root = 0; root < count; ++root) {
        if (state[root] != unplaced)
            continue;
        state[root] = placing;
        stack.push_back({static_cast<int>(root), 0, 0, 0});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const int x = frame.member;
            const auto& preds = reachedBy[static_cast<std::size_t>(x)];
            while (frame.nextReaching < preds.size()
                   && (preds[frame.nextReaching] < frame.nextPosition || preds[frame.nextReaching] == x
                       || state[static_cast<std::size_t>(preds[frame.nextReaching])] == placed))
                ++frame.nextReaching;
            const int reaching = frame.nextReaching < preds.size() ? preds[frame.nextReaching] : -1;
            int smaller = -1;
            frame.nextSmaller = std::max(frame.nextSmaller, frame.nextPosition);
            while (true) {
                const int y = unplacedRanks.FirstBelow(frame.nextSmaller, rank[static_cast<std::size_t>(x)]);
                if (y < 0 || (reaching >= 0 && y > reaching))
                    break;
                if (!reaches(x, y)) {
                    smaller = y;
                    break;
                }
                frame.nextSmaller = y + 1;
            }
            int next = reaching;
            if (smaller >= 0 && (next < 0 || smaller < next))
                next = smaller;
            if (next < 0) {
                state[static_cast<std::size_t>(x)] = placed;
                unplacedRanks.Remove(x);
                order.push_back(x);
                stack.pop_back();
                continue;
            }
            frame.nextPosition = next + 1;
            char& s = state[static_cast<std::size_t>(next)];
            if (s == placing)
                return std::nullopt;
            s = placing;
            stack.push_back({next, 0, 0, 0});
        }
    }
    return order;
}

} // namespace

std::vector<int> OrderEqualTimeGroup(std::span<const float> offsets, const std::vector<std::vector<int>>& reachedBy,
                                     bool& rulesMet)
{
    std::vector<std::vector<int>> sorted = reachedBy;
    for (auto& preds : sorted)
        std::sort(preds.begin(), preds.end());
    const bool equalOffsets = std::all_of(offsets.begin(), offsets.end(), [&](float o) { return o == offsets[0]; });
    std::optional<std::vector<int>> order;
    if (equalOffsets) {
        std::vector<int> positions(offsets.size());
        std::iota(positions.begin(), positions.end(), 0);
        order = PlaceAfterPredecessors(positions, sorted);
    } else {
        order = PlaceByRules(offsets, sorted);
    }
    if (order)
        return *order;
    rulesMet = false;
    return PlaceByPriority(offsets, reachedBy);
}

} // namespace network
