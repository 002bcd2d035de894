// The pen object a shape or the plan owns: colour, style and width, with a
// change event. Objects, not values, because the plan's current pen is "the
// pen of the selection", and the style toolbars edit that very object.
// Value() is the value to put on a canvas (mode copy).
#pragma once

#include "platform/canvas.h"
#include "siteplan/style_object.h"

namespace siteplan {

class TMapPen : public TStyleObject<TMapPen, platform::TPen> {
public:
    platform::TColor Color() const { return FValue.Color; }
    platform::TPenStyle Style() const { return FValue.Style; }
    int Width() const { return FValue.Width; }
    // Value() with the width held within MaxDrawnWidth: a wider pen from a
    // damaged file is kept as stored but drawn no wider, so that such a plan
    // cannot make painting slow.
    platform::TPen DrawnValue() const;
    static constexpr int MaxDrawnWidth = 1024;

    // Each setter fires OnChange when the value differs from the stored one.
    void SetColor(platform::TColor color);
    void SetStyle(platform::TPenStyle style);
    void SetWidth(int width);
};

} // namespace siteplan
