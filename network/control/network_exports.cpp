#include "network/control/network_exports.h"

#include "platform/date_serial.h"
#include "platform/painter_canvas.h"
#include "platform/picture/metafile_canvas.h"

#include <QTransform>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>

namespace network {

namespace {

constexpr int kBarRowHeight = 20;
const QString kRulerLabel = QStringLiteral("工程标尺");
const QString kLabelColumn = QStringLiteral("工程进度");

// A rectangle given by its left, top and its exclusive right and bottom.
QRect Box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return QRect(QPoint(int(left), int(top)), QPoint(int(right - 1), int(bottom - 1)));
}

int Members(TTableTopStyle set) { return std::popcount(static_cast<unsigned>(set)); }

// Measures texts in the control's font on a canvas of the screen resolution.
class Measure {
public:
    explicit Measure(const platform::TFont& font) : canvas_(image_) { canvas_.Font = font; }
    std::int64_t Width(const QString& text) { return canvas_.TextWidth(text); }
    std::int64_t Height(const QString& text) { return canvas_.TextHeight(text.isEmpty() ? QStringLiteral(" ") : text); }

private:
    QImage image_{1, 1, QImage::Format_RGB32};
    platform::PainterCanvas canvas_;
};

struct Margins {
    std::int64_t Lp, Rp, Tp, Bp, L, S;
    explicit Margins(const TVYRNetwork& n)
        : Lp(TVYRNetwork::MarginToPixels(n.LeftLank())), Rp(TVYRNetwork::MarginToPixels(n.RightLank())),
          Tp(TVYRNetwork::MarginToPixels(n.TopLank())), Bp(TVYRNetwork::MarginToPixels(n.BottomLank())),
          L(n.LankLineWidth()), S(n.ScheduleHeight())
    {
    }
};

std::int64_t Clamped(double value)
{
    constexpr double limit = double(std::int64_t{1} << 52);
    if (!(value > -limit))
        return -(std::int64_t{1} << 52);
    if (!(value < limit))
        return std::int64_t{1} << 52;
    return static_cast<std::int64_t>(value);
}

// Pixel offset of schedule time t from the start of the time axis.
std::int64_t Axis(const TVYRNetwork& n, double t)
{
    return Clamped(double(n.ShiftTime(float(t), true)) / n.SmallDate() * n.SmallWidth());
}

std::int64_t CaptionHeight(TVYRNetwork& n)
{
    return Measure(n.Font()).Height(n.Text());
}

// Sets the first time shown and the top row for a drawing without the
// setters' side effects (rebuilt offset columns, reports, moved handles),
// and puts them back however the drawing ends.
class ViewForExport {
public:
    ViewForExport(TVYRNetwork& n, int startJinDu, int topLineID)
        : n_(n), loading_(n.Loading()), exporting_(n.Exporting()), startJinDu_(n.StartJinDu()), topLineID_(n.TopLineID())
    {
        n_.SetLoading(true);
        n_.SetExporting(true);
        n_.SetStartJinDu(startJinDu);
        n_.SetTopLineID(topLineID);
    }
    ~ViewForExport()
    {
        n_.SetStartJinDu(startJinDu_);
        n_.SetTopLineID(topLineID_);
        n_.SetExporting(exporting_);
        n_.SetLoading(loading_);
    }
    ViewForExport(const ViewForExport&) = delete;
    ViewForExport& operator=(const ViewForExport&) = delete;

private:
    TVYRNetwork& n_;
    bool loading_;
    bool exporting_;
    int startJinDu_;
    int topLineID_;
};

// The picture size, or nothing after the message.
std::optional<QSize> CheckedSize(TVYRNetwork& n, std::int64_t width, std::int64_t height, int percent)
{
    const double w = double(percent) * double(width) / 100.0;
    const double h = double(percent) * double(height) / 100.0;
    if (!(w >= 1.0) || !(h >= 1.0)) {
        n.ShowMessage(QStringLiteral("图片的大小为零，无法生成网络图图片。"));
        return std::nullopt;
    }
    if (w > double(kMaxPictureSide) || h > double(kMaxPictureSide) ||
        std::trunc(w) * std::trunc(h) > double(kMaxPicturePixels)) {
        n.ShowMessage(QStringLiteral("网络图图片太大（%1 x %2 像素），无法生成。")
                          .arg(QString::number(std::trunc(w), 'f', 0), QString::number(std::trunc(h), 'f', 0)));
        return std::nullopt;
    }
    return QSize(int(w), int(h));
}

std::optional<QImage> NewBitmap(TVYRNetwork& n, QSize size)
{
    QImage bitmap(size, QImage::Format_RGB32);
    if (bitmap.isNull()) {
        n.ShowMessage(QStringLiteral("内存不足，无法生成 %1 x %2 像素的网络图图片。").arg(size.width()).arg(size.height()));
        return std::nullopt;
    }
    return bitmap;
}

void Scale(platform::Canvas& canvas, int percent)
{
    canvas.SetWorldTransform(QTransform::fromScale(percent / 100.0, percent / 100.0));
}

void FillWhite(platform::Canvas& canvas, std::int64_t w, std::int64_t h)
{
    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    canvas.FillRect(Box(0, 0, w, h));
}

// Writes the caption centred at y and returns the y below it.
std::int64_t DrawCaption(TVYRNetwork& n, platform::Canvas& canvas, std::int64_t width, std::int64_t y)
{
    const QString text = n.Text();
    if (text.isEmpty())
        return y;
    canvas.Font = n.CapFont();
    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    const QSize extent = canvas.TextExtent(text);
    canvas.TextOut(int((width - extent.width()) / 2), int(y), text);
    return y + extent.height() + extent.height() / 2;
}

void Line(platform::Canvas& canvas, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    canvas.MoveTo(int(x1), int(y1));
    canvas.LineTo(int(x2), int(y2));
}

void CentredText(platform::Canvas& canvas, const QString& text, QRect box)
{
    canvas.DrawText(text, box, platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine);
}

// The smallest size, in points, a title-block text is shrunk to.
constexpr int kMinTitleTextSize = 5;

// A title-block text centred in its box. A text wider than the box (a date
// in a quarter-width cell) is drawn in a smaller size of its font so that
// it shows whole; only below the smallest size is it clipped.
void FittedText(platform::Canvas& canvas, const QString& text, QRect box)
{
    const platform::TFont font = canvas.Font;
    const int width = canvas.TextWidth(text);
    if (width > box.width() && font.Size > kMinTitleTextSize) {
        // Text widths grow about in proportion to the size: start one
        // above the proportional size and step down.
        const std::int64_t estimate = std::int64_t{font.Size} * std::max(box.width(), 0) / width + 1;
        canvas.Font.Size = int(std::clamp<std::int64_t>(estimate, kMinTitleTextSize, font.Size - 1));
        while (canvas.Font.Size > kMinTitleTextSize && canvas.TextWidth(text) > box.width())
            --canvas.Font.Size;
    }
    CentredText(canvas, text, box);
    canvas.Font = font;
}

// A centred text with a one-pixel black outline one pixel beyond the box.
void FramedCell(platform::Canvas& canvas, const QString& text, const QRect& box)
{
    CentredText(canvas, text, box);
    const int r = box.right() + 1;
    const int b = box.bottom() + 1;
    const QPoint outline[] = {box.topLeft(), {r, box.top()}, {r, b}, {box.left(), b}, box.topLeft()};
    canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psSolid, 1};
    canvas.Polyline(outline);
}

