// The base of every shape on a site plan. The plan control knows shapes only
// through the virtual operations below: it creates them through the shape
// factory, asks them for bounds, hit tests, drawing, point handles, edit
// methods and creation steps, and stores them through their records.
//
// Coordinates: world points are 0.1 mm of the real site, screen points are
// pixels of the plan control (top-left of the sheet is (0, 0)). Angles are
// tenths of a degree, positive turning clockwise on the screen.
//
// Ownership: the plan control owns its shapes. A shape owns its grab handles
// and whatever pen, brush and text appearance its class creates; SetPen,
// SetBrush and SetTextShow only record those objects.
#pragma once

#include "map_rect.h"

#include "platform/canvas.h"
#include "platform/window_services.h"

#include <QDataStream>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace siteplan {

class TGrabHandles;
class TMapBrush;
class TMapPen;
class TPlaneMap;
class TSelectMapComs;
class TShapePropertyEditor;
class TTextShowSet;

enum class TMapType : std::uint8_t { mtNone, mtText, mtPoint };

// Bits of TVyrMapCom::Attributes: which style groups a shape has.
namespace attr {
constexpr std::uint8_t Text = 1;
constexpr std::uint8_t Pen = 2;
constexpr std::uint8_t Brush = 4;
} // namespace attr

// Modes of TVyrMapCom::Draw.
namespace drawmode {
constexpr std::uint8_t Normal = 0;
constexpr std::uint8_t Selected = 1;         // with the selection frame
constexpr std::uint8_t SelectedRotating = 2; // frame and rotation arm
} // namespace drawmode

// Kinds of TVyrMapCom::DoMethod.
namespace methodkind {
constexpr int MapClick = 1;    // a click on the plan at the point
constexpr int HandleClick = 2; // a click on point handle number point.x()
} // namespace methodkind

class TVyrMapCom {
public:
    // The first creation point, when given, becomes the snapped BasePoint.
    TVyrMapCom(TPlaneMap* map, std::span<const QPoint> points);
    virtual ~TVyrMapCom();

    TVyrMapCom(const TVyrMapCom&) = delete;
    TVyrMapCom& operator=(const TVyrMapCom&) = delete;

    // --- Virtual operations (the contract with the plan control) ---
    virtual void ScaleChanged() {}
    // Screen rectangle of the unrotated shape.
    virtual TRect GetBounds() const;
    // Centre of GetBounds, the centre of rotation.
    QPoint GetCenter() const;
    // The centre of bounds, as GetCenter takes it of GetBounds.
    static QPoint CenterOf(const TRect& bounds);
    virtual bool HitTest(QPoint /*p*/) const { return false; }
    // r is normalised, in screen pixels.
    virtual bool InRect(const TRect& /*r*/) const { return false; }
    // Sets the rotation transform and, in the selected modes, draws the
    // selection frame (and the rotation arm). Every shape calls it first and
    // then draws itself with unrotated points.
    virtual void Draw(platform::Canvas& canvas, std::uint8_t mode);
    // Screen pixels whose colour Draw in the normal mode sets whatever was
    // there before (an unturned solid fill drawn in copy mode), so that
    // nothing drawn there earlier shows: up to three rectangles, empty ones
    // holding nothing; all empty for most shapes.
    using TOpaqueAreas = std::array<QRect, 3>;
    virtual TOpaqueAreas OpaqueAreas() const { return {}; }
    // Opens the shape's property dialog through PropertyEditor; on OK the
    // shape calls PropertiesEdited. The base only repaints the shape.
    virtual void EditProperty();
    virtual int GetPointCount() const { return 0; }
    virtual QPoint GetPointPos(int /*index*/) const { return {}; }
    virtual int GetPointCursor(int /*index*/) const { return platform::cursor::kSizeAll; }
    virtual void MovePoint(int /*index*/, QPoint /*p*/) {}
    // The drag of a point handle has ended (after its last MovePoint).
    virtual void EndMovePoint() {}
    virtual QString GetMethodBitmap(int /*method*/) const { return {}; }
    virtual QString GetMethodHint(int /*method*/) const { return {}; }
    // Applies an edit method (methodkind). The base brings the grab handles
    // to the point count, repaints the shape and marks the plan modified.
    virtual void DoMethod(int method, int kind, QPoint p);
    virtual int GetMethodCursor(int /*method*/) const { return platform::cursor::kCross; }
    // Rubber band while drawing, in not-XOR mode (drawn twice it erases).
    virtual void DrawCreating(platform::Canvas& /*canvas*/, int /*pointCount*/) {}
    virtual void SetCreatingPoint(int /*index*/, QPoint /*p*/) {}
    virtual void AddCreatingPoint(QPoint /*p*/) {}
    // Drawing ends when this many presses are recorded.
    virtual int GetMaxPoints() const { return 2; }
    // Moves the shape by the screen distance to - from, converted to world
    // units and snapped to whole centimetres (through MoveWorld).
    void MoveBy(QPoint from, QPoint to);
    // Moves every point of the shape by a world distance. Shapes override
    // this one; the plan moves a dragged selection by world distances so
    // that the moves add up to the snapped distance of the whole drag.
    virtual void MoveWorld(QPoint /*delta*/) {}
    // At the end of drawing: true keeps the shape, false discards it.
    virtual bool IsValid() { return false; }
    // The record of the shape (little-endian, single-precision floats):
    // Save writes the kind tag first; Load starts after it.
    virtual void SaveToStream(QDataStream& stream) const;
    virtual void LoadFromStream(QDataStream& stream);
    virtual void AfterCreate() {}
    virtual int GetSelectMargin() const { return 2; }
    // How far the drawing can reach beyond GetBounds, in pixels: the
    // selection frame's margin, or more for a shape that draws beside its
    // points. The plan repaints that much around the shape.
    virtual int GetPaintMargin() const { return GetSelectMargin(); }

