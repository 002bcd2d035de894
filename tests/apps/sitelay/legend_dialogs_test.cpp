// The legend-library dialogs: the editor of one legend (fill, OK, Cancel,
// the checks of its fields, its picture file), the library editor (its
// enabling rules, page and legend edits, drag and drop) and the main
// window's two commands with the legend pages after each.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "apps/sitelay/add_legend.h"
#include "apps/sitelay/edit_legends.h"
#include "apps/sitelay/legend_prompts.h"

#include "siteplan/legends/legend_library_file.h"
#include "siteplan/legends/legend_palette.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <deque>
#include <functional>
#include <optional>

namespace {

using sitelay::Tfrm_AddLegend;
using sitelay::Tfrm_EditLegends;
using platform::MessageButton;

const QString kAll = QStringLiteral("[所有页]");

platform::TPicture Bitmap(QRgb colour)
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    platform::TPicture picture;
    picture.SetGraphic(platform::TGraphicKind::Bitmap, bytes);
    return picture;
}

// Input boxes answered from a queue (none queued fails the test), and the
// picture file to choose.
struct FakeLegendPrompts final : sitelay::TLegendPrompts {
    std::deque<std::optional<QString>> answers;
    QStringList prompts;
    QString pictureFile;

    ~FakeLegendPrompts() override { EXPECT_TRUE(answers.empty()) << "input box answers left unused"; }
    std::optional<QString> InputText(QWidget*, const QString& prompt, const QString& initial) override
    {
        prompts.append(prompt + QLatin1Char('|') + initial);
        if (answers.empty()) {
            ADD_FAILURE() << "an input box nobody answers";
            return std::nullopt;
        }
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString OpenPictureFile(QWidget*) override { return pictureFile; }
};

// Runs act on the modal dialog of this class once the event loop shows it.
template <class Dialog>
void WhenShown(std::function<void(Dialog&)> act, bool* shown = nullptr)
{
    QTimer::singleShot(0, [act, shown] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the dialog did not open";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        if (shown)
            *shown = true;
        act(*dialog);
    });
}

// Pages 甲 and 乙; 松树 and 柏树 on 甲, 吊车 on 乙 (hidden), 路灯 on 甲.
void FillLibrary(legends::TLegendFiles& library)
{
    library.Pages.Append(QStringLiteral("甲"));
    library.Pages.Append(QStringLiteral("乙"));
    const auto add = [&library](const QString& hint, const QString& page, bool visible, QRgb colour) {
        legends::TLegendItem& item = library.Legends.Add();
        item.SetMapHint(hint);
        item.SetShowPanel(page);
        item.SetVisible(visible);
        item.SetPicture(Bitmap(colour));
    };
    add(QStringLiteral("松树"), QStringLiteral("甲"), true, qRgb(200, 0, 0));
    add(QStringLiteral("柏树"), QStringLiteral("甲"), true, qRgb(0, 200, 0));
    add(QStringLiteral("吊车"), QStringLiteral("乙"), false, qRgb(0, 0, 200));
    add(QStringLiteral("路灯"), QStringLiteral("甲"), true, qRgb(200, 200, 0));
}

QStringList Pages(const legends::TLegendFiles& library)
{
    QStringList pages;
    for (int i = 0; i < library.Pages.Count(); ++i)
        pages.append(library.Pages.Text(i));
    return pages;
}

QStringList Hints(const legends::TLegendFiles& library)
{
    QStringList hints;
    for (int i = 0; i < library.Legends.Count(); ++i)
        hints.append(library.Legends.Items(i).MapHint() + QLatin1Char('@') + library.Legends.Items(i).ShowPanel());
    return hints;
}

// ---------------------------------------------------------------------------
// The editor of one legend.

struct AddLegendTest : ::testing::Test {
    FakeWindowServices services;
    FakeLegendPrompts prompts;
    legends::TLegendFiles library;
    std::unique_ptr<Tfrm_AddLegend> dialog;

