#include "network/indexed_links.h"

#include "network/schedule_graph.h"

#include <algorithm>
#include <utility>

namespace network {

namespace {

void Place(std::vector<int>& places, int work, int place)
{
    int& p = places[static_cast<std::size_t>(work)];
    p = p == -1 ? place : -2;
}

} // namespace

void IndexedLinks::Build(const ScheduleGraph& graph)
{
    const std::size_t count = graph.NodeCount();
    const std::size_t works = graph.WorkCount();
    m_intoStart.resize(count + 1);
    m_fromStart.resize(count + 1);
    m_intoLoop.resize(count);
    m_ownsFrom.resize(count);
    m_into.clear();
    m_from.clear();
    m_intoWork.clear();
    m_fromWork.clear();
    m_intoPlace.assign(works, -1);
    m_fromPlace.assign(works, -1);
    m_forward = m_unique = m_listsSorted = true;
    m_backward = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const int slot = graph.SlotOfIndex(static_cast<int>(k));
        m_intoStart[k] = static_cast<int>(m_into.size());
        m_intoLoop[k] = -1;
        for (const int work : graph.Into(slot)) {
            const int start = graph.PriorSlot(work);
            if (start == slot && m_intoLoop[k] < 0) {
                m_intoLoop[k] = static_cast<int>(m_into.size());
            }
            Place(m_intoPlace, work, static_cast<int>(m_into.size()));
            m_intoWork.push_back(work);
            m_into.push_back({start >= 0 ? graph.IndexOfSlot(start) : -1, graph.Duration(work), graph.Overlap(work),
                              graph.Interval(work)});
        }
        if (m_intoLoop[k] < 0)
            m_intoLoop[k] = static_cast<int>(m_into.size());
        m_fromStart[k] = static_cast<int>(m_from.size());
        m_ownsFrom[k] = graph.OwnsKey(slot);
        m_unique = m_unique && m_ownsFrom[k];
        m_forward = m_forward && m_unique;
        for (const int work : graph.From(slot)) {
            const int end = graph.NextSlot(work);
            const bool backward = end >= 0 && graph.IndexOfSlot(end) <= static_cast<int>(k);
            m_backward += backward;
            m_forward = m_forward && !backward;
            Place(m_fromPlace, work, static_cast<int>(m_from.size()));
            m_fromWork.push_back(work);
            m_from.push_back(
                {end >= 0 ? graph.IndexOfSlot(end) : -1, graph.Duration(work), graph.Overlap(work), graph.Interval(work)});
        }
    }
    m_intoStart[count] = static_cast<int>(m_into.size());
    m_fromStart[count] = static_cast<int>(m_from.size());
}

bool IndexedLinks::SetValues(int work, float duration, float overlap, float interval)
{
    const auto w = static_cast<std::size_t>(work);
    if (w >= m_intoPlace.size() || m_intoPlace[w] == -2 || m_fromPlace[w] == -2)
        return false;
    for (auto [places, links] : {std::pair{&m_intoPlace, &m_into}, std::pair{&m_fromPlace, &m_from}}) {
        const int place = (*places)[w];
        if (place >= 0) {
            Link& link = (*links)[static_cast<std::size_t>(place)];
            link.duration = duration;
            link.overlap = overlap;
            link.interval = interval;
        }
    }
    return true;
}

