#include "network/drawing/network_add_draw.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace network {

// Half days covered by a horizontal drag of dx pixels, truncated toward zero.
int TVYRNetworkAddDraw::HalfDaySteps(std::int64_t dx) const
{
    const __int128 steps = __int128{m_smallDate} * dx * 2 / m_smallWidth;
    return platform::SaturateInt(std::int64_t(std::clamp<__int128>(steps, INT64_MIN, INT64_MAX)));
}

void TVYRNetworkAddDraw::DragWorkDuration(TWorkItem& work, QPoint from, float oldDuration, QPoint to)
{
    const float value = oldDuration + float(HalfDaySteps(std::int64_t{to.x()} - from.x())) * 0.5f;
    if (value > 0.0f)
        work.SetContinueTime(value);
}

void TVYRNetworkAddDraw::DragNodeOffset(QPoint from, QPoint to)
{
    TNodeItem* node = Nodes().GetSelectedNode();
    if (!node)
        return;
    const int rows = platform::SaturateInt((std::int64_t{to.y()} - from.y()) / m_smallLineSpace);
    if (rows != 0)
        node->SetNodeY(platform::SaturateInt(std::int64_t{node->NodeY()} + rows));
    else
        node->SetOffset(node->Offset() + float(HalfDaySteps(std::int64_t{to.x()} - from.x())) * 0.5f);
}

void TVYRNetworkAddDraw::MoveSelection(QPoint from, QPoint to)
{
    TNodes& nodes = Nodes();
    std::vector<int> ids;
    Works().GetSelectedNodeIDs(ids);
    const std::unordered_set<int> workEnds(ids.begin(), ids.end());
    const int rows = platform::SaturateInt((std::int64_t{to.y()} - from.y()) / m_smallLineSpace);
    bool moved = false;
    nodes.BeginUpdate();
    for (int i = 0; i < nodes.Count(); ++i) {
        TNodeItem& node = *nodes.Items(i);
        if (rows != 0 && (node.Selected() || workEnds.contains(node.NewID()))) {
            node.SetNodeY(platform::SaturateInt(std::int64_t{node.NodeY()} + rows));
            moved = true;
        }
    }
    nodes.EndUpdate();
    // The collection report only marks the network modified; moved nodes
    // also need the repaint and the change report a single moved node gets.
    if (moved && !Loading()) {
        Invalidate();
        DoNetChanged();
    }
}

} // namespace network
