#include "tests/siteplan/dialogs/modal_driver.h"

#include "siteplan/dialogs/color_swatch.h"
#include "siteplan/dialogs/edit_brush_property.h"
#include "siteplan/dialogs/edit_pen_property.h"
#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

using platform::TBrushStyle;
using platform::TPenStyle;
using siteplan::TMapBrush;
using siteplan::TMapPen;
using siteplan::Tfra_EditBrushProperty;
using siteplan::Tfra_EditPenProperty;

namespace {

TMapPen MakePen(platform::TColor color, TPenStyle style, int width)
{
    TMapPen pen;
    pen.SetColor(color);
    pen.SetStyle(style);
    pen.SetWidth(width);
    return pen;
}

TEST(PenFrame, StartsAsTheFormAndLoadsThePen)
{
    Tfra_EditPenProperty frame;
    EXPECT_EQ(frame.Edit1->text(), "1");
    EXPECT_TRUE(frame.Edit1->isReadOnly());
    EXPECT_TRUE(frame.StyleButtons[0]->isChecked());
    EXPECT_EQ(frame.lb_PenColor->Color(), platform::clBlack);
    ASSERT_EQ(frame.StyleButtons.size(), 7u);
    const QStringList captions = {"实线", "虚线", "点线", "点划线", "双点划线", "无", "内实线"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(frame.StyleButtons[i]->text(), captions[i]);
        EXPECT_EQ(frame.StylePreviews[i]->Tag(), i);
        EXPECT_EQ(frame.StylePreviews[i]->size(), QSize(90, 17));
    }

    TMapPen pen = MakePen(platform::clRed, TPenStyle::psDashDot, 50);
    frame.LoadFromPen(pen);
    EXPECT_EQ(frame.Edit1->text(), "50");
    EXPECT_EQ(frame.GetStyle(), 3);
    EXPECT_TRUE(frame.StyleButtons[3]->isChecked());
    EXPECT_EQ(frame.lb_PenColor->Color(), platform::clRed);

    // The up-down stays within 1 and 50.
    frame.ud_PenWidth->stepUp();
    EXPECT_EQ(frame.ud_PenWidth->Position(), 50);
    frame.ud_PenWidth->SetPosition(0);
    EXPECT_EQ(frame.ud_PenWidth->Position(), 1);
    frame.ud_PenWidth->stepDown();
    EXPECT_EQ(frame.Edit1->text(), "1");
}

TEST(PenFrame, WritesOnlyOnSaveInColourWidthStyleOrder)
{
    Tfra_EditPenProperty frame;
    TMapPen pen = MakePen(platform::clBlue, TPenStyle::psSolid, 2);
    std::vector<platform::TPen> changes;
    pen.OnChange = [&](TMapPen* p) { changes.push_back(p->Value()); };
    frame.LoadFromPen(pen);
    frame.lb_PenColor->SetColor(platform::clGreen);
    frame.ud_PenWidth->SetPosition(7);
    frame.StyleButtons[6]->click();
    EXPECT_TRUE(changes.empty()) << "the frame edits its controls, not the pen";

    frame.SaveToPen();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].Color, platform::clGreen);
    EXPECT_EQ(changes[0].Width, 2);
    EXPECT_EQ(changes[1].Width, 7);
    EXPECT_EQ(changes[1].Style, TPenStyle::psSolid);
    EXPECT_EQ(pen.Style(), TPenStyle::psInsideFrame);
}

TEST(PenFrame, StyleLookupByTag)
{
    Tfra_EditPenProperty frame;
    frame.SetStyle(4);
    EXPECT_EQ(frame.GetStyle(), 4);
    frame.SetStyle(9); // no button has this Tag: nothing changes
    EXPECT_EQ(frame.GetStyle(), 4);
    EXPECT_TRUE(frame.StyleButtons[4]->isChecked());
}

TEST(PenFrame, PreviewDrawsItsStyleInTheCurrentColourAndWidth)
{
    Tfra_EditPenProperty frame;
    TMapPen pen = MakePen(platform::clRed, TPenStyle::psSolid, 5);
    frame.LoadFromPen(pen);
    frame.lb_PenColor->SetColor(platform::clBlue);
    const QImage solid = frame.StylePreviews[0]->grab().toImage();
    const QImage clear = frame.StylePreviews[5]->grab().toImage();
    const int middle = solid.height() / 2;
    EXPECT_EQ(solid.pixelColor(45, middle), QColor(Qt::blue));
    EXPECT_EQ(solid.pixelColor(45, middle - 2), QColor(Qt::blue)) << "five pixels wide";
    EXPECT_NE(solid.pixelColor(45, 0), QColor(Qt::blue));
    EXPECT_EQ(clear.pixelColor(45, middle), frame.palette().window().color()) << "the clear pen draws nothing";
}

