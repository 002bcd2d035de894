#include "vyr_arc.h"

#include "siteplan/plan_records.h"
#include "siteplan/shape_property_editor.h"

#include <cmath>
#include <numbers>

namespace siteplan {

namespace {

// An angle of a file brought into 0..3599 for comparing directions.
std::int32_t Reduced(std::int32_t angle)
{
    return static_cast<std::int32_t>(((std::int64_t{angle} % 3600) + 3600) % 3600);
}

} // namespace

TVyrArc::TVyrArc(TPlaneMap* map, std::span<const QPoint> points) : TBoxMapCom(map, points)
{
    MapID = Kind;
}

QString TVyrArc::SizeReadoutWord() const
{
    return QStringLiteral("轴");
}

QPoint TVyrArc::AnglePoint(std::int32_t angle) const
{
    const TBoxEllipse e = ScreenEllipse();
    const double theta = angle / 10.0 * std::numbers::pi / 180;
    const double rx = static_cast<double>(e.RX);
    const double ry = static_cast<double>(e.RY);
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double d = std::sqrt(ry * ry * c * c + rx * rx * s * s);
    if (e.RX == 0 || d == 0)
        return {ScreenCoordinate(static_cast<double>(e.CX)), ScreenCoordinate(static_cast<double>(e.CY))};
    return {ScreenCoordinate(static_cast<double>(e.CX + platform::Round(rx * ry * c / d))),
            ScreenCoordinate(static_cast<double>(e.CY + platform::Round(rx * ry * s / d)))};
}

bool TVyrArc::HitTest(QPoint p) const
{
    QPoint turned;
    if (!HitRing(p, &turned))
        return false;
    const TBoxEllipse e = ScreenEllipse();
    const QPoint centre(ScreenCoordinate(static_cast<double>(e.CX)), ScreenCoordinate(static_cast<double>(e.CY)));
    const std::int32_t a = Reduced(PointAngle(centre, turned, 0));
    const std::int32_t start = Reduced(StartAngle);
    const std::int32_t end = Reduced(EndAngle);
    if (start == end)
        return true;
    if (end < start)
        return end <= a && a <= start;
    return a <= start || a >= end;
}

void TVyrArc::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    SetDrawPen(canvas, mode);
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const TRect box = GetBounds();
    const QPoint start = AnglePoint(StartAngle);
    const QPoint end = AnglePoint(EndAngle);
    canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, start.x(), start.y(), end.x(), end.y());
}

void TVyrArc::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPen(OwnPen, QStringLiteral("编辑圆弧属性")))
        PropertiesEdited();
}

QPoint TVyrArc::GetPointPos(int index) const
{
    if (index == StartHandle || index == EndHandle)
        return RotatePoint(AnglePoint(index == StartHandle ? StartAngle : EndAngle), RotateRadians());
    return TBoxMapCom::GetPointPos(index);
}

int TVyrArc::GetPointCursor(int index) const
{
    if (index == StartHandle || index == EndHandle)
        return platform::cursor::kSizeAll;
    return TBoxMapCom::GetPointCursor(index);
}

void TVyrArc::MovePoint(int index, QPoint p)
{
    if (index != StartHandle && index != EndHandle) {
        TBoxMapCom::MovePoint(index, p);
        return;
    }
    const QPoint turned = RotatePoint(p, -RotateRadians());
    std::int32_t& angle = index == StartHandle ? StartAngle : EndAngle;
    angle = PointAngle(GetCenter(), turned, angle);
    Changed();
}

void TVyrArc::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteCorners(stream, false);
    stream << qint32(StartAngle) << qint32(EndAngle);
}

void TVyrArc::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadCorners(stream);
    qint32 start = 0;
    qint32 end = 0;
    stream >> start >> end;
    if (stream.status() != QDataStream::Ok)
        return;
    StartAngle = start;
    EndAngle = end;
}

} // namespace siteplan
