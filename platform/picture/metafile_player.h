// Playing the metafiles a picture holds on a platform::Canvas: an enhanced
// metafile (EMF) or a placeable Windows metafile (WMF). The picture frame
// is mapped onto the target rectangle. Every record's size is checked
// against the bytes before it is read; a record that does not fit ends the
// playback, records the player does not know are skipped.
#pragma once

#include "platform/canvas.h"

#include <QByteArrayView>
#include <QRect>

namespace platform::picture {

// Both return false, drawing nothing, when the bytes do not start with a
// valid header of their kind.
bool PlayEnhMetafile(QByteArrayView bytes, Canvas& canvas, const QRect& target);
bool PlayPlaceableWmf(QByteArrayView bytes, Canvas& canvas, const QRect& target);

} // namespace platform::picture
