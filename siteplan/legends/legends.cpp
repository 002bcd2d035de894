#include "legends.h"

#include <algorithm>

namespace legends {

TLegendItem& TLegends::Add()
{
    return *items_.emplace_back(std::make_unique<TLegendItem>(this));
}

void TLegends::Delete(int index)
{
    items_.erase(items_.begin() + index);
}

void TLegends::Move(int from, int to)
{
    if (from == to)
        return;
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

int TLegends::IndexOf(const TLegendItem* item) const
{
    const auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

} // namespace legends
