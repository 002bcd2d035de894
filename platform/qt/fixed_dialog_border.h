// The border of every dialog of the programs: a title bar with the system
// menu and the close button only (no minimise or maximise button). The
// dialogs keep a fixed size as well, so the border cannot be dragged.
#pragma once

#include <QWidget>

namespace platform {

inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                                     Qt::MSWindowsFixedSizeDialogHint;

// Call before the dialog is shown: changing the flags of a visible window
// hides it.
inline void UseFixedDialogBorder(QWidget& dialog)
{
    dialog.setWindowFlags(kFixedDialogFlags);
}

} // namespace platform
