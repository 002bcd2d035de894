#include "map_pen.h"

#include <algorithm>

namespace siteplan {

platform::TPen TMapPen::DrawnValue() const
{
    platform::TPen value = FValue;
    value.Width = std::min(value.Width, MaxDrawnWidth);
    return value;
}

void TMapPen::SetColor(platform::TColor color) { Set(&platform::TPen::Color, color); }

void TMapPen::SetStyle(platform::TPenStyle style) { Set(&platform::TPen::Style, style); }

void TMapPen::SetWidth(int width) { Set(&platform::TPen::Width, width); }

} // namespace siteplan
