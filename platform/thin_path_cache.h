// The pixels of one-pixel paths of many short pieces (curves drawn as the
// polyline of their samples), kept by the shape of the path: a view that
// paints the same curves again writes their pixels instead of tracing
// every piece once more.
//
// The pixels that the painter sets for a path that lies wholly on the
// device move with the path by whole pixels, so a path is kept by its
// points relative to its first point, and its pixels relative to the same.
#pragma once

#include "int_key_hash.h"

#include <QPoint>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

// Pixels along a row, relative to the first point of the path.
struct ThinPathRun {
    std::int16_t X;
    std::int16_t Y;
    std::uint16_t Length;
};

class ThinPathCache {
public:
    // Paths of fewer points are traced each time: their pieces are few and
    // long, and tracing them costs no more than writing kept pixels.
    static constexpr std::size_t FewestPoints = 32;
    // Paths reaching farther than this from their first point are not kept.
    static constexpr int MostReach = 16000;

    // The key of the path through points and the extent of its points
    // relative to the first; false for a path that is not kept (too few points, or too far
    // reaching).
    static bool KeyOf(std::span<const QPoint> points, std::vector<int>& key, QRect& extent);

    // The pixels kept for the path of key; null when there are none yet.
    const std::vector<ThinPathRun>* Find(const std::vector<int>& key);
    // True when the pixels of a path without kept pixels are to be traced
    // and kept now: a path is kept the second time it is drawn, so paths
    // that are each drawn once (a bitmap of a large plan) cost nothing, and
    // while the kept runs are at their bound only when the paths turned
    // away outnumber those kept and eight times the paths they served (then
    // the kept paths are dropped for new ones).
    bool ShouldKeep(const std::vector<int>& key);
    // Keeps the pixels (x, y relative to the first point, in the order of
    // the path, repeats allowed) of the path of key; returns them as runs,
    // which may overlap.
    const std::vector<ThinPathRun>& Keep(const std::vector<int>& key, const std::vector<QPoint>& pixels);

    // The cache of the canvases on this thread.
    static ThinPathCache& OfThread();

private:
    std::unordered_map<std::vector<int>, std::vector<ThinPathRun>, IntKeyHash> paths_;
    std::unordered_set<std::size_t> seen_;
    std::size_t runs_ = 0;
    bool full_ = false;
    std::size_t hitsWhileFull_ = 0;
    std::size_t refusedWhileFull_ = 0;
    // The runs of a path traced while the kept runs were at their bound.
    std::vector<ThinPathRun> scratch_;
};

} // namespace platform
