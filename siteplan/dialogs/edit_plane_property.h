// The defaults dialog "设置缺省属性": the pen, brush and text setting that
// new shapes of the plan start with.
#pragma once

#include "edit_property.h"

namespace siteplan {

class TMapBrush;
class TMapPen;
class TTextShowPage;
class TTextShowSet;
class Tfra_EditBrushProperty;
class Tfra_EditPenProperty;

class TFrm_EditPlaneProperty : public TFrm_EditProperty {
public:
    explicit TFrm_EditPlaneProperty(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen, TMapBrush& brush, const TTextShowSet& textShow);
    // Pen, brush, then font and alignments.
    void SaveTo(TTextShowSet& textShow);

    Tfra_EditPenProperty* fra_EditPenProperty1;
    Tfra_EditBrushProperty* fra_EditBrushProperty1;
    TTextShowPage* TextShowPage;
};

bool ExecuteEditPlaneProperty(TMapPen& pen, TMapBrush& brush, TTextShowSet& textShow);

} // namespace siteplan
