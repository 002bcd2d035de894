#include "painter_canvas.h"

#include "clip_box.h"
#include "fonts.h"
#include "numbers.h"
#include "text_layout.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace platform {

namespace {

// Dash patterns of one-pixel lines, in pixels (on, off, ...).
QList<qreal> DashPattern(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash: return {18, 6};
    case TPenStyle::psDot: return {3, 3};
    case TPenStyle::psDashDot: return {9, 6, 3, 6};
    case TPenStyle::psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

Qt::BrushStyle HatchStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::FDiagPattern; // "\": down from left to right
    case TBrushStyle::bsBDiagonal: return Qt::BDiagPattern; // "/": up from left to right
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    case TBrushStyle::bsSolid: return Qt::SolidPattern;
    case TBrushStyle::bsClear: return Qt::NoBrush;
    }
    return Qt::NoBrush;
}

QBrush ToQBrush(const TBrush& brush)
{
    return QBrush(ToQColor(brush.Color), HatchStyle(brush.Style));
}

// The result of a mix mode on 0x00RRGGBB values.
QRgb Mix(TPenMode mode, QRgb source, QRgb dest)
{
    switch (mode) {
    case TPenMode::pmNotXor: return ~(source ^ dest);
    case TPenMode::pmMaskPenNot: return dest & ~source;
    case TPenMode::pmXor: return source ^ dest;
    case TPenMode::pmCopy: return source;
    }
    return source;
}

QPainter::CompositionMode RasterOp(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::pmMaskPenNot: return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmCopy: return QPainter::CompositionMode_SourceOver;
    }
    return QPainter::CompositionMode_SourceOver;
}

void SetPixelExact(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrushOrigin(0, 0);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// The dots per metre that a QImage gets when nobody sets them.
int DefaultImageDotsPerMeter()
{
    static const int dotsPerMeter = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    return dotsPerMeter;
}

// Angle in degrees, counter-clockwise from 3 o'clock, of the point where the
// radial through (x, y) meets the ellipse inscribed in rect, measured the
// way QPainterPath::arcTo takes it.
qreal ArcAngle(const QRectF& rect, qreal x, qreal y)
{
    const QPointF centre = rect.center();
    qreal dx = x - centre.x();
    qreal dy = centre.y() - y;
    if (rect.width() > 0 && rect.height() > 0) {
        dx /= rect.width() / 2;
        dy /= rect.height() / 2;
    }
    return std::atan2(dy, dx) * 180 / std::numbers::pi;
}

} // namespace

PainterCanvas::PainterCanvas(QPaintDevice& device)
    : ownPainter_(std::make_unique<QPainter>()), painter_(ownPainter_.get())
{
    // A surface of no size (an empty back buffer) cannot be painted on; the
    // canvas then takes every call and draws nothing.
    if (device.width() > 0 && device.height() > 0)
        painter_->begin(&device);
    Begin();
}

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(&painter)
{
    if (painter_->isActive())
        painter_->save();
    Begin();
}

PainterCanvas::~PainterCanvas()
{
    if (!ownPainter_ && painter_->isActive())
        painter_->restore();
}

void PainterCanvas::Begin()
{
    InstallFontSubstitutes();
    if (painter_->isActive())
        SetPixelExact(*painter_);
}

QImage* PainterCanvas::TargetImage() const
{
    QPaintDevice* device = painter_->device();
    if (device != nullptr && device->devType() == QInternal::Image)
        return static_cast<QImage*>(device);
    return nullptr;
}

int PainterCanvas::DevicePenWidth() const
{
    // Width 0 is one pixel whatever the transform; other widths scale with it.
    if (Pen.Width <= 0 || (Pen.Width == 1 && world_.isIdentity()))
        return 1;
    const qreal scale = std::sqrt(std::abs(world_.determinant()));
    return std::max(1, RoundInt(Pen.Width * scale));
}

