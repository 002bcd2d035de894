// Pins the pixel conventions of the canvas once, on a QImage: every engine
// that draws relies on them, so they are checked here and nowhere else.
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <limits>

#include <climits>

#include <QImage>

#include <array>
#include <functional>
#include <random>
#include <ostream>
#include <vector>

// Readable failure messages for rectangles.
void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << "QRect(" << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height() << ")";
}

using namespace platform;

namespace {

constexpr QRgb white = 0xFFFFFFFF;

QImage WhiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(white);
    return image;
}

bool Ink(const QImage& image, int x, int y)
{
    return image.rect().contains(x, y) && image.pixel(x, y) != white;
}

// The smallest rectangle holding every pixel that is not white.
QRect InkBounds(const QImage& image, const QRect& area = QRect())
{
    const QRect scan = area.isNull() ? image.rect() : area & image.rect();
    QRect bounds;
    for (int y = scan.top(); y <= scan.bottom(); ++y) {
        for (int x = scan.left(); x <= scan.right(); ++x) {
            if (Ink(image, x, y))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool InkNear(const QImage& image, QPoint p, int distance = 1)
{
    return !InkBounds(image, QRect(p - QPoint(distance, distance), QSize(2 * distance + 1, 2 * distance + 1))).isNull();
}

// Lengths of the alternating ink and gap runs along row y, from x = 0.
std::vector<int> Runs(const QImage& image, int y, int width)
{
    std::vector<int> runs;
    bool ink = Ink(image, 0, y);
    int length = 0;
    for (int x = 0; x < width; ++x) {
        if (Ink(image, x, y) == ink) {
            ++length;
            continue;
        }
        runs.push_back(length);
        ink = !ink;
        length = 1;
    }
    runs.push_back(length);
    return runs;
}

QImage Paint(QSize size, const std::function<void(Canvas&)>& draw)
{
    QImage image = WhiteImage(size);
    PainterCanvas canvas(image);
    draw(canvas);
    return image;
}

// Draws a few figures of every kind, so that a mix mode is applied to lines,
// wide lines, outlines and hatched fills alike.
void DrawMixedFigures(Canvas& c)
{
    c.Brush.Style = TBrushStyle::bsDiagCross;
    c.Brush.Color = clBlue;
    c.Rectangle(4, 4, 40, 30);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Ellipse(20, 10, 60, 50);
    c.Pen.Width = 3;
    c.MoveTo(2, 60);
    c.LineTo(60, 2);
    c.Pen.Width = 1;
    c.Pen.Style = TPenStyle::psDot;
    c.Brush.Style = TBrushStyle::bsClear;
    const std::array<QPoint, 4> points = {QPoint(5, 5), QPoint(55, 8), QPoint(30, 58), QPoint(5, 5)};
    c.Polyline(points);
}

QImage Background()
{
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) & 0xFF));
    }
    return image;
}

struct PixelCase {
    const char* name;
    QSize size;
    std::function<void(Canvas&)> draw;
    std::function<void(const QImage&)> check;
};

