#include "network/nodes.h"

#include "network/network_add_node_work.h"
#include "platform/numbers.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace network {

TNodes::TNodes(TVYRNetworkAddNodeWork* owner)
    : m_owner(owner)
{
}

void TNodes::SetRadii(int value)
{
    m_radii = value;
    Changed();
}

void TNodes::SetFont(const platform::TFont& value)
{
    m_font = value;
    Changed();
}

int TNodes::LargestNewID()
{
    if (!m_largestKnown) {
        m_largestNewID = 0;
        for (int i = 0; i < Count(); ++i)
            m_largestNewID = std::max(m_largestNewID, Items(i)->NewID());
        m_largestKnown = true;
    }
    return m_largestNewID;
}

void TNodes::NewIDChanged(int oldID, int newID)
{
    BumpStructure();
    if (!m_largestKnown)
        return;
    if (newID > m_largestNewID)
        m_largestNewID = newID;
    else if (oldID == m_largestNewID)
        m_largestKnown = false;
}

TNodeItem& TNodes::Add()
{
    int id = LargestNewID();
    if (id < std::numeric_limits<int>::max()) {
        ++id;
    } else {
        // Every larger NewID is taken: use the smallest free one.
        std::unordered_set<int> used;
        for (int i = 0; i < Count(); ++i)
            used.insert(Items(i)->NewID());
        id = 1;
        while (used.contains(id))
            ++id;
    }
    TNodeItem& node = Adopt(std::make_unique<TNodeItem>(*this));
    node.m_nodeY = 0;
    node.m_offset = 0.0f;
    node.m_selected = false;
    node.SetNewID(id);
    node.m_number = 1;
    node.m_autoNumber = true;
    return node;
}

TNodeItem& TNodes::Insert(int index)
{
    TNodeItem& node = Add();
    Move(node.Index(), index);
    return node;
}

TNodeItem* TNodes::FindByNewID(int id) const
{
    if (m_owner) {
        const NetworkIndex& index = m_owner->NodeLookup();
        return index.NodeOfKey(index.KeyOf(id));
    }
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->NewID() == id)
            return Items(i);
    return nullptr;
}

TNodeItem* TNodes::GetSelectedNode() const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Selected())
            return Items(i);
    return nullptr;
}

void TNodes::MoveSelectedRows(int delta)
{
    BeginUpdate();
    for (int i = 0; i < Count(); ++i) {
        TNodeItem* node = Items(i);
        if (node->Selected())
            node->m_nodeY = platform::SaturateInt(std::int64_t{node->m_nodeY} + delta);
    }
    EndUpdate();
}

void TNodes::SelectNode(TNodeItem* node, bool add)
{
    if (node && node->Selected())
        return;
    if (!node || !add)
        for (int i = 0; i < Count(); ++i)
            Items(i)->SetSelected(false);
    if (node)
        node->SetSelected(true);
}

void TNodes::Assign(const TNodes& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add().Assign(*source.Items(i));
    EndUpdate();
}

void TNodes::Update(TNodeItem* item)
{
    if (!m_owner || m_owner->Loading())
        return;
    if (!item) {
        m_owner->SetModified(true);
        return;
    }
    switch (item->ChangeKind()) {
    case nkNodeY:
    case nkOffset:
        m_owner->Invalidate();
        m_owner->DoNetChanged();
        m_owner->SetModified(true);
        break;
    case nkSelected:
        m_owner->NodeSelectChanged(item);
        break;
    default:
        m_owner->DoNetChanged();
        m_owner->SetModified(true);
        break;
    }
}

} // namespace network
