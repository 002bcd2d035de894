#include "vyr_map_com.h"

#include "grab_handles.h"
#include "map_brush.h"
#include "map_pen.h"
#include "plane_map.h"
#include "text_show_set.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace siteplan {

namespace {

// Whole centimetres of the site: round(v / 100) * 100, halves to even.
std::int32_t SnapToCm(std::int32_t v)
{
    return platform::SaturateInt(platform::Round(v / 100.0) * 100);
}

} // namespace

TVyrMapCom::TVyrMapCom(TPlaneMap* map, std::span<const QPoint> points) : FPlaneMap(map)
{
    if (!points.empty())
        BasePoint = ScreenToWorld(points.front(), false);
}

TVyrMapCom::~TVyrMapCom() = default;

TRect TVyrMapCom::GetBounds() const
{
    return {0, 0, 10, 10};
}

QPoint TVyrMapCom::GetCenter() const
{
    return CenterOf(GetBounds());
}

QPoint TVyrMapCom::CenterOf(const TRect& r)
{
    const std::int64_t x = (static_cast<std::int64_t>(r.Left) + r.Right) / 2;
    const std::int64_t y = (static_cast<std::int64_t>(r.Top) + r.Bottom) / 2;
    return {static_cast<int>(x), static_cast<int>(y)};
}

void TVyrMapCom::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    ApplyRotation(canvas);
    if (mode == drawmode::Normal)
        return;
    canvas.Pen = platform::TPen{platform::clBlue, platform::TPenStyle::psDot, 1, platform::TPenMode::pmNotXor};
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const TRect frame = GetBounds().Inflated(GetSelectMargin());
    canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    if (mode == drawmode::SelectedRotating) {
        const QPoint c = GetCenter();
        canvas.MoveTo(c.x(), c.y());
        canvas.LineTo(frame.Right + 25, c.y());
    }
}

void TVyrMapCom::EditProperty()
{
    Invalidate();
}

TShapePropertyEditor* TVyrMapCom::PropertyEditor() const
{
    return FPlaneMap ? FPlaneMap->PropertyEditor() : nullptr;
}

void TVyrMapCom::PropertiesEdited()
{
    if (FPlaneMap)
        FPlaneMap->SetModified();
    TVyrMapCom::EditProperty();
}

void TVyrMapCom::DoMethod(int /*method*/, int /*kind*/, QPoint /*p*/)
{
    if (FGrabHandles)
        FGrabHandles->Resync();
    Invalidate();
    if (FPlaneMap)
        FPlaneMap->SetModified();
}

void TVyrMapCom::MoveBy(QPoint from, QPoint to)
{
    MoveWorld(ScreenToWorld(to - from, false));
}

void TVyrMapCom::SaveToStream(QDataStream& stream) const
{
    stream << MapID << RotateAngle << FlexX << FlexY << qint32(BasePoint.x()) << qint32(BasePoint.y());
}

void TVyrMapCom::LoadFromStream(QDataStream& stream)
{
    qint32 x = 0;
    qint32 y = 0;
    stream >> RotateAngle >> FlexX >> FlexY >> x >> y;
    BasePoint = QPoint(x, y);
}

QPoint TVyrMapCom::WorldToScreen(QPoint world, bool rotated) const
{
    const QPoint p = FPlaneMap->WorldToScreen(world);
    if (rotated && RotateAngle != 0)
        return RotatePoint(p, RotateRadians());
    return p;
}

QPoint TVyrMapCom::ScreenToWorld(QPoint screen, bool unrotate) const
{
    if (unrotate && RotateAngle != 0)
        screen = RotatePoint(screen, -RotateRadians());
    const QPoint w = FPlaneMap->ScreenToWorld(screen);
    return {SnapToCm(w.x()), SnapToCm(w.y())};
}

float TVyrMapCom::RotateRadians() const
{
    return static_cast<float>(RotateAngle * std::numbers::pi / 1800);
}

QPoint TVyrMapCom::RotatePoint(QPoint p, float angle) const
{
    return RotatePointAbout(p, angle, GetCenter());
}

QPoint TVyrMapCom::RotatePointAbout(QPoint p, float angle, QPoint c) const
{
    const double cs = std::cos(static_cast<double>(angle));
    const double sn = std::sin(static_cast<double>(angle));
    const double dx = static_cast<double>(p.x()) - c.x();
    const double dy = static_cast<double>(p.y()) - c.y();
    return {ScreenCoordinate(c.x() + cs * dx - sn * dy), ScreenCoordinate(c.y() + sn * dx + cs * dy)};
}

