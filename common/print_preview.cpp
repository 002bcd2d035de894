#include "common/print_preview.h"

#include "common/length_units.h"

#include "platform/numbers.h"
#include "platform/painter_canvas.h"

#include <algorithm>
#include <stdexcept>

namespace common {

namespace {

// The largest page bitmap the preview allocates (a page of A0 at screen
// resolution takes about 60 MB).
constexpr qint64 MaxPageBitmapBytes = qint64(512) * 1024 * 1024;

int CeilDiv(int value, int divisor)
{
    return static_cast<int>((std::int64_t(value) + divisor - 1) / divisor);
}

} // namespace

TVYRPrintPreview::TVYRPrintPreview(const PrinterMetrics& metrics) : FPaper(metrics)
{
    FPaper.OnPaint = [this](platform::Canvas& canvas) { PaperPaint(canvas); };
    FPaper.OnZoomChanged = [this] { ZoomChanged(); };
    // The page grid of the empty picture matches the printer from the start.
    CalcPages();
}

void TVYRPrintPreview::SetPicture(const QImage& picture)
{
    FPicture = picture;
    FPicWidth = picture.width();
    FPicHeight = picture.height();
    CalcPages();
}

void TVYRPrintPreview::SetPageIndex(int value)
{
    if (value == FPageIndex)
        return;
    FPageIndex = value;
    FPaper.Invalidate();
    PaperChanged();
}

QPoint TVYRPrintPreview::PageOrigin(int i) const
{
    return {platform::SaturateInt(std::int64_t(i % FColumns) * FPageWidth),
            platform::SaturateInt(std::int64_t(i / FColumns) * FPageHeight)};
}

void TVYRPrintPreview::SetZoom(int value)
{
    if (value == FPaper.Zoom())
        return;
    FZoomState = TZoomState::zsZoomOther;
    FPaper.SetZoom(value);
    ResizeLogic();
}

void TVYRPrintPreview::SetZoomState(TZoomState value)
{
    if (value == FZoomState)
        return;
    FZoomState = value;
    ResizeLogic();
}

void TVYRPrintPreview::SetMinMargin(int value)
{
    FMinMargin = std::clamp(value, 0, 0xFFFF);
    ResizeLogic();
}

void TVYRPrintPreview::Resize(QSize size, QSize clientSize)
{
    FSize = size;
    FClientSize = clientSize;
    ResizeLogic();
}

void TVYRPrintPreview::ResizeLogic()
{
    if (FZoomState != TZoomState::zsZoomOther) {
        const int inset = FFrameAllowance + 2 * FMinMargin;
        FPaper.ZoomToFit(FZoomState, FSize.width() - inset, FSize.height() - inset);
    }
    CenterPaper();
}

void TVYRPrintPreview::CenterPaper()
{
    const auto place = [this](int client, int paper) {
        return client >= paper + 2 * FScrollMargin ? (client - paper) / 2 : FScrollMargin;
    };
    FPaper.Left = place(FClientSize.width(), FPaper.Width());
    FPaper.Top = place(FClientSize.height(), FPaper.Height());
    if (OnCentered)
        OnCentered();
}

QSize TVYRPrintPreview::ContentSize() const
{
    return {FPaper.Left + FPaper.Width() + FScrollMargin, FPaper.Top + FPaper.Height() + FScrollMargin};
}

void TVYRPrintPreview::PrinterChanged()
{
    FPaper.RefreshPrinter();
    CalcPages();
    ResizeLogic();
}

void TVYRPrintPreview::CalcPages()
{
    QRect r;
    FPaper.GetPrinterPageRect(r);
    const TVYRPaper& printer = FPaper.Printer();
    // Margins as large as the page leave no room: a page is never smaller
    // than one pixel, so the grid stays finite.
    FPageWidth = std::max(1, platform::MulDivSaturated(r.width(), ScreenPixelsPerInch, printer.XResolution));
    FPageHeight = std::max(1, platform::MulDivSaturated(r.height(), ScreenPixelsPerInch, printer.YResolution));
    FColumns = std::max(1, CeilDiv(FPicWidth, FPageWidth));
    FRows = std::max(1, CeilDiv(FPicHeight, FPageHeight));
    FPageCount = platform::SaturateInt(std::int64_t(FRows) * FColumns);
    FPageIndex = 0;
    InitializeParameter();
    FPaper.Invalidate();
}

const QImage& TVYRPrintPreview::RenderPage(int i)
{
    i = std::clamp(i, 0, FPageCount - 1);
    if (qint64(FPageWidth) * FPageHeight * 4 > MaxPageBitmapBytes)
        throw std::runtime_error(
            QStringLiteral("打印页面太大（%1 × %2 像素），无法生成图片。").arg(FPageWidth).arg(FPageHeight).toStdString());
    if (FPageBitmap.width() != FPageWidth || FPageBitmap.height() != FPageHeight) {
        FPageBitmap = QImage(FPageWidth, FPageHeight, QImage::Format_RGB32);
        if (FPageBitmap.isNull())
            throw std::runtime_error(QStringLiteral("内存不足，无法生成打印页面。").toStdString());
    }
    FPageBitmap.fill(Qt::white);
    if (!FPicture.isNull()) {
        const QPoint origin = PageOrigin(i);
        platform::PainterCanvas canvas(FPageBitmap);
        canvas.Draw(-origin.x(), -origin.y(), FPicture);
    }
    return FPageBitmap;
}

void TVYRPrintPreview::PaperPaint(platform::Canvas& canvas)
{
    const QPoint o = PageOrigin(std::clamp(FPageIndex, 0, FPageCount - 1));
    const QImage& page = RenderPage(FPageIndex);
    QRect p;
    FPaper.GetPrintRect(p);
    if (p.width() < page.width() && !p.isEmpty()) {
        // Shrunk pixel by pixel, the plan's thin lines would break up.
        canvas.Draw(p.left(), p.top(), page.scaled(p.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else {
        canvas.StretchDraw(p, page);
    }

    const int zoom = FPaper.Zoom();
    const auto zoomed = [zoom](int v) { return platform::MulDivSaturated(v, zoom, 100); };
    const int dx = p.left() - o.x();
    const int dy = p.top() - o.y();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.Pen = {platform::clBlack, platform::TPenStyle::psDot, 1, platform::TPenMode::pmCopy};
    canvas.Rectangle(zoomed(dx), zoomed(dy), zoomed(platform::SaturateInt(std::int64_t(FPicWidth) + dx)),
                     zoomed(platform::SaturateInt(std::int64_t(FPicHeight) + dy)));
}

int TVYRPrintPreview::Print(int first, int last, PrintJob& job)
{
    first = std::max(first, 1);
    last = std::min(last, FPageCount);
    if (first > last)
        return 0;
    job.SetTitle(QStringLiteral("打印图形"));
    QRect r;
    FPaper.GetPrinterPageRect(r);
    job.BeginDoc();
    int printed = 0;
    try {
        for (int i = first - 1; i <= last - 1; ++i) {
            const QImage& page = RenderPage(i);
            job.PageCanvas().StretchDraw(r, page);
            ++printed;
            if (i < last - 1)
                job.NewPage();
        }
    } catch (...) {
        // The job ends with the pages sent so far; the first failure is the
        // one the user hears of.
        try {
            job.EndDoc();
        } catch (...) {
        }
        job.SetTitle(QString());
        throw;
    }
    try {
        job.EndDoc();
    } catch (...) {
        job.SetTitle(QString());
        throw;
    }
    job.SetTitle(QString());
    return printed;
}

void TVYRPrintPreview::InitializeParameter()
{
    if (OnInitializeParameter)
        OnInitializeParameter();
}

void TVYRPrintPreview::PaperChanged()
{
    if (OnPaperChenged)
        OnPaperChenged();
}

void TVYRPrintPreview::ZoomChanged()
{
    if (OnZoomChanged)
        OnZoomChanged();
}

} // namespace common
