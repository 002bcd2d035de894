#include "painter_canvas.h"

#include "clip_box.h"
#include "fonts.h"
#include "int_key_hash.h"
#include "numbers.h"
#include "text_layout.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numbers>
#include <unordered_map>
#include <unordered_set>
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

// The brush as the painter takes it, kept while the canvas brush stays the
// same: a painter handed the brush it already has sets nothing up again.
const QBrush& PainterBrush(const TBrush& brush)
{
    thread_local TBrush key;
    thread_local QBrush made = ToQBrush(key);
    if (brush != key) {
        key = brush;
        made = ToQBrush(brush);
    }
    return made;
}

// Sets the painter's world transform unless it has exactly this one: each
// change makes the painter set up its pen and brush again for the next
// figure.
void SetPainterTransform(QPainter& painter, const QTransform& transform)
{
    const QTransform& now = painter.worldTransform();
    if (painter.worldMatrixEnabled() && now.m11() == transform.m11() && now.m12() == transform.m12() &&
        now.m13() == transform.m13() && now.m21() == transform.m21() && now.m22() == transform.m22() &&
        now.m23() == transform.m23() && now.m31() == transform.m31() && now.m32() == transform.m32() &&
        now.m33() == transform.m33())
        return;
    painter.setTransform(transform);
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

// The figures kept as stamps, the first number of their keys.
enum class CanvasOpKey { Polyline, Polygon, Ellipse, Arc, PolyBezier };

// Stamps are kept for figures within this distance of the origin, where
// the painter rounds every coordinate exactly.
constexpr int StampReach = 1 << 20;

bool WithinStampReach(std::initializer_list<int> values)
{
    return std::all_of(values.begin(), values.end(), [](int v) { return v >= -StampReach && v <= StampReach; });
}

// Stamps are kept for figures that fit in a square of this side.
constexpr int MostStampSide = 128;
// Stamps of all canvases on a thread together hold at most this many runs
// of pixels (16 bytes each); the stamps are dropped when they would hold
// more.
constexpr std::size_t MostStampRuns = 1 << 18;

// The hashes of figure keys seen once are kept up to this many; past that
// they are forgotten.
constexpr std::size_t MostSeenFigures = 1 << 16;

// Figures drawn before on this thread, by their key.
struct StampCache {
    std::unordered_map<std::vector<int>, FigureStamp, IntKeyHash> Stamps;
    std::size_t Runs = 0;
    // The hashes of the keys of figures drawn in place once. A figure gets a
    // stamp the second time it is drawn, so figures that are each drawn once
    // (a plan of shapes of all sizes) never pay for painting a stamp and
    // copying it out.
    std::unordered_set<std::size_t> Seen;
    // Set when a new stamp did not fit. While full, figures without a stamp
    // are drawn in place until the figures turned away outnumber the kept
    // stamps and eight times the figures they served: then the kept stamps
    // are dropped for new ones. A plan of more different figures than fit
    // keeps the stamps it has instead of painting stamps that are dropped
    // before their use.
    bool Full = false;
    std::size_t HitsWhileFull = 0;
    std::size_t RefusedWhileFull = 0;
    // A transparent image the stamps are painted on, with its painter.
    QImage Scratch;
};

StampCache& ThreadStamps()
{
    thread_local StampCache cache;
    return cache;
}

// Texts drawn or measured by the canvases of a thread, by the identity of
// their font and what else decides their pixels or size.
struct TextKey {
    int Font = 0;
    QString Text;
    int A = 0;
    int B = 0;
    int C = 0;
    friend bool operator==(const TextKey&, const TextKey&) = default;
};

struct TextKeyHash {
    std::size_t operator()(const TextKey& key) const { return qHashMulti(0, key.Font, key.Text, key.A, key.B, key.C); }
};

// Each kind of text kept is bounded, and dropped as a whole when it would
// grow past its bound: a text image of at most 2^20 pixels, all of them
// together at most 16 MB. A text of whole pixels keeps one byte a pixel, so
// the texts of a large drawing (its numbers and names) fit.
constexpr std::size_t MostTextEntries = 1 << 14;
constexpr qreal MostTextImagePixels = 1 << 20;
constexpr std::size_t MostTextBytes = std::size_t{1} << 24;

} // namespace

// Pixels in runs along rows, relative to the figure's anchor point.
struct PixelRun {
    int X;
    int Y;
    int Length;
    QRgb Color;
};

struct PlacedText {
    // Indexed by the colours of its pixels when they are all opaque or
    // transparent, which draws the same pixels as the painted image.
    QImage Image;
    QPoint Origin;
    // The image's pixels as runs of opaque pixels relative to its corner,
    // when it holds no partly covered pixel (Placeable).
    std::vector<PixelRun> Runs;
    bool Placeable = false;
};

namespace {

} // namespace

// The image a line of a kept layout was last drawn from, and what it was
// found by besides the line's font and text (those of the layout).
struct LineImage {
    std::uint64_t Generation = 0;
    int Escapement = 0;
    int Color = 0;
    int Background = 0;
    const PlacedText* Image = nullptr;
};

struct KeptLayout {
    TextBlock Block;
    // One for each line of the block.
    std::vector<LineImage> Images;
};