bool IndexedLinks::NodesReordered(int first, std::span<const int> stretch)
{
    if (!m_unique || static_cast<std::size_t>(first) + stretch.size() > m_ownsFrom.size())
        return false;
    const int last = first + static_cast<int>(stretch.size());
    m_newIndex.resize(m_ownsFrom.size());
    for (std::size_t i = 0; i < stretch.size(); ++i)
        m_newIndex[static_cast<std::size_t>(stretch[i])] = first + static_cast<int>(i);
    const auto moved = [&](int index) { return index >= first && index < last; };
    const auto newIndexOf = [&](int index) { return moved(index) ? m_newIndex[static_cast<std::size_t>(index)] : index; };
    // The nodes of the stretch hold the same lists between them, so the
    // lists are copied in their new order over the same part of the arrays;
    // a list keeps its order. Each work is listed once at most on each side,
    // so its places are written as it is copied.
    int backwardBefore = 0, backwardAfter = 0;
    const auto move = [&](std::vector<int>& start, std::vector<Link>& links, std::vector<int>& works,
                          std::vector<int>& places, std::vector<int>* loop, bool leaving) {
        const int begin = start[static_cast<std::size_t>(first)];
        const int end = start[static_cast<std::size_t>(last)];
        // The stretch's part of the arrays as it was, read in the new order.
        m_newStart.assign(start.begin() + first, start.begin() + last + 1);
        if (loop)
            m_newLoop.assign(loop->begin() + first, loop->begin() + last);
        m_newLinks.assign(links.begin() + begin, links.begin() + end);
        m_newWorks.assign(works.begin() + begin, works.begin() + end);
        int next = begin;
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            const auto old = static_cast<std::size_t>(stretch[i] - first);
            const int index = first + static_cast<int>(i);
            start[static_cast<std::size_t>(index)] = next;
            if (loop)
                (*loop)[static_cast<std::size_t>(index)] = next + (m_newLoop[old] - m_newStart[old]);
            for (int p = m_newStart[old]; p < m_newStart[old + 1]; ++p, ++next) {
                const auto q = static_cast<std::size_t>(p - begin);
                Link link = m_newLinks[q];
                if (leaving && moved(link.other)) {
                    backwardBefore += link.other <= static_cast<int>(old) + first;
                    link.other = newIndexOf(link.other);
                    backwardAfter += link.other <= index;
                } else {
                    link.other = newIndexOf(link.other);
                }
                const int work = m_newWorks[q];
                links[static_cast<std::size_t>(next)] = link;
                works[static_cast<std::size_t>(next)] = work;
                places[static_cast<std::size_t>(work)] = next;
            }
        }
    };
    move(m_intoStart, m_into, m_intoWork, m_intoPlace, &m_intoLoop, false);
    move(m_fromStart, m_from, m_fromWork, m_fromPlace, nullptr, true);
    // The lists of nodes outside the stretch name the moved nodes at the
    // other end of their works.
    for (int index = first; index < last; ++index) {
        const auto i = static_cast<std::size_t>(index);
        for (int p = m_intoStart[i]; p < m_intoStart[i + 1]; ++p) {
            const int other = m_into[static_cast<std::size_t>(p)].other;
            if (other >= 0 && !moved(other))
                m_from[static_cast<std::size_t>(m_fromPlace[static_cast<std::size_t>(m_intoWork[static_cast<std::size_t>(p)])])]
                    .other = index;
        }
        for (int p = m_fromStart[i]; p < m_fromStart[i + 1]; ++p) {
            const int other = m_from[static_cast<std::size_t>(p)].other;
            if (other >= 0 && !moved(other))
                m_into[static_cast<std::size_t>(m_intoPlace[static_cast<std::size_t>(m_fromWork[static_cast<std::size_t>(p)])])]
                    .other = index;
        }
    }
    // Only works between two moved nodes can change direction.
    m_backward += backwardAfter - backwardBefore;
    m_forward = m_backward == 0;
    return true;
}

