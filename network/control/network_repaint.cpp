// Repainting only what an edit changed: the painted state of every work and
// node (what decides its pixels, and the box it paints in) is taken before
// and after the edit, and the boxes of the items that differ, old and new,
// are invalidated instead of the whole control.
#include "network/control/vyr_network.h"

#include "network/drawing/vyr_draw_tool.h"

#include "platform/numbers.h"

#include <QRegion>

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

namespace {

// More boxes than this are merged into their bounding box: past that, one
// large repaint costs less than many small ones.
constexpr std::size_t kMaxBoxes = 8;

struct Share {
    std::int64_t num;
    std::int64_t den;
};
constexpr Share kFullShare{1, 2};

QRect Grown(const QRect& r, int by) { return r.isNull() ? r : r.adjusted(-by, -by, by, by); }

std::int64_t Area(const QRect& r) { return std::int64_t{r.width()} * r.height(); }

// Merges boxes whose union costs little more than the two apart, then caps
// their number.
std::vector<QRect> Coalesced(std::vector<QRect> boxes)
{
    boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [](const QRect& r) { return r.isEmpty(); }), boxes.end());
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t i = 0; i < boxes.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const QRect u = boxes[i].united(boxes[j]);
                if (Area(u) <= (Area(boxes[i]) + Area(boxes[j])) * 5 / 4) {
                    boxes[i] = u;
                    boxes.erase(boxes.begin() + std::ptrdiff_t(j));
                    merged = true;
                    break;
                }
            }
    }
    if (boxes.size() > kMaxBoxes) {
        QRect all;
        for (const QRect& r : boxes)
            all |= r;
        boxes = {all};
    }
    return boxes;
}

// Whether the boxes cover at least kFullShare of the visible area, where one
// repaint of everything costs no more than the clipped one.
bool MostlyCovered(const std::vector<QRect>& boxes, const QRect& visible)
{
    const std::int64_t whole = Area(visible);
    if (whole <= 0)
        return false;
    QRegion covered;
    for (const QRect& r : boxes)
        covered += r & visible;
    std::int64_t area = 0;
    for (const QRect& r : covered)
        area += Area(r);
    return area * kFullShare.den >= whole * kFullShare.num;
}

} // namespace

bool TVYRNetwork::TPaintedWork::SameLook(const TPaintedWork& other) const
{
    return Item == other.Item && Polyline == other.Polyline && Finish == other.Finish && Start == other.Start &&
           Duration == other.Duration && Diapause == other.Diapause && Key == other.Key &&
           Selected == other.Selected && Virtual == other.Virtual && Caption == other.Caption &&
           ParentFont == other.ParentFont && Font == other.Font && Box == other.Box;
}

bool TVYRNetwork::TPaintedNode::SameLook(const TPaintedNode& other) const
{
    return Item == other.Item && Position == other.Position && Number == other.Number && Key == other.Key &&
           Selected == other.Selected && Last == other.Last;
}

QRect TVYRNetwork::VisibleArea() { return Canvas() ? Canvas()->ClipRect() : QRect(); }

void TVYRNetwork::CapturePainted(TPaintedState& state)
{
    state.Origin = GetOrigin();
    state.Columns = OffsetColumns();
    state.Visible = VisibleArea().translated(-state.Origin);
    state.WorkCount = Works().Count();
    state.NodeCount = Nodes().Count();
    state.Works.clear();
    state.Nodes.clear();
    BeginPaintPass();
    for (int i = 0; i < state.WorkCount; ++i) {
        TWorkItem& work = *Works().Items(i);
        const QRect box = WorkPaintBox(work);
        if (!box.intersects(state.Visible))
            continue;
        TPaintedWork p;
        p.Index = i;
        p.Item = &work;
        p.Polyline = GetWorkPolyline(work);
        p.Finish = GetWorkEarliestFinish(work);
        p.Start = GetWorkEarliestStart(work);
        p.Duration = work.ContinueTime();
        p.Diapause = work.Diapause();
        p.Key = IsKeyWork(work);
        p.Selected = work.Selected();
        p.Virtual = work.IsVirtual();
        p.Caption = work.Caption();
        p.ParentFont = work.ParentFont();
        p.Font = work.ParentFont() ? platform::TFont() : work.Font();
        p.Box = box;
        state.Works.push_back(std::move(p));
    }
    EndPaintPass();
    // A node's box reaches at most its end flag or half the widest number
    // from its centre (see NodePaintBox).
    platform::Canvas& canvas = Canvas() ? *Canvas() : MeasureBitmap();
    canvas.Font = Nodes().Font();
    const QSize widest = canvas.TextExtent(QStringLiteral("-0000000000"));
    const std::int64_t r = ScreenCoordinate(Nodes().Radii());
    const std::int64_t reach = std::max<std::int64_t>({4 * r, widest.width() / 2 + 1, widest.height() / 2 + 1}) + 3;
    for (int i = 0; i < state.NodeCount; ++i) {
        TNodeItem& node = *Nodes().Items(i);
        const QPoint position = GetNodePosition(&node);
        const QRect square(QPoint(ScreenCoordinate(position.x() - reach), ScreenCoordinate(position.y() - reach)),
                           QPoint(ScreenCoordinate(position.x() + reach), ScreenCoordinate(position.y() + reach)));
        if (!square.intersects(state.Visible))
            continue;
        TPaintedNode p;
        p.Index = i;
        p.Item = &node;
        p.Position = position;
        p.Number = node.Number();
        p.Key = GetNodeEarliest(&node) == GetNodeLatest(&node);
        p.Selected = node.Selected();
        p.Last = i == state.NodeCount - 1;
        state.Nodes.push_back(p);
    }
    state.Valid = true;
}

