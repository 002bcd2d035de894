#include "select_map_coms.h"

#include "grab_handles.h"
#include "map_brush.h"
#include "vyr_map_com.h"

#include <algorithm>

namespace siteplan {

void TSelectMapComs::Tally(const TVyrMapCom* shape, int by)
{
    const std::uint8_t attributes = shape->Attributes();
    for (std::size_t bit = 0; bit < FWithBit.size(); ++bit)
        if (attributes & (1u << bit))
            FWithBit[bit] += by;
}

int TSelectMapComs::Add(TVyrMapCom* shape)
{
    FItems.push_back(shape);
    shape->FSelectedIn = this;
    Tally(shape, 1);
    Notified(shape, TListNotification::lnAdded);
    return Count() - 1;
}

int TSelectMapComs::Remove(TVyrMapCom* shape)
{
    const int index = IndexOf(shape);
    if (index < 0)
        return -1;
    FItems.erase(FItems.begin() + index);
    shape->FSelectedIn = nullptr;
    Tally(shape, -1);
    Notified(shape, TListNotification::lnDeleted);
    return index;
}

void TSelectMapComs::Clear()
{
    while (!FItems.empty()) {
        TVyrMapCom* shape = FItems.back();
        FItems.pop_back();
        shape->FSelectedIn = nullptr;
        Tally(shape, -1);
        Notified(shape, TListNotification::lnDeleted);
    }
}

bool TSelectMapComs::Contains(const TVyrMapCom* shape) const
{
    return shape && shape->FSelectedIn == this;
}

int TSelectMapComs::IndexOf(const TVyrMapCom* shape) const
{
    if (!Contains(shape))
        return -1;
    // The last selected are the ones most often looked for.
    const auto it = std::find(FItems.rbegin(), FItems.rend(), shape);
    return static_cast<int>(FItems.rend() - it) - 1;
}

std::uint8_t TSelectMapComs::CommonAttributes() const
{
    if (FItems.empty())
        return 0;
    std::uint8_t result = 0;
    for (std::size_t bit = 0; bit < FWithBit.size(); ++bit)
        if (FWithBit[bit] == Count())
            result |= static_cast<std::uint8_t>(1u << bit);
    return result;
}

TMapPen* TSelectMapComs::CommonPen() const
{
    return (CommonAttributes() & attr::Pen) ? FItems.front()->Pen() : nullptr;
}

TMapBrush* TSelectMapComs::CommonBrush() const
{
    return (CommonAttributes() & attr::Brush) ? FItems.front()->Brush() : nullptr;
}

TTextShowSet* TSelectMapComs::CommonTextShow() const
{
    return (CommonAttributes() & attr::Text) ? FItems.front()->TextShow() : nullptr;
}

void TSelectMapComs::AssignBrush(const TMapBrush& brush)
{
    if (!(CommonAttributes() & attr::Brush))
        return;
    for (TVyrMapCom* shape : FItems)
        shape->Brush()->Assign(brush);
}

void TSelectMapComs::Notified(TVyrMapCom* shape, TListNotification action)
{
    // A failing handler must not leave the list half-updated.
    try {
        if (action == TListNotification::lnAdded)
            shape->EnsureGrabHandles();
        if (FOwner)
            FOwner(*this, shape, action);
    } catch (...) {
    }
}

} // namespace siteplan
