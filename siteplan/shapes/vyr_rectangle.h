// The rectangle (MapID 3): a box between two corners, outlined with the
// shape's pen and filled with its brush. Only the outline hits.
#pragma once

#include "box_map_com.h"

#include "siteplan/map_brush.h"

namespace siteplan {

class TVYRRectangle : public TBoxMapCom {
public:
    static constexpr int Kind = 3;

    // Pen and brush copied from the map's defaults.
    TVYRRectangle(TPlaneMap* map, std::span<const QPoint> points);

    bool HitTest(QPoint p) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // Inside the outline of an unturned rectangle with a solid brush.
    TOpaqueAreas OpaqueAreas() const override;
    // The pen and brush dialog "编辑矩形属性".
    void EditProperty() override;
    // Base record, pen, brush, X1, Y1, X2, Y2 as drawn.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    TMapBrush OwnBrush;

protected:
    // Canvas pen and brush of Draw.
    void SetDrawStyle(platform::Canvas& canvas, std::uint8_t mode) const;
    void EditPenAndBrush(const QString& caption);
};

} // namespace siteplan