QRect TVYRNetwork::NodePaintBox(const TPaintedNode& node)
{
    // The circle, the number centred on it and the end flag right of it.
    platform::Canvas& canvas = Canvas() ? *Canvas() : MeasureBitmap();
    canvas.Font = Nodes().Font();
    const QSize text = canvas.TextExtent(QString::number(node.Number));
    const std::int64_t r = ScreenCoordinate(Nodes().Radii());
    const std::int64_t half = std::max<std::int64_t>({r, text.width() / 2 + 1, text.height() / 2 + 1});
    const std::int64_t right = node.Last ? std::max(half, 4 * r) : half;
    const std::int64_t top = node.Last ? std::max(half, 2 * r) : half;
    const auto at = [](std::int64_t v) { return ScreenCoordinate(v); };
    return QRect(QPoint(at(node.Position.x() - half - 2), at(node.Position.y() - top - 2)),
                 QPoint(at(node.Position.x() + right + 2), at(node.Position.y() + half + 2)));
}

void TVYRNetwork::Invalidate()
{
    if (m_trackingEdit) {
        m_editInvalidated = true;
        return;
    }
    m_painted.Valid = false;
    TVYRNetworkAddDraw::Invalidate();
}

void TVYRNetwork::ForgetPainted() { m_painted.Valid = false; }

void TVYRNetwork::RunTrackedEdit(const std::function<void()>& edit)
{
    if (!Canvas() || Loading()) {
        edit();
        return;
    }
    // The state kept from the last edit only holds the items that reached
    // the area visible then; after a scroll it is taken again.
    if (!m_painted.Valid || m_painted.Visible != VisibleArea().translated(-m_painted.Origin))
        CapturePainted(m_painted);
    m_trackingEdit = true;
    m_editInvalidated = false;
    try {
        edit();
    } catch (...) {
        m_trackingEdit = false;
        Invalidate();
        throw;
    }
    m_trackingEdit = false;
    if (!m_editInvalidated)
        return;
    TPaintedState now;
    CapturePainted(now);
    const bool sameLayout = now.Origin == m_painted.Origin && now.Columns == m_painted.Columns &&
                            now.Visible == m_painted.Visible && now.WorkCount == m_painted.WorkCount &&
                            now.NodeCount == m_painted.NodeCount;
    if (!sameLayout) {
        Invalidate();
        return;
    }
    // Both lists are in collection order: an item in one list only came
    // into or left the visible area, and its box there is repainted.
    std::vector<QRect> boxes;
    const auto compare = [&boxes](const auto& before, const auto& after, const auto& boxOf) {
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < before.size() || j < after.size()) {
            if (j == after.size() || (i < before.size() && before[i].Index < after[j].Index)) {
                boxes.push_back(boxOf(before[i++]));
            } else if (i == before.size() || after[j].Index < before[i].Index) {
                boxes.push_back(boxOf(after[j++]));
            } else {
                if (!after[j].SameLook(before[i])) {
                    boxes.push_back(boxOf(before[i]));
                    boxes.push_back(boxOf(after[j]));
                }
                ++i;
                ++j;
            }
        }
    };
    compare(m_painted.Works, now.Works, [](const TPaintedWork& w) { return Grown(w.Box, 2); });
    compare(m_painted.Nodes, now.Nodes, [this](const TPaintedNode& n) { return NodePaintBox(n); });
    m_painted = std::move(now);
    std::vector<QRect> merged = Coalesced(std::move(boxes));
    if (MostlyCovered(merged, m_painted.Visible)) {
        // Repainting nearly everything costs less in one piece than
        // clipped to many boxes; the state just taken stays valid.
        TVYRNetworkAddDraw::Invalidate();
        return;
    }
    for (QRect box : merged) {
        box.translate(m_painted.Origin);
        Services().InvalidateRect(box);
    }
}

std::int64_t TVYRNetwork::LastScreenDay()
{
    return (std::int64_t{m_width - LeftLankWidth()} / SmallWidth() + 1) * SmallDate() + StartJinDu() - 1;
}

void TVYRNetwork::SetBounds(int left, int top, int width, int height)
{
    const int oldWidth = m_width;
    const int oldHeight = m_height;
    const std::int64_t oldLast = LastScreenDay();
    m_left = left;
    m_top = top;
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    if (!Canvas() || Loading())
        return;
    // The rulers and day lines run to the last day the width holds and the
    // day lines down to the height: a change repaints the ruler rows, the
    // days from the first one that differs, and the rows below the smaller
    // height.
    constexpr int kFar = kScreenLimit;
    const std::int64_t newLast = LastScreenDay();
    if (oldLast != newLast || oldWidth != m_width) {
        const int rows = RowCount(m_topStyle) * m_scheduleHeight + 2;
        Services().InvalidateRect(QRect(QPoint(-kFar, -kFar), QPoint(kFar, rows)));
        const double day = double(std::max<std::int64_t>(std::min(oldLast, newLast), 0));
        const int from = AxisX(TimeToX(0.0f), day) - 2;
        Services().InvalidateRect(QRect(QPoint(from, -kFar), QPoint(kFar, kFar)));
    }
    if (oldHeight != m_height)
        Services().InvalidateRect(QRect(QPoint(-kFar, std::min(oldHeight, m_height) - 2), QPoint(kFar, kFar)));
}

} // namespace network
