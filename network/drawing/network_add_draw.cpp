#include "network/drawing/network_add_draw.h"

#include "network/drawing/paint_pass.h"
#include "network/drawing/work_pieces.h"

#include "platform/date_serial.h"
#include "platform/numbers.h"
#include "platform/recording_canvas.h"

#include <QDate>

#include <cmath>

namespace network {

namespace {

const QString kLabelColumnText = QStringLiteral("工程进度");

// A new network's node numbers: green like the works' texts, so that they
// read on the black screen brush and on the white of an export alike.
platform::TFont NewNodeFont()
{
    platform::TFont font;
    font.Name = QStringLiteral("宋体");
    font.Size = 9;
    font.Color = platform::clGreen;
    return font;
}

} // namespace

TVYRNetworkAddDraw::TVYRNetworkAddDraw(platform::WindowServices& services)
    : TVYRNetworkAddNodeWork(services)
    , m_startHandle(std::make_unique<TLankPanel>(platform::cursor::kSizeAll))
    , m_endHandle(std::make_unique<TLankPanel>(platform::cursor::kSizeAll))
    , m_bendHandle(std::make_unique<TLankPanel>(platform::cursor::kSizeNS))
{
    m_startDate = platform::DateToSerial(QDate::currentDate()).value_or(0);
    m_font.Name = QStringLiteral("宋体");
    m_font.Color = platform::clBlue;
    m_font.Size = 9;
    const bool modified = Modified();
    Nodes().SetFont(NewNodeFont());
    SetModified(modified);
    for (TLankPanel* handle : {m_startHandle.get(), m_endHandle.get(), m_bendHandle.get()})
        handle->OnMouseDown = [this](TLankPanel& pressed) { HandleMoved(pressed); };
}

TVYRNetworkAddDraw::~TVYRNetworkAddDraw() = default;

void TVYRNetworkAddDraw::SetColor(platform::TColor value)
{
    m_color = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetFont(const platform::TFont& value)
{
    m_font = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetStartDate(double value)
{
    if (!platform::SerialToDate(value))
        return;
    m_startDate = value;
    Invalidate();
}

double TVYRNetworkAddDraw::EndDate() const
{
    const float total = GetTotalTime();
    std::int64_t days = platform::Trunc(total);
    if (std::isfinite(total) && std::trunc(total) != total)
        ++days;
    return WorkDayToDate(days, m_startDate);
}

void TVYRNetworkAddDraw::SetStartJinDu(int value)
{
    m_startJinDu = value;
    if (!Loading())
        BuildOffsetColumns();
    Invalidate();
}

void TVYRNetworkAddDraw::SetTopLineID(int value)
{
    m_topLineID = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetTopLinePosition(int value)
{
    m_topLinePosition = value;
    Invalidate();
}

int TVYRNetworkAddDraw::SmallMove()
{
    int m = m_smallWidth / m_smallDate + (m_smallWidth % m_smallDate ? 1 : 0);
    if (m % 2)
        ++m;
    m_smallWidth = platform::SaturateInt(std::int64_t{m_smallDate} * m);
    return m;
}

int TVYRNetworkAddDraw::RulerHeight()
{
    platform::Canvas& canvas = MeasureCanvas();
    canvas.Font = m_font;
    const int h = canvas.TextHeight(kLabelColumnText);
    return h + h / 2;
}

void TVYRNetworkAddDraw::SetRulerLineColor(platform::TColor value)
{
    m_rulerLineColor = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetSmallWidth(int value)
{
    if (value < 1)
        return;
    m_smallWidth = value;
    if (!Loading())
        BuildOffsetColumns();
    Invalidate();
}

void TVYRNetworkAddDraw::SetSmallDate(int value)
{
    if (value < 1)
        return;
    m_smallDate = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetSmallLineSpace(int value)
{
    if (value < 1)
        return;
    m_smallLineSpace = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetRecessDate(TRecessDate value)
{
    m_recessDate = value;
    Invalidate();
}

int TVYRNetworkAddDraw::LeftLankWidth()
{
    platform::Canvas& canvas = MeasureCanvas();
    canvas.Font = m_font;
    const int w = canvas.TextWidth(kLabelColumnText);
    if (w % m_smallWidth == 0)
        return w;
    return platform::SaturateInt((std::int64_t{w} / m_smallWidth + 1) * m_smallWidth);
}

void TVYRNetworkAddDraw::SetWorkLimit(float value)
{
    m_workLimit = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetShowRedFlag(bool value)
{
    if (m_showRedFlag == value)
        return;
    m_showRedFlag = value;
    Invalidate();
}

void TVYRNetworkAddDraw::SetRedFlagColor(platform::TColor value)
{
    if (m_redFlagColor == value)
        return;
    m_redFlagColor = value;
    Invalidate();
}

bool TVYRNetworkAddDraw::IsWorkDay(double date) const { return network::IsWorkDay(date, m_recessDate); }

std::int32_t TVYRNetworkAddDraw::CountWorkDays(double from, double to) const
{
    return network::CountWorkDays(from, to, m_recessDate);
}

double TVYRNetworkAddDraw::WorkDayToDate(std::int64_t n, double start) const
{
    return network::WorkDayToDate(n, start, m_recessDate);
}

void TVYRNetworkAddDraw::BuildOffsetColumns()
{
    BuildOffsetPoints();
    m_offsetTotal = 0.0f;
    for (const TOffsetPoint& pair : OffsetPoints())
        m_offsetTotal += pair.Offset;
    m_offsetColumns.clear();
    for (const TOffsetPoint& pair : OffsetPoints()) {
        if (pair.Offset < 0.0f)
            continue;
        // Just before the pair's time. From about 2,048 days on, a Single
        // cannot hold t - 0.0001 and would round back to t, which lies after
        // the gap; the next Single below t is taken there.
        float before = float(double(pair.Time) - 0.0001);
        if (before == pair.Time)
            before = std::nextafter(pair.Time, -INFINITY);
        const int from = TimeToX(ShiftTime(before, true));
        const std::int64_t width = platform::Trunc(double(pair.Offset) * m_smallWidth / m_smallDate);
        m_offsetColumns.push_back({from, ScreenCoordinate(from + width)});
    }
    m_columnIndex.Build(m_offsetColumns);
}

platform::Canvas& TVYRNetworkAddDraw::MeasureCanvas()
{
    if (m_canvas)
        return *m_canvas;
    if (!m_measureCanvas)
        m_measureCanvas = std::make_unique<platform::RecordingCanvas>();
    return *m_measureCanvas;
}

QPoint TVYRNetworkAddDraw::GetOrigin()
{
    platform::Canvas& canvas = MeasureCanvas();
    canvas.Font = m_font;
    const int x = canvas.TextWidth(kLabelColumnText);
    return QPoint(x, RulerHeight());
}

int TVYRNetworkAddDraw::TimeToX(float t) const
{
    return ScreenCoordinate(platform::Trunc((double(t) - m_startJinDu) / m_smallDate * m_smallWidth));
}

int TVYRNetworkAddDraw::RowToY(int row) const
{
    return ScreenCoordinate((std::int64_t{row} - m_topLineID) * m_smallLineSpace + m_topLinePosition);
}

const OffsetShift& TVYRNetworkAddDraw::Shift() const
{
    if (!m_shiftBuilt || m_shiftRevision != OffsetPointsRevision()) {
        m_shift.Build(OffsetPoints());
        m_shiftRevision = OffsetPointsRevision();
        m_shiftBuilt = true;
    }
    return m_shift;
}

float TVYRNetworkAddDraw::ShiftTime(float x, bool atOrBefore) const { return Shift().Shift(x, atOrBefore); }

float TVYRNetworkAddDraw::AddOffsets(float t) const
{
    float s = 0.0f;
    for (const TOffsetPoint& pair : OffsetPoints()) {
        if (pair.Time > t)
            break;
        s += pair.Offset;
    }
    return t + s;
}

QPoint TVYRNetworkAddDraw::GetNodePosition(const TNodeItem* node) const
{
    if (!node)
        return QPoint(0, 0);
    const float shifted = ShiftTime(GetNodeEarliest(node), node->Offset() > 0.0f);
    const float difference = float(double(shifted) - m_startJinDu);
    const int x = ScreenCoordinate(platform::Trunc(double(difference) / m_smallDate * m_smallWidth));
    return QPoint(x, RowToY(node->NodeY()));
}

void TVYRNetworkAddDraw::HandleMoved(TLankPanel&) {}

void TVYRNetworkAddDraw::ShowHandles(const TPointList&, TWorkItem&) {}

} // namespace network
