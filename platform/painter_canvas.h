// The canvas that paints with QPainter on any paint device: a QImage (the
// back buffer of a host widget, a bitmap export), a QPixmap or a QPrinter
// page. Nothing is antialiased, so drawings on a QImage are pixel-exact and
// the same on every run.
//
// Mix modes other than pmCopy combine the pen and brush pixels with the
// pixels already there; they act exactly on a QImage, through raster
// operations on other raster devices, and as pmCopy on printers. Text,
// FillRect, FrameRect, pictures and SetPixel always copy.
#pragma once

#include "canvas.h"
#include "text_layout.h"

#include <QPainter>
#include <QPainterPath>

#include <QFontMetrics>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;

namespace platform {

// The pixels that a small figure paints, kept to place it again.
struct FigureStamp;
// A text drawn once, turned, with the offset of its image from the text's
// anchor.
struct PlacedText;
// The pixels that a mixed figure paints into its layer, kept to mix it again.
struct MixedFigure;
// The layout of a DrawText call, kept with the images its lines were drawn
// from, and one such image.
struct KeptLayout;
struct LineImage;

class PainterCanvas final : public Canvas {
public:
    // Paints on device for the lifetime of the canvas (a QPainter is begun
    // here and ended by the destructor). A device of no size takes every
    // call and shows nothing.
    explicit PainterCanvas(QPaintDevice& device);
    // Paints through a painter that the caller has begun and keeps; the
    // painter's state is saved here and restored by the destructor.
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;

    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPos() const override { return penPos_; }
    void Polyline(std::span<const QPoint> points) override;
    // One stroke for all the lines of a one-pixel solid pen in copy mode
    // (see SegmentsInOneStroke); any other pen draws them one by one.
    void Segments(std::span<const QPoint> ends) override;
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

    int PixelsPerInch() const override;
    // On an image.
    bool KeepsOnlyPixels() const override { return TargetImage() != nullptr; }