TEST(PenFrame, ColourButtonTakesTheChosenColourOnOkOnly)
{
    for (const bool ok : {true, false}) {
        Tfra_EditPenProperty frame;
        TMapPen pen = MakePen(platform::clRed, TPenStyle::psSolid, 1);
        frame.LoadFromPen(pen);
        WhenDialog<QColorDialog>([ok](QColorDialog& dialog) {
            EXPECT_EQ(dialog.currentColor(), QColor(Qt::red)) << "preset with the swatch";
            EXPECT_EQ(dialog.windowTitle(), "颜色");
            EXPECT_EQ(ButtonTexts(dialog), QStringList({"确定", "取消"}));
            dialog.setCurrentColor(QColor(0, 128, 0));
            ok ? dialog.accept() : dialog.reject();
        });
        frame.Button1->click();
        EXPECT_EQ(frame.lb_PenColor->Color(), ok ? platform::clGreen : platform::clRed);
        EXPECT_EQ(pen.Color(), platform::clRed);
    }
}

TEST(BrushFrame, CaptionsGiveTheirStyleOrdinals)
{
    Tfra_EditBrushProperty frame;
    EXPECT_EQ(frame.GetStyle(), 1) << "\"无\" is checked in the form";
    EXPECT_FALSE(frame.Button2->isEnabled());
    const struct {
        const char* Caption;
        TBrushStyle Style;
    } cases[] = {
        {"颜色", TBrushStyle::bsSolid},      {"无", TBrushStyle::bsClear},
        {"45度斜线", TBrushStyle::bsBDiagonal}, {"315度斜线", TBrushStyle::bsFDiagonal},
        {"网格", TBrushStyle::bsCross},      {"45度网格", TBrushStyle::bsDiagCross},
        {"水平线", TBrushStyle::bsHorizontal}, {"垂直线", TBrushStyle::bsVertical},
    };
    ASSERT_EQ(frame.StyleButtons.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const auto& c = cases[i];
        QRadioButton* button = frame.StyleButtons[i];
        EXPECT_EQ(button->text(), QString::fromUtf8(c.Caption)) << "control order";
        EXPECT_EQ(frame.StylePreviews[i]->Tag(), static_cast<int>(c.Style)) << c.Caption;
        TMapBrush brush;
        frame.LoadFromBrush(brush);
        button->click();
        frame.SaveToBrush();
        EXPECT_EQ(brush.Style(), c.Style) << c.Caption;
    }
}

TEST(BrushFrame, LoadsAndSavesColourAndStyle)
{
    Tfra_EditBrushProperty frame;
    TMapBrush brush;
    brush.SetColor(platform::clYellow);
    brush.SetStyle(TBrushStyle::bsCross);
    frame.LoadFromBrush(brush);
    EXPECT_EQ(frame.GetStyle(), 6);
    EXPECT_EQ(frame.lb_BrushColor->Color(), platform::clYellow);

    frame.lb_BrushColor->SetColor(platform::clBtnFace);
    frame.SetStyle(42);
    EXPECT_EQ(frame.GetStyle(), 6);
    frame.SaveToBrush();
    EXPECT_EQ(brush.Color(), platform::clBtnFace) << "system colours pass through";
    EXPECT_EQ(brush.Style(), TBrushStyle::bsCross);
}

TEST(BrushFrame, PreviewFillsWithItsStyleInTheSwatchColour)
{
    Tfra_EditBrushProperty frame;
    TMapBrush brush;
    frame.LoadFromBrush(brush);
    frame.lb_BrushColor->SetColor(platform::clRed);
    const QImage solid = frame.StylePreviews[0]->grab().toImage();
    EXPECT_EQ(solid.pixelColor(10, 10), QColor(Qt::red));
    // A clear pen leaves the last column and row of the box unfilled.
    EXPECT_NE(solid.pixelColor(solid.width() - 1, 10), QColor(Qt::red));
    const QImage horizontal = frame.StylePreviews[6]->grab().toImage();
    int red = 0;
    for (int y = 0; y < horizontal.height(); ++y)
        red += horizontal.pixelColor(10, y) == QColor(Qt::red);
    EXPECT_GT(red, 0);
    EXPECT_LT(red, horizontal.height() / 2) << "hatch lines, not a fill";
}

} // namespace
