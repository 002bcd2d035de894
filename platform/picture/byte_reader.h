// A little-endian reader over a span of bytes that never reads past its end:
// every read first checks that the bytes are there, so lengths taken from a
// file can be validated before anything is allocated for them.
#pragma once

#include <QByteArrayView>

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace platform::picture {

static_assert(std::endian::native == std::endian::little, "stored pictures are little-endian");

class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : bytes_(bytes) {}

    qsizetype Position() const { return pos_; }
    qsizetype Remaining() const { return bytes_.size() - pos_; }
    bool Has(qsizetype count) const { return count >= 0 && count <= Remaining(); }

    std::optional<std::uint8_t> U8() { return Read<std::uint8_t>(); }
    std::optional<std::uint16_t> U16() { return Read<std::uint16_t>(); }
    std::optional<std::int16_t> I16() { return Read<std::int16_t>(); }
    std::optional<std::uint32_t> U32() { return Read<std::uint32_t>(); }
    std::optional<std::int32_t> I32() { return Read<std::int32_t>(); }
    std::optional<float> F32() { return Read<float>(); }

    // The next count bytes, or nothing when fewer are left.
    std::optional<QByteArrayView> Bytes(qsizetype count)
    {
        if (!Has(count))
            return std::nullopt;
        const QByteArrayView part = bytes_.sliced(pos_, count);
        pos_ += count;
        return part;
    }

    bool Skip(qsizetype count)
    {
        if (!Has(count))
            return false;
        pos_ += count;
        return true;
    }

private:
    template <typename T>
    std::optional<T> Read()
    {
        if (!Has(sizeof(T)))
            return std::nullopt;
        T value;
        std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }

    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

} // namespace platform::picture
