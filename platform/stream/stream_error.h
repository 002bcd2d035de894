// Errors of the component stream reader and writer. The messages are the
// texts the programs show in their error box.
#pragma once

#include <QString>

#include <stdexcept>

namespace stream {

class StreamError : public std::runtime_error {
public:
    explicit StreamError(const QString& message, bool final = true);

    const QString& Message() const { return message_; }
    // False for the errors of one property value, which the reader reports
    // again naming the object and property; true for errors that pass
    // through unchanged (a damaged stream, an unknown class, a message that
    // already names its property).
    bool Final() const { return final_; }

private:
    QString message_;
    bool final_;
};

[[noreturn]] void ThrowReadError();          // "Stream read error"
[[noreturn]] void ThrowWriteError();         // "Stream write error"
[[noreturn]] void ThrowInvalidFormat();      // "Invalid stream format"
[[noreturn]] void ThrowClassNotFound(const QString& className);
[[noreturn]] void ThrowUnknownProperty();    // "Property does not exist"
[[noreturn]] void ThrowInvalidValue();       // "Invalid property value"
[[noreturn]] void ThrowInvalidPath();        // "Invalid property path"

// "Error reading <object>.<property>: <message>".
QString PropertyErrorText(const QString& objectName, const QString& propertyName, const QString& message);

} // namespace stream
