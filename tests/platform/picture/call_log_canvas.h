// A canvas that only notes which drawing calls reach it, for tests that
// check what a picture sends to its canvas.
#pragma once

#include "platform/canvas.h"

#include <QStringList>

class CallLogCanvas : public platform::Canvas {
public:
    QStringList Calls;
    QImage LastImage;

    void MoveTo(int x, int y) override { pos_ = {x, y}; Note(QStringLiteral("MoveTo %1,%2").arg(x).arg(y)); }
    void LineTo(int x, int y) override { pos_ = {x, y}; Note(QStringLiteral("LineTo %1,%2").arg(x).arg(y)); }
    QPoint PenPos() const override { return pos_; }
    void Polyline(std::span<const QPoint> points) override { Note(QStringLiteral("Polyline %1").arg(points.size())); }
    void PolyBezier(std::span<const QPoint> points) override { Note(QStringLiteral("PolyBezier %1").arg(points.size())); }
    void Polygon(std::span<const QPoint> points) override { Note(QStringLiteral("Polygon %1").arg(points.size())); }
    void Rectangle(int l, int t, int r, int b) override { Note(QStringLiteral("Rectangle %1,%2,%3,%4%5").arg(l).arg(t).arg(r).arg(b).arg(Brush.Style == platform::TBrushStyle::bsClear ? " clear" : "")); }
    void Ellipse(int l, int t, int r, int b) override { Note(QStringLiteral("Ellipse %1,%2,%3,%4").arg(l).arg(t).arg(r).arg(b)); }
    void RoundRect(int l, int t, int r, int b, int, int) override { Note(QStringLiteral("RoundRect %1,%2,%3,%4").arg(l).arg(t).arg(r).arg(b)); }
    void Arc(int l, int t, int r, int b, int, int, int, int) override { Note(QStringLiteral("Arc %1,%2,%3,%4").arg(l).arg(t).arg(r).arg(b)); }
    void FillRect(const QRect&) override { Note(QStringLiteral("FillRect")); }
    void FrameRect(const QRect&) override { Note(QStringLiteral("FrameRect")); }
    void TextOut(int x, int y, const QString& text) override { Note(QStringLiteral("TextOut %1,%2 %3").arg(x).arg(y).arg(text)); }
    void TextRect(const QRect&, int x, int y, const QString& text) override { Note(QStringLiteral("TextRect %1,%2 %3").arg(x).arg(y).arg(text)); }
    int DrawText(const QString&, QRect&, unsigned) override { Note(QStringLiteral("DrawText")); return 0; }
    QSize TextExtent(const QString& text) override { return QSize(int(text.size()) * 8, 16); }
    void SetWorldTransform(const QTransform& transform) override { transform_ = transform; }
    QTransform WorldTransform() const override { return transform_; }
    void SetClipRegion(const QRegion& region) override { clip_ = region.boundingRect(); }
    void ResetClipRegion() override { clip_ = QRect(0, 0, 1000, 1000); }
    QRect ClipRect() const override { return clip_; }
    void Draw(int x, int y, const QImage& image) override { LastImage = image; Note(QStringLiteral("Draw %1,%2").arg(x).arg(y)); }
    void StretchDraw(const QRect& r, const QImage& image) override
    {
        LastImage = image;
        Note(QStringLiteral("StretchDraw %1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height()));
    }
    platform::TColor Pixel(int, int) const override { return platform::clWhite; }
    void SetPixel(int, int, platform::TColor) override {}
    int PixelsPerInch() const override { return 96; }

private:
    void Note(const QString& call) { Calls.append(call); }

    QPoint pos_;
    QTransform transform_;
    QRect clip_ = QRect(0, 0, 1000, 1000);
};
