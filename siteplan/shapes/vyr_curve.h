// The Bezier curve (MapID 5): one cubic curve from a start point through
// two control points to an end point, drawn with three presses. Its hit and
// band tests run over the control polygon, which holds the curve.
#pragma once

#include "point_list_map_com.h"

namespace siteplan {

class TVYRCurve : public TPointListMapCom {
public:
    static constexpr int Kind = 5;
    static constexpr int CurvePointCount = 4;

    TVYRCurve(TPlaneMap* map, std::span<const QPoint> points);

    // Nothing until all four points are placed; selected, the dotted red
    // control polygon under the curve.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen dialog "编辑曲线属性".
    void EditProperty() override;
    // No point methods: only the base's repaint.
    QString GetMethodBitmap(int /*method*/) const override { return {}; }
    QString GetMethodHint(int /*method*/) const override { return {}; }
    void DoMethod(int method, int kind, QPoint p) override;
    // The control polygon drawn so far, dotted red not-XOR, one pixel wide.
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    void AddCreatingPoint(QPoint p) override;
    int GetMaxPoints() const override { return CurvePointCount; }
    // Repeated points removed; kept only with four distinct points.
    bool IsValid() override;
    // Base record, pen, then the four points without a count.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;
};

} // namespace siteplan
