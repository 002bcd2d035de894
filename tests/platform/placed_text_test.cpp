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

// How a text of the first-drawn test is clipped.
enum class TextClip { None, Region, OwnRect, RegionAndOwnRect, EmptyOwnRect };

void DrawOnce(Canvas& canvas, const QString& text, TColor color, TBrush brush, int escapement, TextClip clip)
{
    if (clip == TextClip::Region || clip == TextClip::RegionAndOwnRect)
        canvas.SetClipRegion(QRegion(4, 4, 30, 40) + QRegion(38, 10, 50, 18));
    canvas.SetWorldTransform(QTransform::fromTranslate(3, -2));
    canvas.Font.Size = 11;
    canvas.Font.Color = color;
    canvas.Font.Escapement = escapement;
    canvas.Brush = brush;
    switch (clip) {
    case TextClip::None:
    case TextClip::Region: canvas.TextOut(12, 20, text); break;
    case TextClip::OwnRect:
    case TextClip::RegionAndOwnRect: {
        QRect rect(20, 14, 41, 11);
        canvas.DrawText(text, rect, dt::SingleLine | dt::Center);
        break;
    }
    case TextClip::EmptyOwnRect: canvas.TextRect(QRect(30, 18, 0, 9), 12, 20, text); break;
    }
}

// A text is drawn in place the first time; from the second on it comes
// from its image of one byte a pixel, placed on a 32-bit image and drawn by
// the painter on others. Every text colour on every background, turned and
// clipped, must show the pixels of the first drawing.
TEST(PainterCanvasText, IndexedTextImagesShowThePixelsOfTheTextDrawnInPlace)
{
    const TColor nearBlue = 0x7F0102;
    const struct {
        TColor color;
        TBrush brush;
    } colours[] = {
        {clBlue, {clYellow, TBrushStyle::bsClear}},
        {clBlack, {clYellow, TBrushStyle::bsSolid}},
        {nearBlue, {nearBlue + 1, TBrushStyle::bsSolid}},
        {clWhite, {clWhite, TBrushStyle::bsSolid}},
        {clRed, {clBlack, TBrushStyle::bsClear}},
    };
    const TextClip clips[] = {TextClip::None, TextClip::Region, TextClip::OwnRect, TextClip::RegionAndOwnRect,
                              TextClip::EmptyOwnRect};
    int serial = 0;
    for (const auto& colour : colours)
        for (const int escapement : {0, 450, 900, 2700})
            for (const TextClip clip : clips) {
                // A text of its own, so that the first drawing is in place.
                const QString text = QStringLiteral("墙 Wall %1").arg(serial++);
                QImage first(100, 60, QImage::Format_RGB32);
                first.fill(qRgb(200, 230, 210));
                QImage placed = first;
                QImage placedAgain = first;
                QImage painted = first.convertToFormat(QImage::Format_RGB888);
                QImage premultiplied = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
                for (QImage* image : {&first, &placed, &painted, &premultiplied, &placedAgain}) {
                    PainterCanvas canvas(*image);
                    DrawOnce(canvas, text, colour.color, colour.brush, escapement, clip);
                }
                const QString where = QStringLiteral("colour %1 brush %2 style %3 escapement %4 clip %5")
                                          .arg(colour.color)
                                          .arg(colour.brush.Color)
                                          .arg(int(colour.brush.Style))
                                          .arg(escapement)
                                          .arg(int(clip));
                EXPECT_EQ(placed, first) << where.toStdString();
                EXPECT_EQ(placedAgain, first) << where.toStdString();
                EXPECT_EQ(painted.convertToFormat(QImage::Format_RGB32), first) << where.toStdString();
                EXPECT_EQ(premultiplied.convertToFormat(QImage::Format_RGB32), first) << where.toStdString();
            }
}

} // namespace
