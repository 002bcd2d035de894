#include "metafile_player.h"

#include "byte_reader.h"
#include "dib_image.h"
#include "gdi_playback.h"
#include "metafile_header.h"
#include "platform/gbk_text.h"

#include <vector>

namespace platform::picture {

namespace {

// Function numbers of the records the player draws.
namespace meta {
constexpr std::uint16_t Eof = 0x0000;
constexpr std::uint16_t SaveDC = 0x001E;
constexpr std::uint16_t SetBkMode = 0x0102;
constexpr std::uint16_t SetRop2 = 0x0104;
constexpr std::uint16_t SetTextAlign = 0x012E;
constexpr std::uint16_t RestoreDC = 0x0127;
constexpr std::uint16_t SelectObject = 0x012D;
constexpr std::uint16_t DeleteObject = 0x01F0;
constexpr std::uint16_t SetBkColor = 0x0201;
constexpr std::uint16_t SetTextColor = 0x0209;
constexpr std::uint16_t SetWindowOrg = 0x020B;
constexpr std::uint16_t SetWindowExt = 0x020C;
constexpr std::uint16_t LineTo = 0x0213;
constexpr std::uint16_t MoveTo = 0x0214;
constexpr std::uint16_t CreatePenIndirect = 0x02FA;
constexpr std::uint16_t CreateFontIndirect = 0x02FB;
constexpr std::uint16_t CreateBrushIndirect = 0x02FC;
constexpr std::uint16_t Polygon = 0x0324;
constexpr std::uint16_t Polyline = 0x0325;
constexpr std::uint16_t ExcludeClipRect = 0x0415;
constexpr std::uint16_t IntersectClipRect = 0x0416;
constexpr std::uint16_t Ellipse = 0x0418;
constexpr std::uint16_t Rectangle = 0x041B;
constexpr std::uint16_t TextOut = 0x0521;
constexpr std::uint16_t PolyPolygon = 0x0538;
constexpr std::uint16_t RoundRect = 0x061C;
constexpr std::uint16_t PatBlt = 0x061D;
constexpr std::uint16_t Arc = 0x0817;
constexpr std::uint16_t DibBitBlt = 0x0940;
constexpr std::uint16_t ExtTextOut = 0x0A32;
constexpr std::uint16_t DibStretchBlt = 0x0B41;
constexpr std::uint16_t StretchDib = 0x0F43;
// Records that create an object the player does not draw with; each still
// takes its place in the object table.
constexpr std::uint16_t CreatePalette = 0x00F7;
constexpr std::uint16_t CreatePatternBrush = 0x01F9;
constexpr std::uint16_t DibCreatePatternBrush = 0x0142;
constexpr std::uint16_t CreateRegion = 0x06FF;
} // namespace meta

constexpr std::uint32_t Blackness = 0x00000042;
constexpr std::uint32_t Whiteness = 0x00FF0062;
constexpr std::uint32_t PatCopy = 0x00F00021;
constexpr std::uint16_t EtoOpaque = 0x02;
constexpr std::uint16_t EtoClipped = 0x04;

class WmfRecord : public ByteReader {
public:
    using ByteReader::ByteReader;

    std::optional<TColor> Color()
    {
        const auto v = U32();
        return v ? std::optional(TColor(*v & 0xFFFFFF)) : std::nullopt;
    }
    // Two words stored y first.
    std::optional<QPoint> PointYX()
    {
        const auto y = I16();
        const auto x = I16();
        return x ? std::optional(QPoint(*x, *y)) : std::nullopt;
    }
    // bottom, right, top, left: the corner box of a figure.
    std::optional<QRect> Box()
    {
        const auto bottomRight = PointYX();
        const auto topLeft = PointYX();
        return topLeft ? std::optional(QRect(*topLeft, *bottomRight)) : std::nullopt;
    }
    std::optional<QRect> Area()
    {
        const auto box = Box();
        return box ? std::optional(QRect(box->left(), box->top(), box->right() - box->left(), box->bottom() - box->top()))
                   : std::nullopt;
    }
    std::optional<std::vector<QPoint>> Points(std::uint32_t count)
    {
        if (!Has(qsizetype(count) * 4))
            return std::nullopt;
        std::vector<QPoint> points;
        points.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const int x = *I16();
            points.emplace_back(x, *I16());
        }
        return points;
    }
};

class WmfPlayer {
public:
    explicit WmfPlayer(GdiPlayback& gdi) : gdi_(gdi) {}
    void Play(std::uint16_t function, QByteArrayView params);

private:
    void CreateFont(WmfRecord& in);
    void Text(WmfRecord& in, bool extended);
    void Bitmap(WmfRecord& in, std::uint16_t function, qsizetype paramsSize);

