// Mouse editing of the network by draw state: drawing a work from a node,
// selecting and moving, deleting, inspecting, retiming, splitting, and the
// handles of the selected work.
#include "network/control/vyr_network.h"

#include "network/drawing/vyr_draw_tool.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace network {

namespace {

const QString kLogicError = QStringLiteral("该工作有逻辑错误，不能增加！");

constexpr std::uint8_t kDrawWork = 0;
constexpr std::uint8_t kDeleteWork = 3;
constexpr std::uint8_t kInspect = 4;
constexpr std::uint8_t kRetime = 6;
constexpr std::uint8_t kSplit = 7;
constexpr std::uint8_t kGlide = 10;

constexpr int kDragDrawing = 1;
constexpr int kDragWork = 2;
constexpr int kDragBand = 3;

int Div(std::int64_t a, std::int64_t b) { return platform::SaturateInt(a / b); }

} // namespace

void TVYRNetwork::SetEditEnabled(bool value)
{
    m_editEnabled = value;
    m_pendingPoints.clear();
}

void TVYRNetwork::CancelDrawing()
{
    SetEditEnabled(false);
    m_pendingPoints.clear();
    Services().ReleaseMouse();
    Invalidate();
}

void TVYRNetwork::DoWorkChanged(TWorkItem* work)
{
    if (m_onWorkChanged)
        m_onWorkChanged(*this, work);
}

int TVYRNetwork::RowFromY(int y) const
{
    return platform::SaturateInt((std::int64_t{y} - TopLinePosition()) / SmallLineSpace() + TopLineID());
}

int TVYRNetwork::SnapY(int y) const { return RowToY(RowFromY(platform::SaturateInt(std::int64_t{y} - 5))); }

int TVYRNetwork::SnapX(int x)
{
    const int s = SmallWidth() / (SmallDate() * 2);
    const std::int64_t xd = std::int64_t{x} - GetOrigin().x();
    if (s < 1)
        return platform::SaturateInt(xd);
    // The nearest step counted from the start node on either side of it
    // (a division rounding toward zero would move points left of the
    // start node by a step).
    const std::int64_t b = m_startNode ? GetNodePosition(m_startNode).x() : 0;
    const std::int64_t d = xd + s / 2 - b;
    return platform::SaturateInt(b + s * (d >= 0 ? d / s : -((-d + s - 1) / s)));
}

TNodeItem* TVYRNetwork::NodeAt(int x, int y)
{
    const QPoint origin = GetOrigin();
    const std::int64_t r = Nodes().Radii();
    for (int i = 0; i < Nodes().Count(); ++i) {
        TNodeItem* node = Nodes().Items(i);
        const QPoint p = GetNodePosition(node);
        if (std::llabs(std::int64_t{p.x()} + origin.x() - x) < r && std::llabs(std::int64_t{p.y()} + origin.y() - y) < r)
            return node;
    }
    return nullptr;
}

TWorkItem* TVYRNetwork::WorkAt(int x, int y)
{
    const QPoint origin = GetOrigin();
    const QPoint p(platform::SaturateInt(std::int64_t{x} - origin.x()), platform::SaturateInt(std::int64_t{y} - origin.y()));
    for (int i = 0; i < Works().Count(); ++i) {
        TWorkItem* work = Works().Items(i);
        TPointList line = GetWorkPolyline(*work);
        ShortenPolyline(line);
        for (std::size_t k = 1; k < line.size(); ++k)
            if (PointNearSegment(p, line[k - 1], line[k], 5))
                return work;
    }
    return nullptr;
}

float TVYRNetwork::TimeAlongAxis(int x) const
{
    if (!m_startNode)
        return 0.0f;
    const std::int64_t a = GetNodePosition(m_startNode).x();
    if (x <= a)
        return 0.0f;
    std::int64_t p = x - a;
    for (const TOffsetColumn& column : OffsetColumns()) {
        const std::int64_t from = std::max<std::int64_t>(a, column.From);
        const std::int64_t to = std::min<std::int64_t>(x, column.To);
        if (to > from)
            p -= to - from;
    }
    return float(Div(std::int64_t{SmallDate()} * p * 2, SmallWidth())) * 0.5f;
}