    AddLegendTest()
    {
        FillLibrary(library);
        dialog = std::make_unique<Tfrm_AddLegend>(services, prompts);
        dialog->LoadItem(Pages(library), Item());
        dialog->show();
        QApplication::processEvents();
    }
    legends::TLegendItem& Item() { return library.Legends.Items(2); }
    bool PressOk() const
    {
        dialog->BitBtn1Click();
        return dialog->result() == QDialog::Accepted;
    }
};

TEST_F(AddLegendTest, ShowsTheLegendAndOkWritesEveryField)
{
    EXPECT_EQ(dialog->windowTitle(), sitelay::ApplicationTitle());
    EXPECT_EQ(dialog->size(), QSize(443, 257));
    ASSERT_EQ(dialog->ComboBox1->count(), 2);
    EXPECT_EQ(dialog->ComboBox1->currentText(), QStringLiteral("乙"));
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("吊车"));
    EXPECT_FALSE(dialog->CheckBox1->isChecked());
    EXPECT_TRUE(dialog->Picture() == Bitmap(qRgb(0, 0, 200)));
    EXPECT_FALSE(dialog->Image2->pixmap().isNull());

    dialog->ComboBox1->setCurrentIndex(0);
    dialog->Edit1->setText(QStringLiteral(" 大吊车 "));
    dialog->CheckBox1->setChecked(true);
    dialog->SetPicture(Bitmap(qRgb(1, 2, 3)));
    ASSERT_TRUE(PressOk());
    ASSERT_TRUE(dialog->ApplyToItem(Item()));
    EXPECT_EQ(Item().ShowPanel(), QStringLiteral("甲"));
    EXPECT_EQ(Item().MapHint(), QStringLiteral(" 大吊车 ")); // as typed
    EXPECT_TRUE(Item().Visible());
    EXPECT_TRUE(Item().Picture() == Bitmap(qRgb(1, 2, 3)));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(AddLegendTest, ABadFieldKeepsTheDialogOpenOnItAndWritesNothing)
{
    struct Case {
        const char* what;
        std::function<void(Tfrm_AddLegend&)> spoil;
        QString message;
        std::function<QWidget*(Tfrm_AddLegend&)> field;
    };
    const Case cases[] = {
        {"no page", [](Tfrm_AddLegend& d) { d.ComboBox1->setCurrentIndex(-1); }, QStringLiteral("必须选择显示页！"),
         [](Tfrm_AddLegend& d) -> QWidget* { return d.ComboBox1; }},
        {"blank name", [](Tfrm_AddLegend& d) { d.Edit1->setText(QStringLiteral(" \t　")); },
         QStringLiteral("必须输入图例名称！"), [](Tfrm_AddLegend& d) -> QWidget* { return d.Edit1; }},
        {"pasted name the library cannot store",
         [](Tfrm_AddLegend& d) {
             d.Edit1->clear();
             d.Edit1->insert(QStringLiteral("树\U0001F332"));
         },
         QStringLiteral("图例名称中有图例库无法保存的字符，请修改。"),
         [](Tfrm_AddLegend& d) -> QWidget* { return d.Edit1; }},
        {"no picture", [](Tfrm_AddLegend& d) { d.SetPicture({}); }, QStringLiteral("必须选择图例！"),
         [](Tfrm_AddLegend& d) -> QWidget* { return d.Button2; }},
        // The checks go in order: a missing page is named before a blank name.
        {"no page and no name",
         [](Tfrm_AddLegend& d) {
             d.ComboBox1->setCurrentIndex(-1);
             d.Edit1->clear();
         },
         QStringLiteral("必须选择显示页！"), [](Tfrm_AddLegend& d) -> QWidget* { return d.ComboBox1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services.messages.clear();
        dialog = std::make_unique<Tfrm_AddLegend>(services, prompts);
        dialog->LoadItem(Pages(library), Item());
        dialog->CheckBox1->setChecked(true);
        dialog->show();
        dialog->activateWindow();
        QApplication::processEvents();
        c.spoil(*dialog);
        EXPECT_FALSE(PressOk());
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, c.message);
        EXPECT_EQ(services.messages[0].icon, platform::MessageIcon::Error);
        EXPECT_TRUE(c.field(*dialog)->hasFocus() || QApplication::focusWidget() == nullptr);
        EXPECT_FALSE(dialog->ApplyToItem(Item()));
        EXPECT_EQ(Item().ShowPanel(), QStringLiteral("乙"));
        EXPECT_EQ(Item().MapHint(), QStringLiteral("吊车"));
        EXPECT_FALSE(Item().Visible());
        EXPECT_TRUE(Item().Picture() == Bitmap(qRgb(0, 0, 200)));
    }
}

TEST_F(AddLegendTest, APictureFileIsLoadedAndAnUnreadableOneIsReported)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("tree.bmp"));
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(good, "BMP"));
    const QString bad = dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();

    prompts.pictureFile = bad;
    dialog->Button2Click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(dialog->Picture() == Bitmap(qRgb(0, 0, 200)));

    prompts.pictureFile.clear(); // cancelled
    dialog->Button2Click();
    EXPECT_TRUE(dialog->Picture() == Bitmap(qRgb(0, 0, 200)));

    prompts.pictureFile = good;
    dialog->Button2Click();
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(dialog->Picture().Width(), 12);
    EXPECT_EQ(dialog->Picture().Kind(), platform::TGraphicKind::Bitmap);
}

