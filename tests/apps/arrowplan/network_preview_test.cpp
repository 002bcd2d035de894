// The network preview window: the scale sequence, the spacing buttons and
// their bounds, the bar chart, refused pictures, the bitmap file, the
// clipboard and printing to a PDF file.
#include "apps/arrowplan/network_preview.h"

#include "tests/network/control/control_fixture.h"
#include "tests/support/pdf_pages.h"

#include "network/control/network_exports.h"

#include "platform/program_folders.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace control_test;

namespace {

struct NetworkPreviewTest : ::testing::Test {
    QTemporaryDir dir;
    Network net;
    common::TPrintServices printing;
    FakeWindowServices messages;
    std::unique_ptr<arrowplan::TNetworkPreview> window;

    NetworkPreviewTest()
    {
        BuildFoundationNetwork(net);
        net.SetModified(false);
        QPrinter& printer = printing.Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printing.PrintDialog = [](QPrinter&, QWidget*) { return true; };
        window = std::make_unique<arrowplan::TNetworkPreview>(net, printing, messages);
        window->Refresh();
        window->show();
    }

    QString PdfPath() const { return dir.filePath(QStringLiteral("network.pdf")); }
    // The width of the arrow diagram at this percent.
    int DiagramWidth(int percent) { return static_cast<int>(percent * net.BitMapWidth() / 100); }
};

TEST(ScalePercent, TruncatesInDoubleAndStaysInRange)
{
    EXPECT_EQ(arrowplan::ScalePercent(1.0f), 100);
    EXPECT_EQ(arrowplan::ScalePercent(0.9f), 89);
    EXPECT_EQ(arrowplan::ScalePercent(0.2f), 20);
    EXPECT_EQ(arrowplan::ScalePercent(1e30f), INT_MAX);
    EXPECT_EQ(arrowplan::ScalePercent(-1e30f), INT_MIN);
}

TEST_F(NetworkPreviewTest, OpensAtFullScaleOnTheArrowDiagram)
{
    EXPECT_EQ(window->Scale(), 1.0f);
    EXPECT_EQ(window->ViewMode(), 0);
    EXPECT_TRUE(window->ToolButton16->isChecked());
    EXPECT_EQ(window->Bitmap().width(), DiagramWidth(100));
    EXPECT_EQ(window->Bitmap().height(), net.BitMapHeight());
    EXPECT_GE(window->Preview().PageCount(), 1);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("总页数：共%1页").arg(window->Preview().PageCount()));
    for (QAction* always : {window->tbtnSave, window->tbtnCopy, window->act_Print})
        EXPECT_TRUE(always->isEnabled());
}

TEST_F(NetworkPreviewTest, ScaleSequenceDownAndUp)
{
    std::vector<int> down;
    for (int i = 0; i < 9; ++i) {
        window->ToolButton24->trigger();
        down.push_back(arrowplan::ScalePercent(window->Scale()));
        EXPECT_EQ(window->Bitmap().width(), DiagramWidth(down.back()));
    }
    EXPECT_EQ(down, (std::vector<int>{89, 79, 69, 59, 49, 39, 29, 20, 20}));
    std::vector<int> up;
    for (int i = 0; i < 9; ++i) {
        window->ToolButton26->trigger();
        up.push_back(arrowplan::ScalePercent(window->Scale()));
        EXPECT_EQ(window->Bitmap().width(), DiagramWidth(up.back()));
    }
    EXPECT_EQ(up, (std::vector<int>{30, 40, 50, 60, 70, 80, 90, 100, 110}));
    window->ToolButton25->trigger();
    EXPECT_EQ(window->Scale(), 1.0f);
    EXPECT_EQ(window->Bitmap().width(), DiagramWidth(100));
    EXPECT_FALSE(net.Modified());
}