QRectF PainterCanvas::FigureRect(int left, int top, int right, int bottom) const
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    // Edges at the two ends of the int range are more than an int apart.
    const qreal width = std::max<qreal>(static_cast<qreal>(right) - 1 - left, 0);
    const qreal height = std::max<qreal>(static_cast<qreal>(bottom) - 1 - top, 0);
    QRectF rect(left, top, width, height);
    if (Pen.Style == TPenStyle::psInsideFrame && DevicePenWidth() > 1) {
        const qreal inset = std::min({(Pen.Width - 1) / 2.0, rect.width() / 2, rect.height() / 2});
        rect.adjust(inset, inset, -inset, -inset);
    }
    return rect;
}

void PainterCanvas::PaintFigureOn(QPainter& painter, const QTransform& deviceOffset, const Shape& shape)
{
    const QTransform transform = world_ * deviceOffset;
    const bool wide = DevicePenWidth() > 1;
    // One-pixel ellipses go through the painter's own ellipse rasterizer,
    // which keeps them symmetric in their bounding box.
    const bool exactEllipse = shape.ellipse != nullptr && !wide;
    painter.setTransform(transform);
    if (shape.closed && Brush.Style != TBrushStyle::bsClear) {
        if (exactEllipse) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQBrush(Brush));
            painter.drawEllipse(*shape.ellipse);
        } else {
            painter.fillPath(shape.fill, ToQBrush(Brush));
        }
    }
    if (Pen.Style == TPenStyle::psClear)
        return;
    const QColor color = ToQColor(Pen.Color);
    painter.setBrush(Qt::NoBrush);
    auto stroke = [&](const QPen& pen) {
        painter.setPen(pen);
        if (exactEllipse)
            painter.drawEllipse(*shape.ellipse);
        else
            painter.drawPath(shape.outline);
    };
    if (wide) {
        // Wide lines are centred on the pixels of their path, as one-pixel
        // lines are; a fill samples pixel centres, hence the half pixel.
        painter.setTransform(transform * QTransform::fromTranslate(0.5, 0.5));
        stroke(QPen(color, Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        return;
    }
    QPen pen(color, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const QList<qreal> dashes = DashPattern(Pen.Style);
    if (!dashes.isEmpty()) {
        // Gaps of styled lines show the background colour when the brush is solid.
        if (Brush.Style == TBrushStyle::bsSolid)
            stroke(QPen(ToQColor(Brush.Color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        pen.setDashPattern(dashes);
    }
    stroke(pen);
}

void PainterCanvas::PaintFigure(const Shape& shape)
{
    if (!painter_->isActive())
        return;
    if (Pen.Mode == TPenMode::pmCopy) {
        PaintFigureOn(*painter_, QTransform(), shape);
        return;
    }
    if (TargetImage() != nullptr) {
        PaintFigureMixed(shape);
        return;
    }
    const bool raster = painter_->paintEngine() != nullptr && painter_->paintEngine()->type() == QPaintEngine::Raster;
    if (raster)
        painter_->setCompositionMode(RasterOp(Pen.Mode));
    PaintFigureOn(*painter_, QTransform(), shape);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// Paints the figure into a transparent layer over the part of the image it
// can touch, then combines each painted pixel with the image by the mix mode,
// so every pixel is combined exactly once.
void PainterCanvas::PaintFigureMixed(const Shape& shape)
{
    QImage& target = *TargetImage();
    // A pen as wide as the int range still leaves room for the margin.
    const int margin = SaturateInt(std::int64_t{DevicePenWidth()} + 2);
    // Bounded by the image before it becomes integers: a figure mapped far
    // outside the int range touches nothing.
    const QRectF area = world_.mapRect(shape.fill.controlPointRect().united(shape.outline.controlPointRect()))
                            .adjusted(-margin, -margin, margin, margin)
                            .intersected(QRectF(target.rect()));
    if (area.isEmpty())
        return;
    QRect patch = area.toAlignedRect() & target.rect();
    if (clipped_)
        patch &= clip_.boundingRect();
    if (patch.isEmpty())
        return;
    // Hatches are aligned to the device origin: keep the layer on their 8-pixel grid.
    patch.setLeft(patch.left() / 8 * 8);
    patch.setTop(patch.top() / 8 * 8);

    // The painted pixels (inside the clip: the layer is clipped) are mixed
    // into the image in place when it holds plain 32-bit pixels (an image
    // being painted on never shares them), else into a copy painted back.
    const bool inPlace = target.format() == QImage::Format_RGB32 || target.format() == QImage::Format_ARGB32;
    // The parts of the patch the figure can touch: all of it for a filled
    // figure, else the tiles along its outline (a selection frame touches
    // a thin ring of a large patch).
    const std::vector<QRect> parts = inPlace && !(shape.closed && Brush.Style != TBrushStyle::bsClear)
                                         ? OutlineTiles(shape.outline, patch, margin)
                                         : std::vector<QRect>{QRect(QPoint(0, 0), patch.size())};

    // One layer, with its painter, serves every figure of the canvas; only
    // the parts are cleared, painted and read.
    if (layer_.width() < patch.width() || layer_.height() < patch.height()) {
        layerPainter_.reset();
        layer_ = QImage(patch.size().expandedTo(layer_.size()), QImage::Format_ARGB32_Premultiplied);
        layerPainter_ = std::make_unique<QPainter>(&layer_);
        SetPixelExact(*layerPainter_);
    }
    uchar* const layerBits = layer_.bits();
    const qsizetype layerStride = layer_.bytesPerLine();
    const auto layerLine = [&](int y) { return reinterpret_cast<QRgb*>(layerBits + y * layerStride); };
    for (const QRect& part : parts)
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::fill(layerLine(y) + part.left(), layerLine(y) + part.left() + part.width(), 0u);
    layerPainter_->resetTransform();
    const QRect layerRect(QPoint(0, 0), patch.size());
    if (clipped_ && clip_.rectCount() > 1)
        layerPainter_->setClipRegion(clip_.translated(-patch.topLeft()) & QRegion(layerRect));
    else if (clipped_)
        layerPainter_->setClipRect(clip_.boundingRect().translated(-patch.topLeft()) & layerRect);
    else
        layerPainter_->setClipRect(layerRect);
    PaintFigureOn(*layerPainter_, QTransform::fromTranslate(-patch.left(), -patch.top()), shape);

    QImage combined = inPlace ? QImage() : target.copy(patch).convertToFormat(QImage::Format_ARGB32);
    uchar* const destBits = inPlace ? target.bits() : combined.bits();
    const qsizetype destStride = inPlace ? target.bytesPerLine() : combined.bytesPerLine();
    const QPoint destOrigin = inPlace ? patch.topLeft() : QPoint(0, 0);
    for (const QRect& part : parts) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const QRgb* source = layerLine(y);
            auto* dest = reinterpret_cast<QRgb*>(destBits + (destOrigin.y() + y) * destStride) + destOrigin.x();
            for (int x = part.left(); x <= part.right(); ++x) {
                if (qAlpha(source[x]) == 0)
                    continue;
                dest[x] = (dest[x] & 0xFF000000u) | (Mix(Pen.Mode, source[x], dest[x]) & 0x00FFFFFFu);
            }
        }
    }
    if (inPlace)
        return;
    painter_->save();
    painter_->resetTransform();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(patch.topLeft(), combined);
    painter_->restore();
}

std::vector<QRect> PainterCanvas::OutlineTiles(const QPainterPath& outline, const QRect& patch, int margin) const
{
    constexpr int Tile = 16;
    const int columns = (patch.width() + Tile - 1) / Tile;
    const int rows = (patch.height() + Tile - 1) / Tile;
    std::vector<char> marked(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    const QRectF bounds(QPointF(0, 0), QSizeF(patch.size()));
    // Every piece of the outline lies within the box of its points: a line
    // between its ends, a curve within its control points.
    const auto mark = [&](QRectF box) {
        box = box.normalized().adjusted(-margin, -margin, margin, margin).intersected(bounds);
        if (box.isEmpty())
            return;
        const int c0 = std::max(0, static_cast<int>(box.left()) / Tile);
        const int c1 = std::min(columns - 1, static_cast<int>(box.right()) / Tile);
        const int r0 = std::max(0, static_cast<int>(box.top()) / Tile);
        const int r1 = std::min(rows - 1, static_cast<int>(box.bottom()) / Tile);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                marked[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)] = 1;
    };
    const QTransform toPatch = world_ * QTransform::fromTranslate(-patch.left(), -patch.top());
    QPointF previous;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        const QPointF p = toPatch.map(QPointF(e.x, e.y));
        if (e.type == QPainterPath::CurveToElement && i + 2 < outline.elementCount()) {
            const QPointF c2 = toPatch.map(QPointF(outline.elementAt(i + 1).x, outline.elementAt(i + 1).y));
            const QPointF end = toPatch.map(QPointF(outline.elementAt(i + 2).x, outline.elementAt(i + 2).y));
            QRectF box(previous, p);
            box = box.normalized().united(QRectF(c2, end).normalized());
            mark(box);
            previous = end;
            i += 2;
            continue;
        }
        if (e.type == QPainterPath::LineToElement)
            mark(QRectF(previous, p));
        else
            mark(QRectF(p, p));
        previous = p;
    }
    std::vector<QRect> tiles;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (marked[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c)])
                tiles.push_back(QRect(c * Tile, r * Tile, Tile, Tile) & QRect(QPoint(0, 0), patch.size()));
    return tiles;
}

void PainterCanvas::MoveTo(int x, int y)
{
    penPos_ = QPoint(x, y);
}

void PainterCanvas::LineTo(int x, int y)
{
    QPainterPath path(penPos_);
    path.lineTo(x, y);
    PaintFigure({QPainterPath(), path});
    penPos_ = QPoint(x, y);
}

void PainterCanvas::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    QPainterPath path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    PaintFigure({QPainterPath(), path});
}

void PainterCanvas::PolyBezier(std::span<const QPoint> points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points.front());
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    PaintFigure({QPainterPath(), path});
}