const std::vector<PixelCase>& PixelCases()
{
    static const std::vector<PixelCase> cases = {
        {"RectangleOnePixelPenCoversLeftToRightMinusOne", {12, 12},
         [](Canvas& c) {
             c.Brush.Color = clRed;
             c.Rectangle(2, 2, 7, 7);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image), QRect(QPoint(2, 2), QPoint(6, 6)));
             EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0));
             EXPECT_EQ(image.pixel(6, 4), qRgb(0, 0, 0));
             EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
             EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
         }},
        {"RectangleWithClearPenFillsOneLess", {12, 12},
         [](Canvas& c) {
             c.Pen.Style = TPenStyle::psClear;
             c.Brush.Color = clRed;
             c.Rectangle(2, 2, 7, 7);
         },
         [](const QImage& image) { EXPECT_EQ(InkBounds(image), QRect(QPoint(2, 2), QPoint(5, 5))); }},
        {"LineToLeavesOutItsLastPixel", {12, 12},
         [](Canvas& c) {
             c.MoveTo(1, 1);
             c.LineTo(8, 1);
             c.MoveTo(1, 3);
             c.LineTo(5, 7);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image, QRect(0, 0, 12, 2)), QRect(QPoint(1, 1), QPoint(7, 1)));
             EXPECT_TRUE(Ink(image, 4, 6));
             EXPECT_FALSE(Ink(image, 5, 7));
         }},
        {"PolylineLeavesOutTheFinalPoint", {12, 12},
         [](Canvas& c) {
             const std::array<QPoint, 3> points = {QPoint(2, 2), QPoint(8, 2), QPoint(8, 8)};
             c.Polyline(points);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image), QRect(QPoint(2, 2), QPoint(8, 7)));
             EXPECT_TRUE(Ink(image, 8, 2));
         }},
        {"EllipseAndRoundRectKeepTheBoundingBoxRule", {40, 20},
         [](Canvas& c) {
             c.Ellipse(2, 2, 14, 10);
             c.RoundRect(20, 2, 34, 12, 6, 6);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image, QRect(0, 0, 18, 20)), QRect(QPoint(2, 2), QPoint(13, 9)));
             EXPECT_EQ(InkBounds(image, QRect(18, 0, 22, 20)), QRect(QPoint(20, 2), QPoint(33, 11)));
             EXPECT_FALSE(Ink(image, 20, 2)); // rounded corner
             EXPECT_TRUE(Ink(image, 26, 2));
         }},
        {"ArcRunsCounterClockwiseFromStartToEnd", {64, 32},
         [](Canvas& c) {
             c.Arc(0, 0, 21, 21, 20, 10, 10, 0);  // right to top: one quarter
             c.Arc(32, 0, 53, 21, 42, 0, 52, 10); // top to right: three quarters
         },
         [](const QImage& image) {
             EXPECT_TRUE(InkNear(image, {17, 3}));
             EXPECT_FALSE(InkNear(image, {3, 17}, 2));
             EXPECT_FALSE(InkNear(image, {3, 3}, 2));
             EXPECT_FALSE(InkNear(image, {17, 17}, 2));
             EXPECT_FALSE(InkNear(image, {49, 3}, 2));
             EXPECT_TRUE(InkNear(image, {35, 3}));
             EXPECT_TRUE(InkNear(image, {35, 17}));
             EXPECT_TRUE(InkNear(image, {49, 17}));
         }},
        {"ArcWithEqualRadialsDrawsTheWholeEllipse", {24, 24},
         [](Canvas& c) { c.Arc(0, 0, 21, 21, 20, 10, 30, 10); },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image), QRect(QPoint(0, 0), QPoint(20, 20)));
             for (QPoint p : {QPoint(17, 3), QPoint(3, 3), QPoint(3, 17), QPoint(17, 17)})
                 EXPECT_TRUE(InkNear(image, p)) << p.x() << "," << p.y();
         }},
        {"TextOutAnchorsTheTopLeftOfTheTextCell", {64, 40},
         [](Canvas& c) {
             c.Brush.Color = clRed;
             c.TextOut(10, 5, QStringLiteral("Hg"));
             const QSize cell = c.TextExtent(QStringLiteral("Hg"));
             EXPECT_EQ(c.PenPos(), QPoint(10 + cell.width(), 5));
             c.Brush.Color = clBlack;
             c.FrameRect(QRect(QPoint(9, 4), cell + QSize(2, 2))); // just outside the cell
         },
         [](const QImage& image) {
             EXPECT_EQ(image.pixel(10, 5), qRgb(255, 0, 0));
             const QRect frame = InkBounds(image);
             EXPECT_EQ(frame.topLeft(), QPoint(9, 4));
             EXPECT_EQ(image.pixel(frame.right() - 1, frame.bottom() - 1), qRgb(255, 0, 0));
             EXPECT_EQ(image.pixel(frame.right(), frame.bottom()), qRgb(0, 0, 0));
         }},
        {"DrawTextCalcRectKeepsLeftTopAndBreaksAtSpacesAndBetweenCjk", {200, 80},
         [](Canvas& c) {
             const int lineHeight = c.TextHeight(QStringLiteral("A"));
             QRect words(10, 20, c.TextWidth(QStringLiteral("aaa bbb")) + 2, 5);
             EXPECT_EQ(c.DrawText(QStringLiteral("aaa bbb ccc"), words, dt::CalcRect | dt::WordBreak), 2 * lineHeight);
             EXPECT_EQ(words, QRect(10, 20, c.TextWidth(QStringLiteral("aaa bbb")), 2 * lineHeight));
             QRect cjk(30, 5, c.TextWidth(QStringLiteral("中文字")) + 2, 5);
             c.DrawText(QStringLiteral("中文字符平面"), cjk, dt::CalcRect | dt::WordBreak);
             EXPECT_EQ(cjk, QRect(30, 5, c.TextWidth(QStringLiteral("中文字")), 2 * lineHeight));
             QRect lines(0, 0, 100, 0);
             EXPECT_EQ(c.DrawText(QStringLiteral("a\r\nb\r\n"), lines, dt::CalcRect), 2 * lineHeight);
             QRect single(0, 0, 1, 1);
             c.DrawText(QStringLiteral("aaa bbb ccc"), single, dt::CalcRect | dt::SingleLine);
             EXPECT_EQ(single.size(), c.TextExtent(QStringLiteral("aaa bbb ccc")));
             QRect longWord(0, 0, c.TextWidth(QStringLiteral("ab")), 5);
             c.DrawText(QStringLiteral("abcd"), longWord, dt::CalcRect | dt::WordBreak);
             EXPECT_EQ(longWord.height(), lineHeight);
             longWord.setWidth(c.TextWidth(QStringLiteral("ab")));
             c.DrawText(QStringLiteral("abcd"), longWord, dt::CalcRect | dt::WordBreak | dt::EditControl);
             EXPECT_EQ(longWord.height(), 2 * lineHeight);
             // Drawn for real, the text keeps to the rect.
             c.Brush.Style = TBrushStyle::bsClear;
             QRect box(10, 40, c.TextWidth(QStringLiteral("aaa bbb")) + 2, lineHeight + lineHeight / 2);
             c.DrawText(QStringLiteral("aaa bbb ccc"), box, dt::WordBreak);
         },
         [](const QImage& image) {
             const QRect ink = InkBounds(image);
             EXPECT_GE(ink.left(), 10);
             EXPECT_GE(ink.top(), 40);
             EXPECT_LT(ink.bottom(), 40 + 24);
         }},
        {"Escapement900ReadsBottomToTop", {64, 64},
         [](Canvas& c) {
             c.Brush.Style = TBrushStyle::bsClear;
             c.Font.Escapement = 900;
             c.Font.Size = 12;
             c.TextOut(20, 60, QStringLiteral("I      "));
             c.TextOut(40, 60, QStringLiteral("      I"));
         },
         [](const QImage& image) {
             const QRect first = InkBounds(image, QRect(0, 0, 38, 64));
             const QRect last = InkBounds(image, QRect(38, 0, 26, 64));
             EXPECT_GE(first.left(), 20);
             EXPECT_LE(first.bottom(), 60);
             EXPECT_GT(first.top(), 40); // the first letter sits at the bottom
             EXPECT_LT(last.bottom(), 30); // the last letter at the top
         }},
        {"HatchDirectionsAndTransparentBackground", {48, 32},
         [](Canvas& c) {
             c.Brush.Color = clLime;
             c.FillRect(QRect(0, 0, 48, 32));
             c.Brush.Color = clBlack;
             const std::array styles = {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
                                        TBrushStyle::bsBDiagonal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross};
             for (int i = 0; i < 6; ++i) {
                 c.Brush.Style = styles[i];
                 c.FillRect(QRect((i % 3) * 16, (i / 3) * 16, 16, 16));
             }
         },
         [](const QImage& image) {
             auto black = [&](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
             auto count = [&](QRect r) {
                 int n = 0;
                 for (int y = r.top(); y <= r.bottom(); ++y)
                     for (int x = r.left(); x <= r.right(); ++x)
                         n += black(x, y);
                 return n;
             };
             EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0)); // background shows through
             for (int y = 0; y < 16; ++y)
                 EXPECT_TRUE(count(QRect(0, y, 16, 1)) == 0 || count(QRect(0, y, 16, 1)) == 16) << y;
             EXPECT_EQ(count(QRect(0, 0, 16, 16)), 32);
             for (int x = 16; x < 32; ++x)
                 EXPECT_TRUE(count(QRect(x, 0, 1, 16)) == 0 || count(QRect(x, 0, 1, 16)) == 16) << x;
             EXPECT_EQ(count(QRect(16, 0, 16, 16)), 32);
             for (int x = 33; x < 46; ++x) {
                 for (int y = 1; y < 14; ++y) {
                     if (black(x, y)) {
                         EXPECT_TRUE(black(x + 1, y + 1)) << "\\ hatch " << x << "," << y;
                         EXPECT_FALSE(black(x + 1, y - 1));
                     }
                     if (black(x - 32, y + 16)) {
                         EXPECT_TRUE(black(x - 31, y + 15)) << "/ hatch " << x << "," << y;
                         EXPECT_FALSE(black(x - 31, y + 17));
                     }
                 }
             }
             EXPECT_EQ(count(QRect(16, 16, 16, 16)), 60);
             EXPECT_EQ(count(QRect(32, 16, 16, 16)), 64);
         }},
        {"PenStylesDashTheirOnePixelLines", {64, 16},
         [](Canvas& c) {
             c.Brush.Style = TBrushStyle::bsClear;
             const std::array styles = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot,
                                        TPenStyle::psDashDotDot, TPenStyle::psClear, TPenStyle::psInsideFrame};
             for (int i = 0; i < 7; ++i) {
                 c.Pen.Style = styles[i];
                 c.MoveTo(0, 1 + 2 * i);
                 c.LineTo(60, 1 + 2 * i);
             }
         },
         [](const QImage& image) {
             EXPECT_EQ(Runs(image, 1, 60), (std::vector<int>{60}));
             EXPECT_EQ(Runs(image, 3, 48), (std::vector<int>{18, 6, 18, 6}));
             EXPECT_EQ(Runs(image, 5, 12), (std::vector<int>{3, 3, 3, 3}));
             EXPECT_EQ(Runs(image, 7, 48), (std::vector<int>{9, 6, 3, 6, 9, 6, 3, 6}));
             EXPECT_EQ(Runs(image, 9, 48), (std::vector<int>{9, 3, 3, 3, 3, 3, 9, 3, 3, 3, 3, 3}));
             EXPECT_TRUE(InkBounds(image, QRect(0, 11, 64, 1)).isNull());
             EXPECT_EQ(Runs(image, 13, 60), (std::vector<int>{60}));
         }},
        {"StyledLinesFillTheirGapsWithASolidBrush", {32, 4},
         [](Canvas& c) {
             c.Pen.Style = TPenStyle::psDot;
             c.Brush.Color = clRed;
             c.MoveTo(0, 1);
             c.LineTo(12, 1);
         },
         [](const QImage& image) {
             EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0));
             EXPECT_EQ(image.pixel(3, 1), qRgb(255, 0, 0));
             EXPECT_EQ(image.pixel(12, 1), white);
         }},
        {"WidePensHaveRoundEndsAndInsideFrameKeepsInside", {64, 64},
         [](Canvas& c) {
             c.Pen.Width = 5;
             c.MoveTo(10, 10);
             c.LineTo(30, 10);
             c.Rectangle(10, 24, 30, 44);
             c.Pen.Style = TPenStyle::psInsideFrame;
             c.Rectangle(40, 24, 60, 44);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image, QRect(0, 0, 64, 20)), QRect(QPoint(8, 8), QPoint(32, 12)));
             EXPECT_FALSE(Ink(image, 8, 8)); // rounded end
             EXPECT_TRUE(Ink(image, 8, 10));
             EXPECT_TRUE(Ink(image, 32, 10));
             EXPECT_EQ(InkBounds(image, QRect(0, 20, 36, 44)), QRect(QPoint(8, 22), QPoint(31, 45)));
             EXPECT_EQ(InkBounds(image, QRect(36, 20, 28, 44)), QRect(QPoint(40, 24), QPoint(59, 43)));
             EXPECT_TRUE(Ink(image, 44, 28));
             EXPECT_FALSE(Ink(image, 45, 29));
         }},
        {"ClipRegionInDevicePixelsAndWorldTransform", {64, 64},
         [](Canvas& c) {
             c.Brush.Color = clBlack;
             c.SetWorldTransform(QTransform::fromTranslate(100, 0));
             c.SetClipRegion(QRegion(4, 4, 10, 10) + QRegion(20, 4, 4, 4));
             EXPECT_EQ(c.ClipRect(), QRect(-96, 4, 20, 10));
             c.FillRect(QRect(-100, 0, 64, 64));
             c.ResetClipRegion();
             QTransform zoom;
             zoom.translate(30, 30);
             zoom.scale(2, 2);
             c.SetWorldTransform(zoom);
             c.FillRect(QRect(0, 0, 5, 5));
             c.MoveTo(0, 12); // the pen width scales with the transform...
             c.LineTo(8, 12);
             c.Pen.Width = 0; // ...but width 0 stays one pixel
             c.MoveTo(0, 14);
             c.LineTo(8, 14);
             c.SetPixel(10, 10, clRed);
             EXPECT_EQ(c.Pixel(10, 10), clRed);
             EXPECT_EQ(c.Pixel(100, 100), -1);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image, QRect(0, 0, 28, 28)), QRect(4, 4, 20, 10));
             EXPECT_FALSE(Ink(image, 20, 8));
             EXPECT_EQ(InkBounds(image, QRect(28, 28, 20, 20)), QRect(30, 30, 10, 10));
             EXPECT_EQ(image.pixel(50, 50), qRgb(255, 0, 0));
             EXPECT_EQ(InkBounds(image, QRect(38, 52, 1, 5)), QRect(38, 54, 1, 2));
             EXPECT_EQ(InkBounds(image, QRect(38, 57, 1, 3)), QRect(38, 58, 1, 1));
         }},
        {"StretchDrawScalesThePictureIntoTheRect", {16, 16},
         [](Canvas& c) {
             QImage picture(2, 1, QImage::Format_RGB32);
             picture.setPixel(0, 0, qRgb(255, 0, 0));
             picture.setPixel(1, 0, qRgb(0, 0, 255));
             c.StretchDraw(QRect(2, 2, 8, 4), picture);
             c.Draw(12, 12, picture);
         },
         [](const QImage& image) {
             EXPECT_EQ(InkBounds(image, QRect(0, 0, 12, 12)), QRect(2, 2, 8, 4));
             EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
             EXPECT_EQ(image.pixel(6, 2), qRgb(0, 0, 255));
             EXPECT_EQ(InkBounds(image, QRect(12, 12, 4, 4)), QRect(12, 12, 2, 1));
         }},
    };
    return cases;
}

