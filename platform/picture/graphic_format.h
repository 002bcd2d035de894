// Recognising the graphic class of picture bytes and of picture file names.
#pragma once

#include "picture.h"

#include <QByteArrayView>
#include <QString>

namespace platform::picture {

// The graphic class whose file signature the bytes start with, or None.
TGraphicKind SniffGraphicKind(QByteArrayView bytes);

// The graphic class a file extension names (".bmp", ".ico", ".emf",
// ".wmf", ".jpg", ".jpeg", any letter case), or None.
TGraphicKind KindFromFileName(const QString& fileName);

} // namespace platform::picture