void PainterCanvas::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    QPainterPath path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    PaintFigure({path, path, true});
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom)
{
    QPainterPath path;
    path.addRect(FigureRect(left, top, right, bottom));
    PaintFigure({path, path, true});
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom)
{
    const QRectF rect = FigureRect(left, top, right, bottom);
    QPainterPath path;
    path.addEllipse(rect);
    PaintFigure({path, path, true, &rect});
}

void PainterCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    QPainterPath path;
    path.addRoundedRect(FigureRect(left, top, right, bottom), std::abs(cornerWidth) / 2.0,
                        std::abs(cornerHeight) / 2.0);
    PaintFigure({path, path, true});
}

void PainterCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    const QRectF rect = FigureRect(left, top, right, bottom);
    const qreal start = ArcAngle(rect, startX, startY);
    qreal sweep = std::fmod(ArcAngle(rect, endX, endY) - start + 720.0, 360.0);
    if (sweep <= 1e-9)
        sweep = 360.0;
    QPainterPath path;
    path.arcMoveTo(rect, start);
    path.arcTo(rect, start, sweep);
    PaintFigure({QPainterPath(), path});
}

void PainterCanvas::FillRect(const QRect& rect)
{
    if (Brush.Style == TBrushStyle::bsClear || rect.isEmpty() || !painter_->isActive())
        return;
    if (Brush.Style == TBrushStyle::bsSolid && world_.type() <= QTransform::TxTranslate) {
        // The common case (handles, backgrounds) without building a path.
        painter_->setTransform(world_);
        painter_->fillRect(rect, ToQColor(Brush.Color));
        return;
    }
    QPainterPath path;
    path.addRect(QRectF(rect));
    painter_->setTransform(world_);
    painter_->fillPath(path, ToQBrush(Brush));
}

