// The records every shape record and the plan file are built from: pen,
// brush, text appearance and string, little-endian and unpadded, over a
// QDataStream prepared by PreparePlanStream.
//
// Readers never read past the data and never take a stored value the
// objects cannot hold: a damaged record puts the stream into the
// ReadCorruptData state (RefuseRecord), after which the caller discards
// whatever it read. Every reader leaves its target as it was when the
// stream is not Ok afterwards.
#pragma once

#include "platform/gbk_text.h"

#include <QDataStream>
#include <QPoint>

#include <cstdint>
#include <span>

namespace siteplan {

class TMapBrush;
class TMapPen;
class TTextShowSet;

// Little-endian byte order and 4-byte floats, as the records are stored.
void PreparePlanStream(QDataStream& stream);

// Marks the stream as holding damaged data; later reads give nothing.
void RefuseRecord(QDataStream& stream);

// True when the stream is still readable and count bytes are left.
bool HasBytes(QDataStream& stream, std::int64_t count);

// Pen: colour, style and 0x7F, width (three Int32).
void WritePen(QDataStream& stream, const TMapPen& pen);
void ReadPen(QDataStream& stream, TMapPen& pen);

// Brush: style and 0x7F, colour (two Int32).
void WriteBrush(QDataStream& stream, const TMapBrush& brush);
void ReadBrush(QDataStream& stream, TMapBrush& brush);

// Text appearance: font name (string), size, bold, italic, underline,
// colour (Int32 each), horizontal and vertical alignment (Int16 each).
void WriteTextShow(QDataStream& stream, const TTextShowSet& textShow);
void ReadTextShow(QDataStream& stream, TTextShowSet& textShow);

// String: byte length Int32, then the GBK bytes as held. A stored length of
// 0 or less reads as the empty text.
void WriteString(QDataStream& stream, const platform::StoredText& text);
void ReadString(QDataStream& stream, platform::StoredText& text);

// Points as X, Y Int32 pairs, without a count.
void WritePoints(QDataStream& stream, std::span<const QPoint> points);
void ReadPoints(QDataStream& stream, std::span<QPoint> points);

} // namespace siteplan
