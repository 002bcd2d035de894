#include "tests/siteplan/dialogs/modal_driver.h"

#include "siteplan/dialogs/color_swatch.h"
#include "siteplan/dialogs/dialog_property_editor.h"
#include "siteplan/dialogs/edit_brush_property.h"
#include "siteplan/dialogs/edit_line.h"
#include "siteplan/dialogs/edit_pen.h"
#include "siteplan/dialogs/edit_pen_and_brush.h"
#include "siteplan/dialogs/edit_pen_property.h"
#include "siteplan/dialogs/edit_picture.h"
#include "siteplan/dialogs/edit_plane_property.h"
#include "siteplan/dialogs/edit_text.h"
#include "siteplan/dialogs/font_panel.h"
#include "siteplan/dialogs/picture_image.h"
#include "siteplan/dialogs/radio_group.h"
#include "siteplan/dialogs/text_show_page.h"
#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/plane_map.h"
#include "siteplan/text_show_set.h"
#include "siteplan/shapes/vyr_line.h"

#include "platform/picture/picture.h"
#include "tests/support/fake_window_services.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using platform::TBrushStyle;
using platform::TPenStyle;
using siteplan::TMapBrush;
using siteplan::TMapPen;
using siteplan::TTextShowSet;

namespace {

QStringList TabCaptions(const siteplan::TFrm_EditProperty& form)
{
    QStringList result;
    for (int i = 0; i < form.PageControl1->count(); ++i)
        result << form.PageControl1->tabText(i);
    return result;
}

// Types text into the edit key by key, as a keyboard or input method would.
void Type(QWidget* edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

// Closes the form with OK or Cancel, as the user would.
void Close(siteplan::TFrm_EditProperty& form, bool ok)
{
    EXPECT_EQ(form.bbtn_OK->text(), "确认");
    EXPECT_EQ(form.bbtn_Cancel->text(), "取消");
    (ok ? form.bbtn_OK : form.bbtn_Cancel)->click();
}

// The same edits in every pen frame: red, width 9, dotted.
void EditPen(siteplan::Tfra_EditPenProperty& frame)
{
    frame.lb_PenColor->SetColor(platform::clRed);
    frame.ud_PenWidth->SetPosition(9);
    frame.StyleButtons[2]->click();
}

void ExpectEditedPen(const TMapPen& pen, bool ok)
{
    const platform::TPen edited{platform::clRed, TPenStyle::psDot, 9};
    const platform::TPen original{platform::clBlue, TPenStyle::psSolid, 1};
    EXPECT_EQ(pen.Value(), ok ? edited : original);
}

TMapPen BluePen()
{
    TMapPen pen;
    pen.SetColor(platform::clBlue);
    return pen;
}

TMapBrush GreenCrossBrush()
{
    TMapBrush brush;
    brush.SetColor(platform::clGreen);
    brush.SetStyle(TBrushStyle::bsCross);
    return brush;
}

// Yellow, diagonal cross ("45度网格").
void EditBrush(siteplan::Tfra_EditBrushProperty& frame)
{
    frame.lb_BrushColor->SetColor(platform::clYellow);
    frame.StyleButtons[5]->click();
}

void ExpectEditedBrush(const TMapBrush& brush, bool ok)
{
    EXPECT_EQ(brush.Color(), ok ? platform::clYellow : platform::clGreen);
    EXPECT_EQ(brush.Style(), ok ? TBrushStyle::bsDiagCross : TBrushStyle::bsCross);
}

TEST(PropertyForm, FixedSizeWithItsButtons)
{
    siteplan::TFrm_EditPen form;
    EXPECT_EQ(form.size(), QSize(448, 299));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.Panel1->height(), 41);
    EXPECT_TRUE(form.bbtn_OK->isDefault());
}

TEST(ExecuteEditPen, CaptionAndWriteBackOnlyOnOk)
{
    const struct {
        QString Caption;
        QString Shown;
    } captions[] = {{"", "编辑画笔"}, {"编辑圆弧属性", "编辑圆弧属性"}};
    for (const auto& c : captions) {
        for (const bool ok : {true, false}) {
            TMapPen pen = BluePen();
            WhenDialog<siteplan::TFrm_EditPen>([&](siteplan::TFrm_EditPen& form) {
                EXPECT_EQ(form.windowTitle(), c.Shown);
                EXPECT_EQ(TabCaptions(form), QStringList{"画笔属性"});
                EXPECT_EQ(form.fra_EditPenProperty1->lb_PenColor->Color(), platform::clBlue);
                EditPen(*form.fra_EditPenProperty1);
                Close(form, ok);
            });
            EXPECT_EQ(siteplan::ExecuteEditPen(pen, c.Caption), ok);
            ExpectEditedPen(pen, ok);
        }
    }
}

TEST(ExecuteEditPenAndBrush, CaptionAndWriteBackOnlyOnOk)
{
    const struct {
        QString Caption;
        QString Shown;
    } captions[] = {{"", "编辑画笔和画刷"}, {"编辑椭圆属性", "编辑椭圆属性"}};
    for (const auto& c : captions) {
        for (const bool ok : {true, false}) {
            TMapPen pen = BluePen();
            TMapBrush brush = GreenCrossBrush();
            WhenDialog<siteplan::TFrm_EditPenAndBrush>([&](siteplan::TFrm_EditPenAndBrush& form) {
                EXPECT_EQ(form.windowTitle(), c.Shown);
                EXPECT_EQ(TabCaptions(form), QStringList({"画笔属性", "画刷属性"}));
                EXPECT_EQ(form.fra_EditBrushProperty1->GetStyle(), 6);
                EditPen(*form.fra_EditPenProperty1);
                EditBrush(*form.fra_EditBrushProperty1);
                Close(form, ok);
            });
            EXPECT_EQ(siteplan::ExecuteEditPenAndBrush(pen, brush, c.Caption), ok);
            ExpectEditedPen(pen, ok);
            ExpectEditedBrush(brush, ok);
        }
    }
}

TEST(ExecuteEditLine, LabelAndPen)
{
    const struct {
        const char* Name;
        QString Word;
        bool Clear;      // the loaded label is erased first
        QString Typed;   // then this is typed at its end
        bool Ok;
        QString Stored;
    } cases[] = {
        {"typing stops at two characters", "", false, "墙体x", true, "墙体"},
        {"a label cleared is stored empty", "围", true, "", true, ""},
        {"a longer label from a file is kept", "临时道路", false, "", true, "临时道路"},
        {"and cannot grow", "临时道路", false, "x", true, "临时道路"},
        {"but shortens", "临时道路", false, "\b", true, "临时道"},
        {"cancel keeps the label", "围", false, "墙", false, "围"},
    };
    for (const auto& c : cases) {
        TMapPen pen = BluePen();
        QString word = c.Word;
        WhenDialog<siteplan::TFrm_EditLine>([&](siteplan::TFrm_EditLine& form) {
            EXPECT_EQ(form.windowTitle(), "线段属性设置");
            EXPECT_EQ(TabCaptions(form), QStringList({"基本属性", "其他属性"}));
            EXPECT_EQ(form.Edit1->text(), c.Word) << c.Name;
            if (c.Clear)
                form.Edit1->clear();
            form.Edit1->end(false);
            if (c.Typed == "\b")
                QTest::keyClick(form.Edit1, Qt::Key_Backspace);
            else
                Type(form.Edit1, c.Typed);
            EditPen(*form.fra_EditPenProperty1);
            Close(form, c.Ok);
        });
        EXPECT_EQ(siteplan::ExecuteEditLine(pen, word), c.Ok) << c.Name;
        EXPECT_EQ(word, c.Stored) << c.Name;
        ExpectEditedPen(pen, c.Ok);
    }
}

// The line dialog as the polyline opens it: OK stores the label and the
// pen and marks the plan modified; Cancel changes nothing.
TEST(PolylineProperties, LineDialogThroughEditProperty)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    siteplan::TDialogPropertyEditor editor;
    map.SetPropertyEditor(&editor);
    map.DefaultPen.SetColor(platform::clBlue);
    auto* line = static_cast<siteplan::TVYRLine*>(map.AddMapCom(map.CreateMapCom(siteplan::TVYRLine::Kind)));
    line->SetShowWord("围");
    map.SelectMapCom(line, true);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        map.Modified = false;
        WhenDialog<siteplan::TFrm_EditLine>([&](siteplan::TFrm_EditLine& form) {
            EXPECT_EQ(form.Edit1->text(), "围");
            EXPECT_EQ(form.fra_EditPenProperty1->lb_PenColor->Color(), platform::clBlue);
            form.Edit1->end(false);
            Type(form.Edit1, "墙");
            EditPen(*form.fra_EditPenProperty1);
            Close(form, ok);
        });
        map.EditProperties();
        EXPECT_EQ(line->ShowWord(), ok ? "围墙" : "围");
        ExpectEditedPen(line->OwnPen, ok);
        EXPECT_EQ(map.Modified, ok);
    }
}