void PainterCanvas::FrameRect(const QRect& rect)
{
    if (Brush.Style == TBrushStyle::bsClear || rect.isEmpty() || !painter_->isActive())
        return;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(QRectF(rect));
    if (rect.width() > 2 && rect.height() > 2)
        path.addRect(QRectF(rect.adjusted(1, 1, -1, -1)));
    painter_->setTransform(world_);
    painter_->fillPath(path, ToQBrush(Brush));
}

const QFont& PainterCanvas::CurrentFont() const
{
    // Labels draw the same font again and again, turned: the escapement
    // is drawn by the painter, so it does not make another font.
    TFont key = Font;
    key.Escapement = 0;
    if (!fontCache_ || fontCache_->Key != key) {
        const QFont font = ToQFont(key, PixelsPerInch());
        fontCache_.emplace(FontCache{key, font, QFontMetrics(font, painter_->device()), {}});
    }
    return fontCache_->Font;
}

const QFontMetrics& PainterCanvas::CurrentMetrics() const
{
    CurrentFont();
    return fontCache_->Metrics;
}

void PainterCanvas::PaintText(int x, int y, const QString& text)
{
    if (!painter_->isActive())
        return;
    const QFont& font = CurrentFont();
    const QFontMetrics& metrics = CurrentMetrics();
    const bool shifted = world_.type() <= QTransform::TxTranslate && world_.dx() == std::trunc(world_.dx()) &&
                         world_.dy() == std::trunc(world_.dy()) && std::abs(world_.dx()) < 1e6 &&
                         std::abs(world_.dy()) < 1e6;
    if (Brush.Style != TBrushStyle::bsSolid && shifted) {
        // Moved by whole pixels a text shows the same pixels: it is drawn
        // once into an image and placed from there on (labels repeat one
        // word at a few angles many times).
        if (const TextImage* image = TextImageOf(text)) {
            painter_->setTransform(QTransform());
            painter_->drawImage(
                QPoint(x + static_cast<int>(world_.dx()), y + static_cast<int>(world_.dy())) + image->Origin,
                image->Image);
            return;
        }
    }
    painter_->setTransform(world_);
    painter_->translate(x, y);
    if (Font.Escapement != 0)
        painter_->rotate(-(Font.Escapement / 10.0));
    if (Brush.Style == TBrushStyle::bsSolid)
        painter_->fillRect(QRect(0, 0, metrics.horizontalAdvance(text), LineHeight(metrics)), ToQColor(Brush.Color));
    painter_->setFont(font);
    painter_->setPen(ToQColor(Font.Color));
    painter_->drawText(QPoint(0, metrics.ascent()), text);
}

