#include "grab_handles.h"

#include "plane_map.h"
#include "vyr_map_com.h"

namespace siteplan {

TGrabHandle::TGrabHandle(TPlaneMap& map, TVyrMapCom& shape, TGrabHandles& handles, int index)
    : FPlaneMap(map), FMapCom(shape), FHandles(handles), FHandleIndex(index), FHalfSize(map.PixelsPerInch() / 32)
{
    if (index == handleindex::Move)
        FCursor = platform::cursor::kSizeAll;
    else if (index == handleindex::Rotate)
        FCursor = platform::cursor::kRevolver;
    else
        UpdateCursor();
    UpdatePosition();
}

QPoint TGrabHandle::GetAnchor() const
{
    if (FHandleIndex >= 0)
        return FMapCom.GetPointPos(FHandleIndex);
    if (FHandleIndex == handleindex::Move)
        return FMapCom.GetCenter();
    return FrameAnchor(FMapCom.GetCenter(), FMapCom.GetBounds());
}

QPoint TGrabHandle::FrameAnchor(QPoint center, const TRect& bounds) const
{
    if (FHandleIndex == handleindex::Move)
        return center;
    return FMapCom.RotatePointAbout(QPoint(bounds.Right + FHalfSize + 25, center.y()), FMapCom.RotateRadians(), center);
}

void TGrabHandle::UpdateCursor()
{
    FCursor = FMapCom.GetPointCursor(FHandleIndex);
}

// The handles' squares are repainted by their container, which knows
// whether they show.
void TGrabHandle::UpdatePosition()
{
    const QPoint a = GetAnchor();
    FBounds = {a.x() - FHalfSize, a.y() - FHalfSize, a.x() + FHalfSize, a.y() + FHalfSize};
}

void TGrabHandle::UpdatePosition(QPoint center, const TRect& bounds)
{
    const QPoint a = FHandleIndex >= 0 ? FMapCom.GetPointPos(FHandleIndex) : FrameAnchor(center, bounds);
    FBounds = {a.x() - FHalfSize, a.y() - FHalfSize, a.x() + FHalfSize, a.y() + FHalfSize};
}

void TGrabHandle::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    if (FHandles.Visible())
        FPlaneMap.InvalidateRect(FBounds);
}

void TGrabHandle::Paint(platform::Canvas& canvas) const
{
    canvas.Brush = platform::TBrush{FEnabled ? platform::clHighlight : platform::clBtnFace, platform::TBrushStyle::bsSolid};
    canvas.FillRect(FBounds.ToQRect());
}

void TGrabHandle::MouseDown(TMouseButton button, QPoint p)
{
    if (button == TMouseButton::mbLeft && FPlaneMap.EditMethod() == -1)
        BeginDrag(p);
}

void TGrabHandle::MouseMove(QPoint p)
{
    if (FDragging)
        DragTo(p);
}

void TGrabHandle::MouseUp(QPoint /*p*/)
{
    if (FDragging) {
        EndDrag();
        return;
    }
    if (FPlaneMap.EditMethod() != -1 && FHandleIndex >= 0) {
        // The method may remove this handle's point and with it this
        // handle: hand over to the plan and touch nothing afterwards.
        const int index = FHandleIndex;
        TPlaneMap& map = FPlaneMap;
        map.ApplyMethodToHandle(index);
    }
}

void TGrabHandle::BeginDrag(QPoint p)
{
    FPlaneMap.SetMouseState(mousestate::Moving);
    FDragging = true;
    FDragPos = GetAnchor();
    FDragOffset = FDragPos - p;
    FHandles.Hide();
    FPlaneMap.ClipCursorToPaper();
}

void TGrabHandle::DragTo(QPoint mouse)
{
    const QPoint p = mouse + FDragOffset;
    FMapCom.Invalidate();
    if (FHandleIndex >= 0)
        FMapCom.MovePoint(FHandleIndex, p);
    else if (FHandleIndex == handleindex::Move)
        FPlaneMap.MoveSelection(FDragPos, p);
    else
        FMapCom.RotateAngle = PointAngle(FMapCom.GetCenter(), p, FMapCom.RotateAngle);
    FMapCom.Invalidate();
    FDragPos = GetAnchor();
}

