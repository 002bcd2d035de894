#include "edit_plane_property.h"

#include "edit_brush_property.h"
#include "edit_pen_property.h"
#include "text_show_page.h"

#include <memory>

namespace siteplan {

TFrm_EditPlaneProperty::TFrm_EditPlaneProperty(QWidget* parent)
    : TFrm_EditProperty(parent),
      fra_EditPenProperty1(new Tfra_EditPenProperty),
      fra_EditBrushProperty1(new Tfra_EditBrushProperty),
      TextShowPage(new TTextShowPage)
{
    setWindowTitle(QStringLiteral("设置缺省属性"));
    AddTab(QStringLiteral("画笔属性"), fra_EditPenProperty1);
    AddTab(QStringLiteral("画刷属性"), fra_EditBrushProperty1);
    AddTab(QStringLiteral("文本属性"), TextShowPage);
}

void TFrm_EditPlaneProperty::LoadFrom(TMapPen& pen, TMapBrush& brush, const TTextShowSet& textShow)
{
    fra_EditPenProperty1->LoadFromPen(pen);
    fra_EditBrushProperty1->LoadFromBrush(brush);
    TextShowPage->LoadFrom(textShow);
}

void TFrm_EditPlaneProperty::SaveTo(TTextShowSet& textShow)
{
    fra_EditPenProperty1->SaveToPen();
    fra_EditBrushProperty1->SaveToBrush();
    TextShowPage->SaveTo(textShow);
}

bool ExecuteEditPlaneProperty(TMapPen& pen, TMapBrush& brush, TTextShowSet& textShow)
{
    const auto form = std::make_unique<TFrm_EditPlaneProperty>(DialogParent());
    form->LoadFrom(pen, brush, textShow);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo(textShow);
    return true;
}

} // namespace siteplan
