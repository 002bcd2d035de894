// Previews and prints one picture that may be larger than a printer page:
// the picture is cut into a grid of page-sized tiles (the printer's page
// inside the paper margins, in screen pixels), the current tile shows on a
// print paper that imitates the printer's sheet at a zoom, and any range of
// pages prints one tile per sheet. A plain object: the owner's widget gives
// it its size, scrolls it and paints its paper.
//
// Ownership: the preview owns its paper, its copy of the picture and the
// page bitmap; the printer metrics are the caller's and outlive it.
#pragma once

#include "common/paper_control.h"
#include "common/print_job.h"

#include <QImage>
#include <QSize>

#include <functional>

namespace common {

enum class TShowStyle { ssSingle, ssDouble, ssAll };

class TVYRPrintPreview {
public:
    explicit TVYRPrintPreview(const PrinterMetrics& metrics);
    virtual ~TVYRPrintPreview() = default;

    TVYRPrintPreview(const TVYRPrintPreview&) = delete;
    TVYRPrintPreview& operator=(const TVYRPrintPreview&) = delete;

    TVYRPrintPaper& Paper() { return FPaper; }
    const TVYRPrintPaper& Paper() const { return FPaper; }

    const QImage& Picture() const { return FPicture; }
    // Keeps a copy of picture and recomputes the page grid.
    void SetPicture(const QImage& picture);

    int PageCount() const { return FPageCount; }
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int value);
    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    QSize PageSize() const { return {FPageWidth, FPageHeight}; }
    // The top-left of page i in the picture: pages run along a row of the
    // picture, then down to the next row.
    QPoint PageOrigin(int i) const;

    int Zoom() const { return FPaper.Zoom(); }
    // Switches the zoom state to zsZoomOther, so later resizes keep it.
    void SetZoom(int value);
    TZoomState ZoomState() const { return FZoomState; }
    void SetZoomState(TZoomState value);

    int MinMargin() const { return FMinMargin; }
    void SetMinMargin(int value);
    TShowStyle ShowStyle = TShowStyle::ssAll;
    platform::TColor Color = platform::clBtnShadow;

    // The preview's size and its client area (inside the frame); fits the
    // paper when the zoom state asks for it, then centres it.
    void Resize(QSize size, QSize clientSize);
    QSize Size() const { return FSize; }
    // The scrolled extent: the paper and the scroll margin after it.
    QSize ContentSize() const;

    // After the printer setup changed: re-reads the printer and recomputes
    // the page grid and the fit.
    void PrinterChanged();
    void CalcPages();

    // Pages First to Last (1-based, inclusive, held within 1..PageCount),
    // one tile per sheet stretched into the printer page. Returns the
    // number of pages sent; every failure throws and ends the job.
    int Print(int first, int last, PrintJob& job);

    // The tile of page i (clamped to the pages) at screen resolution, white
    // where the picture does not reach.
    const QImage& RenderPage(int i);
    // Paints the current tile into the paper's printable area.
    void PaperPaint(platform::Canvas& canvas);

    std::function<void()> OnInitializeParameter;
    std::function<void()> OnPaperChenged;
    std::function<void()> OnZoomChanged;
    // The paper moved to a new place (the owner resets its scrolling).
    std::function<void()> OnCentered;

protected:
    virtual void InitializeParameter();
    virtual void PaperChanged();
    virtual void ZoomChanged();

private:
    void ResizeLogic();
    void CenterPaper();

    TVYRPrintPaper FPaper;
    QImage FPicture;
    QImage FPageBitmap;
    int FPicWidth = 100;
    int FPicHeight = 100;
    int FPageWidth = 500;
    int FPageHeight = 500;
    int FColumns = 1;
    int FRows = 1;
    int FPageCount = 1;
    int FPageIndex = 0;
    int FMinMargin = 8;
    // The scroll bars' margins, used for centring and the scrolled extent.
    int FScrollMargin = 8;
    // What the frame takes when fitting.
    int FFrameAllowance = 8;
    TZoomState FZoomState = TZoomState::zsZoomToFit;
    QSize FSize{185, 81};
    QSize FClientSize{183, 79};
};

} // namespace common
