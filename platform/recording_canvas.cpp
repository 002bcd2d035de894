#include "recording_canvas.h"

#include "clip_box.h"
#include "fonts.h"
#include "text_layout.h"

#include <QFontMetrics>

namespace platform {

namespace {

const char* OpName(CanvasOp op)
{
    switch (op) {
    case CanvasOp::MoveTo: return "MoveTo";
    case CanvasOp::LineTo: return "LineTo";
    case CanvasOp::Polyline: return "Polyline";
    case CanvasOp::PolyBezier: return "PolyBezier";
    case CanvasOp::Polygon: return "Polygon";
    case CanvasOp::Rectangle: return "Rectangle";
    case CanvasOp::Ellipse: return "Ellipse";
    case CanvasOp::RoundRect: return "RoundRect";
    case CanvasOp::Arc: return "Arc";
    case CanvasOp::FillRect: return "FillRect";
    case CanvasOp::FrameRect: return "FrameRect";
    case CanvasOp::TextOut: return "TextOut";
    case CanvasOp::TextRect: return "TextRect";
    case CanvasOp::DrawText: return "DrawText";
    case CanvasOp::SetWorldTransform: return "SetWorldTransform";
    case CanvasOp::SetClipRegion: return "SetClipRegion";
    case CanvasOp::ResetClipRegion: return "ResetClipRegion";
    case CanvasOp::Draw: return "Draw";
    case CanvasOp::StretchDraw: return "StretchDraw";
    case CanvasOp::SetPixel: return "SetPixel";
    }
    return "?";
}

const char* PenStyleName(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psSolid: return "solid";
    case TPenStyle::psDash: return "dash";
    case TPenStyle::psDot: return "dot";
    case TPenStyle::psDashDot: return "dashdot";
    case TPenStyle::psDashDotDot: return "dashdotdot";
    case TPenStyle::psClear: return "clear";
    case TPenStyle::psInsideFrame: return "insideframe";
    }
    return "?";
}

const char* PenModeName(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmCopy: return "copy";
    case TPenMode::pmNotXor: return "notxor";
    case TPenMode::pmMaskPenNot: return "maskpennot";
    case TPenMode::pmXor: return "xor";
    }
    return "?";
}

const char* BrushStyleName(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsSolid: return "solid";
    case TBrushStyle::bsClear: return "clear";
    case TBrushStyle::bsHorizontal: return "horizontal";
    case TBrushStyle::bsVertical: return "vertical";
    case TBrushStyle::bsFDiagonal: return "fdiagonal";
    case TBrushStyle::bsBDiagonal: return "bdiagonal";
    case TBrushStyle::bsCross: return "cross";
    case TBrushStyle::bsDiagCross: return "diagcross";
    }
    return "?";
}

// 0x00BBGGRR as six hex digits; system colours keep all eight.
QString ColorText(TColor color)
{
    return QString::asprintf(color < 0 ? "%08X" : "%06X", static_cast<unsigned>(color));
}

QString Numbers(const std::vector<int>& values)
{
    QStringList parts;
    for (int value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(','));
}

QString PointsText(const std::vector<QPoint>& points)
{
    QStringList parts;
    for (QPoint p : points)
        parts << QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
    return parts.join(QLatin1Char(','));
}

