// The brush object a shape or the plan owns: colour and style, with a change
// event (see TMapPen for why these are objects).
#pragma once

#include "platform/canvas.h"
#include "siteplan/style_object.h"

namespace siteplan {

class TMapBrush : public TStyleObject<TMapBrush, platform::TBrush> {
public:
    platform::TColor Color() const { return FValue.Color; }
    platform::TBrushStyle Style() const { return FValue.Style; }

    // Each setter fires OnChange when the value differs from the stored one.
    void SetColor(platform::TColor color);
    void SetStyle(platform::TBrushStyle style);
};

} // namespace siteplan
