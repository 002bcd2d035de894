// Pixels of figures that the canvas writes into its image, kept by the
// shape of the figure: a view that paints the same figures again writes
// their pixels instead of working them out once more. Kept are the pixels
// of one-pixel paths of many short pieces (curves drawn as the polyline of
// their samples) and the outlines of rounded rectangles, and the fills of
// polygons and rounded rectangles, in two caches.
//
// The pixels that the painter sets for a figure that lies wholly on the
// device (and within one rectangle of the clip, for a fill) move with the
// figure by whole pixels, so a figure is kept by its points relative to its
// first point, and its pixels relative to the same.
#pragma once

#include "int_key_hash.h"

#include <QPoint>
#include <QRect>
#include <QRgb>

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

// Pixels along a row, relative to the first point of the figure.
struct KeptRun {
    std::int16_t X;
    std::int16_t Y;
    std::uint16_t Length;
};

// Writes the runs kept for a figure whose first point lies at device point
// at into the rows of a 32-bit image (bits, stride), within the clip
// rectangles; reach holds every run.
void WriteKeptRuns(uchar* bits, qsizetype stride, QRgb color, const std::vector<QRect>& clips, QPoint at,
                   const QRect& reach, const std::vector<KeptRun>& runs);

class KeptRunCache {
public:
    // Paths of fewer points are traced each time: their pieces are few and
    // long, and tracing them costs no more than writing kept pixels.
    static constexpr std::size_t FewestPathPoints = 32;
    // Figures reaching farther than this from their first point are not
    // kept.
    static constexpr int MostReach = 16000;

    // The key of the figure through points and the extent of its points
    // relative to the first; false for a figure that reaches too far.
    static bool KeyOf(std::span<const QPoint> points, std::vector<int>& key, QRect& extent);

    // The pixels kept for the figure of key; null when there are none yet.
    const std::vector<KeptRun>* Find(const std::vector<int>& key);
    // True when the pixels of a figure without kept pixels are to be worked
    // out and kept now: a figure is kept the second time it is drawn, so
    // figures that are each drawn once (a bitmap of a large plan) cost
    // nothing, and while the kept runs are at their bound only when the
    // figures turned away outnumber those kept and eight times the figures
    // they served (then the kept figures are dropped for new ones).
    bool ShouldKeep(const std::vector<int>& key);
    // Keeps the pixels (x, y relative to the first point, in the order of a
    // path or row by row, repeats allowed) of the figure of key; returns
    // them as runs, which may overlap.
    const std::vector<KeptRun>& Keep(const std::vector<int>& key, const std::vector<QPoint>& pixels);

    // The caches of the canvases on this thread.
    static KeptRunCache& ThinPaths();
    static KeptRunCache& Fills();

private:
    std::unordered_map<std::vector<int>, std::vector<KeptRun>, IntKeyHash> paths_;
    std::unordered_set<std::size_t> seen_;
    std::size_t runs_ = 0;
    bool full_ = false;
    std::size_t hitsWhileFull_ = 0;
    std::size_t refusedWhileFull_ = 0;
    // The runs of a figure worked out while the kept runs were at their bound.
    std::vector<KeptRun> scratch_;
};

} // namespace platform
