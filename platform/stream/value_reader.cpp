#include "value_reader.h"

#include "extended_float.h"
#include "stream_error.h"

#include "platform/gbk_text.h"

#include <bit>
#include <cstring>

namespace stream {

std::uint8_t ValueReader::PeekByte() const
{
    if (BytesLeft() < 1)
        ThrowReadError();
    return static_cast<std::uint8_t>(data_[pos_]);
}

std::uint8_t ValueReader::Byte()
{
    const std::uint8_t b = PeekByte();
    ++pos_;
    return b;
}

QByteArrayView ValueReader::Take(qsizetype count)
{
    if (count < 0 || count > BytesLeft())
        ThrowReadError();
    const QByteArrayView part = data_.sliced(pos_, count);
    pos_ += count;
    return part;
}

QByteArrayView ValueReader::ShortText()
{
    return Take(Byte());
}

std::uint64_t ValueReader::LittleEndian(int size)
{
    const QByteArrayView bytes = Take(size);
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

std::int32_t ValueReader::Int32()
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(4)));
}

std::optional<std::int64_t> ValueReader::Integer(ValueTag tag)
{
    switch (tag) {
    case ValueTag::Int8:
        return static_cast<std::int8_t>(LittleEndian(1));
    case ValueTag::Int16:
        return static_cast<std::int16_t>(LittleEndian(2));
    case ValueTag::Int32:
        return static_cast<std::int32_t>(LittleEndian(4));
    case ValueTag::Int64:
        return static_cast<std::int64_t>(LittleEndian(8));
    default:
        return std::nullopt;
    }
}

std::optional<double> ValueReader::Float(ValueTag tag, bool single)
{
    if (tag == ValueTag::Extended) {
        Extended bytes{};
        const QByteArrayView raw = Take(10);
        std::memcpy(bytes.data(), raw.data(), bytes.size());
        return single ? static_cast<double>(ExtendedToSingle(bytes)) : ExtendedToDouble(bytes);
    }
    const std::optional<double> value = NonExtendedFloat(tag);
    if (!value || !single)
        return value;
    // Every double is exact as an extended value, which then rounds once.
    return static_cast<double>(ExtendedToSingle(DoubleToExtended(*value)));
}

std::optional<double> ValueReader::NonExtendedFloat(ValueTag tag)
{
    switch (tag) {
    case ValueTag::Single:
        return static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndian(4))));
    case ValueTag::Date:
        return std::bit_cast<double>(LittleEndian(8));
    case ValueTag::Currency:
        return static_cast<double>(static_cast<std::int64_t>(LittleEndian(8))) / 10000.0;
    default:
        if (const auto i = Integer(tag))
            return static_cast<double>(*i);
        return std::nullopt;
    }
}

std::optional<QByteArray> ValueReader::Text(ValueTag tag)
{
    switch (tag) {
    case ValueTag::String:
        return ShortText().toByteArray();
    case ValueTag::LString:
        return Take(Int32()).toByteArray();
    case ValueTag::WideString: {
        const std::int32_t units = Int32();
        if (units < 0 || units > BytesLeft() / 2)
            ThrowReadError();
        const QByteArrayView raw = Take(qsizetype{units} * 2);
        QString text(units, Qt::Uninitialized);
        for (std::int32_t i = 0; i < units; ++i)
            text[i] = QChar(static_cast<char16_t>(static_cast<std::uint8_t>(raw[2 * i])
                                                  | (static_cast<std::uint8_t>(raw[2 * i + 1]) << 8)));
        return platform::ToGbk(text);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> ValueReader::Ident(ValueTag tag)
{
    switch (tag) {
    case ValueTag::Ident:
        return ShortText().toByteArray();
    case ValueTag::False:
        return QByteArray("False");
    case ValueTag::True:
        return QByteArray("True");
    case ValueTag::Null:
        return QByteArray("Null");
    case ValueTag::Nil:
        return QByteArray("nil");
    default:
        return std::nullopt;
    }
}

} // namespace stream