float TVYRNetwork::OffsetAtX(int x) const
{
    if (!m_startNode)
        return 0.0f;
    const int a = GetNodePosition(m_startNode).x();
    std::int64_t n = 0;
    if (x > a) {
        for (const TOffsetColumn& column : OffsetColumns())
            if (x >= column.From && x < column.To) {
                n = std::int64_t{x} - column.From;
                break;
            }
    } else {
        n = std::int64_t{x} - a;
    }
    return float(Div(std::int64_t{SmallDate()} * n * 2, SmallWidth())) * 0.5f;
}

bool TVYRNetwork::LinkKeepsOrder(int from, int to) const
{
    return from != to && HasNoPathTo(from, to);
}

void TVYRNetwork::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (shift & ssRight) {
        CancelDrawing();
        return;
    }
    m_rowOffsetDrawn = 0;
    // A press may change the selection: a drag takes its painted state and
    // its band index anew.
    ForgetPainted();
    m_band.reset();
    if (button != TMouseButton::mbLeft)
        return;
    if (m_swallowNextPress) {
        // The press after a double click: nothing stays armed, so the
        // release cannot repeat the last edit.
        m_swallowNextPress = false;
        SetEditEnabled(false);
        m_pickedWork = nullptr;
        return;
    }
    m_pressPoint = QPoint(x, y);
    switch (m_drawState) {
    case kDrawWork:
        m_startNode = NodeAt(x, y);
        if (m_startNode) {
            SelectItems(nullptr, nullptr, false);
            SetEditEnabled(true);
            m_pendingPoints = {GetNodePosition(m_startNode)};
            m_dragKind = kDragDrawing;
            Services().CaptureMouse();
        } else {
            m_dragOrigin = m_pressPoint;
            if (TWorkItem* work = WorkAt(x, y)) {
                SelectItems(nullptr, work, (shift & ssShift) != 0);
                m_dragKind = kDragWork;
            } else {
                m_dragKind = kDragBand;
                SelectItems(nullptr, nullptr, false);
            }
            SetEditEnabled(true);
        }
        break;
    case kDeleteWork:
    case kInspect:
        SetEditEnabled(true);
        break;
    case kRetime: {
        m_pickedWork = WorkAt(x, y);
        m_dragOrigin = m_pressPoint;
        TNodeItem* node = NodeAt(x, y);
        SelectItems(node, m_pickedWork, false);
        if (m_pickedWork)
            m_pickedDuration = m_pickedWork->ContinueTime();
        SetEditEnabled(m_pickedWork || node);
        break;
    }
    case kSplit:
        m_pickedWork = WorkAt(x, y);
        SelectItems(nullptr, m_pickedWork, false);
        SetEditEnabled(m_pickedWork != nullptr);
        break;
    case kGlide:
        GlidePress(x, y);
        break;
    default:
        break;
    }
}

void TVYRNetwork::DrawRubberBand(const TPointList& points, std::uint8_t elbow)
{
    platform::Canvas* canvas = Canvas();
    if (!canvas || points.size() < 2)
        return;
    const QPoint origin = GetOrigin();
    const QPoint start = points.front() + origin;
    const QPoint end = points.back() + origin;
    TPointList line{start};
    if (elbow == 0 && start.y() != end.y())
        line.push_back(QPoint(start.x(), end.y()));
    else if (elbow == 1 && start.x() != end.x())
        line.push_back(QPoint(end.x(), start.y()));
    if (elbow == 2)
        line = {points[points.size() - 2] + origin};
    line.push_back(end);
    canvas->Pen.Width = 1;
    canvas->Pen.Style = platform::TPenStyle::psSolid;
    canvas->Pen.Color = 0x0000FF;
    // Drawn twice it erases itself. On a black control not-XOR would draw
    // the inverse of red and mask-pen-not nothing at all, so XOR shows it.
    canvas->Pen.Mode = Color() == 0 ? platform::TPenMode::pmXor : platform::TPenMode::pmNotXor;
    canvas->Polyline(line);
    canvas->Pen.Mode = platform::TPenMode::pmCopy;
}

