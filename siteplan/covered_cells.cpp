#include "covered_cells.h"

#include <algorithm>

namespace siteplan {

namespace {

// Bits first..last (within one word) set.
std::uint64_t BitRange(int first, int last)
{
    const std::uint64_t upTo = last >= 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (last + 1)) - 1;
    return upTo & ~((std::uint64_t{1} << first) - 1);
}

// The cell of a pixel offset from the area's corner (offset >= 0).
int FloorCell(std::int64_t offset, int side)
{
    return static_cast<int>(offset / side);
}

} // namespace

TCoveredCells::TCoveredCells(const QRect& area) : FArea(area.normalized())
{
    if (FArea.isEmpty())
        return;
    FColumns = static_cast<int>((std::int64_t{FArea.width()} + CellSide - 1) / CellSide);
    FRows = static_cast<int>((std::int64_t{FArea.height()} + CellSide - 1) / CellSide);
    FWordsPerRow = (FColumns + WordBits - 1) / WordBits;
    FBits.assign(static_cast<std::size_t>(FWordsPerRow) * static_cast<std::size_t>(FRows), 0);
}

void TCoveredCells::Cover(const QRect& opaque)
{
    const QRect inside = opaque & FArea;
    if (inside.isEmpty())
        return;
    // Offsets from the area's corner; a cell counts when all its pixels lie
    // inside.
    const std::int64_t left = std::int64_t{inside.left()} - FArea.left();
    const std::int64_t top = std::int64_t{inside.top()} - FArea.top();
    const std::int64_t right = std::int64_t{inside.right()} - FArea.left();
    const std::int64_t bottom = std::int64_t{inside.bottom()} - FArea.top();
    const int firstColumn = FloorCell(left + CellSide - 1, CellSide);
    const int firstRow = FloorCell(top + CellSide - 1, CellSide);
    // The last cell that ends at or before the last pixel; the cells at the
    // area's right and bottom edge end with the area.
    const int lastColumn = right == FArea.width() - 1 ? FColumns - 1 : FloorCell(right + 1, CellSide) - 1;
    const int lastRow = bottom == FArea.height() - 1 ? FRows - 1 : FloorCell(bottom + 1, CellSide) - 1;
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;
    for (int row = firstRow; row <= lastRow; ++row) {
        std::uint64_t* words = FBits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(FWordsPerRow);
        for (int w = firstColumn / WordBits; w <= lastColumn / WordBits; ++w) {
            const int from = std::max(firstColumn, w * WordBits) - w * WordBits;
            const int to = std::min(lastColumn, w * WordBits + WordBits - 1) - w * WordBits;
            words[w] |= BitRange(from, to);
        }
    }
}

bool TCoveredCells::Covers(const QRect& frame) const
{
    const QRect inside = frame.normalized() & FArea;
    if (inside.isEmpty())
        return false;
    const int firstColumn = FloorCell(std::int64_t{inside.left()} - FArea.left(), CellSide);
    const int firstRow = FloorCell(std::int64_t{inside.top()} - FArea.top(), CellSide);
    const int lastColumn = FloorCell(std::int64_t{inside.right()} - FArea.left(), CellSide);
    const int lastRow = FloorCell(std::int64_t{inside.bottom()} - FArea.top(), CellSide);
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::uint64_t* words =
            FBits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(FWordsPerRow);
        for (int w = firstColumn / WordBits; w <= lastColumn / WordBits; ++w) {
            const int from = std::max(firstColumn, w * WordBits) - w * WordBits;
            const int to = std::min(lastColumn, w * WordBits + WordBits - 1) - w * WordBits;
            const std::uint64_t wanted = BitRange(from, to);
            if ((words[w] & wanted) != wanted)
                return false;
        }
    }
    return true;
}

} // namespace siteplan
