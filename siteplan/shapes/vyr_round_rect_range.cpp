#include "vyr_round_rect_range.h"

#include "siteplan/plan_records.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace siteplan {

TVYRRoundRectRangle::TVYRRoundRectRangle(TPlaneMap* map, std::span<const QPoint> points) : TVYRRectangle(map, points)
{
    MapID = Kind;
}

void TVYRRoundRectRangle::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    SetDrawStyle(canvas, mode);
    const TRect box = GetBounds();
    // The corner size is a length: the plan's origin is taken off again.
    const QPoint origin = WorldToScreen(QPoint(0, 0), false);
    const QPoint corner = WorldToScreen(CornerSize, false);
    canvas.RoundRect(box.Left, box.Top, box.Right, box.Bottom, platform::SaturateInt(std::int64_t{corner.x()} - origin.x()),
                     platform::SaturateInt(std::int64_t{corner.y()} - origin.y()));
}

TVyrMapCom::TOpaqueAreas TVYRRoundRectRangle::OpaqueAreas() const
{
    const QRect inside = SolidFigureBox(OwnBrush.Value());
    if (inside.isEmpty())
        return {};
    // The corners' radii as Draw hands them to the canvas, two pixels more
    // for the painter's steps along the curve.
    const QPoint origin = WorldToScreen(QPoint(0, 0), false);
    const QPoint corner = WorldToScreen(CornerSize, false);
    const std::int64_t radiusX = std::abs(std::int64_t{corner.x()} - origin.x()) / 2 + 2;
    const std::int64_t radiusY = std::abs(std::int64_t{corner.y()} - origin.y()) / 2 + 2;
    const QRect across = inside.height() > 2 * radiusY ? inside.adjusted(0, static_cast<int>(radiusY), 0, static_cast<int>(-radiusY)) : QRect();
    const QRect down = inside.width() > 2 * radiusX ? inside.adjusted(static_cast<int>(radiusX), 0, static_cast<int>(-radiusX), 0) : QRect();
    return {across, down};
}

void TVYRRoundRectRangle::EditProperty()
{
    EditPenAndBrush(QStringLiteral("编辑圆角矩形属性"));
}

QPoint TVYRRoundRectRangle::GetPointPos(int index) const
{
    if (index != CornerHandle)
        return TVYRRectangle::GetPointPos(index);
    const QPoint topLeft = GetTopLeft();
    return WorldToScreen(QPoint(platform::SaturateInt(std::int64_t{topLeft.x()} + CornerSize.x() / 4),
                                platform::SaturateInt(std::int64_t{topLeft.y()} + CornerSize.y() / 4)),
                         true);
}

int TVYRRoundRectRangle::GetPointCursor(int index) const
{
    return index == CornerHandle ? platform::cursor::kSizeAll : TVYRRectangle::GetPointCursor(index);
}

void TVYRRoundRectRangle::MovePoint(int index, QPoint p)
{
    if (index != CornerHandle) {
        TVYRRectangle::MovePoint(index, p);
        return;
    }
    const QPoint w = ScreenToWorld(p, true);
    const QPoint topLeft = GetTopLeft();
    const QPoint bottomRight = GetBottomRight();
    const auto size = [](std::int32_t at, std::int32_t lo, std::int32_t hi) {
        return platform::SaturateInt(std::clamp<std::int64_t>(4 * (std::int64_t{at} - lo), 0, std::int64_t{hi} - lo));
    };
    CornerSize = QPoint(size(w.x(), topLeft.x(), bottomRight.x()), size(w.y(), topLeft.y(), bottomRight.y()));
    Changed();
}

void TVYRRoundRectRangle::SetCreatingPoint(int /*index*/, QPoint p)
{
    Corner2 = ScreenToWorld(p, false);
    const auto quarter = [](std::int32_t a, std::int32_t b) {
        return platform::SaturateInt(std::abs(std::int64_t{a} - b) / 4);
    };
    CornerSize = QPoint(quarter(Corner1.x(), Corner2.x()), quarter(Corner1.y(), Corner2.y()));
    ShowSizeReadout();
}

void TVYRRoundRectRangle::SaveToStream(QDataStream& stream) const
{
    TVYRRectangle::SaveToStream(stream);
    const QPoint size[1] = {CornerSize};
    WritePoints(stream, size);
}

void TVYRRoundRectRangle::LoadFromStream(QDataStream& stream)
{
    TVYRRectangle::LoadFromStream(stream);
    QPoint size[1];
    ReadPoints(stream, size);
    if (stream.status() == QDataStream::Ok)
        CornerSize = size[0];
}

} // namespace siteplan
