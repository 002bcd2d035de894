// Tool pages, the style toolbars and the edit-method panel.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "apps/sitelay/methods_panel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <functional>

namespace {

using ToolPagesTest = MainWindowFixture;

std::vector<int> Tags(const std::vector<QToolButton*>& buttons)
{
    std::vector<int> tags;
    for (const QToolButton* button : buttons)
        tags.push_back(button->property("Tag").toInt());
    return tags;
}

TEST_F(ToolPagesTest, PagesOfferTheShapesWhoseClassesExistAfterTheSelectButton)
{
    ASSERT_EQ(window->PageControl1->count(), 2);
    EXPECT_EQ(window->PageControl1->tabText(0), QStringLiteral(" 基本图形 "));
    EXPECT_EQ(window->PageControl1->tabText(1), QStringLiteral("组合图形"));
    const std::vector<int> basic = Tags(window->PageButtons(0));
    ASSERT_GE(basic.size(), 2u);
    EXPECT_EQ(basic.front(), 0);
    EXPECT_NE(std::find(basic.begin(), basic.end(), 3), basic.end());
    EXPECT_NE(std::find(basic.begin(), basic.end(), 9), basic.end()) << "the arc";
    EXPECT_EQ(Tags(window->PageButtons(1)), (std::vector<int>{0, 100}));
    EXPECT_EQ(window->ToolButtonOf(3)->toolTip(), QStringLiteral("矩形"));
    EXPECT_TRUE(window->PageButtons(0)[0]->isChecked());
}

TEST_F(ToolPagesTest, AFinishedShapeBringsTheSelectButtonBack)
{
    window->ToolButtonOf(3)->click();
    EXPECT_EQ(Map().DrawKind(), 3);
    EXPECT_TRUE(window->ToolButtonOf(3)->isChecked());
    DragOnMap({100, 100}, {300, 220});
    ASSERT_EQ(Map().MapComCount(), 1);
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(0)[0]->isChecked());
    EXPECT_TRUE(Map().IsSelected(Map().MapCom(0)));
    EXPECT_TRUE(window->act_EditDelete->isEnabled());
    EXPECT_TRUE(window->act_EditDeleteAll->isEnabled());
}

TEST_F(ToolPagesTest, LeavingAPageBeforeDrawingPutsBothSelectButtonsDown)
{
    window->PageControl1->setCurrentIndex(1);
    window->ToolButtonOf(100)->click();
    EXPECT_EQ(Map().DrawKind(), 100);
    window->PageControl1->setCurrentIndex(0);
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(0)[0]->isChecked());
    EXPECT_TRUE(window->PageButtons(1)[0]->isChecked());
}

TEST_F(ToolPagesTest, PenStyleChoiceRestylesTheSelectionOrTheDefaults)
{
    testshapes::TTestBox* box = DrawBox({100, 100}, {300, 220});
    ASSERT_EQ(Map().CurPen(), &box->OwnPen);
    window->cmb_PenStyle->activated(1);
    EXPECT_EQ(box->OwnPen.Style(), platform::TPenStyle::psDash);
    EXPECT_EQ(Map().DefaultPen.Style(), platform::TPenStyle::psSolid);

    Map().ClearSelection();
    window->cmb_PenStyle->activated(2);
    EXPECT_EQ(Map().DefaultPen.Style(), platform::TPenStyle::psDot);
    EXPECT_EQ(box->OwnPen.Style(), platform::TPenStyle::psDash);
}

TEST_F(ToolPagesTest, PenWidthAndColourReachTheSelection)
{
    testshapes::TTestBox* box = DrawBox({100, 100}, {300, 220});
    EXPECT_FALSE(window->ud_PenWidthChangingEx(0));
    EXPECT_FALSE(window->ud_PenWidthChangingEx(26));
    EXPECT_EQ(box->OwnPen.Width(), 1);
    window->ud_PenWidth->setValue(4);
    EXPECT_EQ(box->OwnPen.Width(), 4);

    dialogs.colors.push_back(platform::RGB(0, 0, 200));
    window->tbn_PenColor->click();
    EXPECT_EQ(box->OwnPen.Color(), platform::RGB(0, 0, 200));
    dialogs.colors.push_back(std::nullopt);
    window->tbn_PenColor->click();
    EXPECT_EQ(box->OwnPen.Color(), platform::RGB(0, 0, 200));
    EXPECT_EQ(dialogs.colorInitials.back(), platform::RGB(0, 0, 200));
}