TTextShowSet SampleTextShow()
{
    TTextShowSet textShow;
    textShow.Font.Name = "黑体";
    textShow.Font.Size = 14;
    textShow.Font.Color = platform::clMaroon;
    textShow.Font.Escapement = 900;
    textShow.SetHorzAlign(2);
    textShow.SetVertAlign(1);
    return textShow;
}

TEST(ExecuteEditText, LoadsEveryControlAndWritesBackOnOk)
{
    for (const bool ok : {true, false}) {
        TMapPen pen = BluePen();
        TMapBrush brush = GreenCrossBrush();
        QString text = "第一行\r\n第二行";
        bool showOutRect = true;
        TTextShowSet textShow = SampleTextShow();
        int changes = 0;
        textShow.OnChange = [&](TTextShowSet*) { ++changes; };
        WhenDialog<siteplan::TFrm_EditText>([&](siteplan::TFrm_EditText& form) {
            EXPECT_FALSE(form.windowTitle().isEmpty());
            EXPECT_EQ(TabCaptions(form), QStringList({"文本属性", "其它属性", "画笔属性", "画刷属性"}));
            EXPECT_EQ(form.Memo1->toPlainText(), "第一行\n第二行");
            EXPECT_TRUE(form.CheckBox1->isChecked());
            EXPECT_EQ(form.CheckBox1->text(), "显示外框矩形");
            siteplan::TTextShowPage& page = *form.TextShowPage;
            EXPECT_EQ(page.pnl_Font->Font(), SampleTextShow().Font);
            EXPECT_EQ(page.rgp_HorzAlign->ItemIndex(), 2);
            EXPECT_EQ(page.rgp_VertAlign->ItemIndex(), 1);
            EXPECT_EQ(form.fra_EditBrushProperty1->GetStyle(), 6);

            form.Memo1->setPlainText("一\n二\n三");
            form.CheckBox1->setChecked(false);
            platform::TFont font = page.pnl_Font->Font();
            font.Name = "宋体";
            font.Style = platform::fsBold;
            page.pnl_Font->SetFont(font);
            page.rgp_HorzAlign->Button(0)->click();
            page.rgp_VertAlign->Button(2)->click();
            EditPen(*form.fra_EditPenProperty1);
            EditBrush(*form.fra_EditBrushProperty1);
            Close(form, ok);
        });
        EXPECT_EQ(siteplan::ExecuteEditText(pen, brush, text, showOutRect, textShow), ok);
        ExpectEditedPen(pen, ok);
        ExpectEditedBrush(brush, ok);
        EXPECT_EQ(text, ok ? "一\r\n二\r\n三" : "第一行\r\n第二行");
        EXPECT_EQ(showOutRect, !ok);
        EXPECT_EQ(textShow.Font.Name, ok ? "宋体" : "黑体");
        EXPECT_EQ(textShow.Font.Style, ok ? platform::fsBold : 0);
        EXPECT_EQ(textShow.Font.Escapement, 900);
        EXPECT_EQ(textShow.HorzAlign(), ok ? 0 : 2);
        EXPECT_EQ(textShow.VertAlign(), ok ? 2 : 1);
        EXPECT_EQ(changes, ok ? 2 : 0);
    }
}

