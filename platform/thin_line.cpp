#include "thin_line.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace platform {

namespace {

// The ways a piece runs; a piece that turns back on its axis has the way of
// the piece before with both bits of its axis flipped.
constexpr int Down = 1;
constexpr int Up = 2;
constexpr int Rightward = 4;
constexpr int Leftward = 8;
constexpr int VerticalBits = Down | Up;
constexpr int HorizontalBits = Rightward | Leftward;

// 1/64 pixel, cut towards zero.
int Sixtyfourths(double v)
{
    return static_cast<int>(v * 64.);
}

// a / b in 16.16 fixed point, cut towards zero.
std::int64_t FixedRatio(int a, int b)
{
    return std::int64_t{a} * 65536 / b;
}

// A step of less than a quarter pixel across per pixel along.
bool NearlyAxisAligned(std::int64_t step)
{
    return std::abs(step) < (1 << 14);
}

} // namespace

ThinLineTracer::ThinLineTracer(QSize device)
    : xMin_(-1), xMax_(device.width() + 1), yMin_(-1), yMax_(device.height() + 1)
{
}

void ThinLineTracer::BeginOpenPath()
{
    last_ = {INT_MIN, INT_MIN};
}

bool ThinLineTracer::Cut(double& x1, double& y1, double& x2, double& y2)
{
    const auto none = [this] {
        last_.X = INT_MIN;
        return true;
    };
    if (x1 < xMin_) {
        if (x2 <= xMin_)
            return none();
        y1 += (y2 - y1) / (x2 - x1) * (xMin_ - x1);
        x1 = xMin_;
    } else if (x1 > xMax_) {
        if (x2 >= xMax_)
            return none();
        y1 += (y2 - y1) / (x2 - x1) * (xMax_ - x1);
        x1 = xMax_;
    }
    if (x2 < xMin_) {
        last_.X = INT_MIN;
        y2 += (y2 - y1) / (x2 - x1) * (xMin_ - x2);
        x2 = xMin_;
    } else if (x2 > xMax_) {
        last_.X = INT_MIN;
        y2 += (y2 - y1) / (x2 - x1) * (xMax_ - x2);
        x2 = xMax_;
    }
    if (y1 < yMin_) {
        if (y2 <= yMin_)
            return none();
        x1 += (x2 - x1) / (y2 - y1) * (yMin_ - y1);
        y1 = yMin_;
    } else if (y1 > yMax_) {
        if (y2 >= yMax_)
            return none();
        x1 += (x2 - x1) / (y2 - y1) * (yMax_ - y1);
        y1 = yMax_;
    }
    if (y2 < yMin_) {
        last_.X = INT_MIN;
        x2 += (x2 - x1) / (y2 - y1) * (yMin_ - y2);
        y2 = yMin_;
    } else if (y2 > yMax_) {
        last_.X = INT_MIN;
        x2 += (x2 - x1) / (y2 - y1) * (yMax_ - y2);
        y2 = yMax_;
    }
    return false;
}

void ThinLineTracer::BeginClosedPath(QPointF lastFrom, QPointF lastTo)
{
    // Only the last pixel of the closing piece and its way are needed, to
    // join the first piece to it.
    last_ = {INT_MIN, INT_MIN};
    double rx1 = lastFrom.x();
    double ry1 = lastFrom.y();
    double rx2 = lastTo.x();
    double ry2 = lastTo.y();
    if (Cut(rx1, ry1, rx2, ry2))
        return;
    int x1 = Sixtyfourths(rx1);
    int y1 = Sixtyfourths(ry1);
    int x2 = Sixtyfourths(rx2);
    int y2 = Sixtyfourths(ry2);
    if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
        const bool back = y1 > y2;
        if (back) {
            std::swap(y1, y2);
            std::swap(x1, x2);
        }
        const std::int64_t step = FixedRatio(x2 - x1, y2 - y1);
        std::int64_t across = std::int64_t{x1} * 1024;
        const int y = (y1 + 32) >> 6;
        const int ys = (y2 + 32) >> 6;
        if (y == ys)
            return;
        across += ((y * 64 + (step > 0 ? 32 : 0) - y1) * step) >> 6;
        last_ = back ? Pixel{static_cast<int>(across >> 16), y}
                     : Pixel{static_cast<int>((across + (ys - y - 1) * step) >> 16), ys - 1};
        lastDirection_ = back ? Up : Down;
        lastAxisAligned_ = NearlyAxisAligned(step);
        return;
    }
    if (x1 == x2)
        return;
    const bool back = x1 > x2;
    if (back) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const std::int64_t step = FixedRatio(y2 - y1, x2 - x1);
    std::int64_t across = std::int64_t{y1} * 1024;
    const int x = (x1 + 32) >> 6;
    const int xs = (x2 + 32) >> 6;
    if (x == xs)
        return;
    across += ((x * 64 + (step > 0 ? 32 : 0) - x1) * step) >> 6;
    last_ = back ? Pixel{x, static_cast<int>(across >> 16)}
                 : Pixel{xs - 1, static_cast<int>((across + (xs - x - 1) * step) >> 16)};
    lastDirection_ = back ? Leftward : Rightward;
    lastAxisAligned_ = NearlyAxisAligned(step);
}

