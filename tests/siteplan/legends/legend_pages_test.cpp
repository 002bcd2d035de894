#include "siteplan/legends/legend_files.h"

#include "legend_pictures.h"

#include <gtest/gtest.h>

namespace {

using legends::TLegendFiles;

// A library with pages A and B; items on A, a, B and the unlisted page C.
std::unique_ptr<TLegendFiles> Library()
{
    auto library = std::make_unique<TLegendFiles>();
    library->Pages.Append(QStringLiteral("A"));
    library->Pages.Append(QStringLiteral("B"));
    for (const char* page : {"A", "a", "B", "A", "C"}) {
        auto& item = library->Legends.Add();
        item.SetShowPanel(QString::fromLatin1(page));
        item.SetMapHint(QStringLiteral("%1%2").arg(QLatin1String(page)).arg(library->Legends.Count()));
    }
    return library;
}

QStringList Pages(const TLegendFiles& library)
{
    QStringList pages;
    for (int i = 0; i < library.Pages.Count(); ++i)
        pages << library.Pages.Text(i);
    return pages;
}

QStringList Hints(const TLegendFiles& library)
{
    QStringList hints;
    for (int i = 0; i < library.Legends.Count(); ++i)
        hints << library.Legends.Items(i).MapHint();
    return hints;
}

TEST(LegendPages, DeletePageMatchesNamesExactly)
{
    struct Case {
        const char* page;
        QStringList pages;
        QStringList hints;
    } cases[] = {
        {"A", {"B"}, {"a2", "B3", "C5"}},
        {"a", {"A", "B"}, {"A1", "a2", "B3", "A4", "C5"}}, // no page "a": nothing happens
        {"C", {"A", "B"}, {"A1", "a2", "B3", "A4", "C5"}}, // items on an unlisted page stay
        {"B", {"A"}, {"A1", "a2", "A4", "C5"}},
    };
    for (const Case& c : cases) {
        auto library = Library();
        library->DeletePage(QString::fromLatin1(c.page));
        EXPECT_EQ(Pages(*library), c.pages) << c.page;
        EXPECT_EQ(Hints(*library), c.hints) << c.page;
    }
}

TEST(LegendPages, RenamePageMovesItemsAndLeavesPages)
{
    auto library = Library();
    library->RenamePage(QStringLiteral("A"), QStringLiteral("Z"));
    EXPECT_EQ(Pages(*library), (QStringList{"A", "B"}));
    QStringList panels;
    for (int i = 0; i < library->Legends.Count(); ++i)
        panels << library->Legends.Items(i).ShowPanel();
    EXPECT_EQ(panels, (QStringList{"Z", "a", "B", "Z", "C"}));
}

TEST(LegendPages, DeleteMoveAndAssign)
{
    auto library = Library();
    library->DeleteLegend(1);
    EXPECT_EQ(Hints(*library), (QStringList{"A1", "B3", "A4", "C5"}));
    library->Legends.Move(3, 0);
    EXPECT_EQ(Hints(*library), (QStringList{"C5", "A1", "B3", "A4"}));
    EXPECT_EQ(library->Legends.Items(2).Index(), 2);

    auto& source = library->Legends.Items(0);
    source.SetVisible(false);
    source.SetPicture(legends_test::MakePicture(platform::TGraphicKind::Icon, "icon bytes"));
    auto& target = library->Legends.Items(1);
    target.Assign(source);
    EXPECT_EQ(target.MapHint(), QStringLiteral("C5"));
    EXPECT_EQ(target.ShowPanel(), QStringLiteral("C"));
    EXPECT_EQ(target.Picture(), source.Picture());
    EXPECT_TRUE(target.Visible());
}

} // namespace