    // The painter, for the hosts that need to finish a page (QPrinter::newPage).
    QPainter& Painter() { return *painter_; }

private:
    // What a line or figure call paints: outline stroked with the pen and,
    // for closed figures, fill filled with the brush first.
    struct Shape {
        QPainterPath fill;
        QPainterPath outline;
        bool closed = false;
        const QRectF* ellipse = nullptr; // set when the figure is this ellipse
    };
    void Begin();
    // Paints the shape in the current mix mode.
    void PaintFigure(const Shape& shape);
    // Paints the figure that make() builds. Where the canvas can place it
    // from a stamp (see CanStamp), stampKey_ holds the figure's operation
    // and coordinates relative to anchor: a figure seen before is placed
    // from its stamp and not built at all, a new one is stamped first.
    template <typename Make>
    void PaintStampedFigure(QPoint anchor, Make make);
    // The same, with paint(shape) drawing a figure that is not placed from
    // a stamp.
    template <typename Make, typename Paint>
    void PaintStampedFigure(QPoint anchor, Make make, Paint paint);
    // True when a figure drawn now shows the same pixels wherever it is
    // moved by whole pixels, and the canvas may write them into the image
    // itself: copy mode, a solid or clear brush, a world transform that
    // moves by whole pixels only, and a 32-bit image of its own.
    bool CanStamp() const;
    // The clip region's rectangles within the image.
    const std::vector<QRect>& StampClip();
    // Writes the pixels of a line along a row or column into the image
    // where the canvas can (see CanStamp) and the line's pixels are plain
    // (a one-pixel pen, solid or dashed, or a three-pixel pen); false when
    // it must be drawn by the painter.
    bool PaintStraightLine(QPoint a, QPoint b);
    // True when a one-pixel solid line may be written into the image by
    // the canvas (see CanStamp).
    bool CanWriteThinLine() const;
    // Writes the pixels that the painter's stroke of the one-pixel solid
    // path through points sets where the canvas can (see
    // CanWriteThinLine); false when it must be drawn by the painter.
    bool PaintThinPath(std::span<const QPoint> points);
    // Writes the pixels of the separate one-pixel solid lines of Segments
    // (from, to pairs), each as PaintThinPath or PaintStraightLine would,
    // where the canvas can and no line is of no length; false (nothing
    // written) when they must be drawn otherwise.
    bool PaintThinSegments(std::span<const QPoint> ends);
    // Calls trace(put), put(run) writing the pen's colour into the pixels
    // of a ThinRun that lie in the clip (not at all when the clip is
    // empty); false when the canvas cannot write (see CanWriteThinLine).
    template <typename Trace>
    bool WithThinLineWriter(Trace trace);
    // Writes the pixels that the painter's one-pixel solid stroke of the
    // outline (one open or closed figure of lines and curves) sets, where
    // the canvas can (see CanWriteThinLine); false when it must be stroked
    // by the painter.
    bool WriteThinOutline(const QPainterPath& outline);
    // Writes the pixels of the line pieces between points (device pixels,
    // none left out), a path closed by the piece from closing[0] to
    // closing[1] unless closing is null.
    bool PaintThinPieces(std::span<const QPointF> points, const QPointF* closing);
    // Writes the pixels of such a path of many points from those kept for
    // it (see KeptRunCache), keeping them the second time it is drawn;
    // false when it must be traced. offset moves its points onto the device.
    bool PaintKeptThinPath(std::span<const QPoint> points, QPoint offset, QRgb color);
    // A polygon of a one-pixel solid pen where the canvas may write its
    // outline (see CanWriteThinLine): its outline written, its fill written
    // from kept pixels (see PaintKeptFill) or filled by the painter; false
    // when the painter must draw it all.
    bool PaintThinPolygon(std::span<const QPoint> points);
    // Writes the fill of a polygon of a solid brush from the pixels kept
    // for it (see KeptRunCache), keeping them the second time it is drawn;
    // false when the painter must fill it.
    bool PaintKeptFill(std::span<const QPoint> points);
    // Writes the pixels of the straight line that covers area (one pixel
    // wide or high, or a three-pixel box) inside part: solid, or with the
    // dash pattern running from the start end when dashes are given.
    void WriteStraightLine(const QRect& area, const QRect& part, bool vertical, bool forward,
                           const QList<qreal>& dashes);
    // Writes the pixels of an ellipse of a one-pixel solid or clear pen and
    // a solid or clear brush into the image where the canvas can (see
    // CanStamp), as the painter's own ellipse rasterizer sets them; false
    // when it must be drawn by the painter.
    bool WriteEllipse(int left, int top, int right, int bottom);
    // The path of a rounded rectangle with corners of the given width and
    // height.
    QPainterPath RoundRectPath(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) const;
    // Writes the pixels of a rounded rectangle of a one-pixel solid or clear
    // pen and a solid or clear brush from those kept when the painter drew
    // one of its size and corners before (see KeptRunCache), keeping them
    // the second time it is drawn, where the canvas can (see CanStamp) and
    // it lies within the image and one clip rectangle; false when it must be
    // drawn by the painter.
    bool WriteRoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    // Writes the pixels of an unturned rectangle of a one-pixel solid or
    // clear pen and a solid or clear brush where the canvas can (see
    // CanStamp): the fill rect, then its frame one pixel further right and
    // down, as the painter fills and strokes them; false when it must be
    // drawn by the painter.
    bool WriteRectangle(const QRectF& rect);
    // Writes colours into the pixels of rows that lie in the clip (see
    // StampClip), on an image the canvas may write (see CanStamp); valid
    // while the image and clip stay.
    struct RowWriter {
        uchar* Bits;
        qsizetype Stride;
        const std::vector<QRect>* Clips;
        // The pixels from to to, both included, of row y.
        void operator()(int y, int from, int to, QRgb color) const;
    };
    RowWriter Rows();
    // Writes the pixels of a solid FillRect into the image where it lies
    // within one clip rectangle under a world that moves by whole pixels;
    // false when it must be filled by the painter.
    bool FillRectInImage(const QRect& rect);
    // Writes the pixels of a stamp with its anchor at device point at;
    // false (nothing written) when the stamp cannot be placed there.
    bool PlaceStamp(const FigureStamp& stamp, QPoint at);
    void PaintFigureOn(QPainter& painter, const QTransform& deviceOffset, const Shape& shape);
    void PaintFigureMixed(const Shape& shape);
    // Puts into mixedKey_ what decides the pixels that an outline figure
    // paints on the image, relative to the device point anchor of its first
    // point: the pen, the brush, the figure and, unless reach (the device
    // area the figure can touch) lies within the image, where the figure
    // lies on it. False (no key) for a figure that is turned, off whole
    // pixels or too large to keep.
    bool MixedFigureKey(const Shape& shape, const QRectF& reach, QPoint& anchor);
    // What became of a figure with a key: its kept pixels were mixed into
    // the image, or it must be drawn through the layer, recording its pixels
    // or (kept as not placeable) without. whole is the part of the image the
    // figure can touch; the clip decides which kept pixels are mixed.
    enum class KeptFigure { Placed, Record, DrawOnly };
    KeptFigure PlaceMixedFigure(QPoint anchor, const QRect& whole);
    // Whether p lies in one of the clip rectangles.
    static bool InClip(const std::vector<QRect>& clips, QPoint p);
    // Keeps the pixels recorded while the figure of mixedKey_ was mixed:
    // origin is the device point of their (0, 0) less the anchor; a figure
    // of pixels of more than one colour is kept as not placeable.
    void KeepMixedFigure(QPoint origin, QRgb color, bool oneColor);
    // A run of pixels on one row of a patch, both ends included.
    struct Span {
        int Y;
        int Left;
        int Right;
    };
    // Puts into spans_ the row pieces (patch pixels) that a stroke along
    // outline can touch, margin pixels to each side; they may overlap.
    void OutlineSpans(const QPainterPath& outline, const QRect& patch, int margin);
    // Adds the rows of the box grown by margin, within the patch.
    void AddBoxSpans(QRectF box, QSize patch, int margin);
    void AddSegmentSpans(QPointF a, QPointF b, QSize patch, int margin);
    // A cubic curve lies within the box of its control points: it is split
    // until its pieces' boxes are small.
    void AddCurveSpans(const QPointF (&points)[4], QSize patch, int margin, int depth);
    // The rectangle of a figure with the given edges, right and bottom
    // exclusive, shrunk for an inside-frame pen.
    QRectF FigureRect(int left, int top, int right, int bottom) const;
    // An unturned rectangle in copy mode with a one-pixel pen, filled and
    // framed by the painter's own rectangle calls, which paint the pixels
    // of its figure without a path; false for any other rectangle.
    bool UprightRectangle(int left, int top, int right, int bottom);
    // True when separate lines may be stroked as pieces of one path and show
    // the pixels of stroking each alone: a one-pixel solid pen in copy mode
    // on an image of its own, with no transform of the painter's beyond the
    // world transform. The painter then treats each piece as a line of its
    // own, except that a piece running against the one before it on the
    // same axis gets half a pixel more at its start; Segments turns such
    // pieces around, which draws a lone line the same.
    bool SegmentsInOneStroke() const;
    // The pen width in device pixels; 1 means a one-pixel (cosmetic) line.
    int DevicePenWidth() const;
    // Draws text with its top left corner at (x, y). A line of a kept
    // layout passes what it remembers of its image, which is found by
    // that and remembered there.
    void PaintText(int x, int y, const QString& text, LineImage* line = nullptr);
    // Writes the pixels of a text image with its corner at device point at
    // into the image, as drawing the image would set them, where the canvas
    // can; false (nothing written) where the image must be drawn.
    bool PlaceText(const PlacedText& text, QPoint at);
    // Set while a text is drawn under a clip of its own rectangle (in the
    // canvas's coordinates, before the world transform).
    std::optional<QRect> textClip_;
    const QFont& CurrentFont() const;
    const QFontMetrics& CurrentMetrics() const;
    QImage* TargetImage() const;

