#include "network/schedule_graph.h"

#include "network/network_index.h"
#include "network/node_item.h"
#include "network/nodes.h"
#include "network/work_item.h"
#include "network/works.h"

#include <algorithm>

namespace network {

void ScheduleGraph::Refresh(const NetworkIndex& index, const TNodes& nodes, TWorks& works)
{
    const bool structureKept = m_built && m_nodesStructure == nodes.StructureRevision()
        && m_worksStructure == works.StructureRevision()
        && (!m_duplicateNewIDs || m_nodesOrder == nodes.OrderRevision());
    if (!structureKept) {
        m_linksValid = false;
        Build(index, nodes, works);
        works.TakeChangedValues(m_changed);
        Record(nodes, works);
        return;
    }
    if (m_nodesOrder != nodes.OrderRevision()) {
        // Nodes moved by someone else: read back where each slot went.
        m_linksValid = false;
        for (int i = 0; i < nodes.Count(); ++i) {
            const int slot = nodes.Items(i)->m_slot;
            m_slotOfIndex[static_cast<std::size_t>(i)] = slot;
            m_indexOfSlot[static_cast<std::size_t>(slot)] = i;
        }
    }
    if (m_nodesValues != nodes.ValueRevision())
        ReadOffsets(nodes);
    if (m_worksOrder != works.OrderRevision()) {
        m_linksValid = false;
        ReadWorks(works);
        BuildLists();
        works.TakeChangedValues(m_changed);
    } else if (m_worksValues != works.ValueRevision()) {
        if (works.TakeChangedValues(m_changed)) {
            if (m_valueChanges.size() + m_changed.size() > m_works.size() + 64) {
                // A log longer than the works would cost more to replay
                // than a whole pass.
                m_valueChanges.clear();
                ++m_changeEpoch;
            }
            for (const TWorkItem* work : m_changed) {
                WorkRow& row = m_works[static_cast<std::size_t>(work->Index())];
                m_valueChanges.push_back({row.priorSlot, row.nextSlot});
                if (work->Diapause() - work->ParallelTime() != row.interval - row.overlap)
                    ++m_gapRevision;
                row.duration = work->ContinueTime();
                row.overlap = work->ParallelTime();
                row.interval = work->Diapause();
                m_linksValid = m_linksValid && m_links.SetValues(work->Index(), row.duration, row.overlap, row.interval);
            }
        } else {
            m_linksValid = false;
            ReadWorks(works);
        }
    }
    Record(nodes, works);
}

void ScheduleGraph::Record(const TNodes& nodes, const TWorks& works)
{
    m_built = true;
    m_nodesStructure = nodes.StructureRevision();
    m_nodesOrder = nodes.OrderRevision();
    m_nodesValues = nodes.ValueRevision();
    m_worksStructure = works.StructureRevision();
    m_worksOrder = works.OrderRevision();
    m_worksValues = works.ValueRevision();
}

void ScheduleGraph::ReadOffsets(const TNodes& nodes)
{
    m_nodeOffset.resize(static_cast<std::size_t>(nodes.Count()));
    for (int i = 0; i < nodes.Count(); ++i) {
        const TNodeItem* node = nodes.Items(i);
        m_nodeOffset[static_cast<std::size_t>(node->m_slot)] = node->Offset();
    }
}

void ScheduleGraph::Build(const NetworkIndex& index, const TNodes& nodes, const TWorks& works)
{
    const auto count = static_cast<std::size_t>(nodes.Count());
    m_duplicateNewIDs = index.HasDuplicateNewIDs();
    m_slotOfIndex.resize(count);
    m_indexOfSlot.resize(count);
    m_keyOfSlot.resize(count);
    m_slotOfKey.assign(static_cast<std::size_t>(index.KeyCount()), -1);
    for (std::size_t i = 0; i < count; ++i) {
        TNodeItem* node = nodes.Items(static_cast<int>(i));
        node->m_slot = static_cast<int>(i);
        m_slotOfIndex[i] = m_indexOfSlot[i] = static_cast<int>(i);
        m_keyOfSlot[i] = NetworkIndex::KeyOf(*node);
    }
    for (int key = 0; key < index.KeyCount(); ++key)
        if (const TNodeItem* node = index.NodeOfKey(key))
            m_slotOfKey[static_cast<std::size_t>(key)] = node->m_slot;
    ReadOffsets(nodes);
    ReadWorks(works);
    BuildLists();
}

void ScheduleGraph::ReadWorks(const TWorks& works)
{
    ++m_gapRevision;
    m_valueChanges.clear();
    ++m_changeEpoch;
    m_works.resize(static_cast<std::size_t>(works.Count()));
    for (std::size_t w = 0; w < m_works.size(); ++w) {
        const TWorkItem& work = *works.Items(static_cast<int>(w));
        WorkRow& row = m_works[w];
        row.priorKey = NetworkIndex::PriorKey(work);
        row.nextKey = NetworkIndex::NextKey(work);
        row.priorSlot = m_slotOfKey[static_cast<std::size_t>(row.priorKey)];
        row.nextSlot = m_slotOfKey[static_cast<std::size_t>(row.nextKey)];
        row.duration = work.ContinueTime();
        row.overlap = work.ParallelTime();
        row.interval = work.Diapause();
    }
}

void ScheduleGraph::BuildLists()
{
    const std::size_t keys = m_slotOfKey.size();
    const std::size_t works = m_works.size();
    m_intoStart.assign(keys + 1, 0);
    m_fromStart.assign(keys + 1, 0);
    for (const WorkRow& row : m_works) {
        ++m_intoStart[static_cast<std::size_t>(row.nextKey) + 1];
        ++m_fromStart[static_cast<std::size_t>(row.priorKey) + 1];
    }
    for (std::size_t k = 0; k < keys; ++k) {
        m_intoStart[k + 1] += m_intoStart[k];
        m_fromStart[k + 1] += m_fromStart[k];
    }
    m_into.resize(works);
    m_from.resize(works);
    std::vector<int> intoFill(m_intoStart.begin(), m_intoStart.end() - 1);
    std::vector<int> fromFill(m_fromStart.begin(), m_fromStart.end() - 1);
    for (std::size_t w = 0; w < works; ++w) {
        const WorkRow& row = m_works[w];
        m_into[static_cast<std::size_t>(intoFill[static_cast<std::size_t>(row.nextKey)]++)] = static_cast<int>(w);
        m_from[static_cast<std::size_t>(fromFill[static_cast<std::size_t>(row.priorKey)]++)] = static_cast<int>(w);
    }
}

const IndexedLinks& ScheduleGraph::Links() const
{
    if (!m_linksValid) {
        m_links.Build(*this);
        m_linksValid = true;
    }
    return m_links;
}

void ScheduleGraph::NodesReordered(int first, std::span<const int> stretch, const TNodes& nodes)
{
    m_linksValid = m_linksValid && m_built && !m_duplicateNewIDs && m_links.NodesReordered(first, stretch);
    if (m_duplicateNewIDs || !m_built) {
        // Which of two equal NewIDs comes first may have changed.
        m_built = false;
        return;
    }
    m_previousSlots.resize(stretch.size());
    for (std::size_t i = 0; i < stretch.size(); ++i)
        m_previousSlots[i] = m_slotOfIndex[static_cast<std::size_t>(stretch[i])];
    for (std::size_t i = 0; i < stretch.size(); ++i) {
        const int slot = m_previousSlots[i];
        const auto index = static_cast<std::size_t>(first) + i;
        m_slotOfIndex[index] = slot;
        m_indexOfSlot[static_cast<std::size_t>(slot)] = static_cast<int>(index);
    }
    m_nodesOrder = nodes.OrderRevision();
}

void ScheduleGraph::WorksReordered(std::span<const int> order, const TWorks& works)
{
    if (!m_built)
        return;
    m_reorderedWorks.resize(m_works.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        m_reorderedWorks[i] = m_works[static_cast<std::size_t>(order[i])];
    m_works.swap(m_reorderedWorks);
    BuildLists();
    m_linksValid = m_linksValid && m_links.WorksReordered(order);
    m_worksOrder = works.OrderRevision();
}

void ScheduleGraph::WorksReordered(int first, std::span<const int> stretch, const TWorks& works)
{
    if (!m_built)
        return;
    m_reorderedWorks.resize(stretch.size());
    for (std::size_t i = 0; i < stretch.size(); ++i)
        m_reorderedWorks[i] = m_works[static_cast<std::size_t>(stretch[i])];
    std::copy(m_reorderedWorks.begin(), m_reorderedWorks.end(), m_works.begin() + first);
    // The lists holding a moved work take its new index and stay ascending.
    const int last = first + static_cast<int>(stretch.size());
    m_newWorkIndex.resize(stretch.size());
    for (std::size_t i = 0; i < stretch.size(); ++i)
        m_newWorkIndex[static_cast<std::size_t>(stretch[i] - first)] = first + static_cast<int>(i);
    m_keyMark.resize(m_slotOfKey.size(), 0);
    for (const bool into : {true, false}) {
        if (++m_mark == 0) {
            std::fill(m_keyMark.begin(), m_keyMark.end(), 0);
            m_mark = 1;
        }
        std::vector<int>& items = into ? m_into : m_from;
        const std::vector<int>& starts = into ? m_intoStart : m_fromStart;
        for (const WorkRow& row : m_reorderedWorks) {
            const auto key = static_cast<std::size_t>(into ? row.nextKey : row.priorKey);
            if (m_keyMark[key] == m_mark)
                continue;
            m_keyMark[key] = m_mark;
            const auto begin = items.begin() + starts[key];
            const auto end = items.begin() + starts[key + 1];
            for (auto it = begin; it != end; ++it)
                if (*it >= first && *it < last)
                    *it = m_newWorkIndex[static_cast<std::size_t>(*it - first)];
            if (!std::is_sorted(begin, end))
                std::sort(begin, end);
        }
    }
    m_linksValid = m_linksValid && m_links.WorksReordered(first, stretch);
    m_worksOrder = works.OrderRevision();
}

} // namespace network
