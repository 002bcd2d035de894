// A window's collaborator that its creator may hand over (tests hand fakes)
// or leave to the window, which then makes its own and keeps it in own.
#pragma once

#include <memory>
#include <utility>

namespace common {

template <class Made, class Service, class... Args>
Service* HandedOrMade(Service* handed, std::unique_ptr<Service>& own, Args&&... args)
{
    if (handed)
        return handed;
    own = std::make_unique<Made>(std::forward<Args>(args)...);
    return own.get();
}

} // namespace common