void PrintTo(const PixelCase& pixelCase, std::ostream* os)
{
    *os << pixelCase.name;
}

class PixelConventions : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelConventions, Hold)
{
    const PixelCase& pixelCase = GetParam();
    pixelCase.check(Paint(pixelCase.size, pixelCase.draw));
}

INSTANTIATE_TEST_SUITE_P(Canvas, PixelConventions, testing::ValuesIn(PixelCases()),
                         [](const testing::TestParamInfo<PixelCase>& info) { return info.param.name; });

TEST(PainterCanvasMixModes, NotXorDrawnTwiceRestoresTheImageExactly)
{
    const QImage original = Background();
    QImage image = original;
    PainterCanvas canvas(image);
    canvas.Pen.Mode = TPenMode::pmNotXor;
    DrawMixedFigures(canvas);
    EXPECT_NE(image, original);
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Pen.Mode = TPenMode::pmNotXor;
    DrawMixedFigures(canvas);
    EXPECT_EQ(image, original);
}

// A figure far beyond the coordinate range after the world transform (a
// turned shape of a damaged file) mixes nothing and does no harm.
TEST(PainterCanvasMixModes, FigureFarOutsideTheRangeMixesNothing)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(white);
    const QImage original = image;
    PainterCanvas canvas(image);
    canvas.Pen.Mode = TPenMode::pmNotXor;
    canvas.SetWorldTransform(QTransform::fromScale(4, 4));
    canvas.Rectangle(-2000000000, -2000000000, -1999999000, -1999999000);
    canvas.Rectangle(2000000000, 0, 2000001000, 5);
    EXPECT_EQ(image, original);
}

// A frame around a figure that spans the whole coordinate range: its edges
// lie more than an int apart, and only its sides inside the image show.
TEST(PainterCanvasMixModes, RectangleSpanningTheWholeRangeDrawsItsVisibleSides)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(white);
    PainterCanvas canvas(image);
    canvas.Pen.Mode = TPenMode::pmNotXor;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(-(1 << 30) - 1, 2, (1 << 30) + 1, 6);
    canvas.Rectangle(std::numeric_limits<int>::min(), 2, std::numeric_limits<int>::max(), 6);
    canvas.Pen.Mode = TPenMode::pmCopy;
    canvas.Rectangle(std::numeric_limits<int>::min(), 3, std::numeric_limits<int>::max(), 5);
    EXPECT_EQ(image.pixel(4, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 0), white);
}

