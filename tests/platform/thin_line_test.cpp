// One-pixel solid lines that the canvas writes into a 32-bit image itself
// must show exactly the pixels that the painter sets when it strokes them:
// the painter's own pixels come from the same drawing on a 24-bit image,
// which the canvas always leaves to the painter.
#include "platform/painter_canvas.h"
#include "pattern_image.h"

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <functional>
#include <random>
#include <vector>

using namespace platform;

namespace {

constexpr QSize ImageSize(72, 56);

// Where the lines start and which way they run: every octant, the slopes
// where the painter changes its stepped axis (1 : 1) or rounds at half a
// pixel (1 : 2), lines that barely leave an axis, and lines that cross,
// meet or stay beyond each edge of the image by up to three pixels.
struct LineCase {
    const char* Name;
    QPoint From;
    QPoint To;
};

const LineCase LineCases[] = {
    {"shallow right down", {10, 10}, {40, 17}},
    {"shallow left up", {40, 17}, {10, 10}},
    {"steep right down", {10, 10}, {17, 40}},
    {"steep left up", {17, 40}, {10, 10}},
    {"shallow right up", {10, 40}, {50, 31}},
    {"steep left down", {30, 5}, {22, 50}},
    {"diagonal down", {5, 5}, {45, 45}},
    {"diagonal up", {45, 45}, {5, 5}},
    {"anti-diagonal", {50, 4}, {10, 44}},
    {"half slope", {4, 20}, {44, 40}},
    {"half slope back", {44, 40}, {4, 20}},
    {"double slope", {20, 4}, {40, 44}},
    {"one pixel off the row", {3, 30}, {60, 31}},
    {"one pixel off the column", {30, 3}, {31, 50}},
    {"one step", {20, 20}, {21, 21}},
    {"two pixels long", {20, 20}, {22, 21}},
    {"across the left edge", {-9, 12}, {20, 30}},
    {"from the left edge", {0, 12}, {20, 30}},
    {"one beyond the left edge", {-1, 12}, {20, 13}},
    {"across the right edge", {50, 12}, {80, 40}},
    {"to the right edge", {50, 12}, {72, 40}},
    {"two beyond the right edge", {40, 12}, {74, 18}},
    {"across the top edge", {12, -7}, {30, 20}},
    {"across the bottom edge", {12, 40}, {20, 63}},
    {"to the bottom edge", {12, 20}, {20, 56}},
    {"corner to corner beyond", {-5, -4}, {78, 61}},
    {"along beyond the top", {-3, -2}, {80, -1}},
    {"steep beyond the right", {73, -3}, {74, 60}},
    {"far outside both ways", {-4000, 30}, {5000, 25}},
};

class ThinLineDirections : public testing::TestWithParam<LineCase> {};

TEST_P(ThinLineDirections, ShowThePaintersPixels)
{
    const LineCase& c = GetParam();
    // The line alone, moved by whole pixels, and cut by a clip rectangle
    // and by a clip of two rectangles.
    const std::function<void(Canvas&)> setups[] = {
        [](Canvas&) {},
        [](Canvas& canvas) { canvas.SetWorldTransform(QTransform::fromTranslate(3, -2)); },
        [](Canvas& canvas) { canvas.SetClipRegion(QRegion(8, 9, 30, 25)); },
        [](Canvas& canvas) { canvas.SetClipRegion(QRegion(0, 0, 25, 56) + QRegion(31, 14, 41, 20)); },
    };
    for (std::size_t s = 0; s < std::size(setups); ++s) {
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            setups[s](canvas);
            canvas.MoveTo(c.From.x(), c.From.y());
            canvas.LineTo(c.To.x(), c.To.y());
            const std::array<QPoint, 2> line{c.To + QPoint(0, 3), c.From + QPoint(0, 3)};
            canvas.Polyline(line);
        });
        EXPECT_EQ(written, painted) << c.Name << ", setup " << s;
    }
}

INSTANTIATE_TEST_SUITE_P(PainterCanvas, ThinLineDirections, testing::ValuesIn(LineCases));

