// The legend library: page names in palette order and the legend items.
// It is the root object of the library file "Legends.dll", a component
// stream of class "TLegendFiles". It owns its pages and items.
#pragma once

#include "legends.h"

#include "platform/stream/stored_strings.h"
#include "platform/stream/stream_object.h"

namespace legends {

class TLegendFiles : public stream::StreamObject {
public:
    TLegendFiles() = default;

    std::int32_t Tag = 0;
    std::int32_t HasPaper = 0;
    stream::StoredStrings Pages;
    TLegends Legends;

    void DeleteLegend(int index) { Legends.Delete(index); }
    // Removes the page of exactly this name from Pages and then every item
    // on it, last to first; nothing when no page has this name.
    void DeletePage(const QString& name);
    // Moves every item of the page oldName to newName; Pages is the caller's.
    void RenamePage(const QString& oldName, const QString& newName);

    QByteArray ClassName() const override { return "TLegendFiles"; }
    const stream::PropertyTable& Properties() const override;
};

// Registers TLegendFiles with the stream's class registry; the library
// readers call it, and hosts may call it at start-up.
void RegisterLegendClasses();

} // namespace legends
