// The device-context model shared by the EMF and WMF players: the object
// table, the selected pen, brush and font, text and background settings,
// the world and page transforms, the clip and the saved states. Records are
// decoded by the players and turned into calls here, which draw on a
// platform::Canvas with the metafile's mapping set as the canvas transform.
// The canvas's own pen, brush, font, transform, clip and position are put
// back when the playback ends.
#pragma once

#include "platform/canvas.h"

#include <QPointF>
#include <QRegion>
#include <QSizeF>

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <variant>
#include <vector>

namespace platform::picture {

struct GdiPen {
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 0; // logical units; 0 draws one pixel wide
    TColor Color = clBlack;
};

struct GdiBrush {
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = clWhite;
};

struct GdiFont {
    QString Name;
    int Height = 0; // logical units; negative gives the character height, 0 a default
    int Escapement = 0;
    TFontStyles Style = 0;
};

// Objects the players keep only to hold their place in the table (palettes,
// regions, pattern brushes) are monostate.
using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont>;

// GDI enumerations the players pass through.
enum class MapMode : std::uint8_t { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };
enum class ClipMode : std::uint8_t { And = 1, Or, Xor, Diff, Copy };

class GdiPlayback {
public:
    // deviceToTarget maps the metafile's device units onto the canvas's
    // coordinates; devicePixelsPerMm is the resolution of those device units
    // for the metric and English map modes.
    GdiPlayback(Canvas& canvas, const QTransform& deviceToTarget, QSizeF devicePixelsPerMm);
    ~GdiPlayback();
    GdiPlayback(const GdiPlayback&) = delete;
    GdiPlayback& operator=(const GdiPlayback&) = delete;

    // Objects. Creating into a used index replaces the object there.
    void CreateObject(std::uint32_t index, const GdiObject& object);
    // The lowest free index, as WMF object creation uses.
    std::uint32_t FreeIndex() const;
    // Selects a created object, or a stock object when the high bit is set.
    void SelectObject(std::uint32_t index);
    void DeleteObject(std::uint32_t index);

    // Settings.
    void SetTextColor(TColor color) { state_.TextColor = color; }
    void SetBkColor(TColor color) { state_.BkColor = color; }
    void SetBkMode(std::uint32_t mode) { state_.Opaque = mode == 2; }
    void SetTextAlign(std::uint32_t align) { state_.TextAlign = align; }
    void SetRop2(std::uint32_t rop);
    void SetMapMode(std::uint32_t mode);
    void SetWindowOrg(QPointF org) { state_.WindowOrg = org; }
    void SetWindowExt(QSizeF ext) { state_.WindowExt = ext; }
    void SetViewportOrg(QPointF org) { state_.ViewportOrg = org; }
    void SetViewportExt(QSizeF ext) { state_.ViewportExt = ext; }
    void SetWorldTransform(const QTransform& transform) { state_.World = transform; }
    // mode 1 resets, 2 multiplies on the left, 3 on the right.
    void ModifyWorldTransform(const QTransform& transform, std::uint32_t mode);
    void SaveDC();
    void RestoreDC(std::int32_t which);

    // Clipping: regions in device units, rectangles in logical units. No
    // region with ClipMode::Copy removes the clip.
    void SelectClipRegion(const std::optional<QRegion>& deviceRegion, ClipMode mode);
    void IntersectClipRect(const QRect& logical);
    void ExcludeClipRect(const QRect& logical);

    // Drawing, in logical units. Boxes hold the corners as the records give
    // them: right() and bottom() are the right and bottom edges, which the
    // figures exclude. Text, clip and fill rectangles are ordinary QRects.
    void MoveTo(QPoint p) { state_.Position = p; }
    void LineTo(QPoint p);
    void Polyline(std::span<const QPoint> points);
    void PolylineTo(std::span<const QPoint> points);
    void PolyBezier(std::span<const QPoint> points);
    void PolyBezierTo(std::span<const QPoint> points);
    void Polygon(std::span<const QPoint> points);
    void Rectangle(const QRect& box);
    void Ellipse(const QRect& box);
    void RoundRect(const QRect& box, QSize corner);
    void Arc(const QRect& box, QPoint start, QPoint end);
    // ETO_ options; clip is the text rectangle when the options name one.
    void Text(QPoint reference, const QString& text, std::uint32_t options, const std::optional<QRect>& clip);
    // A bitmap stretched into dest; a negative width or height mirrors it.
    void StretchImage(const QRect& dest, const QImage& image);
    // dest filled with the selected brush (PatBlt), or with one colour.
    void FillWithBrush(const QRect& dest);
    void FillWithColor(const QRect& dest, TColor color);

private:
    struct State {
        GdiPen Pen;
        GdiBrush Brush;
        GdiFont Font;
        TColor TextColor = clBlack;
        TColor BkColor = clWhite;
        bool Opaque = true;
        std::uint32_t TextAlign = 0;
        TPenMode Mode = TPenMode::pmCopy;
        MapMode Mapping = MapMode::Text;
        QPointF WindowOrg, ViewportOrg;
        QSizeF WindowExt{1, 1}, ViewportExt{1, 1};
        QTransform World;
        QPoint Position;
        std::optional<QRegion> Clip; // canvas device pixels; none: the canvas's own clip
    };

    QTransform PageTransform() const;
    QTransform LogicalToCanvas() const;
    // Sets the canvas pen, brush and transform for a drawing call; false when
    // the mapping is degenerate or extreme and the call draws nothing.
    bool Prepare();
    // How much the transform stretches each axis.
    static std::pair<double, double> AxisScales(const QTransform& transform);
    void ApplyClip();
    QRect LogicalRectToDevice(const QRect& logical) const;

    Canvas& canvas_;
    QTransform deviceToTarget_;
    QSizeF devicePixelsPerMm_;
    State state_;
    std::vector<State> saved_;
    std::map<std::uint32_t, GdiObject> objects_;

    // What the canvas had before playback.
    TPen canvasPen_;
    TBrush canvasBrush_;
    TFont canvasFont_;
    QTransform canvasTransform_;
    QPoint canvasPosition_;
    QRect canvasClip_;
    bool clipChanged_ = false;
};

} // namespace platform::picture
