// The offset columns a horizontal stretch of the drawing can meet: a stretch
// is split only at the columns that reach into its extent, and those are
// found by a binary search over the columns ordered by their left edge
// instead of a walk over every column.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace network {

struct TOffsetColumn;

class OffsetColumnIndex {
public:
    void Build(std::span<const TOffsetColumn> columns);
    // The indices (ascending) of the columns whose pixel interval meets
    // [lo, hi]; a column wholly beside it leaves a stretch there unsplit.
    void Meeting(int lo, int hi, std::vector<std::size_t>& out) const;

private:
    struct Extent {
        int Left = 0;
        int Right = 0;
        std::size_t Index = 0;
    };
    // By left edge; m_reach[k] is the largest right edge of m_extents[0..k].
    std::vector<Extent> m_extents;
    std::vector<int> m_reach;
};

} // namespace network
