#include "network/drawing/work_grid.h"

#include <algorithm>

namespace network {

namespace {

struct CellRange {
    std::int64_t left, top, right, bottom;
    std::int64_t Count() const { return (right - left + 1) * (bottom - top + 1); }
};

CellRange Cells(const QRect& bounds, int shift)
{
    return {std::int64_t{bounds.left()} >> shift, std::int64_t{bounds.top()} >> shift,
            std::int64_t{bounds.right()} >> shift, std::int64_t{bounds.bottom()} >> shift};
}

} // namespace

void WorkGrid::Insert(int index, const QRect& bounds)
{
    const CellRange cells = Cells(bounds, kCellShift);
    if (cells.Count() > kMostCells) {
        m_wide.push_back(index);
        return;
    }
    for (std::int64_t cy = cells.top; cy <= cells.bottom; ++cy)
        for (std::int64_t cx = cells.left; cx <= cells.right; ++cx)
            m_cells[Key(cx, cy)].push_back(index);
}

void WorkGrid::Query(const QRect& bounds, std::vector<int>& out) const
{
    out.assign(m_wide.begin(), m_wide.end());
    const CellRange cells = Cells(bounds, kCellShift);
    if (cells.Count() > std::int64_t(m_cells.size())) {
        for (const auto& [key, indexes] : m_cells) {
            const std::int64_t cx = std::int32_t(key >> 32);
            const std::int64_t cy = std::int32_t(key & 0xFFFFFFFFu);
            if (cx >= cells.left && cx <= cells.right && cy >= cells.top && cy <= cells.bottom)
                out.insert(out.end(), indexes.begin(), indexes.end());
        }
    } else {
        for (std::int64_t cy = cells.top; cy <= cells.bottom; ++cy)
            for (std::int64_t cx = cells.left; cx <= cells.right; ++cx)
                if (const auto found = m_cells.find(Key(cx, cy)); found != m_cells.end())
                    out.insert(out.end(), found->second.begin(), found->second.end());
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

} // namespace network
