// Plays arbitrary bytes as a metafile picture (enhanced or placeable) on a
// small image, and reads them as the stored data of a picture.
#include "platform/painter_canvas.h"
#include "platform/picture/picture.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    platform::TPicture picture;
    picture.SetGraphic(platform::TGraphicKind::Metafile, bytes);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        picture.Draw(canvas, QRect(0, 0, 64, 48));
    }
    try {
        picture.ReadData(bytes);
    } catch (const platform::EPictureError&) {
    }
    return 0;
}
