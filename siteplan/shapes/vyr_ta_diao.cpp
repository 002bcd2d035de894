#include "vyr_ta_diao.h"

#include "siteplan/plan_records.h"
#include "siteplan/plane_map.h"

#include "platform/numbers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace siteplan {

namespace {

QPoint SaturatedPoint(std::int64_t x, std::int64_t y)
{
    return {platform::SaturateInt(x), platform::SaturateInt(y)};
}

double TenthsToRadians(std::int64_t angle)
{
    return static_cast<double>(angle) / 1800 * std::numbers::pi;
}

} // namespace

TVyrTaDiao::TVyrTaDiao(TPlaneMap* map, std::span<const QPoint> points) : TVyrMapCom(map, points)
{
    MapID = Kind;
    OwnPen.Assign(map->DefaultPen);
    SetPen(&OwnPen);
}


QPoint TVyrTaDiao::OnArmCircle(std::int64_t angle) const
{
    const double a = TenthsToRadians(angle);
    return {platform::RoundInt(std::cos(a) * ArmLength + BasePoint.x()),
            platform::RoundInt(std::sin(a) * ArmLength + BasePoint.y())};
}

TVyrTaDiao::TOutline TVyrTaDiao::Outline() const
{
    return Kept().World;
}

const TVyrTaDiao::TKeptOutline& TVyrTaDiao::Kept() const
{
    const TPlaneMap& map = *PlaneMap();
    const std::array<std::int64_t, 13> key{BasePoint.x(), BasePoint.y(), ArmLength, CounterJibLength, JibAngle,
                                           BaseWidth, BaseHeight, CounterweightSize, ArcBefore, ArcAfter,
                                           std::bit_cast<std::int32_t>(map.ScaleFactor()), map.Origin.x(),
                                           map.Origin.y()};
    if (kept_.Known && kept_.Key == key)
        return kept_;
    TOutline o = LinesOutline();
    o[ArcLimitA] = OnArmCircle(std::int64_t{JibAngle} - ArcBefore);
    o[ArcLimitB] = OnArmCircle(std::int64_t{JibAngle} + ArcAfter);
    kept_.World = o;
    for (QPoint& p : o)
        p = WorldToScreen(p, false);
    kept_.Screen = o;
    kept_.Key = key;
    kept_.Known = true;
    return kept_;
}

TVyrTaDiao::TOutline TVyrTaDiao::LinesOutline() const
{
    const std::int64_t bx = BasePoint.x();
    const std::int64_t by = BasePoint.y();
    const std::int64_t halfWidth = BaseWidth / 2;
    const std::int64_t halfHeight = BaseHeight / 2;
    const std::int64_t half = CounterweightSize / 2;
    const std::int64_t quarter = CounterweightSize / 4;
    const std::int64_t counterJib = CounterJibLength;
    const std::int64_t arm = ArmLength;
    // Offsets from BasePoint before turning (exact in a double), turned by
    // the jib's angle about BasePoint.
    const double angle = TenthsToRadians(JibAngle);
    const double cs = std::cos(angle);
    const double sn = std::sin(angle);
    const auto turned = [this, cs, sn](std::int64_t dx, std::int64_t dy) {
        const auto x = static_cast<double>(dx);
        const auto y = static_cast<double>(dy);
        return QPoint(platform::RoundInt(BasePoint.x() + cs * x - sn * y),
                      platform::RoundInt(BasePoint.y() + sn * x + cs * y));
    };
    TOutline o;
    o[P0] = SaturatedPoint(bx - halfWidth, by - halfHeight);
    o[P1] = SaturatedPoint(bx + halfWidth, by - halfHeight);
    o[P2] = SaturatedPoint(bx + halfWidth, by + halfHeight);
    o[P3] = SaturatedPoint(bx - halfWidth, by + halfHeight);
    o[Q0] = turned(-half - counterJib, -half);
    o[Q1] = turned(half - counterJib, -half);
    o[Q2] = turned(half - counterJib, half);
    o[Q3] = turned(-half - counterJib, half);
    o[R0] = turned(half - counterJib, quarter);
    o[R1] = turned(half - counterJib, -quarter);
    o[Tip] = turned(arm, 0);
    o[ArmBoxTopLeft] = SaturatedPoint(bx - arm, by - arm);
    o[ArmBoxBottomRight] = SaturatedPoint(bx + arm, by + arm);
    return o;
}

TRect TVyrTaDiao::GetBounds() const
{
    // The square of Outline(), without turning the other points.
    const std::int64_t arm = ArmLength;
    const QPoint topLeft = SaturatedPoint(std::int64_t{BasePoint.x()} - arm, std::int64_t{BasePoint.y()} - arm);
    const QPoint bottomRight = SaturatedPoint(std::int64_t{BasePoint.x()} + arm, std::int64_t{BasePoint.y()} + arm);
    // Normalised, so that a negative arm length from a file still spans the
    // arm's circle.
    return TRect::Spanning(WorldToScreen(topLeft, false), WorldToScreen(bottomRight, false));
}

bool TVyrTaDiao::HitTest(QPoint p) const
{
    const TOutline o = Outline();
    const QPoint base[] = {o[P0], o[P1], o[P3], o[P0], o[P2], o[P3], o[P1], o[P2]};
    const QPoint square[] = {o[Q0], o[Q1], o[Q2], o[Q3], o[Q0]};
    const QPoint jib[] = {o[R0], o[Tip], o[R1]};
    QPoint hit;
    int segment = 0;
    return HitPolyline(p, base, hit, segment) || HitPolyline(p, square, hit, segment)
           || HitPolyline(p, jib, hit, segment);
}