const PainterCanvas::TextImage* PainterCanvas::TextImageOf(const QString& text)
{
    const QFont& font = CurrentFont();
    const QFontMetrics& metrics = CurrentMetrics();
    auto& images = fontCache_->Images;
    const auto key = std::make_tuple(text, Font.Escapement, Font.Color);
    if (const auto found = images.find(key); found != images.end())
        return &found->second;
    QTransform turn;
    if (Font.Escapement != 0)
        turn.rotate(-(Font.Escapement / 10.0));
    const QRect cell = metrics.boundingRect(text).translated(0, metrics.ascent()) |
                       QRect(0, 0, metrics.horizontalAdvance(text), LineHeight(metrics));
    const QRectF turned = turn.mapRect(QRectF(cell)).adjusted(-3, -3, 3, 3);
    // Only texts of a modest size are kept as images; a long text in a huge
    // font is drawn directly each time instead of taking a large image.
    constexpr qreal MaxImagePixels = 1 << 20;
    if (turned.width() * turned.height() > MaxImagePixels)
        return nullptr;
    if (images.size() >= 1024)
        images.clear();
    const QRect area = turned.toAlignedRect();
    TextImage result{QImage(area.size(), QImage::Format_ARGB32_Premultiplied), area.topLeft()};
    result.Image.fill(Qt::transparent);
    {
        QPainter painter(&result.Image);
        SetPixelExact(painter);
        painter.translate(-area.left(), -area.top());
        if (Font.Escapement != 0)
            painter.rotate(-(Font.Escapement / 10.0));
        painter.setFont(font);
        painter.setPen(ToQColor(Font.Color));
        painter.drawText(QPoint(0, metrics.ascent()), text);
    }
    return &images.emplace(key, std::move(result)).first->second;
}

void PainterCanvas::TextOut(int x, int y, const QString& text)
{
    PaintText(x, y, text);
    penPos_ = QPoint(x + TextWidth(text), y);
}

void PainterCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    if (!painter_->isActive())
        return;
    painter_->save();
    painter_->setTransform(world_);
    if (Brush.Style != TBrushStyle::bsClear)
        painter_->fillRect(rect, ToQColor(Brush.Color));
    painter_->setClipRect(rect, Qt::IntersectClip);
    PaintText(x, y, text);
    painter_->restore();
}

int PainterCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    const TextBlock block = LayoutTextBlock(text, rect, flags, CurrentMetrics());
    if (flags & dt::CalcRect) {
        rect.setSize(block.Size);
        return block.Size.height();
    }
    if (!painter_->isActive())
        return block.DrawnHeight(rect);
    painter_->save();
    if (!(flags & dt::NoClip)) {
        painter_->setTransform(world_);
        painter_->setClipRect(rect, Qt::IntersectClip);
    }
    for (std::size_t i = 0; i < block.Lines.size(); ++i) {
        const TextLine& line = block.Lines[i];
        const int y = block.Top + static_cast<int>(i) * block.LineHeight;
        // An edit control shows no partly visible last line.
        if ((flags & dt::EditControl) && i > 0 && y + block.LineHeight > rect.top() + rect.height())
            break;
        int x = rect.left();
        if (flags & dt::Center)
            x += (rect.width() - line.Width) / 2;
        else if (flags & dt::Right)
            x += rect.width() - line.Width;
        PaintText(x, y, line.Text);
    }
    painter_->restore();
    return block.DrawnHeight(rect);
}

QSize PainterCanvas::TextExtent(const QString& text)
{
    const QFontMetrics& metrics = CurrentMetrics();
    return QSize(metrics.horizontalAdvance(text), LineHeight(metrics));
}

void PainterCanvas::SetWorldTransform(const QTransform& transform)
{
    world_ = transform;
}

void PainterCanvas::SetClipRegion(const QRegion& region)
{
    clip_ = region;
    clipped_ = true;
    if (!painter_->isActive())
        return;
    painter_->resetTransform();
    painter_->setClipRegion(region);
}

void PainterCanvas::ResetClipRegion()
{
    clip_ = QRegion();
    clipped_ = false;
    // Not setClipping(false): after it, the raster engine ignores the next
    // clip region of more than one rectangle.
    if (painter_->isActive())
        painter_->setClipRegion(QRegion(), Qt::NoClip);
}

QRect PainterCanvas::ClipRect() const
{
    const QPaintDevice* device = painter_->device();
    QRect box = device != nullptr ? QRect(0, 0, device->width(), device->height()) : QRect();
    if (clipped_)
        box &= clip_.boundingRect();
    return ClipBoxInWorld(box, world_);
}

void PainterCanvas::Draw(int x, int y, const QImage& image)
{
    if (!painter_->isActive())
        return;
    painter_->setTransform(world_);
    painter_->drawImage(QPoint(x, y), image);
}

void PainterCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
    if (!painter_->isActive())
        return;
    painter_->setTransform(world_);
    painter_->drawImage(QRectF(rect), image);
}

TColor PainterCanvas::Pixel(int x, int y) const
{
    const QImage* image = TargetImage();
    if (image == nullptr)
        return clWhite;
    const QPoint device = world_.map(QPoint(x, y));
    if (!image->rect().contains(device) || (clipped_ && !clip_.contains(device)))
        return -1;
    return FromQColor(image->pixelColor(device));
}

void PainterCanvas::SetPixel(int x, int y, TColor color)
{
    if (!painter_->isActive())
        return;
    const QPoint device = world_.map(QPoint(x, y));
    painter_->save();
    painter_->resetTransform();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(QRect(device, QSize(1, 1)), ToQColor(color));
    painter_->restore();
}

int PainterCanvas::PixelsPerInch() const
{
    const QPaintDevice* device = painter_->device();
    if (device == nullptr)
        return 96;
    switch (device->devType()) {
    case QInternal::Image: {
        const int dotsPerMeter = static_cast<const QImage*>(device)->dotsPerMeterX();
        if (dotsPerMeter <= 0 || dotsPerMeter == DefaultImageDotsPerMeter())
            return 96;
        return std::max(1, RoundInt(dotsPerMeter * 0.0254));
    }
    case QInternal::Pixmap:
    case QInternal::Widget:
        return 96;
    default:
        return std::max(1, device->logicalDpiX());
    }
}

} // namespace platform
