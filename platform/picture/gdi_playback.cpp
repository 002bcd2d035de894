#include "gdi_playback.h"

#include "platform/numbers.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::picture {

namespace {

// Bounds on what a metafile can make the player keep.
constexpr std::size_t MaxObjects = 65536;
constexpr std::size_t MaxSavedStates = 1024;

constexpr std::uint32_t StockBit = 0x80000000u;
constexpr std::uint32_t TaUpdateCp = 0x01;
constexpr std::uint32_t TaHorizontalMask = 0x06;
constexpr std::uint32_t TaRight = 0x02;
constexpr std::uint32_t TaCenter = 0x06;
constexpr std::uint32_t TaVerticalMask = 0x18;
constexpr std::uint32_t TaBottom = 0x08;
constexpr std::uint32_t TaBaseline = 0x18;
constexpr std::uint32_t EtoOpaque = 0x02;
constexpr std::uint32_t EtoClipped = 0x04;

// Logical text height in pixels when a font asks for the default size.
constexpr int DefaultFontHeight = 12;

// Mappings and sizes beyond these draw nothing: no picture needs them, and
// the rasteriser and font engine are not made for them.
constexpr double MaxTransformValue = 1e7;
constexpr double MinScale = 1e-4;
constexpr double MaxScale = 1e4;
constexpr double MaxDevicePenWidth = 1000;
constexpr double MinDeviceTextHeight = 1;
constexpr double MaxDeviceTextHeight = 1000;

std::optional<GdiObject> StockObject(std::uint32_t index)
{
    switch (index) {
    case 0: return GdiBrush{TBrushStyle::bsSolid, clWhite};
    case 1: return GdiBrush{TBrushStyle::bsSolid, 0xC0C0C0};
    case 2: return GdiBrush{TBrushStyle::bsSolid, 0x808080};
    case 3: return GdiBrush{TBrushStyle::bsSolid, 0x404040};
    case 4: return GdiBrush{TBrushStyle::bsSolid, clBlack};
    case 5: return GdiBrush{TBrushStyle::bsClear, clBlack};
    case 6: return GdiPen{TPenStyle::psSolid, 0, clWhite};
    case 7: return GdiPen{TPenStyle::psSolid, 0, clBlack};
    case 8: return GdiPen{TPenStyle::psClear, 0, clBlack};
    default: return std::nullopt;
    }
}

double Extent(double value)
{
    return value == 0 || !std::isfinite(value) ? 1.0 : value;
}

} // namespace

GdiPlayback::GdiPlayback(Canvas& canvas, const QTransform& deviceToTarget, QSizeF devicePixelsPerMm)
    : canvas_(canvas),
      deviceToTarget_(deviceToTarget),
      devicePixelsPerMm_(devicePixelsPerMm),
      canvasPen_(canvas.Pen),
      canvasBrush_(canvas.Brush),
      canvasFont_(canvas.Font),
      canvasTransform_(canvas.WorldTransform()),
      canvasPosition_(canvas.PenPos()),
      canvasClip_(canvas.ClipRect())
{
    state_.Font.Name = canvas.Font.Name;
}

GdiPlayback::~GdiPlayback()
{
    canvas_.Pen = canvasPen_;
    canvas_.Brush = canvasBrush_;
    canvas_.Font = canvasFont_;
    canvas_.SetWorldTransform(canvasTransform_);
    if (canvas_.PenPos() != canvasPosition_)
        canvas_.MoveTo(canvasPosition_.x(), canvasPosition_.y());
    if (clipChanged_)
        canvas_.SetClipRegion(QRegion(canvasClip_));
}

void GdiPlayback::CreateObject(std::uint32_t index, const GdiObject& object)
{
    if ((index & StockBit) != 0 || (objects_.size() >= MaxObjects && !objects_.contains(index)))
        return;
    objects_[index] = object;
}

std::uint32_t GdiPlayback::FreeIndex() const
{
    std::uint32_t index = 0;
    for (const auto& entry : objects_) {
        if (entry.first != index)
            break;
        ++index;
    }
    return index;
}

