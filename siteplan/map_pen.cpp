#include "map_pen.h"

#include <algorithm>

namespace siteplan {

platform::TPen TMapPen::DrawnValue() const
{
    platform::TPen value = FValue;
    value.Width = std::min(value.Width, MaxDrawnWidth);
    return value;
}

void TMapPen::SetColor(platform::TColor color)
{
    platform::TPen value = FValue;
    value.Color = color;
    Store(value);
}

void TMapPen::SetStyle(platform::TPenStyle style)
{
    platform::TPen value = FValue;
    value.Style = style;
    Store(value);
}

void TMapPen::SetWidth(int width)
{
    platform::TPen value = FValue;
    value.Width = width;
    Store(value);
}

void TMapPen::Assign(const TMapPen& other)
{
    Store(other.FValue);
}

void TMapPen::Store(const platform::TPen& value)
{
    if (value == FValue)
        return;
    FValue = value;
    if (OnChange)
        OnChange(this);
}

} // namespace siteplan
