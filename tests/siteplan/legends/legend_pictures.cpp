#include "legend_pictures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace legends_test {

namespace {

void U16(QByteArray& out, unsigned v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void U32(QByteArray& out, std::uint32_t v)
{
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}

QByteArray Encoded(const char* format)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(2, 2, 8, 6, Qt::red);
    p.fillRect(12, 2, 6, 6, Qt::blue);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Header (a 2 x 1 cm frame on a 1000 x 800 pixel, 250 x 200 mm reference
// device, so 80 x 40 pixels), one rectangle and the end-of-file record.
QByteArray EnhancedMetafile()
{
    QByteArray out;
    U32(out, 1);
    U32(out, 88);
    for (std::uint32_t v : {0u, 0u, 79u, 39u})  // bounds
        U32(out, v);
    for (std::uint32_t v : {0u, 0u, 2000u, 1000u}) // frame, 0.01 mm
        U32(out, v);
    U32(out, 0x464D4520);
    U32(out, 0x10000);
    U32(out, 88 + 24 + 20);
    U32(out, 3); // records
    U16(out, 1); // handles
    U16(out, 0);
    U32(out, 0);
    U32(out, 0);
    U32(out, 0);
    for (std::uint32_t v : {1000u, 800u, 250u, 200u})
        U32(out, v);
    // EMR_RECTANGLE
    for (std::uint32_t v : {43u, 24u, 10u, 5u, 70u, 35u})
        U32(out, v);
    // EMR_EOF
    for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u})
        U32(out, v);
    return out;
}

// A placeable metafile of 1440 x 720 units at 1440 per inch with one
// rectangle record.
QByteArray PlaceableMetafile()
{
    QByteArray out;
    U32(out, 0x9AC6CDD7);
    U16(out, 0);
    for (unsigned v : {0u, 0u, 1440u, 720u})
        U16(out, v);
    U16(out, 1440);
    U32(out, 0);
    std::uint16_t checksum = 0;
    for (qsizetype i = 0; i < out.size(); i += 2)
        checksum ^= std::uint16_t(std::uint8_t(out[i]) | (std::uint8_t(out[i + 1]) << 8));
    U16(out, checksum);
    const std::uint32_t words = 9 + 7 + 3;
    U16(out, 1);
    U16(out, 9);
    U16(out, 0x300);
    U32(out, words);
    U16(out, 0);
    U32(out, 7);
    U16(out, 0);
    // META_RECTANGLE bottom, right, top, left
    U32(out, 7);
    U16(out, 0x041B);
    for (unsigned v : {600u, 1300u, 100u, 100u})
        U16(out, v);
    // end record
    U32(out, 3);
    U16(out, 0);
    return out;
}

} // namespace

std::vector<SamplePicture> SamplePictures()
{
    using platform::TGraphicKind;
    return {
        {"bitmap", TGraphicKind::Bitmap, Encoded("BMP")},
        {"icon", TGraphicKind::Icon, Encoded("ICO")},
        {"JPEG", TGraphicKind::Jpeg, Encoded("JPEG")},
        {"enhanced metafile", TGraphicKind::Metafile, EnhancedMetafile()},
        {"placeable metafile", TGraphicKind::Metafile, PlaceableMetafile()},
    };
}

platform::TPicture MakePicture(platform::TGraphicKind kind, const QByteArray& bytes)
{
    platform::TPicture picture;
    picture.SetGraphic(kind, bytes);
    return picture;
}

} // namespace legends_test
