#include "metafile_player.h"

#include "byte_reader.h"
#include "dib_image.h"
#include "gdi_playback.h"
#include "metafile_header.h"
#include "platform/gbk_text.h"

#include <uemf.h>
#include <uemf_endian.h>
#include <uemf_safe.h>

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace platform::picture {

namespace {

// Coordinates beyond this are held at it, so that sizes and corners of
// rectangles can be computed without overflow.
constexpr std::int32_t CoordinateLimit = 1 << 24;

int Coordinate(std::int32_t value)
{
    return std::clamp(value, -CoordinateLimit, CoordinateLimit);
}

// Reads the fields of one record after its type and size.
class RecordReader : public ByteReader {
public:
    explicit RecordReader(QByteArrayView record) : ByteReader(record), record_(record) { Skip(8); }

    QByteArrayView Record() const { return record_; }

    std::optional<QPoint> PointL()
    {
        const auto x = I32();
        const auto y = I32();
        return y ? std::optional(QPoint(Coordinate(*x), Coordinate(*y))) : std::nullopt;
    }
    // A RECTL as the corner box of a figure.
    std::optional<QRect> Box()
    {
        const auto topLeft = PointL();
        const auto bottomRight = PointL();
        return bottomRight ? std::optional(QRect(*topLeft, *bottomRight)) : std::nullopt;
    }
    // A RECTL as an area that excludes its right and bottom edges.
    std::optional<QRect> Area()
    {
        const auto box = Box();
        return box ? std::optional(QRect(box->left(), box->top(), box->right() - box->left(), box->bottom() - box->top()))
                   : std::nullopt;
    }
    std::optional<QTransform> Xform()
    {
        float m[6];
        for (float& v : m) {
            const auto f = F32();
            if (!f)
                return std::nullopt;
            v = *f;
        }
        return QTransform(m[0], m[1], m[2], m[3], m[4], m[5]);
    }
    // count points of 32 or 16 bits.
    std::optional<std::vector<QPoint>> Points(std::uint32_t count, bool small)
    {
        if (!Has(qsizetype(count) * (small ? 4 : 8)))
            return std::nullopt;
        std::vector<QPoint> points;
        points.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (small) {
                const int x = *I16();
                points.emplace_back(x, *I16());
            } else {
                const int x = Coordinate(*I32());
                points.emplace_back(x, Coordinate(*I32()));
            }
        }
        return points;
    }
    // The part of the record at offset with size bytes, if it lies inside.
    std::optional<QByteArrayView> Part(std::uint32_t offset, std::uint32_t size) const
    {
        if (std::uint64_t(offset) + size > std::uint64_t(record_.size()))
            return std::nullopt;
        return record_.sliced(offset, size);
    }

private:
    QByteArrayView record_;
};

TPenStyle PenStyle(std::uint32_t style)
{
    const std::uint32_t kind = style & U_PS_STYLE_MASK;
    return kind <= U_PS_INSIDEFRAME ? TPenStyle(kind) : TPenStyle::psSolid;
}

GdiBrush Brush(std::uint32_t style, TColor color, std::uint32_t hatch)
{
    if (style == U_BS_NULL)
        return {TBrushStyle::bsClear, color};
    if (style == U_BS_HATCHED && hatch <= U_HS_DIAGCROSS)
        return {TBrushStyle(std::uint32_t(TBrushStyle::bsHorizontal) + hatch), color};
    return {TBrushStyle::bsSolid, color};
}

TFontStyles FontStyle(std::int32_t weight, std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut)
{
    TFontStyles style = 0;
    if (weight >= 600)
        style |= fsBold;
    if (italic)
        style |= fsItalic;
    if (underline)
        style |= fsUnderline;
    if (strikeOut)
        style |= fsStrikeOut;
    return style;
}

// The records the player draws or keeps state from; only these are checked
// and read.
bool IsPlayed(std::uint32_t type)
{
    switch (type) {
    case U_EMR_POLYBEZIER: case U_EMR_POLYGON: case U_EMR_POLYLINE: case U_EMR_POLYBEZIERTO: case U_EMR_POLYLINETO:
    case U_EMR_POLYPOLYLINE: case U_EMR_POLYPOLYGON: case U_EMR_SETWINDOWEXTEX: case U_EMR_SETWINDOWORGEX:
    case U_EMR_SETVIEWPORTEXTEX: case U_EMR_SETVIEWPORTORGEX: case U_EMR_SETMAPMODE: case U_EMR_SETBKMODE:
    case U_EMR_SETROP2: case U_EMR_SETTEXTALIGN: case U_EMR_SETTEXTCOLOR: case U_EMR_SETBKCOLOR: case U_EMR_MOVETOEX:
    case U_EMR_EXCLUDECLIPRECT: case U_EMR_INTERSECTCLIPRECT: case U_EMR_SAVEDC: case U_EMR_RESTOREDC:
    case U_EMR_SETWORLDTRANSFORM: case U_EMR_MODIFYWORLDTRANSFORM: case U_EMR_SELECTOBJECT: case U_EMR_CREATEPEN:
    case U_EMR_CREATEBRUSHINDIRECT: case U_EMR_DELETEOBJECT: case U_EMR_ELLIPSE: case U_EMR_RECTANGLE:
    case U_EMR_ROUNDRECT: case U_EMR_ARC: case U_EMR_CREATEPALETTE: case U_EMR_LINETO: case U_EMR_EXTSELECTCLIPRGN:
    case U_EMR_BITBLT: case U_EMR_STRETCHBLT: case U_EMR_STRETCHDIBITS: case U_EMR_EXTCREATEFONTINDIRECTW:
    case U_EMR_EXTTEXTOUTA: case U_EMR_EXTTEXTOUTW: case U_EMR_POLYBEZIER16: case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16: case U_EMR_POLYBEZIERTO16: case U_EMR_POLYLINETO16: case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16: case U_EMR_CREATEMONOBRUSH: case U_EMR_CREATEDIBPATTERNBRUSHPT: case U_EMR_EXTCREATEPEN:
    case U_EMR_CREATECOLORSPACE: case U_EMR_CREATECOLORSPACEW:
        return true;
    default:
        return false;
    }
}

class EmfPlayer {
public:
    EmfPlayer(GdiPlayback& gdi) : gdi_(gdi) {}

    void Play(std::uint32_t type, QByteArrayView record);

private:
    void Poly(RecordReader& in, std::uint32_t type);
    void PolyPoly(RecordReader& in, bool small, bool closed);
    void CreateFont(RecordReader& in);
    void ExtCreatePen(RecordReader& in);
    void TextOut(RecordReader& in, bool wide);
    void ClipRegion(RecordReader& in);
    void StretchDibits(RecordReader& in);
    void Blt(RecordReader& in, bool stretch);
    QImage Bitmap(const RecordReader& in, std::uint32_t offInfo, std::uint32_t cbInfo, std::uint32_t offBits,
                  std::uint32_t cbBits) const;

    GdiPlayback& gdi_;
};

void EmfPlayer::Play(std::uint32_t type, QByteArrayView record)
{
    RecordReader in(record);
    switch (type) {
    case U_EMR_POLYBEZIER: case U_EMR_POLYGON: case U_EMR_POLYLINE: case U_EMR_POLYBEZIERTO: case U_EMR_POLYLINETO:
    case U_EMR_POLYBEZIER16: case U_EMR_POLYGON16: case U_EMR_POLYLINE16: case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16:
        Poly(in, type);
        break;
    case U_EMR_POLYPOLYLINE: PolyPoly(in, false, false); break;
    case U_EMR_POLYPOLYGON: PolyPoly(in, false, true); break;
    case U_EMR_POLYPOLYLINE16: PolyPoly(in, true, false); break;
    case U_EMR_POLYPOLYGON16: PolyPoly(in, true, true); break;
    case U_EMR_SETWINDOWEXTEX:
        if (const auto p = in.PointL())
            gdi_.SetWindowExt(QSizeF(p->x(), p->y()));
        break;
    case U_EMR_SETWINDOWORGEX:
        if (const auto p = in.PointL())
            gdi_.SetWindowOrg(*p);
        break;
    case U_EMR_SETVIEWPORTEXTEX:
        if (const auto p = in.PointL())
            gdi_.SetViewportExt(QSizeF(p->x(), p->y()));
        break;
    case U_EMR_SETVIEWPORTORGEX:
        if (const auto p = in.PointL())
            gdi_.SetViewportOrg(*p);
        break;
    case U_EMR_SETMAPMODE:
        if (const auto v = in.U32())
            gdi_.SetMapMode(*v);
        break;
    case U_EMR_SETBKMODE:
        if (const auto v = in.U32())
            gdi_.SetBkMode(*v);
        break;
    case U_EMR_SETROP2:
        if (const auto v = in.U32())
            gdi_.SetRop2(*v);
        break;
    case U_EMR_SETTEXTALIGN:
        if (const auto v = in.U32())
            gdi_.SetTextAlign(*v);
        break;
    case U_EMR_SETTEXTCOLOR:
        if (const auto v = in.U32())
            gdi_.SetTextColor(TColor(*v & 0xFFFFFF));
        break;
    case U_EMR_SETBKCOLOR:
        if (const auto v = in.U32())
            gdi_.SetBkColor(TColor(*v & 0xFFFFFF));
        break;
    case U_EMR_MOVETOEX:
        if (const auto p = in.PointL())
            gdi_.MoveTo(*p);
        break;
    case U_EMR_LINETO:
        if (const auto p = in.PointL())
            gdi_.LineTo(*p);
        break;
    case U_EMR_EXCLUDECLIPRECT:
        if (const auto r = in.Area())
            gdi_.ExcludeClipRect(*r);
        break;
    case U_EMR_INTERSECTCLIPRECT:
        if (const auto r = in.Area())
            gdi_.IntersectClipRect(*r);
        break;
    case U_EMR_SAVEDC: gdi_.SaveDC(); break;
    case U_EMR_RESTOREDC:
        if (const auto v = in.I32())
            gdi_.RestoreDC(*v);
        break;
    case U_EMR_SETWORLDTRANSFORM:
        if (const auto t = in.Xform())
            gdi_.SetWorldTransform(*t);
        break;
    case U_EMR_MODIFYWORLDTRANSFORM:
        if (const auto t = in.Xform())
            if (const auto mode = in.U32())
                gdi_.ModifyWorldTransform(*t, *mode);
        break;
    case U_EMR_SELECTOBJECT:
        if (const auto v = in.U32())
            gdi_.SelectObject(*v);
        break;
    case U_EMR_DELETEOBJECT:
        if (const auto v = in.U32())
            gdi_.DeleteObject(*v);
        break;
    case U_EMR_CREATEPEN: {
        const auto index = in.U32();
        const auto style = in.U32();
        const auto width = in.PointL();
        const auto color = in.U32();
        if (color)
            gdi_.CreateObject(*index, GdiPen{PenStyle(*style), width->x(), TColor(*color & 0xFFFFFF)});
        break;
    }
    case U_EMR_EXTCREATEPEN: ExtCreatePen(in); break;
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto index = in.U32();
        const auto style = in.U32();
        const auto color = in.U32();
        const auto hatch = in.U32();
        if (hatch)
            gdi_.CreateObject(*index, Brush(*style, TColor(*color & 0xFFFFFF), *hatch));
        break;
    }
    case U_EMR_CREATEPALETTE: case U_EMR_CREATEMONOBRUSH: case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATECOLORSPACE: case U_EMR_CREATECOLORSPACEW:
        if (const auto index = in.U32())
            gdi_.CreateObject(*index, std::monostate{});
        break;
    case U_EMR_EXTCREATEFONTINDIRECTW: CreateFont(in); break;
    case U_EMR_ELLIPSE:
        if (const auto box = in.Box())
            gdi_.Ellipse(*box);
        break;
    case U_EMR_RECTANGLE:
        if (const auto box = in.Box())
            gdi_.Rectangle(*box);
        break;
    case U_EMR_ROUNDRECT: {
        const auto box = in.Box();
        const auto corner = in.PointL();
        if (corner)
            gdi_.RoundRect(*box, QSize(corner->x(), corner->y()));
        break;
    }
    case U_EMR_ARC: {
        const auto box = in.Box();
        const auto start = in.PointL();
        const auto end = in.PointL();
        if (end)
            gdi_.Arc(*box, *start, *end);
        break;
    }
    case U_EMR_EXTSELECTCLIPRGN: ClipRegion(in); break;
    case U_EMR_BITBLT: Blt(in, false); break;
    case U_EMR_STRETCHBLT: Blt(in, true); break;
    case U_EMR_STRETCHDIBITS: StretchDibits(in); break;
    case U_EMR_EXTTEXTOUTA: TextOut(in, false); break;
    case U_EMR_EXTTEXTOUTW: TextOut(in, true); break;
    default: break;
    }
}

