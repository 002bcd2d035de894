#include "network/network_index.h"

#include "network/node_item.h"
#include "network/nodes.h"
#include "network/work_item.h"
#include "network/works.h"

namespace network {

void NetworkIndex::RefreshKeys(const TNodes& nodes, const TWorks& works)
{
    const bool valid = m_keysBuilt && m_nodesStructure == nodes.StructureRevision()
        && m_worksStructure == works.StructureRevision() && (!m_duplicateNewIDs || m_nodesOrder == nodes.OrderRevision());
    if (valid)
        return;
    BuildKeys(nodes, works);
    m_keysBuilt = true;
    m_listsBuilt = false;
    m_nodesStructure = nodes.StructureRevision();
    m_nodesOrder = nodes.OrderRevision();
    m_worksStructure = works.StructureRevision();
}

void NetworkIndex::Refresh(const TNodes& nodes, const TWorks& works)
{
    RefreshKeys(nodes, works);
    if (m_listsBuilt && m_listsOrder == works.OrderRevision())
        return;
    BuildLists(works);
    m_listsBuilt = true;
    m_listsOrder = works.OrderRevision();
}

int NetworkIndex::AddKey(int newID)
{
    const auto [it, added] = m_keys.try_emplace(newID, static_cast<int>(m_keyNode.size()));
    if (added)
        m_keyNode.push_back(nullptr);
    return it->second;
}

void NetworkIndex::BuildKeys(const TNodes& nodes, const TWorks& works)
{
    m_keys.clear();
    m_keyNode.clear();
    m_duplicateNewIDs = false;
    m_keys.reserve(static_cast<std::size_t>(nodes.Count()) + 16);
    for (int i = 0; i < nodes.Count(); ++i) {
        TNodeItem* node = nodes.Items(i);
        node->m_key = AddKey(node->NewID());
        TNodeItem*& first = m_keyNode[static_cast<std::size_t>(node->m_key)];
        if (first)
            m_duplicateNewIDs = true;
        else
            first = node;
    }
    for (int i = 0; i < works.Count(); ++i) {
        TWorkItem* work = works.Items(i);
        work->m_priorKey = AddKey(work->PriorNode());
        work->m_nextKey = AddKey(work->NextNode());
    }
}

void NetworkIndex::BuildLists(const TWorks& works)
{
    // Works per key in collection order, as offsets into one array.
    const std::size_t keys = m_keyNode.size();
    m_intoStart.assign(keys + 1, 0);
    m_fromStart.assign(keys + 1, 0);
    for (int i = 0; i < works.Count(); ++i) {
        const TWorkItem* work = works.Items(i);
        ++m_intoStart[static_cast<std::size_t>(work->m_nextKey) + 1];
        ++m_fromStart[static_cast<std::size_t>(work->m_priorKey) + 1];
    }
    for (std::size_t k = 0; k < keys; ++k) {
        m_intoStart[k + 1] += m_intoStart[k];
        m_fromStart[k + 1] += m_fromStart[k];
    }
    m_into.assign(static_cast<std::size_t>(works.Count()), nullptr);
    m_from.assign(static_cast<std::size_t>(works.Count()), nullptr);
    std::vector<int> intoFill(m_intoStart.begin(), m_intoStart.end() - 1);
    std::vector<int> fromFill(m_fromStart.begin(), m_fromStart.end() - 1);
    for (int i = 0; i < works.Count(); ++i) {
        TWorkItem* work = works.Items(i);
        m_into[static_cast<std::size_t>(intoFill[static_cast<std::size_t>(work->m_nextKey)]++)] = work;
        m_from[static_cast<std::size_t>(fromFill[static_cast<std::size_t>(work->m_priorKey)]++)] = work;
    }
}

int NetworkIndex::KeyOf(int newID) const
{
    const auto it = m_keys.find(newID);
    return it == m_keys.end() ? -1 : it->second;
}

TNodeItem* NetworkIndex::NodeOfKey(int key) const
{
    return key >= 0 && key < KeyCount() ? m_keyNode[static_cast<std::size_t>(key)] : nullptr;
}

std::span<TWorkItem* const> NetworkIndex::WorksInto(int key) const
{
    if (key < 0 || key >= KeyCount())
        return {};
    const auto k = static_cast<std::size_t>(key);
    return std::span<TWorkItem* const>(m_into).subspan(static_cast<std::size_t>(m_intoStart[k]),
                                                        static_cast<std::size_t>(m_intoStart[k + 1] - m_intoStart[k]));
}

std::span<TWorkItem* const> NetworkIndex::WorksFrom(int key) const
{
    if (key < 0 || key >= KeyCount())
        return {};
    const auto k = static_cast<std::size_t>(key);
    return std::span<TWorkItem* const>(m_from).subspan(static_cast<std::size_t>(m_fromStart[k]),
                                                        static_cast<std::size_t>(m_fromStart[k + 1] - m_fromStart[k]));
}

int NetworkIndex::KeyOf(const TNodeItem& node) { return node.m_key; }
int NetworkIndex::PriorKey(const TWorkItem& work) { return work.m_priorKey; }
int NetworkIndex::NextKey(const TWorkItem& work) { return work.m_nextKey; }

} // namespace network
