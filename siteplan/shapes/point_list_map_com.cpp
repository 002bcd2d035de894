#include "point_list_map_com.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"
#include "siteplan/segment_geometry.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace siteplan {

TPointListMapCom::TPointListMapCom(TPlaneMap* map, std::span<const QPoint> points) : TVyrMapCom(map, points)
{
    OwnPen.Assign(map->DefaultPen);
    SetPen(&OwnPen);
    MethodCount = pointmethod::Count;
    if (points.size() >= 2) {
        Points[0] = ScreenToWorld(points[0], false);
        Points[1] = ScreenToWorld(points[1], false);
    }
}

void TPointListMapCom::SetPointCount(int value)
{
    value = std::clamp(value, 0, MaxPointCount);
    if (value == FPointCount)
        return;
    FPointCount = value;
    Changed();
}

TRect TPointListMapCom::GetBounds() const
{
    if (FPointCount == 0)
        return {};
    // One pass: the plan asks for the bounds of every shape at each paint
    // and click.
    int minX = Points[0].x();
    int maxX = minX;
    int minY = Points[0].y();
    int maxY = minY;
    for (const QPoint& p : std::span<const QPoint>(Points.data() + 1, static_cast<std::size_t>(FPointCount - 1))) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    const QPoint topLeft = WorldToScreen(QPoint(minX, minY), false);
    const QPoint bottomRight = WorldToScreen(QPoint(maxX, maxY), false);
    return {topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

bool TPointListMapCom::HitSegment(QPoint p, int& segment, QPoint& hit) const
{
    return HitPolyline(p, UsedPoints(), hit, segment);
}

bool TPointListMapCom::HitTest(QPoint p) const
{
    int segment = 0;
    QPoint hit;
    return HitSegment(p, segment, hit);
}

bool TPointListMapCom::InRect(const TRect& r) const
{
    if (FPointCount < 2)
        return false;
    QPoint a = WorldToScreen(Points[0], true);
    for (int i = 1; i < FPointCount; ++i) {
        const QPoint b = WorldToScreen(Points[static_cast<std::size_t>(i)], true);
        const bool overlaps = std::min(a.x(), b.x()) <= r.Right && std::max(a.x(), b.x()) >= r.Left
                              && std::min(a.y(), b.y()) <= r.Bottom && std::max(a.y(), b.y()) >= r.Top;
        if (overlaps) {
            if (a == b)
                return true;
            // The line through a and b as f(x, y) = 0: the segment touches r
            // unless all four corners lie strictly on one side.
            const auto f = [a, b](double x, double y) {
                if (a.x() == b.x())
                    return x - a.x();
                const double m = (static_cast<double>(b.y()) - a.y()) / (static_cast<double>(b.x()) - a.x());
                return m * x - y + (a.y() - m * a.x());
            };
            const bool oneSide = f(r.Left, r.Top) * f(r.Right, r.Bottom) > 0
                                 && f(r.Right, r.Top) * f(r.Left, r.Bottom) > 0;
            if (!oneSide)
                return true;
        }
        a = b;
    }
    return false;
}

QPoint TPointListMapCom::GetPointPos(int index) const
{
    if (index < 0 || index >= FPointCount)
        return {};
    return WorldToScreen(Points[static_cast<std::size_t>(index)], true);
}

int TPointListMapCom::GetPointCursor(int /*index*/) const
{
    return platform::cursor::kSizeAll;
}

void TPointListMapCom::MovePoint(int index, QPoint p)
{
    if (index < 0 || index >= FPointCount)
        return;
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, true);
    Changed();
}

QString TPointListMapCom::GetMethodBitmap(int method) const
{
    switch (method) {
    case pointmethod::Add:
        return QStringLiteral("ADD");
    case pointmethod::Insert:
        return QStringLiteral("INSERT");
    case pointmethod::Delete:
        return QStringLiteral("DELETE");
    default:
        return {};
    }
}

QString TPointListMapCom::GetMethodHint(int method) const
{
    switch (method) {
    case pointmethod::Add:
        return QStringLiteral("增加点");
    case pointmethod::Insert:
        return QStringLiteral("插入点");
    case pointmethod::Delete:
        return QStringLiteral("删除点");
    default:
        return {};
    }
}

bool TPointListMapCom::HasRoomForPoint() const
{
    if (FPointCount < MaxPointCount)
        return true;
    if (PlaneMap())
        PlaneMap()->Services().ShowMessage(QStringLiteral("线段太多"));
    return false;
}

void TPointListMapCom::InsertPoint(int index, QPoint world)
{
    std::copy_backward(Points.begin() + index, Points.begin() + FPointCount, Points.begin() + FPointCount + 1);
    Points[static_cast<std::size_t>(index)] = world;
    SetPointCount(FPointCount + 1);
}

void TPointListMapCom::DeletePoint(int index)
{
    std::copy(Points.begin() + index + 1, Points.begin() + FPointCount, Points.begin() + index);
    SetPointCount(FPointCount - 1);
}

void TPointListMapCom::DoMethod(int method, int kind, QPoint p)
{
    switch (method) {
    case pointmethod::Add:
        if (kind != methodkind::MapClick || !HasRoomForPoint())
            return;
        AddCreatingPoint(p);
        break;
    case pointmethod::Insert: {
        if (kind != methodkind::MapClick)
            return;
        int segment = 0;
        QPoint hit;
        if (!HitSegment(p, segment, hit) || !HasRoomForPoint())
            return;
        InsertPoint(segment, hit);
        break;
    }
    case pointmethod::Delete:
        // A shape keeps two vertices at least: with fewer it would show
        // nothing and could never be hit or selected again.
        if (kind != methodkind::HandleClick || p.x() < 0 || p.x() >= FPointCount || FPointCount <= 2)
            return;
        DeletePoint(p.x());
        break;
    default:
        break;
    }
    TVyrMapCom::DoMethod(method, kind, p);
}

void TPointListMapCom::DrawCreating(platform::Canvas& canvas, int pointCount)
{
    if (FPointCount < 2)
        return;
    canvas.Pen = OwnPen.Value();
    canvas.Pen.Color = platform::clRed;
    canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const auto screen = [this](int index) { return WorldToScreen(Points[static_cast<std::size_t>(index)], false); };
    if (pointCount == FPointCount) {
        const QPoint from = screen(pointCount - 2);
        const QPoint to = screen(pointCount - 1);
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(to.x(), to.y());
    } else if (pointCount > 1 && pointCount < MaxPointCount) {
        const QPoint band[3] = {screen(pointCount - 2), screen(pointCount - 1), screen(pointCount)};
        canvas.Polyline(band);
    }
}

void TPointListMapCom::SetCreatingPoint(int index, QPoint p)
{
    if (index < 0 || index >= FPointCount)
        return;
    Points[static_cast<std::size_t>(index)] = ScreenToWorld(p, false);
    ShowSegmentReadout(index);
}

void TPointListMapCom::ShowSegmentReadout(int index)
{
    if (index < 1)
        return;
    const QPoint from = Points[static_cast<std::size_t>(index - 1)];
    const QPoint to = Points[static_cast<std::size_t>(index)];
    // World units are 0.1 mm: the length in mm, to whole 100 mm.
    const std::int64_t length = platform::Round(SegmentLength(to, from) / 1000.0) * 100;
    const std::int64_t degrees = platform::Round(SegmentAngle(from, to) * 180 / std::numbers::pi);
    DoMapHint(QStringLiteral("当前线段长度：%1mm, 角度：%2 度").arg(length).arg(degrees));
}

void TPointListMapCom::AddCreatingPoint(QPoint p)
{
    if (FPointCount >= MaxPointCount)
        return;
    Points[static_cast<std::size_t>(FPointCount)] = ScreenToWorld(p, true);
    SetPointCount(FPointCount + 1);
}

void TPointListMapCom::MoveWorld(QPoint delta)
{
    // Points read from a file may lie anywhere: they stop at the edge of
    // the coordinate range instead of wrapping round.
    for (QPoint& p : std::span<QPoint>(Points.data(), static_cast<std::size_t>(FPointCount)))
        p = {platform::SaturateInt(std::int64_t{p.x()} + delta.x()), platform::SaturateInt(std::int64_t{p.y()} + delta.y())};
}

bool TPointListMapCom::IsValid()
{
    const auto end = std::unique(Points.begin(), Points.begin() + FPointCount);
    SetPointCount(static_cast<int>(end - Points.begin()));
    return FPointCount > 1;
}

int TPointListMapCom::GetSelectMargin() const
{
    // A damaged file's pen counts as drawn, at most MaxDrawnWidth either way,
    // so that frames around points at the edge of the range stay in range.
    const int width = std::clamp(OwnPen.Width(), -TMapPen::MaxDrawnWidth, TMapPen::MaxDrawnWidth);
    return width / 2 + (width % 2 != 0 ? 1 : 0);
}

std::vector<QPoint> TPointListMapCom::ScreenPoints() const
{
    std::vector<QPoint> screen;
    screen.reserve(static_cast<std::size_t>(FPointCount));
    for (const QPoint& w : UsedPoints())
        screen.push_back(WorldToScreen(w, false));
    return screen;
}

void TPointListMapCom::SetDrawPen(platform::Canvas& canvas, std::uint8_t mode) const
{
    canvas.Pen = OwnPen.Value();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (mode != drawmode::Normal) {
        canvas.Pen.Color = platform::clRed;
        canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    } else {
        canvas.Pen.Mode = platform::TPenMode::pmCopy;
    }
}

void TPointListMapCom::WritePointList(QDataStream& stream) const
{
    stream << qint32(FPointCount);
    WritePoints(stream, UsedPoints());
}

void TPointListMapCom::ReadPointList(QDataStream& stream)
{
    qint32 count = 0;
    stream >> count;
    if (stream.status() != QDataStream::Ok)
        return;
    if (count < 0 || count > MaxPointCount) {
        RefuseRecord(stream);
        return;
    }
    std::array<QPoint, MaxPointCount> read{};
    ReadPoints(stream, std::span<QPoint>(read.data(), static_cast<std::size_t>(count)));
    if (stream.status() != QDataStream::Ok)
        return;
    Points = read;
    FPointCount = count;
}

} // namespace siteplan
