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

// Walls of at most this many ticks keep all of them between paints.
constexpr std::int64_t MostKeptTicks = 4096;

// How far a tick drawn with the pen can reach along its segment.
std::int64_t TickStroke(int pen)
{
    return pen / 2 + 2;
}

// Appends to ticks the ends of the ticks along points that can show in the
// visible area (see DrawTicks), pen the pen's width for the ticks.
void TickEnds(std::span<const QPoint> points, int tickLength, int spacing, int pen, const TVisibleArea& visible,
              std::vector<QPoint>& ticks)
{
    if (points.size() < 2 || spacing <= 0)
        return;
    const std::int64_t length = std::int64_t{tickLength} + pen;
    const auto at = [](QPoint origin, double cs, double sn, std::int64_t d) {
        const double t = static_cast<double>(d);
        return QPoint(platform::SaturateInt(origin.x() + platform::Round(cs * t)),
                      platform::SaturateInt(origin.y() - platform::Round(sn * t)));
    };
    // Pixels of path since the last tick.
    std::int64_t carry = 0;
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
}

// At least the number of ticks along points.
std::int64_t TickCountBound(std::span<const QPoint> points, int spacing)
{
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double dx = static_cast<double>(points[i].x()) - points[i - 1].x();
        const double dy = static_cast<double>(points[i].y()) - points[i - 1].y();
        length += std::sqrt(dx * dx + dy * dy) + 1;
    }
    return static_cast<std::int64_t>(std::min(length / spacing, 1e15)) + 1;
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
    ticks_.Draw(canvas, screen, TickLength, TickSpacing);
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
    const int pen = TickPen(canvas.Pen.Width);
    // A tick stands across its segment: along the segment it reaches only
    // half the pen's width, and each one drawn is tested on its own.
    thread_local std::vector<QPoint> ticks;
    ticks.clear();
    TickEnds(points, tickLength, spacing, pen, VisibleArea(canvas, TickStroke(pen)), ticks);
    canvas.Segments(ticks);
}

void TKeptTicks::Draw(platform::Canvas& canvas, std::span<const QPoint> points, int tickLength, int spacing)
{
    const int pen = TickPen(canvas.Pen.Width);
    if (pen != pen_ || tickLength != tickLength_ || spacing != spacing_ ||
        !std::equal(points.begin(), points.end(), points_.begin(), points_.end())) {
        points_.assign(points.begin(), points.end());
        pen_ = pen;
        tickLength_ = tickLength;
        spacing_ = spacing;
        ends_.clear();
        whole_ = spacing > 0 && TickCountBound(points, spacing) <= MostKeptTicks;
        if (whole_) {
            constexpr std::int64_t everywhere = std::int64_t{1} << 40;
            TickEnds(points, tickLength, spacing, pen, {-everywhere, -everywhere, everywhere, everywhere}, ends_);
            frame_ = QRect();
            for (const QPoint& p : ends_)
                frame_ |= QRect(p, QSize(1, 1));
        }
    }
    if (!whole_) {
        DrawTicks(canvas, points, tickLength, spacing);
        return;
    }
    if (ends_.empty())
        return;
    // Only the ticks near the visible area are drawn, as DrawTicks draws
    // them; all of them when the wall lies within it.
    const TVisibleArea visible = VisibleArea(canvas, TickStroke(pen));
    if (frame_.left() >= visible.Left && frame_.right() <= visible.Right && frame_.top() >= visible.Top &&
        frame_.bottom() <= visible.Bottom) {
        canvas.Segments(ends_);
        return;
    }
    thread_local std::vector<QPoint> seen;
    seen.clear();
    for (std::size_t i = 0; i + 1 < ends_.size(); i += 2) {
        const QPoint from = ends_[i];
        const QPoint to = ends_[i + 1];
        if (std::max(from.x(), to.x()) < visible.Left || std::min(from.x(), to.x()) > visible.Right ||
            std::max(from.y(), to.y()) < visible.Top || std::min(from.y(), to.y()) > visible.Bottom)
            continue;
        seen.push_back(from);
        seen.push_back(to);
    }
    canvas.Segments(seen);
}

} // namespace siteplan
