#include "network/node_item.h"

#include "network/half_days.h"
#include "network/network_add_node_work.h"
#include "network/nodes.h"
#include "platform/numbers.h"

#include <cmath>

namespace network {

TNodeItem::TNodeItem(TNodes& collection)
    : m_collection(&collection)
{
}

void TNodeItem::Report(int kind)
{
    m_changeKind = kind;
    m_collection->ItemChanged(this);
}

void TNodeItem::SetSelected(bool value)
{
    if (m_selected == value)
        return;
    m_selected = value;
    Report(nkSelected);
}

void TNodeItem::SetNodeY(int value)
{
    if (m_nodeY == value)
        return;
    m_nodeY = value;
    Report(nkNodeY);
}

void TNodeItem::SetOffset(float value)
{
    if (!std::isfinite(value) || m_offset == value)
        return;
    m_offset = RoundToHalfDay(value);
    m_collection->BumpValues();
    Report(nkOffset);
}

void TNodeItem::SetNewID(int value)
{
    if (m_newID == value)
        return;
    const int old = m_newID;
    m_newID = value;
    m_collection->NewIDChanged(old, value);
}

void TNodeItem::SetNumber(int value)
{
    if (m_number == value)
        return;
    const int index = Index();
    const TNodeItem* previous = m_collection->Items(index - 1);
    const int p = previous ? previous->m_number : 0;
    if (value <= p) {
        if (const auto* owner = m_collection->Owner())
            owner->ShowMessage(QStringLiteral("节点的编号太小，请重新输入！"));
        return;
    }
    const std::int64_t shift = std::int64_t{value} - m_number;
    for (int i = index + 1; i < m_collection->Count(); ++i) {
        TNodeItem* later = m_collection->Items(i);
        later->m_number = platform::SaturateInt(later->m_number + shift);
    }
    m_number = value;
    m_autoNumber = false;
    m_collection->BumpNumbers();
    m_collection->Changed();
}

void TNodeItem::SetAutoNumber(bool value)
{
    if (m_autoNumber == value)
        return;
    m_autoNumber = value;
    m_collection->BumpNumbers();
}

void TNodeItem::Assign(const TNodeItem& source)
{
    m_nodeY = source.m_nodeY;
    m_offset = source.m_offset;
    m_collection->BumpValues();
    SetNewID(source.m_newID);
    m_number = source.m_number;
    m_autoNumber = source.m_autoNumber;
    m_collection->BumpNumbers();
}

} // namespace network
