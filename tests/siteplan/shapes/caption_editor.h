// A property editor for the shapes whose dialogs edit only styles: it
// records the captions asked for and answers as told, widening the pen and
// turning the brush to a hatch on OK.
#pragma once

#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/shape_property_editor.h"

#include <QStringList>

namespace shapetest {

struct CaptionEditor : siteplan::TShapePropertyEditor {
    bool answer = false;
    QStringList captions; // "pen:<caption>" or "pen+brush:<caption>"

    bool EditLine(siteplan::TMapPen&, QString&) override { return false; }
    bool EditPenAndBrush(siteplan::TMapPen& pen, siteplan::TMapBrush& brush, const QString& caption) override
    {
        captions << QStringLiteral("pen+brush:") + caption;
        if (answer) {
            pen.SetWidth(4);
            brush.SetStyle(platform::TBrushStyle::bsCross);
        }
        return answer;
    }
    bool EditPen(siteplan::TMapPen& pen, const QString& caption) override
    {
        captions << QStringLiteral("pen:") + caption;
        if (answer)
            pen.SetWidth(4);
        return answer;
    }
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