TEST(TextShowPage, FontButtonAndAlignmentOutsideTheGroups)
{
    siteplan::TTextShowPage page;
    TTextShowSet textShow = SampleTextShow();
    textShow.SetHorzAlign(7);
    page.LoadFrom(textShow);
    EXPECT_EQ(page.rgp_HorzAlign->ItemIndex(), -1);
    for (const bool ok : {false, true}) {
        WhenDialog<QFontDialog>([ok](QFontDialog& dialog) {
            EXPECT_EQ(dialog.currentFont().pointSize(), 14) << "starts with the panel's font";
            EXPECT_EQ(dialog.windowTitle(), "字体");
            EXPECT_EQ(ButtonTexts(dialog), QStringList({"确定", "取消"}));
            QFont font = dialog.currentFont();
            font.setPointSize(20);
            font.setUnderline(true);
            dialog.setCurrentFont(font);
            ok ? dialog.accept() : dialog.reject();
        });
        page.Button1->click();
        EXPECT_EQ(page.pnl_Font->Font().Size, ok ? 20 : 14) << "the panel changes on OK only";
    }
    const platform::TFont chosen = page.pnl_Font->Font();
    EXPECT_EQ(chosen.Style, platform::fsUnderline);
    EXPECT_EQ(chosen.Name, "黑体") << "the stored face name stays when the face is not changed";
    EXPECT_EQ(chosen.Color, platform::clMaroon);
    page.SaveTo(textShow);
    EXPECT_EQ(textShow.Font, chosen);
    EXPECT_EQ(textShow.HorzAlign(), 7) << "no button checked: the alignment stays";
}

