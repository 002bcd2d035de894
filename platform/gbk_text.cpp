#include "gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

// The converters keep no state between calls; making one looks up the
// code page each time, which texts drawn on every paint would repeat.
QString FromGbk(QByteArrayView bytes)
{
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), bytes.size());
    return decoder.decode(bytes);
}

QByteArray ToGbk(const QString& text)
{
    thread_local QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

} // namespace platform
