#include "common/paper_control.h"
#include "common/paper_sizes.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

using namespace common;

namespace {

struct EventCounts {
    int paperSize = 0, zoom = 0, orientation = 0, margin = 0;
};

void Count(TVYRPaperControl& paper, EventCounts& counts)
{
    paper.OnPaperSizeChanged = [&counts] { ++counts.paperSize; };
    paper.OnZoomChanged = [&counts] { ++counts.zoom; };
    paper.OnOrientationChanged = [&counts] { ++counts.orientation; };
    paper.OnMarginChanged = [&counts] { ++counts.margin; };
}

} // namespace

TEST(PaperControl, SettersClampAndNotifyOnlyOnRealChanges)
{
    TVYRPaperControl paper;
    EventCounts counts;
    Count(paper, counts);
    EXPECT_EQ(paper.Zoom(), 50);
    paper.SetZoom(5);
    EXPECT_EQ(paper.Zoom(), 10);
    paper.SetZoom(600);
    EXPECT_EQ(paper.Zoom(), 500);
    paper.SetZoom(700);
    EXPECT_EQ(counts.zoom, 2);

    paper.SetPaperWidth(800);
    EXPECT_EQ(paper.PaperWidth(), 1000);
    EXPECT_EQ(paper.PaperSize(), CustomPaperSize);
    paper.SetPaperHeight(60000);
    EXPECT_EQ(paper.PaperHeight(), 50000);
    EXPECT_EQ(counts.paperSize, 1); // already custom the second time

    paper.SetLeftMargin(-5);
    paper.SetRightMargin(600);
    EXPECT_EQ(paper.LeftMargin(), 0);
    EXPECT_EQ(paper.RightMargin(), 500);
    paper.SetTopMarginNot(900);
    EXPECT_EQ(paper.TopMarginNot(), 500);
    EXPECT_EQ(counts.margin, 2);

    paper.SetOrientation(TPrinterOrientation::poPortrait);
    paper.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(counts.orientation, 1);
}

TEST(PaperControl, PaperSizeTakesTheRowsSizeAndKeepsItsIndex)
{
    TVYRPaperControl paper;
    EventCounts counts;
    Count(paper, counts);
    paper.SetZoom(100);
    paper.SetPaperSize(3);
    // The row's size is stored as it is: through the width setter the size
    // would have become custom again.
    EXPECT_EQ(paper.PaperSize(), 3);
    EXPECT_EQ(paper.PaperWidth(), 2970);
    EXPECT_EQ(paper.PaperHeight(), 4200);
    EXPECT_EQ(counts.paperSize, 1);
    // Landscape on a 96 dpi screen at 100 %: A3 lies on its side.
    EXPECT_EQ(paper.Width(), 2 * 1 + 1587 + 3);
    EXPECT_EQ(paper.Height(), 2 * 1 + 1123 + 3);

    paper.SetPaperSize(12); // not a row: the size stays
    EXPECT_EQ(paper.PaperSize(), 12);
    EXPECT_EQ(paper.PaperWidth(), 2970);
    EXPECT_EQ(counts.paperSize, 2);
}

TEST(PaperControl, RectanglesInMovedAndControlCoordinates)
{
    TVYRPaperControl paper;
    paper.SetZoom(100);
    paper.SetOrientation(TPrinterOrientation::poPortrait); // A4 upright: 794 x 1123
    paper.SetLeftMarginNot(50);
    const QPoint origin = paper.GetPaperOrigin();
    EXPECT_EQ(origin, QPoint(76 + 1, 57 + 1)); // Px(200) = 76, Px(150) = 57
    QRect print;
    paper.GetPrintRect(print);
    EXPECT_EQ(print.topLeft(), QPoint(0, 0));
    EXPECT_EQ(print.left() + print.width(), paper.Width() - 1 - 3 - 57 - origin.x());
    QRect sheet;
    paper.GetPaperRect(sheet);
    EXPECT_EQ(sheet, QRect(1 - origin.x(), 1 - origin.y(), 794, 1123));

    paper.SetDisplaceed(false);
    paper.GetPrintRect(print);
    EXPECT_EQ(print.topLeft(), origin);
    paper.GetPaperRect(sheet);
    EXPECT_EQ(sheet, QRect(1, 1, 794, 1123));
    // Nothing moves the canvas: the first thing drawn is the border at the
    // control's own edge.
    platform::RecordingCanvas canvas;
    paper.Paint(canvas);
    const QStringList rectangles = canvas.Log(platform::CanvasOp::Rectangle);
    ASSERT_FALSE(rectangles.isEmpty());
    EXPECT_TRUE(rectangles.first().startsWith(QStringLiteral("Rectangle(0,0,796,1125)"))) << rectangles.first().toStdString();
}

TEST(PaperControl, ZoomToFitDividesAsRealNumbers)
{
    struct Case { TZoomState state; int width, height, zoom; };
    // A4 upright unzoomed: 2 + 794 + 3 = 799 by 2 + 1123 + 3 = 1128.
    const Case cases[] = {
        {TZoomState::zsZoomToFit, 400, 1000, 50},        // 400 / 799
        {TZoomState::zsZoomToFit, 2000, 564, 50},        // 564 / 1128
        {TZoomState::zsZoomToWidth, 799, 2000, 100},
        {TZoomState::zsZoomToWidth, 799, 500, 97},       // a vertical bar will show: 783 / 799
        {TZoomState::zsZoomToHeight, 2000, 1128, 100},
        {TZoomState::zsZoomToHeight, 300, 1128, 98},     // 1112 / 1128
        {TZoomState::zsZoomToFit, 20, 20, 10},           // held at the least zoom
        {TZoomState::zsZoomToFit, 9000, 9000, 500},
        {TZoomState::zsZoomOther, 100, 100, 77},
    };
    for (const auto& c : cases) {
        TVYRPaperControl paper;
        paper.SetOrientation(TPrinterOrientation::poPortrait);
        paper.SetZoom(77);
        paper.ZoomToFit(c.state, c.width, c.height);
        EXPECT_EQ(paper.Zoom(), c.zoom) << int(c.state) << " " << c.width << " x " << c.height;
    }
}

