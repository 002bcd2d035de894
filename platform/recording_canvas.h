// A canvas that draws nothing and keeps every call, with the pen, brush,
// font and world transform in force, so that tests can check what a routine
// drew. Text is measured with real font metrics at the canvas's resolution
// (96 dpi unless told), so that layouts come out as on the screen.
//
// Calls that only measure (TextExtent, DrawText with dt::CalcRect) and
// reads (Pixel, ClipRect) are not recorded.
#pragma once

#include "canvas.h"

#include <QStringList>

#include <vector>

namespace platform {

enum class CanvasOp : std::uint8_t {
    MoveTo, LineTo, Polyline, PolyBezier, Polygon, Rectangle, Ellipse, RoundRect, Arc, FillRect, FrameRect,
    TextOut, TextRect, DrawText, SetWorldTransform, SetClipRegion, ResetClipRegion, Draw, StretchDraw, SetPixel
};

struct CanvasCall {
    CanvasOp Op = CanvasOp::MoveTo;
    // Integer arguments in call order; a QRect counts as left, top, right
    // and bottom, right and bottom exclusive (as Rectangle takes them).
    std::vector<int> Args;
    std::vector<QPoint> Points; // Polyline, PolyBezier, Polygon
    QString Text;               // text calls
    unsigned Flags = 0;         // DrawText
    QRegion Region;             // SetClipRegion
    QSize ImageSize;            // Draw, StretchDraw
    TPen Pen;
    TBrush Brush;
    TFont Font;
    QTransform Transform;

    // A compact text form: the call with its arguments, then the state that
    // the call uses, e.g. "Rectangle(2,2,7,7) pen=000000,solid,1,copy
    // brush=FFFFFF,solid", with "xform=m11,m12,m21,m22,dx,dy" appended
    // when the world transform is not the identity.
    QString ToString() const;
};

class RecordingCanvas final : public Canvas {
public:
    explicit RecordingCanvas(QSize surface = QSize(1024, 768), int pixelsPerInch = 96);

    const std::vector<CanvasCall>& Calls() const { return calls_; }
    // The text forms of all calls, in order.
    QStringList Log() const;
    // The calls of one kind, as text.
    QStringList Log(CanvasOp op) const;
    void Clear() { calls_.clear(); }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPos() const override { return penPos_; }
    void Polyline(std::span<const QPoint> points) override;
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
    QRect ClipRect() const override;

    void Draw(int x, int y, const QImage& image) override;
    void StretchDraw(const QRect& rect, const QImage& image) override;

    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;

    int PixelsPerInch() const override { return pixelsPerInch_; }

private:
    CanvasCall& Record(CanvasOp op, std::vector<int> args);

    std::vector<CanvasCall> calls_;
    QSize surface_;
    int pixelsPerInch_;
    QPoint penPos_;
    QTransform world_;
    QRegion clip_;
    bool clipped_ = false;
};

} // namespace platform
