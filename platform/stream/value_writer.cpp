#include "value_writer.h"

#include "extended_float.h"

#include <limits>

namespace stream {

namespace {

void AppendLittleEndian(QByteArray& out, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

void ValueWriter::ShortText(QByteArrayView bytes)
{
    const QByteArrayView cut = bytes.first(std::min<qsizetype>(bytes.size(), 255));
    Byte(static_cast<std::uint8_t>(cut.size()));
    out_.append(cut);
}

void ValueWriter::Int32(std::int32_t value)
{
    AppendLittleEndian(out_, static_cast<std::uint32_t>(value), 4);
}

void ValueWriter::Integer(std::int64_t value)
{
    if (value >= -128 && value <= 127) {
        Tag(ValueTag::Int8);
        AppendLittleEndian(out_, static_cast<std::uint64_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        Tag(ValueTag::Int16);
        AppendLittleEndian(out_, static_cast<std::uint64_t>(value), 2);
    } else if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        Tag(ValueTag::Int32);
        AppendLittleEndian(out_, static_cast<std::uint64_t>(value), 4);
    } else {
        Tag(ValueTag::Int64);
        AppendLittleEndian(out_, static_cast<std::uint64_t>(value), 8);
    }
}

void ValueWriter::Float(double value)
{
    Tag(ValueTag::Extended);
    const Extended bytes = DoubleToExtended(value);
    out_.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void ValueWriter::String(QByteArrayView bytes)
{
    if (bytes.size() < 256) {
        Tag(ValueTag::String);
        Byte(static_cast<std::uint8_t>(bytes.size()));
    } else {
        Tag(ValueTag::LString);
        Int32(static_cast<std::int32_t>(bytes.size()));
    }
    out_.append(bytes);
}

void ValueWriter::Ident(QByteArrayView name)
{
    if (name.compare("False", Qt::CaseInsensitive) == 0)
        Tag(ValueTag::False);
    else if (name.compare("True", Qt::CaseInsensitive) == 0)
        Tag(ValueTag::True);
    else if (name.compare("Null", Qt::CaseInsensitive) == 0)
        Tag(ValueTag::Null);
    else if (name.compare("nil", Qt::CaseInsensitive) == 0)
        Tag(ValueTag::Nil);
    else {
        Tag(ValueTag::Ident);
        ShortText(name);
    }
}

void ValueWriter::Set(const QList<QByteArray>& members)
{
    Tag(ValueTag::Set);
    for (const QByteArray& m : members)
        ShortText(m);
    Byte(0);
}

void ValueWriter::Binary(QByteArrayView bytes)
{
    Tag(ValueTag::Binary);
    Int32(static_cast<std::int32_t>(bytes.size()));
    out_.append(bytes);
}

void ValueWriter::Lines(const QList<QByteArray>& lines)
{
    Tag(ValueTag::List);
    for (const QByteArray& line : lines)
        String(line);
    Tag(ValueTag::Null);
}

} // namespace stream
