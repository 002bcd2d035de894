#include "apps/sitelay/zoom_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Steps(int zoom, int (*step)(int), int count)
{
    std::vector<int> zooms;
    for (int i = 0; i < count; ++i)
        zooms.push_back(zoom = step(zoom));
    return zooms;
}

TEST(ZoomSteps, InFromHundredRaisesToMultiplesOfFive)
{
    EXPECT_EQ(Steps(100, sitelay::ZoomInStep, 6), (std::vector<int>{150, 225, 340, 510, 765, 1150}));
}

TEST(ZoomSteps, OutFromHundredStopsAtFifteen)
{
    EXPECT_EQ(Steps(100, sitelay::ZoomOutStep, 9), (std::vector<int>{75, 60, 45, 35, 30, 25, 20, 15, 15}));
}

TEST(MousePositionText, NearestHundredMillimetresWithHalvesToEven)
{
    struct Case {
        QPoint world;
        const char* text;
    };
    const Case cases[] = {
        {{123456, 0}, "X = 12300 mm ; Y =  0 mm"},
        {{124500, 125500}, "X = 12400 mm ; Y =  12600 mm"},
        {{-1500, 49999}, "X = -200 mm ; Y =  5000 mm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sitelay::MousePositionText(c.world).toStdString(), c.text) << c.world.x();
}

} // namespace
