#include "edit_pen.h"

#include "edit_pen_property.h"

#include <memory>

namespace siteplan {

TFrm_EditPen::TFrm_EditPen(QWidget* parent) : TFrm_EditProperty(parent), fra_EditPenProperty1(new Tfra_EditPenProperty)
{
    AddTab(QStringLiteral("画笔属性"), fra_EditPenProperty1);
}

void TFrm_EditPen::LoadFrom(TMapPen& pen)
{
    fra_EditPenProperty1->LoadFromPen(pen);
}

void TFrm_EditPen::SaveTo()
{
    fra_EditPenProperty1->SaveToPen();
}

bool ExecuteEditPen(TMapPen& pen, const QString& caption)
{
    const auto form = std::make_unique<TFrm_EditPen>(DialogParent());
    form->setWindowTitle(caption.isEmpty() ? QStringLiteral("编辑画笔") : caption);
    form->LoadFrom(pen);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo();
    return true;
}

} // namespace siteplan