bool TVyrTaDiao::InRect(const TRect& r) const
{
    const TRect b = GetBounds();
    return std::max(r.Left, b.Left) < std::min(r.Right, b.Right) && std::max(r.Top, b.Top) < std::min(r.Bottom, b.Bottom);
}

void TVyrTaDiao::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    TVyrMapCom::Draw(canvas, mode);
    canvas.Pen = OwnPen.DrawnValue();
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const TOutline& s = Kept().Screen;
    const QPoint base[] = {s[P0], s[P1], s[P3], s[P0], s[P2], s[P3], s[P1], s[P2]};
    const QPoint square[] = {s[Q0], s[Q1], s[Q2], s[Q3], s[Q0]};
    const QPoint jib[] = {s[R0], s[Tip], s[R1]};
    canvas.Polyline(base);
    canvas.Polyline(square);
    canvas.Polyline(jib);
    const TRect arm = TRect::Spanning(s[ArmBoxTopLeft], s[ArmBoxBottomRight]);
    canvas.Arc(arm.Left, arm.Top, arm.Right, arm.Bottom, s[ArcLimitB].x(), s[ArcLimitB].y(), s[ArcLimitA].x(),
               s[ArcLimitA].y());
}

void TVyrTaDiao::DrawCreating(platform::Canvas& canvas, int /*pointCount*/)
{
    Draw(canvas, drawmode::Selected);
}

QPoint TVyrTaDiao::GetPointPos(int index) const
{
    const TOutline o = Outline();
    switch (index) {
    case TipHandle:
        return WorldToScreen(o[Tip], true);
    case ArcLimitAHandle:
        return WorldToScreen(o[ArcLimitA], true);
    case ArcLimitBHandle:
        return WorldToScreen(o[ArcLimitB], true);
    default:
        return {};
    }
}

int TVyrTaDiao::GetPointCursor(int /*index*/) const
{
    return platform::cursor::kSizeAll;
}

void TVyrTaDiao::MovePoint(int index, QPoint p)
{
    const QPoint w = ScreenToWorld(p, true);
    // Where w falls on BasePoint the direction is unknown: the angles keep
    // their values.
    const bool hasDirection = w != BasePoint;
    switch (index) {
    case TipHandle: {
        const double dx = static_cast<double>(std::int64_t{w.x()} - BasePoint.x());
        const double dy = static_cast<double>(std::int64_t{w.y()} - BasePoint.y());
        ArmLength = platform::RoundInt(std::sqrt(dx * dx + dy * dy));
        JibAngle = PointAngle(BasePoint, w, JibAngle);
        break;
    }
    case ArcLimitAHandle:
        if (hasDirection)
            ArcBefore = platform::SaturateInt(std::int64_t{JibAngle} - PointAngle(BasePoint, w, 0));
        break;
    case ArcLimitBHandle:
        if (hasDirection)
            ArcAfter = platform::SaturateInt(std::int64_t{PointAngle(BasePoint, w, 0)} - JibAngle);
        break;
    default:
        return;
    }
    DoMapHint(QStringLiteral("塔吊臂长度：%1m").arg(platform::Round(ArmLength / 10000.0)));
}

void TVyrTaDiao::MoveWorld(QPoint delta)
{
    BasePoint = SaturatedPoint(std::int64_t{BasePoint.x()} + delta.x(), std::int64_t{BasePoint.y()} + delta.y());
}

int TVyrTaDiao::GetPaintMargin() const
{
    const TRect b = GetBounds();
    const TOutline& o = Kept().Screen;
    // How far the drawn lines reach beyond the arm's square; the arc lies on
    // its circle.
    std::int64_t reach = 0;
    for (int i = P0; i <= Tip; ++i) {
        const QPoint s = o[static_cast<std::size_t>(i)];
        reach = std::max({reach, std::int64_t{b.Left} - s.x(), std::int64_t{s.x()} - b.Right,
                          std::int64_t{b.Top} - s.y(), std::int64_t{s.y()} - b.Bottom});
    }
    // Half the drawn pen and its round end beyond the points.
    const int pen = std::clamp(OwnPen.Width(), 1, TMapPen::MaxDrawnWidth);
    reach += pen / 2 + 1;
    // The plan adds the margin to the bounds: the frame stays within the
    // screen range however far a damaged file puts the points.
    const std::int64_t edge = std::max({std::abs(std::int64_t{b.Left}), std::abs(std::int64_t{b.Right}),
                                        std::abs(std::int64_t{b.Top}), std::abs(std::int64_t{b.Bottom})});
    const std::int64_t room = std::max<std::int64_t>(0, ScreenLimit - 64 - edge);
    return static_cast<int>(std::max<std::int64_t>(GetSelectMargin(), std::min(reach, room)));
}

void TVyrTaDiao::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    stream << ArmLength << CounterJibLength << JibAngle << BaseWidth << BaseHeight << CounterweightSize << ArcBefore
           << ArcAfter;
}

void TVyrTaDiao::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    std::int32_t v[8] = {};
    for (std::int32_t& value : v)
        stream >> value;
    if (stream.status() != QDataStream::Ok)
        return;
    ArmLength = v[0];
    CounterJibLength = v[1];
    JibAngle = v[2];
    BaseWidth = v[3];
    BaseHeight = v[4];
    CounterweightSize = v[5];
    ArcBefore = v[6];
    ArcAfter = v[7];
}

} // namespace siteplan