void EmfPlayer::Poly(RecordReader& in, std::uint32_t type)
{
    const bool small = type >= U_EMR_POLYBEZIER16;
    in.Skip(16); // bounds
    const auto count = in.U32();
    if (!count)
        return;
    const auto points = in.Points(*count, small);
    if (!points)
        return;
    switch (small ? type - U_EMR_POLYBEZIER16 + U_EMR_POLYBEZIER : type) {
    case U_EMR_POLYBEZIER: gdi_.PolyBezier(*points); break;
    case U_EMR_POLYGON: gdi_.Polygon(*points); break;
    case U_EMR_POLYLINE: gdi_.Polyline(*points); break;
    case U_EMR_POLYBEZIERTO: gdi_.PolyBezierTo(*points); break;
    case U_EMR_POLYLINETO: gdi_.PolylineTo(*points); break;
    default: break;
    }
}

void EmfPlayer::PolyPoly(RecordReader& in, bool small, bool closed)
{
    in.Skip(16); // bounds
    const auto polys = in.U32();
    const auto total = in.U32();
    if (!total || !in.Has(qsizetype(*polys) * 4))
        return;
    std::vector<std::uint32_t> counts(*polys);
    std::uint64_t sum = 0;
    for (auto& c : counts) {
        c = *in.U32();
        sum += c;
    }
    if (sum != *total)
        return;
    const auto points = in.Points(*total, small);
    if (!points)
        return;
    std::size_t at = 0;
    for (const std::uint32_t c : counts) {
        const std::span<const QPoint> part(points->data() + at, c);
        if (closed)
            gdi_.Polygon(part);
        else
            gdi_.Polyline(part);
        at += c;
    }
}