TEST_F(AddLegendTest, CancelLeavesTheLegendAsItWas)
{
    bool shown = false;
    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) {
        d.Edit1->setText(QStringLiteral("别的"));
        d.ComboBox1->setCurrentIndex(0);
        d.BitBtn2->click();
    }, &shown);
    EXPECT_FALSE(sitelay::ExecuteAddLegend(Pages(library), Item(), services, prompts));
    EXPECT_TRUE(shown);
    EXPECT_EQ(Item().MapHint(), QStringLiteral("吊车"));
    EXPECT_EQ(Item().ShowPanel(), QStringLiteral("乙"));

    // A page the list does not hold selects none, and OK is refused until
    // one is chosen.
    Item().SetShowPanel(QStringLiteral("丙"));
    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) {
        EXPECT_EQ(d.ComboBox1->currentIndex(), -1);
        d.BitBtn1->click();
        EXPECT_TRUE(d.isVisible());
        d.ComboBox1->setCurrentIndex(1);
        d.BitBtn1->click();
    });
    EXPECT_TRUE(sitelay::ExecuteAddLegend(Pages(library), Item(), services, prompts));
    EXPECT_EQ(Item().ShowPanel(), QStringLiteral("乙"));
    EXPECT_EQ(services.MessageTexts(), QStringList{QStringLiteral("必须选择显示页！")});
}

// ---------------------------------------------------------------------------
// The library editor.

struct EditLegendsTest : ::testing::Test {
    FakeWindowServices services;
    FakeLegendPrompts prompts;
    legends::TLegendFiles library;
    std::unique_ptr<Tfrm_EditLegends> dialog;

    EditLegendsTest()
    {
        FillLibrary(library);
        Open();
    }
    void Open()
    {
        dialog = std::make_unique<Tfrm_EditLegends>(services, prompts);
        dialog->LoadLibrary(library);
        dialog->show();
        QApplication::processEvents();
    }
    QStringList PageRows() const
    {
        QStringList rows;
        for (int row = 0; row < dialog->ltb_Pages->count(); ++row)
            rows.append(dialog->ltb_Pages->item(row)->text());
        return rows;
    }
    // Each entry as name/page/shown.
    QStringList Entries() const
    {
        QStringList entries;
        for (int i = 0; i < dialog->ltb_Legends->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* entry = dialog->ltb_Legends->topLevelItem(i);
            entries.append(entry->text(0) + QLatin1Char('/') + entry->text(1) + QLatin1Char('/') + entry->text(2));
        }
        return entries;
    }
    void SelectPage(int row) const
    {
        dialog->ltb_Pages->setCurrentRow(row);
        dialog->SetPagesActive(true);
        dialog->ltb_PagesClick();
    }
    void SelectEntry(int row) const
    {
        dialog->ltb_Legends->setCurrentItem(dialog->ltb_Legends->topLevelItem(row));
        dialog->SetPagesActive(false);
        dialog->ltb_LegendsClick();
    }
    // Enabled delete, rename/edit, up, down as four letters (- for off).
    QString Buttons() const
    {
        QString s;
        s += dialog->SpeedButton2->isEnabled() ? QLatin1Char('D') : QLatin1Char('-');
        s += dialog->SpeedButton3->isEnabled() ? QLatin1Char('R') : QLatin1Char('-');
        s += dialog->SpeedButton4->isEnabled() ? QLatin1Char('U') : QLatin1Char('-');
        s += dialog->SpeedButton5->isEnabled() ? QLatin1Char('W') : QLatin1Char('-');
        return s;
    }
    // The small images equal those made afresh from the library.
    void ExpectImagesFollowTheLegends() const
    {
        ASSERT_EQ(dialog->imglst_Legends.size(), static_cast<std::size_t>(library.Legends.Count()));
        for (int i = 0; i < library.Legends.Count(); ++i)
            EXPECT_EQ(dialog->imglst_Legends[static_cast<std::size_t>(i)],
                      legends::LegendImage(library.Legends.Items(i).Picture()))
                << "image " << i;
    }
};

