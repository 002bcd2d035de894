// A Bezier curve drawn again is placed from the stamp of its pixels: it
// must show the painter's pixels wherever it is drawn again, moved by whole
// pixels, under another clip, in other pens, near the edge of the image
// and on another canvas. The painter's own pixels come from the same
// drawing on a 24-bit image, which the canvas always leaves to the painter.
#include "platform/painter_canvas.h"
#include "pattern_image.h"

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <random>
#include <string>

using namespace platform;

namespace {

constexpr QSize ImageSize(120, 100);

struct Placing {
    QPoint Shift;
    QRegion Clip;
    TPen Pen;
    TBrushStyle Brush;
};

const TPen Thin{clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy};
const TPen Wide{clBlue, TPenStyle::psSolid, 3, TPenMode::pmCopy};
const TPen Dotted{clBlack, TPenStyle::psDot, 1, TPenMode::pmCopy};
const TPen Dashed{clGreen, TPenStyle::psDash, 1, TPenMode::pmCopy};

// Each curve drawn in each placing in turn, each on a canvas of its own.
const Placing Placings[] = {
    {{0, 0}, {}, Thin, TBrushStyle::bsClear},
    {{0, 0}, {}, Thin, TBrushStyle::bsClear},
    {{4, -3}, {}, Thin, TBrushStyle::bsClear},
    {{-6, 5}, QRegion(10, 10, 50, 40), Thin, TBrushStyle::bsClear},
    {{2, 2}, QRegion(0, 0, 50, 100) + QRegion(55, 20, 65, 40), Thin, TBrushStyle::bsClear},
    {{-45, 0}, {}, Thin, TBrushStyle::bsClear},
    {{1, 0}, {}, Wide, TBrushStyle::bsClear},
    {{1, 0}, {}, Wide, TBrushStyle::bsClear},
    {{0, 1}, {}, Dotted, TBrushStyle::bsClear},
    {{0, 1}, {}, Dotted, TBrushStyle::bsClear},
    {{3, 3}, {}, Dashed, TBrushStyle::bsSolid},
    {{3, 3}, {}, Dashed, TBrushStyle::bsSolid},
};

TEST(PainterCanvasStampedCurves, DrawnAgainShowThePaintersPixels)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> start(25, 70);
    std::uniform_int_distribution<int> step(-30, 30);
    for (int round = 0; round < 200; ++round) {
        std::array<QPoint, 4> points{QPoint(start(random), start(random))};
        for (std::size_t i = 1; i < points.size(); ++i)
            points[i] = points[0] + QPoint(step(random), step(random));
        if (round % 9 == 4)
            points[3] = points[0];
        QImage written = PatternImage(ImageSize);
        QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
        for (std::size_t i = 0; i < std::size(Placings); ++i) {
            const Placing& placing = Placings[i];
            for (QImage* image : {&written, &painted}) {
                PainterCanvas canvas(*image);
                canvas.Pen = placing.Pen;
                canvas.Brush = TBrush{clYellow, placing.Brush};
                canvas.SetWorldTransform(QTransform::fromTranslate(placing.Shift.x(), placing.Shift.y()));
                if (!placing.Clip.isEmpty())
                    canvas.SetClipRegion(placing.Clip);
                canvas.PolyBezier(points);
            }
            ASSERT_EQ(written, painted.convertToFormat(QImage::Format_RGB32))
                << "round " << round << ", drawing " << i;
        }
    }
}

} // namespace
