// Shifting schedule times into drawing times by the node offsets: a pair
// (t, off) with off > 0 opens a gap of off days after t, one with off < 0
// squeezes the |off| days before t to a quarter. When the pair times ascend
// (the nodes are in time order) a shift costs a binary search; otherwise the
// pairs are walked one by one. Both give the same Single results.
#pragma once

#include "network/network_add_node_work.h"

#include <span>
#include <vector>

namespace network {

class OffsetShift {
public:
    void Build(std::span<const TOffsetPoint> pairs);
    float Shift(float x, bool atOrBefore) const;

    // The definition: every pair in order.
    static float ShiftByWalk(std::span<const TOffsetPoint> pairs, float x, bool atOrBefore);

private:
    // The first index at or after from whose squeezed interval holds x, or
    // pairs.size() when none.
    std::size_t FirstSqueezeHolding(std::size_t from, float x) const;

    std::vector<TOffsetPoint> m_pairs;
    bool m_ascending = true;
    // m_sums[i]: the shift after the first i pairs, all before x.
    std::vector<float> m_sums;
    // Minimum of t + off over negative pairs (infinity elsewhere), as a
    // segment tree over the pair indices.
    std::vector<float> m_tree;
    std::size_t m_leaves = 0;
};

} // namespace network
