// The ordered collection of legend items. It owns its items; an item's
// position is its identity in the palette and the drawing tools.
#pragma once

#include "legend_item.h"

#include "platform/stream/stream_object.h"

#include <memory>
#include <vector>

namespace legends {

class TLegends : public stream::StreamCollection {
public:
    TLegends() = default;
    TLegends(const TLegends&) = delete;
    TLegends& operator=(const TLegends&) = delete;

    // Appends an item with the initial values and returns it.
    TLegendItem& Add() override;
    void Delete(int index);
    TLegendItem& Items(int index) { return *items_[static_cast<std::size_t>(index)]; }
    const TLegendItem& Items(int index) const { return *items_[static_cast<std::size_t>(index)]; }
    // Moves the item at from to position to; the items between shift by one.
    void Move(int from, int to);
    int IndexOf(const TLegendItem* item) const;

    int Count() const override { return static_cast<int>(items_.size()); }
    stream::StreamObject& Item(int index) override { return Items(index); }
    void Clear() override { items_.clear(); }

private:
    std::vector<std::unique_ptr<TLegendItem>> items_;
};

} // namespace legends