void DrawTitleBlock(TVYRNetwork& n, platform::Canvas& canvas, std::int64_t x0, std::int64_t yC, std::int64_t yB)
{
    const Margins m(n);
    const std::int64_t L = m.L;
    const std::int64_t hd = n.DutyHeight();
    const std::int64_t dw = n.DutyWidth();
    const std::int64_t q = dw / 4;
    const std::int64_t half = L / 2;
    canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psSolid, int(L)};
    Line(canvas, x0, yC, x0, yB);
    for (int i = 1; i <= 5; ++i) {
        const std::int64_t y = yB - i * (hd + L) - L;
        Line(canvas, x0, y, x0 + dw, y);
    }
    for (int j = 1; j <= 3; ++j)
        Line(canvas, x0 + j * q, yB - 4 * hd - 5 * L, x0 + j * q, j == 3 ? yB - hd - 2 * L : yB);

    canvas.Font = n.DutyFont();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    const auto cell = [&](int band, int k) {
        const std::int64_t top = yB - (6 - band) * hd - (6 - band) * L - half;
        const std::int64_t bottom = yB - (5 - band) * hd - (6 - band) * L;
        return Box(x0 + half + k * q, top, x0 + (k + 1) * q, bottom);
    };
    {
        QRect name = cell(1, 0);
        name.setRight(int(x0 + dw - half - 1));
        FittedText(canvas, n.DutyName(), name);
    }
    const QString bands[4][4] = {
        {QStringLiteral("总工程师"), n.DutyEngineer(), QStringLiteral("起始时间"), platform::DateTimeText(n.StartDate())},
        {QStringLiteral("绘图人"), n.DutyPlot(), QStringLiteral("终止时间"), platform::DateTimeText(n.EndDate())},
        {QStringLiteral("审核人"), n.DutyAuditing(), QStringLiteral("总工期"), QString::number(n.GetTotalTime(), 'g', 15)},
        {QStringLiteral("校对人"), n.DutyCollate(), {}, {}},
    };
    for (int band = 2; band <= 5; ++band)
        for (int k = 0; k < (band == 5 ? 2 : 4); ++k)
            FittedText(canvas, bands[band - 2][k], cell(band, k));
    QRect maker = cell(5, 2);
    maker.setRight(int(x0 + 2 * q + dw / 2 - 1));
    FittedText(canvas, QStringLiteral("朔衡软件制作"), maker);
}