void TGrabHandle::EndDrag()
{
    FPlaneMap.SetMouseState(mousestate::Idle);
    FPlaneMap.SetModified();
    FDragging = false;
    FPlaneMap.ReleaseCursorClip();
    if (FHandleIndex >= 0)
        FMapCom.EndMovePoint();
    FHandles.Show(true);
}

TGrabHandles::TGrabHandles(TPlaneMap& map, TVyrMapCom& shape) : FPlaneMap(map), FMapCom(shape)
{
    const int count = shape.GetPointCount() + 2;
    for (int i = 0; i < count; ++i)
        FHandles.emplace_back(map, shape, *this, i - 2);
    UpdateArea();
}

TGrabHandles::~TGrabHandles()
{
    InvalidateArea();
}

void TGrabHandles::InvalidateArea() const
{
    if (FVisible)
        FPlaneMap.InvalidateRect(FArea);
}

void TGrabHandles::UpdateArea(bool repaint)
{
    FArea = {};
    for (std::size_t i = 0; i < FHandles.size(); ++i) {
        const TRect b = FHandles[i].Bounds();
        FArea = i == 0 ? b
                       : TRect{std::min(FArea.Left, b.Left), std::min(FArea.Top, b.Top), std::max(FArea.Right, b.Right),
                               std::max(FArea.Bottom, b.Bottom)};
    }
    if (repaint)
        InvalidateArea();
}

void TGrabHandles::Hide()
{
    InvalidateArea();
    FVisible = false;
}

void TGrabHandles::UpdatePositions()
{
    const TRect bounds = FMapCom.GetBounds();
    const QPoint center = TVyrMapCom::CenterOf(bounds);
    for (auto& handle : FHandles)
        handle.UpdatePosition(center, bounds);
}

void TGrabHandles::Show(bool enablePoints)
{
    Hide();
    UpdatePositions();
    for (auto& handle : FHandles)
        handle.SetEnabled(enablePoints);
    FVisible = true;
    UpdateArea();
}

void TGrabHandles::Reposition(bool repaint)
{
    if (!FVisible)
        return;
    if (repaint)
        InvalidateArea();
    UpdatePositions();
    UpdateArea(repaint);
}

void TGrabHandles::Resync()
{
    // The squares of removed handles are repainted with the old area.
    InvalidateArea();
    const std::size_t count = static_cast<std::size_t>(FMapCom.GetPointCount() + 2);
    while (FHandles.size() > count)
        FHandles.pop_back();
    while (FHandles.size() < count) {
        const bool enabled = FHandles.empty() || FHandles.front().Enabled();
        TGrabHandle& handle = FHandles.emplace_back(FPlaneMap, FMapCom, *this, static_cast<int>(FHandles.size()) - 2);
        if (FVisible)
            handle.SetEnabled(enabled);
    }
    UpdatePositions();
    UpdateArea();
}

void TGrabHandles::SetVisible(bool show)
{
    if (show)
        Show(true);
    else
        Hide();
}

TGrabHandle* TGrabHandles::HandleAt(QPoint p) const
{
    const auto within = [p](const TRect& b) {
        return p.x() >= b.Left && p.x() < b.Right && p.y() >= b.Top && p.y() < b.Bottom;
    };
    if (!FVisible || !within(FArea))
        return nullptr;
    for (auto it = FHandles.rbegin(); it != FHandles.rend(); ++it) {
        TGrabHandle& h = *it;
        if (h.Enabled() && within(h.Bounds()))
            return &h;
    }
    return nullptr;
}

void TGrabHandles::Paint(platform::Canvas& canvas, const QRect& visible) const
{
    if (!FVisible || !FArea.ToQRect().intersects(visible))
        return;
    canvas.SetWorldTransform(QTransform());
    for (const auto& handle : FHandles)
        if (handle.Bounds().ToQRect().intersects(visible))
            handle.Paint(canvas);
}

} // namespace siteplan