TEST_F(EditLegendsTest, ListsThePagesThenAllPagesAndEnablesByRow)
{
    EXPECT_EQ(dialog->size(), QSize(457, 399));
    EXPECT_EQ(PageRows(), (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), kAll}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 0);
    EXPECT_TRUE(dialog->PagesActive());
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("松树/甲/是"), QStringLiteral("柏树/甲/是"),
                                      QStringLiteral("路灯/甲/是")}));
    ExpectImagesFollowTheLegends();

    struct Row {
        int row;
        QString buttons;
        int entries;
    };
    for (const Row& r : {Row{0, QStringLiteral("DR-W"), 3}, Row{1, QStringLiteral("DRU-"), 1},
                         Row{2, QStringLiteral("----"), 4}}) {
        SCOPED_TRACE(r.row);
        SelectPage(r.row);
        EXPECT_EQ(Buttons(), r.buttons);
        EXPECT_EQ(dialog->SpeedButton3->text(), QStringLiteral("重命名..."));
        EXPECT_EQ(dialog->ltb_Legends->topLevelItemCount(), r.entries);
    }
    EXPECT_EQ(Entries()[2], QStringLiteral("吊车/乙/否"));

    SelectEntry(0);
    EXPECT_EQ(Buttons(), QStringLiteral("DR-W"));
    EXPECT_EQ(dialog->SpeedButton3->text(), QStringLiteral("编辑..."));
    SelectEntry(3);
    EXPECT_EQ(Buttons(), QStringLiteral("DRU-"));
    dialog->ltb_Legends->clearSelection();
    dialog->ltb_LegendsClick();
    EXPECT_EQ(Buttons(), QStringLiteral("----"));
}

TEST_F(EditLegendsTest, AddingAPageAppendsItOnceAndMatchesNamesExactly)
{
    prompts.answers = {QStringLiteral("  丙 "), QStringLiteral("甲"), QStringLiteral("   "), std::nullopt,
                       QStringLiteral("Ab"), QStringLiteral("ab"), kAll};
    dialog->SpeedButton1Click();
    EXPECT_EQ(PageRows(), (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"), kAll}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 2);
    EXPECT_EQ(prompts.prompts.front(), QStringLiteral("新页名称|"));

    dialog->SpeedButton1Click(); // exists: selected, not added
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 0);
    EXPECT_EQ(dialog->ltb_Legends->topLevelItemCount(), 3);
    dialog->SpeedButton1Click(); // blanks
    dialog->SpeedButton1Click(); // cancelled
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));

    dialog->SpeedButton1Click();
    dialog->SpeedButton1Click(); // another case is another name
    dialog->SpeedButton1Click(); // the pseudo page is not a page
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"),
                                           QStringLiteral("Ab"), QStringLiteral("ab")}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 5);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(EditLegendsTest, RenamingAPageRenamesItsLegendsAndRefusesTakenNames)
{
    SelectPage(0);
    prompts.answers = {QStringLiteral("乙"), QStringLiteral(""), QStringLiteral(" 树木 ")};
    dialog->SpeedButton3Click();
    dialog->SpeedButton3Click();
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    dialog->SpeedButton3Click();
    EXPECT_EQ(prompts.prompts.back(), QStringLiteral("新页名称|甲"));
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("树木"), QStringLiteral("乙")}));
    EXPECT_EQ(PageRows().front(), QStringLiteral("树木"));
    EXPECT_EQ(Hints(library), (QStringList{QStringLiteral("松树@树木"), QStringLiteral("柏树@树木"),
                                           QStringLiteral("吊车@乙"), QStringLiteral("路灯@树木")}));
    EXPECT_EQ(dialog->ltb_Legends->topLevelItemCount(), 3);

    // The pseudo page cannot be renamed.
    SelectPage(2);
    dialog->SpeedButton3Click();
    EXPECT_EQ(PageRows().back(), kAll);
}

