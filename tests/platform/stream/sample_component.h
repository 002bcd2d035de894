// A small stored class with a property of every kind, registered as
// "TSampleComponent", for the stream tests and the fuzz target.
#pragma once

#include "platform/stream/class_registry.h"
#include "platform/stream/stored_font.h"
#include "platform/stream/stored_strings.h"

#include <memory>
#include <vector>

namespace stream_test {

enum class TShade : std::uint8_t { shLight, shDark, shNone };

class SampleItem : public stream::StreamObject {
public:
    std::int32_t Number = 0;
    double Length = 0.0;
    QByteArray Caption = "item";
    const stream::PropertyTable& Properties() const override;
};

class SampleItems : public stream::StreamCollection {
public:
    std::vector<std::unique_ptr<SampleItem>> Items;
    int Count() const override { return static_cast<int>(Items.size()); }
    stream::StreamObject& Item(int index) override { return *Items[static_cast<std::size_t>(index)]; }
    void Clear() override { Items.clear(); }
    stream::StreamObject& Add() override { return *Items.emplace_back(std::make_unique<SampleItem>()); }
};

class SampleComponent : public stream::StreamObject {
public:
    SampleComponent() { Items.Add(); } // like a network's first node

    std::int32_t Tag = 0;
    std::int32_t Count = 0;       // no declared default: always written
    std::int32_t Color = 0;       // colour names, default clWindow
    TShade Shade = TShade::shLight;
    bool Visible = true;          // default True
    std::uint8_t Days = 0;        // set, no default
    float Ratio = 0.0f;           // single precision
    double When = 0.0;
    QByteArray Text;
    QByteArray Data;
    stream::StoredFont Font;
    stream::StoredStrings Lines;
    SampleItems Items;
    std::vector<std::unique_ptr<stream::StreamObject>> Kids;

    QByteArray ClassName() const override { return "TSampleComponent"; }
    const stream::PropertyTable& Properties() const override;
    std::vector<const stream::StreamObject*> Children() const override;
    void AddChild(std::unique_ptr<stream::StreamObject> child) override { Kids.push_back(std::move(child)); }
};

void RegisterSampleClasses();

} // namespace stream_test
