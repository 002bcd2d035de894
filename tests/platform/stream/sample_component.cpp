#include "sample_component.h"

#include "platform/colors.h"

namespace stream_test {

using stream::TableBuilder;

const stream::PropertyTable& SampleItem::Properties() const
{
    static const stream::PropertyTable table = TableBuilder<SampleItem>()
        .Integer("Number", [](const SampleItem& i) { return i.Number; },
            [](SampleItem& i, std::int64_t v) { i.Number = static_cast<std::int32_t>(v); })
        .Float("Length", [](const SampleItem& i) { return i.Length; }, [](SampleItem& i, double v) { i.Length = v; })
        .Text("Caption", [](const SampleItem& i) { return i.Caption; },
            [](SampleItem& i, const QByteArray& v) { i.Caption = v; })
        .Build();
    return table;
}

const stream::PropertyTable& SampleComponent::Properties() const
{
    using C = SampleComponent;
    static const stream::PropertyTable table = TableBuilder<C>()
        .Integer("Tag", [](const C& c) { return c.Tag; }, [](C& c, std::int64_t v) { c.Tag = static_cast<std::int32_t>(v); }, 0)
        .Integer("Count", [](const C& c) { return c.Count; }, [](C& c, std::int64_t v) { c.Count = static_cast<std::int32_t>(v); })
        .Integer("Color", [](const C& c) { return c.Color; }, [](C& c, std::int64_t v) { c.Color = static_cast<std::int32_t>(v); },
            platform::clWindow, &stream::ColorNames)
        .Enumeration("Shade", {"shLight", "shDark", "shNone"}, [](const C& c) { return static_cast<int>(c.Shade); },
            [](C& c, std::int64_t v) { c.Shade = static_cast<TShade>(v); }, 0)
        .Boolean("Visible", [](const C& c) { return c.Visible; }, [](C& c, bool v) { c.Visible = v; }, true)
        .Set("Days", {"rdMonday", "rdTuesday", "rdWednesday"}, [](const C& c) { return c.Days; },
            [](C& c, std::int64_t v) { c.Days = static_cast<std::uint8_t>(v); })
        .Float("Ratio", [](const C& c) { return c.Ratio; }, [](C& c, double v) { c.Ratio = static_cast<float>(v); }, true)
        .Float("When", [](const C& c) { return c.When; }, [](C& c, double v) { c.When = v; })
        .Text("Text", [](const C& c) { return c.Text; }, [](C& c, const QByteArray& v) { c.Text = v; })
        .Binary("Data", [](const C& c) { return c.Data; }, [](C& c, const QByteArray& v) { c.Data = v; })
        .Object("Font", [](C& c) { return &c.Font; })
        .Object("Lines", [](C& c) { return &c.Lines; })
        .Collection("Items", [](C& c) { return &c.Items; })
        .Build();
    return table;
}

std::vector<const stream::StreamObject*> SampleComponent::Children() const
{
    std::vector<const stream::StreamObject*> kids;
    for (const auto& k : Kids)
        kids.push_back(k.get());
    return kids;
}

void RegisterSampleClasses()
{
    stream::RegisterClass("TSampleComponent", [] { return std::make_unique<SampleComponent>(); });
}

} // namespace stream_test