void TVYRNetwork::BandSelect(QPoint e)
{
    const QRect band(QPoint(SnapX(m_dragOrigin.x()), SnapY(m_dragOrigin.y())), e);
    // The works' bounds do not change during the drag: they are indexed at
    // its first move. A work outside both the last band and this one was
    // not selected and stays so, so only the works the index finds in the
    // two bands are tested and their flags set.
    if (!m_band) {
        m_band = std::make_unique<TBandIndex>();
        m_band->Grid = WorkGrid(Works().Count());
        m_band->Bounds.resize(std::size_t(Works().Count()));
        BeginPaintPass();
        for (int i = 0; i < Works().Count(); ++i) {
            const QRect b = GetWorkBounds(*Works().Items(i));
            m_band->Bounds[std::size_t(i)] = b;
            if (!b.isNull())
                m_band->Grid.Insert(i, b);
        }
        EndPaintPass();
    }
    const QRect area = band.normalized().united(m_band->Last);
    m_band->Last = band.normalized();
    m_band->Grid.Query(area, m_band->Found);
    m_bandSelecting = true;
    for (const int i : m_band->Found) {
        const QRect& b = m_band->Bounds[std::size_t(i)];
        Works().Items(i)->SetSelected(!b.isNull() && b.left() >= band.left() && b.top() >= band.top() &&
                                      b.right() <= band.right() && b.bottom() <= band.bottom());
    }
    m_bandSelecting = false;
}

void TVYRNetwork::WorkSelectChanged(TWorkItem* work)
{
    // During a band drag the works whose flag changed are repainted in
    // place with the next paint instead of drawn one by one at once.
    if (m_bandSelecting && work) {
        if (Canvas()) {
            const QRect box = WorkPaintBox(*work);
            if (!box.isNull())
                Services().InvalidateRect(box.adjusted(-2, -2, 2, 2).translated(GetOrigin()));
        }
        return;
    }
    TVYRNetworkAddDraw::WorkSelectChanged(work);
}

void TVYRNetwork::MouseMove(TShiftState shift, int x, int y)
{
    if (!m_editEnabled || !(shift & ssLeft))
        return;
    const QPoint snapped(SnapX(x), SnapY(y));
    m_dragDuration = TimeAlongAxis(snapped.x());
    if (m_drawState == kDrawWork && m_dragKind == kDragBand) {
        BandSelect(snapped);
    } else if (m_drawState == kDrawWork && m_dragKind == kDragDrawing && m_startNode && !m_pendingPoints.empty()) {
        if (m_pendingPoints.size() == 2) {
            DrawRubberBand(m_pendingPoints, m_elbow);
            m_pendingPoints[1] = snapped;
            const int g = RowFromY(snapped.y()) - m_startNode->NodeY();
            if (m_rowOffsetDrawn == 0 || (g > 0) != (m_rowOffsetDrawn > 0) || std::abs(g) > std::abs(m_rowOffsetDrawn))
                if (g != 0)
                    m_rowOffsetDrawn = g;
        } else {
            m_elbow = std::abs(x - m_pressPoint.x()) > std::abs(y - m_pressPoint.y()) ? 1 : 0;
            m_pendingPoints.push_back(snapped);
        }
        if (snapped == m_pendingPoints.front()) {
            m_pendingPoints.resize(1);
            m_elbow = 2;
            m_rowOffsetDrawn = 0;
        }
        DrawRubberBand(m_pendingPoints, m_elbow);
    } else if (m_drawState == kRetime && m_pickedWork) {
        RunTrackedEdit([&] { DragWorkDuration(*m_pickedWork, m_dragOrigin, m_pickedDuration, QPoint(x, y)); });
    }
}

