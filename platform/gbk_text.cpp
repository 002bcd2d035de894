#include "gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

QString FromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), bytes.size());
    return decoder.decode(bytes);
}

QByteArray ToGbk(const QString& text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

} // namespace platform
