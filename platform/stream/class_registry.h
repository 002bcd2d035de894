// The classes the stream reader can create by their stored name. Each
// program registers its stored classes at start-up.
#pragma once

#include "stream_object.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <memory>

namespace stream {

using ClassFactory = std::function<std::unique_ptr<StreamObject>()>;

// Registers (or replaces) the factory of a class name.
void RegisterClass(const QByteArray& className, ClassFactory factory);

// A new object of the named class (any letter case), or nullptr when no
// class of that name is registered.
std::unique_ptr<StreamObject> CreateObject(QByteArrayView className);

} // namespace stream