TEST(PaperControl, PaintsBorderShadowPaperAndCornerMarks)
{
    TVYRPaperControl paper;
    paper.SetZoom(100);
    paper.SetOrientation(TPrinterOrientation::poPortrait);
    paper.PaperColor = platform::TColor(0x00C0FFC0);
    bool painted = false;
    QImage image(paper.Width(), paper.Height(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    paper.OnPaint = [&](platform::Canvas& canvas) {
        painted = true;
        // Logical (0, 0) is the printable area's top-left and the drawing is
        // clipped to it.
        canvas.Brush = {platform::clBlack, platform::TBrushStyle::bsSolid};
        canvas.FillRect(QRect(-20, -20, 30, 30));
    };
    {
        platform::PainterCanvas canvas(image);
        paper.Paint(canvas);
    }
    EXPECT_TRUE(painted);
    const QPoint origin = paper.GetPaperOrigin();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));                         // border
    EXPECT_EQ(image.pixel(paper.Width() - 1, paper.Height() - 1), qRgb(0, 0, 0)); // shadow
    EXPECT_EQ(image.pixel(paper.Width() - 1, 1), QColor(Qt::gray).rgb()); // beside the shadow's start
    EXPECT_EQ(image.pixel(5, 5), qRgb(0xC0, 0xFF, 0xC0));                // paper
    EXPECT_EQ(image.pixel(origin.x(), origin.y()), qRgb(0, 0, 0));       // the owner's drawing
    EXPECT_EQ(image.pixel(origin.x() + 9, origin.y() + 9), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(origin.x() - 1, origin.y() + 5), qRgb(0xC0, 0xFF, 0xC0)); // clipped
    // The corner mark at the top-left runs outward from the printable area.
    const QRgb mark = image.pixel(origin.x() - 10, origin.y());
    EXPECT_NE(mark, qRgb(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(mark, image.pixel(origin.x(), origin.y() - 10));
}

TEST(PrintPaper, ReadsSizeOrientationAndStripsFromThePrinter)
{
    struct Case {
        int width, height, strip;
        TPrinterOrientation orientation;
        int paperSize, paperWidth, paperHeight;
    };
    const Case cases[] = {
        {2100, 2970, 42, TPrinterOrientation::poPortrait, 4, 2100, 2970},
        {2100, 2970, 42, TPrinterOrientation::poLandscape, 4, 2100, 2970},
        {2970, 4200, 0, TPrinterOrientation::poPortrait, 3, 2970, 4200},
        {2000, 3000, 50, TPrinterOrientation::poPortrait, 8, 2000, 3000}, // no row: the printer's own size
    };
    for (const auto& c : cases) {
        const FixedPrinterMetrics printer(CapsOfSheet(c.width, c.height, 600, c.strip, c.orientation));
        TVYRPrintPaper paper(printer);
        EXPECT_EQ(paper.PaperSize(), c.paperSize);
        EXPECT_EQ(paper.PaperWidth(), c.paperWidth);
        EXPECT_EQ(paper.PaperHeight(), c.paperHeight);
        EXPECT_EQ(paper.Orientation(), c.orientation);
        EXPECT_EQ(paper.LeftMargin(), 0);
        EXPECT_NEAR(paper.LeftMarginNot(), c.strip, 1);
        EXPECT_NEAR(paper.TopMarginNot(), c.strip, 1);
        EXPECT_NEAR(paper.RightMarginNot(), c.strip, 10); // the printable size counts whole millimetres
        EXPECT_NEAR(paper.BottomMarginNot(), c.strip, 10);
    }
}

TEST(PrintPaper, PrinterPageRectIsThePageInsideTheMargins)
{
    const FixedPrinterMetrics printer(CapsOfSheet(2100, 2970, 600, 0, TPrinterOrientation::poPortrait));
    TVYRPrintPaper paper(printer);
    paper.SetLeftMargin(100);
    paper.SetTopMargin(200);
    paper.SetRightMargin(300);
    paper.SetBottomMargin(400);
    QRect r;
    paper.GetPrinterPageRect(r);
    EXPECT_EQ(r.left(), 236);   // 10 mm at 600 dpi
    EXPECT_EQ(r.top(), 472);
    EXPECT_EQ(r.left() + r.width(), 4961 - 709);
    EXPECT_EQ(r.top() + r.height(), 7016 - 945);
}

TEST(PrintPaper, FollowsThePrinterWhenToldAndSurvivesABareFake)
{
    FixedPrinterMetrics printer(CapsOfSheet(2100, 2970, 600, 0, TPrinterOrientation::poPortrait));
    TVYRPrintPaper paper(printer);
    printer.Caps = CapsOfSheet(2970, 4200, 300, 0, TPrinterOrientation::poLandscape);
    EXPECT_EQ(paper.PaperSize(), 4);
    paper.RefreshPrinter();
    EXPECT_EQ(paper.PaperSize(), 3);
    EXPECT_EQ(paper.Orientation(), TPrinterOrientation::poLandscape);

    // No resolution, no page: nothing divides by zero.
    printer.Caps = TPrinterCaps{};
    paper.RefreshPrinter();
    QRect r;
    paper.GetPrinterPageRect(r);
    EXPECT_EQ(r, QRect());
    EXPECT_GT(paper.Width(), 0);
}
