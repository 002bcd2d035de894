// A property editor whose every dialog is cancelled: the base of the shape
// tests' editors, which answer only the dialogs their shapes open.
#pragma once

#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/shape_property_editor.h"

namespace shapetest {

struct CancellingEditor : siteplan::TShapePropertyEditor {
    bool EditLine(siteplan::TMapPen&, QString&) override { return false; }
    bool EditPenAndBrush(siteplan::TMapPen&, siteplan::TMapBrush&, const QString&) override { return false; }
    bool EditPen(siteplan::TMapPen&, const QString&) override { return false; }
    bool EditText(siteplan::TMapPen&, siteplan::TMapBrush&, QString&, bool&, siteplan::TTextShowSet&) override
    {
        return false;
    }
    bool EditPicture(siteplan::TMapPen&, platform::TPicture&, bool&, bool) override { return false; }
    bool EditPlaneProperty(siteplan::TMapPen&, siteplan::TMapBrush&, siteplan::TTextShowSet&) override
    {
        return false;
    }
};

} // namespace shapetest
