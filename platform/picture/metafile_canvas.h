// A canvas that records its drawing as an enhanced metafile (EMF), written
// record by record with libUEMF. One canvas pixel is one logical unit and
// one device unit of the metafile; its frame is the canvas size at the
// canvas resolution. Finish ends the metafile and hands out its bytes.
#pragma once

#include "platform/canvas.h"

#include <QByteArray>
#include <QFont>

#include <optional>

namespace platform::picture {

class MetafileCanvas : public Canvas {
public:
    explicit MetafileCanvas(QSize size, int pixelsPerInch = 96);
    ~MetafileCanvas() override;
    MetafileCanvas(const MetafileCanvas&) = delete;
    MetafileCanvas& operator=(const MetafileCanvas&) = delete;

    // The complete metafile. Drawing after Finish is not recorded.
    QByteArray Finish();

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPos() const override { return position_; }
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
    QTransform WorldTransform() const override { return transform_; }
    void SetClipRegion(const QRegion& region) override;
    void ResetClipRegion() override;
    QRect ClipRect() const override;
    void Draw(int x, int y, const QImage& image) override;
    void StretchDraw(const QRect& rect, const QImage& image) override;
    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;
    int PixelsPerInch() const override { return pixelsPerInch_; }

private:
    // Appends a record made by libUEMF and frees it.
    void Append(char* record);
    // Selects pen, brush and font objects and settings as the next call needs.
    void UsePen(const TPen& pen);
    void UseBrush(const TBrush& brush);
    void UseFigureState();
    void UseTextState(bool opaque);
    void UseTransform();
    void WriteText(int x, int y, const QString& text, std::uint32_t options, const QRect& rect);
    QFont MeasureFont() const;

    QSize size_;
    int pixelsPerInch_;
    QByteArray out_;
    std::uint32_t records_ = 0;
    bool finished_ = false;
    QPoint position_;
    QTransform transform_;
    std::optional<QRegion> clip_;

    // What the metafile has selected so far.
    std::optional<QPoint> writtenPosition_;
    std::optional<TPen> pen_;
    std::optional<TBrush> brush_;
    std::optional<TFont> font_;
    std::optional<TPenMode> mode_;
    std::optional<TColor> textColor_;
    std::optional<TColor> bkColor_;
    std::optional<bool> opaque_;
    std::optional<QTransform> writtenTransform_;
    // Each kind of object alternates between two handles, so that the new
    // object is selected before the old one is deleted.
    std::uint32_t penHandle_ = 0;
    std::uint32_t brushHandle_ = 0;
    std::uint32_t fontHandle_ = 0;
};

} // namespace platform::picture
