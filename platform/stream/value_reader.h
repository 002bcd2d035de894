// Decodes single values of the component stream. Every length is checked
// against the bytes left before anything is taken; running out of bytes,
// or a negative length, raises "Stream read error".
#pragma once

#include "value_tag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>
#include <optional>

namespace stream {

class ValueReader {
public:
    explicit ValueReader(QByteArrayView data) : data_(data) {}

    qsizetype BytesLeft() const { return data_.size() - pos_; }
    std::uint8_t PeekByte() const;
    std::uint8_t Byte();
    QByteArrayView Take(qsizetype count);
    QByteArrayView ShortText();

    ValueTag PeekTag() const { return static_cast<ValueTag>(PeekByte()); }
    ValueTag Tag() { return static_cast<ValueTag>(Byte()); }

    // The payloads that follow a tag already read. Each returns nullopt
    // when the tag is not one of its kind.
    std::optional<std::int64_t> Integer(ValueTag tag);
    // With single, an extended value is rounded straight to single precision.
    std::optional<double> Float(ValueTag tag, bool single = false);
    std::optional<QByteArray> Text(ValueTag tag); // GBK bytes
    // Tag 07 and the bare tags of False, True, Null and nil.
    std::optional<QByteArray> Ident(ValueTag tag);
    std::int32_t Int32();

private:
    std::optional<double> NonExtendedFloat(ValueTag tag);
    std::uint64_t LittleEndian(int size);
    QByteArrayView data_;
    qsizetype pos_ = 0;
};

} // namespace stream
