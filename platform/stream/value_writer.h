// Encodes single values of the component stream: the tag byte and its
// payload, integers in their smallest size, texts by their length.
#pragma once

#include "value_tag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>

namespace stream {

class ValueWriter {
public:
    explicit ValueWriter(QByteArray& out) : out_(out) {}

    void Byte(std::uint8_t value) { out_.append(static_cast<char>(value)); }
    void Tag(ValueTag tag) { Byte(static_cast<std::uint8_t>(tag)); }
    // A length byte and the bytes, cut to 255.
    void ShortText(QByteArrayView bytes);

    void Integer(std::int64_t value);
    void Float(double value);
    // Tag 06 below 256 bytes, else tag 0C.
    void String(QByteArrayView bytes);
    // "False", "True", "Null" and "nil" in any case become their bare tags.
    void Ident(QByteArrayView name);
    void Boolean(bool value) { Tag(value ? ValueTag::True : ValueTag::False); }
    void Set(const QList<QByteArray>& members);
    void Binary(QByteArrayView bytes);
    void Lines(const QList<QByteArray>& lines);

private:
    void Int32(std::int32_t value);
    QByteArray& out_;
};

} // namespace stream
