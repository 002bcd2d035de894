#include "map_brush.h"

namespace siteplan {

void TMapBrush::SetColor(platform::TColor color) { Set(&platform::TBrush::Color, color); }

void TMapBrush::SetStyle(platform::TBrushStyle style) { Set(&platform::TBrush::Style, style); }

} // namespace siteplan