namespace {

struct TextCache {
    std::unordered_map<TextKey, int, TextKeyHash> Widths;
    std::unordered_map<TextKey, KeptLayout, TextKeyHash> Layouts; // A width, B height, C flags (see LayoutKeyOf)
    std::unordered_map<TextKey, PlacedText, TextKeyHash> Images;  // A escapement, B colour, C background
    // Counts the times a kind of text was dropped: what a canvas or a kept
    // layout remembers of an entry holds while it stays the same.
    std::uint64_t Generation = 1;
    std::size_t ImageBytes = 0;
    // Texts drawn once in place since the images were last dropped: a text
    // gets an image when it is drawn again, so a bitmap that draws each
    // text once makes none.
    std::unordered_set<TextKey, TextKeyHash> Seen;
    // The image new texts are drawn on; at most the size of the largest
    // text image.
    QImage Scratch;
};

TextCache& ThreadTexts()
{
    thread_local TextCache cache;
    return cache;
}

// The number of a font's description on this thread: texts are keyed by
// it instead of the description, which is long to hash and compare.
int FontNumber(const QString& description)
{
    thread_local std::unordered_map<QString, int> numbers;
    return numbers.emplace(description, static_cast<int>(numbers.size())).first->second;
}

template <typename Map>
void MakeRoom(TextCache& cache, Map& map)
{
    if (map.size() >= MostTextEntries) {
        map.clear();
        ++cache.Generation;
    }
}

// What of a DrawText call decides its layout (see LayoutTextBlock), so that
// a call that measures a text and the call that draws it, with flags that
// differ only where the layout does not read them, share it: the width for
// words broken over lines, the height for a single line placed by it, and
// the flags that the lines and the top read. A text of one line without a
// line feed is laid out the same with or without dt::SingleLine.
struct LayoutKey {
    int Width = 0;
    int Height = 0;
    unsigned Flags = 0;
};

LayoutKey LayoutKeyOf(const QString& text, const QRect& rect, unsigned flags)
{
    unsigned kept = flags & (dt::SingleLine | dt::WordBreak | dt::EditControl | dt::VCenter | dt::Bottom);
    if (kept & dt::SingleLine)
        kept &= ~(dt::WordBreak | dt::EditControl);
    else
        kept &= ~(dt::VCenter | dt::Bottom);
    if (!(kept & dt::WordBreak))
        kept &= ~dt::EditControl;
    if (kept == dt::SingleLine && !text.isEmpty() &&
        std::none_of(text.begin(), text.end(), [](QChar c) { return c == u'\n' || c == u'\r'; }))
        kept = 0;
    const bool byWidth = (kept & dt::WordBreak) != 0;
    const bool byHeight = (kept & (dt::VCenter | dt::Bottom)) != 0;
    return {byWidth ? rect.width() : 0, byHeight ? rect.height() : 0, kept};
}

// The area of a painted text as an image of one byte a pixel, indexing the
// colours it holds; null when a pixel is partly covered or the text holds
// more colours than an index can name.
QImage IndexedText(const QImage& painted, const QRect& area)
{
    QImage indexed(area.size(), QImage::Format_Indexed8);
    QList<QRgb> colors{0};
    for (int y = 0; y < area.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(painted.constScanLine(area.top() + y)) + area.left();
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < area.width(); ++x) {
            const QRgb pixel = qAlpha(line[x]) == 0 ? 0 : line[x];
            if (qAlpha(pixel) != 0 && qAlpha(pixel) != 255)
                return QImage();
            auto found = std::find(colors.begin(), colors.end(), pixel);
            if (found == colors.end()) {
                if (colors.size() == 256)
                    return QImage();
                colors.push_back(pixel);
                found = colors.end() - 1;
            }
            out[x] = static_cast<uchar>(found - colors.begin());
        }
    }
    indexed.setColorTable(colors);
    return indexed;
}

// The opaque pixels of an indexed text image as runs of one colour along
// its rows, relative to its corner.
std::vector<PixelRun> TextRuns(const QImage& indexed)
{
    std::vector<PixelRun> runs;
    const QList<QRgb> colors = indexed.colorTable();
    const int width = indexed.width();
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < width;) {
            if (line[x] == 0) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < width && line[end] == line[x])
                ++end;
            runs.push_back({x, y, end - x, colors[line[x]]});
            x = end;
        }
    }
    return runs;
}

} // namespace

struct FigureStamp {
    // The area the figure was painted in, relative to its anchor.
    QRect Area;
    std::vector<PixelRun> Runs;
    // False for a figure that paints partly covered pixels: it is always
    // drawn in place.
    bool Usable = true;
};

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
    foreignClip_ = painter_->isActive() && painter_->hasClipping();
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
    SetPainterTransform(painter, transform);
    if (shape.closed && Brush.Style != TBrushStyle::bsClear) {
        if (exactEllipse) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(PainterBrush(Brush));
            painter.drawEllipse(*shape.ellipse);
        } else {
            painter.fillPath(shape.fill, PainterBrush(Brush));
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
        SetPainterTransform(painter, transform * QTransform::fromTranslate(0.5, 0.5));
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

bool PainterCanvas::CanStamp() const
{
    // Lines of an even width have their edges on pixel centres, where the
    // painter decides by the position.
    if (!painter_->isActive() || foreignClip_ || Pen.Mode != TPenMode::pmCopy || DevicePenWidth() % 2 == 0 ||
        (Brush.Style != TBrushStyle::bsSolid && Brush.Style != TBrushStyle::bsClear))
        return false;
    if (world_.type() > QTransform::TxTranslate || world_.dx() != std::trunc(world_.dx()) ||
        world_.dy() != std::trunc(world_.dy()) || std::abs(world_.dx()) > 1e6 || std::abs(world_.dy()) > 1e6)
        return false;
    const QImage* image = TargetImage();
    return image != nullptr && image->devicePixelRatio() == 1.0 &&
           (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32 ||
            image->format() == QImage::Format_ARGB32_Premultiplied);
}

template <typename Make, typename Paint>
void PainterCanvas::PaintStampedFigure(QPoint anchor, Make make, Paint paint)
{
    if (stampKey_.empty() || !CanStamp()) {
        paint(make());
        return;
    }
    const QPoint at = anchor + QPoint(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    if (!WithinStampReach({at.x(), at.y()})) {
        paint(make());
        return;
    }
    stampKey_.insert(stampKey_.end(), {static_cast<int>(ColorToRGB(Pen.Color)), static_cast<int>(Pen.Style), Pen.Width,
                                       static_cast<int>(Brush.Style), static_cast<int>(ColorToRGB(Brush.Color))});
    StampCache& cache = ThreadStamps();
    const std::size_t hash = IntKeyHash()(stampKey_);
    if (const auto found = cache.Stamps.find(stampKey_); found != cache.Stamps.end()) {
        if (!PlaceStamp(found->second, at))
            paint(make());
        if (cache.Full)
            ++cache.HitsWhileFull;
        return;
    }
    if (cache.Seen.size() >= MostSeenFigures)
        cache.Seen.clear();
    if (cache.Seen.insert(hash).second) {
        paint(make());
        return;
    }
    if (cache.Full) {
        if (cache.RefusedWhileFull <= 8 * cache.HitsWhileFull + cache.Stamps.size()) {
            ++cache.RefusedWhileFull;
            paint(make());
            return;
        }
        cache.Stamps.clear();
        cache.Runs = 0;
        cache.Full = false;
    }
    const Shape shape = make();
    // The painter may set a pixel a little beyond a thin ellipse's box.
    const int margin = DevicePenWidth() + 8;
    const QRect area = world_.mapRect(shape.fill.controlPointRect().united(shape.outline.controlPointRect()))
                           .toAlignedRect()
                           .adjusted(-margin, -margin, margin, margin);
    if (area.width() > MostStampSide || area.height() > MostStampSide) {
        paint(shape);
        return;
    }
    QImage& scratch = cache.Scratch;
    if (scratch.width() < area.width() || scratch.height() < area.height())
        scratch = QImage(QSize(MostStampSide, MostStampSide), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < area.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(scratch.scanLine(y));
        std::fill(line, line + area.width(), QRgb(0));
    }
    {
        QPainter painter(&scratch);
        SetPixelExact(painter);
        painter.setClipRect(QRect(QPoint(0, 0), area.size()));
        PaintFigureOn(painter, QTransform::fromTranslate(-area.left(), -area.top()), shape);
    }
    FigureStamp stamp;
    stamp.Area = area.translated(-at);
    for (int y = 0; y < area.height() && stamp.Usable; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < area.width();) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0) {
                ++x;
                continue;
            }
            if (qAlpha(pixel) != 255) {
                stamp.Usable = false;
                break;
            }
            int end = x + 1;
            while (end < area.width() && line[end] == pixel)
                ++end;
            stamp.Runs.push_back({area.left() + x - at.x(), area.top() + y - at.y(), end - x, pixel});
            x = end;
        }
    }
    if (!stamp.Usable)
        stamp.Runs.clear();
    if (cache.Runs + stamp.Runs.size() > MostStampRuns) {
        cache.Full = true;
        cache.HitsWhileFull = 0;
        cache.RefusedWhileFull = 0;
        if (!PlaceStamp(stamp, at))
            paint(shape);
        return;
    }
    cache.Runs += stamp.Runs.size();
    const FigureStamp& kept = cache.Stamps.emplace(stampKey_, std::move(stamp)).first->second;
    if (!PlaceStamp(kept, at))
        paint(shape);
}

