#include "edit_pen_and_brush.h"

#include "edit_brush_property.h"
#include "edit_pen_property.h"

#include <memory>

namespace siteplan {

TFrm_EditPenAndBrush::TFrm_EditPenAndBrush(QWidget* parent)
    : TFrm_EditProperty(parent),
      fra_EditPenProperty1(new Tfra_EditPenProperty),
      fra_EditBrushProperty1(new Tfra_EditBrushProperty)
{
    AddTab(QStringLiteral("画笔属性"), fra_EditPenProperty1);
    AddTab(QStringLiteral("画刷属性"), fra_EditBrushProperty1);
}

void TFrm_EditPenAndBrush::LoadFrom(TMapPen& pen, TMapBrush& brush)
{
    fra_EditPenProperty1->LoadFromPen(pen);
    fra_EditBrushProperty1->LoadFromBrush(brush);
}

void TFrm_EditPenAndBrush::SaveTo()
{
    fra_EditPenProperty1->SaveToPen();
    fra_EditBrushProperty1->SaveToBrush();
}

bool ExecuteEditPenAndBrush(TMapPen& pen, TMapBrush& brush, const QString& caption)
{
    const auto form = std::make_unique<TFrm_EditPenAndBrush>(DialogParent());
    form->setWindowTitle(caption.isEmpty() ? QStringLiteral("编辑画笔和画刷") : caption);
    form->LoadFrom(pen, brush);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo();
    return true;
}

} // namespace siteplan