TEST_F(ToolPagesTest, EveryStyleChoiceRestylesTheSelectedShapesAndNotTheDefaults)
{
    using platform::TBrushStyle;
    using platform::TPenStyle;
    const platform::TColor blue = platform::RGB(0, 0, 200);
    const int otherFont = window->cmb_FontName->currentIndex() == 0 ? 1 : 0;
    const QString otherFontName = window->cmb_FontName->itemText(otherFont);
    struct Choice {
        const char* what;
        std::function<void()> choose;
        std::function<bool(const TTestLabelBox&)> took;
    };
    const Choice choices[] = {
        {"pen style", [&] { window->cmb_PenStyle->activated(1); },
         [](const TTestLabelBox& s) { return s.OwnPen.Style() == TPenStyle::psDash; }},
        {"pen width", [&] { window->ud_PenWidth->setValue(4); },
         [](const TTestLabelBox& s) { return s.OwnPen.Width() == 4; }},
        {"pen colour", [&] { dialogs.colors.push_back(blue), window->tbn_PenColor->click(); },
         [&](const TTestLabelBox& s) { return s.OwnPen.Color() == blue; }},
        {"brush style", [&] { window->cmb_BrushStyle->activated(2); },
         [](const TTestLabelBox& s) { return s.OwnBrush.Style() == TBrushStyle::bsHorizontal; }},
        {"brush colour", [&] { dialogs.colors.push_back(blue), window->tlbtn_BrushColor->click(); },
         [&](const TTestLabelBox& s) { return s.OwnBrush.Color() == blue; }},
        {"font name", [&] { window->cmb_FontName->activated(otherFont); },
         [&](const TTestLabelBox& s) { return s.OwnTextShow.Font.Name == otherFontName; }},
        {"font size", [&] { window->cmb_FontSize->activated(5); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.Font.Size == 14; }},
        {"bold", [&] { window->tlbtn_FontB->click(); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.Font.Style == platform::fsBold; }},
        {"italic", [&] { window->tlbtn_FontI->click(); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.Font.Style == platform::fsItalic; }},
        {"underline", [&] { window->tlbtn_FontU->click(); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.Font.Style == platform::fsUnderline; }},
        {"right alignment", [&] { window->tlbtn_FontRight->click(); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.HorzAlign() == 2; }},
        {"bottom alignment", [&] { window->tlbtn_FontBottom->click(); },
         [](const TTestLabelBox& s) { return s.OwnTextShow.VertAlign() == 2; }},
        {"font colour", [&] { dialogs.colors.push_back(blue), window->tlbtn_FontColor->click(); },
         [&](const TTestLabelBox& s) { return s.OwnTextShow.Font.Color == blue; }},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.what);
        if (Map().Modified)
            services.QueueAnswer(platform::MessageButton::No);
        window->act_FileNew->trigger();
        const platform::TPen pen = Map().DefaultPen.Value();
        const platform::TBrush brush = Map().DefaultBrush.Value();
        const platform::TFont font = Map().DefaultTextShow.Font;
        // The first selected shape's style is the current one; the second
        // takes the choice only through the plan's selection.
        TTestLabelBox* first = DrawLabelBox({100, 100}, {300, 220});
        TTestLabelBox* second = DrawLabelBox({400, 100}, {500, 220});
        Map().SelectMapCom(first, true);
        Map().SelectMapCom(second, false);
        ASSERT_EQ(Map().CurTextShow(), &first->OwnTextShow);
        c.choose();
        EXPECT_TRUE(c.took(*first));
        EXPECT_TRUE(c.took(*second));
        EXPECT_EQ(Map().DefaultPen.Value(), pen);
        EXPECT_EQ(Map().DefaultBrush.Value(), brush);
        EXPECT_EQ(Map().DefaultTextShow.Font, font);
        EXPECT_EQ(Map().DefaultTextShow.HorzAlign(), 0);
        EXPECT_EQ(Map().DefaultTextShow.VertAlign(), 0);
    }
}

TEST_F(ToolPagesTest, AFontChoiceOnAMixedSelectionChangesOnlyTheCurrentTextSetting)
{
    TTestLabelBox* label = DrawLabelBox({100, 100}, {300, 220});
    testshapes::TTestBox* box = DrawBox({400, 100}, {500, 220});
    Map().SelectMapCom(label, true);
    Map().SelectMapCom(box, false);
    ASSERT_EQ(Map().CurTextShow(), &Map().DefaultTextShow);
    window->tlbtn_FontB->click();
    EXPECT_EQ(label->OwnTextShow.Font.Style, 0);
    EXPECT_EQ(Map().DefaultTextShow.Font.Style, platform::fsBold);
    // Both have a pen: a pen choice reaches both.
    window->cmb_PenStyle->activated(2);
    EXPECT_EQ(label->OwnPen.Style(), platform::TPenStyle::psDot);
    EXPECT_EQ(box->OwnPen.Style(), platform::TPenStyle::psDot);
}