template <typename Make>
void PainterCanvas::PaintStampedFigure(QPoint anchor, Make make)
{
    PaintStampedFigure(anchor, make, [this](const Shape& shape) { PaintFigure(shape); });
}

const std::vector<QRect>& PainterCanvas::StampClip()
{
    const QImage& target = *TargetImage();
    if (!stampClipKnown_) {
        stampClipKnown_ = true;
        stampClip_.clear();
        if (!clipped_) {
            stampClip_.push_back(target.rect());
        } else {
            for (const QRect& rect : clip_)
                if (const QRect inside = rect & target.rect(); !inside.isEmpty())
                    stampClip_.push_back(inside);
        }
    }
    return stampClip_;
}

bool PainterCanvas::PaintStraightLine(QPoint a, QPoint b)
{
    if ((a.x() != b.x() && a.y() != b.y()) || a == b || !CanStamp())
        return false;
    const int width = DevicePenWidth();
    const bool solid = Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame;
    const QList<qreal> dashes = width == 1 ? DashPattern(Pen.Style) : QList<qreal>();
    if (width == 1 ? !solid && dashes.isEmpty() : (width != 3 || Pen.Style == TPenStyle::psClear))
        return false;
    const QPoint offset(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    if (!WithinStampReach({a.x(), a.y(), b.x(), b.y()}) ||
        !WithinStampReach({a.x() + offset.x(), a.y() + offset.y(), b.x() + offset.x(), b.y() + offset.y()}))
        return false;
    // A one-pixel line covers its extent without the higher end; a
    // three-pixel line with its round ends covers one more pixel around
    // the whole extent.
    const QPoint low(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
    const QPoint high(std::max(a.x(), b.x()), std::max(a.y(), b.y()));
    QRect area = width == 1 ? QRect(low, a.x() == b.x() ? QPoint(low.x(), high.y() - 1) : QPoint(high.x() - 1, low.y()))
                            : QRect(low - QPoint(1, 1), high + QPoint(1, 1));
    area.translate(offset);
    // The line's pixels are those of the whole line that lie in the clip
    // rectangles: a line across a clip edge is written piece by piece.
    for (const QRect& clip : StampClip())
        if (const QRect part = area & clip; !part.isEmpty())
            WriteStraightLine(area, part, a.x() == b.x(), a.x() == b.x() ? b.y() > a.y() : b.x() > a.x(), dashes);
    return true;
}

void PainterCanvas::WriteStraightLine(const QRect& area, const QRect& part, bool vertical, bool forward,
                                     const QList<qreal>& dashes)
{
    QImage& target = *TargetImage();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const QRgb color = ToQColor(Pen.Color).rgb();
    if (!dashes.isEmpty()) {
        // The pattern runs from the end the line starts at; its gaps show
        // the brush colour when the brush is solid.
        const bool gaps = Brush.Style == TBrushStyle::bsSolid;
        const QRgb gap = ToQColor(Brush.Color).rgb();
        int period = 0;
        for (const qreal dash : dashes)
            period += static_cast<int>(dash);
        // The pattern runs from the line's first pixel, but the painter
        // cuts a line off one pixel before the image's low edge and two
        // past its high edge first, and starts the pattern there.
        const int low = vertical ? area.top() : area.left();
        const int high = vertical ? area.bottom() : area.right();
        const int edge = vertical ? target.height() : target.width();
        const int first = forward ? std::max(low, -1) : std::min(high, edge);
        const int from = vertical ? part.top() : part.left();
        const int to = vertical ? part.bottom() : part.right();
        for (int at = from; at <= to; ++at) {
            const int k = forward ? at - first : first - at;
            int phase = k % period;
            std::size_t piece = 0;
            while (phase >= static_cast<int>(dashes[piece])) {
                phase -= static_cast<int>(dashes[piece]);
                ++piece;
            }
            const bool on = piece % 2 == 0;
            if (!on && !gaps)
                continue;
            const QPoint p = vertical ? QPoint(area.left(), at) : QPoint(at, area.top());
            reinterpret_cast<QRgb*>(bits + p.y() * stride)[p.x()] = on ? color : gap;
        }
        return;
    }
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + part.left(), line + part.left() + part.width(), color);
    }
}

bool PainterCanvas::FillRectInImage(const QRect& rect)
{
    if (!painter_->isActive() || foreignClip_ || world_.type() > QTransform::TxTranslate ||
        world_.dx() != std::trunc(world_.dx()) || world_.dy() != std::trunc(world_.dy()) ||
        !WithinStampReach({static_cast<int>(std::clamp(world_.dx(), -1e7, 1e7)),
                           static_cast<int>(std::clamp(world_.dy(), -1e7, 1e7))}))
        return false;
    QImage* target = TargetImage();
    const QColor color = ToQColor(Brush.Color);
    if (target == nullptr || target->devicePixelRatio() != 1.0 || color.alpha() != 255 ||
        (target->format() != QImage::Format_RGB32 && target->format() != QImage::Format_ARGB32 &&
         target->format() != QImage::Format_ARGB32_Premultiplied) ||
        !WithinStampReach({rect.left(), rect.top(), rect.right(), rect.bottom()}))
        return false;
    const QRect area = rect.translated(static_cast<int>(world_.dx()), static_cast<int>(world_.dy()));
    const std::vector<QRect>& clips = StampClip();
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.intersects(area); }))
        return true;
    if (std::none_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(area); }))
        return false;
    uchar* const bits = target->bits();
    const qsizetype stride = target->bytesPerLine();
    const QRgb pixel = color.rgba();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + area.left(), line + area.left() + area.width(), pixel);
    }
    return true;
}

