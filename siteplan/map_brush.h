// The brush object a shape or the plan owns: colour and style, with a change
// event (see TMapPen for why these are objects).
#pragma once

#include "platform/canvas.h"

#include <functional>

namespace siteplan {

class TMapBrush {
public:
    platform::TColor Color() const { return FValue.Color; }
    platform::TBrushStyle Style() const { return FValue.Style; }
    const platform::TBrush& Value() const { return FValue; }

    // Each setter fires OnChange when the value differs from the stored one.
    void SetColor(platform::TColor color);
    void SetStyle(platform::TBrushStyle style);
    void Assign(const TMapBrush& other);

    std::function<void(TMapBrush*)> OnChange;

private:
    void Store(const platform::TBrush& value);

    platform::TBrush FValue;
};

} // namespace siteplan
