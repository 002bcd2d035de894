// Lookup index of a network: every NewID that a node has or a work names
// gets a key; per key the first node with that NewID and the works entering
// and leaving it, in collection order. The keys are rebuilt when nodes or
// works are added, removed, renamed or relinked (or when nodes move while two
// share a NewID); the lists of works alone when works move.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace network {

class TNodeItem;
class TNodes;
class TWorkItem;
class TWorks;

class NetworkIndex {
public:
    // Rebuilds the keys and node lookups when nodes or works changed since
    // the last build; Refresh also the lists of works.
    void RefreshKeys(const TNodes& nodes, const TWorks& works);
    void Refresh(const TNodes& nodes, const TWorks& works);
    bool HasDuplicateNewIDs() const { return m_duplicateNewIDs; }

    // Key of a NewID, or -1 when no node has it and no work names it.
    int KeyOf(int newID) const;
    int KeyCount() const { return static_cast<int>(m_keyNode.size()); }
    // First node in collection order with the key's NewID, or nullptr.
    TNodeItem* NodeOfKey(int key) const;
    std::span<TWorkItem* const> WorksInto(int key) const;
    std::span<TWorkItem* const> WorksFrom(int key) const;

    static int KeyOf(const TNodeItem& node);
    static int PriorKey(const TWorkItem& work);
    static int NextKey(const TWorkItem& work);

private:
    void BuildKeys(const TNodes& nodes, const TWorks& works);
    void BuildLists(const TWorks& works);
    int AddKey(int newID);

    bool m_keysBuilt = false;
    bool m_listsBuilt = false;
    bool m_duplicateNewIDs = false;
    std::uint64_t m_nodesStructure = 0;
    std::uint64_t m_nodesOrder = 0;
    std::uint64_t m_worksStructure = 0;
    std::uint64_t m_listsOrder = 0;
    std::unordered_map<int, int> m_keys;
    std::vector<TNodeItem*> m_keyNode;
    std::vector<int> m_intoStart, m_fromStart;
    std::vector<TWorkItem*> m_into, m_from;
};

} // namespace network