bool PainterCanvas::PlaceText(const PlacedText& text, QPoint at)
{
    const QImage* target = TargetImage();
    if (!text.Placeable || (textClip_ && !textClip_->isValid()) || foreignClip_ || target == nullptr ||
        target->devicePixelRatio() != 1.0 ||
        (target->format() != QImage::Format_RGB32 && target->format() != QImage::Format_ARGB32 &&
         target->format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    uchar* const bits = TargetImage()->bits();
    const qsizetype stride = target->bytesPerLine();
    // A text's own clip rectangle is moved by the world transform, a shift
    // by whole pixels where texts are placed.
    const std::int64_t dx = static_cast<std::int64_t>(world_.dx());
    const std::int64_t dy = static_cast<std::int64_t>(world_.dy());
    const QList<QRgb> colors = text.Image.colorTable();
    for (const QRect& clip : StampClip()) {
        std::int64_t clipLeft = clip.left();
        std::int64_t clipTop = clip.top();
        std::int64_t clipRight = clip.right();
        std::int64_t clipBottom = clip.bottom();
        if (textClip_) {
            clipLeft = std::max(clipLeft, textClip_->left() + dx);
            clipTop = std::max(clipTop, textClip_->top() + dy);
            clipRight = std::min(clipRight, textClip_->right() + dx);
            clipBottom = std::min(clipBottom, textClip_->bottom() + dy);
        }
        // Runs that follow each other on a row hold the pixels of the
        // image's row there: they are copied from it as one stretch, each
        // index turned into its colour.
        const std::vector<PixelRun>& runs = text.Runs;
        for (std::size_t k = 0; k < runs.size();) {
            const PixelRun& first = runs[k];
            std::int64_t length = first.Length;
            for (++k; k < runs.size() && runs[k].Y == first.Y && runs[k].X == first.X + length; ++k)
                length += runs[k].Length;
            const std::int64_t y = std::int64_t{at.y()} + first.Y;
            const std::int64_t x = std::int64_t{at.x()} + first.X;
            const std::int64_t left = std::max(x, clipLeft);
            const std::int64_t right = std::min(x + length - 1, clipRight);
            if (y < clipTop || y > clipBottom || left > right)
                continue;
            const uchar* source = text.Image.constScanLine(first.Y) + first.X + (left - x);
            auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
            std::transform(source, source + (right - left + 1), line + left,
                           [&colors](uchar index) { return colors[index]; });
        }
    }
    return true;
}

bool PainterCanvas::PlaceStamp(const FigureStamp& stamp, QPoint at)
{
    if (!stamp.Usable)
        return false;
    QImage& target = *TargetImage();
    StampClip();
    // A figure wholly outside the clip shows nothing. The painter draws a
    // figure that meets the edge of the image or of the clip a little
    // differently: only a figure wholly inside one clip rectangle is placed.
    const QRect area = stamp.Area.translated(at);
    if (std::none_of(stampClip_.begin(), stampClip_.end(), [&](const QRect& clip) { return clip.intersects(area); }))
        return true;
    if (std::none_of(stampClip_.begin(), stampClip_.end(), [&](const QRect& clip) { return clip.contains(area); }))
        return false;
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (const PixelRun& run : stamp.Runs) {
        auto* line = reinterpret_cast<QRgb*>(bits + (at.y() + run.Y) * stride) + at.x() + run.X;
        std::fill(line, line + run.Length, run.Color);
    }
    return true;
}

// Paints the figure into a transparent layer the size of the image, then
// combines each painted pixel with the image by the mix mode, so every pixel
// is combined exactly once. The layer has the image's size because the
// painter places the pixels of a line that leaves the device by where it
// leaves it: the figure shows the pixels that painting it on the image
// itself would set, whatever clip or figures came before.
void PainterCanvas::PaintFigureMixed(const Shape& shape)
{
    QImage& target = *TargetImage();
    // A pen as wide as the int range still leaves room for the margin.
    const int margin = SaturateInt(std::int64_t{DevicePenWidth()} + 2);
    // Bounded by the image before it becomes integers: a figure mapped far
    // outside the int range touches nothing.
    const QRectF reach = world_.mapRect(shape.fill.controlPointRect().united(shape.outline.controlPointRect()))
                             .adjusted(-margin, -margin, margin, margin);
    const QRectF area = reach.intersected(QRectF(target.rect()));
    if (area.isEmpty())
        return;
    // The part of the image the figure can touch, and the part of it within
    // the clip's bounds.
    const QRect whole = area.toAlignedRect() & target.rect();
    const QRect patch = clipped_ ? whole & clip_.boundingRect() : whole;
    if (patch.isEmpty())
        return;

    // The painted pixels are mixed into the image in place when it holds
    // plain 32-bit pixels (an image being painted on never shares them),
    // else into a copy painted back.
    const bool inPlace = target.format() == QImage::Format_RGB32 || target.format() == QImage::Format_ARGB32;
    const bool outlineOnly = !(shape.closed && Brush.Style != TBrushStyle::bsClear);
    // An outline mixed before is mixed again from its kept pixels. One mixed
    // for the first time is painted whole, so that its pixels serve under
    // any clip; the clip then decides which of them are mixed.
    QPoint anchor;
    bool record = false;
    if (inPlace && outlineOnly && MixedFigureKey(shape, reach, anchor)) {
        const KeptFigure kept = PlaceMixedFigure(anchor, whole);
        if (kept == KeptFigure::Placed)
            return;
        record = kept == KeptFigure::Record;
    }
    const QRect mixed = record ? whole : patch;
    // Whether every pixel of the mixed part lies within the clip.
    const std::vector<QRect>& clips = StampClip();
    const bool unclipped =
        !record || std::any_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(mixed); });
    // The rows the figure can touch: all of them for a filled figure, else
    // the pieces of rows along its outline (a selection frame touches a
    // thin ring of a large area, a line a band along it).
    spans_.clear();
    if (inPlace && outlineOnly) {
        OutlineSpans(shape.outline, mixed, DevicePenWidth() / 2 + 2);
    } else {
        for (int y = 0; y < mixed.height(); ++y)
            spans_.push_back({y, 0, mixed.width() - 1});
    }

    // One layer, with its painter, serves every figure of the canvas. It is
    // transparent between figures: what a figure paints there lies within
    // its spans, and reading a pixel clears it again.
    if (layer_.size() != target.size()) {
        layerPainter_.reset();
        layer_ = QImage(target.size(), QImage::Format_ARGB32_Premultiplied);
        layer_.fill(Qt::transparent);
        layerPainter_ = std::make_unique<QPainter>(&layer_);
        SetPixelExact(*layerPainter_);
    }
    uchar* const layerBits = layer_.bits() + mixed.top() * layer_.bytesPerLine() + qsizetype{mixed.left()} * 4;
    const qsizetype layerStride = layer_.bytesPerLine();
    const auto layerLine = [&](int y) { return reinterpret_cast<QRgb*>(layerBits + y * layerStride); };
    layerPainter_->resetTransform();
    if (record || !clipped_)
        layerPainter_->setClipRect(mixed);
    else if (clip_.rectCount() > 1)
        layerPainter_->setClipRegion(clip_ & QRegion(mixed));
    else
        layerPainter_->setClipRect(clip_.boundingRect() & mixed);
    PaintFigureOn(*layerPainter_, QTransform(), shape);

    QImage combined = inPlace ? QImage() : target.copy(mixed).convertToFormat(QImage::Format_ARGB32);
    uchar* const destBits = inPlace ? target.bits() : combined.bits();
    const qsizetype destStride = inPlace ? target.bytesPerLine() : combined.bytesPerLine();
    const QPoint destOrigin = inPlace ? mixed.topLeft() : QPoint(0, 0);
    // Spans overlap: a pixel is cleared as it is mixed, so that each
    // painted pixel is mixed once. Most of a span is not painted on; four
    // pixels at a time are passed over while they are all clear.
    // A figure with a key records the pixels it paints, from the corner of
    // the mixed part, and whether they are all of one colour.
    mixedPixels_.clear();
    QRgb recordedColor = 0;
    bool oneColor = true;
    const auto mixSpans = [&](auto mix) {
        for (const Span& span : spans_) {
            QRgb* const source = layerLine(span.Y) + span.Left;
            QRgb* const dest = reinterpret_cast<QRgb*>(destBits + (destOrigin.y() + span.Y) * destStride) +
                               destOrigin.x() + span.Left;
            const auto mixPixel = [&](int i) {
                if (source[i] == 0)
                    return;
                if (record) {
                    if (mixedPixels_.empty())
                        recordedColor = source[i];
                    oneColor = oneColor && source[i] == recordedColor;
                    mixedPixels_.push_back(static_cast<std::uint32_t>(span.Left + i) |
                                           static_cast<std::uint32_t>(span.Y) << 16);
                }
                if (unclipped || InClip(clips, mixed.topLeft() + QPoint(span.Left + i, span.Y)))
                    dest[i] = (dest[i] & 0xFF000000u) | (mix(source[i], dest[i]) & 0x00FFFFFFu);
                source[i] = 0;
            };
            const int width = span.Right - span.Left + 1;
            int x = 0;
            for (; x + 4 <= width; x += 4) {
                if ((source[x] | source[x + 1] | source[x + 2] | source[x + 3]) == 0)
                    continue;
                for (int i = x; i < x + 4; ++i)
                    mixPixel(i);
            }
            for (; x < width; ++x)
                mixPixel(x);
        }
    };
    switch (Pen.Mode) {
    case TPenMode::pmNotXor:
        mixSpans([](QRgb s, QRgb d) { return ~(s ^ d); });
        break;
    case TPenMode::pmMaskPenNot:
        mixSpans([](QRgb s, QRgb d) { return d & ~s; });
        break;
    case TPenMode::pmXor:
        mixSpans([](QRgb s, QRgb d) { return s ^ d; });
        break;
    case TPenMode::pmCopy:
        mixSpans([](QRgb s, QRgb) { return s; });
        break;
    }
    if (record)
        KeepMixedFigure(mixed.topLeft() - anchor, recordedColor, oneColor);
    if (inPlace)
        return;
    painter_->save();
    painter_->resetTransform();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(mixed.topLeft(), combined);
    painter_->restore();
}

