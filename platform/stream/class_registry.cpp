#include "class_registry.h"

#include <mutex>
#include <utility>
#include <vector>

namespace stream {

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::pair<QByteArray, ClassFactory>> classes;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void RegisterClass(const QByteArray& className, ClassFactory factory)
{
    Registry& r = TheRegistry();
    const std::lock_guard lock(r.mutex);
    for (auto& entry : r.classes) {
        if (QByteArrayView(entry.first).compare(className, Qt::CaseInsensitive) == 0) {
            entry.second = std::move(factory);
            return;
        }
    }
    r.classes.emplace_back(className, std::move(factory));
}

std::unique_ptr<StreamObject> CreateObject(QByteArrayView className)
{
    ClassFactory factory;
    {
        Registry& r = TheRegistry();
        const std::lock_guard lock(r.mutex);
        for (const auto& entry : r.classes)
            if (QByteArrayView(entry.first).compare(className, Qt::CaseInsensitive) == 0)
                factory = entry.second;
    }
    return factory ? factory() : nullptr;
}

} // namespace stream
