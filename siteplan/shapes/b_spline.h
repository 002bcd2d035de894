// An interpolating uniform cubic B-spline through up to 100 data points:
// Interpolate turns the data points into control points (a linear system
// with natural ends and a corner wherever three consecutive points
// coincide), reflected end points close the control polygon, and Evaluate
// gives the curve at any parameter from 0 (first point) to 1 (last point).
#pragma once

#include <QPointF>

#include <array>
#include <vector>

namespace siteplan {

struct TSplinePoint {
    float X = 0;
    float Y = 0;
    float Z = 0;
};

// The control points that make the curve at one parameter, with their
// weights: they depend only on the parameter and the number of points, so
// curves of the same length sampled alike share them.
struct TSplineWeights {
    int Count = 0;
    std::array<int, 4> Index{};
    std::array<long double, 4> Weight{};
};

class TBSpline {
public:
    static constexpr int MaxCount = 100;

    TBSpline();

    // Ignored beyond MaxCount points.
    void AddPoint(const TSplinePoint& p);
    // Reflects the second and the last but one point about the ends
    // (nothing below two points).
    void UpdateEnds();
    // Replaces the data points by control points; nothing below three
    // points (they serve as control points as they are) or when the system
    // has a vanishing pivot.
    void Interpolate();
    // The curve at t in [0, 1]. One point gives that point everywhere,
    // none gives (0, 0, 0).
    TSplinePoint Evaluate(float t) const;
    // The weights Evaluate(t) uses on a curve of count (two or more) points.
    static TSplineWeights Weights(int count, float t);
    // The curve where the weights were taken, the same as Evaluate(t) for
    // weights of this curve's count.
    TSplinePoint Evaluate(const TSplineWeights& weights) const;
    // Only X and Y of Evaluate(weights), for a curve in the plane.
    QPointF EvaluatePlane(const TSplineWeights& weights) const;

    int Count() const { return FCount; }
    bool Prepared() const { return FPrepared; }
    // Entry 0 and entry Count + 1 are the reflected end points.
    const TSplinePoint& Point(int index) const { return FPoints[static_cast<std::size_t>(index)]; }

private:
    int FCount = 0;
    std::vector<TSplinePoint> FPoints;
    bool FPrepared = false;
};

} // namespace siteplan
