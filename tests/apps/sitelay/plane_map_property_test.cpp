// The map-property dialog: what it shows of a plan, what OK writes, that
// Cancel and every bad field leave the plan as it was, the digit filter of
// its number fields, and how the window opens it.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "apps/sitelay/edit_plane_map_property.h"

#include "siteplan/dialogs/edit_pen_property.h"

#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtEndian>

#include <functional>
#include <tuple>

namespace {

using sitelay::Tfrm_EditPlaneMapProperty;

// Everything the dialog may write, to compare a plan before and after.
auto SheetOf(const siteplan::TPlaneMap& map)
{
    return std::make_tuple(map.PlanmapSize(), map.MapWidth(), map.MapHeight(), static_cast<int>(map.Orientation()),
                           map.MapScale(), map.LeftMargin(), map.TopMargin(), map.RightMargin(), map.BottomMargin(),
                           map.Modified);
}

struct PlaneMapPropertyTest : MainWindowFixture {
    PlaneMapPropertyTest()
    {
        Map().Modified = false;
        dialog = std::make_unique<Tfrm_EditPlaneMapProperty>(services);
        dialog->LoadFromMap(Map());
        dialog->show();
        dialog->activateWindow();
        QApplication::processEvents();
    }
    // Chooses an item of the paper-size list as the user does.
    void ChooseSize(int index) const
    {
        dialog->cmb_PlanmapSize->setCurrentIndex(index);
        dialog->cmb_PlanmapSizeClick(index);
    }
    // OK, then the fields into the plan when the dialog closed with OK.
    bool PressOk() const
    {
        dialog->BitBtn1Click();
        return dialog->result() == QDialog::Accepted && dialog->ApplyToMap();
    }

    std::unique_ptr<Tfrm_EditPlaneMapProperty> dialog;
};

TEST_F(PlaneMapPropertyTest, ShowsThePlansSheet)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("平面图属性"));
    EXPECT_EQ(dialog->size(), QSize(460, 281));
    EXPECT_EQ(dialog->cmb_PlanmapSize->currentIndex(), 4);
    EXPECT_EQ(dialog->edt_MapWidth->text(), QStringLiteral("210"));
    EXPECT_EQ(dialog->edt_MapHeight->text(), QStringLiteral("297"));
    EXPECT_TRUE(dialog->edt_MapWidth->isReadOnly());
    EXPECT_TRUE(dialog->edt_MapHeight->isReadOnly());
    EXPECT_EQ(dialog->edt_MapScale->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog->rgp_Orientation->checkedId(), 1);
    EXPECT_EQ(dialog->rgp_Orientation->button(0)->text(), QStringLiteral("纵向"));
    EXPECT_EQ(dialog->ud_LeftMargin->Position(), 15);
    EXPECT_TRUE(dialog->ud_LeftMargin->Edit()->isReadOnly());
}

TEST_F(PlaneMapPropertyTest, AnASizeShowsItsSidesReadOnlyAndOkStoresIt)
{
    ChooseSize(3);
    EXPECT_EQ(dialog->edt_MapWidth->text(), QStringLiteral("297"));
    EXPECT_EQ(dialog->edt_MapHeight->text(), QStringLiteral("420"));
    EXPECT_TRUE(dialog->edt_MapWidth->isReadOnly());
    dialog->rgp_Orientation->button(0)->setChecked(true);
    dialog->edt_MapScale->setText(QStringLiteral("250"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Map().PlanmapSize(), 3);
    EXPECT_EQ(Map().MapWidth(), 297);
    EXPECT_EQ(Map().MapHeight(), 420);
    EXPECT_EQ(Map().Orientation(), siteplan::TPrinterOrientation::poPortrait);
    EXPECT_EQ(Map().MapScale(), 250);
    EXPECT_TRUE(Map().Modified);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PlaneMapPropertyTest, TheCustomItemKeepsTheSidesEditableAndOkStoresTheTypedOnes)
{
    ChooseSize(sitelay::kCustomPaperItem);
    EXPECT_EQ(dialog->edt_MapWidth->text(), QStringLiteral("210"));
    EXPECT_FALSE(dialog->edt_MapWidth->isReadOnly());
    EXPECT_FALSE(dialog->edt_MapHeight->isReadOnly());
    EXPECT_TRUE(dialog->edt_MapWidth->hasFocus());
    dialog->edt_MapWidth->setText(QStringLiteral("500"));
    dialog->edt_MapHeight->setText(QStringLiteral("400"));
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Map().PlanmapSize(), sitelay::kCustomPaperItem);
    EXPECT_EQ(Map().MapWidth(), 500);
    EXPECT_EQ(Map().MapHeight(), 400);
}