void EmfPlayer::CreateFont(RecordReader& in)
{
    const auto index = in.U32();
    const auto height = in.I32();
    in.Skip(4); // width
    const auto escapement = in.I32();
    in.Skip(4); // orientation
    const auto weight = in.I32();
    const auto italic = in.U8();
    const auto underline = in.U8();
    const auto strikeOut = in.U8();
    in.Skip(5); // character set, precisions, quality, pitch
    const auto face = in.Bytes(U_LF_FACESIZE * 2);
    if (!face)
        return;
    QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(face->data()), U_LF_FACESIZE);
    name.truncate(name.indexOf(QChar(0)) < 0 ? name.size() : name.indexOf(QChar(0)));
    gdi_.CreateObject(*index, GdiFont{name, *height, *escapement, FontStyle(*weight, *italic, *underline, *strikeOut)});
}

void EmfPlayer::ExtCreatePen(RecordReader& in)
{
    const auto index = in.U32();
    in.Skip(16); // pattern bitmap
    const auto style = in.U32();
    const auto width = in.U32();
    const auto brushStyle = in.U32();
    const auto color = in.U32();
    if (!color)
        return;
    const TPenStyle penStyle = *brushStyle == U_BS_NULL ? TPenStyle::psClear : PenStyle(*style);
    gdi_.CreateObject(*index, GdiPen{penStyle, int(std::min<std::uint32_t>(*width, 0x7FFF)), TColor(*color & 0xFFFFFF)});
}

