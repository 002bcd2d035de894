// The time-scale ruler rows, the picture frame and the picture size.
#include "network/control/vyr_network.h"

#include "network/drawing/vyr_draw_tool.h"

#include "platform/date_serial.h"
#include "platform/numbers.h"
#include "platform/painter_canvas.h"

#include <QDate>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace network {

namespace {

const QString kLabelColumnText = QStringLiteral("工程进度");

// Rows covering more working days than this are not drawn: no picture or
// screen holds them, and the loops run per day.
constexpr std::int64_t kMaxRulerDays = 1'000'000;

std::int64_t WholeDays(float days)
{
    if (!std::isfinite(days) || days <= 0.0f)
        return 0;
    return static_cast<std::int64_t>(std::ceil(static_cast<double>(days)));
}

std::int64_t Saturated(__int128 v)
{
    return static_cast<std::int64_t>(std::clamp<__int128>(v, INT64_MIN, INT64_MAX));
}

const QString kWeekdays[] = {QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                             QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六")};

} // namespace

platform::Canvas& TVYRNetwork::MeasureBitmap()
{
    if (!m_measureBitmap) {
        m_measureImage = QImage(1, 1, QImage::Format_RGB32);
        m_measureBitmap = std::make_unique<platform::PainterCanvas>(m_measureImage);
    }
    m_measureBitmap->Font = TVYRNetworkAddDraw::Font();
    return *m_measureBitmap;
}

int TVYRNetwork::RowCount(TTableTopStyle style) { return std::popcount(static_cast<unsigned>(style & TableTopStyleAll)); }

int TVYRNetwork::ResourceRowCount(TResourceStyle style)
{
    return std::popcount(static_cast<unsigned>(style & ResourceStyleAll));
}

int TVYRNetwork::MarginToPixels(int mm)
{
    return static_cast<int>(platform::Round(96.0 * mm / 25.4 + 0.5));
}

int TVYRNetwork::AxisX(int x0, double t) const
{
    const double shifted = ShiftTime(static_cast<float>(t), true);
    // Far beyond the int range either way the edge saturates; bounding the
    // step first keeps the sum itself from overflowing.
    constexpr std::int64_t kFar = std::int64_t{1} << 40;
    const std::int64_t step = std::clamp(platform::Trunc(shifted / SmallDate() * SmallWidth()), -kFar, kFar);
    return platform::SaturateInt(std::int64_t{x0} + step);
}

int TVYRNetwork::RowStart(platform::Canvas& canvas, int x, bool withLabel, int y, const QString& label)
{
    canvas.Font = TVYRNetworkAddDraw::Font();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (!withLabel)
        return x;
    const int width = canvas.TextWidth(kLabelColumnText);
    DrawFramedText(canvas, QRect(x, y, width, m_scheduleHeight), label);
    return platform::SaturateInt(std::int64_t{x} + width);
}

void TVYRNetwork::DrawFramedText(platform::Canvas& canvas, const QRect& rect, const QString& text)
{
    DrawTextInRect(canvas, rect, text, 2, 1, -1);
    const platform::TBrush brush = canvas.Brush;
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
    canvas.Brush.Color = RulerLineColor();
    canvas.FrameRect(rect.adjusted(0, 0, 1, 1));
    canvas.Brush = brush;
}

void TVYRNetwork::DrawCell(platform::Canvas& canvas, int left, int right, int y, const QString& text)
{
    // Edges saturate at the ends of the int range (a huge idle offset puts
    // them there): the width is taken in 64 bits and kept inside the range.
    constexpr int kMin = std::numeric_limits<int>::min() + 2;
    constexpr int kMax = std::numeric_limits<int>::max() - 2;
    const int l = std::clamp(left, kMin, kMax);
    const std::int64_t width = std::clamp<std::int64_t>(std::int64_t{right} - l, 0, std::int64_t{kMax} - std::max(l, 0));
    DrawFramedText(canvas, QRect(l, y, static_cast<int>(width), m_scheduleHeight), text);
}

std::int64_t TVYRNetwork::FirstDayReaching(platform::Canvas& canvas, int x0, std::int64_t last, int reach) const
{
    if (&canvas != Canvas())
        return 0;
    // The axis rises with the day: the first day at or right of the clip's
    // left edge (less reach) is found by bisection.
    const std::int64_t edge = std::int64_t{canvas.ClipRect().left()} - reach;
    std::int64_t low = 0;
    std::int64_t high = last;
    while (low < high) {
        const std::int64_t mid = low + (high - low) / 2;
        if (AxisX(x0, static_cast<double>(mid)) < edge)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

int TVYRNetwork::ClipRightOf(platform::Canvas& canvas) const
{
    return &canvas == Canvas() ? canvas.ClipRect().right() : std::numeric_limits<int>::max();
}

void TVYRNetwork::DrawScheduleRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    const int x0 = RowStart(canvas, x, withLabel, y, kLabelColumnText);
    const std::int64_t last = WholeDays(days);
    if (last > kMaxRulerDays)
        return;
    const int h = m_scheduleHeight;
    const int interval = m_scheduleInterval;
    auto tick = [&](std::int64_t t) {
        if (t == 0 || t >= last)
            return h / 2;
        return t % (interval / 2) == 0 ? h / 3 : h / 5;
    };
    // On the screen only the days that reach the clip are drawn: from the
    // day before the first one a number centred on it could reach, to the
    // first day right of the clip (its edge lines lie outside the clip).
    const int reach = canvas.TextWidth(QString::number(last)) + 2;
    const std::int64_t first = std::max<std::int64_t>(FirstDayReaching(canvas, x0, last, reach) - 1, 0);
    const std::int64_t clipRight = std::int64_t{ClipRightOf(canvas)} + reach;
    std::int64_t end = first;
    while (end < last && AxisX(x0, static_cast<double>(end)) <= clipRight)
        ++end;
    const int bottom = y + h;
    TPointList line;
    line.reserve(static_cast<std::size_t>(end - first + 1) * 6 + 2);
    struct Number {
        int x;
        std::int64_t t;
    };
    std::vector<Number> numbers;
    int previousX = first == 0 ? 0 : AxisX(x0, static_cast<double>(first - 1));
    for (std::int64_t t = first; t <= end; ++t) {
        const int xt = AxisX(x0, static_cast<double>(t));
        line.push_back(QPoint(xt, y));
        if (t == end) {
            line.push_back(QPoint(xt, bottom));
        } else {
            line.push_back(QPoint(xt, y + tick(t)));
            line.push_back(QPoint(xt, y));
        }
        if (t > 0 && t % interval == 0 && xt != previousX)
            numbers.push_back({xt, t});
        previousX = xt;
    }
    for (std::int64_t t = end - 1; t >= first; --t) {
        const int xt = AxisX(x0, static_cast<double>(t));
        line.push_back(QPoint(xt, bottom));
        line.push_back(QPoint(xt, bottom - tick(t)));
        line.push_back(QPoint(xt, bottom));
    }
    canvas.Pen.Color = RulerLineColor();
    canvas.Pen.Width = 1;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Polyline(line);
    for (const Number& n : numbers)
        DrawTextCentered(canvas, QPoint(n.x, y + h / 2), QString::number(n.t));
}

// kind 0 years, 1 months, 2 ten-day periods.
void TVYRNetwork::DrawCalendarCells(platform::Canvas& canvas, int x0, int y, float days, int kind)
{
    const std::int64_t d = WholeDays(days);
    if (d > kMaxRulerDays)
        return;
    const auto start = platform::SerialToDate(StartDate());
    const auto end = platform::SerialToDate(WorkDayToDate(d, StartDate()));
    if (!start || !end)
        return;
    auto edge = [&](QDate c) {
        const double serial = platform::DateToSerial(c).value_or(0);
        return AxisX(x0, CountWorkDays(StartDate(), serial));
    };
    // On the screen the cells start at the year or month before the one
    // holding the first day that reaches the clip, and stop right of it;
    // each cell's left is the right of the one before.
    QDate from = *start;
    if (const std::int64_t firstDay = FirstDayReaching(canvas, x0, d, 1); firstDay > 0)
        if (const auto date = platform::SerialToDate(WorkDayToDate(firstDay, StartDate())))
            from = std::max(*start, kind == 0 ? QDate(date->year() - 1, 1, 1) : date->addMonths(-1));
    const int clipRight = ClipRightOf(canvas);
    int left = x0;
    bool beyond = false;
    auto cell = [&](QDate c, const QString& text) {
        const int right = edge(c);
        DrawCell(canvas, left, right, y, text);
        left = right;
        beyond = left > clipRight;
    };
    if (kind == 0) {
        if (from.year() > start->year())
            left = edge(QDate(from.year() - 1, 12, 31));
        for (int year = from.year(); year <= end->year() && !beyond; ++year)
            cell(year == end->year() ? *end : QDate(year, 12, 31), QString::number(year));
        return;
    }
    const QDate firstMonth(from.year(), from.month(), 1);
    if (firstMonth > *start)
        left = edge(firstMonth.addDays(-1));
    for (QDate month = firstMonth; month <= *end && !beyond; month = month.addMonths(1)) {
        const bool lastMonth = month.year() == end->year() && month.month() == end->month();
        const QDate monthEnd = lastMonth ? *end : month.addMonths(1).addDays(-1);
        if (kind == 1) {
            cell(monthEnd, QStringLiteral("%1.%2").arg(month.year()).arg(month.month()));
            continue;
        }
        const QString names[] = {QStringLiteral("上旬"), QStringLiteral("中旬"), QStringLiteral("下旬")};
        const int ends[] = {10, 20, 31};
        for (int i = 0; i < 3; ++i) {
            QDate c(month.year(), month.month(), std::min(ends[i], month.daysInMonth()));
            if (i == 2 || c > monthEnd)
                c = monthEnd;
            cell(c, names[i]);
            if (c == monthEnd)
                break;
        }
    }
}

void TVYRNetwork::DrawYearRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    DrawCalendarCells(canvas, RowStart(canvas, x, withLabel, y, QStringLiteral("年")), y, days, 0);
}

void TVYRNetwork::DrawMonthRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    DrawCalendarCells(canvas, RowStart(canvas, x, withLabel, y, QStringLiteral("月")), y, days, 1);
}

