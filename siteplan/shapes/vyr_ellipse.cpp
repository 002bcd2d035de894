#include "vyr_ellipse.h"

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
