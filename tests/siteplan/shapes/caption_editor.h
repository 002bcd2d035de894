// A property editor for the shapes whose dialogs edit only styles: it
// records the captions asked for and answers as told, widening the pen and
// turning the brush to a hatch on OK.
#pragma once

#include "tests/siteplan/shapes/cancelling_editor.h"

#include <QStringList>

namespace shapetest {

struct CaptionEditor : CancellingEditor {
    bool answer = false;
    QStringList captions; // "pen:<caption>" or "pen+brush:<caption>"

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
};

} // namespace shapetest
