#include "network/network_add_node_work.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

TVYRNetworkAddNodeWork::TVYRNetworkAddNodeWork(platform::WindowServices& services)
    : m_services(services)
    , m_works(std::make_unique<TWorks>(this))
    , m_nodes(std::make_unique<TNodes>(this))
{
    AddNode(101, 0.0f);
}

TVYRNetworkAddNodeWork::~TVYRNetworkAddNodeWork()
{
    m_nodes.reset();
    m_works.reset();
}

void TVYRNetworkAddNodeWork::Invalidate() { m_services.Invalidate(); }
void TVYRNetworkAddNodeWork::NodeSelectChanged(TNodeItem*) {}
void TVYRNetworkAddNodeWork::WorkSelectChanged(TWorkItem*) {}
void TVYRNetworkAddNodeWork::HideHandles() {}

void TVYRNetworkAddNodeWork::RearrangeWithOffsets()
{
    SortNodes();
    SortWorks();
    BuildOffsetPoints();
}

void TVYRNetworkAddNodeWork::Rearrange()
{
    SortNodes();
    SortWorks();
}

void TVYRNetworkAddNodeWork::RecalcTimes()
{
    RecalcUntilSettled();
}

void TVYRNetworkAddNodeWork::RecalcNetwork()
{
    RecalcUntilSettled();
}

void TVYRNetworkAddNodeWork::RecalcUntilSettled()
{
    // The earliest times (through the first node, and on a cycle or a work
    // falling back in time) and the ties among equal times depend on the
    // node order a pass starts from, so passes repeat until the nodes no
    // longer move, which makes a recomputation give what a second one would.
    // A pass that moves nothing costs little. The order of works matters only
    // where a work ends the scan at its own node or on a cycle, where it is
    // taken as the pass leaves it. Orders on a cycle can alternate for ever;
    // the passes are bounded for them.
    constexpr int kMaxPasses = 8;
    for (int pass = 0;; ++pass) {
        const std::uint64_t nodeOrder = m_nodes->OrderRevision();
        const TNodeItem* first = m_nodes->Count() > 0 ? m_nodes->Items(0) : nullptr;
        CalcEarliestTimes();
        SortNodes();
        CalcLatestTimes();
        SortWorks();
        if (pass + 1 >= kMaxPasses || nodeOrder == m_nodes->OrderRevision())
            return;
        // Where every work runs forward and rises in time from the same first
        // node, the earliest times do not depend on the rest of the node
        // order, so a sort alone shows whether the order settled. A sort
        // that kept every group of equal times as it found it needs no
        // check: it put the ends of works rising in time after their starts
        // and the group members after the members linked to them, and a
        // second sort would find the same groups with the same links. Nor
        // does one that left every group in an order meeting the rules, which
        // a second sort keeps, unless a NewID names several nodes, where the
        // first of them holds the works.
        const bool sameFirst = m_nodes->Items(0) == first;
        const GroupsOutcome groups = m_groupsOutcome;
        if (sameFirst && groups.linksChecked && groups.rising && groups.forward && groups.groupsKept)
            return;
        const bool uniqueNodes = !NodeLookup().HasDuplicateNewIDs();
        bool rising = true;
        bool forward = true;
        CheckLinks(rising, forward);
        if (rising && forward && sameFirst) {
            if (groups.groupsKept || (m_orderMeetsRules && uniqueNodes))
                return;
            const std::uint64_t sorted = m_nodes->OrderRevision();
            SortNodes();
            if (sorted == m_nodes->OrderRevision())
                return;
            CalcLatestTimes();
            SortWorks();
        } else if (m_timesFollowLinks && m_orderMeetsRules && uniqueNodes && sameFirst) {
            // The earliest times depend only on the links and the first
            // node, so the next pass would find the same times and leave the
            // nodes where they are; only the latest times can change there,
            // through works against the node order, which read the latest
            // times found before.
            CalcLatestTimes();
            return;
        }
    }
}

TNodeItem& TVYRNetworkAddNodeWork::AddNode(int row, float offset)
{
    m_nodes->BeginUpdate();
    TNodeItem& node = m_nodes->Add();
    node.SetNodeY(row);
    node.SetOffset(offset);
    m_nodes->EndUpdate();
    return node;
}

TNodeItem& TVYRNetworkAddNodeWork::InsertNode(int index, int row, float offset)
{
    m_nodes->BeginUpdate();
    TNodeItem& node = m_nodes->Insert(index);
    node.m_nodeY = row;
    node.m_offset = std::isfinite(offset) ? offset : 0.0f;
    m_nodes->BumpValues();
    m_nodes->EndUpdate();
    return node;
}

void TVYRNetworkAddNodeWork::SelectItems(TNodeItem* node, TWorkItem* work, bool add)
{
    if (!add)
        HideHandles();
    m_nodes->SelectNode(node, add);
    m_works->SelectWork(work, add);
}

