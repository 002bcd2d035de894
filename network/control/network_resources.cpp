// Resource rows, day lines and the screen painting of the top layer.
#include "network/control/vyr_network.h"

#include "network/drawing/vyr_draw_tool.h"

#include "platform/numbers.h"

#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace network {

namespace {

const QString kLabelColumnText = QStringLiteral("工程进度");
constexpr platform::TColor kExportDayLineColor = 0xE6E6E6;

} // namespace

std::vector<float> TVYRNetwork::ResourceDays() const
{
    const float total = GetTotalTime();
    if (!std::isfinite(total) || total < 0.0f || std::ceil(double(total)) > double(MaxResourceDays))
        return {};
    return std::vector<float>(static_cast<std::size_t>(std::ceil(double(total))) + 1, 0.0f);
}

void TVYRNetwork::AccumulateResource(std::vector<float>& values, std::int64_t highest, int kind) const
{
    highest = std::min<std::int64_t>(highest, static_cast<std::int64_t>(values.size()) - 1);
    for (int i = 0; i < Works().Count(); ++i) {
        const TWorkItem& work = *Works().Items(i);
        const float d = work.ContinueTime();
        const float v = kind == 0 ? work.Labor() : static_cast<float>(work.Workforce());
        if (d == 0.0f || !(v > 0.0f) || !std::isfinite(d) || !std::isfinite(v))
            continue;
        const TNodeItem* start = Nodes().FindByNewID(work.PriorNode());
        if (!start)
            continue;
        const double f = double(GetNodeEarliest(start)) - work.ParallelTime() + work.Diapause();
        const double e = f + d;
        if (!std::isfinite(f) || !std::isfinite(e) || std::fabs(f) > 1e15 || std::fabs(e) > 1e15)
            continue;
        const std::int64_t c = platform::Trunc(f);
        const std::int64_t te = platform::Trunc(e);
        const std::int64_t end = std::fabs(double(te) - e) <= 0.01 ? te : te + 1;
        if (end < c + 1)
            continue;
        const double rate = double(v) / d;
        const std::int64_t from = std::max<std::int64_t>(c + 1, 1);
        const std::int64_t to = std::min(end, highest);
        for (std::int64_t j = from; j <= to; ++j) {
            double k = 1.0;
            // The first day counts the part the work covers, also when the
            // work ends inside it.
            if (j == c + 1)
                k = std::min(double(c) - f + 1.0, e - f);
            else if (j == end)
                k = e - double(end) + 1.0;
            values[static_cast<std::size_t>(j)] += static_cast<float>(rate * k);
        }
    }
}

void TVYRNetwork::DrawResourceRow(const std::vector<float>& values, std::int64_t highest, bool withCaption, int y,
                                  const QString& caption, int x, platform::Canvas& canvas)
{
    highest = std::min<std::int64_t>(highest, static_cast<std::int64_t>(values.size()) - 1);
    const int rh = m_resourceHeight;
    canvas.Font = TVYRNetworkAddDraw::Font();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (withCaption) {
        const int width = canvas.TextWidth(kLabelColumnText);
        DrawFramedText(canvas, QRect(x, y, width, rh + 1), caption);
        x += width;
    }
    const double total = GetTotalTime();
    canvas.Pen.Color = RulerLineColor();
    canvas.Pen.Width = 1;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.MoveTo(x, y);
    canvas.LineTo(AxisX(x, total), y);
    float vmax = 0.0f;
    for (std::int64_t i = 0; i <= highest; ++i)
        if (std::isfinite(values[static_cast<std::size_t>(i)]))
            vmax = std::max(vmax, values[static_cast<std::size_t>(i)]);
    if (!(vmax > 0.0f))
        return;
    const std::int64_t k = static_cast<std::int64_t>(std::ceil(double(vmax)));
    const std::int64_t top = (k + 3) / 4 * 4;
    const double s = double(rh - 8) / double(top);
    auto level = [&](double value) {
        return platform::SaturateInt(std::int64_t{y} + rh - platform::Round(s * value) - 1);
    };
    const int half = canvas.TextHeight(QStringLiteral("8")) / 2;
    for (int i = 1; i <= 4; ++i) {
        const std::int64_t value = i * (top / 4);
        const int ym = level(double(value));
        canvas.MoveTo(x, ym);
        canvas.LineTo(x + 5, ym);
        canvas.TextOut(x + 6, ym - half, QString::number(value));
    }
    TPointList points;
    for (std::int64_t i = 0; i <= highest; ++i) {
        const float value = values[static_cast<std::size_t>(i)];
        const QPoint p(AxisX(x, std::min(double(i), total)), level(std::isfinite(value) ? value : 0.0));
        if (i >= 2 && p.y() != points.back().y())
            points.push_back(QPoint(points.back().x(), p.y()));
        points.push_back(p);
    }
    if (points.size() >= 2)
        points[0].ry() = points[1].y();
    canvas.Pen.Color = m_resourceColor;
    canvas.Polyline(points);
}

