#include "vyr_picture.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/shape_property_editor.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace siteplan {

TVyrPicture::TVyrPicture(TPlaneMap* map, std::span<const QPoint> points) : TBoxMapCom(map, points)
{
    MapID = Kind;
}

TVyrPicture::TVyrPicture(TPlaneMap* map, std::span<const QPoint> points, const platform::TPicture& legend)
    : TVyrPicture(map, points)
{
    Picture = legend;
    ShowOutRect = false;
    if (!points.empty()) {
        const QPoint size(legend.Width(), legend.Height());
        Corner2 = ScreenToWorld(QPoint(ScreenCoordinate(static_cast<double>(points.front().x()) + size.x()),
                                       ScreenCoordinate(static_cast<double>(points.front().y()) + size.y())),
                                false);
    }
}

bool TVyrPicture::HitTest(QPoint p) const
{
    return HitOutline(p);
}

void TVyrPicture::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    const TRect box = GetBounds();
    canvas.Pen = OwnPen.DrawnValue();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    Picture.Draw(canvas, box.ToQRect());
    if (!ShowOutRect)
        return;
    canvas.Pen = OwnPen.DrawnValue();
    canvas.Pen.Mode = mode != drawmode::Normal ? platform::TPenMode::pmNotXor : platform::TPenMode::pmCopy;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
}

TVyrMapCom::TOpaqueAreas TVyrPicture::OpaqueAreas() const
{
    if (RotateAngle != 0 || Picture.Empty())
        return {};
    const QImage& image = Picture.Image();
    if (image.isNull() || image.hasAlphaChannel())
        return {};
    const TRect box = GetBounds();
    // Far out, the painter may not draw an image exactly over its box.
    constexpr int Reach = 1 << 20;
    if (std::max({std::abs(box.Left), std::abs(box.Top), std::abs(box.Right), std::abs(box.Bottom)}) > Reach ||
        box.Right - box.Left < 4 || box.Bottom - box.Top < 4)
        return {};
    return {QRect(QPoint(box.Left + 1, box.Top + 1), QPoint(box.Right - 2, box.Bottom - 2))};
}

void TVyrPicture::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    bool showOutRect = ShowOutRect;
    if (!editor || !editor->EditPicture(OwnPen, Picture, showOutRect, Stretch))
        return;
    ShowOutRect = showOutRect;
    PropertiesEdited();
}

int TVyrPicture::GetMaxPoints() const
{
    return Picture.HasGraphic() && !Picture.Empty() ? 1 : 2;
}

void TVyrPicture::AfterCreate()
{
    NormaliseCorners();
    TShapePropertyEditor* editor = PropertyEditor();
    QString fileName;
    if (!Picture.HasGraphic() && editor && editor->OpenPictureFile(fileName)) {
        QString message;
        try {
            Picture.LoadFromFile(fileName);
        } catch (const platform::EPictureError& error) {
            message = error.Message();
        } catch (const std::exception& error) {
            message = QString::fromLocal8Bit(error.what());
        }
        if (!message.isEmpty())
            PlaneMap()->Services().ShowError(message);
        else
            Changed();
    }
    Invalidate();
}

void TVyrPicture::EndMovePoint()
{
    NormaliseCorners();
}

void TVyrPicture::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    WriteCorners(stream, true);
    stream << qint16(ShowOutRect ? 1 : 0) << qint16(Stretch ? 1 : 0);
    WriteGraphic(stream, Picture);
}

void TVyrPicture::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    ReadCorners(stream);
    qint16 showOutRect = 0;
    qint16 stretch = 0;
    stream >> showOutRect >> stretch;
    platform::TPicture picture;
    ReadGraphic(stream, picture);
    if (stream.status() != QDataStream::Ok)
        return;
    ShowOutRect = showOutRect == 1;
    Stretch = stretch == 1;
    Picture = picture;
}

void WriteGraphic(QDataStream& stream, const platform::TPicture& picture)
{
    const QByteArray name = picture.ClassName().left(TVyrPicture::MaxClassNameLength);
    stream << quint8(name.size());
    if (name.isEmpty())
        return;
    stream.writeRawData(name.constData(), static_cast<int>(name.size()));
    const QByteArray& data = picture.Bytes();
    stream << qint32(data.size());
    stream.writeRawData(data.constData(), static_cast<int>(data.size()));
}

void ReadGraphic(QDataStream& stream, platform::TPicture& picture)
{
    quint8 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok)
        return;
    if (length == 0) {
        picture.Clear();
        return;
    }
    QByteArray name(length, '\0');
    if (stream.readRawData(name.data(), length) != length) {
        RefuseRecord(stream);
        return;
    }
    const platform::TGraphicKind kind = platform::TPicture::KindFromClassName(name);
    qint32 size = 0;
    stream >> size;
    // The bytes of a class the reader does not know cannot be taken apart,
    // and a size that does not fit the data left is a damaged record.
    if (kind == platform::TGraphicKind::None || !HasBytes(stream, size)) {
        RefuseRecord(stream);
        return;
    }
    QByteArray data(size, '\0');
    if (stream.readRawData(data.data(), size) != size) {
        RefuseRecord(stream);
        return;
    }
    picture.SetGraphic(kind, std::move(data));
}

} // namespace siteplan