TEST_F(EditLegendsTest, DeletingAPageAfterConfirmationDeletesItsLegendsAndTheirImages)
{
    SelectPage(0);
    services.QueueAnswer(MessageButton::No);
    dialog->SpeedButton2Click();
    EXPECT_EQ(library.Legends.Count(), 4);
    services.QueueAnswer(MessageButton::Ok);
    dialog->SpeedButton2Click();
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[1].text, QStringLiteral("你真的要删除当前页以及其中的所有图例吗，注意删除是不可恢复的！"));
    EXPECT_EQ(services.messages[1].icon, platform::MessageIcon::Error);
    EXPECT_EQ(Pages(library), QStringList{QStringLiteral("乙")});
    EXPECT_EQ(Hints(library), QStringList{QStringLiteral("吊车@乙")});
    EXPECT_EQ(PageRows(), (QStringList{QStringLiteral("乙"), kAll}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 0);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("吊车/乙/否")});
    ExpectImagesFollowTheLegends();

    // The pseudo page asks nothing and deletes nothing.
    SelectPage(1);
    dialog->SpeedButton2Click();
    EXPECT_EQ(services.messages.size(), 2u);
}

TEST_F(EditLegendsTest, MovingAPageMovesTheChosenRowEvenWithDuplicateNames)
{
    SelectPage(0);
    dialog->SpeedButton5Click();
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("乙"), QStringLiteral("甲")}));
    EXPECT_EQ(PageRows(), (QStringList{QStringLiteral("乙"), QStringLiteral("甲"), kAll}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 1);
    EXPECT_EQ(Buttons(), QStringLiteral("DRU-"));
    dialog->SpeedButton5Click(); // the last real page stays
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("乙"), QStringLiteral("甲")}));
    dialog->SpeedButton4Click();
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));

    // A file may name a page twice: the second 甲 moves, not the first.
    library.Pages.Append(QStringLiteral("甲"));
    Open();
    SelectPage(2);
    EXPECT_EQ(Buttons(), QStringLiteral("DRU-"));
    dialog->SpeedButton4Click();
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 1);
    dialog->SpeedButton4Click();
    dialog->SpeedButton4Click(); // the first row stays
    EXPECT_EQ(Pages(library), (QStringList{QStringLiteral("甲"), QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_EQ(dialog->ltb_Pages->currentRow(), 0);
}

TEST_F(EditLegendsTest, AddingALegendOpensTheLegendDialogAndCancelTakesItBack)
{
    SelectPage(0);
    dialog->SetPagesActive(false);
    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("新图例"));
        EXPECT_EQ(d.ComboBox1->currentIndex(), -1);
        d.ComboBox1->setCurrentIndex(0);
        d.BitBtn2->click();
    });
    dialog->SpeedButton1Click();
    EXPECT_EQ(library.Legends.Count(), 4);
    ExpectImagesFollowTheLegends();

    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) {
        d.ComboBox1->setCurrentIndex(0);
        d.Edit1->setText(QStringLiteral("水塔"));
        d.SetPicture(Bitmap(qRgb(9, 9, 9)));
        d.BitBtn1->click();
    });
    dialog->SetPagesActive(false);
    dialog->SpeedButton1Click();
    ASSERT_EQ(library.Legends.Count(), 5);
    EXPECT_EQ(Hints(library).back(), QStringLiteral("水塔@甲"));
    EXPECT_EQ(Entries().back(), QStringLiteral("水塔/甲/是"));
    ExpectImagesFollowTheLegends();
}

