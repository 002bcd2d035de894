// The flow-process generator: P processes move through S sections on each
// of L layers, each process following the one before it section by
// section. New nodes are placed in the node order through a linked list
// and put in place with one reorder, so a generation costs no search or
// shift per work.
#include "network/control/glide_rhythm.h"
#include "network/control/vyr_network.h"

#include "platform/numbers.h"

#include <list>
#include <unordered_map>
#include <vector>

namespace network {

namespace {

constexpr float kMergeOffset = 3.0f;

// The node collection's order while a generation inserts nodes.
class NodeOrder {
public:
    explicit NodeOrder(const TNodes& nodes)
    {
        for (int i = 0; i < nodes.Count(); ++i)
            Append(nodes.Items(i));
    }
    void Append(TNodeItem* node) { m_places[node] = m_order.insert(m_order.end(), node); }
    // Places node right after anchor.
    void PlaceAfter(TNodeItem* node, TNodeItem* anchor)
    {
        if (const auto it = m_places.find(node); it != m_places.end())
            m_order.erase(it->second);
        m_places[node] = m_order.insert(std::next(m_places.at(anchor)), node);
    }
    void Apply(TNodes& nodes) const
    {
        std::vector<int> permutation;
        permutation.reserve(m_order.size());
        for (const TNodeItem* node : m_order)
            permutation.push_back(node->Index());
        nodes.ReorderNodes(permutation);
    }

private:
    std::list<TNodeItem*> m_order;
    std::unordered_map<TNodeItem*, std::list<TNodeItem*>::iterator> m_places;
};

} // namespace

bool TVYRNetwork::RunGlideWizard(TGlideTable& table, int& layers, int& lineDistance)
{
    return m_onRunGlideWizard && m_onRunGlideWizard(*this, table, layers, lineDistance);
}

void TVYRNetwork::GlidePress(int x, int y)
{
    TNodeItem* node = NodeAt(x, y);
    TWorkItem* work = WorkAt(x, y);
    if (!node && !work)
        return;
    TGlideTable table;
    int layers = 0;
    int lineDistance = 0;
    if (RunGlideWizard(table, layers, lineDistance))
        GenerateGlide(node, work, table, layers, lineDistance);
}

void TVYRNetwork::GenerateGlide(TNodeItem* node, TWorkItem* work, const TGlideTable& table, int layers,
                                int lineDistance)
{
    if (!node && !work)
        return;
    TNodeItem* s = work ? Nodes().FindByNewID(work->PriorNode()) : node;
    TNodeItem* e = work ? Nodes().FindByNewID(work->NextNode()) : nullptr;
    if (!s || (work && !e))
        return;

    const int P = static_cast<int>(table.size());
    const int S = P > 0 ? static_cast<int>(table.front().size()) - 1 : 0;
    if (P < 2 || S < 2 || layers < 1)
        return;
    std::vector<std::vector<float>> rhythm(static_cast<std::size_t>(P));
    for (int j = 0; j < P; ++j) {
        const QStringList& row = table[static_cast<std::size_t>(j)];
        for (int k = 1; k <= S; ++k) {
            QString message;
            const std::optional<float> value = ParseRhythm(k < row.size() ? row[k] : QString(), message);
            if (!value) {
                ShowMessage(message);
                return;
            }
            rhythm[static_cast<std::size_t>(j)].push_back(*value);
        }
    }
    const std::int64_t T = std::int64_t{S} * layers;
    const std::int64_t works = P * T + (T - 2) * (2 * P - 3) + (P - 2);
    if (works + Works().Count() > MaxGlideWorks) {
        ShowMessage(QStringLiteral("流水施工的工作数将超过 %1 个，不能生成！").arg(MaxGlideWorks));
        return;
    }

    Nodes().BeginUpdate();
    Works().BeginUpdate();
    Works().SetUpdateEnabled(false);
    NodeOrder order(Nodes());
    const auto row = [&](std::int64_t g) { return platform::SaturateInt(s->NodeY() + (g - 1) * lineDistance); };
    const auto newNode = [&](TNodeItem* after, int nodeRow) {
        TNodeItem& n = Nodes().Add();
        n.SetNodeY(nodeRow);
        order.Append(&n);
        order.PlaceAfter(&n, after);
        return &n;
    };
    const auto addWork = [&](TNodeItem* from, TNodeItem* to) -> TWorkItem& {
        TWorkItem& w = Works().Add();
        w.SetPriorNode(from->NewID());
        w.SetNextNode(to->NewID());
        return w;
    };
    const auto addDummy = [&](TNodeItem* from, TNodeItem* to) { addWork(from, to).SetContinueTime(0.0f); };

    std::vector<TNodeItem*> previous(static_cast<std::size_t>(P), nullptr);
    std::vector<TNodeItem*> current(static_cast<std::size_t>(P), nullptr);
    for (std::int64_t g = 1; g <= T; ++g) {
        const bool first = g == 1;
        const bool last = g == T;
        for (int j = 0; j < P; ++j) {
            const std::size_t u = static_cast<std::size_t>(j);
            TNodeItem* a = nullptr;
            if (j == 0)
                a = first ? s : previous[0];
            else if (first || last)
                a = current[u - 1];
            else if (j <= P - 2) {
                a = &Nodes().Add();
                a->SetNodeY(row(g));
                a->SetOffset(kMergeOffset);
                order.Append(a);
                order.PlaceAfter(a, previous[u]);
                addDummy(previous[u], a);
                addDummy(current[u - 1], a);
            } else {
                a = previous[u];
                a->SetOffset(kMergeOffset);
                addDummy(current[u - 1], a);
            }

            const QString& name = table[u].isEmpty() ? QString() : table[u].front();
            const float duration = rhythm[u][static_cast<std::size_t>((g - 1) % S)];
            const bool lastProcess = j == P - 1;
            if (last && lastProcess && work) {
                order.PlaceAfter(e, a);
                work->SetCaption(name);
                work->SetExactContinueTime(duration);
                work->SetPriorNode(a->NewID());
                work->SetNextNode(e->NewID());
                current[u] = e;
            } else {
                TNodeItem* n = nullptr;
                if (last && j == P - 2)
                    n = previous[static_cast<std::size_t>(P - 1)];
                else
                    n = newNode(a, lastProcess && !last ? platform::SaturateInt(std::int64_t{row(g)} + lineDistance)
                                                        : row(g));
                TWorkItem& w = addWork(a, n);
                w.SetCaption(name);
                w.SetExactContinueTime(duration);
                if (lastProcess)
                    w.SetHorizontalLine(false);
                current[u] = n;
            }
            if (last && j <= P - 3)
                addDummy(previous[u + 1], current[u]);
        }
        std::swap(previous, current);
    }
    order.Apply(Nodes());

    Works().SetUpdateEnabled(true);
    Nodes().EndUpdate();
    Works().EndUpdate();
    DoWorkChanged(nullptr);
}

} // namespace network
