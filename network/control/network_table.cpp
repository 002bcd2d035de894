// The property table of a network file's root, in stream order.
#include "network/control/network_records.h"

#include "platform/date_serial.h"
#include "platform/stream/stream_error.h"

#include <limits>

namespace network {

namespace {

int ToInt(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        stream::ThrowInvalidValue();
    return static_cast<int>(v);
}

// A grid size or line space the drawing cannot hold refuses the file.
int PositiveInt(std::int64_t v)
{
    const int value = ToInt(v);
    if (value < 1)
        stream::ThrowInvalidValue();
    return value;
}

std::vector<QByteArray> TopStyleNames()
{
    return {"tsSchedule", "tsYear", "tsMoon", "tsPeriod", "tsWorkWeek", "tsWeek", "tsDay"};
}

} // namespace

class NetworkTable {
public:
    static stream::PropertyTable Build();
};

stream::PropertyTable NetworkTable::Build()
{
    using N = TVYRNetwork;
    using stream::ColorNames;
    auto texts = [](platform::StoredText N::*field) {
        return std::pair{[field](const N& n) { return (n.*field).Bytes(); },
                         [field](N& n, const QByteArray& v) { n.*field = platform::StoredText::FromBytes(v); }};
    };
    stream::TableBuilder<N> b;
    b.Integer("Tag", [](const N& n) { return n.m_tag; }, [](N& n, std::int64_t v) { n.m_tag = ToInt(v); }, 0)
        .Integer("Left", [](const N& n) { return n.m_left; }, [](N& n, std::int64_t v) { n.m_left = ToInt(v); })
        .Integer("Top", [](const N& n) { return n.m_top; }, [](N& n, std::int64_t v) { n.m_top = ToInt(v); })
        .Integer("Width", [](const N& n) { return n.m_width; },
            [](N& n, std::int64_t v) { n.m_width = std::max(ToInt(v), 0); })
        .Integer("Height", [](const N& n) { return n.m_height; },
            [](N& n, std::int64_t v) { n.m_height = std::max(ToInt(v), 0); })
        // The stored cursor is not taken: the draw state decides it.
        .Integer("Cursor", [](const N& n) { return n.m_cursor; }, [](N&, std::int64_t v) { ToInt(v); },
            stream::crDefault, &stream::CursorNames);
    {
        auto [get, set] = texts(&N::m_hint);
        b.Text("Hint", get, set);
    }
    b.Integer("HelpContext", [](const N& n) { return n.m_helpContext; },
            [](N& n, std::int64_t v) { n.m_helpContext = ToInt(v); }, 0)
        .Collection("Nodes", [](N& n) -> stream::StreamCollection* { return n.m_nodeRecords.get(); })
        .Collection("Works", [](N& n) -> stream::StreamCollection* { return n.m_workRecords.get(); });
    {
        auto [get, set] = texts(&N::m_text);
        b.Text("Caption", get, set);
    }
    b.Integer("Color", [](const N& n) { return n.Color(); }, [](N& n, std::int64_t v) { n.SetColor(ToInt(v)); },
            platform::clWindow, &ColorNames)
        .Object("Font", [](N& n) -> stream::StreamObject* { return n.FontRecord(); })
        .Float("StartDate", [](const N& n) { return n.StartDate(); },
            [](N& n, double v) {
                if (!platform::SerialToDate(v))
                    stream::ThrowInvalidValue();
                n.SetStartDate(v);
            })
        .Integer("StartJinDu", [](const N& n) { return n.StartJinDu(); },
            [](N& n, std::int64_t v) { n.SetStartJinDu(ToInt(v)); }, 0)
        .Integer("TopLineID", [](const N& n) { return n.TopLineID(); },
            [](N& n, std::int64_t v) { n.SetTopLineID(ToInt(v)); }, 100)
        .Integer("TopLinePosition", [](const N& n) { return n.TopLinePosition(); },
            [](N& n, std::int64_t v) { n.SetTopLinePosition(ToInt(v)); }, 40)
        .Integer("RulerLineColor", [](const N& n) { return n.RulerLineColor(); },
            [](N& n, std::int64_t v) { n.SetRulerLineColor(ToInt(v)); }, platform::clGreen, &ColorNames)
        .Integer("SmallWidth", [](const N& n) { return n.SmallWidth(); },
            [](N& n, std::int64_t v) { n.SetSmallWidth(PositiveInt(v)); }, 20)
        .Integer("SmallDate", [](const N& n) { return n.SmallDate(); },
            [](N& n, std::int64_t v) { n.SetSmallDate(PositiveInt(v)); }, 2)
        .Integer("SmallLineSpace", [](const N& n) { return n.SmallLineSpace(); },
            [](N& n, std::int64_t v) { n.SetSmallLineSpace(PositiveInt(v)); }, 40)
        .Set("RecessDate", {"rdSunday", "rdSaturday", "rdNational", "rdNewyear", "rdLabor"},
            [](const N& n) { return n.RecessDate().Bits(); },
            [](N& n, std::int64_t v) { n.SetRecessDate(TRecessDate::FromBits(static_cast<std::uint8_t>(v))); }, 0)
        .Float("WorkLimit", [](const N& n) { return n.WorkLimit(); },
            [](N& n, double v) { n.SetWorkLimit(static_cast<float>(FiniteValue(v))); }, true)
        .Boolean("ShowRedFlag", [](const N& n) { return n.ShowRedFlag(); },
            [](N& n, bool v) { n.SetShowRedFlag(v); }, true)
        .Integer("RedFlagColor", [](const N& n) { return n.RedFlagColor(); },
            [](N& n, std::int64_t v) { n.SetRedFlagColor(ToInt(v)); }, {}, &ColorNames)
        .Object("CapFont", [](N& n) -> stream::StreamObject* { return &n.m_capFont; })
        .Set("TopStyle", TopStyleNames(), [](const N& n) { return n.TopStyle(); },
            [](N& n, std::int64_t v) { n.SetTopStyle(static_cast<TTableTopStyle>(v)); })
        .Set("BottomStyle", TopStyleNames(), [](const N& n) { return n.BottomStyle(); },
            [](N& n, std::int64_t v) { n.SetBottomStyle(static_cast<TTableTopStyle>(v)); })
        .Integer("ScheduleInterval", [](const N& n) { return n.ScheduleInterval(); },
            [](N& n, std::int64_t v) { n.SetScheduleInterval(ToInt(v)); }, 10)
        .Boolean("AutoSize", [](const N& n) { return n.AutoSize(); }, [](N& n, bool v) { n.SetAutoSize(v); })
        .Integer("LeftLank", [](const N& n) { return n.LeftLank(); },
            [](N& n, std::int64_t v) { n.SetLeftLank(ToInt(v)); })
        .Integer("RightLank", [](const N& n) { return n.RightLank(); },
            [](N& n, std::int64_t v) { n.SetRightLank(ToInt(v)); })
        .Integer("TopLank", [](const N& n) { return n.TopLank(); },
            [](N& n, std::int64_t v) { n.SetTopLank(ToInt(v)); })
        .Integer("BottomLank", [](const N& n) { return n.BottomLank(); },
            [](N& n, std::int64_t v) { n.SetBottomLank(ToInt(v)); })
        .Integer("LankLineWidth", [](const N& n) { return n.LankLineWidth(); },
            [](N& n, std::int64_t v) { n.SetLankLineWidth(ToInt(v)); })
        .Integer("ScheduleHeight", [](const N& n) { return n.ScheduleHeight(); },
            [](N& n, std::int64_t v) { n.SetScheduleHeight(ToInt(v)); })
        .Integer("ResourceHeight", [](const N& n) { return n.ResourceHeight(); },
            [](N& n, std::int64_t v) { n.SetResourceHeight(ToInt(v)); }, 50)
        .Set("ResourceStyle", {"rsLabor", "rsWorkforce"}, [](const N& n) { return n.ResourceStyle(); },
            [](N& n, std::int64_t v) { n.SetResourceStyle(static_cast<TResourceStyle>(v)); }, 0)
        .Integer("ResourceColor", [](const N& n) { return n.ResourceColor(); },
            [](N& n, std::int64_t v) { n.SetResourceColor(ToInt(v)); }, platform::clRed, &ColorNames)
        .Boolean("ShowDayLine", [](const N& n) { return n.ShowDayLine(); },
            [](N& n, bool v) { n.SetShowDayLine(v); }, true)
        .Boolean("ShowDuty", [](const N& n) { return n.ShowDuty(); }, [](N& n, bool v) { n.SetShowDuty(v); })
        .Integer("DutyWidth", [](const N& n) { return n.DutyWidth(); },
            [](N& n, std::int64_t v) { n.SetDutyWidth(ToInt(v)); })
        .Integer("DutyHeight", [](const N& n) { return n.DutyHeight(); },
            [](N& n, std::int64_t v) { n.SetDutyHeight(ToInt(v)); })
        .Object("DutyFont", [](N& n) -> stream::StreamObject* { return &n.m_dutyFont; })
        .Object("NetFont", [](N& n) -> stream::StreamObject* { return &n.m_netFont; })
        .Object("NetText", [](N& n) -> stream::StreamObject* { return &n.m_netText; });
    const std::pair<const char*, platform::StoredText N::*> duty[] = {
        {"DutyName", &N::m_dutyName}, {"DutyEngineer", &N::m_dutyEngineer}, {"DutyPlot", &N::m_dutyPlot},
        {"DutyAuditing", &N::m_dutyAuditing}, {"DutyCollate", &N::m_dutyCollate}};
    for (const auto& [name, field] : duty) {
        auto [get, set] = texts(field);
        b.Text(name, get, set);
    }
    return b.Build();
}

const stream::PropertyTable& TVYRNetwork::Properties() const
{
    static const stream::PropertyTable table = NetworkTable::Build();
    return table;
}

} // namespace network
