// The pen-and-brush dialog of the closed shapes (ellipse, rectangles,
// polygon), captioned by the caller.
#pragma once

#include "edit_property.h"

namespace siteplan {

class TMapBrush;
class TMapPen;
class Tfra_EditBrushProperty;
class Tfra_EditPenProperty;

class TFrm_EditPenAndBrush : public TFrm_EditProperty {
public:
    explicit TFrm_EditPenAndBrush(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen, TMapBrush& brush);
    // The pen, then the brush.
    void SaveTo();

    Tfra_EditPenProperty* fra_EditPenProperty1;
    Tfra_EditBrushProperty* fra_EditBrushProperty1;
};

// The dialog captioned caption, or "编辑画笔和画刷" when it is empty; on OK
// the pen, then the brush are written and true returned.
bool ExecuteEditPenAndBrush(TMapPen& pen, TMapBrush& brush, const QString& caption);

} // namespace siteplan
