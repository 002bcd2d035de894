#include "network/works.h"

#include "network/network_add_node_work.h"

#include <algorithm>

namespace network {

platform::TFont TWorks::DefaultFont()
{
    platform::TFont font;
    font.Name = QStringLiteral("宋体");
    font.Color = platform::clGreen;
    font.Size = 9;
    return font;
}

TWorks::TWorks(TVYRNetworkAddNodeWork* owner)
    : m_owner(owner)
    , m_font(DefaultFont())
{
}

TWorkItem& TWorks::Add()
{
    TWorkItem& work = Adopt(std::make_unique<TWorkItem>(*this));
    work.m_caption = QStringLiteral("工作") + QString::number(work.ID());
    work.m_font = DefaultFont();
    return work;
}

TWorkItem* TWorks::GetSelectedWork() const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Selected())
            return Items(i);
    return nullptr;
}

void TWorks::GetSelectedNodeIDs(std::vector<int>& ids) const
{
    ids.clear();
    const auto addOnce = [&ids](int id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    };
    for (int i = 0; i < Count(); ++i) {
        const TWorkItem* work = Items(i);
        if (work->Selected()) {
            addOnce(work->PriorNode());
            addOnce(work->NextNode());
        }
    }
}

void TWorks::SelectWork(TWorkItem* work, bool add)
{
    if (!work || !work->Selected()) {
        if (!work || !add)
            for (int i = 0; i < Count(); ++i)
                Items(i)->SetSelected(false);
        if (work)
            work->SetSelected(true);
    } else if (add) {
        work->SetSelected(false);
    }
}

void TWorks::Assign(const TWorks& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add().Assign(*source.Items(i));
    EndUpdate();
}

void TWorks::ValueChanged(TWorkItem& work)
{
    BumpValues();
    constexpr std::size_t listed = 64;
    if (m_changedValues.size() < listed)
        m_changedValues.push_back(&work);
    else
        m_tooManyChanged = true;
}

bool TWorks::TakeChangedValues(std::vector<TWorkItem*>& changed)
{
    const bool listed = !m_tooManyChanged;
    changed.swap(m_changedValues);
    m_changedValues.clear();
    m_tooManyChanged = false;
    return listed;
}

void TWorks::SetLineWidth(int value) { m_lineWidth = value; Changed(); }
void TWorks::SetArrowWidth(int value) { m_arrowWidth = value; Changed(); }
void TWorks::SetIntersectionRadii(int value) { m_intersectionRadii = value; Changed(); }
void TWorks::SetArrowHeight(int value) { m_arrowHeight = value; Changed(); }
void TWorks::SetLineOffset(int value) { m_lineOffset = value; Changed(); }
void TWorks::SetKeyLineWidth(int value) { m_keyLineWidth = value; Changed(); }
void TWorks::SetKeyLineColor(platform::TColor value) { m_keyLineColor = value; Changed(); }
void TWorks::SetLineColor(platform::TColor value) { m_lineColor = value; Changed(); }
void TWorks::SetFont(const platform::TFont& value) { m_font = value; Changed(); }
void TWorks::SetCapInterval(int value) { m_capInterval = value; Changed(); }
void TWorks::SetTextPosition(std::uint16_t value) { m_textPosition = value; Changed(); }
void TWorks::SetWaveLineColor(platform::TColor value) { m_waveLineColor = value; Changed(); }

void TWorks::Update(TWorkItem* item)
{
    if (!m_owner || m_owner->Loading() || !m_updateEnabled)
        return;
    if (!item) {
        m_owner->RecalcNetwork();
    } else {
        switch (item->ChangeKind()) {
        case wkContinueTime:
        case wkDiapause:
        case wkParallelTime:
            m_owner->RecalcTimes();
            break;
        case wkNextNode:
        case wkPriorNode:
            m_owner->RecalcNetwork();
            break;
        case wkSelected:
            m_owner->WorkSelectChanged(item);
            return;
        default:
            return;
        }
    }
    m_owner->Invalidate();
    m_owner->SetModified(true);
    m_owner->DoNetChanged();
}

} // namespace network