void GdiPlayback::SelectObject(std::uint32_t index)
{
    std::optional<GdiObject> object;
    if ((index & StockBit) != 0) {
        object = StockObject(index & ~StockBit);
        if (!object && (index & ~StockBit) >= 10 && (index & ~StockBit) <= 17)
            object = GdiFont{canvasFont_.Name, 0, 0, 0};
    } else if (const auto it = objects_.find(index); it != objects_.end()) {
        object = it->second;
    }
    if (!object)
        return;
    if (const auto* pen = std::get_if<GdiPen>(&*object))
        state_.Pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(&*object))
        state_.Brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(&*object))
        state_.Font = *font;
}

void GdiPlayback::DeleteObject(std::uint32_t index)
{
    objects_.erase(index);
}

void GdiPlayback::SetRop2(std::uint32_t rop)
{
    switch (rop) {
    case 5: state_.Mode = TPenMode::pmMaskPenNot; break;
    case 7: state_.Mode = TPenMode::pmXor; break;
    case 10: state_.Mode = TPenMode::pmNotXor; break;
    default: state_.Mode = TPenMode::pmCopy; break;
    }
}

void GdiPlayback::SetMapMode(std::uint32_t mode)
{
    if (mode >= 1 && mode <= 8)
        state_.Mapping = MapMode(mode);
}

void GdiPlayback::ModifyWorldTransform(const QTransform& transform, std::uint32_t mode)
{
    switch (mode) {
    case 1: state_.World = QTransform(); break;
    case 2: state_.World = transform * state_.World; break;
    case 3: state_.World = state_.World * transform; break;
    default: break;
    }
}

void GdiPlayback::SaveDC()
{
    if (saved_.size() < MaxSavedStates)
        saved_.push_back(state_);
}

void GdiPlayback::RestoreDC(std::int32_t which)
{
    // Negative: relative to the latest saved state; positive: the nth saved.
    const std::int64_t count = std::int64_t(saved_.size());
    const std::int64_t target = which < 0 ? count + which : std::int64_t(which) - 1;
    if (which == 0 || target < 0 || target >= count)
        return;
    state_ = saved_[std::size_t(target)];
    saved_.resize(std::size_t(target));
    ApplyClip();
}

QTransform GdiPlayback::PageTransform() const
{
    double sx = 1;
    double sy = 1;
    const double mmX = devicePixelsPerMm_.width();
    const double mmY = devicePixelsPerMm_.height();
    switch (state_.Mapping) {
    case MapMode::Text: break;
    case MapMode::LoMetric: sx = mmX * 0.1; sy = -mmY * 0.1; break;
    case MapMode::HiMetric: sx = mmX * 0.01; sy = -mmY * 0.01; break;
    case MapMode::LoEnglish: sx = mmX * 0.254; sy = -mmY * 0.254; break;
    case MapMode::HiEnglish: sx = mmX * 0.0254; sy = -mmY * 0.0254; break;
    case MapMode::Twips: sx = mmX * 25.4 / 1440; sy = -mmY * 25.4 / 1440; break;
    case MapMode::Isotropic:
    case MapMode::Anisotropic:
        sx = Extent(state_.ViewportExt.width()) / Extent(state_.WindowExt.width());
        sy = Extent(state_.ViewportExt.height()) / Extent(state_.WindowExt.height());
        if (state_.Mapping == MapMode::Isotropic) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    }
    return QTransform(sx, 0, 0, sy, state_.ViewportOrg.x() - state_.WindowOrg.x() * sx,
                      state_.ViewportOrg.y() - state_.WindowOrg.y() * sy);
}

QTransform GdiPlayback::LogicalToCanvas() const
{
    return state_.World * PageTransform() * deviceToTarget_ * canvasTransform_;
}

std::pair<double, double> GdiPlayback::AxisScales(const QTransform& transform)
{
    return {std::hypot(transform.m11(), transform.m12()), std::hypot(transform.m21(), transform.m22())};
}

bool GdiPlayback::Prepare()
{
    const QTransform transform = LogicalToCanvas();
    const double values[] = {transform.m11(), transform.m12(), transform.m21(), transform.m22(), transform.dx(), transform.dy()};
    for (const double v : values)
        if (!std::isfinite(v) || std::abs(v) > MaxTransformValue)
            return false;
    const auto [sx, sy] = AxisScales(transform);
    const double scale = std::sqrt(std::abs(transform.determinant()));
    if (!(std::min(sx, sy) >= MinScale && std::max(sx, sy) <= MaxScale && scale >= MinScale))
        return false;
    // A pen no wider on the device than the limit, whatever the metafile asks.
    const int width = std::clamp(state_.Pen.Width, 1, std::max(1, int(MaxDevicePenWidth / scale)));
    canvas_.Pen = TPen{state_.Pen.Color, state_.Pen.Style, width, state_.Mode};
    canvas_.Brush = TBrush{state_.Brush.Color, state_.Brush.Style};
    canvas_.SetWorldTransform(transform);
    return true;
}