TEST_F(EditLegendsTest, EditingALegendKeepsOrDropsItsEntryByThePageShown)
{
    const auto moveToSecondPage = [](Tfrm_AddLegend& d) {
        d.ComboBox1->setCurrentIndex(1);
        d.CheckBox1->setChecked(false);
        d.SetPicture(Bitmap(qRgb(50, 60, 70)));
        d.BitBtn1->click();
    };
    // On page 甲 the legend moved to 乙 leaves the list.
    SelectPage(0);
    SelectEntry(1);
    WhenShown<Tfrm_AddLegend>(moveToSecondPage);
    dialog->SpeedButton3Click();
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("松树/甲/是"), QStringLiteral("路灯/甲/是")}));
    EXPECT_EQ(Hints(library)[1], QStringLiteral("柏树@乙"));
    ExpectImagesFollowTheLegends();

    // With every legend shown the entry stays with its new columns.
    SelectPage(2);
    SelectEntry(0);
    WhenShown<Tfrm_AddLegend>(moveToSecondPage);
    dialog->SpeedButton3Click();
    ASSERT_EQ(Entries().size(), 4);
    EXPECT_EQ(Entries()[0], QStringLiteral("松树/乙/否"));
    ExpectImagesFollowTheLegends();

    // Cancel changes nothing.
    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) { d.BitBtn2->click(); });
    SelectEntry(3);
    dialog->SpeedButton3Click();
    EXPECT_EQ(Entries()[3], QStringLiteral("路灯/甲/是"));
}

TEST_F(EditLegendsTest, DeletingAndMovingLegendsKeepOneImagePerLegendInOrder)
{
    // Page 甲 shows 松树, 柏树, 路灯 (indices 0, 1, 3): moving 路灯 up puts
    // it at 柏树's place, before it.
    SelectPage(0);
    SelectEntry(2);
    dialog->SpeedButton4Click();
    EXPECT_EQ(Hints(library), (QStringList{QStringLiteral("松树@甲"), QStringLiteral("路灯@甲"),
                                           QStringLiteral("柏树@甲"), QStringLiteral("吊车@乙")}));
    EXPECT_EQ(dialog->ltb_Legends->indexOfTopLevelItem(dialog->ltb_Legends->currentItem()), 1);
    ExpectImagesFollowTheLegends();
    dialog->SpeedButton5Click(); // back below 柏树, whose place it takes
    EXPECT_EQ(Hints(library), (QStringList{QStringLiteral("松树@甲"), QStringLiteral("柏树@甲"),
                                           QStringLiteral("路灯@甲"), QStringLiteral("吊车@乙")}));
    EXPECT_EQ(dialog->ltb_Legends->indexOfTopLevelItem(dialog->ltb_Legends->currentItem()), 2);
    EXPECT_EQ(Buttons(), QStringLiteral("DRU-"));
    ExpectImagesFollowTheLegends();

    SelectEntry(0);
    services.QueueAnswer(MessageButton::No);
    dialog->SpeedButton2Click();
    EXPECT_EQ(library.Legends.Count(), 4);
    services.QueueAnswer(MessageButton::Ok);
    dialog->SpeedButton2Click();
    EXPECT_EQ(services.messages.back().text, QStringLiteral("你真的要删除当前图例吗，注意删除是不可恢复的！"));
    EXPECT_EQ(Hints(library), (QStringList{QStringLiteral("柏树@甲"), QStringLiteral("路灯@甲"),
                                           QStringLiteral("吊车@乙")}));
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("柏树/甲/是"), QStringLiteral("路灯/甲/是")}));
    ExpectImagesFollowTheLegends();
}

