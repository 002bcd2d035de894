// One-pixel solid arcs and separate lines that the canvas writes into a
// 32-bit image itself must show exactly the pixels that the painter sets
// when it strokes them: the painter's own pixels come from the same drawing
// on a 24-bit image, which the canvas always leaves to the painter.
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

constexpr QSize ImageSize(96, 80);

struct ArcCase {
    const char* Name;
    QRect Box;
    QPoint Start;
    QPoint End;
};

// Boxes of every small size and shape, the whole ellipse (equal radials),
// quarters, sweeps across each axis, and arcs cut by each edge of the image.
const ArcCase ArcCases[] = {
    {"whole circle", {10, 10, 41, 41}, {60, 30}, {60, 30}},
    {"whole flat ellipse", {5, 20, 70, 15}, {0, 0}, {0, 0}},
    {"whole tall ellipse", {30, 2, 12, 70}, {36, 0}, {36, 0}},
    {"upper right quarter", {10, 10, 50, 50}, {80, 35}, {35, 0}},
    {"three quarters", {10, 10, 50, 50}, {35, 0}, {80, 35}},
    {"across the right axis", {20, 15, 40, 30}, {70, 10}, {70, 60}},
    {"tiny", {40, 40, 3, 3}, {50, 41}, {41, 30}},
    {"one by two", {40, 40, 1, 2}, {50, 41}, {41, 30}},
    {"even and odd sides", {11, 12, 20, 21}, {40, 40}, {0, 0}},
    {"start and end at the centre", {20, 20, 30, 30}, {35, 35}, {35, 35}},
    {"cut by the left edge", {-20, 10, 50, 40}, {30, 0}, {30, 80}},
    {"cut by the top and right edges", {60, -15, 60, 50}, {60, 40}, {100, 10}},
    {"cut by every edge", {-10, -10, 116, 100}, {100, 40}, {0, 40}},
    {"far larger than the image", {-3000, -2000, 6000, 4100}, {0, 0}, {96, 0}},
    {"outside", {120, 10, 30, 30}, {0, 0}, {10, 10}},
};

class ThinArcs : public testing::TestWithParam<ArcCase> {};

TEST_P(ThinArcs, ShowThePaintersPixels)
{
    const ArcCase& c = GetParam();
    const std::function<void(Canvas&)> setups[] = {
        [](Canvas&) {},
        [](Canvas& canvas) { canvas.SetWorldTransform(QTransform::fromTranslate(3, -2)); },
        [](Canvas& canvas) { canvas.SetClipRegion(QRegion(8, 9, 40, 35)); },
        [](Canvas& canvas) { canvas.SetClipRegion(QRegion(0, 0, 35, 80) + QRegion(41, 14, 55, 30)); },
    };
    for (std::size_t s = 0; s < std::size(setups); ++s) {
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            setups[s](canvas);
            const QRect& b = c.Box;
            canvas.Arc(b.left(), b.top(), b.left() + b.width(), b.top() + b.height(), c.Start.x(), c.Start.y(),
                       c.End.x(), c.End.y());
        });
        EXPECT_EQ(written, painted) << c.Name << ", setup " << s;
    }
}

INSTANTIATE_TEST_SUITE_P(PainterCanvas, ThinArcs, testing::ValuesIn(ArcCases));

// The painter halves each curve of an arc until it is flat enough, and
// draws the pieces as one line path: random boxes from one pixel to far
// beyond the image, given either way round, with random radials, reach
// curves halved to every depth and pieces meeting at every kind of vertex.
TEST(PainterCanvasThinArcs, RandomArcsShowThePaintersPixels)
{
    std::mt19937 random(20261212);
    std::uniform_int_distribution<int> corner(-20, 100);
    std::uniform_int_distribution<int> small(0, 12);
    std::uniform_int_distribution<int> large(0, 200);
    std::uniform_int_distribution<int> radial(-40, 140);
    for (int round = 0; round < 3000; ++round) {
        auto& size = round % 3 == 0 ? small : large;
        const int left = corner(random);
        const int top = corner(random);
        const int right = left + (round % 5 == 4 ? -size(random) : size(random));
        const int bottom = top + size(random);
        const QPoint start(radial(random), radial(random));
        const QPoint end = round % 6 == 5 ? start : QPoint(radial(random), radial(random));
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            if (round % 5 == 2)
                canvas.SetClipRegion(QRegion(5, 5, 40, 50) + QRegion(50, 20, 35, 40));
            if (round % 7 == 3)
                canvas.SetWorldTransform(QTransform::fromTranslate(-5, 4));
            canvas.Arc(left, top, right, bottom, start.x(), start.y(), end.x(), end.y());
        });
        EXPECT_EQ(written, painted) << "round " << round << ": " << left << "," << top << " " << right << ","
                                    << bottom << " from " << start.x() << "," << start.y() << " to " << end.x()
                                    << "," << end.y();
    }
}

// Separate lines drawn in one call, as the ticks of a wall are: each shows
// the pixels of drawing it alone, lines along the rows and columns among
// them, and lines of no length are left to the painter.
TEST(PainterCanvasThinSegments, RandomLinesShowThePaintersPixels)
{
    std::mt19937 random(20261213);
    std::uniform_int_distribution<int> coordinate(-8, 104);
    std::uniform_int_distribution<int> step(-9, 9);
    for (int round = 0; round < 1000; ++round) {
        std::vector<QPoint> ends;
        for (int i = 0; i < 1 + round % 20; ++i) {
            const QPoint from(coordinate(random), coordinate(random));
            const QPoint delta(step(random), step(random));
            const int kind = (round + i) % 6;
            ends.push_back(from);
            ends.push_back(from + (kind == 0 ? QPoint(delta.x(), 0) : kind == 1 ? QPoint(0, delta.y()) : delta));
        }
        if (round % 10 == 9)
            ends.push_back(ends.back());
        const auto [written, painted] = WrittenAndPainted(ImageSize, [&](Canvas& canvas) {
            if (round % 5 == 2)
                canvas.SetClipRegion(QRegion(5, 5, 40, 50) + QRegion(50, 20, 35, 40));
            if (round % 7 == 3)
                canvas.SetWorldTransform(QTransform::fromTranslate(-5, 4));
            canvas.Segments(ends);
        });
        EXPECT_EQ(written, painted) << "round " << round;
    }
}

} // namespace
