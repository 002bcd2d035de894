// The tower crane (MapID 100): at the crane's position (BasePoint) a base
// box with both diagonals, a counterweight square behind it, the jib as a
// narrow triangle out to the arm tip and the working arc of the arm's
// radius around the jib. One click places it with default dimensions; three
// handles set the arm's length and direction and the two limits of the
// working arc. The crane has no property dialog.
//
// Lengths are world units, angles tenths of a degree in the PointAngle
// convention (0 along +X, growing clockwise on the screen).
#pragma once

#include "siteplan/map_pen.h"
#include "siteplan/vyr_map_com.h"

#include <array>

namespace siteplan {

class TVyrTaDiao : public TVyrMapCom {
public:
    static constexpr int Kind = 100;

    // Indexes into Outline().
    enum OutlinePoint {
        P0, P1, P2, P3,   // base box corners, axis-aligned
        Q0, Q1, Q2, Q3,   // counterweight square, turned with the jib
        R0, R1,           // jib root, on the square's front side
        Tip,              // arm tip
        ArmBoxTopLeft,    // the square around the arm's full circle
        ArmBoxBottomRight,
        ArcLimitA,        // working arc at JibAngle - ArcBefore
        ArcLimitB,        // working arc at JibAngle + ArcAfter
        OutlineCount
    };
    using TOutline = std::array<QPoint, OutlineCount>;

    // Handle indexes.
    enum Handle { TipHandle, ArcLimitAHandle, ArcLimitBHandle, HandleCount };

    // BasePoint is the snapped first creation point; the dimensions take
    // their defaults, the pen is a copy of the map's DefaultPen.
    TVyrTaDiao(TPlaneMap* map, std::span<const QPoint> points);

    // The square around the arm's full circle, unrotated.
    TRect GetBounds() const override;
    // The base box, the counterweight square and the jib, 5 pixels; the
    // working arc is never hit.
    bool HitTest(QPoint p) const override;
    // True when r meets GetBounds, however far from the drawn symbol.
    bool InRect(const TRect& r) const override;
    // In the crane's own pen and copy mode, selected or not.
    void Draw(platform::Canvas& canvas, std::uint8_t mode) override;
    int GetPointCount() const override { return HandleCount; }
    // Tip, arc limit A, arc limit B, turned with the shape.
    QPoint GetPointPos(int index) const override;
    int GetPointCursor(int index) const override;
    // Sets the arm (length and direction) or an arc limit, then shows the
    // arm length in whole metres. Fires no Changed: the end of the handle
    // drag marks the plan modified.
    void MovePoint(int index, QPoint p) override;
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    int GetMaxPoints() const override { return 1; }
    void MoveWorld(QPoint delta) override;
    bool IsValid() override { return true; }
    // Base record, pen, then the eight dimensions (Int32 each).
    void SaveToStream(QDataStream& stream) const override;
    void LoadFromStream(QDataStream& stream) override;
    int GetSelectMargin() const override { return 1; }
    // The base box and the counterweight stand outside the arm's square
    // when the arm is short: the repaint area reaches them and the pen.
    int GetPaintMargin() const override;

    // The derived points in world units, from BasePoint and the dimensions.
    // Computed in 64 bits and held within the coordinate range.
    TOutline Outline() const;

    TMapPen OwnPen;
    std::int32_t ArmLength = 300000;
    std::int32_t CounterJibLength = 80000;
    std::int32_t JibAngle = 3150;
    std::int32_t BaseWidth = 60000;
    std::int32_t BaseHeight = 40000;
    std::int32_t CounterweightSize = 30000;
    // Reach of the working arc before and after JibAngle. Never normalised:
    // only their sines and cosines matter.
    std::int32_t ArcBefore = 450;
    std::int32_t ArcAfter = 450;

private:
    // Outline() without its two points on the arm's circle (left at 0, 0),
    // for what needs only the drawn lines.
    TOutline LinesOutline() const;
    // Outline() and its points on the screen (unrotated), kept while the
    // base point, the dimensions and the plan's scale and origin stay.
    struct TKeptOutline {
        std::array<std::int64_t, 13> Key{};
        bool Known = false;
        TOutline World;
        TOutline Screen;
    };
    const TKeptOutline& Kept() const;
    mutable TKeptOutline kept_;
    // The point on the arm's circle at the angle.
    QPoint OnArmCircle(std::int64_t angle) const;
};

} // namespace siteplan
