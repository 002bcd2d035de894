// The text-box dialog "编辑文本属性": the text, the frame switch, the font
// with the alignments, the frame pen and the fill brush.
#pragma once

#include "edit_property.h"

class QCheckBox;
class QPlainTextEdit;

namespace siteplan {

class TMapBrush;
class TMapPen;
class TTextShowPage;
class TTextShowSet;
class Tfra_EditBrushProperty;
class Tfra_EditPenProperty;

class TFrm_EditText : public TFrm_EditProperty {
public:
    explicit TFrm_EditText(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen, TMapBrush& brush, const QString& text, bool showOutRect,
                  const TTextShowSet& textShow);
    // Pen, brush, text, frame switch, then font and alignments.
    void SaveTo(QString& text, bool& showOutRect, TTextShowSet& textShow);

    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1;
    TTextShowPage* TextShowPage;
    Tfra_EditPenProperty* fra_EditPenProperty1;
    Tfra_EditBrushProperty* fra_EditBrushProperty1;
};

// Lines of text are separated by CR LF, as the text shape stores them.
bool ExecuteEditText(TMapPen& pen, TMapBrush& brush, QString& text, bool& showOutRect, TTextShowSet& textShow);

} // namespace siteplan