void GdiPlayback::ApplyClip()
{
    if (state_.Clip) {
        canvas_.SetClipRegion(state_.Clip->intersected(canvasClip_));
        clipChanged_ = true;
    } else if (clipChanged_) {
        canvas_.SetClipRegion(QRegion(canvasClip_));
    }
}

void GdiPlayback::SelectClipRegion(const std::optional<QRegion>& deviceRegion, ClipMode mode)
{
    if (!deviceRegion) {
        if (mode == ClipMode::Copy) {
            state_.Clip.reset();
            ApplyClip();
        }
        return;
    }
    const QRegion region = (deviceToTarget_ * canvasTransform_).map(*deviceRegion);
    const QRegion current = state_.Clip.value_or(QRegion(canvasClip_));
    switch (mode) {
    case ClipMode::Copy: state_.Clip = region; break;
    case ClipMode::And: state_.Clip = current.intersected(region); break;
    case ClipMode::Or: state_.Clip = current.united(region); break;
    case ClipMode::Xor: state_.Clip = current.xored(region); break;
    case ClipMode::Diff: state_.Clip = current.subtracted(region); break;
    }
    ApplyClip();
}

void GdiPlayback::IntersectClipRect(const QRect& logical)
{
    const QRegion region = LogicalToCanvas().map(QRegion(logical.normalized()));
    state_.Clip = state_.Clip.value_or(QRegion(canvasClip_)).intersected(region);
    ApplyClip();
}

void GdiPlayback::ExcludeClipRect(const QRect& logical)
{
    const QRegion region = LogicalToCanvas().map(QRegion(logical.normalized()));
    state_.Clip = state_.Clip.value_or(QRegion(canvasClip_)).subtracted(region);
    ApplyClip();
}

void GdiPlayback::LineTo(QPoint p)
{
    if (!Prepare())
        return;
    canvas_.MoveTo(state_.Position.x(), state_.Position.y());
    canvas_.LineTo(p.x(), p.y());
    state_.Position = p;
}

void GdiPlayback::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    if (!Prepare())
        return;
    canvas_.Polyline(points);
}

void GdiPlayback::PolylineTo(std::span<const QPoint> points)
{
    if (points.empty())
        return;
    std::vector<QPoint> all{state_.Position};
    all.insert(all.end(), points.begin(), points.end());
    Polyline(all);
    state_.Position = points.back();
}

void GdiPlayback::PolyBezier(std::span<const QPoint> points)
{
    if (points.size() < 4)
        return;
    if (!Prepare())
        return;
    canvas_.PolyBezier(points.first((points.size() - 1) / 3 * 3 + 1));
}

void GdiPlayback::PolyBezierTo(std::span<const QPoint> points)
{
    if (points.size() < 3)
        return;
    std::vector<QPoint> all{state_.Position};
    all.insert(all.end(), points.begin(), points.begin() + std::ptrdiff_t(points.size() / 3 * 3));
    PolyBezier(all);
    state_.Position = all.back();
}

void GdiPlayback::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    if (!Prepare())
        return;
    canvas_.Polygon(points);
}

void GdiPlayback::Rectangle(const QRect& box)
{
    if (!Prepare())
        return;
    canvas_.Rectangle(box.left(), box.top(), box.right(), box.bottom());
}

void GdiPlayback::Ellipse(const QRect& box)
{
    if (!Prepare())
        return;
    canvas_.Ellipse(box.left(), box.top(), box.right(), box.bottom());
}

void GdiPlayback::RoundRect(const QRect& box, QSize corner)
{
    if (!Prepare())
        return;
    canvas_.RoundRect(box.left(), box.top(), box.right(), box.bottom(), corner.width(), corner.height());
}

