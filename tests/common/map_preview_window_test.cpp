#include "common/map_preview_window.h"

#include "tests/support/fake_window_services.h"
#include "tests/support/pdf_pages.h"

#include "platform/colors.h"

#include <QAction>
#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace common;

namespace {

// A preview window over a PDF printer (A4 upright unless a test turns it)
// whose dialogs are answered by the test.
struct MapPreviewWindowTest : ::testing::Test {
    QTemporaryDir dir;
    TPrintServices printing;
    FakeWindowServices messages;
    int printDialogs = 0;
    int setupDialogs = 0;
    bool acceptDialogs = false;
    std::unique_ptr<Tfrm_MapPreview> window;

    MapPreviewWindowTest()
    {
        QPrinter& printer = printing.Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printing.PrintDialog = [this](QPrinter&, QWidget*) { return ++printDialogs, acceptDialogs; };
        printing.PrinterSetupDialog = [this](QPrinter& p, QWidget*) {
            ++setupDialogs;
            if (acceptDialogs)
                p.setPageOrientation(QPageLayout::Landscape);
            return acceptDialogs;
        };
        window = std::make_unique<Tfrm_MapPreview>(
            printing, TMapPreviewLayout{QSize(560, 420), QSize(400, 300), QStringLiteral("返  回"), QString()},
            &messages);
        window->show();
    }

    QString PdfPath() const { return dir.filePath(QStringLiteral("preview.pdf")); }
    TVYRPrintPreview& Preview() { return window->Preview(); }

    // A picture of columns x rows printer pages.
    void SetPages(int columns, int rows)
    {
        const QSize page = Preview().PageSize();
        QImage picture(page.width() * columns, page.height() * rows, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        Preview().SetPicture(picture);
    }
};

} // namespace

TEST_F(MapPreviewWindowTest, NavigationFollowsThePageAndTheStatusBar)
{
    SetPages(1, 1);
    for (QAction* action : {window->act_FirstPaper, window->act_PriorPaper, window->act_NextPaper, window->act_LastPaper})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("总页数：共1页"));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("当前页：第1页"));

    SetPages(2, 2);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("总页数：共4页"));
    window->act_NextPaper->trigger();
    EXPECT_EQ(Preview().PageIndex(), 1);
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("当前页：第2页"));
    window->act_LastPaper->trigger();
    EXPECT_EQ(Preview().PageIndex(), 3);
    EXPECT_FALSE(window->act_NextPaper->isEnabled());
    EXPECT_FALSE(window->act_LastPaper->isEnabled());
    EXPECT_TRUE(window->act_FirstPaper->isEnabled());
    EXPECT_TRUE(window->act_PriorPaper->isEnabled());
    window->act_PriorPaper->trigger();
    EXPECT_EQ(Preview().PageIndex(), 2);
    window->act_FirstPaper->trigger();
    EXPECT_EQ(Preview().PageIndex(), 0);
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("当前页：第1页"));
}