void TVYRNetwork::MouseUp(TMouseButton, TShiftState shift, int x, int y)
{
    if (!m_editEnabled)
        return;
    switch (m_drawState) {
    case kDrawWork:
        if (m_dragKind == kDragDrawing) {
            if (m_pendingPoints.size() == 2) {
                if (m_pendingPoints[0].y() != m_pendingPoints[1].y())
                    m_rowOffsetDrawn = 0;
                AddWorkTo(m_pendingPoints[1]);
            }
        } else if (m_dragKind == kDragWork) {
            RunTrackedEdit([&] { MoveSelection(m_dragOrigin, QPoint(x, y)); });
            DoWorkChanged(nullptr);
        }
        break;
    case kDeleteWork:
        if (TWorkItem* work = WorkAt(x, y))
            DeleteWork(*work);
        break;
    case kInspect: {
        TNodeItem* node = NodeAt(x, y);
        TWorkItem* work = WorkAt(x, y);
        SelectItems(node, work, (shift & ssShift) != 0);
        EditItemProperties(work, node);
        break;
    }
    case kRetime:
        if (Nodes().GetSelectedNode()) {
            RunTrackedEdit([&] { DragNodeOffset(m_dragOrigin, QPoint(x, y)); });
            DoWorkChanged(nullptr);
        }
        break;
    case kSplit:
        if (m_pickedWork)
            SplitWork(*m_pickedWork, QPoint(x, y));
        m_pickedWork = nullptr;
        break;
    default:
        break;
    }
}

void TVYRNetwork::DblClick() { m_swallowNextPress = true; }

void TVYRNetwork::AddWorkTo(QPoint endPoint)
{
    if (!m_startNode)
        return;
    TNodeItem* target = NodeAt(platform::SaturateInt(std::int64_t{endPoint.x()} + GetOrigin().x()),
                               platform::SaturateInt(std::int64_t{endPoint.y()} + GetOrigin().y()));
    if (target == m_startNode)
        return;
    if (!target) {
        target = &InsertNode(m_startNode->Index() + 1, RowFromY(endPoint.y()), OffsetAtX(endPoint.x()));
    } else if (!HasNoPathTo(m_startNode->NewID(), target->NewID())) {
        ShowMessage(kLogicError);
        Invalidate();
        return;
    }
    Works().BeginUpdate();
    TWorkItem& work = Works().Add();
    work.SetPriorNode(m_startNode->NewID());
    work.SetNextNode(target->NewID());
    work.SetContinueTime(m_dragDuration);
    work.SetHorizontalLine(m_elbow == 0);
    work.SetOffset(m_rowOffsetDrawn);
    Works().EndUpdate();
    SetEditEnabled(false);
    Services().ReleaseMouse();
    DoWorkChanged(&work);
}

void TVYRNetwork::DeleteWork(TWorkItem& work)
{
    const QString text = QStringLiteral("你真的要删除工作\"") + work.Caption() + QStringLiteral("\"吗?");
    if (Services().MessageBox(text, platform::MessageIcon::Warning, platform::MessageButton::Ok | platform::MessageButton::Cancel,
                              {}) != platform::MessageButton::Ok)
        return;
    const int start = work.PriorNode();
    const int end = work.NextNode();
    TNodeItem* endNode = nullptr;
    // A self-loop's end node is its start node, which stays.
    if (end != start && CountWorksInto(end) == 1) {
        for (int i = 0; i < Works().Count(); ++i)
            if (Works().Items(i)->PriorNode() == end)
                Works().Items(i)->SetPriorNode(start);
        endNode = Nodes().FindByNewID(end);
    }
    if (m_pickedWork == &work)
        m_pickedWork = nullptr;
    Works().BeginUpdate();
    Nodes().BeginUpdate();
    Works().Delete(work.Index());
    if (endNode) {
        if (m_startNode == endNode)
            m_startNode = nullptr;
        Nodes().Delete(endNode->Index());
    }
    Works().EndUpdate();
    Nodes().EndUpdate();
    DoWorkChanged(nullptr);
}

