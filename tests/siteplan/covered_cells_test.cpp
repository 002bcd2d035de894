#include "siteplan/covered_cells.h"

#include <gtest/gtest.h>

#include <vector>

using siteplan::TCoveredCells;

namespace {

struct CoverCase {
    const char* Name;
    std::vector<QRect> Opaque;
    QRect Frame;
    bool Covered;
};

// The area starts off the 4-pixel grid and ends in part cells, so that the
// cells are counted from its corner and its last ones are short.
const QRect Area(10, 20, 38, 23); // x 10..47, y 20..42

TEST(CoveredCells, AFrameIsCoveredOnlyWhereEveryCellItTouchesLiesWithinAnOpaqueArea)
{
    const CoverCase cases[] = {
        {"nothing opaque", {}, QRect(20, 30, 4, 4), false},
        {"one cell exactly", {QRect(14, 24, 4, 4)}, QRect(14, 24, 4, 4), true},
        {"a pixel inside a covered cell", {QRect(14, 24, 4, 4)}, QRect(15, 25, 1, 1), true},
        {"opaque one pixel short of the cell", {QRect(14, 24, 3, 4)}, QRect(15, 25, 1, 1), false},
        {"opaque off the grid covers only its whole cells", {QRect(13, 23, 10, 10)}, QRect(14, 24, 8, 8), true},
        {"and not the cells it only enters", {QRect(13, 23, 10, 10)}, QRect(13, 23, 1, 1), false},
        {"two areas side by side", {QRect(10, 20, 8, 8), QRect(18, 20, 8, 8)}, QRect(11, 21, 14, 6), true},
        {"a gap between two areas", {QRect(10, 20, 8, 8), QRect(22, 20, 8, 8)}, QRect(11, 21, 14, 6), false},
        {"the short last column ends with the area", {QRect(44, 20, 10, 4)}, QRect(46, 21, 1, 1), true},
        {"the short last row ends with the area", {QRect(10, 40, 4, 10)}, QRect(11, 42, 1, 1), true},
        {"a frame reaching out of the area counts inside only",
         {QRect(0, 0, 100, 100)}, QRect(-50, -50, 200, 200), true},
        {"a frame wholly outside is not covered", {QRect(0, 0, 100, 100)}, QRect(60, 60, 5, 5), false},
        {"the whole area", {Area}, Area, true},
    };
    for (const CoverCase& c : cases) {
        TCoveredCells covered(Area);
        for (const QRect& opaque : c.Opaque)
            covered.Cover(opaque);
        EXPECT_EQ(covered.Covers(c.Frame), c.Covered) << c.Name;
    }
}

// A row wider than one word of cells: the cells on both sides of a word's
// end are marked and asked for.
TEST(CoveredCells, RowsOfManyWordsKeepEveryCell)
{
    const QRect area(0, 0, 1000, 12);
    TCoveredCells covered(area);
    covered.Cover(QRect(200, 0, 400, 12));
    EXPECT_TRUE(covered.Covers(QRect(200, 0, 400, 12)));
    EXPECT_TRUE(covered.Covers(QRect(252, 4, 8, 1))); // cells 63 and 64
    EXPECT_FALSE(covered.Covers(QRect(196, 0, 8, 1)));
    EXPECT_FALSE(covered.Covers(QRect(596, 0, 8, 1)));
}

} // namespace