    // --- Geometry shared by the shapes ---
    // The plan's conversion; Rotated turns the result by RotateAngle.
    QPoint WorldToScreen(QPoint world, bool rotated) const;
    // Unrotate first turns the point back by RotateAngle; the world point is
    // snapped to whole centimetres (multiples of 100, halves to even).
    QPoint ScreenToWorld(QPoint screen, bool unrotate) const;
    // Rotation by angle radians about GetCenter, rounded to whole pixels.
    QPoint RotatePoint(QPoint p, float angle) const;
    // RotatePoint about centre, which the caller has from GetCenter.
    QPoint RotatePointAbout(QPoint p, float angle, QPoint centre) const;
    // RotateAngle in radians.
    float RotateRadians() const;
    // World transform turning by RotateAngle about GetCenter.
    void ApplyRotation(platform::Canvas& canvas) const;
    // Hit test of a polyline given in world points, 5 px tolerance. On a hit
    // gives the 1-based segment number and the snapped world hit point.
    bool HitPolyline(QPoint p, std::span<const QPoint> points, QPoint& hit, int& segment) const;

    void Invalidate() const;
    // The plan's property dialogs; null without a plan or an editor.
    TShapePropertyEditor* PropertyEditor() const;
    // A property dialog closed with OK: the plan is marked modified (the
    // dialog changed the pen or brush in place, which reports to no one)
    // and the shape repaints through the base EditProperty.
    void PropertiesEdited();
    void Changed();
    void DoMapHint(const QString& hint);

    void SetPen(TMapPen* pen);
    void SetBrush(TMapBrush* brush);
    void SetTextShow(TTextShowSet* textShow);
    TMapPen* Pen() const { return FPen; }
    TMapBrush* Brush() const { return FBrush; }
    TTextShowSet* TextShow() const { return FTextShow; }
    std::uint8_t Attributes() const { return FAttributes; }

    TPlaneMap* PlaneMap() const { return FPlaneMap; }
    TGrabHandles* GrabHandles() const { return FGrabHandles.get(); }
    // Creates the handle set when the shape has none.
    TGrabHandles& EnsureGrabHandles();

    // Plain stored values.
    std::int32_t MapID = 0;
    TMapType MapType = TMapType::mtNone;
    std::int32_t RotateAngle = 0;
    float FlexX = 1.0f;
    float FlexY = 1.0f;
    QPoint BasePoint;
    int MethodCount = 0;

    std::function<void(TVyrMapCom*)> OnChanged;

private:
    // The selection list sets FSelectedIn while it holds the shape.
    friend class TSelectMapComs;

    TPlaneMap* FPlaneMap;
    std::unique_ptr<TGrabHandles> FGrabHandles;
    TMapPen* FPen = nullptr;
    TMapBrush* FBrush = nullptr;
    TTextShowSet* FTextShow = nullptr;
    std::uint8_t FAttributes = 0;
    // The selection list that holds the shape; null while none does. Kept
    // with the shape, so that a selection of thousands is looked up and
    // cleared without a table beside it.
    const TSelectMapComs* FSelectedIn = nullptr;
};

// Direction of p seen from centre in tenths of a degree: 0 right, 900 down,
// 1800 left, 2700 up (y points down); p = centre gives defaultAngle.
std::int32_t PointAngle(QPoint centre, QPoint p, std::int32_t defaultAngle);

} // namespace siteplan
