// The offset columns a stretch meets: every column whose pixel interval
// shares a pixel with the stretch's extent, in the columns' order, also for
// columns out of order, nested, overlapping, of no width or given right to
// left.
#include "network/drawing/network_add_draw.h"
#include "network/drawing/offset_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using network::OffsetColumnIndex;
using network::TOffsetColumn;

namespace {

std::vector<std::size_t> MeetingByWalk(const std::vector<TOffsetColumn>& columns, int lo, int hi)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (std::max(columns[i].From, columns[i].To) >= lo && std::min(columns[i].From, columns[i].To) <= hi)
            out.push_back(i);
    return out;
}

TEST(OffsetColumnIndex, FindsTheColumnsMeetingAStretchInTheirOrder)
{
    const std::vector<std::vector<TOffsetColumn>> tables{
        {},
        {{40, 60}},
        {{0, 10}, {20, 30}, {40, 80}, {90, 90}, {120, 200}},
        {{100, 140}, {10, 20}, {60, 65}, {10, 20}, {-30, -5}},
        {{0, 300}, {20, 30}, {25, 28}, {250, 260}, {40, 45}},
        {{70, 50}, {55, 55}, {30, 90}, {-2147483647, -2147483000}, {2147483000, 2147483647}},
    };
    std::vector<std::size_t> found;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        OffsetColumnIndex index;
        index.Build(tables[t]);
        for (int lo = -40; lo <= 310; lo += 5)
            for (const int width : {0, 1, 4, 9, 25, 400}) {
                index.Meeting(lo, lo + width, found);
                EXPECT_EQ(found, MeetingByWalk(tables[t], lo, lo + width))
                    << "table " << t << " stretch " << lo << ".." << lo + width;
            }
        index.Meeting(-2147483647 - 1, 2147483647, found);
        EXPECT_EQ(found, MeetingByWalk(tables[t], -2147483647 - 1, 2147483647)) << "table " << t;
    }
}

} // namespace
