// Plays arbitrary bytes as a metafile picture (enhanced or placeable) on a
// small image, and reads them as the stored data of a picture.
#include "platform/painter_canvas.h"
#include "platform/picture/picture.h"

#include <QGuiApplication>
#include <QImage>

#include <cstddef>
#include <cstdint>

// The application object lives to the end of the process; the font cache it
// keeps through fontconfig is not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

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
