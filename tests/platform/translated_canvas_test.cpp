#include "platform/painter_canvas.h"
#include "platform/translated_canvas.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(TranslatedCanvas, DrawsShiftedWithTransformsAndClipsShiftedToo)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    PainterCanvas target(image);
    TranslatedCanvas canvas(target, QPoint(-100, -50));
    const auto at = [&image](int x, int y) { return FromQColor(image.pixelColor(x, y)); };

    canvas.Brush = TBrush{clRed, TBrushStyle::bsSolid};
    canvas.FillRect(QRect(102, 52, 3, 3)); // lands at (2, 2)
    EXPECT_EQ(at(2, 2), clRed);
    EXPECT_EQ(canvas.Pixel(102, 52), clRed);
    EXPECT_EQ(at(5, 5), clWhite);

    // A world transform of the caller is applied before the shift.
    canvas.SetWorldTransform(QTransform::fromTranslate(10, 0));
    canvas.Brush.Color = clBlue;
    canvas.FillRect(QRect(100, 60, 2, 2)); // (110, 60) in the caller's frame
    EXPECT_EQ(at(10, 10), clBlue);
    EXPECT_EQ(canvas.WorldTransform(), QTransform::fromTranslate(10, 0));

    // Clip regions are in the caller's device pixels.
    canvas.SetWorldTransform(QTransform());
    canvas.SetClipRegion(QRegion(120, 70, 5, 5));
    canvas.Brush.Color = clLime;
    canvas.FillRect(QRect(100, 50, 40, 30));
    EXPECT_EQ(at(20, 20), clLime);
    EXPECT_EQ(at(19, 20), clWhite);
    canvas.ResetClipRegion();

    // Moving the offset moves later drawing.
    canvas.SetOffset(QPoint(0, 0));
    canvas.Brush.Color = clBlack;
    canvas.FillRect(QRect(30, 25, 1, 1));
    EXPECT_EQ(at(30, 25), clBlack);
}

} // namespace
