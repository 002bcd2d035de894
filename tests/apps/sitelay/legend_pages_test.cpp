// The legend pages of the tool pages and placing legend symbols: pages and
// buttons from the library, placement with and without a picture, a
// damaged library, and rebuilding the pages while a legend tool is armed.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "siteplan/legends/legend_library_file.h"
#include "siteplan/shapes/vyr_picture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QToolButton>

namespace {

platform::TPicture Bitmap(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    platform::TPicture picture;
    picture.SetGraphic(platform::TGraphicKind::Bitmap, bytes);
    return picture;
}

struct LegendPagesTest : MainWindowFixture {
    // Pages "树木" and "设备": a tree, a hidden item, an item without a
    // picture, and a crane on the second page.
    void WriteLibrary(bool withSecondPage = true)
    {
        legends::TLegendFiles library;
        library.Pages.Append(QStringLiteral("树木"));
        if (withSecondPage)
            library.Pages.Append(QStringLiteral("设备"));
        const auto add = [&library](const QString& hint, const QString& page, bool visible, bool picture) {
            legends::TLegendItem& item = library.Legends.Add();
            item.SetMapHint(hint);
            item.SetShowPanel(page);
            item.SetVisible(visible);
            if (picture)
                item.SetPicture(Bitmap(30, 20));
        };
        add(QStringLiteral("松树"), QStringLiteral("树木"), true, true);
        add(QStringLiteral("隐藏"), QStringLiteral("树木"), false, true);
        add(QStringLiteral("空白"), QStringLiteral("树木"), true, false);
        if (withSecondPage)
            add(QStringLiteral("塔吊图例"), QStringLiteral("设备"), true, true);
        legends::SaveLegendLibrary(PathOf(QStringLiteral("Legends.dll")), library);
    }
    void WriteDamagedLibrary()
    {
        QFile file(PathOf(QStringLiteral("Legends.dll")));
        file.open(QIODevice::WriteOnly);
        file.write("TPF0\x0cTLegendFiles\x00\x07HasPaper", 27);
    }
    std::vector<int> Tags(int page) const
    {
        std::vector<int> tags;
        for (const QToolButton* button : window->PageButtons(page))
            tags.push_back(button->property("Tag").toInt());
        return tags;
    }
};

TEST_F(LegendPagesTest, LibraryPagesFollowTheFixedPagesWithAButtonPerVisibleLegend)
{
    WriteLibrary();
    CreateWindow();
    ASSERT_EQ(window->PageControl1->count(), 4);
    EXPECT_EQ(window->PageControl1->tabText(2), QStringLiteral("树木"));
    EXPECT_EQ(window->PageControl1->tabText(3), QStringLiteral("设备"));
    EXPECT_EQ(Tags(2), (std::vector<int>{0, 1000, 1002}));
    EXPECT_EQ(Tags(3), (std::vector<int>{0, 1003}));
    EXPECT_EQ(window->PageButtons(2)[0]->toolTip(), QStringLiteral("选择"));
    EXPECT_EQ(window->PageButtons(2)[1]->toolTip(), QStringLiteral("松树"));
    EXPECT_TRUE(window->PageButtons(2)[0]->isChecked());
    // The one symbol of a page stretches over the page.
    EXPECT_EQ(window->PageButtons(3)[1]->width(), window->PageControl1->width() - 24);
    EXPECT_EQ(window->PageButtons(2)[1]->width(), 23);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(LegendPagesTest, ALegendButtonPlacesItsPictureByOneClickAndTheToolReturnsToSelect)
{
    WriteLibrary();
    CreateWindow();
    window->PageControl1->setCurrentIndex(2);
    window->ToolButtonOf(1000)->click();
    EXPECT_EQ(Map().DrawKind(), 1000);
    ClickOnMap({200, 150});
    ASSERT_EQ(Map().MapComCount(), 1);
    const auto* legend = dynamic_cast<const siteplan::TVyrPicture*>(Map().MapCom(0));
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->MapID, siteplan::TVyrPicture::Kind);
    EXPECT_FALSE(legend->ShowOutRect);
    EXPECT_TRUE(legend->Picture == Bitmap(30, 20));
    EXPECT_TRUE(Map().IsSelected(legend));
    EXPECT_TRUE(Map().Modified);
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(2)[0]->isChecked());

    // An item without a picture places nothing.
    window->ToolButtonOf(1002)->click();
    ClickOnMap({300, 250});
    EXPECT_EQ(Map().MapComCount(), 1);
    EXPECT_TRUE(services.messages.empty());

    // A library damaged after the start is reported at the placement.
    WriteDamagedLibrary();
    window->ToolButtonOf(1000)->click();
    ClickOnMap({300, 250});
    EXPECT_EQ(Map().MapComCount(), 1);
    EXPECT_EQ(services.messages.size(), 1u);
}

TEST_F(LegendPagesTest, DamagedLibraryIsReportedAndTheFixedPagesStay)
{
    WriteDamagedLibrary();
    services.messages.clear();
    CreateWindow();
    EXPECT_EQ(window->PageControl1->count(), 2);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.MessageTexts().front().startsWith(QStringLiteral("图例库文件")));
    EXPECT_EQ(Map().DrawKind(), 0);
}

TEST_F(LegendPagesTest, RebuildingWhileALegendToolIsArmedReturnsToSelectFirst)
{
    WriteLibrary();
    CreateWindow();
    window->PageControl1->setCurrentIndex(3);
    window->ToolButtonOf(1003)->click();
    ASSERT_EQ(Map().DrawKind(), 1003);
    // The page shown goes away with the new library.
    WriteLibrary(false);
    window->RebuildLegendPages();
    EXPECT_EQ(Map().DrawKind(), 0);
    ASSERT_EQ(window->PageControl1->count(), 3);
    const int page = window->PageControl1->currentIndex();
    ASSERT_GE(page, 0);
    EXPECT_TRUE(window->PageButtons(page)[0]->isChecked());
    EXPECT_EQ(window->ToolButtonOf(1003), nullptr);
    // The pages still work: a tool, a placement, select again.
    window->PageControl1->setCurrentIndex(2);
    window->ToolButtonOf(1000)->click();
    ClickOnMap({200, 150});
    EXPECT_EQ(Map().MapComCount(), 1);
    EXPECT_EQ(Map().DrawKind(), 0);
}

TEST_F(LegendPagesTest, NarrowPageControlGivesNoNegativeWidth)
{
    WriteLibrary();
    CreateWindow();
    window->PageControl1->setMinimumWidth(0);
    window->PageControl1->resize(10, window->PageControl1->height());
    window->PageControl1Resize();
    EXPECT_GE(window->PageButtons(3)[1]->width(), 0);
    EXPECT_EQ(window->PageButtons(3)[1]->maximumWidth(), 0);
}

} // namespace
