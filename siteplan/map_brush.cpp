#include "map_brush.h"

namespace siteplan {

void TMapBrush::SetColor(platform::TColor color)
{
    platform::TBrush value = FValue;
    value.Color = color;
    Store(value);
}

void TMapBrush::SetStyle(platform::TBrushStyle style)
{
    platform::TBrush value = FValue;
    value.Style = style;
    Store(value);
}

void TMapBrush::Assign(const TMapBrush& other)
{
    Store(other.FValue);
}

void TMapBrush::Store(const platform::TBrush& value)
{
    if (value == FValue)
        return;
    FValue = value;
    if (OnChange)
        OnChange(this);
}

} // namespace siteplan