// A not-XOR figure drawn with the widest pen a damaged file can hold: the
// margin around the figure is computed without overflow (the sanitizer build
// checks it), and drawing the figure twice leaves the image as it was.
TEST(PainterCanvasMixModes, WidestPenNotXorFigureDrawnTwiceRestoresTheImage)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(white);
    image.setPixel(2, 2, qRgb(10, 20, 30));
    const QImage before = image.copy();
    PainterCanvas canvas(image);
    canvas.Pen.Mode = TPenMode::pmNotXor;
    canvas.Pen.Width = std::numeric_limits<int>::max();
    canvas.Brush.Style = TBrushStyle::bsClear;
    for (int i = 0; i < 2; ++i) {
        canvas.MoveTo(0, 4);
        canvas.LineTo(8, 4);
    }
    EXPECT_EQ(image, before);
}

struct MixCase {
    TPenMode mode;
    TColor pen;
    QRgb before;
    TColor after;
};

class MixModes : public testing::TestWithParam<MixCase> {};

TEST_P(MixModes, CombinePenAndImagePixels)
{
    const MixCase& mix = GetParam();
    QImage image(4, 1, QImage::Format_RGB32);
    image.fill(mix.before);
    PainterCanvas canvas(image);
    canvas.Pen.Color = mix.pen;
    canvas.Pen.Mode = mix.mode;
    canvas.MoveTo(0, 0);
    canvas.LineTo(2, 0);
    EXPECT_EQ(canvas.Pixel(1, 0), mix.after);
    EXPECT_EQ(canvas.Pixel(2, 0), FromQColor(QColor(mix.before)));
}

INSTANTIATE_TEST_SUITE_P(Canvas, MixModes,
                         testing::Values(MixCase{TPenMode::pmNotXor, clBlack, white, clBlack},
                                         MixCase{TPenMode::pmNotXor, clBlack, qRgb(0, 0, 0), clWhite},
                                         MixCase{TPenMode::pmMaskPenNot, clRed, white, clAqua},
                                         MixCase{TPenMode::pmXor, clWhite, qRgb(0x80, 0x80, 0x80), RGB(0x7F, 0x7F, 0x7F)},
                                         MixCase{TPenMode::pmCopy, clRed, white, clRed}));

TEST(PainterCanvasResolution, ImagesCountAsNinetySixDpiUnlessTheySaySo)
{
    QImage screen = WhiteImage({4, 4});
    PainterCanvas onScreen(screen);
    EXPECT_EQ(onScreen.PixelsPerInch(), 96);
    QImage print = WhiteImage({4, 4});
    print.setDotsPerMeterX(11811);
    print.setDotsPerMeterY(11811);
    PainterCanvas onPrint(print);
    EXPECT_EQ(onPrint.PixelsPerInch(), 300);
    EXPECT_GT(onPrint.TextHeight(QStringLiteral("A")), 3 * onScreen.TextHeight(QStringLiteral("A")) - 4);
}

} // namespace

namespace {

// A host may hand over an empty back buffer (a viewport of no size): every
// call must then draw nothing and measure as usual.
TEST(PainterCanvasSurface, EmptyImageTakesEveryCallWithoutHarm)
{
    QImage empty;
    PainterCanvas canvas(empty);
    canvas.Pen.Mode = TPenMode::pmNotXor;
    canvas.Rectangle(0, 0, 10, 10);
    canvas.TextOut(0, 0, QStringLiteral("文字"));
    QRect rect(0, 0, 40, 0);
    EXPECT_GT(canvas.DrawText(QStringLiteral("文字"), rect, dt::CalcRect), 0);
    canvas.SetClipRegion(QRegion(0, 0, 5, 5));
    canvas.SetPixel(1, 1, clRed);
    EXPECT_EQ(canvas.Pixel(1, 1), clWhite);
    EXPECT_EQ(canvas.PixelsPerInch(), 96);
}

// A stored font may carry any escapement; the extremes still turn the text
// instead of overflowing.
TEST(PainterCanvasSurface, ExtremeEscapementsStillDrawTheText)
{
    QImage white(200, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    for (const int escapement : {INT_MIN, INT_MAX, -900}) {
        QImage image = white.copy();
        PainterCanvas canvas(image);
        canvas.Font.Escapement = escapement;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.TextOut(100, 100, QStringLiteral("文字"));
        EXPECT_NE(image, white) << escapement;
    }
}

} // namespace

namespace {

// A back buffer is painted again and again with a new clip each time; a
// clip of several rectangles must hold after the last one was reset.
TEST(PainterCanvasSurface, AClipOfSeveralRectanglesHoldsAfterAReset)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    PainterCanvas canvas(image);
    canvas.SetClipRegion(QRegion(0, 0, 60, 60));
    canvas.ResetClipRegion();
    canvas.SetClipRegion(QRegion(2, 2, 5, 5) + QRegion(20, 20, 5, 5));
    canvas.Brush = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect(image.rect());
    EXPECT_EQ(image.pixel(3, 3) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(21, 21) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(40, 40) & 0xFFFFFFu, 0u);
    canvas.ResetClipRegion();
    canvas.FillRect(image.rect());
    EXPECT_EQ(image.pixel(40, 40) & 0xFFFFFFu, 0xFFFFFFu);
}

} // namespace

#include "platform/fonts.h"
#include "platform/text_layout.h"

#include <QPainter>

