#include "network/control/network_records.h"

#include "platform/stream/stream_error.h"

#include <cmath>
#include <limits>

namespace network {

namespace {

int ToInt(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        stream::ThrowInvalidValue();
    return static_cast<int>(v);
}

QByteArray Bytes(const QString& text) { return platform::ToGbk(text); }
QString Text(const QByteArray& bytes) { return platform::FromGbk(bytes); }

} // namespace

double FiniteValue(double value)
{
    if (!std::isfinite(value))
        stream::ThrowInvalidValue();
    return value;
}

const stream::PropertyTable& NodeRecord::Properties() const
{
    using R = NodeRecord;
    static const stream::PropertyTable table = stream::TableBuilder<R>()
        .Integer("NewID", [](const R& r) { return r.node->NewID(); },
            [](R& r, std::int64_t v) { r.node->SetNewID(ToInt(v)); })
        .Integer("NodeY", [](const R& r) { return r.node->NodeY(); },
            [](R& r, std::int64_t v) { r.node->SetNodeY(ToInt(v)); })
        .Float("Offset", [](const R& r) { return r.node->Offset(); },
            [](R& r, double v) { r.node->SetOffset(static_cast<float>(FiniteValue(v))); }, true)
        .Integer("Number", [](const R& r) { return r.node->Number(); },
            [](R& r, std::int64_t v) {
                // A number not above the previous node's cannot be held.
                const int number = ToInt(v);
                const TNodeItem* previous = r.node->Collection().Items(r.node->Index() - 1);
                if (previous && number <= previous->Number())
                    stream::ThrowInvalidValue();
                r.node->SetNumber(number);
            })
        .Boolean("AutoNumber", [](const R& r) { return r.node->AutoNumber(); },
            [](R& r, bool v) { r.node->SetAutoNumber(v); })
        .Build();
    return table;
}

stream::StreamObject& NodeRecords::Item(int index)
{
    while (static_cast<int>(m_records.size()) <= index)
        m_records.emplace_back();
    NodeRecord& record = m_records[static_cast<std::size_t>(index)];
    record.node = m_owner.Nodes().Items(index);
    return record;
}

stream::StreamObject& NodeRecords::Add()
{
    m_owner.Nodes().Add();
    return Item(m_owner.Nodes().Count() - 1);
}

const stream::PropertyTable& WorkRecord::Properties() const
{
    using R = WorkRecord;
    static const stream::PropertyTable table = stream::TableBuilder<R>()
        .Text("Caption", [](const R& r) { return Bytes(r.work->Caption()); },
            [](R& r, const QByteArray& v) {
                // An empty caption is not written, so reading it keeps the
                // caption the item constructor gave; the file then reads
                // back as the control writes it. Bytes that decode to no
                // character count as empty.
                const QString caption = Text(v);
                if (!caption.isEmpty())
                    r.work->SetCaption(caption);
            })
        .Integer("PriorNode", [](const R& r) { return r.work->PriorNode(); },
            [](R& r, std::int64_t v) { r.work->SetPriorNode(ToInt(v)); })
        .Integer("NextNode", [](const R& r) { return r.work->NextNode(); },
            [](R& r, std::int64_t v) { r.work->SetNextNode(ToInt(v)); })
        .Float("ContinueTime", [](const R& r) { return r.work->ContinueTime(); },
            [](R& r, double v) { r.work->SetContinueTime(static_cast<float>(FiniteValue(v))); }, true)
        .Float("Labor", [](const R& r) { return r.work->Labor(); },
            [](R& r, double v) { r.work->SetLabor(static_cast<float>(FiniteValue(v))); }, true)
        .Integer("Workforce", [](const R& r) { return r.work->Workforce(); },
            [](R& r, std::int64_t v) { r.work->SetWorkforce(ToInt(v)); }, 0)
        .Float("ParallelTime", [](const R& r) { return r.work->ParallelTime(); },
            [](R& r, double v) { r.work->SetParallelTime(static_cast<float>(FiniteValue(v))); }, true)
        .Float("Diapause", [](const R& r) { return r.work->Diapause(); },
            [](R& r, double v) { r.work->SetDiapause(static_cast<float>(FiniteValue(v))); }, true)
        .Text("WorkPoints", [](const R& r) { return Bytes(r.work->WorkPoints()); },
            [](R& r, const QByteArray& v) { r.work->SetWorkPoints(Text(v)); })
        .Integer("Offset", [](const R& r) { return r.work->Offset(); },
            [](R& r, std::int64_t v) { r.work->SetOffset(ToInt(v)); })
        .Boolean("HorizontalLine", [](const R& r) { return r.work->HorizontalLine(); },
            [](R& r, bool v) { r.work->SetHorizontalLine(v); })
        .Object("Font", [](R& r) -> stream::StreamObject* {
            if (r.owner->Loading())
                return &r.owner->StoredWorkFont(*r.work);
            r.written = r.owner->WorkFontToWrite(*r.work);
            return &r.written;
        })
        .Boolean("ParentFont", [](const R& r) { return r.work->ParentFont(); },
            [](R& r, bool v) { r.work->SetParentFont(v); }, true)
        .Build();
    return table;
}

stream::StreamObject& WorkRecords::Item(int index)
{
    while (static_cast<int>(m_records.size()) <= index)
        m_records.emplace_back();
    WorkRecord& record = m_records[static_cast<std::size_t>(index)];
    record.owner = &m_owner;
    record.work = m_owner.Works().Items(index);
    return record;
}

stream::StreamObject& WorkRecords::Add()
{
    m_owner.Works().Add();
    return Item(m_owner.Works().Count() - 1);
}

const stream::PropertyTable& StoredLankPanel::Properties() const
{
    using P = StoredLankPanel;
    static const stream::PropertyTable table = stream::TableBuilder<P>()
        .Integer("Left", [](const P& p) { return p.Left; }, [](P& p, std::int64_t v) { p.Left = ToInt(v); })
        .Integer("Top", [](const P& p) { return p.Top; }, [](P& p, std::int64_t v) { p.Top = ToInt(v); })
        .Integer("Width", [](const P& p) { return p.Width; }, [](P& p, std::int64_t v) { p.Width = ToInt(v); })
        .Integer("Height", [](const P& p) { return p.Height; }, [](P& p, std::int64_t v) { p.Height = ToInt(v); })
        .Integer("Cursor", [](const P& p) { return p.Cursor; }, [](P& p, std::int64_t v) { p.Cursor = ToInt(v); },
            stream::crDefault, &stream::CursorNames)
        .Enumeration("BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"},
            [](const P& p) { return p.BevelOuter; }, [](P& p, std::int64_t v) { p.BevelOuter = ToInt(v); }, 2)
        .Integer("Color", [](const P& p) { return p.Color; }, [](P& p, std::int64_t v) { p.Color = ToInt(v); },
            platform::clBtnFace, &stream::ColorNames)
        .Integer("TabOrder", [](const P& p) { return p.TabOrder; },
            [](P& p, std::int64_t v) { p.TabOrder = ToInt(v); }, -1)
        .Boolean("Visible", [](const P& p) { return p.Visible; }, [](P& p, bool v) { p.Visible = v; }, true)
        .Build();
    return table;
}

} // namespace network
