// Writes a root object with its properties and child objects as a binary
// component stream ("TPF0", then the object).
#pragma once

#include "stream_object.h"

#include <QByteArray>

class QIODevice;

namespace stream {

QByteArray WriteComponent(const StreamObject& root);

// Raises "Stream write error" when the device does not take every byte.
void WriteComponent(QIODevice& device, const StreamObject& root);

} // namespace stream
