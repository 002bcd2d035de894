// The order of a group of nodes with equal earliest time: a node that
// reaches another comes first; otherwise the smaller Offset comes first;
// otherwise the current order stays.
#pragma once

#include <span>
#include <vector>

namespace network {

// offsets: Offset of each member in the current order. reachedBy[x]: the
// members that reach member x, either all of them (closed) or the direct
// predecessors only. Returns the members' current positions in their new
// order. When the rules above cannot all be met (the offsets contradict
// the links, or the links form a cycle), predecessors still come first,
// then the smaller Offset, then the current order.
std::vector<int> OrderEqualTimeGroup(std::span<const float> offsets, const std::vector<std::vector<int>>& reachedBy,
                                     bool closed);

} // namespace network