TEST_F(ToolPagesTest, TheToolbarShowsTheCurrentBrushWithoutRestylingTheSelection)
{
    testshapes::TTestBox* a = DrawBox({100, 100}, {200, 200});
    testshapes::TTestBox* b = DrawBox({300, 100}, {400, 200});
    testshapes::TTestBox* c = DrawBox({500, 100}, {600, 200});
    a->OwnBrush.SetStyle(platform::TBrushStyle::bsSolid);
    b->OwnBrush.SetStyle(platform::TBrushStyle::bsHorizontal);
    c->OwnBrush.SetStyle(platform::TBrushStyle::bsCross);
    Map().SelectMapCom(a, true);
    Map().SelectMapCom(b, false);
    Map().SelectMapCom(c, false);
    EXPECT_EQ(window->cmb_BrushStyle->currentIndex(), static_cast<int>(platform::TBrushStyle::bsSolid));

    // B becomes the first selected shape: its brush is shown, and C keeps its own.
    Map().DeleteMapCom(a, true);
    ASSERT_EQ(Map().CurBrush(), &b->OwnBrush);
    EXPECT_EQ(window->cmb_BrushStyle->currentIndex(), static_cast<int>(platform::TBrushStyle::bsHorizontal));
    EXPECT_EQ(c->OwnBrush.Style(), platform::TBrushStyle::bsCross);
    EXPECT_EQ(a->OwnBrush.Style(), platform::TBrushStyle::bsSolid);
}

TEST_F(ToolPagesTest, FontButtonsChangeTheCurrentTextSettingOneStyleEach)
{
    const platform::TFont before = Map().DefaultTextShow.Font;
    window->tlbtn_FontB->click();
    EXPECT_EQ(Map().DefaultTextShow.Font.Style, platform::fsBold);
    window->tlbtn_FontU->click();
    EXPECT_EQ(Map().DefaultTextShow.Font.Style, platform::fsBold | platform::fsUnderline);
    window->tlbtn_FontB->click();
    EXPECT_EQ(Map().DefaultTextShow.Font.Style, platform::fsUnderline);
    window->tlbtn_FontRight->click();
    EXPECT_EQ(Map().DefaultTextShow.HorzAlign(), 2);
    window->tlbtn_FontVCenter->click();
    EXPECT_EQ(Map().DefaultTextShow.VertAlign(), 1);
    window->cmb_FontSize->activated(4);
    EXPECT_EQ(Map().DefaultTextShow.Font.Size, 12);
    EXPECT_EQ(Map().DefaultTextShow.Font.Name, before.Name);
}

TEST_F(ToolPagesTest, ATypedFontSizeChangesNothing)
{
    const int before = Map().DefaultTextShow.Font.Size;
    QLineEdit* edit = window->cmb_FontSize->lineEdit();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    for (const QString& typed : {QStringLiteral("14"), QStringLiteral("13")}) {
        edit->setText(typed);
        QApplication::sendEvent(edit, &enter);
        EXPECT_EQ(Map().DefaultTextShow.Font.Size, before) << typed.toStdString();
    }
    window->cmb_FontSize->activated(5);
    EXPECT_EQ(Map().DefaultTextShow.Font.Size, 14);
}

TEST_F(ToolPagesTest, ThePolylineToolDrawsAPolylineThroughTheHost)
{
    QToolButton* tool = window->ToolButtonOf(siteplan::TVYRLine::Kind);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(window->PageButtons(0)[1], tool);
    EXPECT_EQ(tool->toolTip(), QStringLiteral("折线"));
    EXPECT_FALSE(tool->icon().isNull());

    const std::vector<QPoint> clicked{{100, 100}, {300, 200}, {400, 120}};
    siteplan::TVYRLine* line = DrawPolyline({clicked[0], clicked[1], clicked[2]});
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(Map().MapComCount(), 1);
    ASSERT_EQ(line->GetPointCount(), 3);
    for (int i = 0; i < 3; ++i) {
        // Vertices are snapped to the centimetre of the site, well under a
        // pixel at 1 : 100.
        const QPoint d = InViewport(line->GetPointPos(i)) - clicked[static_cast<std::size_t>(i)];
        EXPECT_LE(d.manhattanLength(), 1) << i;
    }
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(0)[0]->isChecked());
    EXPECT_TRUE(Map().IsSelected(line));
    EXPECT_TRUE(Map().Modified);
    EXPECT_TRUE(window->act_EditDelete->isEnabled());
}

