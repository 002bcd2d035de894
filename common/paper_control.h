// One sheet of paper shown at a zoom: the sheet with a border and a drop
// shadow, the printable area inside the margins marked by corner marks, and
// a paint notification in which the owner draws into the printable area,
// with the origin already moved there. The control is a plain object with
// bounds in its owner's coordinates; the owner's widget paints it on a
// canvas whose (0, 0) is the control's top-left.
//
// Paper and margins are in 0.1 mm; bounds and zoomed sizes in screen pixels.
#pragma once

#include "common/printer_metrics.h"

#include "platform/canvas.h"

#include <QRect>

#include <functional>

namespace common {

enum class TZoomState { zsZoomOther, zsZoomToWidth, zsZoomToHeight, zsZoomToFit };

class TVYRPaperControl {
public:
    TVYRPaperControl();
    virtual ~TVYRPaperControl() = default;

    TVYRPaperControl(const TVYRPaperControl&) = delete;
    TVYRPaperControl& operator=(const TVYRPaperControl&) = delete;

    int PaperSize() const { return FPaperSize; }
    void SetPaperSize(int value);
    int PaperWidth() const { return FPaperWidth; }
    void SetPaperWidth(int value);
    int PaperHeight() const { return FPaperHeight; }
    void SetPaperHeight(int value);
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation value);

    int LeftMargin() const { return FMargins[0]; }
    int TopMargin() const { return FMargins[1]; }
    int RightMargin() const { return FMargins[2]; }
    int BottomMargin() const { return FMargins[3]; }
    void SetLeftMargin(int value) { SetMargin(0, value); }
    void SetTopMargin(int value) { SetMargin(1, value); }
    void SetRightMargin(int value) { SetMargin(2, value); }
    void SetBottomMargin(int value) { SetMargin(3, value); }

    // The unprintable strip at each edge.
    int LeftMarginNot() const { return FMarginsNot[0]; }
    int TopMarginNot() const { return FMarginsNot[1]; }
    int RightMarginNot() const { return FMarginsNot[2]; }
    int BottomMarginNot() const { return FMarginsNot[3]; }
    void SetLeftMarginNot(int value) { SetMarginNot(0, value); }
    void SetTopMarginNot(int value) { SetMarginNot(1, value); }
    void SetRightMarginNot(int value) { SetMarginNot(2, value); }
    void SetBottomMarginNot(int value) { SetMarginNot(3, value); }

    platform::TColor PaperColor = platform::clWhite;
    platform::TColor BorderColor = platform::clBlack;
    platform::TColor ShadowColor = platform::clBlack;
    bool ShowMapRect = true;
    bool PaintValidRect = true;
    int BorderSize() const { return FBorderSize; }
    void SetBorderSize(int value);
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int value);

    int Zoom() const { return FZoom; }
    void SetZoom(int value);
    bool Displaceed() const { return FDisplaceed; }
    void SetDisplaceed(bool value);

    // Bounds in the owner's coordinates; the size follows the paper.
    int Left = 0;
    int Top = 0;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    QRect BoundsRect() const { return {Left, Top, FWidth, FHeight}; }

    std::function<void(platform::Canvas&)> OnPaint;
    std::function<void()> OnPaperSizeChanged;
    std::function<void()> OnZoomChanged;
    std::function<void()> OnOrientationChanged;
    std::function<void()> OnMarginChanged;
    // Asks the owner to repaint the control.
    std::function<void()> OnInvalidate;

    // The top-left of the printable area in control coordinates.
    QPoint GetPaperOrigin() const;
    // Rectangles (right and bottom excluded) in control coordinates, or in
    // the moved ones (printable top-left at 0, 0) when Displaceed.
    virtual void GetPrintRect(QRect& r) const;
    virtual void GetPaperRect(QRect& r) const;

    // Sets the zoom so that the sheet fits into the available size.
    void ZoomToFit(TZoomState state, int availWidth, int availHeight);

    // Paints the control on canvas, whose (0, 0) is the control's top-left.
    void Paint(platform::Canvas& canvas);
    void Invalidate();

protected:
    virtual void PaperSizeChanged();
    virtual void ZoomChanged();
    virtual void OrientationChanged();
    virtual void MarginChanged();
    void UpdateBounds();

    // Stores that bypass the setters' ranges and notifications.
    int FPaperSize = 4;
    int FPaperWidth = 2100;
    int FPaperHeight = 2970;
    TPrinterOrientation FOrientation = TPrinterOrientation::poLandscape;
    int FMargins[4] = {150, 150, 150, 150};
    int FMarginsNot[4] = {0, 0, 0, 0};

private:
    void SetMargin(int side, int value);
    void SetMarginNot(int side, int value);
    // Px then Z: a length in 0.1 mm in zoomed screen pixels.
    int Zoomed(int tenthMM) const;

    int FBorderSize = 1;
    int FShadowSize = 3;
    int FZoom = 50;
    bool FDisplaceed = true;
    int FWidth = 0;
    int FHeight = 0;
};

// The paper control bound to the printer: size, orientation and the
// unprintable strips come from the printer's metrics.
class TVYRPrintPaper : public TVYRPaperControl {
public:
    // metrics is not owned and outlives the paper.
    explicit TVYRPrintPaper(const PrinterMetrics& metrics);

    // Takes the paper size, orientation and unprintable strips from the
    // printer metrics.
    void ReadPrinterSettings();
    // In printer pixels, relative to the printable area: the printer's page
    // inside the paper margins.
    void GetPrinterPageRect(QRect& r) const;
    // Re-reads the printer, then its settings.
    void RefreshPrinter();

    const TVYRPaper& Printer() const { return FPaper; }

private:
    TVYRPaper FPaper;
};

} // namespace common
