// The property dialogs of this folder behind the engine's editor interface.
// The host creates one and installs it on each plan control it shows.
#pragma once

#include "siteplan/shape_property_editor.h"

namespace siteplan {

class TDialogPropertyEditor : public TShapePropertyEditor {
public:
    bool EditLine(TMapPen& pen, QString& showWord) override;
    bool EditPenAndBrush(TMapPen& pen, TMapBrush& brush, const QString& caption) override;
    bool EditPen(TMapPen& pen, const QString& caption) override;
    bool EditText(TMapPen& pen, TMapBrush& brush, QString& text, bool& showOutRect,
                  TTextShowSet& textShow) override;
    bool EditPicture(TMapPen& pen, platform::TPicture& picture, bool& showOutRect, bool stretch) override;
    bool EditPlaneProperty(TMapPen& pen, TMapBrush& brush, TTextShowSet& textShow) override;
    bool OpenPictureFile(QString& fileName) override;
};

} // namespace siteplan
