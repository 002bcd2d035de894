// The rounded rectangle (MapID 4): a rectangle whose corners are rounded
// by an ellipse of CornerSize (world units). A ninth handle, a quarter of
// the corner size in from the top-left corner, sets the rounding; the hit
// test ignores it (the outline of the square box hits).
#pragma once

#include "vyr_rectangle.h"

namespace siteplan {

class TVYRRoundRectRangle : public TVYRRectangle {
public:
    static constexpr int Kind = 4;
    static constexpr int CornerHandle = 8;

    // CornerSize (10, 10) until the box is drawn.
    TVYRRoundRectRangle(TPlaneMap* map, std::span<const QPoint> points);

    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The larger of the two bands clear of the round corners inside an
    // unturned box with a solid brush.
    TOpaqueAreas OpaqueAreas() const override;
    // The pen and brush dialog "编辑圆角矩形属性".
    void EditProperty() override;
    int GetPointCount() const override { return BoxHandleCount + 1; }
    QPoint GetPointPos(int index) const override;
    int GetPointCursor(int index) const override;
    // The corner handle sets CornerSize within 0 and the box's size.
    void MovePoint(int index, QPoint p) override;
    // Corner2 follows the mouse; the rounding is a quarter of the box.
    void SetCreatingPoint(int index, QPoint p) override;
    // The rectangle's record, then CornerSize X and Y as Int32.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    QPoint CornerSize{10, 10};
};

} // namespace siteplan
