// The selection of a plan control: the selected shapes in the order they
// were selected. Every addition and removal is reported to the owner's
// callback; Clear removes the entries one at a time, last first, so that
// each removal is reported.
#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <vector>

namespace siteplan {

class TMapBrush;
class TMapPen;
class TTextShowSet;
class TVyrMapCom;

enum class TListNotification : std::uint8_t { lnAdded, lnDeleted };

class TSelectMapComs {
public:
    using TNotify = std::function<void(TSelectMapComs&, TVyrMapCom*, TListNotification)>;

    explicit TSelectMapComs(TNotify owner = {}) : FOwner(std::move(owner)) {}

    int Add(TVyrMapCom* shape);
    // Removes the shape when present; returns its former index or -1.
    int Remove(TVyrMapCom* shape);
    void Clear();
    int IndexOf(const TVyrMapCom* shape) const;
    bool Contains(const TVyrMapCom* shape) const;
    TVyrMapCom* Items(int index) const { return FItems[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::vector<TVyrMapCom*>& List() const { return FItems; }

    // The AND of the entries' Attributes; 0 when empty.
    std::uint8_t CommonAttributes() const;
    // The first entry's object when every entry has that style group.
    TMapPen* CommonPen() const;
    TMapBrush* CommonBrush() const;
    TTextShowSet* CommonTextShow() const;
    // When every entry has a brush, copies brush into each of them.
    void AssignBrush(const TMapBrush& brush);

private:
    void Notified(TVyrMapCom* shape, TListNotification action);

    void Tally(const TVyrMapCom* shape, int by);

    TNotify FOwner;
    std::vector<TVyrMapCom*> FItems;
    // Per style group bit, how many entries have it: a selection of
    // thousands answers without walking the list. Membership is marked in
    // each entry.
    std::array<int, 8> FWithBit{};
};

} // namespace siteplan
