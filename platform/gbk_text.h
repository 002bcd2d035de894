// Text in code page 936 (GBK), the encoding of every text the programs store.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

// Decodes GBK bytes. Bytes that do not form a character become U+FFFD;
// decoding never fails.
QString FromGbk(QByteArrayView bytes);

// Encodes to GBK; characters GBK lacks become '?'.
QByteArray ToGbk(const QString& text);

// A stored text that keeps the bytes it was read with, so that a record
// written back unchanged is byte-identical even when the bytes are not
// valid GBK. Setting a different text replaces the bytes.
class StoredText {
public:
    StoredText() = default;
    explicit StoredText(const QString& text) : bytes_(ToGbk(text)) {}
    static StoredText FromBytes(QByteArray bytes)
    {
        StoredText t;
        t.bytes_ = std::move(bytes);
        return t;
    }

    QString Text() const { return FromGbk(bytes_); }
    void SetText(const QString& text)
    {
        if (text != Text())
            bytes_ = ToGbk(text);
    }
    const QByteArray& Bytes() const { return bytes_; }

    friend bool operator==(const StoredText&, const StoredText&) = default;

private:
    QByteArray bytes_;
};

} // namespace platform