std::vector<int> Edges(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString CanvasCall::ToString() const
{
    QString arguments;
    bool pen = false;
    bool brush = false;
    bool font = false;
    switch (Op) {
    case CanvasOp::MoveTo:
    case CanvasOp::ResetClipRegion:
        arguments = Numbers(Args);
        break;
    case CanvasOp::LineTo:
    case CanvasOp::Arc:
        arguments = Numbers(Args);
        pen = true;
        break;
    case CanvasOp::Polyline:
    case CanvasOp::PolyBezier:
        arguments = PointsText(Points);
        pen = true;
        break;
    case CanvasOp::Polygon:
        arguments = PointsText(Points);
        pen = brush = true;
        break;
    case CanvasOp::Rectangle:
    case CanvasOp::Ellipse:
    case CanvasOp::RoundRect:
        arguments = Numbers(Args);
        pen = brush = true;
        break;
    case CanvasOp::FillRect:
    case CanvasOp::FrameRect:
        arguments = Numbers(Args);
        brush = true;
        break;
    case CanvasOp::TextOut:
    case CanvasOp::TextRect:
        arguments = Numbers(Args) + QLatin1Char(',') + Quoted(Text);
        font = brush = true;
        break;
    case CanvasOp::DrawText:
        arguments = Quoted(Text) + QLatin1Char(',') + Numbers(Args) + QStringLiteral(",0x") +
                    QString::number(Flags, 16).toUpper();
        font = brush = true;
        break;
    case CanvasOp::SetWorldTransform:
        arguments = QStringLiteral("%1,%2,%3,%4,%5,%6")
                        .arg(Transform.m11())
                        .arg(Transform.m12())
                        .arg(Transform.m21())
                        .arg(Transform.m22())
                        .arg(Transform.dx())
                        .arg(Transform.dy());
        break;
    case CanvasOp::SetClipRegion: {
        QStringList rects;
        for (const QRect& rect : Region)
            rects << Numbers(Edges(rect));
        arguments = rects.join(QLatin1Char(';'));
        break;
    }
    case CanvasOp::Draw:
    case CanvasOp::StretchDraw:
        arguments = Numbers(Args) + QStringLiteral(",%1x%2").arg(ImageSize.width()).arg(ImageSize.height());
        break;
    case CanvasOp::SetPixel:
        arguments = QStringLiteral("%1,%2,%3").arg(Args.at(0)).arg(Args.at(1)).arg(ColorText(Args.at(2)));
        break;
    }
    QString result = QLatin1String(OpName(Op)) + QLatin1Char('(') + arguments + QLatin1Char(')');
    if (pen) {
        result += QStringLiteral(" pen=%1,%2,%3,%4")
                      .arg(ColorText(Pen.Color), QLatin1String(PenStyleName(Pen.Style)))
                      .arg(Pen.Width)
                      .arg(QLatin1String(PenModeName(Pen.Mode)));
    }
    if (brush)
        result += QStringLiteral(" brush=%1,%2").arg(ColorText(Brush.Color), QLatin1String(BrushStyleName(Brush.Style)));
    if (font) {
        result += QStringLiteral(" font=%1,%2,%3,%4,%5")
                      .arg(Font.Name)
                      .arg(Font.Size)
                      .arg(Font.Style)
                      .arg(ColorText(Font.Color))
                      .arg(Font.Escapement);
    }
    if (Op != CanvasOp::SetWorldTransform && !Transform.isIdentity()) {
        result += QStringLiteral(" xform=%1,%2,%3,%4,%5,%6")
                      .arg(Transform.m11())
                      .arg(Transform.m12())
                      .arg(Transform.m21())
                      .arg(Transform.m22())
                      .arg(Transform.dx())
                      .arg(Transform.dy());
    }
    return result;
}

RecordingCanvas::RecordingCanvas(QSize surface, int pixelsPerInch) : surface_(surface), pixelsPerInch_(pixelsPerInch)
{
    InstallFontSubstitutes();
}

QStringList RecordingCanvas::Log() const
{
    QStringList log;
    for (const CanvasCall& call : calls_)
        log << call.ToString();
    return log;
}

QStringList RecordingCanvas::Log(CanvasOp op) const
{
    QStringList log;
    for (const CanvasCall& call : calls_)
        if (call.Op == op)
            log << call.ToString();
    return log;
}

CanvasCall& RecordingCanvas::Record(CanvasOp op, std::vector<int> args)
{
    CanvasCall& call = calls_.emplace_back();
    call.Op = op;
    call.Args = std::move(args);
    call.Pen = Pen;
    call.Brush = Brush;
    call.Font = Font;
    call.Transform = world_;
    return call;
}

void RecordingCanvas::MoveTo(int x, int y)
{
    Record(CanvasOp::MoveTo, {x, y});
    penPos_ = QPoint(x, y);
}

void RecordingCanvas::LineTo(int x, int y)
{
    Record(CanvasOp::LineTo, {x, y});
    penPos_ = QPoint(x, y);
}

void RecordingCanvas::Polyline(std::span<const QPoint> points)
{
    Record(CanvasOp::Polyline, {}).Points.assign(points.begin(), points.end());
}

void RecordingCanvas::PolyBezier(std::span<const QPoint> points)
{
    Record(CanvasOp::PolyBezier, {}).Points.assign(points.begin(), points.end());
}

void RecordingCanvas::Polygon(std::span<const QPoint> points)
{
    Record(CanvasOp::Polygon, {}).Points.assign(points.begin(), points.end());
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Record(CanvasOp::Rectangle, {left, top, right, bottom});
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Record(CanvasOp::Ellipse, {left, top, right, bottom});
}

void RecordingCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    Record(CanvasOp::RoundRect, {left, top, right, bottom, cornerWidth, cornerHeight});
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    Record(CanvasOp::Arc, {left, top, right, bottom, startX, startY, endX, endY});
}

