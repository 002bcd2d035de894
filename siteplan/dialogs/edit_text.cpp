#include "edit_text.h"

#include "edit_brush_property.h"
#include "edit_pen_property.h"
#include "text_show_page.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include <memory>

namespace siteplan {

TFrm_EditText::TFrm_EditText(QWidget* parent)
    : TFrm_EditProperty(parent),
      Memo1(new QPlainTextEdit),
      CheckBox1(new QCheckBox(QStringLiteral("显示外框矩形"))),
      TextShowPage(new TTextShowPage(CheckBox1)),
      fra_EditPenProperty1(new Tfra_EditPenProperty),
      fra_EditBrushProperty1(new Tfra_EditBrushProperty)
{
    setWindowTitle(QStringLiteral("编辑文本属性"));
    AddTab(QStringLiteral("文本属性"), Memo1);
    AddTab(QStringLiteral("其它属性"), TextShowPage);
    AddTab(QStringLiteral("画笔属性"), fra_EditPenProperty1);
    AddTab(QStringLiteral("画刷属性"), fra_EditBrushProperty1);
}

void TFrm_EditText::LoadFrom(TMapPen& pen, TMapBrush& brush, const QString& text, bool showOutRect,
                             const TTextShowSet& textShow)
{
    fra_EditPenProperty1->LoadFromPen(pen);
    fra_EditBrushProperty1->LoadFromBrush(brush);
    QString lines = text;
    Memo1->setPlainText(lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    CheckBox1->setChecked(showOutRect);
    TextShowPage->LoadFrom(textShow);
}

void TFrm_EditText::SaveTo(QString& text, bool& showOutRect, TTextShowSet& textShow)
{
    fra_EditPenProperty1->SaveToPen();
    fra_EditBrushProperty1->SaveToBrush();
    text = Memo1->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    showOutRect = CheckBox1->isChecked();
    TextShowPage->SaveTo(textShow);
}

bool ExecuteEditText(TMapPen& pen, TMapBrush& brush, QString& text, bool& showOutRect, TTextShowSet& textShow)
{
    const auto form = std::make_unique<TFrm_EditText>(DialogParent());
    form->LoadFrom(pen, brush, text, showOutRect, textShow);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo(text, showOutRect, textShow);
    return true;
}

} // namespace siteplan
