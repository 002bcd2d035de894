#include "common/length_units.h"
#include "common/paper_sizes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace common;

TEST(LengthUnits, ConvertLengthPassesThroughPixels)
{
    struct Case { int value, resolution, from, to, out; };
    const Case cases[] = {
        {2100, 96, luTenthMM, luPixels, 794},
        {794, 96, luPixels, luTenthMM, 2101},   // a round trip may differ by one unit
        {254, 96, luTenthMM, luTenthMM, 254},
        {1, 96, luTenthMM, luTenthMM, 0},       // equal units still pass through pixels
        {1000, 600, luHundredthInch, luTwips, 14400},
        {100, 96, luTenthInch, luHundredthMM, 25400},
        {77, 96, luPixels, luPixels, 77},
        {77, 96, 9, luPixels, 77},              // an unknown unit acts like pixels
        {2100, 96, luTenthMM, -1, 794},
        {5, 2, luPixels, luTenthInch, 25},      // 2.5 rounds away from zero
        {-5, 2, luPixels, luTenthInch, -25},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertLength(c.value, c.resolution, c.from, c.to), c.out)
            << c.value << " at " << c.resolution << " from " << c.from << " to " << c.to;
}

TEST(LengthUnits, NoResolutionGivesZeroAndHugeValuesSaturate)
{
    // A printer that reports no resolution (none installed, a bare fake).
    EXPECT_EQ(ConvertLength(2100, 0, luTenthMM, luPixels), 0);
    EXPECT_EQ(ConvertLength(794, 0, luPixels, luTenthMM), 0);
    EXPECT_EQ(ConvertLength(794, -96, luPixels, luTenthMM), 0);
    EXPECT_EQ(ConvertLength(794, 0, luPixels, luPixels), 794);
    constexpr int max = std::numeric_limits<int>::max();
    EXPECT_EQ(ConvertLength(max, 2400, luTenthMM, luPixels), max); // not -1
    EXPECT_EQ(ConvertLength(max, 1, luPixels, luTwips), max);
    EXPECT_EQ(ConvertLength(-max, 1, luPixels, luTwips), std::numeric_limits<int>::min());
}

TEST(PaperSizes, TableAndLookup)
{
    EXPECT_EQ(PaperSizes.size(), 9u);
    EXPECT_EQ(PaperSizeName(4), QStringLiteral("A4 210 x 297 mm"));
    EXPECT_EQ(PaperSizeName(8), QStringLiteral("自定义大小"));
    EXPECT_EQ(PaperSizes[2].PaperCode, 66);
    EXPECT_EQ(PaperSizes[8].Width, 2100);
    struct Case { int width, height, index; };
    const Case cases[] = {
        {2100, 2970, 4}, // A4, never the custom row with the same size
        {2970, 2100, 8}, // the table holds upright sizes only
        {2500, 3540, 6}, {8410, 11890, 0}, {1820, 2570, 7}, {2101, 2970, 8}, {0, 0, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindPaperSize(QPoint(c.width, c.height)), c.index) << c.width << " x " << c.height;
    // Every standard row is found at its own index.
    for (int i = 0; i < CustomPaperSize; ++i)
        EXPECT_EQ(FindPaperSize(QPoint(PaperSizes[std::size_t(i)].Width, PaperSizes[std::size_t(i)].Height)), i);
}
