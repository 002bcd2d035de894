// Texts drawn again are placed from their images: on a 32-bit image the
// canvas writes the image's pixels itself, and must set exactly what drawing
// the image sets, under a clip of several rectangles, a clip rectangle of
// the text's own, turned, on an opaque or a clear background. The drawn
// pixels come from the same texts on a 24-bit image, where the canvas
// leaves the images to the painter.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace platform;

namespace {

void DrawTexts(Canvas& canvas, int round)
{
    if (round % 2 == 1)
        canvas.SetClipRegion(QRegion(10, 10, 70, 50) + QRegion(95, 20, 60, 90) + QRegion(30, 70, 40, 40));
    canvas.SetWorldTransform(QTransform::fromTranslate(round % 3 - 1, 2));
    canvas.Font.Size = 10;
    canvas.Font.Color = clBlue;
    canvas.Font.Escapement = round / 2 % 3 * 450;
    canvas.Brush = TBrush{clYellow, round / 6 % 2 ? TBrushStyle::bsSolid : TBrushStyle::bsClear};
    // Each text three times: drawn, then placed.
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 6; ++i) {
            const int x = -20 + i * 31 + k * 3;
            const int y = -5 + i * 23 + k * 17;
            canvas.TextOut(x, y, QStringLiteral("围墙 Wall"));
            QRect rect(x, y + 40, 45, 12);
            canvas.TextRect(rect, x - 3, y + 38, QStringLiteral("文字"));
            canvas.DrawText(QStringLiteral("墙 W"), rect, dt::SingleLine | dt::Center);
        }
    }
}

TEST(PainterCanvasText, PlacedTextsShowThePixelsOfDrawingTheirImages)
{
    for (int round = 0; round < 12; ++round) {
        QImage written(170, 150, QImage::Format_RGB32);
        written.fill(qRgb(200, 230, 210));
        QImage drawn = written.convertToFormat(QImage::Format_RGB888);
        for (QImage* image : {&written, &drawn}) {
            PainterCanvas canvas(*image);
            DrawTexts(canvas, round);
        }
        EXPECT_EQ(written, drawn.convertToFormat(QImage::Format_RGB32)) << "round " << round;
    }
}

} // namespace
