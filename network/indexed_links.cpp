#include "network/indexed_links.h"

#include "network/schedule_graph.h"

#include <algorithm>
#include <type_traits>
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
    m_forward = m_unique = true;
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
            m_forward = m_forward && (end < 0 || graph.IndexOfSlot(end) > static_cast<int>(k));
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

bool IndexedLinks::NodesReordered(std::span<const int> order)
{
    if (!m_unique || order.size() != m_ownsFrom.size())
        return false;
    const std::size_t count = order.size();
    m_newIndex.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        m_newIndex[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    // Copies each node's lists to its new place; a list keeps its order.
    // Each work is listed once at most on each side, and the same works stay
    // listed, so their places are written as they are copied.
    const auto move = [&](const std::vector<int>& start, const std::vector<Link>& links, const std::vector<int>& works,
                          std::vector<int>& places, std::vector<int>* loop, auto leaving) {
        m_newStart.resize(count + 1);
        m_newLinks.resize(links.size());
        m_newWorks.resize(works.size());
        const int* newIndex = m_newIndex.data();
        Link* newLinks = m_newLinks.data();
        int* newWorks = m_newWorks.data();
        bool forward = true;
        int next = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const auto old = static_cast<std::size_t>(order[i]);
            m_newStart[i] = next;
            if (loop)
                m_newLoop[i] = next + ((*loop)[old] - start[old]);
            for (int p = start[old]; p < start[old + 1]; ++p, ++next) {
                Link link = links[static_cast<std::size_t>(p)];
                if (link.other >= 0)
                    link.other = newIndex[static_cast<std::size_t>(link.other)];
                if constexpr (decltype(leaving)::value)
                    forward = forward && (link.other < 0 || link.other > static_cast<int>(i));
                const int work = works[static_cast<std::size_t>(p)];
                newLinks[next] = link;
                newWorks[next] = work;
                places[static_cast<std::size_t>(work)] = next;
            }
        }
        m_newStart[count] = next;
        if constexpr (decltype(leaving)::value)
            m_forward = forward;
    };
    m_newLoop.resize(count);
    move(m_intoStart, m_into, m_intoWork, m_intoPlace, &m_intoLoop, std::false_type{});
    m_intoStart.swap(m_newStart);
    m_into.swap(m_newLinks);
    m_intoWork.swap(m_newWorks);
    m_intoLoop.swap(m_newLoop);
    move(m_fromStart, m_from, m_fromWork, m_fromPlace, nullptr, std::true_type{});
    m_fromStart.swap(m_newStart);
    m_from.swap(m_newLinks);
    m_fromWork.swap(m_newWorks);
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
