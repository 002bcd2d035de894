// Paths of many short pieces drawn again show the pixels kept from their
// first tracing: they must be the painter's pixels wherever the path is
// drawn again, moved by whole pixels, under another clip, in another pen
// colour or on another canvas. The painter's own pixels come from the same
// drawing on a 24-bit image, which the canvas always leaves to the painter.
#include "platform/painter_canvas.h"
#include "pattern_image.h"
#include "platform/kept_run_cache.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr QSize ImageSize(96, 80);

// Where a path is drawn again: moved, clipped, in another colour.
struct Placing {
    QPoint Shift;
    QRegion Clip;
    TColor Color;
};

// Draws points once for each placing, each on a canvas of its own, on the
// canvas's own image and on the painter's.
void ExpectPaintersPixels(const std::vector<QPoint>& points, const std::vector<Placing>& placings, const char* what)
{
    QImage written = PatternImage(ImageSize);
    QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
    for (std::size_t i = 0; i < placings.size(); ++i) {
        const Placing& placing = placings[i];
        for (QImage* image : {&written, &painted}) {
            PainterCanvas canvas(*image);
            canvas.Pen = TPen{placing.Color, TPenStyle::psSolid, 1, TPenMode::pmCopy};
            canvas.SetWorldTransform(QTransform::fromTranslate(placing.Shift.x(), placing.Shift.y()));
            if (!placing.Clip.isEmpty())
                canvas.SetClipRegion(placing.Clip);
            canvas.Polyline(points);
        }
        ASSERT_EQ(written, painted.convertToFormat(QImage::Format_RGB32)) << what << ", drawing " << i;
    }
}

// Samples of a wavy curve, as a curve shape draws them.
std::vector<QPoint> Curve(std::mt19937& random, QPoint start, int count)
{
    std::uniform_real_distribution<double> phase(0, 6.3);
    std::uniform_real_distribution<double> size(3, 25);
    const double p = phase(random);
    const double a = size(random);
    const double b = size(random);
    const double length = size(random) * 1.5;
    std::vector<QPoint> points;
    for (int j = 0; j < count; ++j) {
        const double t = static_cast<double>(j) / (count - 1);
        points.emplace_back(start.x() + static_cast<int>(std::lround(length * t + a * std::sin(7 * t + p))),
                            start.y() + static_cast<int>(std::lround(b * std::cos(5 * t + p))));
    }
    return points;
}

TEST(PainterCanvasKeptThinPaths, DrawnAgainShowThePaintersPixels)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> corner(20, 50);
    const std::vector<Placing> placings = {
        {{0, 0}, {}, clBlack},
        {{0, 0}, {}, clRed},
        {{3, -2}, {}, clBlue},
        {{-7, 5}, QRegion(10, 12, 40, 30), clGreen},
        {{1, 1}, QRegion(0, 0, 40, 80) + QRegion(44, 20, 52, 30), clRed},
        // Reaching the edge of the image: the kept pixels do not serve.
        {{-30, 0}, {}, clBlue},
        {{40, 30}, {}, clBlack},
        {{2, 0}, {}, clFuchsia},
    };
    for (int round = 0; round < 300; ++round) {
        const int count = static_cast<int>(KeptRunCache::FewestPathPoints) + round % 200;
        std::vector<QPoint> points = Curve(random, QPoint(corner(random), corner(random)), count);
        if (round % 5 == 1)
            points.back() = points.front();
        if (round % 7 == 2)
            points.insert(points.begin() + count / 2, 3, points[static_cast<std::size_t>(count / 2)]);
        ExpectPaintersPixels(points, placings, ("round " + std::to_string(round)).c_str());
    }
}

// A path kept at one shape is not placed for another that differs in one
// point only.
TEST(PainterCanvasKeptThinPaths, KeptByEveryPoint)
{
    std::vector<QPoint> points;
    for (int j = 0; j < 60; ++j)
        points.emplace_back(10 + j, 30 + (j / 3) % 4);
    std::vector<QPoint> moved = points;
    moved[40] += QPoint(0, 9);
    ExpectPaintersPixels(points, {{{0, 0}, {}, clBlack}, {{0, 0}, {}, clBlack}, {{0, 0}, {}, clRed}}, "first");
    ExpectPaintersPixels(moved, {{{0, 0}, {}, clBlack}, {{0, 0}, {}, clBlue}}, "one point moved");
}

} // namespace