TEST_F(EditLegendsTest, DroppingALegendOnAPageMovesItThere)
{
    SelectPage(0);
    SelectEntry(0);
    EXPECT_FALSE(dialog->ltb_PagesDragOver(0)); // the page shown
    EXPECT_FALSE(dialog->ltb_PagesDragOver(2)); // every page
    EXPECT_FALSE(dialog->ltb_PagesDragOver(-1));
    ASSERT_TRUE(dialog->ltb_PagesDragOver(1));
    dialog->ltb_PagesDragDrop(1);
    EXPECT_EQ(Hints(library)[0], QStringLiteral("松树@乙"));
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("柏树/甲/是"), QStringLiteral("路灯/甲/是")}));

    // While every legend is shown the entry stays and shows its new page.
    SelectPage(2);
    SelectEntry(1);
    dialog->ltb_PagesDragDrop(1);
    EXPECT_EQ(Hints(library)[1], QStringLiteral("柏树@乙"));
    ASSERT_EQ(Entries().size(), 4);
    EXPECT_EQ(Entries()[1], QStringLiteral("柏树/乙/是"));
    dialog->ltb_PagesDragDrop(2);
    EXPECT_EQ(Entries().size(), 4);
}

// ---------------------------------------------------------------------------
// The main window's commands.

struct LegendCommandsTest : MainWindowFixture {
    FakeLegendPrompts prompts;

