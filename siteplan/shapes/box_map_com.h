// The common ground of the shapes drawn as a box between two corners
// (ellipse, rectangle, rounded rectangle, arc, picture, text): the corners
// as drawn with an owned pen, the screen box, the band test, the eight box
// handles, moving, the size readout while drawing, and the two hit tests
// the family uses (the ring of the inscribed ellipse and the outline of the
// box). A shape class adds its drawing, its hit test and its record.
//
// The corners are kept as drawn: Corner1 may lie right of or below
// Corner2. What needs the box as such goes through GetTopLeft and
// GetBottomRight.
#pragma once

#include "siteplan/map_pen.h"
#include "siteplan/vyr_map_com.h"

namespace siteplan {

// The screen ellipse inscribed in a box: semi-axes and centre in pixels,
// unrotated. 64 bits, so that huge boxes from a file never overflow.
struct TBoxEllipse {
    std::int64_t RX = 0;
    std::int64_t RY = 0;
    std::int64_t CX = 0;
    std::int64_t CY = 0;
};

class TBoxMapCom : public TVyrMapCom {
public:
    // The pixels inside the outline of an unturned box filled with a solid
    // brush by the canvas's Rectangle (which fills all but its edge
    // pixels); empty for other brushes and turned boxes.
    QRect SolidBoxInside(const platform::TBrush& brush) const;
    // The same, for figures whose fill may be smaller than their box: also
    // empty when a wide inside-frame pen shrinks the figure.
    QRect SolidFigureBox(const platform::TBrush& brush) const;

    // The widest pen a box shape draws: a wider stored width (from a
    // damaged file) is kept in the record but drawn and framed this wide.
    static constexpr int MaxDrawnPenWidth = TMapPen::MaxDrawnWidth;
    // Pixels within which a press hits the outline of the box.
    static constexpr int OutlineTolerance = 3;

    // A copy of the map's DefaultPen; the corners from the first two
    // creation points (snapped, unrotated); both at the first when only
    // one is given.
    TBoxMapCom(TPlaneMap* map, std::span<const QPoint> points);

    // (min X, min Y) and (max X, max Y) of the corners, in world units.
    QPoint GetTopLeft() const;
    QPoint GetBottomRight() const;

    // The screen box of the unrotated shape.
    TRect GetBounds() const override;
    // True when r and the screen box share a non-empty area.
    bool InRect(const TRect& r) const override;
    int GetPointCount() const override { return BoxHandleCount; }
    QPoint GetPointPos(int index) const override;
    int GetPointCursor(int index) const override;
    // Moves the corner coordinates the handle owns, then Changed.
    void MovePoint(int index, QPoint p) override;
    // The shape as selected: red not-XOR, so that drawing it twice erases.
    void DrawCreating(platform::Canvas& canvas, int pointCount) override;
    // Corner2 follows the mouse; then the size readout.
    void SetCreatingPoint(int index, QPoint p) override;
    void MoveWorld(QPoint delta) override;
    // True when the corners differ in X or in Y.
    bool IsValid() override;
    // Half the pen width, rounded up (the drawn width for a huge pen).
    int GetSelectMargin() const override;

    // Corner1 := top-left, Corner2 := bottom-right; when they move the
    // handles follow and Changed fires.
    void NormaliseCorners();

    QPoint Corner1;
    QPoint Corner2;
    TMapPen OwnPen;

protected:
    static constexpr int BoxHandleCount = 8;

    // "X边长度：…mm, Y边长度：… mm" with "边" for the sides of a box; the
    // ellipse and the arc speak of their axes ("轴").
    virtual QString SizeReadoutWord() const;
    void ShowSizeReadout();

    // The screen ellipse inscribed in the box.
    TBoxEllipse ScreenEllipse() const;
    // Press p on the ring around the outline of the inscribed ellipse,
    // between the levels 0.95 and 1.05 of the ellipses shrunk and grown by
    // the selection margin. No hit when either has a zero axis. p' is p
    // turned back by the rotation.
    bool HitRing(QPoint p, QPoint* unrotated = nullptr) const;
    // Press p within OutlineTolerance of an edge of the turned box.
    bool HitOutline(QPoint p) const;

    // The canvas pen of Draw: the shape's pen at most MaxDrawnPenWidth
    // wide; red not-XOR in the selected modes.
    void SetDrawPen(platform::Canvas& canvas, std::uint8_t mode) const;

    // X1, Y1, X2, Y2 as Int32; normalised writes the top-left corner first
    // without touching the shape.
    void WriteCorners(QDataStream& stream, bool normalised) const;
    void ReadCorners(QDataStream& stream);
};

} // namespace siteplan
