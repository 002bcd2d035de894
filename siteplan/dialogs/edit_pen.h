// The pen dialog of the open shapes (arc, curves, enclosure wall),
// captioned by the caller.
#pragma once

#include "edit_property.h"

namespace siteplan {

class TMapPen;
class Tfra_EditPenProperty;

class TFrm_EditPen : public TFrm_EditProperty {
public:
    explicit TFrm_EditPen(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen);
    void SaveTo();

    Tfra_EditPenProperty* fra_EditPenProperty1;
};

// The dialog captioned caption, or "编辑画笔" when it is empty; on OK the
// pen is written and true returned.
bool ExecuteEditPen(TMapPen& pen, const QString& caption);

} // namespace siteplan