bool IndexedLinks::WorksReordered(std::span<const int> order)
{
    if (!m_unique)
        return false;
    m_newIndex.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        m_newIndex[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    for (std::vector<int>* works : {&m_intoWork, &m_fromWork})
        for (int& work : *works)
            work = m_newIndex[static_cast<std::size_t>(work)];
    m_listsSorted = false;
    if (!m_forward) {
        // Where the order within a list matters, each list takes the new
        // order of the works again.
        const auto sortLists = [this](const std::vector<int>& start, std::vector<Link>& links, std::vector<int>& works) {
            for (std::size_t k = 0; k + 1 < start.size(); ++k) {
                const auto begin = works.begin() + start[k];
                const auto end = works.begin() + start[k + 1];
                if (std::is_sorted(begin, end))
                    continue;
                m_sorting.clear();
                for (int p = start[k]; p < start[k + 1]; ++p)
                    m_sorting.emplace_back(works[static_cast<std::size_t>(p)], links[static_cast<std::size_t>(p)]);
                std::sort(m_sorting.begin(), m_sorting.end(),
                          [](const auto& x, const auto& y) { return x.first < y.first; });
                for (std::size_t i = 0; i < m_sorting.size(); ++i) {
                    works[static_cast<std::size_t>(start[k]) + i] = m_sorting[i].first;
                    links[static_cast<std::size_t>(start[k]) + i] = m_sorting[i].second;
                }
            }
        };
        sortLists(m_intoStart, m_into, m_intoWork);
        sortLists(m_fromStart, m_from, m_fromWork);
        m_listsSorted = true;
        for (std::size_t k = 0; k < m_intoLoop.size(); ++k) {
            int p = m_intoStart[k];
            while (p < m_intoStart[k + 1] && m_into[static_cast<std::size_t>(p)].other != static_cast<int>(k))
                ++p;
            m_intoLoop[k] = p;
        }
    }
    PlaceWorks();
    return true;
}

bool IndexedLinks::WorksReordered(int first, std::span<const int> stretch)
{
    if (!m_unique)
        return false;
    if (!m_forward && !m_listsSorted) {
        m_newWorks.resize(m_intoPlace.size());
        for (std::size_t w = 0; w < m_newWorks.size(); ++w)
            m_newWorks[w] = static_cast<int>(w);
        std::copy(stretch.begin(), stretch.end(), m_newWorks.begin() + first);
        return WorksReordered(m_newWorks);
    }
    // The moved works take their new indices where they are listed.
    for (auto [places, works] : {std::pair{&m_intoPlace, &m_intoWork}, std::pair{&m_fromPlace, &m_fromWork}}) {
        m_newStart.resize(stretch.size());
        for (std::size_t i = 0; i < stretch.size(); ++i)
            m_newStart[i] = (*places)[static_cast<std::size_t>(stretch[i])];
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            const int place = m_newStart[i];
            (*places)[static_cast<std::size_t>(first) + i] = place;
            if (place >= 0)
                (*works)[static_cast<std::size_t>(place)] = first + static_cast<int>(i);
        }
    }
    if (m_forward) {
        m_listsSorted = false;
        return true;
    }
    // Where the order within a list matters, each list holding a moved work
    // takes the new order of the works again; the others are in order.
    m_listMark.resize(m_ownsFrom.size(), 0);
    const auto sortLists = [&](const std::vector<int>& start, std::vector<Link>& links, std::vector<int>& works,
                               std::vector<int>& places, bool into) {
        if (++m_mark == 0) {
            std::fill(m_listMark.begin(), m_listMark.end(), 0);
            m_mark = 1;
        }
        // A work listed on both sides names at each the node of the other.
        const std::vector<int>& otherPlaces = into ? m_fromPlace : m_intoPlace;
        const std::vector<Link>& otherLinks = into ? m_from : m_into;
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            const std::size_t w = static_cast<std::size_t>(first) + i;
            const int place = places[w];
            if (place < 0)
                continue;
            const int otherPlace = otherPlaces[w];
            const auto k = static_cast<std::size_t>(
                otherPlace >= 0 ? otherLinks[static_cast<std::size_t>(otherPlace)].other
                                : std::upper_bound(start.begin(), start.end(), place) - start.begin() - 1);
            if (m_listMark[k] == m_mark)
                continue;
            m_listMark[k] = m_mark;
            const auto begin = works.begin() + start[k];
            const auto end = works.begin() + start[k + 1];
            if (!std::is_sorted(begin, end)) {
                m_sorting.clear();
                for (int p = start[k]; p < start[k + 1]; ++p)
                    m_sorting.emplace_back(works[static_cast<std::size_t>(p)], links[static_cast<std::size_t>(p)]);
                std::sort(m_sorting.begin(), m_sorting.end(),
                          [](const auto& x, const auto& y) { return x.first < y.first; });
                for (std::size_t j = 0; j < m_sorting.size(); ++j) {
                    const auto p = static_cast<std::size_t>(start[k]) + j;
                    works[p] = m_sorting[j].first;
                    links[p] = m_sorting[j].second;
                    places[static_cast<std::size_t>(m_sorting[j].first)] = static_cast<int>(p);
                }
            }
            if (into) {
                int p = start[k];
                while (p < start[k + 1] && links[static_cast<std::size_t>(p)].other != static_cast<int>(k))
                    ++p;
                m_intoLoop[k] = p;
            }
        }
    };
    sortLists(m_intoStart, m_into, m_intoWork, m_intoPlace, true);
    sortLists(m_fromStart, m_from, m_fromWork, m_fromPlace, false);
    return true;
}

void IndexedLinks::PlaceWorks()
{
    // Each work is listed at most once on each side here.
    for (auto [places, works] : {std::pair{&m_intoPlace, &m_intoWork}, std::pair{&m_fromPlace, &m_fromWork}}) {
        std::fill(places->begin(), places->end(), -1);
        for (std::size_t p = 0; p < works->size(); ++p)
            (*places)[static_cast<std::size_t>((*works)[p])] = static_cast<int>(p);
    }
}

} // namespace network
