#include "box_map_com.h"

#include "siteplan/grab_handles.h"
#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace siteplan {

namespace {

// Where each box handle stands: which corner gives its X and Y (1 or 2,
// 0 for the midpoint) and the direction of its offset by the margin.
struct BoxHandle {
    int xFrom;
    int yFrom;
    int dx;
    int dy;
    int cursor;
};

constexpr BoxHandle BoxHandles[] = {
    {1, 1, -1, -1, platform::cursor::kSizeNWSE}, {0, 1, 0, -1, platform::cursor::kSizeNS},
    {2, 1, 1, -1, platform::cursor::kSizeNESW},  {2, 0, 1, 0, platform::cursor::kSizeWE},
    {2, 2, 1, 1, platform::cursor::kSizeNWSE},   {0, 2, 0, 1, platform::cursor::kSizeNS},
    {1, 2, -1, 1, platform::cursor::kSizeNESW},  {1, 0, -1, 0, platform::cursor::kSizeWE},
};

std::int32_t Mid(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>((std::int64_t{a} + b) / 2);
}

} // namespace

TBoxMapCom::TBoxMapCom(TPlaneMap* map, std::span<const QPoint> points) : TVyrMapCom(map, points)
{
    OwnPen.Assign(map->DefaultPen);
    SetPen(&OwnPen);
    if (!points.empty()) {
        Corner1 = ScreenToWorld(points[0], false);
        Corner2 = points.size() >= 2 ? ScreenToWorld(points[1], false) : Corner1;
    }
}

QPoint TBoxMapCom::GetTopLeft() const
{
    return {std::min(Corner1.x(), Corner2.x()), std::min(Corner1.y(), Corner2.y())};
}

QPoint TBoxMapCom::GetBottomRight() const
{
    return {std::max(Corner1.x(), Corner2.x()), std::max(Corner1.y(), Corner2.y())};
}

QRect TBoxMapCom::SolidBoxInside(const platform::TBrush& brush) const
{
    if (brush.Style != platform::TBrushStyle::bsSolid || RotateAngle != 0)
        return {};
    const TRect box = GetBounds();
    const std::int64_t left = std::min(box.Left, box.Right);
    const std::int64_t right = std::max(box.Left, box.Right);
    const std::int64_t top = std::min(box.Top, box.Bottom);
    const std::int64_t bottom = std::max(box.Top, box.Bottom);
    if (right - left < 4 || bottom - top < 4)
        return {};
    return QRect(QPoint(static_cast<int>(left + 1), static_cast<int>(top + 1)),
                 QPoint(static_cast<int>(right - 2), static_cast<int>(bottom - 2)));
}

QRect TBoxMapCom::SolidFigureBox(const platform::TBrush& brush) const
{
    const platform::TPen pen = OwnPen.DrawnValue();
    if (pen.Style == platform::TPenStyle::psInsideFrame && pen.Width > 1)
        return {};
    return SolidBoxInside(brush);
}

