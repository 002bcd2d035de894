#include "network/drawing/offset_columns.h"

#include "network/drawing/network_add_draw.h"

#include <algorithm>

namespace network {

void OffsetColumnIndex::Build(std::span<const TOffsetColumn> columns)
{
    m_extents.clear();
    m_reach.clear();
    for (std::size_t i = 0; i < columns.size(); ++i)
        m_extents.push_back({std::min(columns[i].From, columns[i].To), std::max(columns[i].From, columns[i].To), i});
    std::stable_sort(m_extents.begin(), m_extents.end(),
                     [](const Extent& a, const Extent& b) { return a.Left < b.Left; });
    for (const Extent& extent : m_extents)
        m_reach.push_back(m_reach.empty() ? extent.Right : std::max(m_reach.back(), extent.Right));
}

void OffsetColumnIndex::Meeting(int lo, int hi, std::vector<std::size_t>& out) const
{
    out.clear();
    const auto first = std::size_t(std::partition_point(m_reach.begin(), m_reach.end(), [lo](int r) { return r < lo; }) -
                                   m_reach.begin());
    for (std::size_t k = first; k < m_extents.size() && m_extents[k].Left <= hi; ++k)
        if (m_extents[k].Right >= lo)
            out.push_back(m_extents[k].Index);
    std::sort(out.begin(), out.end());
}

} // namespace network
