// The prompt both main windows show before a modified document is closed,
// replaced or the program ends.
#pragma once

#include "platform/window_services.h"

#include <QString>

#include <functional>

namespace common {

// True when the document may go: it is not modified, the user answered No,
// or answered Yes and save wrote it (save returns whether it did). Cancel,
// or a Yes whose save wrote nothing, keeps it.
bool CanCloseDocument(platform::WindowServices& messages, bool modified, const QString& question,
                      const std::function<bool()>& save);

} // namespace common
