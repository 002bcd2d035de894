// Which parts of the area being painted are already settled by shapes drawn
// later in the paint: cells of 4 x 4 pixels, each marked once a later
// shape's opaque area holds it whole. A shape whose frame lies on marked
// cells only would be painted over completely and may be left out.
#pragma once

#include <QRect>

#include <cstdint>
#include <vector>

namespace siteplan {

class TCoveredCells {
public:
    // Cells from area's top-left corner over the whole area.
    explicit TCoveredCells(const QRect& area);

    // Marks the cells that lie wholly inside opaque.
    void Cover(const QRect& opaque);
    // True when frame meets the area and every cell it touches there is
    // marked.
    bool Covers(const QRect& frame) const;

private:
    static constexpr int CellSide = 4;
    static constexpr int WordBits = 64;

    QRect FArea;
    int FColumns = 0;
    int FRows = 0;
    int FWordsPerRow = 0;
    // One bit per cell, row by row.
    std::vector<std::uint64_t> FBits;
};

} // namespace siteplan
