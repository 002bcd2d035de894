// The works entering and leaving every node, listed by node index in the
// current node order and stored one after another with the values the
// schedule reads, so that a pass over the nodes in order reads memory in
// order. The lists follow those of the schedule graph exactly: a node's
// entering works in collection order and its leaving works, each with the
// index of the node at its other end (-1 when that node is missing).
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace network {

class ScheduleGraph;

class IndexedLinks {
public:
    struct Link {
        int other;
        float duration, overlap, interval;
    };

    // Reads the lists of the graph in its current node order.
    void Build(const ScheduleGraph& graph);

    int NodeCount() const { return static_cast<int>(m_intoStart.size()) - 1; }
    std::span<const Link> Into(int index) const { return Slice(m_into, m_intoStart, index); }
    std::span<const Link> From(int index) const { return Slice(m_from, m_fromStart, index); }
    // The entering works before the first one that starts at the node
    // itself, which ends the scan of the earliest times.
    std::span<const Link> IntoBeforeLoop(int index) const
    {
        const auto i = static_cast<std::size_t>(index);
        return {m_into.data() + m_intoStart[i], static_cast<std::size_t>(m_intoLoop[i] - m_intoStart[i])};
    }
    // The node is the first of its NewID, so its leaving works really
    // start at it.
    bool OwnsFrom(int index) const { return m_ownsFrom[static_cast<std::size_t>(index)] != 0; }
    // Every node is the first of its NewID, so each work is listed once at
    // most on each side.
    bool Unique() const { return m_unique; }
    // Every work between two nodes runs from a lower to a higher index, and
    // every node is the first of its NewID.
    bool Forward() const { return m_forward; }
    // The works of From(index), by work index.
    std::span<const int> FromWorks(int index) const
    {
        const auto i = static_cast<std::size_t>(index);
        return {m_fromWork.data() + m_fromStart[i], static_cast<std::size_t>(m_fromStart[i + 1] - m_fromStart[i])};
    }

    // Takes a work's new values; false when the work is listed more than
    // once on one side (duplicate NewIDs) and the lists must be read again.
    bool SetValues(int work, float duration, float overlap, float interval);
    // After the nodes from first on were put in this order (their old
    // indices in their new order), the others staying in place; false when
    // the lists must be read again (duplicate NewIDs).
    bool NodesReordered(int first, std::span<const int> stretch);
    // After the works were put in this order (new -> old index); false when
    // the lists must be read again (duplicate NewIDs).
    bool WorksReordered(std::span<const int> order);
    // The same where only the works from first on moved among themselves.
    bool WorksReordered(int first, std::span<const int> stretch);
    // Where the leaving works of the node start in the lists of all nodes:
    // with every node the first of its NewID, the number of works leaving
    // the nodes before it.
    int FromBegin(int index) const { return m_fromStart[static_cast<std::size_t>(index)]; }

private:
    void PlaceWorks();
    static std::span<const Link> Slice(const std::vector<Link>& items, const std::vector<int>& starts, int index)
    {
        const auto i = static_cast<std::size_t>(index);
        return {items.data() + starts[i], static_cast<std::size_t>(starts[i + 1] - starts[i])};
    }

    std::vector<int> m_intoStart, m_intoLoop, m_fromStart;
    std::vector<Link> m_into, m_from;
    std::vector<char> m_ownsFrom;
    // Per work its place in m_into and m_from (-1 when unlisted, -2 when
    // listed more than once).
    std::vector<int> m_intoPlace, m_fromPlace;
    // The work of each listed link.
    std::vector<int> m_intoWork, m_fromWork;
    // Scratch of the reorderings.
    std::vector<int> m_newIndex, m_newStart, m_newLoop, m_newWorks;
    std::vector<Link> m_newLinks;
    std::vector<std::pair<int, Link>> m_sorting;
    // Per node the mark of the last pass that sorted its list.
    std::vector<std::uint32_t> m_listMark;
    std::uint32_t m_mark = 0;
    // Every work between two nodes runs from a lower to a higher index, so
    // the order of the works within a list changes no result.
    bool m_forward = true;
    bool m_unique = true; // every node is the first of its NewID
    // Every list holds its works by ascending work index.
    bool m_listsSorted = true;
    // Works between two nodes that run to the same or a lower index, where
    // every node is the first of its NewID.
    int m_backward = 0;
};

} // namespace network
