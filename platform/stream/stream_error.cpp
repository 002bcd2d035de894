#include "stream_error.h"

namespace stream {

StreamError::StreamError(const QString& message, bool final)
    : std::runtime_error(message.toStdString()), message_(message), final_(final)
{
}

void ThrowReadError() { throw StreamError(QStringLiteral("Stream read error")); }
void ThrowWriteError() { throw StreamError(QStringLiteral("Stream write error")); }
void ThrowInvalidFormat() { throw StreamError(QStringLiteral("Invalid stream format")); }
void ThrowClassNotFound(const QString& className)
{
    throw StreamError(QStringLiteral("Class %1 not found").arg(className));
}
void ThrowUnknownProperty() { throw StreamError(QStringLiteral("Property does not exist"), false); }
void ThrowInvalidValue() { throw StreamError(QStringLiteral("Invalid property value"), false); }
void ThrowInvalidPath() { throw StreamError(QStringLiteral("Invalid property path"), false); }

QString PropertyErrorText(const QString& objectName, const QString& propertyName, const QString& message)
{
    const QString dot = propertyName.isEmpty() ? QString() : QStringLiteral(".");
    return QStringLiteral("Error reading %1%2%3: %4").arg(objectName, dot, propertyName, message);
}

} // namespace stream
