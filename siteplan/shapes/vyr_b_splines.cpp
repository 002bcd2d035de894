#include "vyr_b_splines.h"

#include "b_spline.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace siteplan {

namespace {

using SampleWeightTable = std::array<TSplineWeights, TVYRBSplines::SampleCount>;

// The weights of every sample on a curve through count (two or more)
// points, worked out once per count: a plan of many splines of a few
// lengths samples each from the same table.
const SampleWeightTable& SampleWeights(int count)
{
    static std::mutex guard;
    static std::array<std::unique_ptr<const SampleWeightTable>, TBSpline::MaxCount + 1> tables;
    const std::lock_guard lock(guard);
    std::unique_ptr<const SampleWeightTable>& table = tables[static_cast<std::size_t>(count)];
    if (!table) {
        auto made = std::make_unique<SampleWeightTable>();
        for (int j = 0; j < TVYRBSplines::SampleCount; ++j)
            (*made)[static_cast<std::size_t>(j)] =
                TBSpline::Weights(count, static_cast<float>(j) / (TVYRBSplines::SampleCount - 1));
        table = std::move(made);
    }
    return *table;
}

} // namespace

TVYRBSplines::TVYRBSplines(TPlaneMap* map, std::span<const QPoint> points) : TPointListMapCom(map, points)
{
    MapID = Kind;
}

void TVYRBSplines::Recalculate()
{
    TBSpline spline;
    for (const QPoint& w : UsedPoints()) {
        const QPoint s = WorldToScreen(w, false);
        spline.AddPoint({static_cast<float>(s.x()), static_cast<float>(s.y()), 0});
    }
    spline.Interpolate();
    const auto store = [this](int j, const TSplinePoint& v) {
        Samples[static_cast<std::size_t>(j)] = QPoint(ScreenCoordinate(v.X), ScreenCoordinate(v.Y));
    };
    if (spline.Count() < 2) {
        for (int j = 0; j < SampleCount; ++j)
            store(j, spline.Evaluate(static_cast<float>(j) / (SampleCount - 1)));
    } else {
        const SampleWeightTable& weights = SampleWeights(spline.Count());
        for (int j = 0; j < SampleCount; ++j) {
            const QPointF v = spline.EvaluatePlane(weights[static_cast<std::size_t>(j)]);
            Samples[static_cast<std::size_t>(j)] = QPoint(ScreenCoordinate(v.x()), ScreenCoordinate(v.y()));
        }
    }
    const auto [minX, maxX] = std::minmax_element(Samples.begin(), Samples.end(),
                                                  [](QPoint a, QPoint b) { return a.x() < b.x(); });
    const auto [minY, maxY] = std::minmax_element(Samples.begin(), Samples.end(),
                                                  [](QPoint a, QPoint b) { return a.y() < b.y(); });
    sampleBounds_ = {minX->x(), minY->y(), maxX->x(), maxY->y()};
}

TRect TVYRBSplines::GetBounds() const
{
    if (PointCount() == 0)
        return {};
    return sampleBounds_;
}

std::vector<QPoint> TVYRBSplines::SampleWorldPoints() const
{
    std::vector<QPoint> world;
    world.reserve(Samples.size());
    for (const QPoint& s : Samples)
        world.push_back(ScreenToWorld(s, false));
    return world;
}

bool TVYRBSplines::HitTest(QPoint p) const
{
    if (PointCount() == 0)
        return false;
    QPoint hit;
    int segment = 0;
    return HitPolyline(p, SampleWorldPoints(), hit, segment);
}

void TVYRBSplines::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    if (PointCount() == 0)
        return;
    TVyrMapCom::Draw(canvas, mode);
    SetDrawPen(canvas, mode);
    canvas.Polyline(Samples);
}

void TVYRBSplines::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPen(OwnPen, QString()))
        PropertiesEdited();
}

void TVYRBSplines::MovePoint(int index, QPoint p)
{
    if (index < 0 || index >= PointCount())
        return;
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, true);
    Recalculate();
    Changed();
}

void TVYRBSplines::DoMethod(int method, int kind, QPoint p)
{
    switch (method) {
    case pointmethod::Add:
        if (kind != methodkind::MapClick || !HasRoomForPoint())
            return;
        // The old curve may lie outside the new one's frame.
        Invalidate();
        AddCreatingPoint(p);
        break;
    case pointmethod::Insert: {
        // Below two points the clicked points have no parameters.
        if (kind != methodkind::MapClick || PointCount() < 2)
            return;
        QPoint hit;
        int piece = 0;
        if (!HitPolyline(p, SampleWorldPoints(), hit, piece) || !HasRoomForPoint())
            return;
        // The first clicked point at or past the end of the hit piece.
        const long double end = static_cast<long double>(piece) / (SampleCount - 1);
        int index = PointCount();
        for (int j = 0; j < PointCount(); ++j) {
            if (end <= static_cast<long double>(j) / (PointCount() - 1)) {
                index = j;
                break;
            }
        }
        Invalidate();
        InsertPoint(index, hit);
        break;
    }
    case pointmethod::Delete:
        // Two clicked points stay: below that there is no curve.
        if (kind != methodkind::HandleClick || p.x() < 0 || p.x() >= PointCount() || PointCount() <= 2)
            return;
        Invalidate();
        DeletePoint(p.x());
        break;
    default:
        break;
    }
    Recalculate();
    TVyrMapCom::DoMethod(method, kind, p);
}

void TVYRBSplines::DrawCreating(platform::Canvas& canvas, int /*pointCount*/)
{
    if (PointCount() < 2)
        return;
    canvas.Pen = OwnPen.Value();
    canvas.Pen.Color = platform::clRed;
    canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.Polyline(Samples);
}

void TVYRBSplines::SetCreatingPoint(int index, QPoint p)
{
    if (index < 0 || index >= PointCount())
        return;
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, false);
    Recalculate();
    ShowSegmentReadout(index);
}

void TVYRBSplines::AddCreatingPoint(QPoint p)
{
    if (PointCount() >= MaxPointCount)
        return;
    // The old curve's rubber band goes first. On a turned spline (ADD on a
    // finished one) it stands turned, as the curve was drawn.
    if (PlaneMap() && PlaneMap()->Canvas()) {
        platform::Canvas& canvas = *PlaneMap()->Canvas();
        const QTransform before = canvas.WorldTransform();
        if (RotateAngle != 0)
            ApplyRotation(canvas);
        DrawCreating(canvas, PointCount() - 1);
        canvas.SetWorldTransform(before);
    }
    TPointListMapCom::AddCreatingPoint(p);
    Recalculate();
}

void TVYRBSplines::MoveWorld(QPoint delta)
{
    TPointListMapCom::MoveWorld(delta);
    Recalculate();
}

bool TVYRBSplines::IsValid()
{
    const bool valid = TPointListMapCom::IsValid();
    Recalculate();
    return valid;
}

void TVYRBSplines::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WritePointList(stream);
}

void TVYRBSplines::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadPointList(stream);
    if (stream.status() == QDataStream::Ok)
        Recalculate();
}

} // namespace siteplan
