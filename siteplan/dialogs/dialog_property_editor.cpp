#include "dialog_property_editor.h"

#include "edit_line.h"
#include "edit_pen.h"
#include "edit_pen_and_brush.h"
#include "edit_picture.h"
#include "edit_plane_property.h"
#include "edit_text.h"

namespace siteplan {

bool TDialogPropertyEditor::EditLine(TMapPen& pen, QString& showWord)
{
    return ExecuteEditLine(pen, showWord);
}

bool TDialogPropertyEditor::EditPenAndBrush(TMapPen& pen, TMapBrush& brush, const QString& caption)
{
    return ExecuteEditPenAndBrush(pen, brush, caption);
}

bool TDialogPropertyEditor::EditPen(TMapPen& pen, const QString& caption)
{
    return ExecuteEditPen(pen, caption);
}

bool TDialogPropertyEditor::EditText(TMapPen& pen, TMapBrush& brush, QString& text, bool& showOutRect,
                                     TTextShowSet& textShow)
{
    return ExecuteEditText(pen, brush, text, showOutRect, textShow);
}

bool TDialogPropertyEditor::EditPicture(TMapPen& pen, platform::TPicture& picture, bool& showOutRect, bool stretch)
{
    return ExecuteEditPicture(pen, picture, showOutRect, stretch);
}

bool TDialogPropertyEditor::EditPlaneProperty(TMapPen& pen, TMapBrush& brush, TTextShowSet& textShow)
{
    return ExecuteEditPlaneProperty(pen, brush, textShow);
}

bool TDialogPropertyEditor::OpenPictureFile(QString& fileName)
{
    return ChoosePictureFile(DialogParent(), fileName);
}

} // namespace siteplan
