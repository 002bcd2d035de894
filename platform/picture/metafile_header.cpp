#include "metafile_header.h"

#include "byte_reader.h"
#include "platform/numbers.h"

namespace platform::picture {

namespace {

constexpr int HundredthMmPerInch = 2540;

} // namespace

std::optional<MetafileHeader> ReadEnhHeader(QByteArrayView bytes)
{
    ByteReader in(bytes);
    const auto type = in.U32();
    const auto size = in.U32();
    if (!type || *type != 1 || !size || *size < 88 || *size > bytes.size())
        return std::nullopt;
    in.Skip(16); // bounds
    const auto frameLeft = in.I32();
    const auto frameTop = in.I32();
    const auto frameRight = in.I32();
    const auto frameBottom = in.I32();
    const auto signature = in.U32();
    if (!frameBottom || !signature || *signature != EnhMetafileSignature)
        return std::nullopt;
    in.Skip(4 + 4 + 4 + 2 + 2 + 4 + 4 + 4); // version, bytes, records, handles, reserved, description, palette
    const auto deviceWidth = in.I32();
    const auto deviceHeight = in.I32();
    const auto mmWidth = in.I32();
    const auto mmHeight = in.I32();
    if (!mmHeight || *deviceWidth <= 0 || *deviceHeight <= 0 || *mmWidth <= 0 || *mmHeight <= 0)
        return std::nullopt;

    const double width = double(*frameRight) - *frameLeft;
    const double height = double(*frameBottom) - *frameTop;
    // The frame is in hundredths of a millimetre of the reference device.
    const double xScale = double(*deviceWidth) / (*mmWidth * 100.0);
    const double yScale = double(*deviceHeight) / (*mmHeight * 100.0);
    MetafileHeader header;
    header.Frame = QRectF(*frameLeft * xScale, *frameTop * yScale, width * xScale, height * yScale);
    header.UnitsPerMm = QSizeF(xScale * 100, yScale * 100);
    header.PixelSize = QSize(MulDiv(SaturateInt(std::int64_t(*frameRight) - *frameLeft), ScreenPixelsPerInch, HundredthMmPerInch),
                             MulDiv(SaturateInt(std::int64_t(*frameBottom) - *frameTop), ScreenPixelsPerInch, HundredthMmPerInch));
    return header;
}

std::optional<MetafileHeader> ReadPlaceableHeader(QByteArrayView bytes)
{
    ByteReader in(bytes);
    const auto key = in.U32();
    in.Skip(2); // handle
    const auto left = in.I16();
    const auto top = in.I16();
    const auto right = in.I16();
    const auto bottom = in.I16();
    const auto inch = in.U16();
    in.Skip(4 + 2); // reserved, checksum
    const auto fileType = in.U16();
    const auto headerWords = in.U16();
    if (!headerWords || *key != PlaceableKey || *inch == 0 || (*fileType != 1 && *fileType != 2) || *headerWords != 9
        || !in.Has(18 - 4))
        return std::nullopt;

    MetafileHeader header;
    header.Frame = QRectF(*left, *top, double(*right) - *left, double(*bottom) - *top);
    header.UnitsPerMm = QSizeF(*inch / 25.4, *inch / 25.4);
    header.PixelSize = QSize(MulDiv(*right - *left, ScreenPixelsPerInch, *inch), MulDiv(*bottom - *top, ScreenPixelsPerInch, *inch));
    return header;
}

} // namespace platform::picture
