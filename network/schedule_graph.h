// The network as the schedule walks it: compact arrays of the works'
// nodes, durations, overlaps and intervals, and per node the works entering
// and leaving it in collection order. Nodes keep a fixed slot in these
// arrays while they move, so a recomputation that only reorders nodes or
// works, or changes a few values, updates the arrays instead of reading
// every item again.
#pragma once

#include "network/indexed_links.h"

#include <cstdint>
#include <span>
#include <vector>

namespace network {

class NetworkIndex;
class TNodes;
class TWorks;
class TWorkItem;

class ScheduleGraph {
public:
    // Brings the arrays up to date with the items; index must be current.
    void Refresh(const NetworkIndex& index, const TNodes& nodes, TWorks& works);

    // After the collection put its nodes from first on in this order (their
    // old indices in their new order), and its works in this order (new ->
    // old index).
    void NodesReordered(int first, std::span<const int> stretch, const TNodes& nodes);
    void WorksReordered(std::span<const int> order, const TWorks& works);
    // The same where only the works from first on moved among themselves.
    void WorksReordered(int first, std::span<const int> stretch, const TWorks& works);

    std::size_t NodeCount() const { return m_slotOfIndex.size(); }
    std::size_t WorkCount() const { return m_works.size(); }
    // The same lists by node index, read again only after nodes or works
    // moved or changed otherwise than in their values.
    const IndexedLinks& Links() const;

    // Bumped whenever the interval less overlap of some work may have
    // changed, so that an order of works by it can be trusted until then.
    std::uint64_t GapRevision() const { return m_gapRevision; }

    // Works whose values changed one by one, logged as the slots of their
    // nodes (-1 when missing), so that a pass can redo only what they
    // reach. The log holds every value change since the epoch began; a new
    // epoch begins whenever values are read in bulk or the lists rebuilt.
    struct ValueChange {
        int priorSlot, nextSlot;
    };
    std::uint64_t ChangeEpoch() const { return m_changeEpoch; }
    std::size_t ChangeCount() const { return m_valueChanges.size(); }
    std::span<const ValueChange> ChangesFrom(std::size_t position) const
    {
        return std::span<const ValueChange>(m_valueChanges).subspan(position);
    }

    float NodeOffset(int slot) const { return m_nodeOffset[static_cast<std::size_t>(slot)]; }

    int SlotOfIndex(int index) const { return m_slotOfIndex[static_cast<std::size_t>(index)]; }
    int IndexOfSlot(int slot) const { return m_indexOfSlot[static_cast<std::size_t>(slot)]; }

    // Slot of the first node with the work's start or end NewID, or -1.
    int PriorSlot(int work) const { return Row(work).priorSlot; }
    int NextSlot(int work) const { return Row(work).nextSlot; }
    float Duration(int work) const { return Row(work).duration; }
    float Overlap(int work) const { return Row(work).overlap; }
    float Interval(int work) const { return Row(work).interval; }

    // Indices of the works whose end (start) NewID is the node's.
    std::span<const int> Into(int slot) const { return IntoKey(KeyOfSlot(slot)); }
    std::span<const int> From(int slot) const { return FromKey(KeyOfSlot(slot)); }

    // The same by the keys of the lookup index (every NewID named).
    int KeyCount() const { return static_cast<int>(m_intoStart.size()) - 1; }
    int PriorKey(int work) const { return Row(work).priorKey; }
    int NextKey(int work) const { return Row(work).nextKey; }
    int KeyOfSlot(int slot) const { return m_keyOfSlot[static_cast<std::size_t>(slot)]; }
    // The node in the slot is the first with its NewID.
    bool OwnsKey(int slot) const { return m_slotOfKey[static_cast<std::size_t>(KeyOfSlot(slot))] == slot; }
    std::span<const int> IntoKey(int key) const { return Slice(m_into, m_intoStart, key); }
    std::span<const int> FromKey(int key) const { return Slice(m_from, m_fromStart, key); }

private:
    // Everything the schedule reads of one work, side by side, so that a
    // walk along the links touches one place per work.
    struct WorkRow {
        int priorKey, nextKey, priorSlot, nextSlot;
        float duration, overlap, interval;
    };
    const WorkRow& Row(int work) const { return m_works[static_cast<std::size_t>(work)]; }
    static std::span<const int> Slice(const std::vector<int>& items, const std::vector<int>& starts, int key)
    {
        const auto k = static_cast<std::size_t>(key);
        return {items.data() + starts[k], static_cast<std::size_t>(starts[k + 1] - starts[k])};
    }
    void Build(const NetworkIndex& index, const TNodes& nodes, const TWorks& works);
    void ReadWorks(const TWorks& works);
    void ReadOffsets(const TNodes& nodes);
    void BuildLists();
    void Record(const TNodes& nodes, const TWorks& works);

    bool m_built = false;
    bool m_duplicateNewIDs = false;
    std::uint64_t m_nodesStructure = 0, m_nodesOrder = 0, m_nodesValues = 0;
    std::uint64_t m_worksStructure = 0, m_worksOrder = 0, m_worksValues = 0;

    std::vector<float> m_nodeOffset;
    std::vector<int> m_slotOfIndex, m_indexOfSlot, m_keyOfSlot, m_slotOfKey;
    std::vector<WorkRow> m_works;
    std::vector<WorkRow> m_reorderedWorks; // kept for the next reordering
    std::vector<int> m_previousSlots;      // the same for the nodes
    // Scratch of a reordering of works: their new indices, and per key the
    // mark of the last pass that renumbered its lists.
    std::vector<int> m_newWorkIndex;
    std::vector<std::uint32_t> m_keyMark;
    std::uint32_t m_mark = 0;
    std::vector<int> m_intoStart, m_into, m_fromStart, m_from;
    std::vector<TWorkItem*> m_changed;
    std::uint64_t m_gapRevision = 0;
    std::vector<ValueChange> m_valueChanges;
    std::uint64_t m_changeEpoch = 0;
    mutable IndexedLinks m_links;
    mutable bool m_linksValid = false;
};

} // namespace network
