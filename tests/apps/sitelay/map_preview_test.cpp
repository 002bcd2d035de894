#include "apps/sitelay/map_preview.h"

#include "tests/apps/sitelay/main_window_fixture.h"
#include "tests/support/pdf_pages.h"

#include "common/qt_print_services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>

namespace {

// The main window over the program's printer, made a PDF printer on A4
// with no unprintable strip; the print dialog is answered by the test.
struct MapPrintTest : MainWindowFixture {
    common::TPrintServices& printing = common::ApplicationPrintServices();
    int printDialogs = 0;
    bool acceptPrint = true;

    MapPrintTest()
    {
        QPrinter& printer = printing.Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        printing.PrintDialog = [this](QPrinter&, QWidget*) { return ++printDialogs, acceptPrint; };
        printing.PrinterSetupDialog = [](QPrinter&, QWidget*) { return false; };
    }

    // The program's printer outlives the test: its dialogs no longer refer
    // to it.
    ~MapPrintTest() override
    {
        printing.PrintDialog = [](QPrinter&, QWidget*) { return false; };
        printing.Printer().setOutputFileName(QString());
    }

    QString PdfPath() const { return PathOf(QStringLiteral("plan.pdf")); }

    // Runs trigger while a modal preview window is open; returns its caption
    // after closing it.
    static QString CaptionOfModalPreview(const std::function<void()>& trigger)
    {
        QString caption;
        QTimer::singleShot(0, [&caption] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                caption = modal->windowTitle();
                modal->close();
            }
        });
        trigger();
        return caption;
    }
};

} // namespace

TEST_F(MapPrintTest, PaperMarginsAreThePlansLessTheStripAndOneMillimetre)
{
    struct Case { int planMargin, strip, paperMargin; };
    const Case cases[] = {
        {7, 0, 60},
        {15, 42, 98},   // 150 - 42 - 10
        {15, 200, 0},   // a strip wider than the plan's margin
        {100, 0, 500},  // held at the paper's largest margin
    };
    for (const auto& c : cases) {
        common::TPrintServices own;
        own.Printer().setOutputFormat(QPrinter::PdfFormat);
        own.Printer().setPageSize(QPageSize(QPageSize::A4));
        const double strip = c.strip / 10.0;
        own.Printer().setPageMargins(QMarginsF(strip, strip, strip, strip), QPageLayout::Millimeter);
        common::Tfrm_MapPreview preview(own, sitelay::SitelayPreviewLayout(), &services);
        const int margin = c.planMargin * 10;
        sitelay::PrepareMapPreview(preview, QImage(10, 10, QImage::Format_RGB32), {margin, margin, margin, margin});
        const common::TVYRPrintPaper& paper = preview.Preview().Paper();
        EXPECT_NEAR(paper.LeftMarginNot(), c.strip, 1);
        EXPECT_NEAR(paper.LeftMargin(), c.paperMargin, 1) << c.planMargin << " mm on a strip of " << c.strip;
        EXPECT_NEAR(paper.TopMargin(), c.paperMargin, 1) << c.planMargin << " mm on a strip of " << c.strip;
        // The strips at the right and the bottom are what the whole
        // millimetres of the printable size leave.
        EXPECT_NEAR(paper.RightMargin(), c.paperMargin, 10) << c.planMargin << " mm on a strip of " << c.strip;
        EXPECT_NEAR(paper.BottomMargin(), c.paperMargin, 10) << c.planMargin << " mm on a strip of " << c.strip;
    }
    sitelay::TMapMargins margins = sitelay::MarginsOf(Map());
    EXPECT_EQ(margins.Left, 150);
    EXPECT_EQ(margins.Bottom, 150);
}

TEST_F(MapPrintTest, PreviewCaptions)
{
    EXPECT_EQ(CaptionOfModalPreview([this] { window->act_FilePreview->trigger(); }), QStringLiteral("新平面图"));
    EXPECT_EQ(CaptionOfModalPreview([this] {
                  sitelay::ShowMapPreview(printing, QImage(20, 20, QImage::Format_RGB32), {}, QString(), &services,
                                          window.get());
              }),
              QStringLiteral("打印预览"));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MapPrintTest, TheDefaultPlanPrintsAsTwoUprightOrOneLandscapePages)
{
    // The default sheet (A4 on its side, 15 mm margins) on upright A4 is
    // two pages across; on landscape A4 it fits one.
    struct Case { QPageLayout::Orientation orientation; int pages; const char* name; };
    DrawBox(QPoint(60, 60), QPoint(900, 500));
    for (const Case c : {Case{QPageLayout::Portrait, 2, "portrait"}, Case{QPageLayout::Landscape, 1, "landscape"}}) {
        QFile::remove(PdfPath());
        printing.Printer().setPageOrientation(c.orientation);
        window->act_FilePrint->trigger();
        EXPECT_TRUE(services.messages.empty()) << services.MessageTexts().join(' ').toStdString();
        EXPECT_EQ(PdfPageCount(PdfPath()), c.pages);
        // Kept for a look at the printed pages.
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        const QString kept = QStringLiteral(SCREENSHOT_DIR "/sitelay_print_%1.pdf").arg(QLatin1String(c.name));
        QFile::remove(kept);
        QFile::copy(PdfPath(), kept);
    }
    EXPECT_EQ(printDialogs, 2);
}

TEST_F(MapPrintTest, ASheetTooLargeForItsBitmapIsRefusedWithAMessage)
{
    // 5 m by 5 m at 96 pixels per inch would take well over a gigabyte.
    Map().SetMapWidth(5000);
    Map().SetMapHeight(5000);
    EXPECT_EQ(CaptionOfModalPreview([this] { window->act_FilePreview->trigger(); }), QString());
    window->act_FilePrint->trigger();
    EXPECT_FALSE(QFile::exists(PdfPath()));
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(services.messages[0].text.contains(QStringLiteral("太大"))) << services.messages[0].text.toStdString();
}

TEST_F(MapPrintTest, WithoutAnInstalledPrinterThePrinterWritesPdf)
{
    if (common::TPrintServices::PrinterInstalled())
        GTEST_SKIP() << "a printer is installed";
    common::TPrintServices fresh;
    EXPECT_EQ(fresh.Printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_TRUE(fresh.NeedsOutputChoice());
    // Its metrics are those of a real sheet, so the preview can measure pages.
    const common::TPrinterCaps caps = fresh.Metrics().Read();
    EXPECT_GT(caps.LogPixelsX, 0);
    EXPECT_GT(caps.PageWidth, 0);
    EXPECT_GT(caps.PhysicalHeight, caps.PageHeight);
}

TEST_F(MapPrintTest, CancellingThePrintDialogPrintsNothing)
{
    acceptPrint = false;
    window->act_FilePrint->trigger();
    EXPECT_EQ(printDialogs, 1);
    EXPECT_FALSE(QFile::exists(PdfPath()));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MapPrintTest, PrintCommandsNeedAPlanButNoInstalledPrinter)
{
    window->ActionList1Update();
    EXPECT_TRUE(window->act_FilePreview->isEnabled());
    EXPECT_TRUE(window->act_FilePrint->isEnabled());
    EXPECT_TRUE(window->act_FilePrintSet->isEnabled());
    window->act_FileClose->trigger();
    EXPECT_FALSE(window->act_FilePreview->isEnabled());
    EXPECT_FALSE(window->act_FilePrint->isEnabled());
    EXPECT_TRUE(window->act_FilePrintSet->isEnabled());
}