void EmfPlayer::TextOut(RecordReader& in, bool wide)
{
    in.Skip(16 + 4 + 8); // bounds, graphics mode, scales
    const auto reference = in.PointL();
    const auto chars = in.U32();
    const auto offString = in.U32();
    const auto options = in.U32();
    if (!options)
        return;
    std::optional<QRect> rect;
    if ((*options & U_ETO_NO_RECT) == 0)
        rect = in.Area();
    const auto text = in.Part(*offString, std::uint32_t(std::min<std::uint64_t>(std::uint64_t(*chars) * (wide ? 2 : 1), 0xFFFFFFFF)));
    if (!text)
        return;
    const QString string = wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text->data()), *chars)
                                : FromGbk(*text);
    gdi_.Text(*reference, string, *options, rect);
}

void EmfPlayer::ClipRegion(RecordReader& in)
{
    const auto size = in.U32();
    const auto mode = in.U32();
    if (!mode || *mode < 1 || *mode > 5)
        return;
    std::optional<QRegion> region;
    if (*size != 0) {
        const auto data = in.Bytes(*size);
        if (!data)
            return;
        ByteReader rgn(*data);
        rgn.Skip(8);
        const auto count = rgn.U32();
        rgn.Skip(4 + 16);
        if (!count || !rgn.Has(qsizetype(*count) * 16))
            return;
        std::vector<QRect> rects;
        rects.reserve(*count);
        for (std::uint32_t i = 0; i < *count; ++i) {
            const int l = Coordinate(*rgn.I32());
            const int t = Coordinate(*rgn.I32());
            const int r = Coordinate(*rgn.I32());
            const int b = Coordinate(*rgn.I32());
            rects.emplace_back(l, t, r - l, b - t);
        }
        region.emplace();
        region->setRects(rects.data(), int(rects.size()));
    }
    gdi_.SelectClipRegion(region, ClipMode(*mode));
}

