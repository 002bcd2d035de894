// What one paint pass of the drawing layer computes once: each work's
// polyline, its shortened form and bounds, its solid pieces for crossing
// tests, and a spatial index of the bounds.
#pragma once

#include "network/drawing/network_add_draw.h"
#include "network/drawing/work_grid.h"

namespace network {

struct TVYRNetworkAddDraw::WorkGeometry {
    bool known = false;
    TPointList polyline;
    TPointList shortened;
    QRect bounds;
    bool solidKnown = false;
    TPointList noGapSolid;
};

struct TVYRNetworkAddDraw::PaintPass {
    std::vector<WorkGeometry> works;
    bool gridBuilt = false;
    WorkGrid grid;
    std::vector<int> found;
};

} // namespace network
