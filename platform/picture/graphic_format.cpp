#include "graphic_format.h"

#include "metafile_header.h"

#include <QFileInfo>

namespace platform::picture {

TGraphicKind SniffGraphicKind(QByteArrayView bytes)
{
    if (bytes.startsWith("BM"))
        return TGraphicKind::Bitmap;
    if (bytes.startsWith(QByteArrayView("\x00\x00\x01\x00", 4)))
        return TGraphicKind::Icon;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return TGraphicKind::Jpeg;
    if (ReadEnhHeader(bytes) || ReadPlaceableHeader(bytes))
        return TGraphicKind::Metafile;
    return TGraphicKind::None;
}

TGraphicKind KindFromFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"bmp")
        return TGraphicKind::Bitmap;
    if (suffix == u"ico")
        return TGraphicKind::Icon;
    if (suffix == u"emf" || suffix == u"wmf")
        return TGraphicKind::Metafile;
    if (suffix == u"jpg" || suffix == u"jpeg")
        return TGraphicKind::Jpeg;
    return TGraphicKind::None;
}

} // namespace platform::picture