void GdiPlayback::Arc(const QRect& box, QPoint start, QPoint end)
{
    if (!Prepare())
        return;
    canvas_.Arc(box.left(), box.top(), box.right(), box.bottom(), start.x(), start.y(), end.x(), end.y());
}

void GdiPlayback::Text(QPoint reference, const QString& text, std::uint32_t options, const std::optional<QRect>& clip)
{
    if (!Prepare())
        return;
    if ((options & EtoOpaque) != 0 && clip) {
        canvas_.Brush = TBrush{state_.BkColor, TBrushStyle::bsSolid};
        canvas_.FillRect(clip->normalized());
    }
    if (text.isEmpty())
        return;

    const GdiFont& font = state_.Font;
    const double height = font.Height == 0 ? DefaultFontHeight : std::abs(double(font.Height));
    const auto [sx, sy] = AxisScales(canvas_.WorldTransform());
    if (!(height * std::min(sx, sy) >= MinDeviceTextHeight && height * std::max(sx, sy) <= MaxDeviceTextHeight))
        return;
    canvas_.Font = TFont{font.Name, std::max(1, RoundInt(height * 72.0 / std::max(1, canvas_.PixelsPerInch()))),
                         font.Style, state_.TextColor, font.Escapement};
    canvas_.Brush = state_.Opaque ? TBrush{state_.BkColor, TBrushStyle::bsSolid} : TBrush{clWhite, TBrushStyle::bsClear};

    if ((state_.TextAlign & TaUpdateCp) != 0)
        reference = state_.Position;
    const QSize extent = canvas_.TextExtent(text);
    // The reference point's place in the text cell, turned with the text.
    double dx = 0;
    double dy = 0;
    switch (state_.TextAlign & TaHorizontalMask) {
    case TaRight: dx = -extent.width(); break;
    case TaCenter: dx = -extent.width() / 2.0; break;
    default: break;
    }
    switch (state_.TextAlign & TaVerticalMask) {
    case TaBottom: dy = -extent.height(); break;
    case TaBaseline: {
        QFont qfont(font.Name);
        qfont.setPixelSize(100);
        const QFontMetricsF metrics(qfont);
        dy = -extent.height() * metrics.ascent() / std::max(1.0, metrics.height());
        break;
    }
    default: break;
    }
    const double angle = font.Escapement / 10.0 * std::numbers::pi / 180.0;
    const int x = RoundInt(reference.x() + dx * std::cos(angle) + dy * std::sin(angle));
    const int y = RoundInt(reference.y() - dx * std::sin(angle) + dy * std::cos(angle));
    if ((options & EtoClipped) != 0 && clip) {
        // The text cell keeps its background; only the clip is narrowed.
        const std::optional<QRegion> outer = state_.Clip;
        IntersectClipRect(clip->normalized());
        canvas_.TextOut(x, y, text);
        state_.Clip = outer;
        ApplyClip();
    } else {
        canvas_.TextOut(x, y, text);
    }
    if ((state_.TextAlign & TaUpdateCp) != 0)
        state_.Position = QPoint(reference.x() + RoundInt(extent.width() * std::cos(angle)),
                                 reference.y() - RoundInt(extent.width() * std::sin(angle)));
}

void GdiPlayback::StretchImage(const QRect& dest, const QImage& image)
{
    if (image.isNull() || dest.width() == 0 || dest.height() == 0)
        return;
    if (!Prepare())
        return;
    const bool mirrorX = dest.width() < 0;
    const bool mirrorY = dest.height() < 0;
    const QRect box(std::min(dest.left(), dest.left() + dest.width()), std::min(dest.top(), dest.top() + dest.height()),
                    std::abs(dest.width()), std::abs(dest.height()));
    canvas_.StretchDraw(box, mirrorX || mirrorY ? image.mirrored(mirrorX, mirrorY) : image);
}

void GdiPlayback::FillWithBrush(const QRect& dest)
{
    if (!Prepare())
        return;
    if (state_.Brush.Style != TBrushStyle::bsClear)
        canvas_.FillRect(dest.normalized());
}

void GdiPlayback::FillWithColor(const QRect& dest, TColor color)
{
    if (!Prepare())
        return;
    canvas_.Brush = TBrush{color, TBrushStyle::bsSolid};
    canvas_.FillRect(dest.normalized());
}

} // namespace platform::picture
