// What the paint passes of the drawing layer compute once: each work's
// polyline, its shortened form, bounds and paint box, its solid pieces for
// crossing tests, the node positions, and spatial indexes of the segments,
// of the paint boxes and of the node circles.
//
// All of it is kept from one pass to the next while nothing it is made of
// changed: every outermost pass compares the drawing's key (the change
// revisions of works and nodes, the offset pairs, the schedule's times and
// the axis and row settings) with the one it was made for and starts afresh
// when any differs.
#pragma once

#include "network/drawing/network_add_draw.h"
#include "network/drawing/work_grid.h"

#include <cstdint>
#include <vector>

namespace network {

struct TVYRNetworkAddDraw::WorkGeometry {
    bool known = false;
    TPointList polyline;
    TPointList shortened;
    QRect bounds;
    bool solidKnown = false;
    TPointList noGapSolid;
    // The polyline before the line offset, as the handles were shown on it.
    TPointList handlePoints;
    // The paint box, for the pass's paint boxes of works in the works' font.
    bool boxKnown = false;
    QRect box;
};

// Sizes of a work font that bound where its texts can reach.
struct WorkTextMetrics {
    int w = 0;    // width of one full-width character
    int h = 0;    // height of one line
    int most = 0; // at least the width of any one character
    friend bool operator==(const WorkTextMetrics&, const WorkTextMetrics&) = default;
};

// Everything the kept geometry is made of besides the layer's own lists.
struct DrawingKey {
    std::uint64_t works = 0;
    std::uint64_t nodes = 0;
    std::uint64_t offsetPoints = 0;
    std::vector<float> earliest;
    std::vector<float> latest;
    std::vector<TOffsetColumn> columns;
    int startJinDu = 0;
    int smallWidth = 0;
    int smallDate = 0;
    int smallLineSpace = 0;
    int topLineID = 0;
    int topLinePosition = 0;
    bool exporting = false;
};

struct TVYRNetworkAddDraw::PaintPass {
    bool keyKnown = false;
    DrawingKey key;
    std::vector<WorkGeometry> works;
    // Works whose handles were shown when their geometry was made: shown
    // again by every pass that keeps it.
    std::vector<int> handled;
    bool gridBuilt = false;
    WorkGrid grid;
    std::vector<int> found;
    // Set while DrawWorks draws every work in its order, when the works
    // drawn before each one are known and its pieces may be kept.
    bool ordered = false;
    // Whether the kept pieces were checked against this geometry, and each
    // work's place in the drawing order (critical works first).
    bool piecesChecked = false;
    std::vector<int> rank;
    // The place of the work whose kept pieces are being made: only works
    // drawn before it are crossed.
    int makingRank = -1;
    // Measured anew by every pass.
    bool metricsKnown = false;
    WorkTextMetrics worksFont;
    // The paint boxes of the works, for the metrics of the works' font they
    // were made with; works with a font of their own are always listed.
    bool boxesBuilt = false;
    WorkTextMetrics boxMetrics;
    WorkGrid boxGrid;
    std::vector<int> shown;
    // The node circles and the nodes' positions.
    bool nodesBuilt = false;
    WorkGrid nodeGrid;
    std::vector<QPoint> nodePositions;
};

} // namespace network
