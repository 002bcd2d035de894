#include "common/preview_zoom_steps.h"
#include "common/print_preview.h"

#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <stdexcept>

using namespace common;

namespace {

// A printer at screen resolution whose printable page is 500 x 400 pixels,
// so that a page of the grid is 500 x 400 picture pixels.
TPrinterCaps ScreenPrinter()
{
    TPrinterCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = 96;
    caps.PhysicalWidth = 500;
    caps.PhysicalHeight = 400;
    caps.PageWidth = 500;
    caps.PageHeight = 400;
    caps.HorzSize = 132;
    caps.VertSize = 105;
    return caps;
}

QImage Picture(int width, int height, QRgb color = qRgb(255, 0, 0))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A print job that keeps what it was asked to do; it can fail on a chosen
// new page.
class RecordingJob final : public PrintJob {
public:
    void SetTitle(const QString& title) override { titles.push_back(title); }
    void BeginDoc() override
    {
        if (failBegin)
            throw std::runtime_error("begin");
        log.push_back(QStringLiteral("begin"));
    }
    platform::Canvas& PageCanvas() override { return canvas; }
    void NewPage() override
    {
        if (++newPages == failOnNewPage)
            throw std::runtime_error("new page");
        log.push_back(QStringLiteral("page"));
    }
    void EndDoc() override { log.push_back(QStringLiteral("end")); }

    platform::RecordingCanvas canvas;
    QStringList titles;
    QStringList log;
    int newPages = 0;
    int failOnNewPage = 0;
    bool failBegin = false;
};

} // namespace

TEST(PrintPreview, PageGrid)
{
    struct Case { int width, height, columns, rows; };
    const Case cases[] = {
        {500, 400, 1, 1},   // one page
        {500, 1000, 1, 3},  // 2.5 pages high
        {1000, 800, 2, 2},
        {501, 400, 2, 1},   // one pixel past a page width
        {0, 0, 1, 1},       // an empty picture is one page
        {1, 1, 1, 1},
    };
    const FixedPrinterMetrics printer(ScreenPrinter());
    for (const auto& c : cases) {
        TVYRPrintPreview preview(printer);
        int initialized = 0;
        preview.OnInitializeParameter = [&] { ++initialized; };
        preview.SetPicture(c.width == 0 ? QImage() : Picture(c.width, c.height));
        EXPECT_EQ(preview.PageSize(), QSize(500, 400));
        EXPECT_EQ(preview.Columns(), c.columns) << c.width << " x " << c.height;
        EXPECT_EQ(preview.Rows(), c.rows) << c.width << " x " << c.height;
        EXPECT_EQ(preview.PageCount(), c.columns * c.rows);
        EXPECT_EQ(preview.PageIndex(), 0);
        EXPECT_EQ(initialized, 1);
    }
}

