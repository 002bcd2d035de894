// The marks of the two rulers beside the plan: a white strip as long as the
// sheet, one polyline that runs along the strip with a major tick per grid
// unit and a minor tick at each half unit, and the grid values as labels
// (the unit's name at the start). The vertical ruler's labels read upwards.
#pragma once

#include "platform/canvas.h"

#include <QString>

namespace sitelay {

struct RulerGeometry {
    int Start = 0;         // sheet's first pixel on the ruler (L or T)
    int Length = 0;        // sheet width or height in pixels
    int Thickness = 17;    // ruler height (horizontal) or width (vertical)
    float UnitPixel = 0;   // pixels per grid unit
    int UnitValue = 0;     // label step of one grid unit
    QString ShowUnit;      // the unit's name
};

// Nothing but the white strip while the grid is not known (UnitPixel 0).
void PaintHorizontalRuler(platform::Canvas& canvas, const RulerGeometry& ruler);
void PaintVerticalRuler(platform::Canvas& canvas, const RulerGeometry& ruler);

} // namespace sitelay
