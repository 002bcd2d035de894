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

// Sizes of a work font that bound where its texts can reach.
struct WorkTextMetrics {
    int w = 0;    // width of one full-width character
    int h = 0;    // height of one line
    int most = 0; // at least the width of any one character
};

struct TVYRNetworkAddDraw::PaintPass {
    std::vector<WorkGeometry> works;
    bool gridBuilt = false;
    WorkGrid grid;
    std::vector<int> found;
    // Set while DrawWorks draws every work in its order, when the works
    // drawn before each one are known and its pieces may be kept.
    bool ordered = false;
    bool metricsKnown = false;
    WorkTextMetrics worksFont;
};

} // namespace network