void TVYRNetwork::DrawPeriodRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    DrawCalendarCells(canvas, RowStart(canvas, x, withLabel, y, QStringLiteral("旬")), y, days, 2);
}

void TVYRNetwork::DrawWorkWeekRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    const int x0 = RowStart(canvas, x, withLabel, y, QStringLiteral("工作周"));
    const std::int64_t d = WholeDays(days);
    if (d > kMaxRulerDays)
        return;
    const int w = 7 - (RecessDate().Contains(rdSunday) ? 1 : 0) - (RecessDate().Contains(rdSaturday) ? 1 : 0);
    const std::int64_t cells = (d + w - 1) / w;
    // On the screen from the week holding the first day that reaches the
    // clip; each cell's left is the right of the one before.
    const std::int64_t firstDay = FirstDayReaching(canvas, x0, d, 1);
    const std::int64_t first = firstDay > 0 ? (firstDay - 1) / w + 1 : 1;
    const int clipRight = ClipRightOf(canvas);
    int left = first == 1 ? x0 : AxisX(x0, static_cast<double>(std::min((first - 1) * w, d)));
    for (std::int64_t i = first; i <= cells && left <= clipRight; ++i) {
        const int right = AxisX(x0, static_cast<double>(std::min(i * w, d)));
        DrawCell(canvas, left, right, y, QString::number(i));
        left = right;
    }
}