void PainterCanvas::OutlineSpans(const QPainterPath& outline, const QRect& patch, int margin)
{
    const QSize size = patch.size();
    const QTransform toPatch = world_ * QTransform::fromTranslate(-patch.left(), -patch.top());
    const auto point = [&](int i) {
        const QPainterPath::Element e = outline.elementAt(i);
        return toPatch.map(QPointF(e.x, e.y));
    };
    QPointF previous;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::ElementType type = outline.elementAt(i).type;
        const QPointF p = point(i);
        if (type == QPainterPath::CurveToElement && i + 2 < outline.elementCount()) {
            const QPointF curve[4] = {previous, p, point(i + 1), point(i + 2)};
            AddCurveSpans(curve, size, margin, 0);
            previous = curve[3];
            i += 2;
            continue;
        }
        if (type == QPainterPath::LineToElement)
            AddSegmentSpans(previous, p, size, margin);
        else
            AddBoxSpans(QRectF(p, p), size, margin);
        previous = p;
    }
}

void PainterCanvas::AddBoxSpans(QRectF box, QSize patch, int margin)
{
    box = box.normalized().adjusted(-margin, -margin, margin, margin);
    if (box.bottom() < 0 || box.right() < 0 || box.top() > patch.height() - 1 || box.left() > patch.width() - 1)
        return;
    const int top = static_cast<int>(std::max(0.0, std::floor(box.top())));
    const int bottom = static_cast<int>(std::min(patch.height() - 1.0, std::ceil(box.bottom())));
    const int left = static_cast<int>(std::max(0.0, std::floor(box.left())));
    const int right = static_cast<int>(std::min(patch.width() - 1.0, std::ceil(box.right())));
    for (int y = top; y <= bottom; ++y)
        spans_.push_back({y, left, right});
}

void PainterCanvas::AddSegmentSpans(QPointF a, QPointF b, QSize patch, int margin)
{
    const double minY = std::min(a.y(), b.y());
    const double maxY = std::max(a.y(), b.y());
    const double minX = std::min(a.x(), b.x());
    const double maxX = std::max(a.x(), b.x());
    if (maxY + margin < 0 || maxX + margin < 0 || minY - margin > patch.height() - 1 ||
        minX - margin > patch.width() - 1)
        return;
    const int top = static_cast<int>(std::max(0.0, std::floor(minY - margin)));
    const int bottom = static_cast<int>(std::min(patch.height() - 1.0, std::ceil(maxY + margin)));
    const double dy = b.y() - a.y();
    // Where the segment stands on a row, as x = start + y * slope.
    const double slope = dy != 0 ? (b.x() - a.x()) / dy : 0;
    const double start = a.x() - a.y() * slope;
    for (int y = top; y <= bottom; ++y) {
        // The part of the segment within margin rows of this row.
        double from = minX;
        double to = maxX;
        if (dy != 0) {
            const double x0 = start + (y - margin) * slope;
            const double x1 = start + (y + margin) * slope;
            from = std::clamp(std::min(x0, x1), minX, maxX);
            to = std::clamp(std::max(x0, x1), minX, maxX);
        }
        const double left = std::max(0.0, std::floor(from) - margin);
        const double right = std::min(patch.width() - 1.0, std::ceil(to) + margin);
        if (left <= right)
            spans_.push_back({y, static_cast<int>(left), static_cast<int>(right)});
    }
}

