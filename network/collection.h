// An ordered collection that owns its items, in the manner of the editor's
// node and work lists: items know their index and a running ID, changes are
// reported through the virtual Update (an item for an item report, nullptr
// for a report about the whole collection), and BeginUpdate/EndUpdate hold
// the reports back until one collection report at the end.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace network {

class TCollectionItem {
public:
    TCollectionItem() = default;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;
    virtual ~TCollectionItem() = default;

    // Position in the owning collection.
    int Index() const { return m_index; }
    // The collection's running item counter at insertion: 0 for the first
    // item ever added, never reused.
    int ID() const { return m_id; }

private:
    template <typename> friend class TCollection;
    int m_index = -1;
    int m_id = 0;
};

template <typename TItem>
class TCollection {
public:
    TCollection() = default;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    // Destroying a collection frees its items without reporting.
    virtual ~TCollection() = default;

    int Count() const { return static_cast<int>(m_items.size()); }
    // The item at index, or nullptr outside the collection.
    TItem* Items(int index) const
    {
        return index >= 0 && index < Count() ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
    }

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate()
    {
        if (m_updateCount > 0)
            --m_updateCount;
        Changed();
    }
    bool IsUpdating() const { return m_updateCount > 0; }

    // A collection report, unless inside BeginUpdate/EndUpdate.
    void Changed()
    {
        ++m_changeRevision;
        if (m_updateCount == 0)
            Update(nullptr);
    }

    // Removes and frees the item at index (a collection report).
    void Delete(int index)
    {
        if (index < 0 || index >= Count())
            return;
        m_items.erase(m_items.begin() + index);
        Reindex(index, Count());
        BumpStructure();
        Removed();
        Changed();
    }

    // Removes every item, with one collection report when there were any.
    void Clear()
    {
        if (m_items.empty())
            return;
        BeginUpdate();
        m_items.clear();
        BumpStructure();
        Removed();
        EndUpdate();
    }

    // Moves an item to another index (a collection report); indices outside
    // the collection are clamped.
    void Move(int from, int to)
    {
        if (from < 0 || from >= Count())
            return;
        to = std::clamp(to, 0, Count() - 1);
        if (from == to)
            return;
        auto item = std::move(m_items[static_cast<std::size_t>(from)]);
        m_items.erase(m_items.begin() + from);
        m_items.insert(m_items.begin() + to, std::move(item));
        Reindex(std::min(from, to), std::max(from, to) + 1);
        ++m_orderRevision;
        Changed();
    }

    // Bumped by every change of membership, identity or links of items.
    std::uint64_t StructureRevision() const { return m_structureRevision; }
    // Bumped by every change of membership or order.
    std::uint64_t OrderRevision() const { return m_orderRevision; }
    // Bumped by every change of a value the schedule reads.
    std::uint64_t ValueRevision() const { return m_valueRevision; }
    // Bumped by every change of the collection or of an item, reported or
    // held back, so that drawings made from them can be kept while it stays.
    std::uint64_t ChangeRevision() const { return m_changeRevision; }
    void BumpStructure()
    {
        ++m_structureRevision;
        ++m_orderRevision;
        ++m_changeRevision;
    }
    void BumpValues()
    {
        ++m_valueRevision;
        ++m_changeRevision;
    }

    // Reports an item change, unless inside BeginUpdate/EndUpdate.
    void ItemChanged(TItem* item)
    {
        ++m_changeRevision;
        if (m_updateCount == 0)
            Update(item);
    }

protected:
    virtual void Update(TItem* item) = 0;
    // Called after items were removed.
    virtual void Removed() {}

    // Appends an item, gives it the next running ID and makes a collection
    // report.
    TItem& Adopt(std::unique_ptr<TItem> item)
    {
        TItem& added = *item;
        added.m_index = Count();
        added.m_id = m_nextID++;
        m_items.push_back(std::move(item));
        BumpStructure();
        Changed();
        return added;
    }

    // Puts the items in the order given by permutation (new index -> old
    // index) without reporting.
    void Reorder(std::span<const int> permutation) { Reorder(0, permutation); }

    // The same where only the items from first on moved among themselves:
    // stretch[i] is the old index of the item that goes to first + i.
    void Reorder(int first, std::span<const int> stretch)
    {
        const auto begin = static_cast<std::size_t>(first);
        m_reordered.clear();
        m_reordered.reserve(stretch.size());
        for (const int old : stretch)
            m_reordered.push_back(std::move(m_items[static_cast<std::size_t>(old)]));
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            m_items[begin + i] = std::move(m_reordered[i]);
            if (stretch[i] != static_cast<int>(begin + i))
                m_items[begin + i]->m_index = static_cast<int>(begin + i);
        }
        ++m_orderRevision;
        ++m_changeRevision;
    }

private:
    void Reindex(int from, int to)
    {
        for (int i = from; i < to; ++i)
            m_items[static_cast<std::size_t>(i)]->m_index = i;
    }

    std::vector<std::unique_ptr<TItem>> m_items;
    std::vector<std::unique_ptr<TItem>> m_reordered; // kept for the next reordering
    int m_nextID = 0;
    int m_updateCount = 0;
    std::uint64_t m_structureRevision = 0;
    std::uint64_t m_orderRevision = 0;
    std::uint64_t m_valueRevision = 0;
    std::uint64_t m_changeRevision = 0;
};

} // namespace network
