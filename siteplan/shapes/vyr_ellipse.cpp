#include "vyr_ellipse.h"

#include <cmath>
#include <numbers>

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

namespace siteplan {

TVyrEllipse::TVyrEllipse(TPlaneMap* map, std::span<const QPoint> points) : TBoxMapCom(map, points)
{
    OwnBrush.Assign(map->DefaultBrush);
    SetBrush(&OwnBrush);
    MapID = Kind;
}

QString TVyrEllipse::SizeReadoutWord() const
{
    return QStringLiteral("轴");
}

bool TVyrEllipse::HitTest(QPoint p) const
{
    return HitRing(p);
}

void TVyrEllipse::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    SetDrawPen(canvas, mode);
    canvas.Brush = OwnBrush.Value();
    const TRect box = GetBounds();
    canvas.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
}

TVyrMapCom::TOpaqueAreas TVyrEllipse::OpaqueAreas() const
{
    const QRect inside = SolidFigureBox(OwnBrush.Value());
    if (inside.isEmpty())
        return {};
    // The ellipse's box is one pixel wider than the inside on each side.
    // Three inscribed rectangles, with their corners on the ellipse at 30,
    // 45 and 60 degrees along it, cover most of it; two pixels more are
    // given up for the painter's steps along the curve.
    const double centreX = inside.left() + (inside.width() - 1) / 2.0;
    const double centreY = inside.top() + (inside.height() - 1) / 2.0;
    const double halfX = (inside.width() + 1) / 2.0;
    const double halfY = (inside.height() + 1) / 2.0;
    const auto inscribed = [&](double cosine, double sine) {
        const double reachX = halfX * cosine - 3;
        const double reachY = halfY * sine - 3;
        if (reachX < 1 || reachY < 1)
            return QRect();
        return QRect(QPoint(static_cast<int>(std::ceil(centreX - reachX)), static_cast<int>(std::ceil(centreY - reachY))),
                     QPoint(static_cast<int>(std::floor(centreX + reachX)), static_cast<int>(std::floor(centreY + reachY))));
    };
    const double half = std::numbers::sqrt3 / 2;
    return {inscribed(1 / std::numbers::sqrt2, 1 / std::numbers::sqrt2), inscribed(half, 0.5), inscribed(0.5, half)};
}

void TVyrEllipse::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPenAndBrush(OwnPen, OwnBrush, QStringLiteral("编辑椭圆属性")))
        PropertiesEdited();
}

void TVyrEllipse::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteBrush(stream, OwnBrush);
    WriteCorners(stream, false);
}

void TVyrEllipse::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadBrush(stream, OwnBrush);
    ReadCorners(stream);
}

} // namespace siteplan