void TVYRNetwork::SplitWork(TWorkItem& work, QPoint p)
{
    TNodeItem* s = Nodes().FindByNewID(work.PriorNode());
    TNodeItem* e = Nodes().FindByNewID(work.NextNode());
    if (!s)
        return;
    Nodes().BeginUpdate();
    Works().BeginUpdate();
    const float d0 = work.ContinueTime();
    const int endID = work.NextNode();
    const std::int64_t dx = std::int64_t{p.x()} - GetNodePosition(s).x() - GetOrigin().x();
    float x = float(Div(std::int64_t{SmallDate()} * dx * 2, SmallWidth())) * 0.5f;
    // A point past the end of the work splits at its end.
    x = std::clamp(x, 0.0f, std::max(d0, 0.0f));
    work.SetContinueTime(x);
    TNodeItem& m = InsertNode(s->Index() + 1, RowFromY(p.y()), 0.0f);
    work.SetNextNode(m.NewID());
    if (work.ContinueTime() == 0.0f)
        m.SetOffset(3.0f);
    TWorkItem& second = Works().Add();
    second.SetPriorNode(m.NewID());
    second.SetNextNode(endID);
    float rest = d0 - x;
    if (!(rest > 0.0f)) {
        rest = 0.0f;
        if (e)
            e->SetOffset(3.0f);
    }
    second.SetContinueTime(rest);
    second.SetHorizontalLine(work.HorizontalLine());
    Nodes().EndUpdate();
    Works().EndUpdate();
    DoWorkChanged(&second);
}

bool TVYRNetwork::EditItemProperties(TWorkItem* work, TNodeItem* node)
{
    return m_onEditItemProperties && m_onEditItemProperties(*this, work, node);
}

void TVYRNetwork::HideHandles()
{
    TVYRNetworkAddDraw::HideHandles();
    for (TLankPanel* handle : {&StartHandle(), &EndHandle(), &BendHandle()})
        handle->Visible = false;
}

void TVYRNetwork::ShowHandles(const TPointList& points, TWorkItem& work)
{
    if (m_drawState != kRetime || points.empty())
        return;
    const QPoint origin = GetOrigin();
    const QPoint first = points.front();
    const QPoint last = points.back();
    StartHandle().ShowAt(first.x() + origin.x() - 2, first.y() + origin.y() - 2);
    EndHandle().ShowAt(last.x() + origin.x() - 2, last.y() + origin.y() - 2);
    if (work.ContinueTime() == 0.0f && points.size() == 2) {
        BendHandle().Visible = false;
        return;
    }
    int y = first.y();
    if (last.y() == first.y() || points.size() == 4)
        y = platform::SaturateInt(std::int64_t{first.y()} + std::int64_t{work.Offset()} * SmallLineSpace());
    else if (work.HorizontalLine())
        y = last.y();
    BendHandle().ShowAt(platform::SaturateInt((std::int64_t{first.x()} + last.x()) / 2 + origin.x() - 2),
                        platform::SaturateInt(std::int64_t{origin.y()} - 2 + y));
}

TLankPanel* TVYRNetwork::HandleAt(QPoint p)
{
    for (TLankPanel* handle : {&StartHandle(), &EndHandle(), &BendHandle()})
        if (handle->Visible && handle->BoundsRect().contains(p))
            return handle;
    return nullptr;
}