TEST_F(NetworkPreviewTest, SpacingButtonsChangeTheNetworkWithinTheirFloors)
{
    const struct {
        const char* name;
        QAction* arrowplan::TNetworkPreview::*button;
        int start;
        int expected;
        bool rows;
    } cases[] = {
        {"rows smaller", &arrowplan::TNetworkPreview::ToolButton19, 16, 14, true},
        {"rows at the floor", &arrowplan::TNetworkPreview::ToolButton19, 15, 15, true},
        {"rows larger", &arrowplan::TNetworkPreview::ToolButton20, 15, 17, true},
        {"time smaller", &arrowplan::TNetworkPreview::ToolButton21, 11, 10, false},
        {"time at the floor", &arrowplan::TNetworkPreview::ToolButton21, 10, 10, false},
        {"time larger", &arrowplan::TNetworkPreview::ToolButton22, 10, 11, false},
        {"rows at the int limit", &arrowplan::TNetworkPreview::ToolButton20, INT_MAX - 1, INT_MAX - 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.rows ? net.SetSmallLineSpace(c.start) : net.SetSmallWidth(c.start);
        net.SetModified(false);
        if (c.start < 1000) {
            ASSERT_TRUE(window->Refresh());
        }
        (window.get()->*c.button)->trigger();
        EXPECT_EQ(c.rows ? net.SmallLineSpace() : net.SmallWidth(), c.expected);
        EXPECT_EQ(net.Modified(), c.expected != c.start);
        if (c.start < 1000) {
            EXPECT_EQ(window->Bitmap().size(), QSize(DiagramWidth(100), static_cast<int>(net.BitMapHeight())));
        }
    }
}

TEST_F(NetworkPreviewTest, TheBarChartKeepsTheScale)
{
    window->ToolButton24->trigger();
    window->ToolButton17->trigger();
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_TRUE(window->ToolButton17->isChecked());
    EXPECT_EQ(arrowplan::ScalePercent(window->Scale()), 89);
    EXPECT_EQ(window->Bitmap().width(), static_cast<int>(89 * network::hBitMapWidth1(net) / 100));
    EXPECT_EQ(window->Bitmap().height(), static_cast<int>(89 * network::BitMapHeight1(net) / 100));
    window->ToolButton16->trigger();
    EXPECT_EQ(window->ViewMode(), 0);
    EXPECT_EQ(window->Bitmap().width(), DiagramWidth(89));
}

TEST_F(NetworkPreviewTest, APictureTooLargeKeepsTheOldOneAndTheSpacing)
{
    // The widest time spacing whose diagram can still be made.
    int low = 10;
    int high = 100000;
    while (low + 1 < high) {
        const int mid = (low + high) / 2;
        net.SetSmallWidth(mid);
        (net.BitMapWidth() <= network::kMaxPictureSide ? low : high) = mid;
    }
    net.SetSmallWidth(low);
    net.SetModified(false);
    ASSERT_TRUE(window->Refresh());
    const QImage before = window->Bitmap();
    const int pages = window->Preview().PageCount();

    window->ToolButton22->trigger();
    EXPECT_EQ(net.SmallWidth(), low);
    EXPECT_FALSE(net.Modified());
    EXPECT_EQ(window->Bitmap().size(), before.size());
    EXPECT_EQ(window->Preview().PageCount(), pages);
    EXPECT_FALSE(net.Fake().messages.empty());

    net.Fake().messages.clear();
    window->ToolButton26->trigger();
    EXPECT_EQ(window->Scale(), 1.0f);
    EXPECT_FALSE(net.Fake().messages.empty());
}

TEST_F(NetworkPreviewTest, SavesTheBitmapAsBmpAndReportsAFileThatCannotBeMade)
{
    QString askedFolder;
    QString answer = dir.filePath(QStringLiteral("network.bmp"));
    window->SaveBitmapDialog = [&](const QString& folder) {
        askedFolder = folder;
        return answer;
    };
    window->tbtnSave->trigger();
    EXPECT_EQ(askedFolder, QDir(platform::ProgramFolder()).filePath(QStringLiteral("Data")));
    QFile written(answer);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(2), QByteArray("BM"));
    EXPECT_EQ(QImage(answer).size(), window->Bitmap().size());
    EXPECT_TRUE(messages.messages.empty());

    answer.clear();
    window->tbtnSave->trigger();
    EXPECT_TRUE(messages.messages.empty());

    answer = dir.filePath(QStringLiteral("missing/network.bmp"));
    window->tbtnSave->trigger();
    ASSERT_EQ(messages.MessageTexts().size(), 1);
    EXPECT_TRUE(messages.MessageTexts().front().startsWith(QStringLiteral("无法创建文件“")));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(NetworkPreviewTest, CopiesTheBitmapToTheClipboard)
{
    window->ToolButton24->trigger();
    window->tbtnCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window->Bitmap().size());
}

TEST_F(NetworkPreviewTest, PrintsEveryPageToPdf)
{
    const struct {
        const char* name;
        int smallWidth;
        QPageLayout::Orientation orientation;
        const char* file;
    } cases[] = {
        {"narrow, upright", 20, QPageLayout::Portrait, "arrowplan_print_narrow.pdf"},
        {"wide, upright", 400, QPageLayout::Portrait, "arrowplan_print_wide.pdf"},
        {"wide, landscape", 400, QPageLayout::Landscape, "arrowplan_print_landscape.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        net.SetSmallWidth(c.smallWidth);
        printing.Printer().setPageOrientation(c.orientation);
        window->Preview().PrinterChanged();
        ASSERT_TRUE(window->Refresh());
        const int pages = window->Preview().PageCount();
        window->act_Print->trigger();
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(PdfPageCount(PdfPath()), pages);
        if (c.smallWidth == 400) {
            EXPECT_GT(pages, 1);
        }
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        const QString copy = QStringLiteral(SCREENSHOT_DIR "/%1").arg(QLatin1String(c.file));
        QFile::remove(copy);
        QFile::copy(PdfPath(), copy);
    }
}

} // namespace