// Polylines that meet each rule of the painter's vertices.
struct PolylineCase {
    const char* Name;
    std::vector<QPoint> Points;
};

const PolylineCase PolylineCases[] = {
    {"on the same way after a jump past the left edge", {{10, -2}, {-3, 28}, {9, 57}}},
    {"on the same way after a jump past the top edge", {{-2, 10}, {28, -3}, {57, 9}}},
    {"rows turning back", {{10, 10}, {40, 13}, {12, 16}, {45, 19}}},
    {"columns turning back", {{10, 10}, {13, 40}, {16, 12}, {19, 45}}},
    {"turning back onto the last pixel", {{10, 10}, {30, 11}, {20, 11}, {25, 12}}},
    {"rows then columns", {{10, 10}, {40, 12}, {42, 40}, {10, 44}}},
    {"near an axis, then the other", {{5, 20}, {60, 21}, {61, 50}, {62, 2}}},
    {"stairs of single pixels", {{20, 20}, {21, 21}, {22, 21}, {22, 22}, {23, 24}, {25, 25}, {24, 26}}},
    {"closed, last piece along rows", {{10, 10}, {30, 40}, {50, 12}, {10, 10}}},
    {"closed, last piece along columns", {{10, 10}, {50, 12}, {30, 40}, {10, 10}}},
    {"closed through the edge", {{-4, 20}, {40, -5}, {60, 50}, {-4, 20}}},
    {"repeated points", {{10, 10}, {10, 10}, {30, 20}, {30, 20}, {12, 40}, {10, 10}, {10, 10}}},
};

class ThinPolylineJoins : public testing::TestWithParam<PolylineCase> {};

TEST_P(ThinPolylineJoins, ShowThePaintersPixels)
{
    const PolylineCase& c = GetParam();
    for (const QPoint shift : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(7, 5)}) {
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            canvas.SetWorldTransform(QTransform::fromTranslate(shift.x(), shift.y()));
            canvas.Polyline(c.Points);
            std::vector<QPoint> reversed(c.Points.rbegin(), c.Points.rend());
            canvas.SetWorldTransform(QTransform::fromTranslate(shift.x() + 2, shift.y() + 1));
            canvas.Pen.Color = clBlue;
            canvas.Polyline(reversed);
        });
        EXPECT_EQ(written, painted) << c.Name << ", moved by " << shift.x() << "," << shift.y();
    }
}

INSTANTIATE_TEST_SUITE_P(PainterCanvas, ThinPolylineJoins, testing::ValuesIn(PolylineCases));

// At each vertex the painter leaves out a pixel that it already set, adds
// one where a turn would leave a gap, starts a piece that turns back on its
// axis half a pixel earlier and moves one that goes on the same way after a
// jump half a step across; a path whose last point is its first joins its
// first piece to its last. Random polylines of pixel steps, of short pieces
// and of long ones reaching far beyond the image, open and closed, with
// repeated points, reach every such case.
TEST(PainterCanvasThinLines, PolylinesShowThePaintersPixels)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> coordinate(-6, 78);
    std::uniform_int_distribution<int> pixelStep(-2, 2);
    std::uniform_int_distribution<int> shortStep(-30, 30);
    std::uniform_int_distribution<int> longStep(-400, 400);
    for (int round = 0; round < 3000; ++round) {
        std::vector<QPoint> points{QPoint(coordinate(random), coordinate(random))};
        const int count = 2 + round % 9;
        for (int i = 1; i < count; ++i) {
            auto& step = round % 3 == 0 ? pixelStep : round % 3 == 1 ? shortStep : longStep;
            points.push_back(points.back() + (i % 5 == 4 ? QPoint() : QPoint(step(random), step(random))));
        }
        if (round % 4 == 1)
            points.push_back(points.front());
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            if (round % 5 == 2)
                canvas.SetClipRegion(QRegion(5, 5, 30, 40) + QRegion(40, 20, 25, 30));
            if (round % 7 == 3)
                canvas.SetWorldTransform(QTransform::fromTranslate(-5, 4));
            canvas.Polyline(points);
        });
        EXPECT_EQ(written, painted) << "round " << round;
    }
}

} // namespace
