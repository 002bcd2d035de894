#include "b_spline.h"

#include <cmath>

namespace siteplan {

TBSpline::TBSpline() : FPoints(MaxCount + 2) {}

void TBSpline::AddPoint(const TSplinePoint& p)
{
    if (FCount >= MaxCount)
        return;
    ++FCount;
    FPoints[static_cast<std::size_t>(FCount)] = p;
    UpdateEnds();
}

void TBSpline::UpdateEnds()
{
    if (FCount < 2)
        return;
    const auto reflect = [](const TSplinePoint& end, const TSplinePoint& next) {
        return TSplinePoint{2 * end.X - next.X, 2 * end.Y - next.Y, 2 * end.Z - next.Z};
    };
    const auto n = static_cast<std::size_t>(FCount);
    FPoints[0] = reflect(FPoints[1], FPoints[2]);
    FPoints[n + 1] = reflect(FPoints[n], FPoints[n - 1]);
}

void TBSpline::Interpolate()
{
    const int n = FCount;
    if (n < 3)
        return;
    const auto size = static_cast<std::size_t>(n);
    // Row r belongs to data point r + 1; the right-hand sides are its X and Y.
    std::vector<float> a(size * size, 0.0f);
    const auto at = [&a, size](int row, int column) -> float& {
        return a[static_cast<std::size_t>(row) * size + static_cast<std::size_t>(column)];
    };
    for (int r = 1; r < n - 1; ++r) {
        at(r, r - 1) = 1.0f / 6;
        at(r, r) = 2.0f / 3;
        at(r, r + 1) = 1.0f / 6;
    }
    at(0, 0) = 1;
    at(n - 1, n - 1) = 1;
    const auto same = [this](int i, int j) {
        const TSplinePoint& p = FPoints[static_cast<std::size_t>(i)];
        const TSplinePoint& q = FPoints[static_cast<std::size_t>(j)];
        return std::abs(p.X - q.X) < 1e-5f && std::abs(p.Y - q.Y) < 1e-5f;
    };
    // Three coinciding points: their control points are the data points,
    // so the curve runs into the point with a corner.
    for (int i = 2; i <= n - 1; ++i) {
        if (!same(i, i - 1) || !same(i, i + 1))
            continue;
        for (int row = i - 2; row <= i; ++row) {
            for (int column = row - 1; column <= row + 1; ++column)
                if (column >= 0 && column < n)
                    at(row, column) = column == row ? 1.0f : 0.0f;
        }
    }
    for (int r = 0; r < n; ++r)
        if (std::abs(at(r, r)) < 1e-6f)
            return;
    std::vector<float> bx(size);
    std::vector<float> by(size);
    for (int r = 0; r < n; ++r) {
        bx[static_cast<std::size_t>(r)] = FPoints[static_cast<std::size_t>(r + 1)].X;
        by[static_cast<std::size_t>(r)] = FPoints[static_cast<std::size_t>(r + 1)].Y;
    }
    // Elimination without pivoting. A row with nothing below the pivot
    // stays exactly as it is, so only the rows that need it are reduced.
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (at(j, i) == 0)
                continue;
            const float f = at(j, i) / at(i, i);
            for (int c = 0; c < n; ++c)
                at(j, c) -= f * at(i, c);
            bx[static_cast<std::size_t>(j)] -= f * bx[static_cast<std::size_t>(i)];
            by[static_cast<std::size_t>(j)] -= f * by[static_cast<std::size_t>(i)];
        }
    }
    // Back substitution over the upper band; c[m] is the control point of
    // data point m.
    std::vector<TSplinePoint> c(size + 2);
    c[size].X = bx[size - 1] / at(n - 1, n - 1);
    c[size].Y = by[size - 1] / at(n - 1, n - 1);
    for (int m = n - 1; m >= 1; --m) {
        const auto mi = static_cast<std::size_t>(m);
        const float inverse = 1 / at(m - 1, m - 1);
        c[mi].X = inverse * (bx[mi - 1] - at(m - 1, m) * c[mi + 1].X);
        c[mi].Y = inverse * (by[mi - 1] - at(m - 1, m) * c[mi + 1].Y);
    }
    for (std::size_t m = 1; m <= size; ++m) {
        FPoints[m].X = c[m].X;
        FPoints[m].Y = c[m].Y;
    }
    UpdateEnds();
    FPrepared = true;
}

TSplinePoint TBSpline::Evaluate(float t) const
{
    if (FCount == 0)
        return {};
    if (FCount == 1)
        return FPoints[1];
    return Evaluate(Weights(FCount, t));
}

TSplineWeights TBSpline::Weights(int count, float t)
{
    TSplineWeights weights;
    const long double u = static_cast<long double>(count - 1) * t;
    const auto k = static_cast<int>(std::trunc(u));
    // Entry m is centred at u = m - 1 and reaches 2 either side; entries
    // outside 0 .. count + 1 would only ever get the weight 0. At most four
    // centres lie closer than 2 to u.
    for (int m = k - 2; m <= k + 3; ++m) {
        if (m < 0 || m > count + 1)
            continue;
        const long double d = std::abs(u - static_cast<long double>(m - 1));
        if (d >= 2)
            continue;
        const auto slot = static_cast<std::size_t>(weights.Count++);
        weights.Index[slot] = m;
        weights.Weight[slot] = d < 1 ? 2.0L / 3 - d * d + d * d * d / 2 : (2 - d) * (2 - d) * (2 - d) / 6;
    }
    return weights;
}

TSplinePoint TBSpline::Evaluate(const TSplineWeights& weights) const
{
    long double x = 0;
    long double y = 0;
    long double z = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(weights.Count); ++i) {
        const long double w = weights.Weight[i];
        const TSplinePoint& p = FPoints[static_cast<std::size_t>(weights.Index[i])];
        x += w * p.X;
        y += w * p.Y;
        z += w * p.Z;
    }
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

QPointF TBSpline::EvaluatePlane(const TSplineWeights& weights) const
{
    long double x = 0;
    long double y = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(weights.Count); ++i) {
        const long double w = weights.Weight[i];
        const TSplinePoint& p = FPoints[static_cast<std::size_t>(weights.Index[i])];
        x += w * p.X;
        y += w * p.Y;
    }
    return {static_cast<float>(x), static_cast<float>(y)};
}

} // namespace siteplan