void DrawNotes(TVYRNetwork& n, platform::Canvas& canvas, std::int64_t x0, std::int64_t yC, std::int64_t yB, bool lineEnds)
{
    const std::int64_t L = n.LankLineWidth();
    QString text;
    const int count = n.NetText().Count();
    for (int i = 0; i < count; ++i) {
        text += n.NetText().Text(i);
        if (lineEnds)
            text += QLatin1Char('\r');
        else if (i + 1 < count)
            text += QLatin1Char('\n');
    }
    canvas.Font = n.NetFont();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    QRect box = Box(x0 + 2 * L, yC + 2 * L, x0 + n.DutyWidth() - L, yB - (5 * L + 5 * n.DutyHeight()) - 2 * L);
    canvas.DrawText(text, box, platform::dt::WordBreak | platform::dt::Left);
}

void DrawDiagram(TVYRNetwork& n, platform::Canvas& canvas, bool metafile)
{
    const Margins m(n);
    const std::int64_t W = n.BitMapWidth();
    const std::int64_t H = n.BitMapHeight();
    const float T = n.GetTotalTime();
    const int left = int(m.Lp + m.L);
    int y = int(DrawCaption(n, canvas, W, m.Tp));
    n.DrawFrame(canvas, QSize(int(W), int(H)), y);
    const std::int64_t yC = y;
    const std::int64_t yB = H - m.Bp - m.L;
    for (int member = tsSchedule; member <= tsDay; ++member)
        if (n.TopStyle() & (1u << member)) {
            n.DrawRulerRow(static_cast<TTableTopStyleMember>(member), canvas, left, true, y, T);
            y += int(m.S);
        }
    const std::int64_t yN = y;
    y = int(yB);
    for (int member = tsSchedule; member <= tsDay; ++member)
        if (n.BottomStyle() & (1u << member)) {
            y -= int(m.S);
            n.DrawRulerRow(static_cast<TTableTopStyleMember>(member), canvas, left, true, y, T);
        }
    const std::int64_t yM = y;
    // The resource rows stack upward from the bottom rulers; the day array
    // is bounded by the control (empty for an unbounded total time).
    std::vector<float> days = n.ResourceDays();
    const std::int64_t highest = std::int64_t(days.size()) - 1;
    const std::pair<TResourceStyleMember, const char*> resources[] = {{rsLabor, "劳动量"}, {rsWorkforce, "工人人数"}};
    for (const auto& [member, caption] : resources) {
        if (!(n.ResourceStyle() & (1u << member)))
            continue;
        y -= n.ResourceHeight() + 1;
        std::fill(days.begin(), days.end(), 0.0f);
        if (highest >= 0)
            n.AccumulateResource(days, highest, member == rsLabor ? 0 : 1);
        n.DrawResourceRow(days, highest, true, y, QString::fromUtf8(caption), left, canvas);
    }
    if (n.ShowDayLine())
        n.DrawDayLines(canvas, left, true, int(yN), T, y - 1);

    const std::int64_t x1 = m.Lp + m.L;
    const std::int64_t x2 = x1 + Measure(n.Font()).Width(kLabelColumn);
    const std::int64_t x3 = x2 + Axis(n, T);
    canvas.Pen = platform::TPen{n.RulerLineColor(), platform::TPenStyle::psSolid, 1};
    if (metafile) {
        canvas.Pen.Color = platform::clRed;
        const int a = int(x2), top = int(yN), bottom = int(yM);
        const QPoint arrows[] = {{a, top},    {a - 5, top + 10},    {a + 5, top + 10},    {a, top},
                                 {a, bottom}, {a - 5, bottom - 10}, {a + 5, bottom - 10}, {a, bottom}};
        canvas.Polyline(arrows);
        canvas.Pen.Color = n.RulerLineColor();
    } else {
        Line(canvas, x1, yN, x1, yM);
        Line(canvas, x2, yN, x2, yM);
    }
    Line(canvas, x3, yN, x3, yM);

    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    {
        const ViewForExport view(n, 0, n.GetMinRow());
        const QPoint origin{static_cast<int>(x2), static_cast<int>(yN)};
        n.DrawWorks(canvas, origin);
        n.DrawNodes(canvas, origin);
    }
    if (n.ShowDuty()) {
        const std::int64_t x0 = W - m.Rp - m.L - n.DutyWidth();
        DrawTitleBlock(n, canvas, x0, yC, yB);
        DrawNotes(n, canvas, x0, yC, yB, false);
    }
}

} // namespace