void PainterCanvas::AddCurveSpans(const QPointF (&points)[4], QSize patch, int margin, int depth)
{
    qreal left = points[0].x();
    qreal right = left;
    qreal top = points[0].y();
    qreal bottom = top;
    for (const QPointF& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    if (bottom + margin < 0 || right + margin < 0 || top - margin > patch.height() - 1 ||
        left - margin > patch.width() - 1)
        return;
    const QRectF box(QPointF(left, top), QPointF(right, bottom));
    constexpr qreal SmallPiece = 8;
    constexpr int MaxDepth = 12;
    if ((box.width() <= SmallPiece && box.height() <= SmallPiece) || depth >= MaxDepth) {
        AddBoxSpans(box, patch, margin);
        return;
    }
    const QPointF p01 = (points[0] + points[1]) / 2;
    const QPointF p12 = (points[1] + points[2]) / 2;
    const QPointF p23 = (points[2] + points[3]) / 2;
    const QPointF p012 = (p01 + p12) / 2;
    const QPointF p123 = (p12 + p23) / 2;
    const QPointF middle = (p012 + p123) / 2;
    const QPointF first[4] = {points[0], p01, p012, middle};
    const QPointF second[4] = {middle, p123, p23, points[3]};
    AddCurveSpans(first, patch, margin, depth + 1);
    AddCurveSpans(second, patch, margin, depth + 1);
}

void PainterCanvas::MoveTo(int x, int y)
{
    penPos_ = QPoint(x, y);
}

void PainterCanvas::LineTo(int x, int y)
{
    const std::array<QPoint, 2> line{penPos_, QPoint(x, y)};
    if (PaintStraightLine(line[0], line[1]) || PaintThinPath(line)) {
        penPos_ = QPoint(x, y);
        return;
    }
    QPainterPath path(penPos_);
    path.lineTo(x, y);
    PaintFigure({QPainterPath(), path});
    penPos_ = QPoint(x, y);
}

void PainterCanvas::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    if ((points.size() == 2 && PaintStraightLine(points[0], points[1])) || PaintThinPath(points))
        return;
    QPainterPath path(points.front());
    path.reserve(static_cast<int>(std::min<std::size_t>(points.size(), INT_MAX)));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    PaintFigure({QPainterPath(), path});
}

bool PainterCanvas::SegmentsInOneStroke() const
{
    const QImage* image = TargetImage();
    return painter_->isActive() && !foreignClip_ && Pen.Mode == TPenMode::pmCopy &&
           (Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame) && DevicePenWidth() == 1 &&
           image != nullptr && image->devicePixelRatio() == 1.0 && !painter_->viewTransformEnabled() &&
           painter_->deviceTransform().isIdentity();
}

void PainterCanvas::Segments(std::span<const QPoint> ends)
{
    if (ends.size() < 2)
        return;
    if (PaintThinSegments(ends)) {
        penPos_ = ends[ends.size() / 2 * 2 - 1];
        return;
    }
    if (!SegmentsInOneStroke()) {
        Canvas::Segments(ends);
        return;
    }
    const QRectF inside(QPointF(0, 0), QSizeF(TargetImage()->size()));
    QPainterPath path;
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
        const QPoint a = ends[i];
        const QPoint b = ends[i + 1];
        if (PaintStraightLine(a, b) || PaintThinPath(ends.subspan(i, 2)))
            continue;
        const QPointF from = world_.map(QPointF(a));
        const QPointF to = world_.map(QPointF(b));
        // A line that the painter clips at the edge of the device is drawn
        // alone, as it runs: clipping may treat its two ends differently.
        if (a == b || !inside.contains(from) || !inside.contains(to)) {
            QPainterPath alone(a);
            alone.lineTo(b);
            PaintFigure({QPainterPath(), alone});
            continue;
        }
        // The painter's own measure of the line, in 1/64 pixel: it steps
        // along the longer axis, from the lower end.
        const int dx = static_cast<int>(to.x() * 64.) - static_cast<int>(from.x() * 64.);
        const int dy = static_cast<int>(to.y() * 64.) - static_cast<int>(from.y() * 64.);
        const bool forward = std::abs(dx) < std::abs(dy) ? dy >= 0 : dx >= 0;
        path.moveTo(forward ? a : b);
        path.lineTo(forward ? b : a);
    }
    if (!path.isEmpty())
        PaintFigure({QPainterPath(), path});
    penPos_ = ends[ends.size() / 2 * 2 - 1];
}