    std::unique_ptr<QPainter> ownPainter_;
    QPainter* painter_ = nullptr;
    // Set when a painter handed in already clips: its clip is not known
    // here, so nothing is written into the image directly.
    bool foreignClip_ = false;
    // The operation, pen, brush and relative coordinates of the figure
    // being drawn, when it may be placed from a stamp.
    std::vector<int> stampKey_;
    // The clip region's rectangles within the image, for placed stamps.
    std::vector<QRect> stampClip_;
    bool stampClipKnown_ = false;
    QPoint penPos_;
    QTransform world_;
    QRegion clip_;
    bool clipped_ = false;
    // The layer of mixed figures and its painter, kept between them, and the
    // row pieces of the layer that the current figure is mixed through.
    QImage layer_;
    std::unique_ptr<QPainter> layerPainter_;
    std::vector<Span> spans_;
    // The key of the mixed figure being drawn, and the pixels it mixed
    // (x in the low, y in the high 16 bits, from the figure's origin).
    std::vector<int> mixedKey_;
    std::vector<std::uint32_t> mixedPixels_;
    // The image of a text in the current font, on the brush colour when the
    // brush is solid; null for a text drawn for the first time or too large
    // to keep as an image. line, when given, remembers the image found.
    const PlacedText* TextImageOf(const QString& text, LineImage* line = nullptr);
    // The layout of DrawText in the current font, in a box at the top of
    // rect; valid until the next call.
    KeptLayout& LayoutOf(const QString& text, const QRect& rect, unsigned flags);
    // The layout found last, so that the call that draws a text finds what
    // the call that measured it found without a lookup; it holds while the
    // thread's texts were not dropped since (Generation).
    struct LastLayout {
        std::uint64_t Generation = 0;
        int Font = 0;
        QString Text;
        int Width = 0;
        int Height = 0;
        unsigned Flags = 0;
        KeptLayout* Layout = nullptr;
    };
    LastLayout lastLayout_;
    // The width measured last: TextOut moves the pen past the text that was
    // just measured to place it. A width depends only on font and text.
    struct LastWidth {
        bool Known = false;
        int Font = 0;
        QString Text;
        int Width = 0;
    };
    LastWidth lastWidth_;
    // A font of the texts drawn or measured (escapement 0, black), and
    // what names it in the texts that the canvases keep: a number given to
    // each description of a font on the thread.
    struct FontCache {
        TFont Key;
        QFont Font;
        QFontMetrics Metrics;
        int Id;
    };
    mutable std::vector<std::unique_ptr<FontCache>> fonts_;
    // The one of fonts_ in use.
    mutable FontCache* fontCache_ = nullptr;
};

} // namespace platform