TEST(PrintPreview, PagesRunAlongARowThenDownAndRenderTheirTile)
{
    const FixedPrinterMetrics printer(ScreenPrinter());
    TVYRPrintPreview preview(printer);
    QImage picture = Picture(1000, 800);
    picture.setPixel(500, 0, qRgb(0, 0, 255));   // top-left of page 2
    picture.setPixel(0, 400, qRgb(0, 255, 0));   // top-left of page 3
    preview.SetPicture(picture);
    EXPECT_EQ(preview.PageOrigin(1), QPoint(500, 0));
    EXPECT_EQ(preview.PageOrigin(2), QPoint(0, 400));
    EXPECT_EQ(preview.RenderPage(1).pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(preview.RenderPage(2).pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(preview.RenderPage(99).pixel(499, 399), qRgb(255, 0, 0)); // clamped to the last page

    // The third page of a picture 2.5 pages high is white below its end.
    preview.SetPicture(Picture(500, 1000));
    const QImage& last = preview.RenderPage(2);
    EXPECT_EQ(last.size(), QSize(500, 400));
    EXPECT_EQ(last.pixel(10, 199), qRgb(255, 0, 0));
    EXPECT_EQ(last.pixel(10, 200), qRgb(255, 255, 255));
}

TEST(PrintPreview, PageSizeIsInScreenPixelsOfThePrinterPage)
{
    TPrinterCaps caps = CapsOfSheet(2100, 2970, 600, 0, TPrinterOrientation::poPortrait);
    FixedPrinterMetrics printer(caps);
    TVYRPrintPreview preview(printer);
    preview.Paper().SetLeftMargin(100);
    preview.Paper().SetRightMargin(100);
    preview.CalcPages();
    // (4961 - 2 * 236) pixels at 600 dpi are 718 screen pixels.
    EXPECT_EQ(preview.PageSize(), QSize(718, 1123));
}

TEST(PrintPreview, MarginsAsLargeAsThePageLeaveOnePixelPages)
{
    TPrinterCaps caps = ScreenPrinter();
    caps.PageWidth = 30;
    caps.PageHeight = 30;
    FixedPrinterMetrics printer(caps);
    TVYRPrintPreview preview(printer);
    preview.Paper().SetLeftMargin(500);
    preview.Paper().SetTopMargin(500);
    preview.SetPicture(Picture(3, 2));
    EXPECT_EQ(preview.PageSize(), QSize(1, 1));
    EXPECT_EQ(preview.PageCount(), 6);

    // A bare fake with no resolution: still one finite page.
    printer.Caps = TPrinterCaps{};
    preview.PrinterChanged();
    EXPECT_EQ(preview.PageSize(), QSize(1, 1));
    preview.SetPicture(QImage());
    EXPECT_EQ(preview.PageCount(), 1);
}

TEST(PrintPreview, ZoomAndZoomState)
{
    const FixedPrinterMetrics printer(CapsOfSheet(2100, 2970, 600, 0, TPrinterOrientation::poPortrait));
    TVYRPrintPreview preview(printer);
    int zoomEvents = 0;
    preview.OnZoomChanged = [&] { ++zoomEvents; };
    preview.Resize(QSize(424, 600), QSize(420, 596));
    EXPECT_EQ(preview.ZoomState(), TZoomState::zsZoomToFit);
    // The smaller of (424 - 8 - 16) / 799 and (600 - 8 - 16) / 1128.
    EXPECT_EQ(preview.Zoom(), 50);
    // Centred across, at the margin down (the paper is 2 + 405 + 3 wide).
    EXPECT_EQ(preview.Paper().Left, (420 - preview.Paper().Width()) / 2);

    preview.SetZoom(150);
    EXPECT_EQ(preview.ZoomState(), TZoomState::zsZoomOther);
    preview.Resize(QSize(800, 800), QSize(796, 796));
    EXPECT_EQ(preview.Zoom(), 150); // kept
    EXPECT_EQ(preview.Paper().Left, 8);
    EXPECT_EQ(preview.ContentSize().width(), 8 + preview.Paper().Width() + 8);

    preview.SetZoomState(TZoomState::zsZoomToFit); // refits at once
    EXPECT_EQ(preview.Zoom(), 68);                  // 776 / 1128
    EXPECT_EQ(zoomEvents, 2);                       // 50 was the zoom already
}

TEST(PrintPreview, PrintsOneTilePerSheetWithNewSheetsBetween)
{
    const FixedPrinterMetrics printer(ScreenPrinter());
    TVYRPrintPreview preview(printer);
    preview.Paper().SetLeftMargin(100); // 38 pixels at 96 dpi
    preview.SetPicture(Picture(900, 1000));
    ASSERT_EQ(preview.PageCount(), 6);
    RecordingJob job;
    EXPECT_EQ(preview.Print(1, preview.PageCount(), job), 6);
    EXPECT_EQ(job.log, QStringList({"begin", "page", "page", "page", "page", "page", "end"}));
    EXPECT_EQ(job.titles, QStringList({QStringLiteral("打印图形"), QString()}));
    const QStringList draws = job.canvas.Log(platform::CanvasOp::StretchDraw);
    ASSERT_EQ(draws.size(), 6);
    for (const QString& draw : draws)
        EXPECT_TRUE(draw.startsWith(QStringLiteral("StretchDraw(38,0,500,400,462x400)"))) << draw.toStdString();

    RecordingJob range;
    EXPECT_EQ(preview.Print(0, 99, range), 6); // held within the pages
    RecordingJob none;
    EXPECT_EQ(preview.Print(4, 3, none), 0);
    EXPECT_TRUE(none.log.isEmpty());
}

TEST(PrintPreview, AFailedPageEndsTheJobAndReportsTheFailure)
{
    const FixedPrinterMetrics printer(ScreenPrinter());
    TVYRPrintPreview preview(printer);
    preview.SetPicture(Picture(500, 1200));
    RecordingJob job;
    job.failOnNewPage = 2;
    EXPECT_THROW(preview.Print(1, 3, job), std::runtime_error);
    EXPECT_EQ(job.log, QStringList({"begin", "page", "end"}));
    EXPECT_EQ(job.titles.last(), QString());
    EXPECT_EQ(job.canvas.Log(platform::CanvasOp::StretchDraw).size(), 2);

    RecordingJob refused;
    refused.failBegin = true;
    EXPECT_THROW(preview.Print(1, 3, refused), std::runtime_error);
    EXPECT_TRUE(refused.canvas.Calls().empty());
}

TEST(PrintPreview, APageTooLargeForItsBitmapIsRefusedWithAMessage)
{
    // A sheet of 5 m at screen resolution: its page bitmap would take over
    // a gigabyte.
    TPrinterCaps caps = ScreenPrinter();
    caps.PageWidth = caps.PageHeight = 20000;
    const FixedPrinterMetrics printer(caps);
    TVYRPrintPreview preview(printer);
    preview.SetPicture(Picture(10, 10));
    try {
        preview.RenderPage(0);
        FAIL() << "rendered";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("打印页面太大（20000 × 20000 像素），无法生成图片。"));
    }
    RecordingJob job;
    EXPECT_THROW(preview.Print(1, 1, job), std::runtime_error);
    EXPECT_EQ(job.log, QStringList({"begin", "end"}));
    EXPECT_TRUE(job.canvas.Calls().empty());
}

TEST(PrintPreview, PaperPaintStretchesTheTileAndOutlinesThePicture)
{
    const FixedPrinterMetrics printer(ScreenPrinter());
    TVYRPrintPreview preview(printer);
    preview.SetPicture(Picture(300, 600));
    preview.Paper().SetZoom(50);
    preview.SetPageIndex(1);
    platform::RecordingCanvas canvas;
    preview.PaperPaint(canvas);
    QRect p;
    preview.Paper().GetPrintRect(p);
    // Shown at half size, the tile is scaled smoothly before it is drawn.
    const QStringList draws = canvas.Log(platform::CanvasOp::Draw);
    ASSERT_EQ(draws.size(), 1);
    EXPECT_TRUE(draws[0].startsWith(QStringLiteral("Draw(0,0,%1x%2)").arg(p.width()).arg(p.height()))) << draws[0].toStdString();
    // At full size and above it is stretched.
    preview.Paper().SetZoom(200);
    canvas.Clear();
    preview.PaperPaint(canvas);
    preview.Paper().GetPrintRect(p);
    const QStringList stretched = canvas.Log(platform::CanvasOp::StretchDraw);
    ASSERT_EQ(stretched.size(), 1);
    EXPECT_TRUE(stretched[0].startsWith(QStringLiteral("StretchDraw(0,0,%1,%2,500x400)").arg(p.width()).arg(p.height())))
        << stretched[0].toStdString();
    preview.Paper().SetZoom(50);
    canvas.Clear();
    preview.PaperPaint(canvas);
    // The outline of the picture seen from page 2, at half size: it ends
    // 200 pixels down the page.
    const QStringList outline = canvas.Log(platform::CanvasOp::Rectangle);
    ASSERT_EQ(outline.size(), 1);
    EXPECT_TRUE(outline[0].startsWith(QStringLiteral("Rectangle(0,-200,150,100) pen=000000,dot,1"))) << outline[0].toStdString();
}

TEST(PreviewZoomSteps, UpAndDown)
{
    struct Case { int zoom, up, down; };
    const Case cases[] = {
        {110, 150, 100}, {30, 50, 25}, {20, 25, 20}, {300, 300, 200}, {25, 50, 25},
        {200, 200, 150}, {210, 210, 200}, {100, 150, 75},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextZoomStep(c.zoom, true), c.up) << c.zoom;
        EXPECT_EQ(NextZoomStep(c.zoom, false), c.down) << c.zoom;
    }
}