TEST_F(ToolPagesTest, MethodButtonsOfASelectedPolylineAddInsertAndDeletePoints)
{
    siteplan::TVYRLine* line = DrawPolyline({{100, 100}, {300, 200}, {400, 120}});
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(Map().IsSelected(line));
    sitelay::TMethodsPanle& panel = *window->MethodsPanel();
    ASSERT_EQ(panel.ButtonCount(), 3);
    const QString hints[] = {QStringLiteral("增加点"), QStringLiteral("插入点"), QStringLiteral("删除点")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panel.Button(i)->toolTip(), hints[i]);
        EXPECT_FALSE(panel.Button(i)->icon().isNull()) << i;
        EXPECT_FALSE(panel.Button(i)->isChecked()) << i;
    }

    // ADD: a click on the plan becomes the new last vertex.
    panel.Button(0)->click();
    EXPECT_EQ(panel.MethodIndex(), 0);
    EXPECT_EQ(Map().EditMethod(), 0);
    EXPECT_EQ(Map().DrawKind(), 0);
    ClickOnMap({500, 300});
    ASSERT_EQ(line->GetPointCount(), 4);
    EXPECT_LE((InViewport(line->GetPointPos(3)) - QPoint(500, 300)).manhattanLength(), 1);

    // INSERT: a click on the first segment puts a vertex there; the button
    // of ADD went up.
    panel.Button(1)->click();
    EXPECT_FALSE(panel.Button(0)->isChecked());
    EXPECT_EQ(Map().EditMethod(), 1);
    const QPoint middle = InViewport((line->GetPointPos(0) + line->GetPointPos(1)) / 2);
    ClickOnMap(middle);
    ASSERT_EQ(line->GetPointCount(), 5);
    EXPECT_LE((InViewport(line->GetPointPos(1)) - middle).manhattanLength(), 2);
    EXPECT_LE((InViewport(line->GetPointPos(4)) - QPoint(500, 300)).manhattanLength(), 1);

    // DELETE: a click on the handle of a vertex removes it.
    panel.Button(2)->click();
    EXPECT_EQ(Map().EditMethod(), 2);
    const QPoint second = line->GetPointPos(2);
    const QPoint third = line->GetPointPos(3);
    ClickOnMap(InViewport(second));
    ASSERT_EQ(line->GetPointCount(), 4);
    EXPECT_EQ(line->GetPointPos(2), third);
    EXPECT_TRUE(Map().Modified);

    // A selection change that leaves the same single shape keeps the armed
    // method; a second press disarms it.
    Map().onSelectChanged(&Map(), Map().Selection());
    EXPECT_EQ(panel.MethodIndex(), 2);
    EXPECT_TRUE(panel.Button(2)->isChecked());
    panel.Button(2)->click();
    EXPECT_EQ(panel.MethodIndex(), -1);
    EXPECT_EQ(Map().EditMethod(), -1);
}

TEST_F(ToolPagesTest, MethodButtonsFollowTheSingleSelectedPointShape)
{
    siteplan::TVYRLine* line = DrawPolyline({{100, 100}, {300, 200}, {400, 120}});
    ASSERT_NE(line, nullptr);
    sitelay::TMethodsPanle& panel = *window->MethodsPanel();
    ASSERT_EQ(panel.ButtonCount(), 3);

    // Arming a method while another page's tool is chosen leaves no tool
    // button down but the select buttons.
    window->PageControl1->setCurrentIndex(1);
    window->ToolButtonOf(100)->click();
    ASSERT_EQ(Map().DrawKind(), 100);
    panel.Button(0)->click();
    EXPECT_EQ(Map().EditMethod(), 0);
    EXPECT_EQ(Map().DrawKind(), 0);
    EXPECT_TRUE(window->PageButtons(1)[0]->isChecked());
    EXPECT_TRUE(window->PageButtons(0)[0]->isChecked());
    window->PageControl1->setCurrentIndex(0);

    // When the line stops being shown, its armed method is disarmed in the
    // plan as well.
    Map().ClearSelection();
    EXPECT_EQ(panel.ButtonCount(), 0);
    EXPECT_EQ(Map().EditMethod(), -1);

    // A box has no methods; two shapes show none either.
    testshapes::TTestBox* box = DrawBox({500, 300}, {600, 380});
    EXPECT_EQ(panel.ButtonCount(), 0);
    Map().SelectMapCom(line, false);
    ASSERT_EQ(Map().SelectedCount(), 2);
    EXPECT_EQ(panel.ButtonCount(), 0);
    EXPECT_EQ(panel.MapCom(), nullptr);
    Map().SelectMapCom(line, true);
    EXPECT_EQ(panel.MapCom(), line);
    EXPECT_EQ(panel.ButtonCount(), 3);
    Map().SelectMapCom(box, true);
    EXPECT_EQ(panel.MapCom(), box);
    EXPECT_EQ(panel.ButtonCount(), 0);
}

} // namespace
