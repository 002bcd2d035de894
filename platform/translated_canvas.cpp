#include "translated_canvas.h"

namespace platform {

TranslatedCanvas::TranslatedCanvas(Canvas& target, QPoint offset) : target_(target), offset_(offset)
{
    Pen = target.Pen;
    Brush = target.Brush;
    Font = target.Font;
    SetWorldTransform(QTransform());
}

void TranslatedCanvas::SetOffset(QPoint offset)
{
    offset_ = offset;
    SetWorldTransform(world_);
}

Canvas& TranslatedCanvas::Sync()
{
    target_.Pen = Pen;
    target_.Brush = Brush;
    target_.Font = Font;
    return target_;
}

void TranslatedCanvas::MoveTo(int x, int y) { Sync().MoveTo(x, y); }
void TranslatedCanvas::LineTo(int x, int y) { Sync().LineTo(x, y); }
void TranslatedCanvas::Polyline(std::span<const QPoint> points) { Sync().Polyline(points); }
void TranslatedCanvas::Segments(std::span<const QPoint> ends) { Sync().Segments(ends); }
void TranslatedCanvas::PolyBezier(std::span<const QPoint> points) { Sync().PolyBezier(points); }
void TranslatedCanvas::Polygon(std::span<const QPoint> points) { Sync().Polygon(points); }
void TranslatedCanvas::Rectangle(int left, int top, int right, int bottom) { Sync().Rectangle(left, top, right, bottom); }
void TranslatedCanvas::Ellipse(int left, int top, int right, int bottom) { Sync().Ellipse(left, top, right, bottom); }

void TranslatedCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    Sync().RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
}

void TranslatedCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    Sync().Arc(left, top, right, bottom, startX, startY, endX, endY);
}

void TranslatedCanvas::FillRect(const QRect& rect) { Sync().FillRect(rect); }
void TranslatedCanvas::FrameRect(const QRect& rect) { Sync().FrameRect(rect); }
void TranslatedCanvas::TextOut(int x, int y, const QString& text) { Sync().TextOut(x, y, text); }

void TranslatedCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    Sync().TextRect(rect, x, y, text);
}

int TranslatedCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    return Sync().DrawText(text, rect, flags);
}

QSize TranslatedCanvas::TextExtent(const QString& text) { return Sync().TextExtent(text); }

void TranslatedCanvas::SetWorldTransform(const QTransform& transform)
{
    world_ = transform;
    target_.SetWorldTransform(transform * QTransform::fromTranslate(offset_.x(), offset_.y()));
}

void TranslatedCanvas::SetClipRegion(const QRegion& region) { target_.SetClipRegion(region.translated(offset_)); }
void TranslatedCanvas::ResetClipRegion() { target_.ResetClipRegion(); }
void TranslatedCanvas::Draw(int x, int y, const QImage& image) { Sync().Draw(x, y, image); }
void TranslatedCanvas::StretchDraw(const QRect& rect, const QImage& image) { Sync().StretchDraw(rect, image); }
void TranslatedCanvas::SetPixel(int x, int y, TColor color) { Sync().SetPixel(x, y, color); }

} // namespace platform
