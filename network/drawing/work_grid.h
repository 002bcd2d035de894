// A spatial index of work segments for one paint pass: a query returns, in
// collection order, every work with a segment whose bounds meet a
// rectangle (a superset of the works whose lines meet it), so crossing
// tests look at near works only.
#pragma once

#include <QRect>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace network {

class WorkGrid {
public:
    // cellShift: the cells' side is 1 << cellShift pixels; large items
    // query best in large cells.
    explicit WorkGrid(int works = 0, int cellShift = 6)
        : m_cellShift(cellShift)
        , m_stamps(std::size_t(works), 0)
    {
    }

    // Adds a segment (inclusive bounds) of work index.
    void Insert(int index, const QRect& bounds);
    // Work indexes with a segment whose bounds meet bounds (both
    // inclusive), ascending.
    void Query(const QRect& bounds, std::vector<int>& out);

private:
    static constexpr std::int64_t kMostCells = 4096;
    // A segment's work and inclusive bounds.
    struct Entry {
        int index;
        int left, top, right, bottom;
        bool Meets(const QRect& r) const
        {
            return left <= r.right() && r.left() <= right && top <= r.bottom() && r.top() <= bottom;
        }
    };
    static std::uint64_t Key(std::int64_t cx, std::int64_t cy)
    {
        return (std::uint64_t(cx) << 32) ^ std::uint64_t(std::uint32_t(cy));
    }
    void Take(int index, std::vector<int>& out);
    void TakeMeeting(const std::vector<Entry>& entries, const QRect& bounds, std::vector<int>& out);

    int m_cellShift;
    std::unordered_map<std::uint64_t, std::vector<Entry>> m_cells;
    // Segments that cover too many cells are listed once and always tested.
    std::vector<Entry> m_wide;
    // The query that last returned each work.
    std::vector<std::uint32_t> m_stamps;
    std::uint32_t m_stamp = 0;
};

} // namespace network