TEST(ExecuteEditPlaneProperty, WritesTheDefaultsOnOk)
{
    for (const bool ok : {true, false}) {
        TMapPen pen = BluePen();
        TMapBrush brush = GreenCrossBrush();
        TTextShowSet textShow = SampleTextShow();
        WhenDialog<siteplan::TFrm_EditPlaneProperty>([&](siteplan::TFrm_EditPlaneProperty& form) {
            EXPECT_EQ(form.windowTitle(), "设置缺省属性");
            EXPECT_EQ(TabCaptions(form), QStringList({"画笔属性", "画刷属性", "文本属性"}));
            EXPECT_EQ(form.TextShowPage->rgp_HorzAlign->ItemIndex(), 2);
            platform::TFont font = form.TextShowPage->pnl_Font->Font();
            font.Size = 20;
            form.TextShowPage->pnl_Font->SetFont(font);
            form.TextShowPage->rgp_VertAlign->Button(0)->click();
            EditPen(*form.fra_EditPenProperty1);
            EditBrush(*form.fra_EditBrushProperty1);
            Close(form, ok);
        });
        EXPECT_EQ(siteplan::ExecuteEditPlaneProperty(pen, brush, textShow), ok);
        ExpectEditedPen(pen, ok);
        ExpectEditedBrush(brush, ok);
        EXPECT_EQ(textShow.Font.Size, ok ? 20 : 14);
        EXPECT_EQ(textShow.VertAlign(), ok ? 0 : 1);
        EXPECT_EQ(textShow.HorzAlign(), 2);
    }
}

TEST(PlanDefaults, ConfirmedDefaultsDialogMarksThePlanModified)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    siteplan::TDialogPropertyEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        map.Modified = false;
        WhenDialog<siteplan::TFrm_EditPlaneProperty>([&](siteplan::TFrm_EditPlaneProperty& form) {
            form.fra_EditPenProperty1->ud_PenWidth->SetPosition(4);
            Close(form, ok);
        });
        map.EditProperties();
        EXPECT_EQ(map.DefaultPen.Width(), ok ? 4 : 1);
        EXPECT_EQ(map.Modified, ok);
    }
}

