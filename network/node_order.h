// The order of a group of nodes with equal earliest time: a node that
// reaches another comes first; otherwise the smaller Offset comes first;
// otherwise the current order stays.
#pragma once

#include <span>
#include <vector>

namespace network {

// offsets: Offset of each member in the current order. reachedBy[x]: the
// members that reach member x; when the offsets differ it must list all of
// them, with equal offsets the direct predecessors suffice. Returns the
// members' current positions in their new order: each member in the current
// order is placed after the members that must come before it (those that
// reach it, and those it is not linked with that have a smaller Offset),
// taking these in their current order and placing each of them the same
// way first. When the rules cannot all be met (the offsets contradict the
// links, or the links form a cycle), predecessors still come first, then
// the smaller Offset, then the current order, and rulesMet is set false.
// An order that meets the rules is returned unchanged. The cost is
// near-linear in the members and the lengths of the lists.
std::vector<int> OrderEqualTimeGroup(std::span<const float> offsets, const std::vector<std::vector<int>>& reachedBy,
                                     bool& rulesMet);

// The same order for a group of two members, given in their current order
// with their offsets and whether each reaches the other: true when the
// second must come first. When each reaches the other, the smaller Offset
// comes first, else the current order stays, and rulesMet is set false.
inline bool SecondOfPairFirst(float firstOffset, float secondOffset, bool firstReaches, bool secondReaches,
                              bool& rulesMet)
{
    if (firstReaches && secondReaches)
        rulesMet = false;
    return firstReaches == secondReaches ? secondOffset < firstOffset : secondReaches;
}

} // namespace network
