#include "common/paper_control.h"

#include "common/length_units.h"
#include "common/paper_sizes.h"

#include "platform/numbers.h"
#include "platform/translated_canvas.h"

#include <algorithm>
#include <array>

namespace common {

namespace {

// A rectangle from its edges, right and bottom excluded.
QRect Edges(int left, int top, int right, int bottom)
{
    return {left, top, right - left, bottom - top};
}

int Px(int tenthMM)
{
    return ConvertLength(tenthMM, ScreenPixelsPerInch, luTenthMM, luPixels);
}

} // namespace

TVYRPaperControl::TVYRPaperControl()
{
    UpdateBounds();
}

void TVYRPaperControl::SetPaperSize(int value)
{
    if (value == FPaperSize)
        return;
    FPaperSize = value;
    if (value >= 0 && value < CustomPaperSize) {
        // Stored directly: the width and height setters would mark the size
        // custom again.
        FPaperWidth = PaperSizes[static_cast<std::size_t>(value)].Width;
        FPaperHeight = PaperSizes[static_cast<std::size_t>(value)].Height;
        UpdateBounds();
    }
    PaperSizeChanged();
}

void TVYRPaperControl::SetPaperWidth(int value)
{
    value = std::clamp(value, 1000, 50000);
    if (value == FPaperWidth)
        return;
    FPaperWidth = value;
    SetPaperSize(CustomPaperSize);
    UpdateBounds();
}

void TVYRPaperControl::SetPaperHeight(int value)
{
    value = std::clamp(value, 1000, 50000);
    if (value == FPaperHeight)
        return;
    FPaperHeight = value;
    SetPaperSize(CustomPaperSize);
    UpdateBounds();
}

void TVYRPaperControl::SetOrientation(TPrinterOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    OrientationChanged();
    UpdateBounds();
}

void TVYRPaperControl::SetMargin(int side, int value)
{
    value = std::clamp(value, 0, 500);
    if (value == FMargins[side])
        return;
    FMargins[side] = value;
    MarginChanged();
    Invalidate();
}

void TVYRPaperControl::SetMarginNot(int side, int value)
{
    value = std::clamp(value, 0, 500);
    if (value == FMarginsNot[side])
        return;
    FMarginsNot[side] = value;
    Invalidate();
}

void TVYRPaperControl::SetBorderSize(int value)
{
    FBorderSize = std::clamp(value, 0, 10);
    UpdateBounds();
}

void TVYRPaperControl::SetShadowSize(int value)
{
    FShadowSize = std::clamp(value, 0, 10);
    UpdateBounds();
}

void TVYRPaperControl::SetZoom(int value)
{
    value = std::clamp(value, 10, 500);
    if (value == FZoom)
        return;
    FZoom = value;
    UpdateBounds();
    ZoomChanged();
}

void TVYRPaperControl::SetDisplaceed(bool value)
{
    if (value == FDisplaceed)
        return;
    FDisplaceed = value;
    Invalidate();
}

void TVYRPaperControl::PaperSizeChanged()
{
    if (OnPaperSizeChanged)
        OnPaperSizeChanged();
}

void TVYRPaperControl::ZoomChanged()
{
    if (OnZoomChanged)
        OnZoomChanged();
}

void TVYRPaperControl::OrientationChanged()
{
    if (OnOrientationChanged)
        OnOrientationChanged();
}

void TVYRPaperControl::MarginChanged()
{
    if (OnMarginChanged)
        OnMarginChanged();
}

void TVYRPaperControl::Invalidate()
{
    if (OnInvalidate)
        OnInvalidate();
}

int TVYRPaperControl::Zoomed(int tenthMM) const
{
    return platform::MulDivSaturated(Px(tenthMM), FZoom, 100);
}

void TVYRPaperControl::UpdateBounds()
{
    int w = Zoomed(FPaperWidth);
    int h = Zoomed(FPaperHeight);
    if (FOrientation == TPrinterOrientation::poLandscape)
        SwapInt(w, h);
    FWidth = 2 * FBorderSize + w + FShadowSize;
    FHeight = 2 * FBorderSize + h + FShadowSize;
    Invalidate();
}

QPoint TVYRPaperControl::GetPaperOrigin() const
{
    return {Zoomed(FMargins[0] + FMarginsNot[0]) + FBorderSize, Zoomed(FMargins[1] + FMarginsNot[1]) + FBorderSize};
}

void TVYRPaperControl::GetPrintRect(QRect& r) const
{
    const QPoint origin = GetPaperOrigin();
    r = Edges(origin.x(), origin.y(), FWidth - FBorderSize - FShadowSize - Zoomed(FMargins[2] + FMarginsNot[2]),
              FHeight - FBorderSize - FShadowSize - Zoomed(FMargins[3] + FMarginsNot[3]));
    if (FDisplaceed)
        r.translate(-origin);
}

void TVYRPaperControl::GetPaperRect(QRect& r) const
{
    r = Edges(FBorderSize, FBorderSize, FWidth - FBorderSize - FShadowSize, FHeight - FBorderSize - FShadowSize);
    if (FDisplaceed)
        r.translate(-GetPaperOrigin());
}

void TVYRPaperControl::ZoomToFit(TZoomState state, int availWidth, int availHeight)
{
    int paperWidth = FPaperWidth;
    int paperHeight = FPaperHeight;
    if (FOrientation == TPrinterOrientation::poLandscape)
        SwapInt(paperWidth, paperHeight);
    // Real quotients: an integer division would fit every sheet at 0 %.
    const double cw = 2.0 * FBorderSize + Px(paperWidth) + FShadowSize;
    const double ch = 2.0 * FBorderSize + Px(paperHeight) + FShadowSize;
    // A vertical or horizontal scroll bar takes this much when it shows.
    constexpr double scrollBar = 16.0;
    double z = FZoom / 100.0;
    switch (state) {
    case TZoomState::zsZoomOther:
        break;
    case TZoomState::zsZoomToWidth:
        z = availWidth / cw;
        if (availHeight < ch * z)
            z = (availWidth - scrollBar) / cw;
        break;
    case TZoomState::zsZoomToHeight:
        z = availHeight / ch;
        if (availWidth < cw * z)
            z = (availHeight - scrollBar) / ch;
        break;
    case TZoomState::zsZoomToFit:
        z = std::min(availWidth / cw, availHeight / ch);
        break;
    }
    SetZoom(platform::TruncInt(z * 100.0));
}

void TVYRPaperControl::Paint(platform::Canvas& target)
{
    const QPoint origin = GetPaperOrigin();
    QRect p;
    QRect r;
    GetPrintRect(p);
    GetPaperRect(r);
    target.ResetClipRegion();
    platform::TranslatedCanvas canvas(target, FDisplaceed ? origin : QPoint());
    canvas.Pen.Mode = platform::TPenMode::pmCopy;

    const int b = FBorderSize;
    const int paperRight = r.left() + r.width();
    const int paperBottom = r.top() + r.height();
    if (b > 0) {
        canvas.Pen = {BorderColor, platform::TPenStyle::psInsideFrame, b, platform::TPenMode::pmCopy};
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        canvas.Rectangle(r.left() - b, r.top() - b, paperRight + b, paperBottom + b);
    }
    const int s = FShadowSize;
    if (s > 0) {
        canvas.Brush = {ShadowColor, platform::TBrushStyle::bsSolid};
        canvas.FillRect(Edges(paperRight + b, r.top() + s - b, paperRight + b + s, paperBottom + b + s));
        canvas.FillRect(Edges(r.left() + s - b, paperBottom + b, paperRight + b + s, paperBottom + b + s));
    }
    canvas.Brush = {PaperColor, platform::TBrushStyle::bsSolid};
    canvas.FillRect(r);

    const int printRight = p.left() + p.width();
    const int printBottom = p.top() + p.height();
    if (ShowMapRect) {
        canvas.Pen = {platform::clBtnFace, platform::TPenStyle::psSolid, 1, platform::TPenMode::pmCopy};
        // Two thirds of the zoomed left margin, at every corner.
        const int n = platform::MulDivSaturated(Px(FMargins[0] + FMarginsNot[0]), FZoom, 150);
        const std::array<QPoint, 3> corners[] = {
            {QPoint(p.left() - n, p.top()), QPoint(p.left(), p.top()), QPoint(p.left(), p.top() - n)},
            {QPoint(printRight + n, p.top()), QPoint(printRight, p.top()), QPoint(printRight, p.top() - n)},
            {QPoint(p.left() - n, printBottom), QPoint(p.left(), printBottom), QPoint(p.left(), printBottom + n)},
            {QPoint(printRight + n, printBottom), QPoint(printRight, printBottom), QPoint(printRight, printBottom + n)},
        };
        for (const auto& corner : corners) {
            canvas.MoveTo(corner[0].x(), corner[0].y());
            canvas.LineTo(corner[1].x(), corner[1].y());
            canvas.LineTo(corner[2].x(), corner[2].y());
        }
    }
    if (PaintValidRect)
        canvas.SetClipRegion(QRegion(p));
    if (OnPaint)
        OnPaint(canvas);
}

TVYRPrintPaper::TVYRPrintPaper(const PrinterMetrics& metrics) : FPaper(metrics)
{
    for (int side = 0; side < 4; ++side)
        FMargins[side] = 0;
    FPaper.OnChange = [this](TVYRPaper&) { ReadPrinterSettings(); };
    ReadPrinterSettings();
}

void TVYRPrintPaper::ReadPrinterSettings()
{
    int w = ConvertLength(FPaper.PhysicalWidth, FPaper.XResolution, luPixels, luTenthMM);
    int h = ConvertLength(FPaper.PhysicalHeight, FPaper.YResolution, luPixels, luTenthMM);
    const bool landscape = FPaper.Orientation == TPrinterOrientation::poLandscape;
    if (landscape)
        SwapInt(w, h);
    SetPaperSize(FindPaperSize(QPoint(w, h)));
    if (FPaperSize == CustomPaperSize) {
        FPaperWidth = w;
        FPaperHeight = h;
    }
    FOrientation = FPaper.Orientation;
    if (landscape)
        SwapInt(w, h);
    w = platform::SaturateInt(std::int64_t(w) - std::int64_t(FPaper.WidthMM) * 10);
    h = platform::SaturateInt(std::int64_t(h) - std::int64_t(FPaper.HeightMM) * 10);
    FMarginsNot[0] = ConvertLength(FPaper.OffsetLeft, FPaper.XResolution, luPixels, luTenthMM);
    FMarginsNot[2] = std::max(0, w - FMarginsNot[0]);
    FMarginsNot[1] = ConvertLength(FPaper.OffsetTop, FPaper.YResolution, luPixels, luTenthMM);
    FMarginsNot[3] = std::max(0, h - FMarginsNot[1]);
    UpdateBounds();
}

void TVYRPrintPaper::GetPrinterPageRect(QRect& r) const
{
    const int left = ConvertLength(LeftMargin(), FPaper.XResolution, luTenthMM, luPixels);
    const int top = ConvertLength(TopMargin(), FPaper.YResolution, luTenthMM, luPixels);
    const int right = FPaper.PageWidth - ConvertLength(RightMargin(), FPaper.XResolution, luTenthMM, luPixels);
    const int bottom = FPaper.PageHeight - ConvertLength(BottomMargin(), FPaper.YResolution, luTenthMM, luPixels);
    r = Edges(left, top, right, bottom);
}

void TVYRPrintPaper::RefreshPrinter()
{
    FPaper.ReadDeviceCaps();
}

} // namespace common
