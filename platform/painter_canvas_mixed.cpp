// Mixed figures kept as the pixels they paint. A selection of thousands of
// shapes mixes the same outlines into every repaint; moved by whole pixels
// within the image, an outline paints the same pixels wherever it lies, and
// a clip only decides which of them show. Its pixels are recorded the first
// time it is mixed through the layer and mixed straight into the image from
// then on.
#include "painter_canvas.h"

#include "colors.h"
#include "int_key_hash.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace platform {

struct MixedFigure {
    // The device point of the pixels' (0, 0), less the figure's anchor.
    QPoint Origin;
    QRgb Color = 0;
    // False for a figure whose pixels are not of one colour: it is always
    // drawn through the layer.
    bool Usable = true;
    std::vector<std::uint32_t> Pixels;
};

namespace {

// The kept figures of all canvases on a thread hold at most this many
// pixels (4 bytes each) and figures; they are dropped together when a new
// one would not fit.
constexpr std::size_t MostMixedPixels = 1 << 22;
constexpr std::size_t MostMixedFigures = 1 << 16;
// Figures of more path elements, or larger patches, are not kept.
constexpr int MostMixedElements = 4096;
constexpr int MostMixedSide = 1 << 14;
// Coordinates within this distance of the origin are exact in the painter.
constexpr double MixedReach = 1 << 20;

struct MixedFigureCache {
    std::unordered_map<std::vector<int>, MixedFigure, IntKeyHash> Figures;
    std::size_t Pixels = 0;
};

MixedFigureCache& ThreadMixedFigures()
{
    thread_local MixedFigureCache cache;
    return cache;
}

bool WholeWithinReach(double v)
{
    return v == std::trunc(v) && std::abs(v) <= MixedReach;
}

} // namespace

bool PainterCanvas::InClip(const std::vector<QRect>& clips, QPoint p)
{
    return std::any_of(clips.begin(), clips.end(), [p](const QRect& clip) { return clip.contains(p); });
}

bool PainterCanvas::MixedFigureKey(const Shape& shape, const QRectF& reach, QPoint& anchor)
{
    const int count = shape.outline.elementCount();
    if (world_.type() > QTransform::TxTranslate || !WholeWithinReach(world_.dx()) || !WholeWithinReach(world_.dy()) ||
        shape.ellipse != nullptr || count == 0 || count > MostMixedElements || !(reach.width() <= MostMixedSide) ||
        !(reach.height() <= MostMixedSide) || !WholeWithinReach(std::trunc(reach.left())) ||
        !WholeWithinReach(std::trunc(reach.top())))
        return false;
    const QRect touched = reach.toAlignedRect();
    const QPainterPath::Element first = shape.outline.elementAt(0);
    if (!WholeWithinReach(first.x) || !WholeWithinReach(first.y))
        return false;
    anchor = QPoint(static_cast<int>(first.x + world_.dx()), static_cast<int>(first.y + world_.dy()));
    mixedKey_.clear();
    mixedKey_.insert(mixedKey_.end(), {static_cast<int>(ColorToRGB(Pen.Color)), static_cast<int>(Pen.Style),
                                       DevicePenWidth(), static_cast<int>(Brush.Style),
                                       static_cast<int>(ColorToRGB(Brush.Color)), shape.closed ? 1 : 0});
    // A figure within the image shows the same pixels wherever it lies;
    // one that leaves the image is cut by where it leaves it.
    const QImage& target = *TargetImage();
    if (target.rect().contains(touched))
        mixedKey_.push_back(0);
    else
        mixedKey_.insert(mixedKey_.end(), {1, anchor.x(), anchor.y(), target.width(), target.height()});
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = shape.outline.elementAt(i);
        if (!WholeWithinReach(e.x) || !WholeWithinReach(e.y))
            return false;
        mixedKey_.insert(mixedKey_.end(), {static_cast<int>(e.type), static_cast<int>(e.x - first.x),
                                           static_cast<int>(e.y - first.y)});
    }
    return true;
}

PainterCanvas::KeptFigure PainterCanvas::PlaceMixedFigure(QPoint anchor, const QRect& whole)
{
    const MixedFigureCache& cache = ThreadMixedFigures();
    const auto found = cache.Figures.find(mixedKey_);
    if (found == cache.Figures.end())
        return KeptFigure::Record;
    const MixedFigure& figure = found->second;
    if (!figure.Usable)
        return KeptFigure::DrawOnly;
    QImage& target = *TargetImage();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const QPoint origin = anchor + figure.Origin;
    const qsizetype base = origin.y() * stride + qsizetype{origin.x()} * 4;
    const std::vector<QRect>& clips = StampClip();
    const bool unclipped = std::any_of(clips.begin(), clips.end(), [&](const QRect& clip) { return clip.contains(whole); });
    const auto mixAll = [&](auto mix) {
        for (const std::uint32_t p : figure.Pixels) {
            const int x = static_cast<int>(p & 0xFFFFu);
            const int y = static_cast<int>(p >> 16);
            if (!unclipped && !InClip(clips, origin + QPoint(x, y)))
                continue;
            auto& dest = *reinterpret_cast<QRgb*>(bits + base + y * stride + qsizetype{x} * 4);
            dest = mix(dest);
        }
    };
    // As the layer's pixels are mixed: the alpha of the image stays.
    const QRgb s = figure.Color;
    switch (Pen.Mode) {
    case TPenMode::pmNotXor:
        mixAll([flip = ~s & 0x00FFFFFFu](QRgb d) { return d ^ flip; });
        break;
    case TPenMode::pmMaskPenNot:
        mixAll([keep = ~s | 0xFF000000u](QRgb d) { return d & keep; });
        break;
    case TPenMode::pmXor:
        mixAll([flip = s & 0x00FFFFFFu](QRgb d) { return d ^ flip; });
        break;
    case TPenMode::pmCopy:
        mixAll([color = s & 0x00FFFFFFu](QRgb d) { return (d & 0xFF000000u) | color; });
        break;
    }
    return KeptFigure::Placed;
}

void PainterCanvas::KeepMixedFigure(QPoint origin, QRgb color, bool oneColor)
{
    MixedFigureCache& cache = ThreadMixedFigures();
    const std::size_t pixels = oneColor ? mixedPixels_.size() : 0;
    if (pixels > MostMixedPixels)
        return;
    if (cache.Pixels + pixels > MostMixedPixels || cache.Figures.size() >= MostMixedFigures) {
        cache.Figures.clear();
        cache.Pixels = 0;
    }
    MixedFigure figure{origin, color, oneColor, {}};
    if (oneColor)
        figure.Pixels.assign(mixedPixels_.begin(), mixedPixels_.end());
    cache.Pixels += pixels;
    cache.Figures.emplace(mixedKey_, std::move(figure));
}

} // namespace platform