namespace {

// Text moved by whole pixels is placed from an image drawn once: it must
// show exactly the pixels of drawing it in place, at every angle. (Where
// turned text drawn in place crosses the edge of the surface, the toolkit
// draws its glyphs a little differently; the placed text looks there as
// it does everywhere else.)
TEST(PainterCanvasSurface, PlacedTextShowsThePixelsOfDrawnText)
{
    QImage white(300, 300, QImage::Format_RGB32);
    white.fill(Qt::white);
    for (const int escapement : {0, 150, 450, 900, 1234, 1800, 2700, 3333, -600}) {
        for (const QPoint at : {QPoint(150, 150), QPoint(97, 171), QPoint(120, 90), QPoint(181, 133)}) {
            QImage placed = white.copy();
            {
                PainterCanvas canvas(placed);
                canvas.SetWorldTransform(QTransform::fromTranslate(5, -2));
                canvas.Brush.Style = TBrushStyle::bsClear;
                canvas.Font.Size = 10;
                canvas.Font.Style = fsUnderline;
                canvas.Font.Color = clBlue;
                canvas.Font.Escapement = escapement;
                canvas.TextOut(at.x(), at.y(), QStringLiteral("围墙 Wall"));
                canvas.TextOut(at.x(), at.y() + 30, QStringLiteral("围墙 Wall"));
            }
            QImage drawn = white.copy();
            {
                TFont font;
                font.Size = 10;
                font.Style = fsUnderline;
                InstallFontSubstitutes();
                const QFont qfont = ToQFont(font, 96);
                QPainter painter(&drawn);
                painter.setRenderHint(QPainter::Antialiasing, false);
                painter.setRenderHint(QPainter::TextAntialiasing, false);
                for (const int dy : {0, 30}) {
                    painter.setTransform(QTransform::fromTranslate(5, -2));
                    painter.translate(at.x(), at.y() + dy);
                    if (escapement != 0)
                        painter.rotate(-(escapement / 10.0));
                    painter.setFont(qfont);
                    painter.setPen(ToQColor(clBlue));
                    painter.drawText(QPoint(0, QFontMetrics(qfont, &drawn).ascent()), QStringLiteral("围墙 Wall"));
                }
            }
            EXPECT_EQ(placed, drawn) << "escapement " << escapement << " at " << at.x() << ", " << at.y();
            EXPECT_NE(placed, white);
        }
    }
}

// Upright one-pixel rectangles in copy mode are painted without a path:
// they must show exactly the pixels of filling and stroking their figure's
// path, for every brush, pen, corner order, size and shift, also where
// they leave the surface or cross the edge of a clip region of several
// rectangles.
TEST(PainterCanvasSurface, UprightRectanglesShowThePixelsOfTheirFigurePath)
{
    const QRect boxes[] = {{10, 12, 30, 20}, {40, 35, -25, -18}, {5, 50, 1, 9}, {60, 5, 0, 0},
                           {-8, -6, 25, 20}, {50, 40, 40, 40}, {20, 20, 2, 2}};
    const TBrushStyle brushes[] = {TBrushStyle::bsSolid, TBrushStyle::bsDiagCross, TBrushStyle::bsHorizontal,
                                   TBrushStyle::bsClear};
    const TPen pens[] = {{clNavy, TPenStyle::psSolid, 1, TPenMode::pmCopy},
                         {clNavy, TPenStyle::psSolid, 0, TPenMode::pmCopy},
                         {clRed, TPenStyle::psInsideFrame, 1, TPenMode::pmCopy},
                         {clRed, TPenStyle::psClear, 1, TPenMode::pmCopy}};
    const QPoint shifts[] = {{0, 0}, {3, -5}};
    const QRegion clips[] = {QRegion(), QRegion(0, 0, 30, 64) + QRegion(36, 10, 36, 40)};
    for (const QRegion& clip : clips)
    for (const QRect& box : boxes) {
        for (const TBrushStyle brushStyle : brushes) {
            for (const TPen& pen : pens) {
                for (const QPoint shift : shifts) {
                    const int left = box.x(), top = box.y();
                    const int right = box.x() + box.width(), bottom = box.y() + box.height();
                    QImage drawn(72, 64, QImage::Format_RGB32);
                    drawn.fill(Qt::white);
                    QImage expected = drawn.copy();
                    {
                        PainterCanvas canvas(drawn);
                        if (!clip.isEmpty())
                            canvas.SetClipRegion(clip);
                        canvas.SetWorldTransform(QTransform::fromTranslate(shift.x(), shift.y()));
                        canvas.Pen = pen;
                        canvas.Brush = TBrush{0x0040A0E0, brushStyle};
                        canvas.Rectangle(left, top, right, bottom);
                    }
                    {
                        QPainter painter(&expected);
                        painter.setRenderHint(QPainter::Antialiasing, false);
                        if (!clip.isEmpty())
                            painter.setClipRegion(clip);
                        painter.setTransform(QTransform::fromTranslate(shift.x(), shift.y()));
                        const QRectF rect(std::min(left, right), std::min(top, bottom),
                                          std::max(std::abs(right - left) - 1, 0), std::max(std::abs(bottom - top) - 1, 0));
                        QPainterPath path;
                        path.addRect(rect);
                        if (brushStyle != TBrushStyle::bsClear)
                            painter.fillPath(path, QBrush(ToQColor(0x0040A0E0), brushStyle == TBrushStyle::bsSolid
                                                                                    ? Qt::SolidPattern
                                                                                : brushStyle == TBrushStyle::bsDiagCross
                                                                                    ? Qt::DiagCrossPattern
                                                                                    : Qt::HorPattern));
                        if (pen.Style != TPenStyle::psClear) {
                            painter.setPen(QPen(ToQColor(pen.Color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
                            painter.setBrush(Qt::NoBrush);
                            painter.drawPath(path);
                        }
                    }
                    EXPECT_EQ(drawn, expected) << "box " << left << "," << top << "," << right << "," << bottom
                                               << " brush " << int(brushStyle) << " pen " << int(pen.Style) << " width "
                                               << pen.Width << " shift " << shift.x() << "," << shift.y() << " clip "
                                               << clip.rectCount();
                }
            }
        }
    }
}

// More different texts than the kept images can hold, drawn again and
// again, then a new set of them: whichever texts are placed from images
// and whichever are drawn in place, the pixels are those of drawing them.
TEST(PainterCanvasSurface, MoreDifferentTextsThanFitShowThePixelsOfDrawingThemInPlace)
{
    QImage white(400, 300, QImage::Format_RGB32);
    white.fill(Qt::white);
    const auto text = [](int set, int i) { return QStringLiteral("工作%1").arg(set * 100000 + i); };
    const auto at = [](int i) { return QPoint(i * 37 % 360, i * 13 % 280); };
    for (const int set : {0, 0, 0, 1, 1, 0}) {
        QImage placed = white.copy();
        {
            PainterCanvas canvas(placed);
            canvas.Brush.Style = TBrushStyle::bsClear;
            canvas.Font.Size = 9;
            canvas.Font.Color = clBlue;
            for (int i = 0; i < 4000; ++i)
                canvas.TextOut(at(i).x(), at(i).y(), text(set, i));
        }
        QImage drawn = white.copy();
        {
            TFont font;
            font.Size = 9;
            InstallFontSubstitutes();
            const QFont qfont = ToQFont(font, 96);
            QPainter painter(&drawn);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setRenderHint(QPainter::TextAntialiasing, false);
            painter.setFont(qfont);
            painter.setPen(ToQColor(clBlue));
            const int ascent = QFontMetrics(qfont, &drawn).ascent();
            for (int i = 0; i < 4000; ++i)
                painter.drawText(at(i) + QPoint(0, ascent), text(set, i));
        }
        EXPECT_EQ(placed, drawn) << "set " << set;
    }
}

// A long text in a huge font is drawn in place rather than kept as an image
// of its whole size (which would take gigabytes); its visible part shows.
TEST(PainterCanvasSurface, HugeTextIsDrawnWithoutAnImageOfItsSize)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    PainterCanvas canvas(image);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Size = 1000;
    canvas.TextOut(-200, -300, QString(200, QChar(0x56F4)));
    EXPECT_NE(image.pixel(20, 20), QColor(Qt::white).rgb());
}

} // namespace

#include <random>

namespace {

// Not-XOR figures on a 32-bit image are mixed along their outline only;
// the pixels must be those of mixing the whole figure's area (what an
// image of another format gets).
TEST(PainterCanvasSurface, MixingAlongTheOutlineGivesThePixelsOfTheWholeArea)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-20, 220);
    QImage start(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            start.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
    // Pens of one pixel and wide ones, odd and even.
    constexpr int Widths[] = {1, 1, 1, 4, 1, 2, 1, 9};
    for (int round = 0; round < 80; ++round) {
        QImage own = start.copy();
        QImage other = start.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const auto draw = [&](QImage& image) {
            PainterCanvas canvas(image);
            canvas.Pen = TPen{RGB(255, 0, 0), static_cast<TPenStyle>(round % 3), Widths[round % 8], TPenMode::pmNotXor};
            canvas.Brush.Style = TBrushStyle::bsClear;
            if (round % 5 == 1)
                canvas.SetClipRegion(QRegion(10, 10, 90, 150) + QRegion(120, 40, 60, 60));
            if (round % 7 == 2)
                canvas.SetWorldTransform(QTransform().rotate(17).translate(30, -10));
            std::vector<QPoint> points;
            for (int i = 0; i < 12; ++i)
                points.emplace_back(coordinate(random), coordinate(random));
            canvas.Polyline(points);
            canvas.Rectangle(points[0].x(), points[0].y(), points[1].x(), points[1].y());
            canvas.Ellipse(points[2].x(), points[2].y(), points[3].x(), points[3].y());
            canvas.PolyBezier(std::span<const QPoint>(points.data(), 7));
            canvas.MoveTo(points[4].x(), points[4].y());
            canvas.LineTo(points[5].x(), points[5].y());
            // A zigzag of sharp turns and nearly flat and steep segments.
            std::vector<QPoint> zigzag;
            for (int i = 0; i < 10; ++i)
                zigzag.emplace_back(points[6].x() + i * (round % 9 - 4), points[6].y() + (i % 2) * (round % 13 + 1) * 7);
            canvas.Polyline(zigzag);
            canvas.Arc(points[7].x(), points[7].y(), points[8].x(), points[8].y(), points[9].x(), points[9].y(),
                       points[10].x(), points[10].y());
        };
        const std::mt19937 state = random;
        draw(own);
        random = state;
        draw(other);
        EXPECT_EQ(own, other.convertToFormat(QImage::Format_RGB32)) << "round " << round;
        EXPECT_NE(own, start);
    }
}

// Outlines mixed again and again, in place and moved by whole pixels, are
// mixed from the pixels of their first drawing on a 32-bit image: they must
// show what a surface that mixes each one through its whole area shows, for
// every mix mode and pen, across the edges of the image and of a clip of
// several rectangles, for outlines of two colours (dashes on a solid brush)
// and for one at the same place under another clip.
TEST(PainterCanvasSurface, RepeatedMixedOutlinesShowThePixelsOfMixingThemInPlace)
{
    std::mt19937 random(13);
    std::uniform_int_distribution<int> offset(-60, 60);
    std::uniform_int_distribution<int> coordinate(0, 160);
    QImage start(160, 150, QImage::Format_RGB32);
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < start.width(); ++x)
            start.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
    constexpr TPenMode Modes[] = {TPenMode::pmNotXor, TPenMode::pmXor, TPenMode::pmMaskPenNot};
    constexpr int Widths[] = {1, 0, 1, 3, 1, 2};
    for (int round = 0; round < 60; ++round) {
        std::vector<QPoint> points;
        for (int i = 0; i < 2 + round % 11; ++i)
            points.emplace_back(coordinate(random) / 2 + 20, coordinate(random) / 2 + 20);
        std::vector<QPoint> moves{QPoint(0, 0), QPoint(0, 0)};
        for (int i = 0; i < 6; ++i)
            moves.emplace_back(offset(random), offset(random));
        moves.push_back(QPoint(0, 0));
        QImage kept = start.copy();
        QImage whole = start.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const auto draw = [&](QImage& image) {
            PainterCanvas canvas(image);
            canvas.Pen = TPen{RGB(230, 40, 90), static_cast<TPenStyle>(round % 4), Widths[round % 6], Modes[round % 3]};
            canvas.Brush = TBrush{RGB(10, 200, 60), round % 8 == 3 ? TBrushStyle::bsSolid : TBrushStyle::bsClear};
            for (std::size_t m = 0; m < moves.size(); ++m) {
                if (round % 3 == 1 || m + 1 == moves.size())
                    canvas.SetClipRegion(QRegion(5, 5, 70, 130) + QRegion(90, 20, 60, 60));
                else
                    canvas.ResetClipRegion();
                canvas.SetWorldTransform(QTransform::fromTranslate(moves[m].x(), moves[m].y()));
                canvas.Polyline(points);
                canvas.Rectangle(points[0].x(), points[0].y(), points[1].x(), points[1].y());
                canvas.MoveTo(points[1].x(), points[1].y());
                canvas.LineTo(points[0].x(), points[0].y() + 7);
            }
        };
        draw(kept);
        draw(whole);
        EXPECT_EQ(kept, whole.convertToFormat(QImage::Format_RGB32)) << "round " << round;
        EXPECT_NE(kept, start);
    }
}

// Solid rectangles filled into a 32-bit image (the handles of a selection)
// show what the painter fills, under a moved world, across the edges and
// within a clip of several rectangles.
TEST(PainterCanvasSurface, FilledRectanglesShowThePixelsOfThePaintersFill)
{
    const std::mt19937 random(19);
    QImage white(120, 100, QImage::Format_RGB32);
    white.fill(Qt::white);
    QImage direct = white.copy();
    QImage painted = white.convertToFormat(QImage::Format_RGB888);
    const auto draw = [](QImage& image, std::mt19937 state) {
        std::uniform_int_distribution<int> coordinate(-20, 130);
        std::uniform_int_distribution<int> size(-2, 12);
        PainterCanvas canvas(image);
        for (int i = 0; i < 400; ++i) {
            if (i % 100 == 50)
                canvas.SetClipRegion(QRegion(10, 10, 40, 70) + QRegion(60, 20, 50, 30));
            else if (i % 100 == 0)
                canvas.ResetClipRegion();
            canvas.SetWorldTransform(QTransform::fromTranslate(i % 3 - 1, (i % 5) * 3));
            canvas.Brush = TBrush{RGB(i % 256, 255 - i % 256, 40), TBrushStyle::bsSolid};
            canvas.FillRect(QRect(coordinate(state), coordinate(state), size(state), size(state)));
        }
    };
    draw(direct, random);
    draw(painted, random);
    EXPECT_EQ(direct, painted.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(direct, white);
}

// An outline mixed on an image sets the pixels that painting it on that
// image in copy mode sets, however the outlines before it were cut by the
// clip and the edges and wherever it was mixed before: XOR on black shows
// the pen's colour exactly where the figure paints.
TEST(PainterCanvasSurface, MixedOutlinesSetThePixelsOfPaintingThemOnTheImage)
{
    std::mt19937 random(17);
    std::uniform_int_distribution<int> coordinate(-40, 200);
    const QImage black = [] {
        QImage image(170, 130, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }();
    const QRegion clips[] = {QRegion(), QRegion(0, 0, 170, 130), QRegion(12, 8, 70, 100) + QRegion(100, 30, 50, 90),
                             QRegion(40, 20, 90, 60)};
    QImage mixed = black.copy();
    QImage expected = black.copy();
    PainterCanvas canvas(mixed);
    for (int figure = 0; figure < 300; ++figure) {
        std::vector<QPoint> points;
        for (int i = 0; i < 2 + figure % 9; ++i)
            points.emplace_back(coordinate(random), coordinate(random));
        const QRegion& clip = clips[figure % 4];
        // Each figure twice, the second time moved or in place.
        for (const QPoint move : {QPoint(0, 0), figure % 3 == 0 ? QPoint(0, 0) : QPoint(coordinate(random) / 4, -7)}) {
            const auto draw = [&](PainterCanvas& on, TPenMode mode) {
                on.Pen = TPen{RGB(40 + figure % 200, 200, 90), static_cast<TPenStyle>(figure % 5), figure % 7 == 3 ? 3 : 1,
                              mode};
                on.Brush.Style = TBrushStyle::bsClear;
                if (clip.isEmpty())
                    on.ResetClipRegion();
                else
                    on.SetClipRegion(clip);
                on.SetWorldTransform(QTransform::fromTranslate(move.x(), move.y()));
                if (figure % 2 == 0)
                    on.Polyline(points);
                else
                    on.Rectangle(points[0].x(), points[0].y(), points[1].x(), points[1].y());
            };
            draw(canvas, TPenMode::pmXor);
            QImage alone = black.copy();
            {
                PainterCanvas copy(alone);
                draw(copy, TPenMode::pmCopy);
            }
            for (int y = 0; y < expected.height(); ++y)
                for (int x = 0; x < expected.width(); ++x)
                    expected.setPixel(x, y, expected.pixel(x, y) ^ (alone.pixel(x, y) & 0x00FFFFFFu));
        }
    }
    EXPECT_EQ(mixed, expected);
    EXPECT_NE(mixed, black);
}

} // namespace

namespace {

// Small figures repeated at whole-pixel steps are placed from the pixels of
// their first drawing: on a 32-bit image they must show exactly what a
// surface that draws each one in place shows, across the edges, inside a
// clip region of several rectangles and under a moved world.
TEST(PainterCanvasSurface, RepeatedFiguresShowThePixelsOfDrawingThemInPlace)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> position(-30, 150);
    std::uniform_int_distribution<int> size(0, 24);
    const QImage start = [] {
        QImage image(140, 120, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x, y, 90));
        return image;
    }();
    for (int round = 0; round < 70; ++round) {
        QImage stamped = start.copy();
        QImage inPlace = start.convertToFormat(QImage::Format_RGB888);
        const auto draw = [&](QImage& image) {
            PainterCanvas canvas(image);
            canvas.Pen = TPen{RGB(200, 0, 40), static_cast<TPenStyle>(round % 7), round % 4 == 1 ? 0 : 1 + round % 5,
                              TPenMode::pmCopy};
            canvas.Brush = TBrush{RGB(0, 120, 250), round % 3 == 2 && round % 7 != 5 ? TBrushStyle::bsClear : TBrushStyle::bsSolid};
            if (round % 5 == 3)
                canvas.SetClipRegion(QRegion(10, 10, 50, 70) + QRegion(70, 30, 40, 60));
            if (round % 4 == 2)
                canvas.SetWorldTransform(QTransform::fromTranslate(-37, 23));
            const int w = size(random);
            const int h = size(random);
            const int sx = size(random) - 12;
            const int sy = size(random) - 12;
            const std::array<QPoint, 3> arrow{QPoint(0, 0), QPoint(w / 2 + 1, h / 3), QPoint(0, h / 2 + 2)};
            for (int copy = 0; copy < 12; ++copy) {
                const int x = position(random);
                const int y = position(random);
                canvas.Arc(x, y, x + w, y + h, x + w / 2 + sx, y + h / 2 + sy, x + w / 2 - sy, y + h / 2 + sx);
                canvas.Ellipse(x + 3, y - 5, x + 3 + w, y - 5 + h);
                std::array<QPoint, 3> moved = arrow;
                for (QPoint& p : moved)
                    p += QPoint(x - 7, y + 9);
                canvas.Polygon(moved);
            }
        };
        const std::mt19937 state = random;
        draw(stamped);
        random = state;
        draw(inPlace);
        EXPECT_EQ(stamped, inPlace.convertToFormat(QImage::Format_RGB32)) << "round " << round;
        EXPECT_NE(stamped, start);
    }
}

// More different figures than the kept stamps can hold, drawn again and
// again, then a new set of them: whichever figures are placed from stamps
// and whichever are drawn in place, the pixels are those of drawing them.
TEST(PainterCanvasSurface, MoreDifferentFiguresThanFitShowThePixelsOfDrawingThemInPlace)
{
    QImage stamped(300, 300, QImage::Format_RGB32);
    stamped.fill(Qt::white);
    QImage inPlace = stamped.convertToFormat(QImage::Format_RGB888);
    const auto draw = [](QImage& image, int set) {
        PainterCanvas canvas(image);
        canvas.Pen = TPen{RGB(20, 0, 140), TPenStyle::psSolid, 1, TPenMode::pmCopy};
        canvas.Brush = TBrush{RGB(250, 220, 60 + set), TBrushStyle::bsSolid};
        for (int w = 20; w < 110; w += 2)
            for (int h = 20; h < 110; h += 2) {
                const int x = (w * 7 + h * 3) % 180;
                const int y = (w * 5 + h * 11) % 180;
                canvas.Ellipse(x, y, x + w, y + h);
            }
    };
    for (const int set : {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0}) {
        draw(stamped, set);
        draw(inPlace, set);
        EXPECT_EQ(stamped, inPlace.convertToFormat(QImage::Format_RGB32)) << "set " << set;
    }
}

} // namespace

