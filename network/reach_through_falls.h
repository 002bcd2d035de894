// Reach between nodes of equal earliest time along chains that leave their
// time: such a chain runs through at least one work whose end node has an
// earlier time than its start node (a falling work). Node x then reaches y
// through a falling work a -> b exactly when x reaches or is a and b reaches
// or is y, so one bit per falling work, spread backwards from a and forwards
// from b over the whole network, answers it for every pair at once.
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace network {

class ScheduleGraph;

// earliest: times by node index. groups: [begin, end) ranges of order, each
// holding the node indices of one earliest time. Returns for every node
// index the nodes of its group that reach it through a falling work.
std::vector<std::vector<int>> ReachThroughFalls(const ScheduleGraph& graph, std::span<const float> earliest,
                                                std::span<const int> order,
                                                std::span<const std::pair<std::size_t, std::size_t>> groups);

} // namespace network
