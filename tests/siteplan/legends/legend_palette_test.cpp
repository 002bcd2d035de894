#include "siteplan/legends/legend_palette.h"

#include "legend_pictures.h"

#include <gtest/gtest.h>

namespace {

using legends::LegendButton;
using legends::TLegendFiles;

// A page control that keeps captions and buttons; it starts with the two
// fixed tool pages.
class FakePages : public legends::LegendPageControl {
public:
    struct Page {
        QString caption;
        std::vector<LegendButton> buttons;
    };
    std::vector<Page> pages{{QStringLiteral("tools"), {}}, {QStringLiteral("shapes"), {}}};
    int imageListClears = 0;

    int PageCount() const override { return static_cast<int>(pages.size()); }
    QString PageCaption(int page) const override { return pages[std::size_t(page)].caption; }
    int ControlCount(int page) const override { return static_cast<int>(pages[std::size_t(page)].buttons.size()); }
    void RemovePage(int page) override
    {
        pages.erase(pages.begin() + page);
        ++imageListClears;
    }
    int AddPage(const QString& caption) override
    {
        pages.push_back({caption, {}});
        return PageCount() - 1;
    }
    void AddButton(int page, const LegendButton& button) override { pages[std::size_t(page)].buttons.push_back(button); }

    // "caption: tag@left ..." for every legend page.
    QStringList Summary() const
    {
        QStringList out;
        for (std::size_t p = legends::FixedToolPages; p < pages.size(); ++p) {
            QString line = pages[p].caption + ':';
            for (const auto& b : pages[p].buttons)
                line += QStringLiteral(" %1@%2").arg(b.Tag).arg(b.Bounds.left());
            out << line;
        }
        return out;
    }
};

TEST(LegendPalette, PagesAndButtons)
{
    TLegendFiles library;
    library.Pages.Append(QStringLiteral("A"));
    library.Pages.Append(QStringLiteral("B"));
    struct Item {
        const char* page;
        bool visible;
    } items[] = {{"B", true}, {"B", false}, {"C", true}, {"B", true}, {"", true}};
    for (const Item& i : items) {
        auto& item = library.Legends.Add();
        item.SetShowPanel(QString::fromLatin1(i.page));
        item.SetVisible(i.visible);
    }

    FakePages pages;
    legends::BuildLegendPalette(pages, library);
    const QStringList expected{"A: 0@0", "B: 0@0 1000@23 1003@46", "C: 0@0 1002@23"};
    EXPECT_EQ(pages.Summary(), expected);
    const LegendButton& select = pages.pages[2].buttons[0];
    EXPECT_TRUE(select.SelectButton);
    EXPECT_TRUE(select.Down);
    EXPECT_EQ(select.Hint, QStringLiteral("选择"));
    EXPECT_EQ(pages.pages[3].buttons[1].Hint, QStringLiteral("新图例"));
    EXPECT_EQ(pages.pages[3].buttons[1].Bounds.height(), legends::LegendButtonHeight);

    legends::BuildLegendPalette(pages, library);
    EXPECT_EQ(pages.Summary(), expected);
    EXPECT_EQ(pages.imageListClears, 3);
    EXPECT_EQ(pages.pages[0].caption, QStringLiteral("tools"));
}

TEST(LegendPalette, GlyphOfEveryPictureClass)
{
    for (const auto& sample : legends_test::SamplePictures()) {
        const QImage glyph = legends::LegendGlyph(legends_test::MakePicture(sample.kind, sample.bytes));
        ASSERT_EQ(glyph.size(), QSize(16, 16)) << sample.name;
        EXPECT_EQ(glyph.pixel(0, 15), qRgb(255, 255, 255)) << sample.name;
        int marked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                marked += glyph.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(marked, 10) << sample.name;
    }
    // The raster samples have a red block at the left.
    const QImage bitmap = legends::LegendGlyph(
        legends_test::MakePicture(platform::TGraphicKind::Bitmap, legends_test::SamplePictures()[0].bytes));
    EXPECT_EQ(bitmap.pixel(4, 8), qRgb(255, 0, 0));

    // Undecodable bytes draw as a frame; no picture leaves the glyph white.
    const QImage broken = legends::LegendGlyph(legends_test::MakePicture(platform::TGraphicKind::Bitmap, "junk"));
    EXPECT_NE(broken.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(broken.pixel(8, 8), qRgb(255, 255, 255));
    const QImage none = legends::LegendGlyph(platform::TPicture());
    EXPECT_EQ(none.pixel(8, 8), qRgb(255, 255, 255));
    EXPECT_EQ(none.pixel(0, 0), qRgb(255, 255, 255));
}

} // namespace