namespace {

// Ellipses of a one-pixel pen are written into a 32-bit image row by row:
// they must show exactly the pixels the painter's rasterizer sets (an
// image of another format is always painted by the painter), for every
// size up to a few dozen pixels and some large ones, flat and tall ones,
// each pen and brush the writer takes and some it leaves, corners in
// either order, across the image's edges, inside a clip region of several
// rectangles and under a moved world.
TEST(PainterCanvasSurface, WrittenEllipsesShowThePixelsOfThePaintersEllipse)
{
    const QImage start = [] {
        QImage image(160, 150, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x, y, 90));
        return image;
    }();
    std::vector<QSize> sizes;
    for (int w = 0; w <= 34; ++w)
        for (int h = 0; h <= 34; h += (w % 3 == 0 ? 1 : 5))
            sizes.emplace_back(w, h);
    for (const QSize large : {QSize(63, 64), QSize(97, 40), QSize(128, 129), QSize(2, 140), QSize(150, 3), QSize(301, 77)})
        sizes.push_back(large);
    struct Style {
        TPen Pen;
        TBrushStyle Brush;
    };
    const Style styles[] = {
        {{RGB(200, 0, 40), TPenStyle::psSolid, 1, TPenMode::pmCopy}, TBrushStyle::bsSolid},
        {{RGB(200, 0, 40), TPenStyle::psSolid, 0, TPenMode::pmCopy}, TBrushStyle::bsClear},
        {{RGB(0, 90, 0), TPenStyle::psInsideFrame, 1, TPenMode::pmCopy}, TBrushStyle::bsSolid},
        {{RGB(0, 90, 0), TPenStyle::psClear, 1, TPenMode::pmCopy}, TBrushStyle::bsSolid},
        {{RGB(0, 90, 0), TPenStyle::psDot, 1, TPenMode::pmCopy}, TBrushStyle::bsSolid},
        {{RGB(0, 90, 0), TPenStyle::psSolid, 3, TPenMode::pmCopy}, TBrushStyle::bsSolid},
        {{RGB(200, 0, 40), TPenStyle::psSolid, 1, TPenMode::pmCopy}, TBrushStyle::bsCross},
    };
    for (const Style& style : styles) {
        for (int variant = 0; variant < 4; ++variant) {
            QImage written = start.copy();
            QImage painted = start.convertToFormat(QImage::Format_RGB888);
            const auto draw = [&](QImage& image) {
                PainterCanvas canvas(image);
                canvas.Pen = style.Pen;
                canvas.Brush = TBrush{RGB(0, 120, 250), style.Brush};
                if (variant == 1)
                    canvas.SetClipRegion(QRegion(10, 10, 50, 70) + QRegion(70, 30, 40, 60) + QRegion(20, 100, 130, 9));
                if (variant == 2)
                    canvas.SetWorldTransform(QTransform::fromTranslate(-37, 23));
                int i = 0;
                for (const QSize size : sizes) {
                    // Spread over the image and a little beyond its edges.
                    const int x = (i * 37) % 190 - 20;
                    const int y = (i * 53) % 180 - 20;
                    ++i;
                    if (variant == 3)
                        canvas.Ellipse(x + size.width(), y + size.height(), x, y);
                    else
                        canvas.Ellipse(x, y, x + size.width(), y + size.height());
                }
            };
            draw(written);
            draw(painted);
            EXPECT_EQ(written, painted.convertToFormat(QImage::Format_RGB32))
                << "pen " << int(style.Pen.Style) << " width " << style.Pen.Width << " brush " << int(style.Brush)
                << " variant " << variant;
        }
    }
}

} // namespace

