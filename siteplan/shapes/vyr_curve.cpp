#include "vyr_curve.h"

#include "siteplan/plan_records.h"
#include "siteplan/shape_property_editor.h"

namespace siteplan {

TVYRCurve::TVYRCurve(TPlaneMap* map, std::span<const QPoint> points) : TPointListMapCom(map, points)
{
    MapID = Kind;
    MethodCount = 0;
}

void TVYRCurve::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    // While it is drawn the curve is already in the plan with two or three
    // points: a repaint then shows only what the rubber band shows.
    if (PointCount() < CurvePointCount)
        return;
    TVyrMapCom::Draw(canvas, mode);
    const std::vector<QPoint> screen = ScreenPoints();
    canvas.Pen = OwnPen.Value();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (mode != drawmode::Normal) {
        canvas.Pen.Color = platform::clRed;
        canvas.Pen.Mode = platform::TPenMode::pmNotXor;
        canvas.Pen.Style = platform::TPenStyle::psDot;
        canvas.Pen.Width = 1;
        canvas.Polyline(screen);
        canvas.Pen.Style = OwnPen.Style();
        canvas.Pen.Width = OwnPen.Width();
    } else {
        canvas.Pen.Mode = platform::TPenMode::pmCopy;
    }
    canvas.PolyBezier(screen);
}

void TVYRCurve::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPen(OwnPen, QStringLiteral("编辑曲线属性")))
        PropertiesEdited();
}

void TVYRCurve::DoMethod(int method, int kind, QPoint p)
{
    TVyrMapCom::DoMethod(method, kind, p);
}

void TVYRCurve::DrawCreating(platform::Canvas& canvas, int pointCount)
{
    if (PointCount() < 2)
        return;
    canvas.Pen = OwnPen.Value();
    canvas.Pen.Color = platform::clRed;
    canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    canvas.Pen.Style = platform::TPenStyle::psDot;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const auto screen = [this](int index) { return WorldToScreen(Points[static_cast<std::size_t>(index)], false); };
    if (pointCount == PointCount()) {
        const QPoint from = screen(pointCount - 2);
        const QPoint to = screen(pointCount - 1);
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(to.x(), to.y());
    } else if (pointCount > 1 && pointCount < CurvePointCount) {
        const QPoint band[3] = {screen(pointCount - 2), screen(pointCount - 1), screen(pointCount)};
        canvas.Polyline(band);
    }
}

void TVYRCurve::AddCreatingPoint(QPoint p)
{
    if (PointCount() >= CurvePointCount)
        return;
    TPointListMapCom::AddCreatingPoint(p);
}

bool TVYRCurve::IsValid()
{
    TPointListMapCom::IsValid();
    return PointCount() == CurvePointCount;
}

void TVYRCurve::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WritePoints(stream, std::span<const QPoint>(Points.data(), CurvePointCount));
}

void TVYRCurve::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    std::array<QPoint, CurvePointCount> read{};
    ReadPoints(stream, read);
    if (stream.status() != QDataStream::Ok)
        return;
    std::copy(read.begin(), read.end(), Points.begin());
    SetPointCount(CurvePointCount);
}

} // namespace siteplan
