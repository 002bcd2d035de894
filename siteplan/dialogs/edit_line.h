// The polyline dialog "线段属性设置": the pen, and the label written along
// the line (at most two characters can be typed; a longer label read from
// a file is kept as long as it is not edited).
#pragma once

#include "edit_property.h"

class QLineEdit;

namespace siteplan {

class TMapPen;
class Tfra_EditPenProperty;

class TFrm_EditLine : public TFrm_EditProperty {
public:
    explicit TFrm_EditLine(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen, const QString& showWord);
    // The label into showWord, then the pen.
    void SaveTo(QString& showWord);

    Tfra_EditPenProperty* fra_EditPenProperty1;
    QLineEdit* Edit1;
};

// On OK: showWord := the typed label, the pen := the edited pen; true.
bool ExecuteEditLine(TMapPen& pen, QString& showWord);

} // namespace siteplan
