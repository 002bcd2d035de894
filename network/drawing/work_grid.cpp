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
    if (std::size_t(index) >= m_stamps.size())
        m_stamps.resize(std::size_t(index) + 1, 0);
    const Entry entry{index, bounds.left(), bounds.top(), bounds.right(), bounds.bottom()};
    const CellRange cells = Cells(bounds, m_cellShift);
    if (cells.Count() > kMostCells) {
        m_wide.push_back(entry);
        return;
    }
    for (std::int64_t cy = cells.top; cy <= cells.bottom; ++cy)
        for (std::int64_t cx = cells.left; cx <= cells.right; ++cx)
            m_cells[Key(cx, cy)].push_back(entry);
}

void WorkGrid::Take(int index, std::vector<int>& out)
{
    std::uint32_t& stamp = m_stamps[std::size_t(index)];
    if (stamp != m_stamp) {
        stamp = m_stamp;
        out.push_back(index);
    }
}

void WorkGrid::TakeMeeting(const std::vector<Entry>& entries, const QRect& bounds, std::vector<int>& out)
{
    for (const Entry& entry : entries)
        if (entry.Meets(bounds))
            Take(entry.index, out);
}

void WorkGrid::Query(const QRect& bounds, std::vector<int>& out)
{
    out.clear();
    if (++m_stamp == 0) {
        std::fill(m_stamps.begin(), m_stamps.end(), 0);
        m_stamp = 1;
    }
    TakeMeeting(m_wide, bounds, out);
    const CellRange cells = Cells(bounds, m_cellShift);
    if (cells.Count() > std::int64_t(m_cells.size())) {
        for (const auto& [key, entries] : m_cells) {
            const std::int64_t cx = std::int32_t(key >> 32);
            const std::int64_t cy = std::int32_t(key & 0xFFFFFFFFu);
            if (cx >= cells.left && cx <= cells.right && cy >= cells.top && cy <= cells.bottom)
                TakeMeeting(entries, bounds, out);
        }
    } else {
        for (std::int64_t cy = cells.top; cy <= cells.bottom; ++cy)
            for (std::int64_t cx = cells.left; cx <= cells.right; ++cx)
                if (const auto found = m_cells.find(Key(cx, cy)); found != m_cells.end())
                    TakeMeeting(found->second, bounds, out);
    }
    std::sort(out.begin(), out.end());
}

} // namespace network