void TVyrMapCom::ApplyRotation(platform::Canvas& canvas) const
{
    // Unturned, the turn below is the identity: it is set without finding
    // the centre.
    if (RotateAngle == 0) {
        canvas.SetWorldTransform(QTransform());
        return;
    }
    const double theta = RotateRadians();
    const QPoint c = GetCenter();
    const double cs = std::cos(theta);
    const double sn = std::sin(theta);
    canvas.SetWorldTransform(QTransform(cs, sn, -sn, cs, c.x() - (c.x() * cs - c.y() * sn), c.y() - (c.x() * sn + c.y() * cs)));
}

bool TVyrMapCom::HitPolyline(QPoint p, std::span<const QPoint> points, QPoint& hit, int& segment) const
{
    if (points.size() < 2)
        return false;
    QPoint s0 = WorldToScreen(points[0], true);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPoint s1 = WorldToScreen(points[i], true);
        const bool xIn = s1.x() == s0.x() || (std::min(s0.x(), s1.x()) <= p.x() && p.x() <= std::max(s0.x(), s1.x()));
        const bool yIn = s1.y() == s0.y() || (std::min(s0.y(), s1.y()) <= p.y() && p.y() <= std::max(s0.y(), s1.y()));
        bool hits = false;
        if (xIn && yIn) {
            const double px = p.x();
            const double py = p.y();
            if (s1 == s0) {
                // A segment of no length is a point: the same 5 px around it.
                hits = platform::Round(std::hypot(px - s0.x(), py - s0.y())) < 5;
            } else if (s1.x() == s0.x()) {
                hits = std::abs(px - s0.x()) < 5;
            } else if (s1.y() == s0.y()) {
                hits = std::abs(py - s0.y()) < 5;
            } else {
                // Screen points span up to twice the screen limit: their
                // differences are taken beyond int.
                const float h = static_cast<float>(static_cast<double>(s1.y()) - s0.y())
                                / static_cast<float>(static_cast<double>(s1.x()) - s0.x());
                const float m = static_cast<float>(s0.y()) - static_cast<float>(s0.x()) * h;
                const double distance = std::abs(h * px - py + m) / std::sqrt(static_cast<double>(h) * h + 1);
                hits = platform::Round(distance) < 5;
            }
        }
        if (hits) {
            segment = static_cast<int>(i);
            hit = ScreenToWorld(p, true);
            return true;
        }
        s0 = s1;
    }
    return false;
}

void TVyrMapCom::Invalidate() const
{
    if (FPlaneMap)
        FPlaneMap->InvalidateMapCom(*this);
}

void TVyrMapCom::Changed()
{
    if (OnChanged)
        OnChanged(this);
}

void TVyrMapCom::DoMapHint(const QString& hint)
{
    if (FPlaneMap && FPlaneMap->onMapHint)
        FPlaneMap->onMapHint(this, hint);
}

void TVyrMapCom::SetPen(TMapPen* pen)
{
    FPen = pen;
    FAttributes |= attr::Pen;
}

void TVyrMapCom::SetBrush(TMapBrush* brush)
{
    FBrush = brush;
    FAttributes |= attr::Brush;
}

void TVyrMapCom::SetTextShow(TTextShowSet* textShow)
{
    FTextShow = textShow;
    FAttributes |= attr::Text;
}

TGrabHandles& TVyrMapCom::EnsureGrabHandles()
{
    if (!FGrabHandles)
        FGrabHandles = std::make_unique<TGrabHandles>(*FPlaneMap, *this);
    return *FGrabHandles;
}

std::int32_t PointAngle(QPoint centre, QPoint p, std::int32_t defaultAngle)
{
    const double vx = static_cast<double>(p.x()) - centre.x();
    const double vy = static_cast<double>(p.y()) - centre.y();
    constexpr double pi = std::numbers::pi;
    double angle = 0;
    if (vx == 0 && vy == 0)
        return defaultAngle;
    if (vx != 0 && vy != 0) {
        const double a = std::asin(vy / std::hypot(vx, vy));
        if (vx < 0)
            angle = pi - a;
        else if (a >= 0)
            angle = a;
        else
            angle = a + 2 * pi;
    } else if (vy == 0) {
        angle = vx < 0 ? pi : 0;
    } else {
        angle = vy < 0 ? 3 * pi / 2 : pi / 2;
    }
    std::int32_t result = platform::RoundInt(angle / pi * 1800);
    if (result > 3600)
        result -= 3600;
    return result;
}

} // namespace siteplan
