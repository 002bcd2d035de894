#include "siteplan/plane_map.h"
#include "siteplan/text_show_set.h"
#include "siteplan/vyr_map_com.h"

#include "tests/support/fake_window_services.h"

#include <gtest/gtest.h>

#include <vector>

using siteplan::TPlaneMap;
using siteplan::TVyrMapCom;

namespace {

// 254 pixels per inch at 1 : 1 and zoom 100 give one pixel per world unit,
// so screen values are the unsnapped world values.
struct UnitScale : ::testing::Test {
    FakeWindowServices services;
    TPlaneMap map{services, 254};
    UnitScale() { map.SetMapScale(1); }
};

TEST_F(UnitScale, ScreenToWorldSnapsToWholeCentimetresHalvesToEven)
{
    TVyrMapCom shape(&map, {});
    const struct {
        int unsnapped;
        int snapped;
    } cases[] = {{149, 100}, {150, 200}, {250, 200}, {-150, -200}, {50, 0}, {-49, 0}, {351, 400}};
    for (const auto& c : cases) {
        EXPECT_EQ(shape.ScreenToWorld({c.unsnapped, 0}, false).x(), c.snapped) << c.unsnapped;
        EXPECT_EQ(shape.ScreenToWorld({0, c.unsnapped}, true).y(), c.snapped) << c.unsnapped;
    }
}

TEST_F(UnitScale, UnrotatedShapeConvertsTheSameWithAndWithoutRotation)
{
    TVyrMapCom shape(&map, {});
    for (const QPoint p : {QPoint(0, 0), QPoint(1234, -567), QPoint(300, 900)}) {
        EXPECT_EQ(shape.WorldToScreen(p, true), shape.WorldToScreen(p, false));
        EXPECT_EQ(shape.ScreenToWorld(p, true), shape.ScreenToWorld(p, false));
    }
}

TEST_F(UnitScale, RotatedShapeTurnsPointsAboutItsCentre)
{
    TVyrMapCom shape(&map, {});
    EXPECT_EQ(shape.GetBounds(), (siteplan::TRect{0, 0, 10, 10}));
    EXPECT_EQ(shape.GetCenter(), QPoint(5, 5));
    shape.RotateAngle = 900;
    // Clockwise on the screen: right of the centre turns to below it.
    EXPECT_EQ(shape.WorldToScreen({15, 5}, true), QPoint(5, 15));
    EXPECT_EQ(shape.WorldToScreen({15, 5}, false), QPoint(15, 5));
    EXPECT_EQ(shape.RotatePoint({5, 15}, -shape.RotateRadians()), QPoint(15, 5));
}

TEST_F(UnitScale, CreationPointBecomesTheSnappedBasePoint)
{
    const std::vector<QPoint> points{{149, 250}, {400, 400}};
    TVyrMapCom shape(&map, points);
    EXPECT_EQ(shape.BasePoint, QPoint(100, 200));
    EXPECT_EQ(shape.MapID, 0);
    EXPECT_EQ(shape.FlexX, 1.0f);
    EXPECT_EQ(shape.Attributes(), 0);
}

struct HitCase {
    const char* name;
    std::vector<QPoint> points;
    QPoint p;
    bool hits;
    int segment;
};

TEST_F(UnitScale, HitPolyline)
{
    const HitCase cases[] = {
        {"one point", {{100, 100}}, {100, 100}, false, 0},
        {"4 px from a vertical segment", {{100, 100}, {100, 200}}, {104, 150}, true, 1},
        {"5 px from a vertical segment", {{100, 100}, {100, 200}}, {105, 150}, false, 0},
        {"beyond the end of a vertical segment", {{100, 100}, {100, 200}}, {102, 201}, false, 0},
        {"4 px from a horizontal segment", {{100, 100}, {300, 100}}, {200, 96}, true, 1},
        {"near a sloped segment", {{0, 0}, {100, 100}}, {50, 53}, true, 1},
        {"on the extension of a sloped segment", {{0, 0}, {100, 100}}, {110, 110}, false, 0},
        {"second segment", {{0, 0}, {100, 0}, {100, 100}}, {102, 50}, true, 2},
        {"a zero-length segment is a point", {{100, 100}, {100, 100}}, {103, 102}, true, 1},
        {"far below a zero-length segment", {{100, 100}, {100, 100}}, {100, 300}, false, 0},
        {"beside a zero-length segment", {{100, 100}, {100, 100}}, {104, 104}, false, 0},
    };
    TVyrMapCom shape(&map, {});
    for (const HitCase& c : cases) {
        QPoint hit(-1, -1);
        int segment = 0;
        EXPECT_EQ(shape.HitPolyline(c.p, c.points, hit, segment), c.hits) << c.name;
        if (c.hits) {
            EXPECT_EQ(segment, c.segment) << c.name;
            EXPECT_EQ(hit, shape.ScreenToWorld(c.p, true)) << c.name;
        } else {
            EXPECT_EQ(segment, 0) << c.name;
            EXPECT_EQ(hit, QPoint(-1, -1)) << c.name;
        }
    }
}

TEST(PointAngle, DirectionsInTenthsOfADegreeClockwise)
{
    const QPoint c(100, 100);
    const struct {
        QPoint p;
        int angle;
    } cases[] = {
        {{110, 100}, 0},   {{100, 110}, 900},  {{90, 100}, 1800},  {{100, 90}, 2700},
        {{110, 110}, 450}, {{90, 110}, 1350},  {{90, 90}, 2250},   {{110, 90}, 3150},
        {{200, 99}, 3594}, {{1000100, 99}, 3600},
    };
    for (const auto& k : cases)
        EXPECT_EQ(siteplan::PointAngle(c, k.p, -7), k.angle) << k.p.x() << "," << k.p.y();
    EXPECT_EQ(siteplan::PointAngle(c, c, 1234), 1234);
}

TEST(TextShowSet, DefaultsAndChangeEvent)
{
    siteplan::TTextShowSet text;
    EXPECT_EQ(text.Font.Name, QStringLiteral("宋体"));
    EXPECT_EQ(text.Font.Size, 12);
    EXPECT_EQ(text.Font.Color, platform::clBlack);
    EXPECT_EQ(text.HorzAlign(), 0);
    EXPECT_EQ(text.VertAlign(), 0);

    int changes = 0;
    text.OnChange = [&](siteplan::TTextShowSet* sender) {
        EXPECT_EQ(sender, &text);
        ++changes;
    };
    text.SetHorzAlign(0);
    text.Font.Size = 20;
    EXPECT_EQ(changes, 0);
    text.SetHorzAlign(2);
    text.SetVertAlign(1);
    EXPECT_EQ(changes, 2);

    siteplan::TTextShowSet other;
    other.Assign(text);
    text.Assign(siteplan::TTextShowSet());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(other.HorzAlign(), 2);
    EXPECT_EQ(other.VertAlign(), 1);
    EXPECT_EQ(other.Font.Size, 20);
}

} // namespace
