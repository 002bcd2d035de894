#include "kept_run_cache.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

// All kept figures of a cache together hold at most this many runs (6
// bytes each).
constexpr std::size_t MostRuns = std::size_t{1} << 22;
// The hashes of keys seen once are kept up to this many.
constexpr std::size_t MostSeen = std::size_t{1} << 16;

} // namespace

bool KeptRunCache::KeyOf(std::span<const QPoint> points, std::vector<int>& key, QRect& extent)
{
    key.clear();
    const QPoint first = points.front();
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    for (const QPoint& p : points) {
        const std::int64_t farX = std::int64_t{p.x()} - first.x();
        const std::int64_t farY = std::int64_t{p.y()} - first.y();
        if (std::abs(farX) > MostReach || std::abs(farY) > MostReach)
            return false;
        const auto dx = static_cast<int>(farX);
        const auto dy = static_cast<int>(farY);
        left = std::min(left, dx);
        right = std::max(right, dx);
        top = std::min(top, dy);
        bottom = std::max(bottom, dy);
        key.push_back(static_cast<int>(static_cast<std::uint32_t>(dx & 0xFFFF) | static_cast<std::uint32_t>(dy) << 16));
    }
    extent = QRect(QPoint(left, top), QPoint(right, bottom));
    return true;
}

const std::vector<KeptRun>* KeptRunCache::Find(const std::vector<int>& key)
{
    const auto found = paths_.find(key);
    if (found == paths_.end())
        return nullptr;
    if (full_)
        ++hitsWhileFull_;
    return &found->second;
}

bool KeptRunCache::ShouldKeep(const std::vector<int>& key)
{
    if (seen_.size() >= MostSeen)
        seen_.clear();
    if (seen_.insert(IntKeyHash()(key)).second)
        return false;
    if (!full_)
        return true;
    if (refusedWhileFull_ <= 8 * hitsWhileFull_ + paths_.size()) {
        ++refusedWhileFull_;
        return false;
    }
    paths_.clear();
    runs_ = 0;
    full_ = false;
    return true;
}

const std::vector<KeptRun>& KeptRunCache::Keep(const std::vector<int>& key, const std::vector<QPoint>& pixels)
{
    // The pixels come along a path or row by row: neighbours on a row join
    // one run. The runs are gathered in a vector kept for that and then
    // copied once into their own, so keeping many figures does not grow
    // and free vectors of every size.
    thread_local std::vector<KeptRun> gathered;
    gathered.clear();
    int y = 0;
    int left = 0;
    int right = -2;
    const auto flush = [&] {
        if (right >= left)
            gathered.push_back({static_cast<std::int16_t>(left), static_cast<std::int16_t>(y),
                                static_cast<std::uint16_t>(right - left + 1)});
    };
    for (const QPoint& p : pixels) {
        if (p.y() == y && p.x() >= left - 1 && p.x() <= right + 1) {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            continue;
        }
        flush();
        y = p.y();
        left = p.x();
        right = p.x();
    }
    flush();
    std::vector<KeptRun> runs(gathered.begin(), gathered.end());
    if (runs_ + runs.size() > MostRuns) {
        full_ = true;
        hitsWhileFull_ = 0;
        refusedWhileFull_ = 0;
        scratch_ = std::move(runs);
        return scratch_;
    }
    runs_ += runs.size();
    return paths_.insert_or_assign(key, std::move(runs)).first->second;
}

void WriteKeptRuns(uchar* bits, qsizetype stride, QRgb color, const std::vector<QRect>& clips, QPoint at,
                   const QRect& reach, const std::vector<KeptRun>& runs)
{
    if (std::any_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(reach); })) {
        uchar* const origin = bits + at.y() * stride + qsizetype{at.x()} * 4;
        for (const KeptRun& run : runs)
            std::fill_n(reinterpret_cast<QRgb*>(origin + run.Y * stride) + run.X, run.Length, color);
        return;
    }
    for (const KeptRun& run : runs) {
        const int y = at.y() + run.Y;
        const int left = at.x() + run.X;
        const int right = left + run.Length - 1;
        for (const QRect& clip : clips) {
            if (y < clip.top() || y > clip.bottom())
                continue;
            const int from = std::max(left, clip.left());
            const int to = std::min(right, clip.right());
            if (from <= to) {
                auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
                std::fill(line + from, line + to + 1, color);
            }
        }
    }
}

KeptRunCache& KeptRunCache::ThinPaths()
{
    thread_local KeptRunCache cache;
    return cache;
}

KeptRunCache& KeptRunCache::Fills()
{
    thread_local KeptRunCache cache;
    return cache;
}

} // namespace platform