TEST_F(PlaneMapPropertyTest, MarginsStayWithinSevenAndAHundred)
{
    Map().SetLeftMargin(5);
    Map().SetRightMargin(150);
    dialog->LoadFromMap(Map());
    EXPECT_EQ(dialog->ud_LeftMargin->Position(), 7);
    EXPECT_EQ(dialog->ud_RightMargin->Position(), 100);
    ASSERT_TRUE(PressOk());
    EXPECT_EQ(Map().LeftMargin(), 7);
    EXPECT_EQ(Map().RightMargin(), 100);
}

TEST_F(PlaneMapPropertyTest, ABadFieldKeepsTheDialogOpenOnItAndThePlanAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(Tfrm_EditPlaneMapProperty&)> edit;
        QLineEdit* Tfrm_EditPlaneMapProperty::*field;
        QString message; // the start of the message
    };
    const auto custom = [](const char* width, const char* height, const char* scale) {
        return [=](Tfrm_EditPlaneMapProperty& d) {
            d.cmb_PlanmapSize->setCurrentIndex(sitelay::kCustomPaperItem);
            d.cmb_PlanmapSizeClick(sitelay::kCustomPaperItem);
            d.edt_MapWidth->setText(QString::fromLatin1(width));
            d.edt_MapHeight->setText(QString::fromLatin1(height));
            d.edt_MapScale->setText(QString::fromLatin1(scale));
        };
    };
    using F = Tfrm_EditPlaneMapProperty;
    const Case cases[] = {
        {"empty scale", custom("210", "297", ""), &F::edt_MapScale, QStringLiteral("请输入图纸比例尺。")},
        {"scale 0", custom("210", "297", "0"), &F::edt_MapScale, QStringLiteral("图纸比例尺必须大于 0。")},
        {"pasted letters", custom("210", "297", "12a"), &F::edt_MapScale, QStringLiteral("图纸比例尺只能由数字组成。")},
        {"pasted minus", custom("-210", "297", "100"), &F::edt_MapWidth,
         QStringLiteral("图纸宽度只能由数字组成（单位：毫米）。")},
        {"empty width", custom("", "297", "100"), &F::edt_MapWidth, QStringLiteral("请输入图纸宽度。")},
        // Turned, the paper's width runs down the screen, between the top
        // and bottom margins; its height across.
        {"width 0", custom("0", "297", "100"), &F::edt_MapWidth,
         QStringLiteral("图纸宽度必须大于上下边界之和（40 毫米）。")},
        {"height as wide as its margins", custom("210", "40", "100"), &F::edt_MapHeight,
         QStringLiteral("图纸高度必须大于左右边界之和（40 毫米）。")},
        {"width beyond int", custom("99999999999999999999", "297", "100"), &F::edt_MapWidth,
         QStringLiteral("图纸宽度不能超过 ")},
        {"height too many pixels", custom("210", "2000000000", "1"), &F::edt_MapHeight,
         QStringLiteral("图纸高度不能超过 ")},
        // 100000 mm at 1 : 3000 reaches 3e9 tenths of a millimetre.
        {"site beyond int", custom("100000", "297", "3000"), &F::edt_MapScale,
         QStringLiteral("图纸比例尺不能超过 2147：")},
        {"A0 at a huge scale",
         [](F& d) {
             d.cmb_PlanmapSize->setCurrentIndex(0);
             d.cmb_PlanmapSizeClick(0);
             d.edt_MapScale->setText(QStringLiteral("200000"));
         },
         &F::edt_MapScale, QStringLiteral("图纸比例尺不能超过 180612：")},
    };
    const auto before = SheetOf(Map());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        dialog->LoadFromMap(Map());
        dialog->setResult(QDialog::Rejected);
        // Margins and a scale that differ from the plan's, so that half an
        // apply would show.
        for (siteplan::TUpDown* margin :
             {dialog->ud_LeftMargin, dialog->ud_TopMargin, dialog->ud_RightMargin, dialog->ud_BottomMargin})
            margin->SetPosition(20);
        c.edit(*dialog);
        dialog->BitBtn1Click();
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_TRUE(services.messages[0].text.startsWith(c.message)) << services.messages[0].text.toStdString();
        EXPECT_TRUE(((*dialog).*(c.field))->hasFocus());
        // Applying anyway writes nothing either.
        EXPECT_FALSE(dialog->ApplyToMap());
        EXPECT_EQ(SheetOf(Map()), before);
    }
}

