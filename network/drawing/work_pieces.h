// The pieces DrawWork splits each work into, kept from one paint to the
// next: the crossing search that cuts the solid pieces and places the
// jump-over arcs is the dearest part of a repaint and gives the same result
// as long as nothing it reads has changed.
//
// A work's pieces follow from its shortened line, the columns of its
// earliest start and finish, whether it is a dummy, has an interval or is
// critical (which decides the drawing order), the idle columns, and the
// same of the works drawn before it. Every ordered drawing of the works
// compares these inputs of every work with the ones the kept pieces were
// made from, and drops all kept pieces when any differs, so no edit can
// leave a stale piece.
#pragma once

#include "network/drawing/network_add_draw.h"

#include <QString>

#include <vector>

namespace network {

// What a work's pieces are made from.
struct WorkPieceInputs {
    TPointList shortened;
    int finishX = 0;
    int startX = 0;
    bool dummy = false;
    bool interval = false;
    bool critical = false;
    friend bool operator==(const WorkPieceInputs&, const WorkPieceInputs&) = default;
};

// The pieces of one work: solid ones already cut at the crossings, the
// crossing points with their kinds (1 on a vertical piece), and whether the
// work ends in an arrowhead.
struct WorkPieces {
    bool known = false;
    TPointList wave;
    TPointList dotted;
    TPointList solid;
    TPointList crossings;
    std::vector<int> kinds;
    bool arrow = false;
};

// The duration text of a work and the two values it shows.
struct KeptValueText {
    bool known = false;
    float continueTime = 0.0f;
    float diapause = 0.0f;
    QString text;
};

struct TVYRNetworkAddDraw::PieceCache {
    std::vector<TOffsetColumn> columns;
    std::vector<WorkPieceInputs> inputs;
    std::vector<WorkPieces> pieces;
    std::vector<KeptValueText> values;
};

} // namespace network