bool ThinLineTracer::Piece(QPointF a, QPointF b, ThinRun& run)
{
    double rx1 = a.x();
    double ry1 = a.y();
    double rx2 = b.x();
    double ry2 = b.y();
    if (Cut(rx1, ry1, rx2, ry2))
        return false;
    int x1 = Sixtyfourths(rx1);
    int y1 = Sixtyfourths(ry1);
    int x2 = Sixtyfourths(rx2);
    int y2 = Sixtyfourths(ry2);
    const bool vertical = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (!vertical && x1 == x2)
        return false;
    // The stepped axis as (lo, hi) and the other as (across1, across2).
    int& lo = vertical ? y1 : x1;
    int& hi = vertical ? y2 : x2;
    int& across1 = vertical ? x1 : y1;
    int& across2 = vertical ? x2 : y2;
    const bool back = lo > hi;
    if (back) {
        std::swap(lo, hi);
        std::swap(across1, across2);
    }
    const int direction = vertical ? (back ? Up : Down) : (back ? Leftward : Rightward);
    const std::int64_t step = FixedRatio(across2 - across1, hi - lo);
    std::int64_t across = std::int64_t{across1} * 1024;
    // A piece that runs back along the axis of the one before starts half
    // a pixel earlier.
    const bool turnsBack = (lastDirection_ ^ (vertical ? VerticalBits : HorizontalBits)) == direction;
    if (turnsBack) {
        if (back) {
            hi += 32;
        } else {
            lo -= 32;
            across -= step >> 1;
        }
    }
    int first = (lo + 32) >> 6;
    int end = (hi + 32) >> 6;
    // Started earlier at its low end, it still starts at the pixel after
    // the last one of the piece before.
    if (turnsBack && !back && (vertical ? last_.Y : last_.X) == first + 1)
        ++first;
    const auto at = [vertical](int along, std::int64_t acrossFixed) {
        const int other = static_cast<int>(acrossFixed >> 16);
        return vertical ? Pixel{other, along} : Pixel{along, other};
    };
    Pixel last = last_;
    bool drawn = false;
    if (first != end) {
        across += (std::int64_t{first} * 64 + (step > 0 ? 32 : 0) - lo) * step >> 6;
        Pixel start = at(first, across);
        last = at(end - 1, across + (end - first - 1) * step);
        if (back)
            std::swap(start, last);
        const bool axisAligned = NearlyAxisAligned(step);
        if (last_.X > INT_MIN) {
            if (start == last_) {
                // The pixel the piece before ended on is not set again.
                if (back) {
                    --end;
                } else {
                    ++first;
                    across += step;
                }
            } else if (lastDirection_ != direction &&
                       ((axisAligned && lastAxisAligned_ && last_.X != start.X && last_.Y != start.Y) ||
                        std::abs(last_.X - start.X) > 1 || std::abs(last_.Y - start.Y) > 1)) {
                // A turn that would leave a gap gets one more pixel.
                if (back) {
                    ++end;
                } else {
                    --first;
                    across -= step;
                }
            } else if (lastDirection_ == direction && std::abs(last_.X - start.X) <= 1 &&
                       std::abs(last_.Y - start.Y) > 1) {
                // Going on the same way after a jump of more than a pixel
                // down the rows, the piece moves half a step across.
                across += step >> 1;
                const Pixel moved = back ? at(first, across) : at(end - 1, across + (end - first - 1) * step);
                (vertical ? last.X : last.Y) = vertical ? moved.X : moved.Y;
            }
        }
        lastDirection_ = direction;
        lastAxisAligned_ = axisAligned;
        run = {vertical, first, std::max(1, end - first), across, step};
        drawn = true;
    }
    last_ = last;
    return drawn;
}

} // namespace platform
