// Small shape classes for the plan-control tests: a box drawn by two
// corners and a path of clicked points with a "delete point" method. They
// follow the shape contract the real classes follow and are registered
// under kinds no real shape uses.
#pragma once

#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/vyr_map_com.h"

#include <vector>

namespace testshapes {

constexpr int BoxKind = 900;
constexpr int PathKind = 901;      // up to 100 points, ends with a double click
constexpr int CurveKind = 902;     // exactly 4 points
constexpr int MarkKind = 903;      // one press
constexpr int PathDeleteMethod = 0;

class TTestBox : public siteplan::TVyrMapCom {
public:
    TTestBox(siteplan::TPlaneMap* map, std::span<const QPoint> points);

    siteplan::TRect GetBounds() const override;
    bool HitTest(QPoint p) const override;
    bool InRect(const siteplan::TRect& r) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    // The pen-and-brush dialog captioned "box".
    void EditProperty() override;
    int GetPointCount() const override { return 2; }
    QPoint GetPointPos(int index) const override;
    void MovePoint(int index, QPoint p) override;
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    void SetCreatingPoint(int index, QPoint p) override;
    void MoveWorld(QPoint delta) override;
    bool IsValid() override { return Corner1 != Corner2; }
    // Base record, pen, brush and the two corners.
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;

    QPoint Corner1;
    QPoint Corner2;
    siteplan::TMapPen OwnPen;
    siteplan::TMapBrush OwnBrush;
};

class TTestPath : public siteplan::TVyrMapCom {
public:
    TTestPath(siteplan::TPlaneMap* map, std::span<const QPoint> points, int maxPoints);

    siteplan::TRect GetBounds() const override;
    bool HitTest(QPoint p) const override;
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    int GetPointCount() const override { return static_cast<int>(Points.size()); }
    QPoint GetPointPos(int index) const override;
    void MovePoint(int index, QPoint p) override;
    void DoMethod(int method, int kind, QPoint p) override;
    void SetCreatingPoint(int index, QPoint p) override;
    void AddCreatingPoint(QPoint p) override;
    int GetMaxPoints() const override { return FMaxPoints; }
    void MoveWorld(QPoint delta) override;
    bool IsValid() override;

    std::vector<QPoint> Points;
    siteplan::TMapPen OwnPen;

private:
    int FMaxPoints;
};

// Registers the classes above with the plan's factory (once per run).
void RegisterTestShapes();

} // namespace testshapes