void PainterCanvas::PolyBezier(std::span<const QPoint> points)
{
    if (points.size() < 4)
        return;
    // A single curve may be placed from a stamp.
    stampKey_.clear();
    if (points.size() == 4 &&
        std::all_of(points.begin(), points.end(), [](QPoint p) { return WithinStampReach({p.x(), p.y()}); })) {
        stampKey_.push_back(static_cast<int>(CanvasOpKey::PolyBezier));
        for (const QPoint& p : points)
            stampKey_.insert(stampKey_.end(), {p.x() - points.front().x(), p.y() - points.front().y()});
    }
    PaintStampedFigure(points.front(), [&] {
        QPainterPath path(points.front());
        for (std::size_t i = 1; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
        return Shape{QPainterPath(), path};
    });
}

void PainterCanvas::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    if (PaintThinPolygon(points))
        return;
    stampKey_.clear();
    if (points.size() <= 8 &&
        std::all_of(points.begin(), points.end(), [](QPoint p) { return WithinStampReach({p.x(), p.y()}); })) {
        stampKey_.push_back(static_cast<int>(CanvasOpKey::Polygon));
        for (const QPoint& p : points)
            stampKey_.insert(stampKey_.end(), {p.x() - points.front().x(), p.y() - points.front().y()});
    }
    PaintStampedFigure(points.front(), [&] {
        QPainterPath path(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            path.lineTo(points[i]);
        path.closeSubpath();
        path.setFillRule(Qt::OddEvenFill);
        return Shape{path, path, true};
    });
}

bool PainterCanvas::UprightRectangle(int left, int top, int right, int bottom)
{
    const bool shifted = world_.type() <= QTransform::TxTranslate && world_.dx() == std::trunc(world_.dx()) &&
                         world_.dy() == std::trunc(world_.dy());
    const bool onePixel = Pen.Style == TPenStyle::psClear ||
                          ((Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame) && DevicePenWidth() == 1);
    if (!painter_->isActive() || Pen.Mode != TPenMode::pmCopy || !shifted || !onePixel)
        return false;
    const QRectF rect = FigureRect(left, top, right, bottom);
    if (WriteRectangle(rect))
        return true;
    SetPainterTransform(*painter_, world_);
    if (Brush.Style != TBrushStyle::bsClear)
        painter_->fillRect(rect, PainterBrush(Brush));
    if (Pen.Style != TPenStyle::psClear) {
        painter_->setBrush(Qt::NoBrush);
        painter_->setPen(QPen(ToQColor(Pen.Color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter_->drawRect(rect);
    }
    return true;
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (UprightRectangle(left, top, right, bottom))
        return;
    QPainterPath path;
    path.addRect(FigureRect(left, top, right, bottom));
    PaintFigure({path, path, true});
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (WriteEllipse(left, top, right, bottom))
        return;
    stampKey_.clear();
    if (WithinStampReach({left, top, right, bottom}))
        stampKey_ = {static_cast<int>(CanvasOpKey::Ellipse), right - left, bottom - top};
    QRectF rect;
    PaintStampedFigure(QPoint(left, top), [&] {
        rect = FigureRect(left, top, right, bottom);
        QPainterPath path;
        path.addEllipse(rect);
        return Shape{path, path, true, &rect};
    });
}

void PainterCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    if (WriteRoundRect(left, top, right, bottom, cornerWidth, cornerHeight))
        return;
    const QPainterPath path = RoundRectPath(left, top, right, bottom, cornerWidth, cornerHeight);
    PaintFigure({path, path, true});
}

void PainterCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    const auto outline = [&] {
        const QRectF rect = FigureRect(left, top, right, bottom);
        const qreal start = ArcAngle(rect, startX, startY);
        qreal sweep = std::fmod(ArcAngle(rect, endX, endY) - start + 720.0, 360.0);
        if (sweep <= 1e-9)
            sweep = 360.0;
        QPainterPath path;
        path.arcMoveTo(rect, start);
        path.arcTo(rect, start, sweep);
        return path;
    };
    // An arc drawn again is placed from its stamp; one not placed is
    // written by the canvas where it can, which is cheaper than the painter.
    stampKey_.clear();
    if (WithinStampReach({left, top, right, bottom, startX, startY, endX, endY}))
        stampKey_ = {static_cast<int>(CanvasOpKey::Arc), right - left, bottom - top, startX - left,
                     startY - top, endX - left, endY - top};
    PaintStampedFigure(
        QPoint(left, top), [&] { return Shape{QPainterPath(), outline()}; },
        [this](const Shape& shape) {
            if (!CanWriteThinLine() || !WriteThinOutline(shape.outline))
                PaintFigure(shape);
        });
}

void PainterCanvas::FillRect(const QRect& rect)
{
    if (Brush.Style == TBrushStyle::bsClear || rect.isEmpty() || !painter_->isActive())
        return;
    if (Brush.Style == TBrushStyle::bsSolid && FillRectInImage(rect))
        return;
    if (Brush.Style == TBrushStyle::bsSolid && world_.type() <= QTransform::TxTranslate) {
        // The common case (handles, backgrounds) without building a path.
        SetPainterTransform(*painter_, world_);
        painter_->fillRect(rect, ToQColor(Brush.Color));
        return;
    }
    QPainterPath path;
    path.addRect(QRectF(rect));
    SetPainterTransform(*painter_, world_);
    painter_->fillPath(path, PainterBrush(Brush));
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
    SetPainterTransform(*painter_, world_);
    painter_->fillPath(path, PainterBrush(Brush));
}

const QFont& PainterCanvas::CurrentFont() const
{
    // Labels draw the same font again and again, turned: the escapement
    // is drawn by the painter, so it does not make another font; nor does
    // the colour. A drawing that takes turns with a few fonts keeps them.
    // The kept fonts' keys are of escapement 0 and black.
    const auto current = [this](const FontCache& font) {
        return font.Key.Size == Font.Size && font.Key.Style == Font.Style && font.Key.Name == Font.Name;
    };
    if (fontCache_ != nullptr && current(*fontCache_))
        return fontCache_->Font;
    const auto known = std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& font) { return current(*font); });
    if (known != fonts_.end()) {
        fontCache_ = known->get();
    } else {
        TFont key = Font;
        key.Escapement = 0;
        key.Color = clBlack;
        if (fonts_.size() >= 8)
            fonts_.clear();
        const int pixelsPerInch = PixelsPerInch();
        const QFont font = ToQFont(key, pixelsPerInch);
        const QPaintDevice* device = painter_->device();
        const QString id = QStringLiteral("%1|%2|%3|%4|%5|%6")
                               .arg(key.Name)
                               .arg(key.Size)
                               .arg(key.Style)
                               .arg(pixelsPerInch)
                               .arg(device != nullptr ? device->devType() : 0)
                               .arg(device != nullptr ? device->logicalDpiY() : 0);
        fonts_.push_back(std::make_unique<FontCache>(FontCache{key, font, QFontMetrics(font, device), FontNumber(id)}));
        fontCache_ = fonts_.back().get();
    }
    return fontCache_->Font;
}

const QFontMetrics& PainterCanvas::CurrentMetrics() const
{
    CurrentFont();
    return fontCache_->Metrics;
}

void PainterCanvas::PaintText(int x, int y, const QString& text, LineImage* line)
{
    if (!painter_->isActive())
        return;
    const QFont& font = CurrentFont();
    const QFontMetrics& metrics = CurrentMetrics();
    const bool shifted = world_.type() <= QTransform::TxTranslate && world_.dx() == std::trunc(world_.dx()) &&
                         world_.dy() == std::trunc(world_.dy()) && std::abs(world_.dx()) < 1e6 &&
                         std::abs(world_.dy()) < 1e6;
    // An opaque background is kept in the image only where it is a plain
    // rectangle of pixels.
    if (shifted && (Brush.Style != TBrushStyle::bsSolid || Font.Escapement == 0)) {
        // Moved by whole pixels a text shows the same pixels: it is drawn
        // once into an image and placed from there on (labels and the
        // numbers and names of a network repeat on every repaint).
        if (const PlacedText* image = TextImageOf(text, line)) {
            const QPoint at =
                QPoint(x + static_cast<int>(world_.dx()), y + static_cast<int>(world_.dy())) + image->Origin;
            if (PlaceText(*image, at))
                return;
            SetPainterTransform(*painter_, QTransform());
            painter_->drawImage(
                QPoint(x + static_cast<int>(world_.dx()), y + static_cast<int>(world_.dy())) + image->Origin,
                image->Image);
            return;
        }
    }
    SetPainterTransform(*painter_, world_);
    painter_->translate(x, y);
    if (Font.Escapement != 0)
        painter_->rotate(-(Font.Escapement / 10.0));
    if (Brush.Style == TBrushStyle::bsSolid)
        painter_->fillRect(QRect(QPoint(0, 0), TextExtent(text)), ToQColor(Brush.Color));
    painter_->setFont(font);
    painter_->setPen(ToQColor(Font.Color));
    painter_->drawText(QPoint(0, metrics.ascent()), text);
}

