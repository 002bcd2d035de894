// Rounded rectangles that the canvas writes into a 32-bit image from the
// pixels kept when the painter drew one of the same size and corners before
// must show exactly the painter's own pixels: they come from the same
// drawing on a 24-bit image, which the canvas always leaves to the painter.
#include "platform/painter_canvas.h"
#include "pattern_image.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>

using namespace platform;

namespace {

constexpr QSize ImageSize(200, 160);

struct Drawing {
    QRect Box; // left, top, right, bottom as handed to RoundRect
    QSize Corner;
    TPen Pen;
    TBrush Brush;
    QPoint Shift;
    QRegion Clip;
};

void Draw(QImage& image, const Drawing& drawing)
{
    PainterCanvas canvas(image);
    canvas.Pen = drawing.Pen;
    canvas.Brush = drawing.Brush;
    canvas.SetWorldTransform(QTransform::fromTranslate(drawing.Shift.x(), drawing.Shift.y()));
    if (!drawing.Clip.isEmpty())
        canvas.SetClipRegion(drawing.Clip);
    const QRect& b = drawing.Box;
    canvas.RoundRect(b.left(), b.top(), b.right(), b.bottom(), drawing.Corner.width(), drawing.Corner.height());
}

// Draws the figure on a canvas of its own at each of the places in turn, so
// that the later ones are written from kept pixels, and compares each
// with the painter's.
void ExpectThePaintersPixels(const Drawing& drawing, const char* what)
{
    const QPoint places[] = {{0, 0}, {0, 0}, {0, 0}, {7, -3}, {-11, 13}, {1, 1}, {-60, 0}, {0, 45}};
    for (const QPoint& place : places) {
        Drawing moved = drawing;
        moved.Shift += place;
        QImage written = PatternImage(ImageSize);
        QImage painted = PatternImage(ImageSize, QImage::Format_RGB888);
        Draw(written, moved);
        Draw(painted, moved);
        ASSERT_EQ(written, painted.convertToFormat(QImage::Format_RGB32))
            << what << ": box " << drawing.Box.left() << "," << drawing.Box.top() << " " << drawing.Box.right() << ","
            << drawing.Box.bottom() << " corner " << drawing.Corner.width() << "x" << drawing.Corner.height()
            << " at " << moved.Shift.x() << "," << moved.Shift.y();
    }
}

const TPen Solid{clRed, TPenStyle::psSolid, 1, TPenMode::pmCopy};
const TPen InsideFrame{clNavy, TPenStyle::psInsideFrame, 1, TPenMode::pmCopy};
const TPen Clear{clRed, TPenStyle::psClear, 1, TPenMode::pmCopy};
const TPen Dashed{clRed, TPenStyle::psDash, 1, TPenMode::pmCopy};
const TPen Wide{clRed, TPenStyle::psSolid, 3, TPenMode::pmCopy};
const TBrush Filled{clYellow, TBrushStyle::bsSolid};
const TBrush Hollow{clYellow, TBrushStyle::bsClear};
const TBrush Hatched{clBlue, TBrushStyle::bsDiagCross};

// Sizes and corners of every kind (none, tiny, odd and even, as large as
// the box, larger, given negative, boxes given either way round), each
// with the pens and brushes the canvas writes and some it leaves to the
// painter, under no clip, a clip that holds it, one that cuts it, one of
// two rectangles, and near the image's edges.
TEST(PainterCanvasRoundRects, ShowThePaintersPixels)
{
    struct Figure {
        QRect Box;
        QSize Corner;
    };
    const Figure figures[] = {
        {QRect(QPoint(70, 50), QPoint(130, 100)), {15, 12}},
        {QRect(QPoint(70, 50), QPoint(71, 51)), {1, 1}},
        {QRect(QPoint(70, 50), QPoint(72, 53)), {2, 2}},
        {QRect(QPoint(70, 50), QPoint(70, 80)), {4, 4}},
        {QRect(QPoint(70, 50), QPoint(100, 50)), {4, 4}},
        {QRect(QPoint(70, 50), QPoint(86, 66)), {0, 0}},
        {QRect(QPoint(70, 50), QPoint(86, 66)), {0, 6}},
        {QRect(QPoint(70, 50), QPoint(87, 67)), {3, 5}},
        {QRect(QPoint(70, 50), QPoint(166, 146)), {24, 24}},
        {QRect(QPoint(60, 40), QPoint(100, 90)), {40, 50}},
        {QRect(QPoint(60, 40), QPoint(100, 90)), {90, 120}},
        {QRect(QPoint(60, 40), QPoint(99, 91)), {-9, -14}},
        {QRect(QPoint(120, 100), QPoint(70, 50)), {11, 7}},
        {QRect(QPoint(70, 100), QPoint(120, 50)), {8, 13}},
        {QRect(QPoint(3, 4), QPoint(40, 30)), {9, 9}},
        {QRect(QPoint(150, 120), QPoint(199, 159)), {9, 9}},
    };
    struct Style {
        TPen Pen;
        TBrush Brush;
    };
    const Style styles[] = {{Solid, Filled}, {Solid, Hollow}, {InsideFrame, Filled}, {Clear, Filled},
                            {Clear, Hollow}, {Dashed, Filled}, {Wide, Filled},       {Solid, Hatched}};
    const QRegion clips[] = {QRegion(), QRegion(0, 0, 200, 160), QRegion(80, 55, 40, 70),
                             QRegion(0, 0, 95, 160) + QRegion(95, 0, 105, 160)};
    for (const Figure& figure : figures)
        for (const Style& style : styles)
            for (const QRegion& clip : clips)
                ExpectThePaintersPixels({figure.Box, figure.Corner, style.Pen, style.Brush, {}, clip}, "table");
}

// Random sizes and corners at random places, in random colours.
TEST(PainterCanvasRoundRects, RandomShowThePaintersPixels)
{
    std::mt19937 random(20261213);
    std::uniform_int_distribution<int> place(2, 90);
    std::uniform_int_distribution<int> size(0, 100);
    std::uniform_int_distribution<int> corner(-10, 60);
    std::uniform_int_distribution<int> color(0, 0xFFFFFF);
    for (int round = 0; round < 800; ++round) {
        const QPoint corner1(place(random), place(random));
        const QRect box(corner1, corner1 + QPoint(size(random) * 2 / 3, size(random) / 2));
        const TPen pen{static_cast<TColor>(color(random)), round % 9 == 4 ? TPenStyle::psClear : TPenStyle::psSolid,
                       1, TPenMode::pmCopy};
        const TBrush brush{static_cast<TColor>(color(random)),
                           round % 5 == 2 ? TBrushStyle::bsClear : TBrushStyle::bsSolid};
        ExpectThePaintersPixels({box, QSize(corner(random), corner(random)), pen, brush, {}, {}}, "random");
    }
}

} // namespace
