// Polygons of a one-pixel solid pen whose outline the canvas writes into a
// 32-bit image itself, and whose solid fill it writes from the pixels kept
// when the painter filled them before, must show exactly the pixels of the
// painter's own polygon: they come from the same drawing on a 24-bit image,
// which the canvas always leaves to the painter.
#include "platform/painter_canvas.h"
#include "pattern_image.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <random>
#include <vector>

using namespace platform;

namespace {

constexpr QSize ImageSize(90, 70);

// Random polygons of few and many corners, crossing themselves, some with the first
// point repeated at the end or inside, some reaching past the edges of the
// image, in each brush, moved by whole pixels and clipped.
TEST(PainterCanvasThinPolygons, ShowThePaintersPixels)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> coordinate(-8, 97);
    std::uniform_int_distribution<int> step(-25, 25);
    const TBrush brushes[] = {{clYellow, TBrushStyle::bsSolid}, {clYellow, TBrushStyle::bsClear},
                              {clBlue, TBrushStyle::bsCross}};
    const std::function<void(Canvas&)> setups[] = {
        [](Canvas&) {},
        [](Canvas& canvas) { canvas.SetWorldTransform(QTransform::fromTranslate(3, -2)); },
        [](Canvas& canvas) { canvas.SetClipRegion(QRegion(8, 9, 40, 30) + QRegion(50, 30, 30, 30)); },
    };
    for (int round = 0; round < 600; ++round) {
        std::vector<QPoint> points{QPoint(coordinate(random), coordinate(random))};
        const int count = 3 + round % 30;
        for (int i = 1; i < count; ++i)
            points.push_back(round % 4 == 0 ? QPoint(coordinate(random), coordinate(random))
                                            : points.back() + QPoint(step(random), step(random)));
        if (round % 5 == 1)
            points.push_back(points.front());
        if (round % 7 == 3)
            points[static_cast<std::size_t>(count / 2)] = points[static_cast<std::size_t>(count / 2 - 1)];
        QImage written = PatternImage(ImageSize);
        QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
        for (QImage* image : {&written, &painted}) {
            PainterCanvas canvas(*image);
            canvas.Pen = TPen{RGB(200, 20, 0), round % 11 == 5 ? TPenStyle::psInsideFrame : TPenStyle::psSolid, 1,
                              TPenMode::pmCopy};
            canvas.Brush = brushes[round % 3];
            setups[round % 3 == 0 ? round / 3 % 3 : round % 3](canvas);
            canvas.Polygon(points);
        }
        EXPECT_EQ(written, painted.convertToFormat(QImage::Format_RGB32)) << "round " << round;
    }
}

// Each polygon drawn again and again, each time on a canvas of its own:
// moved by whole pixels, in other colours, under clips that hold it, cut it
// or miss it, and reaching the edge of the image, where the kept fill does
// not serve.
TEST(PainterCanvasThinPolygons, DrawnAgainShowThePaintersPixels)
{
    struct Placing {
        QPoint Shift;
        QRegion Clip;
        TColor Fill;
    };
    const Placing placings[] = {
        {{0, 0}, {}, clYellow},
        {{0, 0}, {}, clYellow},
        {{0, 0}, {}, clAqua},
        {{5, -4}, {}, clYellow},
        {{-3, 2}, QRegion(0, 0, 90, 70), clLime},
        {{2, 2}, QRegion(10, 10, 30, 30), clYellow},
        {{1, -1}, QRegion(0, 0, 45, 70) + QRegion(45, 0, 45, 70), clFuchsia},
        {{0, 0}, QRegion(80, 60, 10, 10), clYellow},
        {{-40, 0}, {}, clYellow},
        {{0, 35}, {}, clYellow},
    };
    std::mt19937 random(20261212);
    std::uniform_int_distribution<int> start(30, 60);
    std::uniform_int_distribution<int> step(-15, 15);
    for (int round = 0; round < 150; ++round) {
        std::vector<QPoint> points{QPoint(start(random), start(random))};
        const int count = 3 + round % 18;
        for (int i = 1; i < count; ++i)
            points.push_back(points.back() + QPoint(step(random), step(random)));
        QImage written = PatternImage(ImageSize);
        QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
        for (std::size_t i = 0; i < std::size(placings); ++i) {
            const Placing& placing = placings[i];
            for (QImage* image : {&written, &painted}) {
                PainterCanvas canvas(*image);
                canvas.Pen = TPen{clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy};
                canvas.Brush = TBrush{placing.Fill, TBrushStyle::bsSolid};
                canvas.SetWorldTransform(QTransform::fromTranslate(placing.Shift.x(), placing.Shift.y()));
                if (!placing.Clip.isEmpty())
                    canvas.SetClipRegion(placing.Clip);
                canvas.Polygon(points);
            }
            ASSERT_EQ(written, painted.convertToFormat(QImage::Format_RGB32)) << "round " << round << ", drawing " << i;
        }
    }
}

// A polygon of one point repeated, the smallest the canvas takes.
TEST(PainterCanvasThinPolygons, OfOnePointShowThePaintersPixels)
{
    const std::vector<QPoint> points(12, QPoint(30, 20));
    QImage written = PatternImage(ImageSize);
    QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
    for (QImage* image : {&written, &painted}) {
        PainterCanvas canvas(*image);
        canvas.Pen = TPen{clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy};
        canvas.Brush = TBrush{clYellow, TBrushStyle::bsSolid};
        canvas.Polygon(points);
    }
    EXPECT_EQ(written, painted.convertToFormat(QImage::Format_RGB32));
}

} // namespace
