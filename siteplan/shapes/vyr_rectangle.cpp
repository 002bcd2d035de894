#include "vyr_rectangle.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

namespace siteplan {

TVYRRectangle::TVYRRectangle(TPlaneMap* map, std::span<const QPoint> points) : TBoxMapCom(map, points)
{
    OwnBrush.Assign(map->DefaultBrush);
    SetBrush(&OwnBrush);
    MapID = Kind;
}

bool TVYRRectangle::HitTest(QPoint p) const
{
    return HitOutline(p);
}

void TVYRRectangle::SetDrawStyle(platform::Canvas& canvas, std::uint8_t mode) const
{
    SetDrawPen(canvas, mode);
    canvas.Brush = OwnBrush.Value();
}

void TVYRRectangle::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    SetDrawStyle(canvas, mode);
    const TRect box = GetBounds();
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
}

TVyrMapCom::TOpaqueAreas TVYRRectangle::OpaqueAreas() const
{
    // A round rectangle (which derives from this) leaves its corners.
    if (MapID != Kind)
        return {};
    return {SolidBoxInside(OwnBrush.Value())};
}

void TVYRRectangle::EditPenAndBrush(const QString& caption)
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPenAndBrush(OwnPen, OwnBrush, caption))
        PropertiesEdited();
}

void TVYRRectangle::EditProperty()
{
    EditPenAndBrush(QStringLiteral("编辑矩形属性"));
}

void TVYRRectangle::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteBrush(stream, OwnBrush);
    WriteCorners(stream, false);
}

void TVYRRectangle::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadBrush(stream, OwnBrush);
    ReadCorners(stream);
}

} // namespace siteplan
