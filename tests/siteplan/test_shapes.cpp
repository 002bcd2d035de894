#include "tests/siteplan/test_shapes.h"

#include "siteplan/map_com_classes.h"
#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

#include "platform/numbers.h"

#include <algorithm>

namespace testshapes {

using siteplan::TRect;

namespace {

// Stored points may lie anywhere: a move stops at the edge of the range.
QPoint Moved(QPoint p, QPoint delta)
{
    return {platform::SaturateInt(std::int64_t{p.x()} + delta.x()), platform::SaturateInt(std::int64_t{p.y()} + delta.y())};
}

} // namespace

TTestBox::TTestBox(siteplan::TPlaneMap* map, std::span<const QPoint> points) : TVyrMapCom(map, points)
{
    MapID = BoxKind;
    OwnPen.Assign(map->DefaultPen);
    OwnBrush.Assign(map->DefaultBrush);
    SetPen(&OwnPen);
    SetBrush(&OwnBrush);
    if (points.size() >= 2) {
        Corner1 = ScreenToWorld(points[0], false);
        Corner2 = ScreenToWorld(points[1], false);
    }
}

TRect TTestBox::GetBounds() const
{
    const QPoint a = WorldToScreen(Corner1, false);
    const QPoint b = WorldToScreen(Corner2, false);
    return TRect::Spanning(a, b);
}

bool TTestBox::HitTest(QPoint p) const
{
    const TRect r = GetBounds();
    return p.x() >= r.Left && p.x() <= r.Right && p.y() >= r.Top && p.y() <= r.Bottom;
}

bool TTestBox::InRect(const TRect& r) const
{
    const TRect b = GetBounds();
    return b.Left <= r.Right && r.Left <= b.Right && b.Top <= r.Bottom && r.Top <= b.Bottom;
}

void TTestBox::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    canvas.Pen = OwnPen.Value();
    canvas.Brush = OwnBrush.Value();
    const TRect r = GetBounds();
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TTestBox::EditProperty()
{
    siteplan::TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPenAndBrush(OwnPen, OwnBrush, QStringLiteral("box")))
        PropertiesEdited();
}

QPoint TTestBox::GetPointPos(int index) const
{
    return WorldToScreen(index == 0 ? Corner1 : Corner2, true);
}

void TTestBox::MovePoint(int index, QPoint p)
{
    (index == 0 ? Corner1 : Corner2) = ScreenToWorld(p, true);
    Changed();
}

void TTestBox::DrawCreating(platform::Canvas& canvas, int /*pointCount*/)
{
    canvas.Pen = OwnPen.Value();
    canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const TRect r = GetBounds();
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TTestBox::SetCreatingPoint(int /*index*/, QPoint p)
{
    Corner2 = ScreenToWorld(p, false);
}

void TTestBox::MoveWorld(QPoint delta)
{
    Corner1 = Moved(Corner1, delta);
    Corner2 = Moved(Corner2, delta);
}

void TTestBox::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    siteplan::WritePen(stream, OwnPen);
    siteplan::WriteBrush(stream, OwnBrush);
    const QPoint corners[2] = {Corner1, Corner2};
    siteplan::WritePoints(stream, corners);
}

void TTestBox::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    siteplan::ReadPen(stream, OwnPen);
    siteplan::ReadBrush(stream, OwnBrush);
    QPoint corners[2];
    siteplan::ReadPoints(stream, corners);
    Corner1 = corners[0];
    Corner2 = corners[1];
}

TTestPath::TTestPath(siteplan::TPlaneMap* map, std::span<const QPoint> points, int maxPoints)
    : TVyrMapCom(map, points), FMaxPoints(maxPoints)
{
    MapID = maxPoints == 100 ? PathKind : maxPoints == 4 ? CurveKind : MarkKind;
    MethodCount = 1;
    OwnPen.Assign(map->DefaultPen);
    SetPen(&OwnPen);
    const std::size_t count = std::min<std::size_t>(points.size(), static_cast<std::size_t>(maxPoints));
    for (std::size_t i = 0; i < count; ++i)
        Points.push_back(ScreenToWorld(points[i], false));
}

TRect TTestPath::GetBounds() const
{
    if (Points.empty())
        return {};
    TRect r = TRect::Spanning(WorldToScreen(Points[0], false), WorldToScreen(Points[0], false));
    for (const QPoint& w : Points) {
        const QPoint s = WorldToScreen(w, false);
        r = {std::min(r.Left, s.x()), std::min(r.Top, s.y()), std::max(r.Right, s.x()), std::max(r.Bottom, s.y())};
    }
    return r;
}

bool TTestPath::HitTest(QPoint p) const
{
    QPoint hit;
    int segment = 0;
    return HitPolyline(p, Points, hit, segment);
}

void TTestPath::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    canvas.Pen = OwnPen.Value();
    std::vector<QPoint> screen;
    for (const QPoint& w : Points)
        screen.push_back(WorldToScreen(w, false));
    canvas.Polyline(screen);
}

QPoint TTestPath::GetPointPos(int index) const
{
    return WorldToScreen(Points[static_cast<std::size_t>(index)], true);
}

void TTestPath::MovePoint(int index, QPoint p)
{
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, true);
    Changed();
}

void TTestPath::DoMethod(int method, int kind, QPoint p)
{
    if (method != PathDeleteMethod || kind != siteplan::methodkind::HandleClick)
        return;
    Points.erase(Points.begin() + p.x());
    TVyrMapCom::DoMethod(method, kind, p);
}

void TTestPath::SetCreatingPoint(int index, QPoint p)
{
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, false);
}

void TTestPath::AddCreatingPoint(QPoint p)
{
    Points.push_back(ScreenToWorld(p, false));
}

void TTestPath::MoveWorld(QPoint delta)
{
    for (QPoint& w : Points)
        w = Moved(w, delta);
}

bool TTestPath::IsValid()
{
    Points.erase(std::unique(Points.begin(), Points.end()), Points.end());
    return FMaxPoints == 1 ? !Points.empty() : Points.size() > 1;
}

namespace {

template <int Max>
std::unique_ptr<siteplan::TVyrMapCom> CreatePath(siteplan::TPlaneMap& map, std::span<const QPoint> points)
{
    return std::make_unique<TTestPath>(&map, points, Max);
}

} // namespace

void RegisterTestShapes()
{
    siteplan::RegisterMapComClass(BoxKind, &siteplan::CreateMapComOf<TTestBox>);
    siteplan::RegisterMapComClass(PathKind, &CreatePath<100>);
    siteplan::RegisterMapComClass(CurveKind, &CreatePath<4>);
    siteplan::RegisterMapComClass(MarkKind, &CreatePath<1>);
}

} // namespace testshapes