QImage EmfPlayer::Bitmap(const RecordReader& in, std::uint32_t offInfo, std::uint32_t cbInfo, std::uint32_t offBits,
                         std::uint32_t cbBits) const
{
    const auto info = in.Part(offInfo, cbInfo);
    const auto bits = in.Part(offBits, cbBits);
    return info && bits ? DibToImage(*info, *bits) : QImage();
}

// The part of a bitmap that a source rectangle names; the whole bitmap when
// the rectangle covers it or lies outside it.
QImage SourcePart(const QImage& image, QRect source)
{
    source = source.normalized();
    if (source.contains(image.rect()) || !image.rect().intersects(source))
        return image;
    return image.copy(source.intersected(image.rect()));
}

void EmfPlayer::StretchDibits(RecordReader& in)
{
    in.Skip(16); // bounds
    const auto dest = in.PointL();
    const auto src = in.PointL();
    const auto srcSize = in.PointL();
    const auto offInfo = in.U32();
    const auto cbInfo = in.U32();
    const auto offBits = in.U32();
    const auto cbBits = in.U32();
    in.Skip(4); // usage
    const auto rop = in.U32();
    const auto destSize = in.PointL();
    if (!destSize)
        return;
    const QRect target(dest->x(), dest->y(), destSize->x(), destSize->y());
    const QImage image = Bitmap(in, *offInfo, *cbInfo, *offBits, *cbBits);
    if (image.isNull()) {
        if (*rop == U_BLACKNESS || *rop == U_WHITENESS)
            gdi_.FillWithColor(target, *rop == U_BLACKNESS ? clBlack : clWhite);
        return;
    }
    // The source rectangle counts rows from the bottom of a bottom-up bitmap.
    const int top = image.height() - src->y() - srcSize->y();
    gdi_.StretchImage(target, SourcePart(image, QRect(src->x(), top, srcSize->x(), srcSize->y())));
}

void EmfPlayer::Blt(RecordReader& in, bool stretch)
{
    in.Skip(16); // bounds
    const auto dest = in.PointL();
    const auto destSize = in.PointL();
    const auto rop = in.U32();
    const auto src = in.PointL();
    in.Skip(24 + 4 + 4); // source transform, background, usage
    const auto offInfo = in.U32();
    const auto cbInfo = in.U32();
    const auto offBits = in.U32();
    const auto cbBits = in.U32();
    if (!cbBits)
        return;
    const auto srcSize = stretch ? in.PointL() : destSize;
    if (!srcSize)
        return;
    const QRect target(dest->x(), dest->y(), destSize->x(), destSize->y());
    if (*cbInfo == 0) {
        if (*rop == U_BLACKNESS || *rop == U_WHITENESS)
            gdi_.FillWithColor(target, *rop == U_BLACKNESS ? clBlack : clWhite);
        else if (*rop == U_PATCOPY)
            gdi_.FillWithBrush(target);
        return;
    }
    const QImage image = Bitmap(in, *offInfo, *cbInfo, *offBits, *cbBits);
    gdi_.StretchImage(target, SourcePart(image, QRect(*src, QSize(srcSize->x(), srcSize->y()))));
}

} // namespace

bool PlayEnhMetafile(QByteArrayView bytes, Canvas& canvas, const QRect& target)
{
    const auto header = ReadEnhHeader(bytes);
    if (!header)
        return false;
    // libUEMF reads records through typed pointers: give it aligned memory.
    QByteArray aligned;
    if (reinterpret_cast<std::uintptr_t>(bytes.data()) % 4 != 0) {
        aligned = bytes.toByteArray();
        bytes = aligned;
    }

    const QRectF frame = header->Frame;
    const double sx = frame.width() != 0 ? target.width() / frame.width() : 1.0;
    const double sy = frame.height() != 0 ? target.height() / frame.height() : 1.0;
    const QTransform deviceToTarget = QTransform::fromTranslate(-frame.x(), -frame.y())
        * QTransform::fromScale(sx, sy) * QTransform::fromTranslate(target.x(), target.y());
    GdiPlayback gdi(canvas, deviceToTarget, header->UnitsPerMm);
    EmfPlayer player(gdi);

    const char* const end = bytes.data() + bytes.size();
    const char* record = bytes.data();
    while (end - record >= 8) {
        std::uint32_t size = 0;
        std::uint32_t type = 0;
        // The data is in this machine's byte order: read the size without swapping.
        if (!U_emf_record_sizeok(record, end, &size, &type, 1) || size < 8 || size % 4 != 0)
            break;
        if (IsPlayed(type) && U_emf_record_safe(record))
            player.Play(type, QByteArrayView(record, size));
        if (type == U_EMR_EOF)
            break;
        record += size;
    }
    return true;
}

} // namespace platform::picture
