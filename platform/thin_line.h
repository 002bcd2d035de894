// The pixels of a one-pixel line path, placed exactly as the toolkit's
// raster engine places them when it strokes the path with an aliased
// cosmetic pen on a device of a given size: the canvas writes them into an
// image itself instead of building a path for the painter.
//
// The engine steps along the longer axis of each piece in 1/64 pixel, cuts
// a piece off a little outside the device first, and at each vertex leaves
// out a pixel that the piece before already set, adds one where the turn
// would leave a gap, starts a piece that runs back along the axis of the
// one before half a pixel earlier, and moves a piece that goes on the same
// way after a jump half a step across. The tracer keeps that state from
// piece to piece.
#pragma once

#include <QPointF>
#include <QSize>

#include <climits>
#include <cstdint>

namespace platform {

// The pixels of one piece: Count pixels, the first at From along the
// stepped axis (rows when Vertical, else columns), each at Across >> 16 on
// the other axis, Across moving by Step from one pixel to the next.
struct ThinRun {
    bool Vertical = false;
    int From = 0;
    int Count = 0;
    std::int64_t Across = 0;
    std::int64_t Step = 0;
};

class ThinLineTracer {
public:
    // Coordinates handed in are device pixels of a device of this size.
    explicit ThinLineTracer(QSize device);

    // Starts a path of its own, open or closed (its last point equal to its
    // first), whose last piece runs from lastFrom to lastTo when closed.
    void BeginOpenPath();
    void BeginClosedPath(QPointF lastFrom, QPointF lastTo);

    // The pixels of the next piece of the path, from a to b (a and b differ);
    // false when the piece sets none.
    bool Piece(QPointF a, QPointF b, ThinRun& run);

private:
    struct Pixel {
        int X;
        int Y;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    // Cuts the piece to the device grown by a pixel on the low sides and two
    // on the high sides; true when nothing of it is left.
    bool Cut(double& x1, double& y1, double& x2, double& y2);

    double xMin_;
    double xMax_;
    double yMin_;
    double yMax_;
    // The last pixel of the piece before (x INT_MIN: none to compare
    // with), the way it ran and whether it ran nearly along an axis.
    Pixel last_{INT_MIN, INT_MIN};
    int lastDirection_ = 0;
    bool lastAxisAligned_ = false;
};

} // namespace platform