TEST_F(PlaneMapPropertyTest, NumberFieldsTakeDigitsOnly)
{
    QLineEdit* scale = dialog->edt_MapScale;
    scale->clear();
    scale->setFocus();
    const auto type = [scale](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(scale, &press);
    };
    type(Qt::Key_1, QStringLiteral("1"));
    type(Qt::Key_A, QStringLiteral("a"));
    type(Qt::Key_Minus, QStringLiteral("-"));
    type(Qt::Key_Space, QStringLiteral(" "));
    type(Qt::Key_2, QStringLiteral("2"));
    type(Qt::Key_3, QStringLiteral("3"));
    EXPECT_EQ(scale->text(), QStringLiteral("123"));
    type(Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(scale->text(), QStringLiteral("12"));
}

TEST_F(PlaneMapPropertyTest, APaperSizeOutOfRangeFromAFileShowsAsACustomSheet)
{
    const QString path = PathOf(QStringLiteral("odd.Plm"));
    ASSERT_TRUE(Map().SaveToFile(path));
    for (const qint32 stored : {9, -1}) {
        SCOPED_TRACE(stored);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(14)); // after the signature and the version
        const qint32 little = qToLittleEndian(stored);
        file.write(reinterpret_cast<const char*>(&little), sizeof little);
        file.close();
        ASSERT_TRUE(window->OpenMap(path));
        ASSERT_EQ(Map().PlanmapSize(), stored);
        EXPECT_EQ(window->cmb_PlanmapSize->currentIndex(), sitelay::kCustomPaperItem);

        dialog->LoadFromMap(Map());
        EXPECT_EQ(dialog->cmb_PlanmapSize->currentIndex(), sitelay::kCustomPaperItem);
        EXPECT_FALSE(dialog->edt_MapWidth->isReadOnly());
        ASSERT_TRUE(PressOk());
        EXPECT_EQ(Map().PlanmapSize(), sitelay::kCustomPaperItem);
        EXPECT_EQ(Map().MapWidth(), 210);
        EXPECT_EQ(Map().MapHeight(), 297);
        // The changed plan is given up when the next one opens.
        services.QueueAnswer(platform::MessageButton::No);
    }
    window->act_FileNew->trigger();
}

// Runs `act` on the modal dialog once the window opened it.
void WhenDialogShown(const std::function<void(Tfrm_EditPlaneMapProperty&)>& act, bool& shown)
{
    QTimer::singleShot(0, [act, &shown] {
        auto* d = dynamic_cast<Tfrm_EditPlaneMapProperty*>(QApplication::activeModalWidget());
        if (!d)
            return;
        shown = true;
        act(*d);
    });
}

TEST_F(PlaneMapPropertyTest, TheWindowOpensItFromTheMenuAndFromTheCustomPaperItem)
{
    dialog.reset();
    EXPECT_TRUE(window->act_SetSetProperty->isEnabled());
    bool shown = false;
    WhenDialogShown(
        [](Tfrm_EditPlaneMapProperty& d) {
            d.edt_MapScale->setText(QStringLiteral("300"));
            d.BitBtn1->click();
        },
        shown);
    window->act_SetSetProperty->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(Map().MapScale(), 300);
    EXPECT_EQ(window->cmb_MapScale->currentText(), QStringLiteral("自定义"));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("比例尺：1 : 300"));

    // A bad field keeps the dialog open; Cancel then leaves the plan.
    shown = false;
    bool stayedOpen = false;
    WhenDialogShown(
        [&](Tfrm_EditPlaneMapProperty& d) {
            d.edt_MapScale->setText(QStringLiteral("0"));
            d.BitBtn1->click();
            stayedOpen = d.isVisible();
            d.BitBtn2->click();
        },
        shown);
    window->act_SetSetProperty->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(services.MessageTexts(), QStringList{QStringLiteral("图纸比例尺必须大于 0。")});
    EXPECT_EQ(Map().MapScale(), 300);

    // The custom paper item opens it with the sides editable.
    shown = false;
    WhenDialogShown(
        [](Tfrm_EditPlaneMapProperty& d) {
            EXPECT_EQ(d.cmb_PlanmapSize->currentIndex(), sitelay::kCustomPaperItem);
            EXPECT_FALSE(d.edt_MapWidth->isReadOnly());
            d.edt_MapWidth->setText(QStringLiteral("500"));
            d.edt_MapHeight->setText(QStringLiteral("400"));
            d.BitBtn1->click();
        },
        shown);
    window->cmb_PlanmapSizeClick(sitelay::kCustomPaperItem);
    ASSERT_TRUE(shown);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("平面图尺寸：400 * 500mm"));
    EXPECT_EQ(window->cmb_PlanmapSize->currentIndex(), sitelay::kCustomPaperItem);

    // The scale item "自定义" sets nothing and opens nothing.
    window->cmb_MapScaleClick(window->cmb_MapScale->count() - 1);
    EXPECT_EQ(Map().MapScale(), 300);

    services.QueueAnswer(platform::MessageButton::No);
    window->act_FileClose->trigger();
    EXPECT_FALSE(window->act_SetSetProperty->isEnabled());
}

} // namespace
