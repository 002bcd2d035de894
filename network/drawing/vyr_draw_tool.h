// Drawing routines shared by the network's drawing, editing, rulers,
// exports and hint window: axis-parallel segments in integer pixels, the
// line kinds of a time-scaled network, arrowheads and aligned text. Every
// routine that changes pen or brush settings for its own drawing restores
// them before it returns.
#pragma once

#include "platform/canvas.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace network {

// A polyline, or a list of pieces taken as consecutive pairs of points.
using TPointList = std::vector<QPoint>;

// Computed drawing coordinates are held within +-kScreenLimit, so that a
// few offsets, radii and origins can be added to them in 32 bits.
inline constexpr std::int32_t kScreenLimit = 1 << 28;
std::int32_t ScreenCoordinate(std::int64_t value);

void AppendPoint(TPointList& list, QPoint p);
void TranslatePoints(TPointList& list, int dx, int dy);
// Exchanges a and b unless b lies right of and below a (or on a).
void OrderPoints(QPoint& a, QPoint& b);

// The meeting of segment A (a1-a2) and segment B (b1-b2), both horizontal or
// vertical (a point counts as horizontal). Out receives the parts of A that
// B leaves uncovered when the two are collinear and overlap, or the single
// point where they touch or cross. For collinear segments the rules are
// tried in this order: disjoint (false), touching end to end (the point),
// A covered by B (empty), B covering A's start, B covering A's end, B inside
// A (both rests); so a point segment at an end of the other is a touch.
bool SegmentOverlap(QPoint a1, QPoint a2, QPoint b1, QPoint b2, TPointList& out);

// True when p lies within the extent of segment a-b and less than tol
// pixels from its line.
bool PointNearSegment(QPoint p, QPoint a, QPoint b, int tol);

void DrawSolidLine(platform::Canvas& canvas, QPoint p, QPoint q);
// A one-pixel dotted line; a wider pen first clears its band in the brush
// colour.
void DrawDottedLine(platform::Canvas& canvas, QPoint p, QPoint q);
// A zigzag of period 10 and amplitude 1 along the row of p. Only the
// vertices near the canvas's clip area are drawn, so a line of any length
// costs the same.
void DrawWaveLine(platform::Canvas& canvas, QPoint p, QPoint q);
// A half circle of radius r over a crossing at x: bulging right when the
// jumping line is vertical, upwards otherwise.
void DrawJumpArc(platform::Canvas& canvas, QPoint x, bool vertical, int r);
// A filled triangle in the pen colour pointing at p from direction dir
// (0 right, 1 left, 2 down, 3 up), its tip back + 1 pixels before p.
void DrawArrowHead(platform::Canvas& canvas, QPoint p, int dir, int h, int w, int back);
// hAlign: 1 right, 2 centre, else left; vAlign: 0 bottom, 1 centre, else
// top. A frameColor other than -1 frames rect widened by one pixel.
void DrawTextInRect(platform::Canvas& canvas, const QRect& rect, const QString& text, int hAlign, int vAlign,
                    platform::TColor frameColor);
void DrawTextInRectClear(platform::Canvas& canvas, const QRect& rect, const QString& text, int hAlign, int vAlign,
                         platform::TColor frameColor);
void DrawTextCentered(platform::Canvas& canvas, QPoint p, const QString& text);

} // namespace network
