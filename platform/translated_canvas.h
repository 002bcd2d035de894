// A canvas that draws on another one shifted by an offset: a host widget
// whose back buffer covers only the visible part of a larger control hands
// the control this canvas, so the control keeps its own coordinates
// ((0, 0) at its top-left) while the pixels land at (x - scroll, y - scroll).
// The control's world transforms and clip regions are shifted the same way.
#pragma once

#include "canvas.h"

namespace platform {

class TranslatedCanvas final : public Canvas {
public:
    // Draws on target (not owned) with every point moved by offset.
    TranslatedCanvas(Canvas& target, QPoint offset);

    void SetOffset(QPoint offset);
    QPoint Offset() const { return offset_; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPos() const override { return target_.PenPos(); }
    void Polyline(std::span<const QPoint> points) override;
    void Segments(std::span<const QPoint> ends) override;
    void PolyBezier(std::span<const QPoint> points) override;

    void Polygon(std::span<const QPoint> points) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override;
    void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY) override;
    void FillRect(const QRect& rect) override;
    void FrameRect(const QRect& rect) override;

    void TextOut(int x, int y, const QString& text) override;
    void TextRect(const QRect& rect, int x, int y, const QString& text) override;
    int DrawText(const QString& text, QRect& rect, unsigned flags) override;
    QSize TextExtent(const QString& text) override;

    void SetWorldTransform(const QTransform& transform) override;
    QTransform WorldTransform() const override { return world_; }

    void SetClipRegion(const QRegion& region) override;
    void ResetClipRegion() override;
    QRect ClipRect() const override { return target_.ClipRect(); }

    void Draw(int x, int y, const QImage& image) override;
    void StretchDraw(const QRect& rect, const QImage& image) override;

    TColor Pixel(int x, int y) const override { return target_.Pixel(x, y); }
    void SetPixel(int x, int y, TColor color) override;

    int PixelsPerInch() const override { return target_.PixelsPerInch(); }
    bool KeepsOnlyPixels() const override { return target_.KeepsOnlyPixels(); }

private:
    // Hands this canvas's pen, brush and font to the target before a call.
    Canvas& Sync();

    Canvas& target_;
    QPoint offset_;
    QTransform world_;
};

} // namespace platform