namespace {

// Lines along a row or column are written as rectangles of pixels where
// the pen allows: they must show exactly what a surface that rasterizes
// them shows, for every pen, length and direction, across the edges and
// within a clip region.
TEST(PainterCanvasSurface, StraightLinesShowThePixelsOfDrawingThemInPlace)
{
    const QImage start = [] {
        QImage image(90, 80, QImage::Format_RGB32);
        image.fill(qRgb(10, 60, 90));
        return image;
    }();
    for (int round = 0; round < 24; ++round) {
        QImage written = start.copy();
        QImage inPlace = start.convertToFormat(QImage::Format_RGB888);
        const auto draw = [&](QImage& image) {
            PainterCanvas canvas(image);
            canvas.Pen = TPen{RGB(250, 200, 0), TPenStyle::psSolid, round % 6, TPenMode::pmCopy};
            canvas.Brush = TBrush{RGB(0, 0, 200), round % 3 == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid};
            if (round % 5 == 2)
                canvas.SetClipRegion(QRegion(5, 5, 40, 60) + QRegion(50, 20, 30, 30));
            if (round % 4 == 3)
                canvas.SetWorldTransform(QTransform::fromTranslate(-13, 7));
            for (int length = -12; length <= 12; ++length) {
                canvas.Pen.Style = static_cast<TPenStyle>((round + length + 12) % 7);
                const int x = 3 + (length + 12) * 4 % 86;
                const int y = (length * 7 + round * 5) % 80 - 2;
                const std::array<QPoint, 2> across{QPoint(x, y), QPoint(x + length * (1 + round % 3), y)};
                canvas.Polyline(across);
                canvas.MoveTo(y, x - 4);
                canvas.LineTo(y, x - 4 + length * 3);
            }
            // Lines beyond the image and lines within it, through both clip
            // rectangles, in both directions.
            for (int k = 0; k < 14; ++k) {
                canvas.Pen.Style = static_cast<TPenStyle>((round + k) % 7);
                const int out = k < 7 ? 6 : -1 - k % 3;
                const std::array<QPoint, 2> across{QPoint(1 - out + k % 7, 3 + k * 5), QPoint(88 + out - k % 7, 3 + k * 5)};
                canvas.Polyline(k % 2 ? std::array<QPoint, 2>{across[1], across[0]} : across);
                canvas.MoveTo(4 + k * 6, k % 2 ? 78 + out : 1 - out + k % 5);
                canvas.LineTo(4 + k * 6, k % 2 ? 1 - out + k % 5 : 78 + out);
            }
        };
        draw(written);
        draw(inPlace);
        EXPECT_EQ(written, inPlace.convertToFormat(QImage::Format_RGB32)) << "round " << round;
    }
}

// Lines drawn in one Segments call show the pixels of drawing each with
// MoveTo and LineTo: lines in every direction (many running against the
// one before), lines across and beyond the image's edge, for every pen,
// mix mode, transform and a clip of several rectangles.
TEST(PainterCanvasSurface, SegmentsShowThePixelsOfDrawingEachLine)
{
    const QImage start = [] {
        QImage image(96, 80, QImage::Format_RGB32);
        image.fill(qRgb(10, 60, 90));
        return image;
    }();
    const QTransform transforms[] = {QTransform(), QTransform::fromTranslate(-13, 7),
                                     QTransform().translate(40, 10).rotate(33), QTransform::fromScale(2, 1.5)};
    std::mt19937 random(20241211);
    std::uniform_int_distribution<int> coordinate(-20, 110);
    std::uniform_int_distribution<int> step(-40, 40);
    for (int round = 0; round < 64; ++round) {
        std::vector<QPoint> ends;
        for (int i = 0; i < 60; ++i) {
            const QPoint a(coordinate(random), coordinate(random));
            const QPoint b = i % 9 == 0 ? a : a + QPoint(i % 7 == 0 ? 0 : step(random), i % 5 == 0 ? 0 : step(random));
            ends.push_back(i % 2 ? b : a);
            ends.push_back(i % 2 ? a : b);
        }
        const auto draw = [&](QImage& image, bool together) {
            PainterCanvas canvas(image);
            canvas.Pen = TPen{RGB(250, 200, 0), static_cast<TPenStyle>(round % 7), round / 7 % 4,
                              round % 3 == 2 ? TPenMode::pmNotXor : TPenMode::pmCopy};
            canvas.Brush = TBrush{RGB(0, 0, 200), round % 2 ? TBrushStyle::bsClear : TBrushStyle::bsSolid};
            if (round % 5 == 3)
                canvas.SetClipRegion(QRegion(5, 5, 40, 60) + QRegion(50, 20, 30, 30));
            canvas.SetWorldTransform(transforms[static_cast<std::size_t>(round / 4 % 4)]);
            if (together) {
                canvas.Segments(ends);
            } else {
                for (std::size_t i = 0; i < ends.size(); i += 2) {
                    canvas.MoveTo(ends[i].x(), ends[i].y());
                    canvas.LineTo(ends[i + 1].x(), ends[i + 1].y());
                }
            }
            return canvas.PenPos();
        };
        QImage together = start.copy();
        QImage each = start.copy();
        EXPECT_EQ(draw(together, true), ends.back());
        draw(each, false);
        EXPECT_EQ(together, each) << "round " << round;
    }
}

} // namespace
