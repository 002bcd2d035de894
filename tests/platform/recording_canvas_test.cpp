#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <array>

using namespace platform;

namespace {

TEST(RecordingCanvas, KeepsEachCallWithTheStateInForce)
{
    RecordingCanvas canvas;
    canvas.MoveTo(1, 2);
    canvas.Pen.Width = 3;
    canvas.LineTo(10, 2);
    canvas.Pen = TPen{};
    canvas.Pen.Mode = TPenMode::pmNotXor;
    canvas.Brush.Style = TBrushStyle::bsFDiagonal;
    canvas.Brush.Color = clRed;
    canvas.Rectangle(2, 2, 7, 7);
    const std::array points = {QPoint(0, 0), QPoint(5, 0), QPoint(5, 5)};
    canvas.Polygon(points);
    canvas.Brush = TBrush{};
    canvas.FillRect(QRect(0, 0, 10, 5));
    canvas.Font.Escapement = 900;
    canvas.TextOut(3, 4, QStringLiteral("文字"));
    canvas.SetWorldTransform(QTransform::fromTranslate(10, 20));
    canvas.Ellipse(0, 0, 4, 4);
    canvas.SetPixel(1, 1, clBtnFace);

    EXPECT_EQ(canvas.Log(), (QStringList{
                                QStringLiteral("MoveTo(1,2)"),
                                QStringLiteral("LineTo(10,2) pen=000000,solid,3,copy"),
                                QStringLiteral("Rectangle(2,2,7,7) pen=000000,solid,1,notxor brush=0000FF,fdiagonal"),
                                QStringLiteral("Polygon((0,0),(5,0),(5,5)) pen=000000,solid,1,notxor brush=0000FF,fdiagonal"),
                                QStringLiteral("FillRect(0,0,10,5) brush=FFFFFF,solid"),
                                QStringLiteral("TextOut(3,4,\"文字\") brush=FFFFFF,solid font=宋体,9,0,000000,900"),
                                QStringLiteral("SetWorldTransform(1,0,0,1,10,20)"),
                                QStringLiteral("Ellipse(0,0,4,4) pen=000000,solid,1,notxor brush=FFFFFF,solid xform=1,0,0,1,10,20"),
                                QStringLiteral("SetPixel(1,1,8000000F) xform=1,0,0,1,10,20"),
                            }));
    ASSERT_EQ(canvas.Calls().size(), 9u);
    EXPECT_EQ(canvas.Calls()[2].Op, CanvasOp::Rectangle);
    EXPECT_EQ(canvas.Calls()[2].Pen.Mode, TPenMode::pmNotXor);
    EXPECT_EQ(canvas.PenPos(), QPoint(3 + canvas.TextWidth(QStringLiteral("文字")), 4));
}

TEST(RecordingCanvas, MeasuresTextAsAScreenImageDoes)
{
    QImage image(10, 10, QImage::Format_RGB32);
    PainterCanvas screen(image);
    RecordingCanvas recording;
    for (Canvas* canvas : {static_cast<Canvas*>(&screen), static_cast<Canvas*>(&recording)}) {
        canvas->Font.Size = 10;
        canvas->Font.Style = fsBold;
    }
    const QString text = QStringLiteral("施工平面图 Site plan 1:500");
    EXPECT_EQ(recording.TextExtent(text), screen.TextExtent(text));
    QRect onScreen(5, 5, 60, 0);
    QRect recorded = onScreen;
    EXPECT_EQ(recording.DrawText(text, recorded, dt::CalcRect | dt::WordBreak),
              screen.DrawText(text, onScreen, dt::CalcRect | dt::WordBreak));
    EXPECT_EQ(recorded, onScreen);
    EXPECT_GT(recorded.height(), recording.TextHeight(text));
    EXPECT_TRUE(recording.Calls().empty()); // measuring draws nothing
}

TEST(RecordingCanvas, ClipRectFollowsClipAndTransform)
{
    RecordingCanvas canvas(QSize(200, 100));
    EXPECT_EQ(canvas.ClipRect(), QRect(0, 0, 200, 100));
    canvas.SetClipRegion(QRegion(10, 10, 20, 20));
    canvas.SetWorldTransform(QTransform::fromScale(2, 2));
    EXPECT_EQ(canvas.ClipRect(), QRect(5, 5, 10, 10));
    canvas.ResetClipRegion();
    EXPECT_EQ(canvas.ClipRect(), QRect(0, 0, 100, 50));
    EXPECT_EQ(canvas.Pixel(3, 3), clWhite);
    EXPECT_EQ(canvas.Log().at(0), QStringLiteral("SetClipRegion(10,10,30,30)"));
}

} // namespace
