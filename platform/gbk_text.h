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
// valid GBK. Setting a different text replaces the bytes. The decoded text
// is kept beside the bytes: shapes read it at every paint.
class StoredText {
public:
    StoredText() = default;
    explicit StoredText(const QString& text) : bytes_(ToGbk(text)), text_(FromGbk(bytes_)) {}
    static StoredText FromBytes(QByteArray bytes)
    {
        StoredText t;
        t.bytes_ = std::move(bytes);
        t.text_ = FromGbk(t.bytes_);
        return t;
    }

    QString Text() const { return text_; }
    void SetText(const QString& text)
    {
        if (text == text_)
            return;
        bytes_ = ToGbk(text);
        text_ = FromGbk(bytes_);
    }
    const QByteArray& Bytes() const { return bytes_; }

    friend bool operator==(const StoredText& a, const StoredText& b) { return a.bytes_ == b.bytes_; }

private:
    QByteArray bytes_;
    QString text_;
};

} // namespace platform
