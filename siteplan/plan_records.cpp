#include "plan_records.h"

#include "map_brush.h"
#include "map_pen.h"
#include "text_show_set.h"

#include <QIODevice>

namespace siteplan {

namespace {

constexpr std::int32_t StyleMask = 0x7F;
constexpr int PenStyleCount = 7;
constexpr int BrushStyleCount = 8;

void WriteFlag(QDataStream& stream, bool on)
{
    stream << qint32(on ? 1 : 0);
}

} // namespace

void PreparePlanStream(QDataStream& stream)
{
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
}

void RefuseRecord(QDataStream& stream)
{
    stream.setStatus(QDataStream::ReadCorruptData);
}

bool HasBytes(QDataStream& stream, std::int64_t count)
{
    return stream.status() == QDataStream::Ok && stream.device() && count >= 0
           && count <= stream.device()->bytesAvailable();
}

void WritePen(QDataStream& stream, const TMapPen& pen)
{
    stream << qint32(pen.Color()) << qint32(static_cast<std::int32_t>(pen.Style()) & StyleMask) << qint32(pen.Width());
}

void ReadPen(QDataStream& stream, TMapPen& pen)
{
    qint32 color = 0;
    qint32 style = 0;
    qint32 width = 0;
    stream >> color >> style >> width;
    if (stream.status() != QDataStream::Ok)
        return;
    const int ordinal = style & 0xFF;
    if (ordinal >= PenStyleCount) {
        RefuseRecord(stream);
        return;
    }
    pen.SetColor(color);
    pen.SetStyle(static_cast<platform::TPenStyle>(ordinal));
    pen.SetWidth(width);
}

void WriteBrush(QDataStream& stream, const TMapBrush& brush)
{
    stream << qint32(static_cast<std::int32_t>(brush.Style()) & StyleMask) << qint32(brush.Color());
}

void ReadBrush(QDataStream& stream, TMapBrush& brush)
{
    qint32 style = 0;
    qint32 color = 0;
    stream >> style >> color;
    if (stream.status() != QDataStream::Ok)
        return;
    const int ordinal = style & 0xFF;
    if (ordinal >= BrushStyleCount) {
        RefuseRecord(stream);
        return;
    }
    brush.SetStyle(static_cast<platform::TBrushStyle>(ordinal));
    brush.SetColor(color);
}

void WriteTextShow(QDataStream& stream, const TTextShowSet& textShow)
{
    const platform::TFont& font = textShow.Font;
    WriteString(stream, textShow.StoredFontName());
    stream << qint32(font.Size);
    WriteFlag(stream, font.Style & platform::fsBold);
    WriteFlag(stream, font.Style & platform::fsItalic);
    WriteFlag(stream, font.Style & platform::fsUnderline);
    stream << qint32(font.Color) << qint16(textShow.HorzAlign()) << qint16(textShow.VertAlign());
}

void ReadTextShow(QDataStream& stream, TTextShowSet& textShow)
{
    platform::StoredText name;
    ReadString(stream, name);
    qint32 size = 0;
    qint32 bold = 0;
    qint32 italic = 0;
    qint32 underline = 0;
    qint32 color = 0;
    qint16 horz = 0;
    qint16 vert = 0;
    stream >> size >> bold >> italic >> underline >> color >> horz >> vert;
    // Alignments outside 0..2 are kept as stored; the text draws them as
    // left and top.
    if (stream.status() != QDataStream::Ok)
        return;
    textShow.SetStoredFontName(name);
    platform::TFont& font = textShow.Font;
    font.Size = size;
    font.Style = static_cast<platform::TFontStyles>((bold == 1 ? platform::fsBold : 0)
                                                    | (italic == 1 ? platform::fsItalic : 0)
                                                    | (underline == 1 ? platform::fsUnderline : 0)
                                                    | (font.Style & platform::fsStrikeOut));
    font.Color = color;
    textShow.SetHorzAlign(horz);
    textShow.SetVertAlign(vert);
}

void WriteString(QDataStream& stream, const platform::StoredText& text)
{
    const QByteArray& bytes = text.Bytes();
    stream << qint32(bytes.size());
    if (!bytes.isEmpty())
        stream.writeRawData(bytes.constData(), static_cast<int>(bytes.size()));
}

void ReadString(QDataStream& stream, platform::StoredText& text)
{
    qint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok)
        return;
    if (length <= 0) {
        text = platform::StoredText();
        return;
    }
    if (!HasBytes(stream, length)) {
        RefuseRecord(stream);
        return;
    }
    QByteArray bytes(length, Qt::Uninitialized);
    if (stream.readRawData(bytes.data(), length) != length) {
        RefuseRecord(stream);
        return;
    }
    text = platform::StoredText::FromBytes(std::move(bytes));
}

void WritePoints(QDataStream& stream, std::span<const QPoint> points)
{
    for (const QPoint& p : points)
        stream << qint32(p.x()) << qint32(p.y());
}

void ReadPoints(QDataStream& stream, std::span<QPoint> points)
{
    if (!HasBytes(stream, static_cast<std::int64_t>(points.size()) * 8)) {
        RefuseRecord(stream);
        return;
    }
    for (QPoint& p : points) {
        qint32 x = 0;
        qint32 y = 0;
        stream >> x >> y;
        p = QPoint(x, y);
    }
}

} // namespace siteplan