void RecordingCanvas::FillRect(const QRect& rect)
{
    Record(CanvasOp::FillRect, Edges(rect));
}

void RecordingCanvas::FrameRect(const QRect& rect)
{
    Record(CanvasOp::FrameRect, Edges(rect));
}

void RecordingCanvas::TextOut(int x, int y, const QString& text)
{
    Record(CanvasOp::TextOut, {x, y}).Text = text;
    penPos_ = QPoint(x + TextWidth(text), y);
}

void RecordingCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    std::vector<int> args = Edges(rect);
    args.push_back(x);
    args.push_back(y);
    Record(CanvasOp::TextRect, std::move(args)).Text = text;
}

int RecordingCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    const TextBlock block = LayoutTextBlock(text, rect, flags, QFontMetrics(ToQFont(Font, pixelsPerInch_)));
    if (flags & dt::CalcRect) {
        rect.setSize(block.Size);
        return block.Size.height();
    }
    CanvasCall& call = Record(CanvasOp::DrawText, Edges(rect));
    call.Text = text;
    call.Flags = flags;
    return block.DrawnHeight(rect);
}

QSize RecordingCanvas::TextExtent(const QString& text)
{
    const QFontMetrics metrics(ToQFont(Font, pixelsPerInch_));
    return QSize(metrics.horizontalAdvance(text), LineHeight(metrics));
}

void RecordingCanvas::SetWorldTransform(const QTransform& transform)
{
    world_ = transform;
    Record(CanvasOp::SetWorldTransform, {});
}

void RecordingCanvas::SetClipRegion(const QRegion& region)
{
    clip_ = region;
    clipped_ = true;
    Record(CanvasOp::SetClipRegion, {}).Region = region;
}

void RecordingCanvas::ResetClipRegion()
{
    clip_ = QRegion();
    clipped_ = false;
    Record(CanvasOp::ResetClipRegion, {});
}

QRect RecordingCanvas::ClipRect() const
{
    QRect box(QPoint(0, 0), surface_);
    if (clipped_)
        box &= clip_.boundingRect();
    return ClipBoxInWorld(box, world_);
}

void RecordingCanvas::Draw(int x, int y, const QImage& image)
{
    Record(CanvasOp::Draw, {x, y}).ImageSize = image.size();
}

void RecordingCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
    Record(CanvasOp::StretchDraw, Edges(rect)).ImageSize = image.size();
}

TColor RecordingCanvas::Pixel(int, int) const
{
    return clWhite;
}

void RecordingCanvas::SetPixel(int x, int y, TColor color)
{
    Record(CanvasOp::SetPixel, {x, y, color});
}

} // namespace platform