QSize PictureSize(std::int64_t width, std::int64_t height, int percent)
{
    return QSize(int(std::trunc(double(percent) * double(width) / 100.0)),
                 int(std::trunc(double(percent) * double(height) / 100.0)));
}

std::int64_t hBitMapWidth1(TVYRNetwork& n)
{
    const Margins m(n);
    Measure measure(n.Font());
    const double T = n.GetTotalTime();
    return m.Lp + m.Rp + 2 * m.L + measure.Width(QStringLiteral("序 号")) + measure.Width(QStringLiteral("工作编号 ")) +
           2 * measure.Width(QStringLiteral("工作名称")) + measure.Width(QStringLiteral("持续天数 ")) +
           Axis(n, std::trunc(T + 0.5)) + (n.ShowDuty() ? n.DutyWidth() : 0);
}

std::int64_t BitMapHeight1(TVYRNetwork& n)
{
    const Margins m(n);
    const std::int64_t caption = CaptionHeight(n);
    std::int64_t works = 0;
    for (int i = 0; i < n.Works().Count(); ++i)
        works += n.Works().Items(i)->IsVirtual() ? 0 : 1;
    return m.Tp + m.Bp + 3 * m.L + (Members(n.TopStyle()) + 2) * m.S + caption / 2 + caption + kBarRowHeight * works;
}

bool DrawToBitmap(TVYRNetwork& n, QImage& bitmap, int percent)
{
    const std::optional<QSize> size = CheckedSize(n, n.BitMapWidth(), n.BitMapHeight(), percent);
    if (!size)
        return false;
    std::optional<QImage> image = NewBitmap(n, *size);
    if (!image)
        return false;
    {
        platform::PainterCanvas canvas(*image);
        Scale(canvas, percent);
        FillWhite(canvas, n.BitMapWidth(), n.BitMapHeight());
        DrawDiagram(n, canvas, false);
    }
    bitmap = std::move(*image);
    return true;
}

bool DrawToMetafile(TVYRNetwork& n, platform::TPicture& metafile, int percent)
{
    const std::optional<QSize> size = CheckedSize(n, n.BitMapWidth(), n.BitMapHeight(), percent);
    if (!size)
        return false;
    platform::picture::MetafileCanvas canvas(*size);
    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    canvas.FillRect(QRect(QPoint(0, 0), *size));
    Scale(canvas, percent);
    DrawDiagram(n, canvas, true);
    metafile.SetGraphic(platform::TGraphicKind::Metafile, canvas.Finish());
    return true;
}

