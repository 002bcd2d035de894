// The property dialogs as the engine sees them. The engine never opens a
// window itself: the host installs an editor on the plan control
// (TPlaneMap::SetPropertyEditor), and a shape's EditProperty asks that
// editor for its dialog. The dialogs themselves live in siteplan/dialogs/.
//
// Every operation shows its dialog modally and returns true exactly when
// the user confirmed with OK; only then is anything written. Pens, brushes
// and text settings are the shape's (or plan's) own objects and are changed
// in place; plain values (label, text, switches, picture) are read from the
// arguments and, on OK, hold the edited values, which the shape then stores
// through its own setters. On Cancel every argument is left as it was.
#pragma once

#include <QString>

namespace platform {
class TPicture;
}

namespace siteplan {

class TMapBrush;
class TMapPen;
class TTextShowSet;

class TShapePropertyEditor {
public:
    virtual ~TShapePropertyEditor() = default;

    // A polyline: its pen and the label written along it (at most two
    // characters can be typed).
    virtual bool EditLine(TMapPen& pen, QString& showWord) = 0;
    // An empty caption gives the dialog's own title.
    virtual bool EditPenAndBrush(TMapPen& pen, TMapBrush& brush, const QString& caption) = 0;
    virtual bool EditPen(TMapPen& pen, const QString& caption) = 0;
    // A text box: outline pen, fill brush, the text, the frame switch and
    // the font with the alignments.
    virtual bool EditText(TMapPen& pen, TMapBrush& brush, QString& text, bool& showOutRect,
                          TTextShowSet& textShow) = 0;
    // A picture box: frame pen, frame switch and the picture. Stretch is
    // shown but cannot be changed, so it is passed by value.
    virtual bool EditPicture(TMapPen& pen, platform::TPicture& picture, bool& showOutRect, bool stretch) = 0;
    // The plan's defaults for new shapes.
    virtual bool EditPlaneProperty(TMapPen& pen, TMapBrush& brush, TTextShowSet& textShow) = 0;
    // The open-picture dialog of a picture box just drawn: true with the
    // chosen file on OK. Without dialogs no file is chosen.
    virtual bool OpenPictureFile(QString& /*fileName*/) { return false; }
};

} // namespace siteplan