void TVYRNetwork::DrawDayLines(platform::Canvas& canvas, int x, bool withLabel, int top, float span, int bottom)
{
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.Font = TVYRNetworkAddDraw::Font();
    if (withLabel)
        x += canvas.TextWidth(kLabelColumnText);
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = platform::TPenStyle::psDot;
    canvas.Pen.Color = &canvas == Canvas() ? platform::clGray : kExportDayLineColor;
    if (std::isfinite(span) && span >= 0.0f) {
        // Only the days that reach the clip are drawn; the axis rises with
        // the day, so the first one is found by bisection.
        const QRect clip = canvas.ClipRect();
        const std::int64_t lastDay = std::min<std::int64_t>(platform::Trunc(span), MaxResourceDays);
        std::int64_t low = 0;
        std::int64_t high = lastDay + 1;
        while (low < high) {
            const std::int64_t mid = low + (high - low) / 2;
            if (AxisX(x, double(mid)) < clip.left())
                low = mid + 1;
            else
                high = mid;
        }
        for (std::int64_t day = low; day <= lastDay; ++day) {
            const int xd = AxisX(x, double(day));
            if (xd > clip.right())
                break;
            canvas.MoveTo(xd, bottom);
            canvas.LineTo(xd, top + 1);
        }
    }
    canvas.Pen.Style = platform::TPenStyle::psSolid;
}

void TVYRNetwork::Paint()
{
    platform::Canvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->Brush.Color = Color();
    canvas->Pen.Mode = platform::TPenMode::pmCopy;
    const int x0 = TimeToX(0.0f);
    const std::int64_t last = (std::int64_t{m_width - LeftLankWidth()} / SmallWidth() + 1) * SmallDate() + StartJinDu() - 1;
    const float span = static_cast<float>(last);
    // Rows outside the clip are skipped: they would draw no pixel there.
    const QRect clip = canvas->ClipRect();
    int y = 0;
    for (int member = tsSchedule; member <= tsDay; ++member)
        if (m_topStyle & (1u << member)) {
            if (y <= clip.bottom() + 1 && y + m_scheduleHeight + 1 >= clip.top())
                DrawRulerRow(static_cast<TTableTopStyleMember>(member), *canvas, x0, true, y, span);
            y += m_scheduleHeight;
        }
    if (m_showDayLine)
        DrawDayLines(*canvas, x0, true, y, span, m_height + 1);
    if (y <= 0) {
        TVYRNetworkAddDraw::Paint();
        return;
    }
    // Works and nodes scrolled up past the first row are cut off at the
    // rulers' bottom edge instead of covering them. The clip is set in the
    // canvas's device pixels and put back as its box afterwards.
    const QTransform device = canvas->WorldTransform();
    const QRect below = clip & QRect(QPoint(clip.left(), y), QPoint(clip.right(), std::max(clip.bottom(), y)));
    canvas->SetClipRegion(QRegion(device.mapRect(below)));
    TVYRNetworkAddDraw::Paint();
    canvas->SetClipRegion(QRegion(device.mapRect(clip)));
}

} // namespace network
