// The arc (MapID 9): the part of the ellipse inscribed in a box between a
// start and an end angle (tenths of a degree, growing clockwise on the
// screen, relative to the unrotated shape). Drawn counter-clockwise from
// the start to the end, so the angles from EndAngle up to StartAngle show.
// Two handles beyond the box handles set the angles; only the drawn part
// of the ring hits.
#pragma once

#include "box_map_com.h"

namespace siteplan {

class TVyrArc : public TBoxMapCom {
public:
    static constexpr int Kind = 9;
    static constexpr int StartHandle = 8;
    static constexpr int EndHandle = 9;

    // The pen copied from the map's DefaultPen; no brush.
    TVyrArc(TPlaneMap* map, std::span<const QPoint> points);

    bool HitTest(QPoint p) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen dialog "编辑圆弧属性".
    void EditProperty() override;
    int GetPointCount() const override { return BoxHandleCount + 2; }
    QPoint GetPointPos(int index) const override;
    int GetPointCursor(int index) const override;
    // The angle handles take the direction of p (turned back by the
    // rotation) from the centre; p on the centre keeps the angle.
    void MovePoint(int index, QPoint p) override;
    // Base record, pen, X1, Y1, X2, Y2 as drawn, StartAngle, EndAngle.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    // The screen point of the ellipse in the direction angle, unrotated;
    // the centre for an ellipse of no width or height.
    QPoint AnglePoint(std::int32_t angle) const;

    // Stored as read, also outside 0..3600.
    std::int32_t StartAngle = 2250;
    std::int32_t EndAngle = 450;

protected:
    QString SizeReadoutWord() const override;
};

} // namespace siteplan