void TVYRNetwork::DrawStepCells(platform::Canvas& canvas, int x0, int y, float days, bool weekdays)
{
    const std::int64_t d = WholeDays(days);
    if (d > kMaxRulerDays)
        return;
    const int step = SmallDate();
    const std::int64_t cells = (d + step - 1) / step;
    const int narrow = SmallWidth() - SmallWidth() / 10;
    const auto rightOf = [&](std::int64_t i) {
        return i == 0 ? x0 : AxisX(x0, static_cast<double>(std::min(i * step, d)));
    };
    // A cell no wider than narrow is merged into the next one. A cell wider
    // than that on its own is drawn whatever came before it, so on the
    // screen the loop starts after the last such cell left of the first
    // cell that reaches the clip, with its right as the next cell's left.
    std::int64_t first = 1;
    if (const std::int64_t firstDay = FirstDayReaching(canvas, x0, d, 1); firstDay > 0) {
        std::int64_t k = (firstDay - 1) / step;
        while (k > 0 && std::int64_t{rightOf(k)} - rightOf(k - 1) <= narrow)
            --k;
        first = k + 1;
    }
    const int clipRight = ClipRightOf(canvas);
    int left = rightOf(first - 1);
    for (std::int64_t i = first; i <= cells && left <= clipRight; ++i) {
        const std::int64_t end = std::min(i * step, d);
        const int right = AxisX(x0, static_cast<double>(end));
        if (std::int64_t{right} - left <= narrow && i != cells)
            continue;
        const auto date = platform::SerialToDate(WorkDayToDate(end, StartDate()));
        QString text;
        if (date)
            text = weekdays ? kWeekdays[platform::DayOfWeek(*date) - 1] : QString::number(date->day());
        DrawCell(canvas, left, right, y, text);
        left = right;
    }
}

