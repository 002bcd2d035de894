#include "vyr_wei_qiang.h"

#include "siteplan/plan_records.h"
#include "siteplan/segment_geometry.h"
#include "siteplan/shape_property_editor.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace siteplan {

namespace {

// A pen wider than any plan uses (a damaged file's) counts as this many
// pixels for the length of the ticks.
constexpr int MaxTickPen = 1024;

int TickPen(int width)
{
    return std::clamp(width, 0, MaxTickPen);
}

} // namespace

TVYRWeiQiang::TVYRWeiQiang(TPlaneMap* map, std::span<const QPoint> points) : TPointListMapCom(map, points)
{
    MapID = Kind;
}

void TVYRWeiQiang::SetLineType(std::uint16_t value)
{
    if (value == FLineType)
        return;
    FLineType = value;
    Changed();
}

void TVYRWeiQiang::Draw(platform::Canvas& canvas, std::uint8_t mode)
{
    if (PointCount() == 0)
        return;
    TVyrMapCom::Draw(canvas, mode);
    const std::vector<QPoint> screen = ScreenPoints();
    SetDrawPen(canvas, mode);
    canvas.Polyline(screen);
    DrawTicks(canvas, screen, TickLength, TickSpacing);
}

int TVYRWeiQiang::GetPaintMargin() const
{
    return GetSelectMargin() + TickLength + TickPen(OwnPen.Width());
}

void TVYRWeiQiang::EditProperty()
{
    TShapePropertyEditor* editor = PropertyEditor();
    if (editor && editor->EditPen(OwnPen, QString()))
        PropertiesEdited();
}

void TVYRWeiQiang::SaveToStream(QDataStream& stream) const
{
    TVyrMapCom::SaveToStream(stream);
    WritePen(stream, OwnPen);
    stream << quint16(FLineType);
    WritePointList(stream);
}

void TVYRWeiQiang::LoadFromStream(QDataStream& stream)
{
    TVyrMapCom::LoadFromStream(stream);
    ReadPen(stream, OwnPen);
    if (!HasBytes(stream, 2)) {
        RefuseRecord(stream);
        return;
    }
    quint16 lineType = 0;
    stream >> lineType;
    FLineType = lineType;
    ReadPointList(stream);
}

void DrawTicks(platform::Canvas& canvas, std::span<const QPoint> points, int tickLength, int spacing)
{
    if (points.size() < 2 || spacing <= 0)
        return;
    const int pen = TickPen(canvas.Pen.Width);
    const std::int64_t length = std::int64_t{tickLength} + pen;
    // A tick stands across its segment: along the segment it reaches only
    // half the pen's width, and each one drawn is tested on its own.
    const std::int64_t stroke = pen / 2 + 2;
    const TVisibleArea visible = VisibleArea(canvas, stroke);
    const auto at = [](QPoint origin, double cs, double sn, std::int64_t d) {
        const double t = static_cast<double>(d);
        return QPoint(platform::SaturateInt(origin.x() + platform::Round(cs * t)),
                      platform::SaturateInt(origin.y() - platform::Round(sn * t)));
    };
    // Pixels of path since the last tick.
    std::int64_t carry = 0;
    // The ends of the ticks, drawn together.
    std::vector<QPoint> ticks;
    QPoint a = points[0];
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPoint b = points[i];
        const double dx = static_cast<double>(b.x()) - a.x();
        const double dy = static_cast<double>(b.y()) - a.y();
        const std::int64_t len = platform::Round(std::sqrt(dx * dx + dy * dy));
        if (len == 0)
            continue;
        const double theta = SegmentAngle(a, b);
        const double cs = std::cos(theta);
        const double sn = std::sin(theta);
        const double l = static_cast<double>(length);
        const QPoint o(platform::SaturateInt(a.x() - platform::Round(sn * l)),
                       platform::SaturateInt(a.y() - platform::Round(cs * l)));
        // Tick k stands at spacing k - carry along the segment, for every
        // k from 1 before kStop, the first that reaches the segment's end.
        const std::int64_t kStop = std::max<std::int64_t>(1, CeilDiv(len + carry, spacing));
        std::int64_t seenFrom = 0;
        std::int64_t seenTo = 0;
        VisibleStretch(visible, a, theta, seenFrom, seenTo);
        const std::int64_t kFrom = std::max<std::int64_t>(1, CeilDiv(seenFrom + carry, spacing));
        const std::int64_t kTo = std::min(kStop - 1, FloorDiv(seenTo + carry, spacing));
        for (std::int64_t k = kFrom; k <= kTo; ++k) {
            const std::int64_t d = spacing * k - carry;
            const QPoint from = at(a, cs, sn, d);
            const QPoint to = at(o, cs, sn, d);
            if (std::max(from.x(), to.x()) < visible.Left || std::min(from.x(), to.x()) > visible.Right
                || std::max(from.y(), to.y()) < visible.Top || std::min(from.y(), to.y()) > visible.Bottom)
                continue;
            ticks.push_back(from);
            ticks.push_back(to);
        }
        carry = len - (spacing * kStop - carry) + spacing;
        a = b;
    }
    canvas.Segments(ticks);
}

} // namespace siteplan
