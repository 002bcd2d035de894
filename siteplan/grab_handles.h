// The small square handles over a selected shape: one to move it (index -2),
// one to rotate it (-1) and one per reshaping point (0 to n - 1). They are
// plain objects the plan control draws after the shapes and hit-tests before
// them; dragging a handle moves, rotates or reshapes the shape, a click on a
// point handle with an edit method armed applies the method to that point.
//
// Ownership: a shape owns its TGrabHandles, which owns its handles.
#pragma once

#include "map_rect.h"
#include "mouse_input.h"

#include "platform/canvas.h"
#include "platform/window_services.h"

#include <QPoint>

#include <deque>

namespace siteplan {

class TGrabHandles;
class TPlaneMap;
class TVyrMapCom;

namespace handleindex {
constexpr int Move = -2;
constexpr int Rotate = -1;
} // namespace handleindex

class TGrabHandle {
public:
    TGrabHandle(TPlaneMap& map, TVyrMapCom& shape, TGrabHandles& handles, int index);

    int HandleIndex() const { return FHandleIndex; }
    int HalfSize() const { return FHalfSize; }
    int Cursor() const { return FCursor; }
    bool Enabled() const { return FEnabled; }
    bool Dragging() const { return FDragging; }
    TRect Bounds() const { return FBounds; }
    TVyrMapCom& MapCom() const { return FMapCom; }

    // Where the handle sits on the control.
    QPoint GetAnchor() const;
    void UpdateCursor();
    void UpdatePosition();
    // UpdatePosition with the shape's GetCenter and GetBounds, which the
    // handles of one shape share.
    void UpdatePosition(QPoint center, const TRect& bounds);
    void SetEnabled(bool enabled);
    // Fills the handle's square; the canvas has no world transform.
    void Paint(platform::Canvas& canvas) const;

    // Mouse in control pixels, routed here by the plan control while the
    // handle is pressed.
    void MouseDown(TMouseButton button, QPoint p);
    void MouseMove(QPoint p);
    // May destroy this handle (an applied method can remove its point): the
    // caller must not touch the handle afterwards.
    void MouseUp(QPoint p);

private:
    // The anchor of the move or rotate handle.
    QPoint FrameAnchor(QPoint center, const TRect& bounds) const;
    void BeginDrag(QPoint p);
    void DragTo(QPoint p);
    void EndDrag();

    TPlaneMap& FPlaneMap;
    TVyrMapCom& FMapCom;
    TGrabHandles& FHandles;
    int FHandleIndex;
    int FHalfSize;
    int FCursor = platform::cursor::kDefault;
    bool FEnabled = true;
    bool FDragging = false;
    QPoint FDragPos;
    // The plan cannot move the mouse cursor onto the anchor at the press;
    // it adds this offset to every later mouse position instead.
    QPoint FDragOffset;
    TRect FBounds;
};

class TGrabHandles {
public:
    TGrabHandles(TPlaneMap& map, TVyrMapCom& shape);
    ~TGrabHandles();

    // The handles are shown together: all of them or none.
    bool Visible() const { return FVisible; }
    int Count() const { return static_cast<int>(FHandles.size()); }
    // In order: move, rotate, then the point handles.
    TGrabHandle& Handle(int position) const { return FHandles[static_cast<std::size_t>(position)]; }

    void Hide();
    void Show(bool enablePoints);
    // Moves the shown handles to the shape; repaint false leaves their old
    // and new places to a repaint of the whole plan.
    void Reposition(bool repaint = true);
    // Brings the count to GetPointCount + 2, then repositions.
    void Resync();
    void SetVisible(bool show);
    // Enabled handles under p, topmost first.
    TGrabHandle* HandleAt(QPoint p) const;
    // The handles that reach visible (control pixels).
    void Paint(platform::Canvas& canvas, const QRect& visible) const;

private:
    // Moves every handle to the shape.
    void UpdatePositions();
    // Recomputes the area and repaints it while the handles show (and
    // repaint is set).
    void UpdateArea(bool repaint = true);
    void InvalidateArea() const;

    TPlaneMap& FPlaneMap;
    TVyrMapCom& FMapCom;
    bool FVisible = false;
    // Every handle's square lies within: a selection of thousands of shapes
    // is hit-tested, painted and hidden without visiting each handle.
    TRect FArea;
    // A deque keeps the handles in place as handles are added and removed
    // at the end, in a few blocks rather than one allocation each. The
    // handles take input through a const container too (HandleAt).
    mutable std::deque<TGrabHandle> FHandles;
};

} // namespace siteplan
