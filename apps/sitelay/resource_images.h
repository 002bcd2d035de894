// The program's pictures: the cursors and method bitmaps kept as resources
// under their names ("DRAWMAP", "ZOOMIN", "ZOOMOUT", "REVOLVER", "ADD",
// "INSERT", "DELETE"), and the toolbar glyphs, drawn here.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace sitelay {

// The bitmap resource of this name; a null pixmap when there is none.
QPixmap ResourceBitmap(const QString& name);

// Registers the cursors 100 to 103 with the window services.
void RegisterProgramCursors();

// The program's picture: the window icon and the About box's picture.
QPixmap ProgramPicture();

// Glyphs of the tool buttons (by drawing tool) and of the commands.
QIcon ToolIcon(int drawKind);
enum class CommandGlyph {
    New, Open, Save, Close, Redraw, ZoomIn, Zoom100, ZoomOut, Properties, Help,
    Portrait, Landscape, Copy, Cut, Paste, Color
};
QIcon CommandIcon(CommandGlyph glyph);

} // namespace sitelay
