// The clip box of a surface as the code drawing on it sees it.
#pragma once

#include <QRect>
#include <QTransform>

namespace platform {

// box (device pixels) mapped back through the inverse of the world
// transform. Where the result reaches past the int range, as a view at the
// far corner of a huge sheet does, it is cut at the limits of the range
// instead of wrapping round to the other end. A transform that cannot be
// inverted leaves box as it is.
QRect ClipBoxInWorld(const QRect& box, const QTransform& world);

} // namespace platform
