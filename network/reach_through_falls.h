// Reach between nodes of equal earliest time along chains that leave their
// time: such a chain runs through at least one work whose end node has an
// earlier time than its start node (a falling work). Node x then reaches y
// through a falling work a -> b exactly when x reaches or is a and b reaches
// or is y, so one bit per falling work, spread backwards from a and forwards
// from b over the whole network, answers it for every pair at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace network {

class ScheduleGraph;

// Keeps its arrays between calls, so that a recomputation does not ask the
// system for fresh memory each time.
class ReachThroughFalls {
public:
    // earliest: times by node index. groups: [begin, end) ranges of order,
    // each holding the node indices of one earliest time. Returns for every
    // node index the nodes of its group that reach it through a falling
    // work; valid until the next call.
    const std::vector<std::vector<int>>& Find(const ScheduleGraph& graph, std::span<const float> earliest,
                                              std::span<const int> order,
                                              std::span<const std::pair<std::size_t, std::size_t>> groups);

private:
    void CollectLinks(const ScheduleGraph& graph, std::span<const float> earliest);
    void Spread(std::vector<std::uint64_t>& bits, const std::vector<int>& start, const std::vector<int>& next,
                bool towardsEnd);

    // The links between nodes by index, both ways, as offsets into one
    // array, and the falling ones as (start, end).
    std::vector<int> m_inStart, m_in, m_outStart, m_out;
    std::vector<std::pair<int, int>> m_falls;
    std::vector<std::uint64_t> m_reachesFall, m_reachedFromFall;
    std::vector<int> m_pending;
    std::vector<char> m_queued;
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_stamp = 0;
    std::vector<int> m_holders[64];
    std::vector<std::vector<int>> m_reachedBy;
};

} // namespace network