void TVYRNetwork::HandleMoved(TLankPanel& handle)
{
    m_grabbedHandle = &handle;
    m_handleOrigin = QPoint(handle.Left, handle.Top);
    Services().ReleaseMouse();
}

void TVYRNetwork::DragHandle(QPoint topLeft)
{
    if (!m_grabbedHandle)
        return;
    m_grabbedHandle->Left = topLeft.x();
    m_grabbedHandle->Top = topLeft.y();
    Invalidate();
}

void TVYRNetwork::DropHandle()
{
    TLankPanel* handle = std::exchange(m_grabbedHandle, nullptr);
    TWorkItem* w = Works().GetSelectedWork();
    if (!handle || !w)
        return;
    const QPoint q(handle->Left, handle->Top);
    if (handle == &BendHandle())
        DropBendHandle(*w, q);
    else if (handle == &StartHandle())
        DropStartHandle(*w, q);
    else
        DropEndHandle(*w, q);
    Invalidate();
}

void TVYRNetwork::DropBendHandle(TWorkItem& w, QPoint q)
{
    const TNodeItem* start = Nodes().FindByNewID(w.PriorNode());
    if (!start)
        return;
    const TNodeItem* end = Nodes().FindByNewID(w.NextNode());
    w.SetOffset(platform::SaturateInt(std::int64_t{RowFromY(q.y())} - start->NodeY()));
    if (!end)
        return;
    if (w.Offset() == 0 && end->NodeY() != start->NodeY()) {
        w.SetHorizontalLine(false);
        return;
    }
    if (std::int64_t{end->NodeY()} == std::int64_t{start->NodeY()} + w.Offset()) {
        w.SetHorizontalLine(true);
        w.SetOffset(0);
    }
}

void TVYRNetwork::DropStartHandle(TWorkItem& w, QPoint q)
{
    TNodeItem* node = NodeAt(q.x(), q.y());
    if (!node || node->NewID() == w.PriorNode())
        return;
    if (!LinkKeepsOrder(node->NewID(), w.NextNode())) {
        ShowMessage(kLogicError);
        return;
    }
    w.SetPriorNode(node->NewID());
    DoWorkChanged(nullptr);
}

void TVYRNetwork::DropEndHandle(TWorkItem& w, QPoint q)
{
    const int o = w.NextNode();
    TNodeItem* node = NodeAt(q.x(), q.y());
    if (node && node->NewID() == o)
        return;
    const bool onlyInto = CountWorksInto(o) == 1;
    if (node) {
        // Test the new links before changing anything.
        bool keeps = LinkKeepsOrder(w.PriorNode(), node->NewID());
        if (onlyInto)
            for (int i = 0; keeps && i < Works().Count(); ++i) {
                const TWorkItem& leaving = *Works().Items(i);
                if (&leaving != &w && leaving.PriorNode() == o)
                    keeps = LinkKeepsOrder(node->NewID(), leaving.NextNode());
            }
        if (!keeps) {
            ShowMessage(kLogicError);
            return;
        }
    }
    Nodes().BeginUpdate();
    Works().BeginUpdate();
    if (node) {
        if (onlyInto)
            for (int i = 0; i < Works().Count(); ++i)
                if (Works().Items(i) != &w && Works().Items(i)->PriorNode() == o)
                    Works().Items(i)->SetPriorNode(node->NewID());
        w.SetNextNode(node->NewID());
        if (CountWorksInto(o) == 0 && CountWorksFrom(o) == 0)
            if (TNodeItem* old = Nodes().FindByNewID(o))
                Nodes().Delete(old->Index());
    } else if (TNodeItem* old = Nodes().FindByNewID(o)) {
        old->SetNodeY(RowFromY(q.y()));
        DragWorkDuration(w, m_handleOrigin, w.ContinueTime(), q);
    }
    Nodes().EndUpdate();
    Works().EndUpdate();
    // Reported after the updates end, so the recomputed network is seen.
    DoWorkChanged(nullptr);
}

} // namespace network
