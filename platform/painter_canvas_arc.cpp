// One-pixel solid arcs written into the image by the canvas itself. The
// painter strokes the cubic curves of an arc's path with a one-pixel pen by
// halving each curve, at most six times, until both inner control points
// lie close to the line between its ends, and draws those lines as the
// pieces of one line path. The same pieces, traced by the thin line tracer,
// give its pixels without stroking the path.
#include "painter_canvas.h"

#include "thin_line.h"

#include <array>
#include <cmath>
#include <vector>

namespace platform {

namespace {

constexpr int MostHalvings = 6;

struct Curve {
    QPointF Start;
    QPointF Control1;
    QPointF Control2;
    QPointF End;
};

QPointF Middle(QPointF a, QPointF b)
{
    return {(a.x() + b.x()) * .5, (a.y() + b.y()) * .5};
}

// Calls piece(from, to) for the lines that the painter draws for the curve,
// from its start to its end.
template <typename Piece>
void FlattenCurve(const Curve& c, int halvings, Piece& piece)
{
    if (halvings > 0) {
        // The distance of each inner control point from the line between
        // the ends, times its length, against a quarter of that length
        // measured along the axes.
        const double dx = c.Start.x() - c.End.x();
        const double dy = c.Start.y() - c.End.y();
        const double len = .25 * (std::abs(dx) + std::abs(dy));
        if (std::abs(dx * (c.End.y() - c.Control1.y()) - dy * (c.End.x() - c.Control1.x())) >= len ||
            std::abs(dx * (c.End.y() - c.Control2.y()) - dy * (c.End.x() - c.Control2.x())) >= len) {
            const QPointF startSide = Middle(c.Start, c.Control1);
            const QPointF between = Middle(c.Control1, c.Control2);
            const QPointF endSide = Middle(c.Control2, c.End);
            const QPointF first = Middle(startSide, between);
            const QPointF second = Middle(endSide, between);
            const QPointF middle = Middle(second, first);
            FlattenCurve({c.Start, startSide, first, middle}, halvings - 1, piece);
            FlattenCurve({middle, second, endSide, c.End}, halvings - 1, piece);
            return;
        }
    }
    piece(c.Start, c.End);
}

} // namespace

bool PainterCanvas::WriteThinOutline(const QPainterPath& path)
{
    const int count = path.elementCount();
    if (count < 2 || !CanWriteThinLine())
        return false;
    for (int i = 1; i < count; ++i)
        if (path.elementAt(i).type == QPainterPath::MoveToElement)
            return false;
    const QPointF offset(world_.dx(), world_.dy());
    const auto at = [&](int i) {
        const QPainterPath::Element& e = path.elementAt(i);
        return QPointF(e.x + offset.x(), e.y + offset.y());
    };
    thread_local std::vector<QPointF> points;
    points.clear();
    points.push_back(at(0));
    const auto piece = [](QPointF, QPointF to) { points.push_back(to); };
    for (int i = 1; i < count;) {
        if (path.elementAt(i).type == QPainterPath::CurveToElement && i + 2 < count) {
            FlattenCurve({points.back(), at(i), at(i + 1), at(i + 2)}, MostHalvings, piece);
            i += 3;
        } else {
            points.push_back(at(i));
            ++i;
        }
    }
    // A path that ends where it starts joins its last piece to its first.
    const QPainterPath::Element& first = path.elementAt(0);
    const QPainterPath::Element& last = path.elementAt(count - 1);
    const bool closed = first.x == last.x && first.y == last.y;
    const std::array<QPointF, 2> closing{at(count - 2), at(count - 1)};
    return PaintThinPieces(points, closed ? closing.data() : nullptr);
}

} // namespace platform
