#include "network/drawing/offset_shift.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

bool Before(float t, float x, bool atOrBefore) { return t < x || (atOrBefore && t == x); }

float AddPair(float s, float off) { return off > 0.0f ? s + off : s + off - off / 4.0f; }

float Squeeze(float s, float x, const TOffsetPoint& pair)
{
    const float d = x - (pair.Time + pair.Offset);
    return s - d + d / 4.0f;
}

} // namespace

float OffsetShift::ShiftByWalk(std::span<const TOffsetPoint> pairs, float x, bool atOrBefore)
{
    float s = 0.0f;
    for (const TOffsetPoint& pair : pairs) {
        if (Before(pair.Time, x, atOrBefore)) {
            s = AddPair(s, pair.Offset);
        } else if (pair.Offset <= 0.0f && x > pair.Time + pair.Offset) {
            s = Squeeze(s, x, pair);
            break;
        }
    }
    return x + s;
}

void OffsetShift::Build(std::span<const TOffsetPoint> pairs)
{
    m_pairs.assign(pairs.begin(), pairs.end());
    m_ascending = std::none_of(m_pairs.begin(), m_pairs.end(), [](const TOffsetPoint& p) { return std::isnan(p.Time); })
                  && std::is_sorted(m_pairs.begin(), m_pairs.end(),
                                    [](const TOffsetPoint& a, const TOffsetPoint& b) { return a.Time < b.Time; });
    m_sums.assign(1, 0.0f);
    m_tree.clear();
    m_leaves = 0;
    if (!m_ascending)
        return;
    for (const TOffsetPoint& pair : m_pairs)
        m_sums.push_back(AddPair(m_sums.back(), pair.Offset));
    m_leaves = 1;
    while (m_leaves < m_pairs.size())
        m_leaves *= 2;
    m_tree.assign(2 * m_leaves, kInfinity);
    for (std::size_t i = 0; i < m_pairs.size(); ++i)
        if (m_pairs[i].Offset <= 0.0f)
            m_tree[m_leaves + i] = m_pairs[i].Time + m_pairs[i].Offset;
    for (std::size_t i = m_leaves - 1; i >= 1; --i)
        m_tree[i] = std::min(m_tree[2 * i], m_tree[2 * i + 1]);
}

std::size_t OffsetShift::FirstSqueezeHolding(std::size_t from, float x) const
{
    // Leftmost leaf at or after from with a value below x.
    const std::size_t none = m_pairs.size();
    if (from >= m_pairs.size())
        return none;
    std::size_t node = m_leaves + from;
    if (m_tree[node] < x)
        return from;
    // Climb until a right sibling holds a value below x, then descend.
    for (;;) {
        if (node == 1)
            return none;
        if (node % 2 == 0 && m_tree[node + 1] < x) {
            node = node + 1;
            break;
        }
        node /= 2;
    }
    while (node < m_leaves)
        node = m_tree[2 * node] < x ? 2 * node : 2 * node + 1;
    const std::size_t index = node - m_leaves;
    return index < m_pairs.size() ? index : none;
}

float OffsetShift::Shift(float x, bool atOrBefore) const
{
    if (!m_ascending || std::isnan(x))
        return ShiftByWalk(m_pairs, x, atOrBefore);
    // The pairs before x form a prefix; a pair after it adds nothing unless
    // x lies in its squeezed interval, which ends the walk.
    const auto split = atOrBefore ? std::upper_bound(m_pairs.begin(), m_pairs.end(), x,
                                                     [](float v, const TOffsetPoint& p) { return v < p.Time; })
                                  : std::lower_bound(m_pairs.begin(), m_pairs.end(), x,
                                                     [](const TOffsetPoint& p, float v) { return p.Time < v; });
    const std::size_t prefix = std::size_t(split - m_pairs.begin());
    float s = m_sums[prefix];
    const std::size_t squeeze = FirstSqueezeHolding(prefix, x);
    if (squeeze < m_pairs.size())
        s = Squeeze(s, x, m_pairs[squeeze]);
    return x + s;
}

} // namespace network
