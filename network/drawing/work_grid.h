// A spatial index of work bounds for one paint pass: a query returns, in
// collection order, every work whose bounds may meet a rectangle (a
// superset of those that do), so crossing tests look at near works only.
#pragma once

#include <QRect>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace network {

class WorkGrid {
public:
    // bounds: inclusive (left, top, right, bottom) of work index.
    void Insert(int index, const QRect& bounds);
    // Work indexes whose bounds share a cell with bounds, ascending.
    void Query(const QRect& bounds, std::vector<int>& out) const;

private:
    static constexpr int kCellShift = 7; // 128-pixel cells
    static constexpr std::int64_t kMostCells = 64;
    static std::uint64_t Key(std::int64_t cx, std::int64_t cy)
    {
        return (std::uint64_t(cx) << 32) ^ std::uint64_t(std::uint32_t(cy));
    }

    std::unordered_map<std::uint64_t, std::vector<int>> m_cells;
    // Works that cover too many cells are listed once and always returned.
    std::vector<int> m_wide;
};

} // namespace network
