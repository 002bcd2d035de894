// Directions and lengths of the segments of the point-list shapes, and the
// font turn that lays text along a segment.
#pragma once

#include "platform/canvas.h"

#include <QPoint>

namespace siteplan {

// Direction of the segment from a to b in radians, in [0, 2 pi), counter-
// clockwise as seen on the screen (y grows downwards): right 0, up pi/2,
// left pi, down 3 pi/2. a = b gives 0.
float SegmentAngle(QPoint a, QPoint b);

// Euclidean distance, computed in double precision.
float SegmentLength(QPoint a, QPoint b);

// Turns the font's text by angle tenths of a degree, counter-clockwise;
// 0 restores upright text.
void SetFontAngle(platform::TFont& font, int angle);

} // namespace siteplan
