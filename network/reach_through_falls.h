// Reach between nodes of equal earliest time on networks where some work
// ends at an earlier time than it starts (a falling work). A chain between
// two such nodes either stays at their time, and so inside their group, or
// runs through at least one falling work a -> b: then x reaches y exactly
// when x reaches or is a and b reaches or is y. The second kind is found
// with one bit per falling work, spread backwards from a and forwards from
// b over the whole network, which answers it for every pair at once.
#pragma once

#include "network/indexed_links.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace network {

// Keeps its arrays between calls, so that a recomputation does not ask the
// system for fresh memory each time.
class ReachThroughFalls {
public:
    // links: the works by node index; uniqueNodes: every node is the only
    // one of its NewID, so that the leaving lists hold exactly the entering
    // lists' links. earliest: times by node index. groups: [begin, end)
    // ranges of order, each holding the node indices of one earliest time.
    // Returns for every node index of a group member the other members of
    // its group that reach it along the works, each once; the lists of
    // other nodes are left as they were. Valid until the next call.
    const std::vector<std::vector<int>>& Find(const IndexedLinks& links, bool uniqueNodes,
                                              std::span<const float> earliest, std::span<const int> order,
                                              std::span<const std::pair<std::size_t, std::size_t>> groups);

private:
    void FindInGroups(const IndexedLinks& links, std::span<const int> order,
                      std::span<const std::pair<std::size_t, std::size_t>> groups);
    void ReverseLinks(const IndexedLinks& links);
    template <typename EachNext>
    void Spread(std::vector<std::uint64_t>& bits, bool towardsEnd, EachNext eachNext);
    void AddThroughFalls(std::span<const int> order, std::span<const std::pair<std::size_t, std::size_t>> groups);
    std::uint32_t NextStamp();

    // The group of each node (-1 outside every group).
    std::vector<int> m_groupOf;
    // The falling works as (start, end) node indices.
    std::vector<std::pair<int, int>> m_falls;
    // Where the leaving lists cannot be used: the links by start node.
    std::vector<int> m_outStart, m_out;
    std::vector<std::uint64_t> m_reachesFall, m_reachedFromFall;
    std::vector<int> m_pending;
    std::vector<char> m_queued;
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_stamp = 0;
    std::vector<int> m_holders[64];
    std::vector<std::vector<int>> m_reachedBy;
};

} // namespace network
