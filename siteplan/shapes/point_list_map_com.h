// The common ground of the shapes drawn as a list of clicked world points
// (polyline, Bezier curve, polygon, enclosure wall, spline curve): up to
// 100 points with a count and an owned pen, their bounds, segment hit test,
// band test, vertex handles, the creation steps with the length and angle
// readout, translation, removal of repeated points and the point methods
// ADD, INSERT and DELETE. A shape class adds its drawing and its record.
#pragma once

#include "siteplan/map_pen.h"
#include "siteplan/vyr_map_com.h"

#include <array>
#include <vector>

namespace siteplan {

// The point methods of the family (DoMethod numbers).
namespace pointmethod {
constexpr int Add = 0;    // on a map click: the point becomes the new last vertex
constexpr int Insert = 1; // on a map click on a segment: a vertex there
constexpr int Delete = 2; // on a vertex handle: that vertex goes
constexpr int Count = 3;
} // namespace pointmethod

class TPointListMapCom : public TVyrMapCom {
public:
    static constexpr int MaxPointCount = 100;

    // A copy of the map's DefaultPen; two points, from the first two
    // creation points when given (snapped, unrotated).
    TPointListMapCom(TPlaneMap* map, std::span<const QPoint> points);

    // Corners of the vertices' extent, unrotated; (0, 0, 0, 0) for none.
    TRect GetBounds() const override;
    bool HitTest(QPoint p) const override;
    // True as soon as one segment touches r.
    bool InRect(const TRect& r) const override;
    int GetPointCount() const override { return FPointCount; }
    QPoint GetPointPos(int index) const override;
    int GetPointCursor(int index) const override;
    void MovePoint(int index, QPoint p) override;
    QString GetMethodBitmap(int method) const override;
    QString GetMethodHint(int method) const override;
    void DoMethod(int method, int kind, QPoint p) override;
    // The segment being drawn (and the one after it while a vertex is
    // placed) in red not-XOR with the pen's width and style.
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    // Places the vertex, then shows the length and angle readout.
    void SetCreatingPoint(int index, QPoint p) override;
    void AddCreatingPoint(QPoint p) override;
    int GetMaxPoints() const override { return MaxPointCount; }
    void MoveWorld(QPoint delta) override;
    // Removes repeated consecutive vertices; true when two or more remain.
    bool IsValid() override;
    int GetSelectMargin() const override;

    // The segment hit test (5 pixels): on a hit, segment runs from vertex
    // segment - 1 to vertex segment, and hit is the snapped world point of p.
    bool HitSegment(QPoint p, int& segment, QPoint& hit) const;

    // Setters fire Changed when the value differs. The count stays within
    // 0..MaxPointCount.
    int PointCount() const { return FPointCount; }
    void SetPointCount(int value);

    // World points; only the first PointCount are meaningful.
    std::array<QPoint, MaxPointCount> Points{};
    TMapPen OwnPen;

protected:
    std::span<const QPoint> UsedPoints() const { return {Points.data(), static_cast<std::size_t>(FPointCount)}; }
    // The vertices in screen pixels, unrotated (the canvas turns them).
    std::vector<QPoint> ScreenPoints() const;
    // The canvas pen of Draw: the shape's pen, clear brush; red not-XOR
    // for a selected shape.
    void SetDrawPen(platform::Canvas& canvas, std::uint8_t mode) const;
    // "当前线段长度：…mm, 角度：… 度" for the segment ending at vertex index.
    void ShowSegmentReadout(int index);
    // The count and the vertices as the records hold them: count Int32,
    // then X, Y Int32 each. A stored count outside 0..MaxPointCount
    // refuses the record.
    void WritePointList(QDataStream& stream) const;
    void ReadPointList(QDataStream& stream);

    // Refuses a 101st vertex with "线段太多"; true when there is room.
    bool HasRoomForPoint() const;
    void InsertPoint(int index, QPoint world);
    void DeletePoint(int index);

private:
    int FPointCount = 2;
};

} // namespace siteplan
