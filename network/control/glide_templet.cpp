#include "network/control/glide_templet.h"

#include "platform/gbk_text.h"
#include "platform/stream/class_registry.h"
#include "platform/stream/component_reader.h"
#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include <cmath>
#include <limits>
#include <unordered_map>
#include <vector>

namespace network {

namespace {

int ToInt(std::int64_t v)
{
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        stream::ThrowInvalidValue();
    return static_cast<int>(v);
}

float ToSingle(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        stream::ThrowInvalidValue();
    return static_cast<float>(v);
}

// True when the template's works, as links between template node IDs, form
// no cycle.
bool LinksAreAcyclic(const TGlideTemplet& templet)
{
    std::unordered_map<int, std::vector<int>> out;
    std::unordered_map<int, int> into;
    for (int i = 0; i < templet.GWorks().Count(); ++i) {
        const TGWorkItem& w = templet.GWorks().Item(i);
        out[w.PriorNode].push_back(w.NextNode);
        into.try_emplace(w.PriorNode, 0);
        ++into[w.NextNode];
    }
    std::vector<int> ready;
    for (const auto& [id, count] : into)
        if (count == 0)
            ready.push_back(id);
    std::size_t removed = 0;
    while (!ready.empty()) {
        const int id = ready.back();
        ready.pop_back();
        ++removed;
        for (const int next : out[id])
            if (--into[next] == 0)
                ready.push_back(next);
    }
    return removed == into.size();
}

} // namespace

const stream::PropertyTable& TGNodeItem::Properties() const
{
    using R = TGNodeItem;
    static const stream::PropertyTable table = stream::TableBuilder<R>()
        .Integer("New", [](const R& r) { return r.New; }, [](R& r, std::int64_t v) { r.New = ToInt(v); })
        .Integer("NewID", [](const R& r) { return r.NewID; }, [](R& r, std::int64_t v) { r.NewID = ToInt(v); })
        .Integer("NodeY", [](const R& r) { return r.NodeY; }, [](R& r, std::int64_t v) { r.NodeY = ToInt(v); })
        .Float("Offset", [](const R& r) { return r.Offset; }, [](R& r, double v) { r.Offset = ToSingle(v); }, true)
        .Integer("Number", [](const R& r) { return r.Number; }, [](R& r, std::int64_t v) { r.Number = ToInt(v); })
        .Build();
    return table;
}

const stream::PropertyTable& TGWorkItem::Properties() const
{
    using R = TGWorkItem;
    static const stream::PropertyTable table = stream::TableBuilder<R>()
        .Text("Caption", [](const R& r) { return platform::ToGbk(r.Caption); },
            [](R& r, const QByteArray& v) { r.Caption = platform::FromGbk(v); })
        .Integer("PriorNode", [](const R& r) { return r.PriorNode; },
            [](R& r, std::int64_t v) { r.PriorNode = ToInt(v); })
        .Integer("NextNode", [](const R& r) { return r.NextNode; },
            [](R& r, std::int64_t v) { r.NextNode = ToInt(v); })
        .Float("ContinueTime", [](const R& r) { return r.ContinueTime; },
            [](R& r, double v) { r.ContinueTime = ToSingle(v); }, true)
        .Float("Labor", [](const R& r) { return r.Labor; }, [](R& r, double v) { r.Labor = ToSingle(v); }, true)
        .Integer("Workforce", [](const R& r) { return r.Workforce; },
            [](R& r, std::int64_t v) { r.Workforce = ToInt(v); })
        .Float("ParallelTime", [](const R& r) { return r.ParallelTime; },
            [](R& r, double v) { r.ParallelTime = ToSingle(v); }, true)
        .Float("Diapause", [](const R& r) { return r.Diapause; },
            [](R& r, double v) { r.Diapause = ToSingle(v); }, true)
        .Integer("Offset", [](const R& r) { return r.Offset; }, [](R& r, std::int64_t v) { r.Offset = ToInt(v); })
        .Boolean("HorizontalLine", [](const R& r) { return r.HorizontalLine; },
            [](R& r, bool v) { r.HorizontalLine = v; })
        .Object("Font", [](R& r) -> stream::StreamObject* { return &r.m_font; })
        .Boolean("ParentFont", [](const R& r) { return r.ParentFont; }, [](R& r, bool v) { r.ParentFont = v; })
        .Build();
    return table;
}

bool TGlideTemplet::HasWorkInto(int id) const
{
    for (int i = 0; i < m_works.Count(); ++i)
        if (m_works.Item(i).NextNode == id)
            return true;
    return false;
}

TGNodeItem* TGlideTemplet::FindNode(int id)
{
    for (int i = 0; i < m_nodes.Count(); ++i)
        if (m_nodes.Item(i).NewID == id)
            return &m_nodes.Item(i);
    return nullptr;
}

bool TGlideTemplet::HasSingleStart() const
{
    std::unordered_map<int, bool> entered;
    for (int i = 0; i < m_works.Count(); ++i)
        entered[m_works.Item(i).NextNode] = true;
    int starts = 0;
    int b0 = -1;
    for (int i = 0; i < m_works.Count(); ++i) {
        const int p = m_works.Item(i).PriorNode;
        if (entered.contains(p))
            continue;
        if (p != b0)
            ++starts;
        b0 = p;
    }
    return starts == 1;
}

const stream::PropertyTable& TGlideTemplet::Properties() const
{
    using T = TGlideTemplet;
    static const stream::PropertyTable table = stream::TableBuilder<T>()
        .Collection("GWorks", [](T& t) -> stream::StreamCollection* { return &t.m_works; })
        .Collection("GNodes", [](T& t) -> stream::StreamCollection* { return &t.m_nodes; })
        .Build();
    return table;
}

void RegisterGlideTemplet()
{
    stream::RegisterClass("TGlideTemplet", [] { return std::make_unique<TGlideTemplet>(); });
}

QByteArray WriteGlideTemplet(const TGlideTemplet& templet) { return stream::WriteComponent(templet); }

std::unique_ptr<TGlideTemplet> ReadGlideTemplet(QByteArrayView bytes)
{
    RegisterGlideTemplet();
    std::unique_ptr<stream::StreamObject> root = stream::ReadComponent(bytes);
    auto* templet = dynamic_cast<TGlideTemplet*>(root.get());
    if (!templet)
        stream::ThrowInvalidFormat();
    root.release();
    std::unique_ptr<TGlideTemplet> result(templet);
    std::unordered_map<int, bool> seen;
    for (int i = 0; i < result->GNodes().Count(); ++i)
        if (!seen.try_emplace(result->GNodes().Item(i).NewID, true).second)
            stream::ThrowInvalidValue();
    if (result->GNodes().Count() > 0 && result->HasWorkInto(result->GNodes().Item(0).NewID))
        stream::ThrowInvalidValue();
    if (!LinksAreAcyclic(*result))
        stream::ThrowInvalidValue();
    return result;
}

} // namespace network
