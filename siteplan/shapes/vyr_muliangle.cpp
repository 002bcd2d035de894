#include "vyr_muliangle.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

namespace siteplan {

TVYRMuliangle::TVYRMuliangle(TPlaneMap* map, std::span<const QPoint> points) : TPointListMapCom(map, points)
{
    OwnBrush.Assign(map->DefaultBrush);
    SetBrush(&OwnBrush);
    MapID = Kind;
}

void TVYRMuliangle::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    if (PointCount() == 0)
        return;
    TVyrMapCom::Draw(canvas, mode);
    const std::vector<QPoint> screen = ScreenPoints();
    canvas.Pen = OwnPen.Value();
    canvas.Pen.Mode = mode != drawmode::Normal ? platform::TPenMode::pmNotXor : platform::TPenMode::pmCopy;
    canvas.Brush = OwnBrush.Value();
    canvas.Polygon(screen);
}

void TVYRMuliangle::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPenAndBrush(OwnPen, OwnBrush, QStringLiteral("编辑多边形属性")))
        PropertiesEdited();
}

void TVYRMuliangle::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteBrush(stream, OwnBrush);
    WritePointList(stream);
}

void TVYRMuliangle::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadBrush(stream, OwnBrush);
    ReadPointList(stream);
}

} // namespace siteplan