QByteArray BitmapFile(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct PictureDialog : ::testing::Test {
    QTemporaryDir dir;
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    platform::TPicture Picture(QSize size, QColor colour)
    {
        platform::TPicture picture;
        picture.SetGraphic(platform::TGraphicKind::Bitmap, BitmapFile(size, colour));
        return picture;
    }
};

TEST_F(PictureDialog, LoadsAndWritesBackOnOk)
{
    const platform::TPicture original = Picture({20, 10}, Qt::red);
    const platform::TPicture other = Picture({8, 8}, Qt::blue);
    const QString otherFile = Write("other.bmp", other.Bytes());
    for (const bool ok : {true, false}) {
        for (const bool stretch : {true, false}) {
            TMapPen pen = BluePen();
            platform::TPicture picture = original;
            bool showOutRect = false;
            WhenDialog<siteplan::TFrm_EditPicture>([&](siteplan::TFrm_EditPicture& form) {
                EXPECT_EQ(form.windowTitle(), "编辑图片属性");
                EXPECT_EQ(TabCaptions(form), QStringList({"基本属性", "外框设置"}));
                EXPECT_EQ(form.Image1->Picture(), original);
                EXPECT_EQ(form.ckb_Stretch->isChecked(), stretch);
                EXPECT_EQ(form.Image1->Stretch(), stretch);
                EXPECT_FALSE(form.ckb_Stretch->isEnabled()) << "the user cannot change Stretch";
                EXPECT_TRUE(form.LoadPictureFile(otherFile));
                form.ckb_ShowOutRect->click();
                EditPen(*form.fra_EditPenProperty1);
                Close(form, ok);
            });
            EXPECT_EQ(siteplan::ExecuteEditPicture(pen, picture, showOutRect, stretch), ok);
            ExpectEditedPen(pen, ok);
            EXPECT_EQ(showOutRect, ok);
            EXPECT_EQ(picture, ok ? other : original);
            EXPECT_EQ(picture.Width(), ok ? 8 : 20) << "decoded, not only copied";
        }
    }
}

TEST_F(PictureDialog, ClearedPictureIsStoredEmpty)
{
    TMapPen pen;
    platform::TPicture picture = Picture({20, 10}, Qt::red);
    bool showOutRect = true;
    WhenDialog<siteplan::TFrm_EditPicture>([&](siteplan::TFrm_EditPicture& form) {
        form.Button2->click();
        EXPECT_TRUE(form.Image1->Picture().Empty());
        Close(form, true);
    });
    EXPECT_TRUE(siteplan::ExecuteEditPicture(pen, picture, showOutRect, false));
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(showOutRect);
}

TEST_F(PictureDialog, ChoosingAPictureOpensAChineseFileDialog)
{
    siteplan::TFrm_EditPicture form;
    const platform::TPicture original = Picture({20, 10}, Qt::red);
    TMapPen pen;
    form.LoadFrom(pen, original, false, false);
    WhenDialog<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "打开图片");
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept), "打开");
        EXPECT_EQ(dialog.labelText(QFileDialog::Reject), "取消");
        EXPECT_EQ(dialog.labelText(QFileDialog::FileName), "文件名：");
        dialog.reject();
    });
    form.Button1->click();
    EXPECT_EQ(form.Image1->Picture(), original) << "a cancelled choice keeps the picture";
}

TEST_F(PictureDialog, UnreadableFileIsReportedAndTheDialogStaysOpen)
{
    const QString bad = Write("broken.bmp", "BM this is no bitmap");
    TMapPen pen;
    const platform::TPicture original = Picture({20, 10}, Qt::red);
    platform::TPicture picture = original;
    bool showOutRect = false;
    QString message;
    WhenDialog<siteplan::TFrm_EditPicture>([&](siteplan::TFrm_EditPicture& form) {
        WhenDialog<QMessageBox>(
            [&](QMessageBox& box) {
                message = box.text();
                EXPECT_EQ(ButtonTexts(box), QStringList{"确定"});
                box.accept();
            },
            &form);
        EXPECT_FALSE(form.LoadPictureFile(bad));
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.Image1->Picture(), original) << "the picture stays as it was";
        Close(form, true);
    });
    EXPECT_TRUE(siteplan::ExecuteEditPicture(pen, picture, showOutRect, false));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(picture, original);
}

} // namespace