bool DrawBarChartToBitmap(TVYRNetwork& n, QImage& bitmap, int percent)
{
    const std::int64_t W1 = hBitMapWidth1(n);
    const std::int64_t H1 = BitMapHeight1(n);
    const std::optional<QSize> size = CheckedSize(n, W1, H1, percent);
    if (!size)
        return false;
    std::optional<QImage> image = NewBitmap(n, *size);
    if (!image)
        return false;
    {
        platform::PainterCanvas canvas(*image);
        Scale(canvas, percent);
        FillWhite(canvas, W1, H1);
        const Margins m(n);
        const std::int64_t Lp = m.Lp;
        const std::int64_t XR = W1 - m.Rp - m.L - (n.ShowDuty() ? n.DutyWidth() : 0);
        const ViewForExport view(n, 0, n.TopLineID());

        int frameY = int(DrawCaption(n, canvas, W1, m.Tp));
        n.DrawFrame(canvas, QSize(int(W1), int(H1)), frameY);
        std::int64_t y = frameY;
        const std::int64_t yC = y - 1;
        const std::int64_t l = (Members(n.TopStyle()) + 1) * m.S - 1;
        canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psSolid, 1};
        Line(canvas, Lp, y + l, XR - m.Rp + 1, y + l);
        y -= 1;

        canvas.Font.Size = 9;
        canvas.Font.Color = platform::clBlue;
        const std::int64_t c1 = canvas.TextWidth(QStringLiteral("序 号"));
        const std::int64_t c2 = c1 + canvas.TextWidth(QStringLiteral("工作编号 "));
        const std::int64_t c3 = c2 + 2 * canvas.TextWidth(QStringLiteral("工作名称"));
        const std::int64_t c4 = c3 + canvas.TextWidth(QStringLiteral("持续天数 "));
        for (const std::int64_t c : {c1, c2, c3, c4})
            Line(canvas, Lp + c, y, Lp + c, H1 - m.Bp);

        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        CentredText(canvas, QStringLiteral("序号"), Box(Lp + 2, y, Lp + c1 + 2, y + l));
        CentredText(canvas, QStringLiteral("工作编号"), Box(Lp + c1, y, Lp + c2, y + l));
        CentredText(canvas, QStringLiteral("工作名称"), Box(Lp + c2, y, Lp + c3, y + l));
        CentredText(canvas, QStringLiteral("持续天数"), Box(Lp + c3, y, Lp + c4, y + l));
        FramedCell(canvas, kLabelColumn, Box(Lp + c4, y, XR, y + m.S));
        y += m.S;
        for (int member = tsSchedule; member <= tsDay; ++member)
            if (n.TopStyle() & (1u << member)) {
                n.DrawRulerRow(static_cast<TTableTopStyleMember>(member), canvas, int(Lp + c4), false, int(y),
                               n.GetTotalTime());
                y += m.S;
            }

        const TWorks& works = n.Works();
        for (int i = 0; i < works.Count(); ++i) {
            const TWorkItem& work = *works.Items(i);
            if (work.IsVirtual())
                continue;
            const TNodeItem* start = n.Nodes().FindByNewID(work.PriorNode());
            if (!start)
                continue;
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            FramedCell(canvas, QString::number(i + 1), Box(Lp + 1, y, Lp + c1, y + kBarRowHeight));
            FramedCell(canvas, QStringLiteral("%1 - %2").arg(work.PriorNode()).arg(work.NextNode()),
                       Box(Lp + c1, y, Lp + c2, y + kBarRowHeight));
            FramedCell(canvas, work.Caption(), Box(Lp + c2, y, Lp + c3, y + kBarRowHeight));
            FramedCell(canvas, QString::number(work.ContinueTime(), 'g', 15), Box(Lp + c3, y, Lp + c4, y + kBarRowHeight));
            const double et = n.GetNodeEarliest(start);
            canvas.Brush = platform::TBrush{n.IsKeyWork(work) ? platform::clRed : platform::clBlack,
                                            platform::TBrushStyle::bsBDiagonal};
            canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psSolid, 1};
            canvas.Rectangle(int(Lp + c4 + Axis(n, et)), int(y + 4), int(Lp + c4 + Axis(n, et + work.ContinueTime())),
                             int(y + 16));
            y += kBarRowHeight;
        }
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        if (n.ShowDuty()) {
            const std::int64_t x0 = W1 - m.Rp - m.L - n.DutyWidth();
            const std::int64_t yB = H1 - m.Bp - m.L + 2;
            DrawTitleBlock(n, canvas, x0, yC, yB);
            DrawNotes(n, canvas, x0, yC, yB, true);
        }
    }
    bitmap = std::move(*image);
    return true;
}

} // namespace network
