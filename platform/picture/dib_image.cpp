#include "dib_image.h"

#include "byte_reader.h"

#include <QPainter>

#include <cstdlib>
#include <limits>

namespace platform::picture {

namespace {

constexpr std::int64_t MaxDibPixels = 16 * 1024 * 1024;
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiBitfields = 3;

void AppendU16(QByteArray& out, std::uint16_t v)
{
    out.append(reinterpret_cast<const char*>(&v), 2);
}

void AppendU32(QByteArray& out, std::uint32_t v)
{
    out.append(reinterpret_cast<const char*>(&v), 4);
}

} // namespace

QImage DibToImage(QByteArrayView info, QByteArrayView bits)
{
    ByteReader in(info);
    const auto headerSize = in.U32();
    if (!headerSize || *headerSize < 40 || *headerSize > info.size())
        return {};
    const auto width = in.I32();
    const auto height = in.I32();
    in.Skip(2); // planes
    const auto bitCount = in.U16();
    const auto compression = in.U32();
    if (!compression || *width <= 0 || *height == 0 || *height == std::numeric_limits<std::int32_t>::min())
        return {};
    const std::int64_t rows = std::abs(std::int64_t(*height));
    if (std::int64_t(*width) * rows > MaxDibPixels)
        return {};
    if (*compression == BiRgb || *compression == BiBitfields) {
        const std::int64_t stride = (std::int64_t(*width) * *bitCount + 31) / 32 * 4;
        if (*bitCount == 0 || stride * rows > bits.size())
            return {};
    }

    // Qt's BMP reader does the decoding once the file header is in front.
    QByteArray file;
    file.reserve(14 + info.size() + bits.size());
    file.append("BM");
    AppendU32(file, std::uint32_t(14 + info.size() + bits.size()));
    AppendU32(file, 0);
    AppendU32(file, std::uint32_t(14 + info.size()));
    file.append(info.data(), info.size());
    file.append(bits.data(), bits.size());
    return QImage::fromData(file, "BMP");
}

Dib ImageToDib(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    const int width = flat.width();
    const int height = flat.height();
    const int stride = (width * 3 + 3) / 4 * 4;

    Dib dib;
    AppendU32(dib.Info, 40);
    AppendU32(dib.Info, std::uint32_t(width));
    AppendU32(dib.Info, std::uint32_t(height));
    AppendU16(dib.Info, 1);
    AppendU16(dib.Info, 24);
    AppendU32(dib.Info, BiRgb);
    AppendU32(dib.Info, std::uint32_t(stride * height));
    AppendU32(dib.Info, 3780); // 96 dots per inch
    AppendU32(dib.Info, 3780);
    AppendU32(dib.Info, 0);
    AppendU32(dib.Info, 0);

    dib.Bits = QByteArray(qsizetype(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const uchar* src = flat.constScanLine(height - 1 - y);
        char* dst = dib.Bits.data() + qsizetype(y) * stride;
        for (int x = 0; x < width; ++x) {
            dst[3 * x] = char(src[3 * x + 2]);
            dst[3 * x + 1] = char(src[3 * x + 1]);
            dst[3 * x + 2] = char(src[3 * x]);
        }
    }
    return dib;
}

} // namespace platform::picture