const PlacedText* PainterCanvas::TextImageOf(const QString& text, LineImage* line)
{
    const QFont& font = CurrentFont();
    const QFontMetrics& metrics = CurrentMetrics();
    TextCache& cache = ThreadTexts();
    const bool opaque = Brush.Style == TBrushStyle::bsSolid;
    const int color = static_cast<int>(ColorToRGB(Font.Color));
    const int brushColor = opaque ? static_cast<int>(ColorToRGB(Brush.Color)) : -1;
    if (line != nullptr && line->Generation == cache.Generation && line->Escapement == Font.Escapement &&
        line->Color == color && line->Background == brushColor)
        return line->Image;
    const auto remember = [&](const PlacedText* image) {
        if (line != nullptr)
            *line = LineImage{cache.Generation, Font.Escapement, color, brushColor, image};
        return image;
    };
    const TextKey key{fontCache_->Id, text, Font.Escapement, color, brushColor};
    if (const auto found = cache.Images.find(key); found != cache.Images.end())
        return remember(&found->second);
    if (cache.Seen.size() >= 4 * MostTextEntries)
        cache.Seen.clear();
    if (cache.Seen.insert(key).second)
        return nullptr;
    QTransform turn;
    if (Font.Escapement != 0)
        turn.rotate(-(Font.Escapement / 10.0));
    const QRect background(0, 0, metrics.horizontalAdvance(text), LineHeight(metrics));
    const QRect cell = metrics.boundingRect(text).translated(0, metrics.ascent()) | background;
    const QRectF turned = turn.mapRect(QRectF(cell)).adjusted(-3, -3, 3, 3);
    // Only texts of a modest size are kept as images; a long text in a huge
    // font is drawn directly each time instead of taking a large image.
    if (turned.width() * turned.height() > MostTextImagePixels)
        return nullptr;
    const QRect area = turned.toAlignedRect();
    // Drawn on one image kept for the purpose, whose painter the toolkit
    // keeps too, then copied out.
    if (cache.Scratch.width() < area.width() || cache.Scratch.height() < area.height())
        cache.Scratch = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
    const QRect drawn(QPoint(0, 0), area.size());
    {
        QPainter painter(&cache.Scratch);
        SetPixelExact(painter);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(drawn, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRect(drawn);
        painter.translate(-area.left(), -area.top());
        if (Font.Escapement != 0)
            painter.rotate(-(Font.Escapement / 10.0));
        if (opaque)
            painter.fillRect(background, ToQColor(Brush.Color));
        painter.setFont(font);
        painter.setPen(ToQColor(Font.Color));
        painter.drawText(QPoint(0, metrics.ascent()), text);
    }
    PlacedText result{IndexedText(cache.Scratch, drawn), area.topLeft(), {}, true};
    if (result.Image.isNull()) {
        result.Image = cache.Scratch.copy(drawn);
        result.Placeable = false;
    } else {
        result.Runs = TextRuns(result.Image);
    }
    const std::size_t bytes = static_cast<std::size_t>(result.Image.sizeInBytes());
    if (cache.Images.size() >= MostTextEntries || cache.ImageBytes + bytes > MostTextBytes) {
        cache.Images.clear();
        cache.Seen.clear();
        cache.ImageBytes = 0;
        ++cache.Generation;
    }
    cache.ImageBytes += bytes;
    return remember(&cache.Images.emplace(key, std::move(result)).first->second);
}

KeptLayout& PainterCanvas::LayoutOf(const QString& text, const QRect& rect, unsigned flags)
{
    const QFontMetrics& metrics = CurrentMetrics();
    const LayoutKey layout = LayoutKeyOf(text, rect, flags);
    TextCache& cache = ThreadTexts();
    LastLayout& last = lastLayout_;
    if (last.Layout != nullptr && last.Generation == cache.Generation && last.Font == fontCache_->Id &&
        last.Width == layout.Width && last.Height == layout.Height && last.Flags == layout.Flags && last.Text == text)
        return *last.Layout;
    const TextKey key{fontCache_->Id, text, layout.Width, layout.Height, static_cast<int>(layout.Flags)};
    auto found = cache.Layouts.find(key);
    if (found == cache.Layouts.end()) {
        MakeRoom(cache, cache.Layouts);
        TextBlock block = LayoutTextBlock(text, QRect(0, 0, layout.Width, layout.Height), layout.Flags, metrics);
        std::vector<LineImage> images(block.Lines.size());
        found = cache.Layouts.emplace(key, KeptLayout{std::move(block), std::move(images)}).first;
    }
    last = LastLayout{cache.Generation, key.Font, text, layout.Width, layout.Height, layout.Flags, &found->second};
    return found->second;
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
    SetPainterTransform(*painter_, world_);
    if (Brush.Style != TBrushStyle::bsClear)
        painter_->fillRect(rect, ToQColor(Brush.Color));
    painter_->setClipRect(rect, Qt::IntersectClip);
    textClip_ = rect;
    PaintText(x, y, text);
    textClip_.reset();
    painter_->restore();
}

int PainterCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    // The block is laid out in a box at the top of the rect.
    KeptLayout& kept = LayoutOf(text, rect, flags);
    const TextBlock& block = kept.Block;
    const int top = block.Top + rect.top();
    if (flags & dt::CalcRect) {
        rect.setSize(block.Size);
        return block.Size.height();
    }
    if (!painter_->isActive())
        return block.Top + block.Size.height();
    painter_->save();
    if (!(flags & dt::NoClip)) {
        SetPainterTransform(*painter_, world_);
        painter_->setClipRect(rect, Qt::IntersectClip);
        textClip_ = rect;
    }
    for (std::size_t i = 0; i < block.Lines.size(); ++i) {
        const TextLine& line = block.Lines[i];
        const int y = top + static_cast<int>(i) * block.LineHeight;
        // An edit control shows no partly visible last line.
        if ((flags & dt::EditControl) && i > 0 && y + block.LineHeight > rect.top() + rect.height())
            break;
        int x = rect.left();
        if (flags & dt::Center)
            x += (rect.width() - line.Width) / 2;
        else if (flags & dt::Right)
            x += rect.width() - line.Width;
        PaintText(x, y, line.Text, &kept.Images[i]);
    }
    textClip_.reset();
    painter_->restore();
    return block.Top + block.Size.height();
}

QSize PainterCanvas::TextExtent(const QString& text)
{
    const QFontMetrics& metrics = CurrentMetrics();
    TextCache& cache = ThreadTexts();
    LastWidth& last = lastWidth_;
    if (last.Known && last.Font == fontCache_->Id && last.Text == text)
        return QSize(last.Width, LineHeight(metrics));
    const TextKey key{fontCache_->Id, text};
    auto found = cache.Widths.find(key);
    if (found == cache.Widths.end()) {
        MakeRoom(cache, cache.Widths);
        found = cache.Widths.emplace(key, metrics.horizontalAdvance(text)).first;
    }
    last = LastWidth{true, fontCache_->Id, text, found->second};
    return QSize(found->second, LineHeight(metrics));
}

void PainterCanvas::SetWorldTransform(const QTransform& transform)
{
    world_ = transform;
}

void PainterCanvas::SetClipRegion(const QRegion& region)
{
    clip_ = region;
    clipped_ = true;
    stampClipKnown_ = false;
    if (!painter_->isActive())
        return;
    painter_->resetTransform();
    painter_->setClipRegion(region);
}

void PainterCanvas::ResetClipRegion()
{
    clip_ = QRegion();
    clipped_ = false;
    stampClipKnown_ = false;
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
    SetPainterTransform(*painter_, world_);
    painter_->drawImage(QPoint(x, y), image);
}

void PainterCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
    if (!painter_->isActive())
        return;
    SetPainterTransform(*painter_, world_);
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
