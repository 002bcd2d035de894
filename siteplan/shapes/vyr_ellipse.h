// The ellipse (MapID 2): the ellipse inscribed in a box between two
// corners, outlined with the shape's pen and filled with its brush. Only a
// ring around the outline hits: a press inside it selects nothing.
#pragma once

#include "box_map_com.h"

#include "siteplan/map_brush.h"

namespace siteplan {

class TVyrEllipse : public TBoxMapCom {
public:
    static constexpr int Kind = 2;

    // Pen and brush copied from the map's defaults.
    TVyrEllipse(TPlaneMap* map, std::span<const QPoint> points);

    bool HitTest(QPoint p) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // Well inside the rectangle inscribed in an unturned ellipse with a
    // solid brush.
    TOpaqueAreas OpaqueAreas() const override;
    // The pen and brush dialog "编辑椭圆属性".
    void EditProperty() override;
    // Base record, pen, brush, X1, Y1, X2, Y2 as drawn.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    TMapBrush OwnBrush;

protected:
    QString SizeReadoutWord() const override;
};

} // namespace siteplan
