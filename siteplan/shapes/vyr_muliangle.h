// The polygon (MapID 6): up to 100 clicked points, closed back to the first
// and filled with the shape's brush. Hit and band tests run over the open
// chain of its edges: the closing edge and the inside are not hit.
#pragma once

#include "point_list_map_com.h"

#include "siteplan/map_brush.h"

namespace siteplan {

class TVYRMuliangle : public TPointListMapCom {
public:
    static constexpr int Kind = 6;

    TVYRMuliangle(TPlaneMap* map, std::span<const QPoint> points);

    // Outline and fill; selected, in not-XOR with the pen's own colour.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen and brush dialog "编辑多边形属性".
    void EditProperty() override;
    // Base record, pen, brush, point count and points.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    TMapBrush OwnBrush;
};

} // namespace siteplan