    LegendCommandsTest()
    {
        legends::TLegendFiles library;
        FillLibrary(library);
        legends::SaveLegendLibrary(LibraryPath(), library);
        sitelay::TForm1Options options;
        options.Messages = &services;
        options.Dialogs = &dialogs;
        options.PropertyEditor = &propertyEditor;
        options.RecentIniFile = IniPath();
        options.LegendLibrary = LibraryPath();
        options.LegendPrompts = &prompts;
        window = std::make_unique<sitelay::TForm1>(options);
        window->resize(1000, 700);
        window->show();
        QApplication::processEvents();
    }
    QString LibraryPath() const { return PathOf(QStringLiteral("Legends.dll")); }
    QByteArray LibraryBytes() const
    {
        QFile file(LibraryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList PageCaptions() const
    {
        QStringList captions;
        for (int i = 0; i < window->PageControl1->count(); ++i)
            captions.append(window->PageControl1->tabText(i).trimmed());
        return captions;
    }
};

TEST_F(LegendCommandsTest, TheMenuOffersBothCommandsAndAddingNeedsAPlan)
{
    EXPECT_EQ(window->E1->text(), QStringLiteral("编辑图库(&E)..."));
    EXPECT_EQ(window->A1->text(), QStringLiteral("添加当前图形到图库(&A)..."));
    window->ActionList1Update();
    EXPECT_TRUE(window->E1->isEnabled());
    EXPECT_TRUE(window->A1->isEnabled());
    window->act_FileClose->trigger();
    EXPECT_TRUE(window->E1->isEnabled());
    EXPECT_FALSE(window->A1->isEnabled());
}

TEST_F(LegendCommandsTest, EditOkSavesAndRebuildsThePagesWithTheToolBackOnSelect)
{
    ASSERT_EQ(PageCaptions().mid(2), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    window->PageControl1->setCurrentIndex(2);
    window->ToolButtonOf(1003)->click();
    ASSERT_EQ(Map().DrawKind(), 1003);

    // Cancel writes nothing, whatever was edited.
    const QByteArray before = LibraryBytes();
    WhenShown<Tfrm_EditLegends>([this](Tfrm_EditLegends& d) {
        prompts.answers = {QStringLiteral("丙")};
        d.SpeedButton1Click();
        d.reject();
    });
    window->E1->trigger();
    EXPECT_EQ(LibraryBytes(), before);
    EXPECT_EQ(PageCaptions().size(), 4);
    EXPECT_EQ(Map().DrawKind(), 1003);

    // OK after deleting the armed legend's page: saved, rebuilt, select.
    WhenShown<Tfrm_EditLegends>([this](Tfrm_EditLegends& d) {
        d.ltb_Pages->setCurrentRow(0);
        d.SetPagesActive(true);
        services.QueueAnswer(MessageButton::Ok);
        d.SpeedButton2Click();
        d.accept();
    });
    window->E1->trigger();
    const std::unique_ptr<legends::TLegendFiles> saved = legends::LoadLegendLibrary(LibraryPath());
    EXPECT_EQ(Pages(*saved), QStringList{QStringLiteral("乙")});
    EXPECT_EQ(Hints(*saved), QStringList{QStringLiteral("吊车@乙")});
    EXPECT_EQ(PageCaptions().mid(2), QStringList{QStringLiteral("乙")});
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_EQ(window->ToolButtonOf(1003), nullptr);
    EXPECT_EQ(services.messages.size(), 1u);
}

TEST_F(LegendCommandsTest, AFailedSaveIsReportedAndLeavesFileAndPages)
{
    WhenShown<Tfrm_EditLegends>([this](Tfrm_EditLegends& d) {
        // The library's place is taken by a folder the save cannot replace.
        QFile::remove(LibraryPath());
        QDir(dir.path()).mkdir(QStringLiteral("Legends.dll"));
        QFile keep(QDir(LibraryPath()).filePath(QStringLiteral("keep")));
        keep.open(QIODevice::WriteOnly);
        d.ltb_Pages->setCurrentRow(0);
        d.SetPagesActive(true);
        services.QueueAnswer(MessageButton::Ok);
        d.SpeedButton2Click();
        d.accept();
    });
    window->E1->trigger();
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(services.messages[1].text.startsWith(QStringLiteral("无法保存图例库文件")));
    EXPECT_TRUE(QFileInfo(LibraryPath()).isDir());
    EXPECT_TRUE(QFile::exists(QDir(LibraryPath()).filePath(QStringLiteral("keep"))));
    EXPECT_EQ(PageCaptions().mid(2), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
}

TEST_F(LegendCommandsTest, ADamagedLibraryIsReportedAndNoDialogOpens)
{
    QFile file(LibraryPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("TPF0\x0cTLegendFiles\x00\x07HasPaper", 27);
    file.close();
    const QByteArray damaged = LibraryBytes();
    int opened = 0;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++opened;
            modal->close();
        }
    });
    closer.start();
    window->E1->trigger();
    window->A1->trigger();
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(services.messages.size(), 2u);
    for (const QString& text : services.MessageTexts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("图例库文件"))) << text.toStdString();
    EXPECT_EQ(LibraryBytes(), damaged);
    EXPECT_EQ(PageCaptions().mid(2), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
}

TEST_F(LegendCommandsTest, AddingThePlanMakesAMetafileLegendWithItsButton)
{
    DrawBox({100, 100}, {220, 180});
    const QByteArray before = LibraryBytes();
    WhenShown<Tfrm_AddLegend>([](Tfrm_AddLegend& d) {
        EXPECT_EQ(d.Picture().Kind(), platform::TGraphicKind::Metafile);
        EXPECT_FALSE(d.Picture().Empty());
        d.BitBtn2->click();
    });
    window->A1->trigger();
    EXPECT_EQ(LibraryBytes(), before);

    platform::TPicture drawn;
    WhenShown<Tfrm_AddLegend>([&drawn](Tfrm_AddLegend& d) {
        d.BitBtn1->click(); // no page yet
        EXPECT_TRUE(d.isVisible());
        d.ComboBox1->setCurrentIndex(1);
        d.Edit1->setText(QStringLiteral("方框"));
        drawn = d.Picture();
        d.BitBtn1->click();
    });
    window->A1->trigger();
    EXPECT_EQ(services.MessageTexts(), QStringList{QStringLiteral("必须选择显示页！")});
    const std::unique_ptr<legends::TLegendFiles> saved = legends::LoadLegendLibrary(LibraryPath());
    ASSERT_EQ(saved->Legends.Count(), 5);
    EXPECT_EQ(Hints(*saved).back(), QStringLiteral("方框@乙"));
    EXPECT_TRUE(saved->Legends.Items(4).Picture() == drawn);
    QToolButton* button = window->ToolButtonOf(1004);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), QStringLiteral("方框"));
    EXPECT_EQ(window->PageButtons(3).back(), button);
    EXPECT_EQ(Map().DrawKind(), 0);
}

} // namespace
