// Directions and lengths of the segments of the point-list shapes, and the
// font turn that lays text along a segment.
#pragma once

#include "platform/canvas.h"

#include <QPoint>

#include <cstdint>

namespace siteplan {

// Direction of the segment from a to b in radians, in [0, 2 pi), counter-
// clockwise as seen on the screen (y grows downwards): right 0, up pi/2,
// left pi, down 3 pi/2. a = b gives 0.
float SegmentAngle(QPoint a, QPoint b);

// Euclidean distance, computed in double precision.
float SegmentLength(QPoint a, QPoint b);

// Integer division rounding down and up (toward minus and plus infinity).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);
std::int64_t CeilDiv(std::int64_t a, std::int64_t b);

// The area that drawing on the canvas can reach, grown by reach on every
// side. Held in 64 bits: a clip box mapped back through a world transform
// may lie at the very edge of the int range.
struct TVisibleArea {
    std::int64_t Left = 0;
    std::int64_t Top = 0;
    std::int64_t Right = 0;
    std::int64_t Bottom = 0;
};
TVisibleArea VisibleArea(const platform::Canvas& canvas, std::int64_t reach);

// The stretch [from, to] of distances along the ray from a in direction
// theta (radians, counter-clockwise on the screen) whose points can lie
// across from the area: outside it nothing drawn along the ray is visible.
void VisibleStretch(const TVisibleArea& area, QPoint a, double theta, std::int64_t& from, std::int64_t& to);

// The stretch [from, to] of distances along the line through a in direction
// theta (negative ones lie behind a) whose points lie inside the area;
// false when the line passes the area by. Tighter than VisibleStretch, for
// drawing that stays within the area's reach of the line itself.
bool CrossingStretch(const TVisibleArea& area, QPoint a, double theta, std::int64_t& from, std::int64_t& to);

// Turns the font's text by angle tenths of a degree, counter-clockwise;
// 0 restores upright text.
void SetFontAngle(platform::TFont& font, int angle);

} // namespace siteplan
