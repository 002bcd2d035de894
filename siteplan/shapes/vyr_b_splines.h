// The spline curve (MapID 10): a smooth curve through up to 100 clicked
// points. The clicked points are kept in world units; the curve is a cache
// of 201 samples in screen pixels of the current zoom, recomputed through
// TBSpline whenever a point, the position or the zoom changes.
#pragma once

#include "point_list_map_com.h"

#include <array>

namespace siteplan {

class TVYRBSplines : public TPointListMapCom {
public:
    static constexpr int Kind = 10;
    static constexpr int SampleCount = 201;

    TVYRBSplines(TPlaneMap* map, std::span<const QPoint> points);

    void ScaleChanged() override { Recalculate(); }
    // The extent of the samples; (0, 0, 0, 0) without points.
    TRect GetBounds() const override;
    // A click within 5 pixels of the drawn curve.
    bool HitTest(QPoint p) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen dialog with its own caption.
    void EditProperty() override;
    void MovePoint(int index, QPoint p) override;
    // ADD and INSERT refuse a 101st point with "线段太多"; INSERT places the
    // point between the clicked points whose parameters hold the hit piece
    // of the curve; DELETE keeps two points.
    void DoMethod(int method, int kind, QPoint p) override;
    // The curve in red not-XOR.
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    void SetCreatingPoint(int index, QPoint p) override;
    // Erases the rubber band of the old curve first, where it stands.
    void AddCreatingPoint(QPoint p) override;
    void MoveWorld(QPoint delta) override;
    // Repeated points removed, then the curve recomputed: what is shown
    // is what is saved.
    bool IsValid() override;
    // Base record, pen, point count and points.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    // Recomputes the samples from the clicked points at the current zoom.
    void Recalculate();

    // Samples[j] lies at parameter j / 200, unrotated screen pixels.
    std::array<QPoint, SampleCount> Samples{};

private:
    // The extent of the samples, worked out with them.
    TRect sampleBounds_;
    // The samples as snapped world points, for the hit tests.
    std::vector<QPoint> SampleWorldPoints() const;
};

} // namespace siteplan