TEST_F(MapPreviewWindowTest, TheViewShowsTheCentredSheetWithTheTileInItsPrintableArea)
{
    QImage picture(2000, 300, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    Preview().SetPicture(picture);
    const QImage shot = window->PreviewView->Render();
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    shot.save(QStringLiteral(SCREENSHOT_DIR "/map_preview_view.png"));

    const TVYRPrintPaper& paper = Preview().Paper();
    ASSERT_EQ(Preview().ZoomState(), TZoomState::zsZoomToFit);
    const QPoint sheet(paper.Left, paper.Top);
    EXPECT_EQ(shot.pixel(sheet - QPoint(2, 2)), platform::ToQColor(Preview().Color).rgb()); // around the sheet
    EXPECT_EQ(shot.pixel(sheet), qRgb(0, 0, 0));                                          // its border
    EXPECT_EQ(shot.pixel(sheet + QPoint(3, 3)), qRgb(255, 255, 255));                      // the margin
    const QPoint printable = sheet + paper.GetPaperOrigin();
    EXPECT_EQ(shot.pixel(printable + QPoint(4, 4)), qRgb(255, 0, 0));                      // the tile
    QRect print;
    paper.GetPrintRect(print);
    // The picture is only 300 pixels high: the rest of the page is white.
    EXPECT_EQ(shot.pixel(printable + QPoint(4, print.height() - 4)), qRgb(255, 255, 255));
}

TEST_F(MapPreviewWindowTest, ZoomStepsAndFitting)
{
    Preview().SetZoom(110);
    window->act_ZoomIN->trigger();
    EXPECT_EQ(Preview().Zoom(), 150);
    EXPECT_EQ(window->StatusPanel(2), QStringLiteral("显示比例：150%"));
    window->act_ZoomIN->trigger();
    EXPECT_EQ(Preview().Zoom(), 200);
    EXPECT_FALSE(window->act_ZoomIN->isEnabled());
    EXPECT_EQ(Preview().ZoomState(), TZoomState::zsZoomOther);
    for (const int expected : {150, 100, 75, 50, 25}) {
        window->act_ZoomOut->trigger();
        EXPECT_EQ(Preview().Zoom(), expected);
    }
    EXPECT_FALSE(window->act_ZoomOut->isEnabled());

    EXPECT_TRUE(window->act_ToFit->isEnabled());
    window->act_ToFit->trigger();
    EXPECT_EQ(Preview().ZoomState(), TZoomState::zsZoomToFit);
    EXPECT_FALSE(window->act_ToFit->isEnabled());
    window->act_ToWidth->trigger();
    EXPECT_FALSE(window->act_ToWidth->isEnabled());
    EXPECT_TRUE(window->act_ToFit->isEnabled());

    // A zoom above the steps, reached by fitting a large window: zoom in
    // keeps it and stays disabled.
    Preview().Resize(QSize(2400, 2800), QSize(2396, 2796));
    window->act_ToHeight->trigger();
    ASSERT_GT(Preview().Zoom(), 200);
    const int fitted = Preview().Zoom();
    window->ActionList1Update();
    EXPECT_FALSE(window->act_ZoomIN->isEnabled());
    window->act_ZoomIN->trigger();
    EXPECT_EQ(Preview().Zoom(), fitted);
}

TEST_F(MapPreviewWindowTest, PrinterSetupRecomputesThePagesOnlyWhenAccepted)
{
    SetPages(1, 2);
    window->act_NextPaper->trigger();
    const QSize upright = Preview().PageSize();
    window->act_PrintSet->trigger();
    EXPECT_EQ(setupDialogs, 1);
    EXPECT_EQ(Preview().PageSize(), upright);
    EXPECT_EQ(Preview().PageIndex(), 1);

    acceptDialogs = true;
    window->act_PrintSet->trigger();
    EXPECT_EQ(Preview().Paper().Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_GT(Preview().PageSize().width(), Preview().PageSize().height());
    // The picture two upright pages high is three landscape ones.
    EXPECT_EQ(Preview().PageCount(), 3);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("总页数：共3页"));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("当前页：第1页"));
}

TEST_F(MapPreviewWindowTest, PrintsEveryPageToThePdfFile)
{
    SetPages(2, 2);
    window->act_Print->trigger();
    EXPECT_TRUE(messages.messages.empty()) << messages.MessageTexts().join(' ').toStdString();
    EXPECT_EQ(printDialogs, 0); // a chosen file prints at once
    EXPECT_EQ(PdfPageCount(PdfPath()), 4);
    EXPECT_TRUE(printing.Printer().docName().isEmpty());
}

TEST_F(MapPreviewWindowTest, AFileNobodyChoseIsAskedForFirst)
{
    printing.Printer().setOutputFileName(QString());
    ASSERT_TRUE(printing.NeedsOutputChoice());
    EXPECT_FALSE(window->act_PrintExecute());
    EXPECT_EQ(printDialogs, 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    acceptDialogs = true;
    printing.PrintDialog = [this](QPrinter& p, QWidget*) {
        p.setOutputFileName(PdfPath());
        return true;
    };
    EXPECT_TRUE(window->act_PrintExecute());
    EXPECT_EQ(PdfPageCount(PdfPath()), 1);
}

TEST_F(MapPreviewWindowTest, APrinterThatCannotStartReportsItAndPrintsNothing)
{
    const QString path = dir.filePath(QStringLiteral("missing/preview.pdf"));
    printing.Printer().setOutputFileName(path);
    window->act_Print->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("无法写入打印文件“%1”。").arg(path));
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_FALSE(QFile::exists(path));
}
