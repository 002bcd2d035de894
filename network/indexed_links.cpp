#include "network/indexed_links.h"

#include "network/schedule_graph.h"

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
    m_intoPlace.assign(works, -1);
    m_fromPlace.assign(works, -1);
    m_forward = true;
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
            m_into.push_back({start >= 0 ? graph.IndexOfSlot(start) : -1, graph.Duration(work), graph.Overlap(work),
                              graph.Interval(work)});
        }
        if (m_intoLoop[k] < 0)
            m_intoLoop[k] = static_cast<int>(m_into.size());
        m_fromStart[k] = static_cast<int>(m_from.size());
        m_ownsFrom[k] = graph.OwnsKey(slot);
        m_forward = m_forward && m_ownsFrom[k];
        for (const int work : graph.From(slot)) {
            const int end = graph.NextSlot(work);
            m_forward = m_forward && (end < 0 || graph.IndexOfSlot(end) > static_cast<int>(k));
            Place(m_fromPlace, work, static_cast<int>(m_from.size()));
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

void IndexedLinks::WorksReordered(std::span<const int> order)
{
    for (std::vector<int>* places : {&m_intoPlace, &m_fromPlace}) {
        m_reordered.resize(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            m_reordered[i] = (*places)[static_cast<std::size_t>(order[i])];
        places->swap(m_reordered);
    }
}

} // namespace network