void TVYRNetworkAddNodeWork::DoNetChanged()
{
    if (m_onNetChanged)
        m_onNetChanged(*this);
}

const NetworkIndex& TVYRNetworkAddNodeWork::NodeLookup() const
{
    m_index.RefreshKeys(*m_nodes, *m_works);
    return m_index;
}

const NetworkIndex& TVYRNetworkAddNodeWork::LookupIndex() const
{
    m_index.Refresh(*m_nodes, *m_works);
    return m_index;
}

const ScheduleGraph& TVYRNetworkAddNodeWork::Graph() const
{
    m_graph.Refresh(NodeLookup(), *m_nodes, *m_works);
    return m_graph;
}

namespace {

TWorkItem* NthWork(std::span<TWorkItem* const> works, int n)
{
    return n >= 1 && static_cast<std::size_t>(n) <= works.size() ? works[static_cast<std::size_t>(n) - 1] : nullptr;
}

} // namespace

int TVYRNetworkAddNodeWork::CountWorksInto(int newID) const
{
    const NetworkIndex& index = LookupIndex();
    return static_cast<int>(index.WorksInto(index.KeyOf(newID)).size());
}

int TVYRNetworkAddNodeWork::CountWorksFrom(int newID) const
{
    const NetworkIndex& index = LookupIndex();
    return static_cast<int>(index.WorksFrom(index.KeyOf(newID)).size());
}

TWorkItem* TVYRNetworkAddNodeWork::GetWorkInto(int newID, int n) const
{
    const NetworkIndex& index = LookupIndex();
    return NthWork(index.WorksInto(index.KeyOf(newID)), n);
}

TWorkItem* TVYRNetworkAddNodeWork::GetWorkFrom(int newID, int n) const
{
    const NetworkIndex& index = LookupIndex();
    return NthWork(index.WorksFrom(index.KeyOf(newID)), n);
}

int TVYRNetworkAddNodeWork::CountInWorks(const TNodeItem* node) const
{
    return node ? CountWorksInto(node->NewID()) : 0;
}

TWorkItem* TVYRNetworkAddNodeWork::GetInWork(const TNodeItem* node, int n) const
{
    return node ? GetWorkInto(node->NewID(), n) : nullptr;
}

int TVYRNetworkAddNodeWork::CountOutWorks(const TNodeItem* node) const
{
    return node ? CountWorksFrom(node->NewID()) : 0;
}

TWorkItem* TVYRNetworkAddNodeWork::GetOutWork(const TNodeItem* node, int n) const
{
    return node ? GetWorkFrom(node->NewID(), n) : nullptr;
}

int TVYRNetworkAddNodeWork::GetMaxRow() const
{
    bool any = false;
    std::int64_t largest = std::numeric_limits<std::int64_t>::min();
    for (int i = 0; i < m_nodes->Count(); ++i) {
        largest = std::max<std::int64_t>(largest, m_nodes->Items(i)->NodeY());
        any = true;
    }
    for (int i = 0; i < m_works->Count(); ++i) {
        const TWorkItem* work = m_works->Items(i);
        if (work->Offset() <= 0)
            continue;
        if (const TNodeItem* start = PriorNodeOf(*work)) {
            largest = std::max(largest, std::int64_t{start->NodeY()} + work->Offset());
            any = true;
        }
    }
    return !any || largest < 0 ? 0 : platform::SaturateInt(largest);
}

int TVYRNetworkAddNodeWork::GetMinRow() const
{
    bool any = false;
    std::int64_t smallest = std::numeric_limits<std::int64_t>::max();
    for (int i = 0; i < m_nodes->Count(); ++i) {
        smallest = std::min<std::int64_t>(smallest, m_nodes->Items(i)->NodeY());
        any = true;
    }
    for (int i = 0; i < m_works->Count(); ++i) {
        const TWorkItem* work = m_works->Items(i);
        if (work->Offset() >= 0)
            continue;
        if (const TNodeItem* start = PriorNodeOf(*work)) {
            smallest = std::min(smallest, std::int64_t{start->NodeY()} + work->Offset());
            any = true;
        }
    }
    return any ? platform::SaturateInt(smallest) : 0;
}

TNodeItem* TVYRNetworkAddNodeWork::PriorNodeOf(const TWorkItem& work) const
{
    const NetworkIndex& index = NodeLookup();
    if (&work.Collection() == m_works.get())
        return index.NodeOfKey(NetworkIndex::PriorKey(work));
    return index.NodeOfKey(index.KeyOf(work.PriorNode()));
}

TNodeItem* TVYRNetworkAddNodeWork::NextNodeOf(const TWorkItem& work) const
{
    const NetworkIndex& index = NodeLookup();
    if (&work.Collection() == m_works.get())
        return index.NodeOfKey(NetworkIndex::NextKey(work));
    return index.NodeOfKey(index.KeyOf(work.NextNode()));
}

} // namespace network