TRect TBoxMapCom::GetBounds() const
{
    const QPoint topLeft = WorldToScreen(GetTopLeft(), false);
    const QPoint bottomRight = WorldToScreen(GetBottomRight(), false);
    return {topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

bool TBoxMapCom::InRect(const TRect& r) const
{
    const TRect b = GetBounds();
    return std::max(b.Left, r.Left) < std::min(b.Right, r.Right) && std::max(b.Top, r.Top) < std::min(b.Bottom, r.Bottom);
}

QPoint TBoxMapCom::GetPointPos(int index) const
{
    if (index < 0 || index >= BoxHandleCount)
        return {};
    const BoxHandle& h = BoxHandles[index];
    const auto pick = [](int from, std::int32_t v1, std::int32_t v2) {
        return from == 1 ? v1 : from == 2 ? v2 : Mid(v1, v2);
    };
    const QPoint world(pick(h.xFrom, Corner1.x(), Corner2.x()), pick(h.yFrom, Corner1.y(), Corner2.y()));
    const QPoint screen = WorldToScreen(world, true);
    const std::int64_t m = GetSelectMargin();
    return {ScreenCoordinate(static_cast<double>(screen.x() + h.dx * m)),
            ScreenCoordinate(static_cast<double>(screen.y() + h.dy * m))};
}

int TBoxMapCom::GetPointCursor(int index) const
{
    if (index < 0 || index >= BoxHandleCount)
        return platform::cursor::kSizeAll;
    return BoxHandles[index].cursor;
}

void TBoxMapCom::MovePoint(int index, QPoint p)
{
    if (index < 0 || index >= BoxHandleCount)
        return;
    const BoxHandle& h = BoxHandles[index];
    // The pull takes the margin's offset off again, so that the corner
    // lands where the handle's centre is dropped.
    const std::int64_t m = GetSelectMargin();
    const QPoint pulled(ScreenCoordinate(static_cast<double>(p.x() - h.dx * m)),
                        ScreenCoordinate(static_cast<double>(p.y() - h.dy * m)));
    const QPoint w = ScreenToWorld(pulled, true);
    if (h.xFrom == 1)
        Corner1.setX(w.x());
    else if (h.xFrom == 2)
        Corner2.setX(w.x());
    if (h.yFrom == 1)
        Corner1.setY(w.y());
    else if (h.yFrom == 2)
        Corner2.setY(w.y());
    Changed();
}

void TBoxMapCom::DrawCreating(platform::Canvas& canvas, int /*pointCount*/)
{
    Draw(canvas, drawmode::Selected);
}

void TBoxMapCom::SetCreatingPoint(int /*index*/, QPoint p)
{
    Corner2 = ScreenToWorld(p, false);
    ShowSizeReadout();
}

QString TBoxMapCom::SizeReadoutWord() const
{
    return QStringLiteral("边");
}

void TBoxMapCom::ShowSizeReadout()
{
    // World units are 0.1 mm: the sizes in mm, to whole 100 mm.
    const auto mm = [](std::int32_t a, std::int32_t b) {
        return platform::Round(static_cast<double>(std::abs(std::int64_t{b} - a)) / 1000) * 100;
    };
    const QString word = SizeReadoutWord();
    DoMapHint(QStringLiteral("X%1长度：%2mm, Y%1长度：%3 mm")
                  .arg(word)
                  .arg(mm(Corner1.x(), Corner2.x()))
                  .arg(mm(Corner1.y(), Corner2.y())));
}

void TBoxMapCom::MoveWorld(QPoint delta)
{
    // Corners read from a file may lie anywhere: they stop at the edge of
    // the coordinate range instead of wrapping round.
    const auto moved = [delta](QPoint c) {
        return QPoint(platform::SaturateInt(std::int64_t{c.x()} + delta.x()),
                      platform::SaturateInt(std::int64_t{c.y()} + delta.y()));
    };
    Corner1 = moved(Corner1);
    Corner2 = moved(Corner2);
}

bool TBoxMapCom::IsValid()
{
    return Corner1.x() != Corner2.x() || Corner1.y() != Corner2.y();
}

int TBoxMapCom::GetSelectMargin() const
{
    const int width = std::clamp(OwnPen.Width(), -MaxDrawnPenWidth, MaxDrawnPenWidth);
    return width / 2 + (width % 2 != 0 ? 1 : 0);
}

void TBoxMapCom::NormaliseCorners()
{
    const QPoint topLeft = GetTopLeft();
    const QPoint bottomRight = GetBottomRight();
    if (topLeft == Corner1 && bottomRight == Corner2)
        return;
    Corner1 = topLeft;
    Corner2 = bottomRight;
    if (GrabHandles())
        GrabHandles()->Reposition();
    Changed();
}

TBoxEllipse TBoxMapCom::ScreenEllipse() const
{
    const QPoint topLeft = GetTopLeft();
    const QPoint bottomRight = GetBottomRight();
    const auto half = [](std::int32_t lo, std::int32_t hi) {
        return platform::SaturateInt((std::int64_t{hi} - lo) / 2);
    };
    // The semi-axes are lengths: the plan's origin is taken off again.
    const QPoint origin = WorldToScreen(QPoint(0, 0), false);
    const QPoint radii = WorldToScreen(QPoint(half(topLeft.x(), bottomRight.x()), half(topLeft.y(), bottomRight.y())), false);
    const QPoint centre = WorldToScreen(QPoint(Mid(topLeft.x(), bottomRight.x()), Mid(topLeft.y(), bottomRight.y())), false);
    return {std::int64_t{radii.x()} - origin.x(), std::int64_t{radii.y()} - origin.y(), centre.x(), centre.y()};
}

bool TBoxMapCom::HitRing(QPoint p, QPoint* unrotated) const
{
    const TBoxEllipse e = ScreenEllipse();
    const QPoint turned = RotatePoint(p, -RotateRadians());
    if (unrotated)
        *unrotated = turned;
    const std::int64_t m = GetSelectMargin();
    const double innerX = static_cast<double>(e.RX - m);
    const double innerY = static_cast<double>(e.RY - m);
    const double outerX = static_cast<double>(e.RX + m);
    const double outerY = static_cast<double>(e.RY + m);
    // A negative margin (a damaged file's pen) can make the grown ellipse
    // the degenerate one.
    if (innerX == 0 || innerY == 0 || outerX == 0 || outerY == 0)
        return false;
    const double dx = static_cast<double>(turned.x()) - static_cast<double>(e.CX);
    const double dy = static_cast<double>(turned.y()) - static_cast<double>(e.CY);
    const double inner = dx * dx / (innerX * innerX) + dy * dy / (innerY * innerY);
    const double outer = dx * dx / (outerX * outerX) + dy * dy / (outerY * outerY);
    return inner >= 0.95 && outer <= 1.05;
}

bool TBoxMapCom::HitOutline(QPoint p) const
{
    const QPoint topLeft = GetTopLeft();
    const QPoint bottomRight = GetBottomRight();
    const QPoint ring[5] = {
        WorldToScreen(topLeft, true),
        WorldToScreen(QPoint(bottomRight.x(), topLeft.y()), true),
        WorldToScreen(bottomRight, true),
        WorldToScreen(QPoint(topLeft.x(), bottomRight.y()), true),
        WorldToScreen(topLeft, true),
    };
    const double px = p.x();
    const double py = p.y();
    for (int i = 1; i < 5; ++i) {
        const QPoint s0 = ring[i - 1];
        const QPoint s1 = ring[i];
        const bool xIn = s1.x() == s0.x() || (std::min(s0.x(), s1.x()) <= p.x() && p.x() <= std::max(s0.x(), s1.x()));
        const bool yIn = s1.y() == s0.y() || (std::min(s0.y(), s1.y()) <= p.y() && p.y() <= std::max(s0.y(), s1.y()));
        if (!xIn || !yIn)
            continue;
        bool hits = false;
        if (s1 == s0) {
            // An edge of no length (a box of no width or height) is a point:
            // without extent it would catch a whole line of the screen.
            hits = platform::Round(std::hypot(px - s0.x(), py - s0.y())) < OutlineTolerance;
        } else if (s1.x() == s0.x()) {
            hits = std::abs(px - s0.x()) < OutlineTolerance;
        } else if (s1.y() == s0.y()) {
            hits = std::abs(py - s0.y()) < OutlineTolerance;
        } else {
            const float k = static_cast<float>(static_cast<double>(s1.y()) - s0.y())
                            / static_cast<float>(static_cast<double>(s1.x()) - s0.x());
            const float b = static_cast<float>(s0.y()) - static_cast<float>(s0.x()) * k;
            const double distance = std::abs(k * px - py + b) / std::sqrt(static_cast<double>(k) * k + 1);
            hits = platform::Round(distance) < OutlineTolerance;
        }
        if (hits)
            return true;
    }
    return false;
}

void TBoxMapCom::SetDrawPen(platform::Canvas& canvas, std::uint8_t mode) const
{
    canvas.Pen = OwnPen.DrawnValue();
    if (mode != drawmode::Normal) {
        canvas.Pen.Color = platform::clRed;
        canvas.Pen.Mode = platform::TPenMode::pmNotXor;
    } else {
        canvas.Pen.Mode = platform::TPenMode::pmCopy;
    }
}

void TBoxMapCom::WriteCorners(QDataStream& stream, bool normalised) const
{
    const QPoint first = normalised ? GetTopLeft() : Corner1;
    const QPoint second = normalised ? GetBottomRight() : Corner2;
    const QPoint corners[2] = {first, second};
    WritePoints(stream, corners);
}

void TBoxMapCom::ReadCorners(QDataStream& stream)
{
    QPoint corners[2];
    ReadPoints(stream, corners);
    if (stream.status() != QDataStream::Ok)
        return;
    Corner1 = corners[0];
    Corner2 = corners[1];
}

} // namespace siteplan