void TVYRNetwork::DrawWeekRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    DrawStepCells(canvas, RowStart(canvas, x, withLabel, y, QStringLiteral("星期")), y, days, true);
}

void TVYRNetwork::DrawDayRow(platform::Canvas& canvas, int x, bool withLabel, int y, float days)
{
    DrawStepCells(canvas, RowStart(canvas, x, withLabel, y, QStringLiteral("日")), y, days, false);
}

void TVYRNetwork::DrawRulerRow(TTableTopStyleMember row, platform::Canvas& canvas, int x, bool withLabel, int y,
                               float days)
{
    switch (row) {
    case tsSchedule: DrawScheduleRow(canvas, x, withLabel, y, days); break;
    case tsYear: DrawYearRow(canvas, x, withLabel, y, days); break;
    case tsMoon: DrawMonthRow(canvas, x, withLabel, y, days); break;
    case tsPeriod: DrawPeriodRow(canvas, x, withLabel, y, days); break;
    case tsWorkWeek: DrawWorkWeekRow(canvas, x, withLabel, y, days); break;
    case tsWeek: DrawWeekRow(canvas, x, withLabel, y, days); break;
    case tsDay: DrawDayRow(canvas, x, withLabel, y, days); break;
    }
}

void TVYRNetwork::DrawFrame(platform::Canvas& canvas, QSize size, int& y)
{
    const int l = MarginToPixels(m_leftLank);
    const int r = MarginToPixels(m_rightLank);
    const int b = MarginToPixels(m_bottomLank);
    canvas.Pen.Color = platform::clBlack;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Mode = platform::TPenMode::pmCopy;
    canvas.Pen.Width = m_lankLineWidth / 2;
    canvas.MoveTo(l, y);
    canvas.LineTo(size.width() - r, y);
    y += m_lankLineWidth;
    canvas.Pen.Width = m_lankLineWidth;
    const QPoint corners[] = {QPoint(l, y + 1), QPoint(size.width() - r, y + 1), QPoint(size.width() - r, size.height() - b),
                              QPoint(l, size.height() - b), QPoint(l, y + 1)};
    canvas.Polyline(corners);
    y += m_lankLineWidth;
}

std::int64_t TVYRNetwork::BitMapWidth()
{
    platform::Canvas& canvas = MeasureBitmap();
    const double total = ShiftTime(GetTotalTime(), true);
    const double axis = std::isfinite(total) ? total / SmallDate() * SmallWidth() : 0.0;
    __int128 w = __int128{MarginToPixels(m_leftLank)} + MarginToPixels(m_rightLank) + 2 * __int128{m_lankLineWidth} +
                 2 * __int128{canvas.TextWidth(QStringLiteral("工程标尺"))} + platform::Trunc(axis);
    if (m_showDuty)
        w += m_dutyWidth;
    return Saturated(w);
}

std::int64_t TVYRNetwork::BitMapHeight()
{
    platform::Canvas& canvas = MeasureBitmap();
    const int h = canvas.TextHeight(Text());
    __int128 v = __int128{MarginToPixels(m_topLank)} + MarginToPixels(m_bottomLank) + 3 * __int128{m_lankLineWidth} +
                 __int128{RowCount(m_topStyle) + RowCount(m_bottomStyle)} * m_scheduleHeight + h / 2 + h +
                 (__int128{GetMaxRow()} - GetMinRow() + 2) * SmallLineSpace() + 2 * __int128{TopLinePosition()} +
                 __int128{ResourceRowCount(m_resourceStyle)} * (__int128{m_resourceHeight} + 1);
    return Saturated(v);
}

bool TVYRNetwork::BitMapSizeAllowed()
{
    const std::int64_t w = BitMapWidth();
    const std::int64_t h = BitMapHeight();
    return w > 0 && h > 0 && w <= MaxBitMapSide && h <= MaxBitMapSide;
}

} // namespace network