    GdiPlayback& gdi_;
};

void WmfPlayer::Play(std::uint16_t function, QByteArrayView params)
{
    WmfRecord in(params);
    switch (function) {
    case meta::SaveDC: gdi_.SaveDC(); break;
    case meta::RestoreDC:
        if (const auto v = in.I16())
            gdi_.RestoreDC(*v);
        break;
    case meta::SetBkMode:
        if (const auto v = in.U16())
            gdi_.SetBkMode(*v);
        break;
    case meta::SetRop2:
        if (const auto v = in.U16())
            gdi_.SetRop2(*v);
        break;
    case meta::SetTextAlign:
        if (const auto v = in.U16())
            gdi_.SetTextAlign(*v);
        break;
    case meta::SetBkColor:
        if (const auto c = in.Color())
            gdi_.SetBkColor(*c);
        break;
    case meta::SetTextColor:
        if (const auto c = in.Color())
            gdi_.SetTextColor(*c);
        break;
    case meta::SetWindowOrg:
        if (const auto p = in.PointYX())
            gdi_.SetWindowOrg(*p);
        break;
    case meta::SetWindowExt:
        if (const auto p = in.PointYX())
            gdi_.SetWindowExt(QSizeF(p->x(), p->y()));
        break;
    case meta::SelectObject:
        if (const auto v = in.U16())
            gdi_.SelectObject(*v);
        break;
    case meta::DeleteObject:
        if (const auto v = in.U16())
            gdi_.DeleteObject(*v);
        break;
    case meta::CreatePenIndirect: {
        const auto style = in.U16();
        const auto width = in.I16();
        in.Skip(2);
        const auto color = in.Color();
        if (color) {
            const std::uint16_t kind = *style & 0x0F;
            gdi_.CreateObject(gdi_.FreeIndex(), GdiPen{kind <= 6 ? TPenStyle(kind) : TPenStyle::psSolid, *width, *color});
        }
        break;
    }
    case meta::CreateBrushIndirect: {
        const auto style = in.U16();
        const auto color = in.Color();
        const auto hatch = in.U16();
        if (!hatch)
            break;
        GdiBrush brush{TBrushStyle::bsSolid, *color};
        if (*style == 1)
            brush.Style = TBrushStyle::bsClear;
        else if (*style == 2 && *hatch <= 5)
            brush.Style = TBrushStyle(std::uint16_t(TBrushStyle::bsHorizontal) + *hatch);
        gdi_.CreateObject(gdi_.FreeIndex(), brush);
        break;
    }
    case meta::CreateFontIndirect: CreateFont(in); break;
    case meta::CreatePalette: case meta::CreatePatternBrush: case meta::DibCreatePatternBrush: case meta::CreateRegion:
        gdi_.CreateObject(gdi_.FreeIndex(), std::monostate{});
        break;
    case meta::MoveTo:
        if (const auto p = in.PointYX())
            gdi_.MoveTo(*p);
        break;
    case meta::LineTo:
        if (const auto p = in.PointYX())
            gdi_.LineTo(*p);
        break;
    case meta::Polygon:
    case meta::Polyline: {
        const auto count = in.U16();
        const auto points = count ? in.Points(*count) : std::nullopt;
        if (points && function == meta::Polygon)
            gdi_.Polygon(*points);
        else if (points)
            gdi_.Polyline(*points);
        break;
    }
    case meta::PolyPolygon: {
        const auto polys = in.U16();
        if (!polys || !in.Has(qsizetype(*polys) * 2))
            break;
        std::vector<std::uint16_t> counts(*polys);
        for (auto& c : counts)
            c = *in.U16();
        for (const std::uint16_t c : counts) {
            const auto points = in.Points(c);
            if (!points)
                break;
            gdi_.Polygon(*points);
        }
        break;
    }
    case meta::ExcludeClipRect:
        if (const auto r = in.Area())
            gdi_.ExcludeClipRect(*r);
        break;
    case meta::IntersectClipRect:
        if (const auto r = in.Area())
            gdi_.IntersectClipRect(*r);
        break;
    case meta::Ellipse:
        if (const auto box = in.Box())
            gdi_.Ellipse(*box);
        break;
    case meta::Rectangle:
        if (const auto box = in.Box())
            gdi_.Rectangle(*box);
        break;
    case meta::RoundRect: {
        const auto corner = in.PointYX();
        const auto box = in.Box();
        if (box)
            gdi_.RoundRect(*box, QSize(corner->x(), corner->y()));
        break;
    }
    case meta::Arc: {
        const auto end = in.PointYX();
        const auto start = in.PointYX();
        const auto box = in.Box();
        if (box)
            gdi_.Arc(*box, *start, *end);
        break;
    }
    case meta::PatBlt: {
        const auto rop = in.U32();
        const auto size = in.PointYX();
        const auto origin = in.PointYX();
        if (!origin)
            break;
        const QRect dest(*origin, QSize(size->x(), size->y()));
        if (*rop == Blackness || *rop == Whiteness)
            gdi_.FillWithColor(dest, *rop == Blackness ? clBlack : clWhite);
        else if (*rop == PatCopy)
            gdi_.FillWithBrush(dest);
        break;
    }
    case meta::TextOut: Text(in, false); break;
    case meta::ExtTextOut: Text(in, true); break;
    case meta::DibBitBlt: case meta::DibStretchBlt: case meta::StretchDib: Bitmap(in, function, params.size()); break;
    default: break;
    }
}

void WmfPlayer::CreateFont(WmfRecord& in)
{
    const auto height = in.I16();
    in.Skip(2); // width
    const auto escapement = in.I16();
    in.Skip(2); // orientation
    const auto weight = in.I16();
    const auto italic = in.U8();
    const auto underline = in.U8();
    const auto strikeOut = in.U8();
    if (!in.Skip(5) || !strikeOut)
        return;
    const auto face = *in.Bytes(std::min<qsizetype>(32, in.Remaining()));
    const qsizetype nul = face.indexOf('\0');
    TFontStyles style = 0;
    if (*weight >= 600)
        style |= fsBold;
    if (*italic)
        style |= fsItalic;
    if (*underline)
        style |= fsUnderline;
    if (*strikeOut)
        style |= fsStrikeOut;
    gdi_.CreateObject(gdi_.FreeIndex(), GdiFont{FromGbk(nul < 0 ? face : face.first(nul)), *height, *escapement, style});
}

void WmfPlayer::Text(WmfRecord& in, bool extended)
{
    if (!extended) {
        const auto length = in.U16();
        const auto text = length ? in.Bytes(*length) : std::nullopt;
        if (!text || !in.Skip(*length % 2))
            return;
        if (const auto p = in.PointYX())
            gdi_.Text(*p, FromGbk(*text), 0, std::nullopt);
        return;
    }
    const auto p = in.PointYX();
    const auto length = in.U16();
    const auto options = in.U16();
    if (!options)
        return;
    std::optional<QRect> rect;
    if ((*options & (EtoOpaque | EtoClipped)) != 0) {
        const auto left = in.I16();
        const auto top = in.I16();
        const auto right = in.I16();
        const auto bottom = in.I16();
        if (!bottom)
            return;
        rect = QRect(*left, *top, *right - *left, *bottom - *top);
    }
    const auto text = in.Bytes(*length);
    if (text)
        gdi_.Text(*p, FromGbk(*text), *options, rect);
}

void WmfPlayer::Bitmap(WmfRecord& in, std::uint16_t function, qsizetype paramsSize)
{
    const auto rop = in.U32();
    if (function == meta::StretchDib)
        in.Skip(2); // colour usage
    std::optional<QPoint> srcSize;
    if (function != meta::DibBitBlt)
        srcSize = in.PointYX();
    const auto src = in.PointYX();
    // A bit block transfer without a bitmap carries one reserved word more.
    const bool withBitmap = function == meta::StretchDib || paramsSize > (function == meta::DibBitBlt ? 18 : 22);
    if (!withBitmap)
        in.Skip(2);
    const auto destSize = in.PointYX();
    const auto dest = in.PointYX();
    if (!dest)
        return;
    const QRect target(*dest, QSize(destSize->x(), destSize->y()));
    if (!withBitmap) {
        if (*rop == Blackness || *rop == Whiteness)
            gdi_.FillWithColor(target, *rop == Blackness ? clBlack : clWhite);
        else if (*rop == PatCopy)
            gdi_.FillWithBrush(target);
        return;
    }
    // The DIB follows: its header size tells where the colour table ends,
    // and the rest of the record is the bits.
    const QByteArrayView dib = *in.Bytes(in.Remaining());
    ByteReader header(dib);
    const auto headerSize = header.U32();
    header.Skip(10);
    const auto bitCount = header.U16();
    header.Skip(16);
    const auto colorsUsed = header.U32();
    if (!colorsUsed || *headerSize < 40 || *headerSize > dib.size())
        return;
    const std::uint64_t colors = *colorsUsed != 0 ? *colorsUsed : (*bitCount <= 8 ? 1u << *bitCount : 0u);
    const std::uint64_t infoSize = *headerSize + colors * 4;
    if (infoSize > std::uint64_t(dib.size()))
        return;
    const QImage image = DibToImage(dib.first(qsizetype(infoSize)), dib.sliced(qsizetype(infoSize)));
    if (image.isNull())
        return;
    const QSize size = srcSize ? QSize(srcSize->x(), srcSize->y()) : target.size();
    QRect source(*src, size);
    source = source.normalized();
    gdi_.StretchImage(target, source.contains(image.rect()) || !image.rect().intersects(source)
                                  ? image : image.copy(source.intersected(image.rect())));
}

} // namespace

