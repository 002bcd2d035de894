// Renders a sheet of every primitive, hatch, pen style and rotated text to
// canvas_sheet.png in the build folder, for a look by eye, and checks that
// rendering is deterministic.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <array>

using namespace platform;

namespace {

void DrawSheet(Canvas& c)
{
    c.Brush.Color = clWhite;
    c.FillRect(QRect(0, 0, 640, 480));

    // Hatches over a tinted band, so that their transparent background shows.
    c.Brush.Color = RGB(255, 255, 200);
    c.FillRect(QRect(0, 0, 640, 60));
    const std::array hatches = {TBrushStyle::bsSolid,     TBrushStyle::bsClear,    TBrushStyle::bsHorizontal,
                                TBrushStyle::bsVertical,  TBrushStyle::bsFDiagonal, TBrushStyle::bsBDiagonal,
                                TBrushStyle::bsCross,     TBrushStyle::bsDiagCross};
    for (int i = 0; i < 8; ++i) {
        c.Brush.Style = hatches[i];
        c.Brush.Color = clNavy;
        c.Rectangle(10 + i * 60, 10, 60 + i * 60, 50);
    }

    // Pen styles and widths.
    c.Brush.Style = TBrushStyle::bsClear;
    const std::array styles = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot,
                               TPenStyle::psDashDotDot, TPenStyle::psClear, TPenStyle::psInsideFrame};
    for (int i = 0; i < 7; ++i) {
        c.Pen.Style = styles[i];
        c.MoveTo(10, 70 + i * 8);
        c.LineTo(200, 70 + i * 8);
    }
    c.Pen.Style = TPenStyle::psSolid;
    for (int w = 1; w <= 6; ++w) {
        c.Pen.Width = w * 2 - 1;
        c.Pen.Color = RGB(40 * w, 0, 200 - 30 * w);
        c.MoveTo(220, 70 + w * 9);
        c.LineTo(300, 60 + w * 12);
    }
    c.Pen = TPen{};

    // Figures.
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clYellow;
    c.Ellipse(320, 70, 400, 130);
    c.RoundRect(410, 70, 490, 130, 20, 20);
    c.Pen.Width = 7;
    c.Pen.Color = clGreen;
    c.Pen.Style = TPenStyle::psInsideFrame;
    c.Rectangle(500, 70, 580, 130);
    c.Pen = TPen{};
    c.Pen.Color = clRed;
    c.Arc(590, 70, 630, 130, 630, 100, 610, 70);
    c.Brush.Color = clAqua;
    const std::array star = {QPoint(60, 140), QPoint(90, 230), QPoint(15, 175), QPoint(105, 175), QPoint(30, 230)};
    c.Polygon(star);
    c.Pen.Color = clBlue;
    c.Pen.Width = 3;
    const std::array bezier = {QPoint(120, 230), QPoint(140, 130), QPoint(200, 250), QPoint(220, 150)};
    c.PolyBezier(bezier);
    c.Pen = TPen{};

    // Text: plain, styled, and turned about its top-left anchor.
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Size = 12;
    c.TextOut(240, 150, QStringLiteral("宋体 文字 Text 123"));
    c.Font.Style = fsBold | fsUnderline;
    c.TextOut(240, 175, QStringLiteral("粗体下划线 Bold"));
    c.Font.Style = fsItalic | fsStrikeOut;
    c.Font.Color = clMaroon;
    c.TextOut(240, 200, QStringLiteral("斜体删除线 Italic"));
    c.Font = TFont{};
    c.Font.Size = 11;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = RGB(220, 220, 255);
    for (int angle : {0, 450, 900, 1800, 2700}) {
        c.Font.Escapement = angle;
        c.TextOut(520, 300, QStringLiteral("施工平面图"));
    }
    c.Pen.Color = clRed;
    c.Brush.Color = clRed;
    c.FillRect(QRect(519, 299, 3, 3));
    c.Font.Escapement = 0;

    // Word-wrapped text in a framed box, centred.
    c.Brush.Style = TBrushStyle::bsClear;
    QRect box(20, 260, 160, 80);
    c.Brush.Color = clGray;
    c.FrameRect(box);
    c.Brush.Style = TBrushStyle::bsClear;
    c.DrawText(QStringLiteral("网络图的关键线路用红色表示, and long English words wrap at spaces."), box,
               dt::WordBreak | dt::Center);

    // A rotated, hatched rectangle under a world transform, and clipping.
    QTransform turn;
    turn.translate(300, 330);
    turn.rotate(-30);
    c.SetWorldTransform(turn);
    c.Brush.Style = TBrushStyle::bsCross;
    c.Brush.Color = clPurple;
    c.Rectangle(0, 0, 100, 50);
    c.SetWorldTransform(QTransform());
    c.SetClipRegion(QRegion(20, 360, 120, 100, QRegion::Ellipse));
    c.Brush.Style = TBrushStyle::bsBDiagonal;
    c.Brush.Color = clTeal;
    c.FillRect(QRect(0, 350, 200, 130));
    c.ResetClipRegion();

    // A not-XOR rubber band over everything.
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Pen.Style = TPenStyle::psDot;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(5, 5, 635, 475);
}

TEST(CanvasSheet, RendersTheSameEveryTime)
{
    QImage first(640, 480, QImage::Format_RGB32);
    QImage second(640, 480, QImage::Format_RGB32);
    {
        PainterCanvas canvas(first);
        DrawSheet(canvas);
    }
    {
        PainterCanvas canvas(second);
        DrawSheet(canvas);
    }
    EXPECT_EQ(first, second);
    EXPECT_TRUE(first.save(QStringLiteral(CANVAS_SHEET_DIR "/canvas_sheet.png")));
}

} // namespace
