// The colour and font choosers of Arrowplan's settings dialogs, and the
// sample font that shows a stored font in a label.
#pragma once

#include "platform/canvas.h"

#include <QFont>

#include <optional>

class QWidget;

namespace arrowplan {

QFont SampleFont(const platform::TFont& font);

// The toolkit's colour dialog opened on the initial colour; nothing when cancelled.
std::optional<platform::TColor> ChooseColorDialog(platform::TColor initial, QWidget* parent);

// The toolkit's font dialog opened on the initial font; nothing when
// cancelled. A chosen font without a point size keeps the initial size.
std::optional<platform::TFont> ChooseFontDialog(const platform::TFont& initial, QWidget* parent);

} // namespace arrowplan