bool PlayPlaceableWmf(QByteArrayView bytes, Canvas& canvas, const QRect& target)
{
    const auto header = ReadPlaceableHeader(bytes);
    if (!header)
        return false;
    const QRectF box = header->Frame;
    const double sx = box.width() != 0 ? target.width() / box.width() : 1.0;
    const double sy = box.height() != 0 ? target.height() / box.height() : 1.0;
    const QTransform deviceToTarget = QTransform::fromTranslate(-box.x(), -box.y()) * QTransform::fromScale(sx, sy)
        * QTransform::fromTranslate(target.x(), target.y());
    GdiPlayback gdi(canvas, deviceToTarget, header->UnitsPerMm);
    // The window the records set is mapped onto the bounding box.
    gdi.SetMapMode(std::uint32_t(MapMode::Anisotropic));
    gdi.SetViewportOrg(box.topLeft());
    gdi.SetViewportExt(box.size());
    gdi.SetWindowOrg(box.topLeft());
    gdi.SetWindowExt(box.size());
    WmfPlayer player(gdi);

    ByteReader in(bytes);
    in.Skip(PlaceableHeaderSize + 18); // placeable and standard headers
    while (true) {
        const auto words = in.U32();
        const auto function = in.U16();
        if (!function || *words < 3 || !in.Has(qsizetype(*words - 3) * 2))
            break;
        const QByteArrayView params = *in.Bytes(qsizetype(*words - 3) * 2);
        if (*function == meta::Eof)
            break;
        player.Play(*function, params);
    }
    return true;
}

} // namespace platform::picture
