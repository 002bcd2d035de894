#include "plane_map.h"

#include "covered_cells.h"
#include "grab_handles.h"
#include "vyr_map_com.h"

#include "platform/numbers.h"

#include <QPolygon>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace siteplan {

namespace {

constexpr int MaxZoom = 1000000;

} // namespace

TPlaneMap::TPlaneMap(platform::WindowServices& services, int pixelsPerInch)
    : FServices(services),
      FPixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96),
      FPixelsPer01mm(static_cast<float>(FPixelsPerInch / 254.0)),
      FSelection([this](TSelectMapComs& list, TVyrMapCom* shape, TListNotification action) {
          SelectionNotify(list, shape, action);
      }),
      FCurPen(&DefaultPen),
      FCurBrush(&DefaultBrush),
      FCurTextShow(&DefaultTextShow)
{
    DefaultBrush.SetColor(platform::clWhite);
    DefaultBrush.SetStyle(platform::TBrushStyle::bsClear);
    SetCursor(platform::cursor::kHandPoint);
    UpdateHeight();
    UpdateWidth();
}

TPlaneMap::~TPlaneMap()
{
    FDestroying = true;
    FCaptureHandle = nullptr;
    FDrawingMapCom = nullptr;
    FMapComs.clear();
}

// --- Paper, scale and zoom ---

bool TPlaneMap::GetPaperSize(int index, int& width, int& height)
{
    static constexpr int Sizes[5][2] = {{841, 1189}, {594, 841}, {420, 594}, {297, 420}, {210, 297}};
    if (index < 0 || index > 4)
        return false;
    width = Sizes[index][0];
    height = Sizes[index][1];
    return true;
}

void TPlaneMap::SetPlanmapSize(int value)
{
    if (value == FPlanmapSize)
        return;
    FPlanmapSize = value;
    SetModified();
    GetPaperSize(value, FMapWidth, FMapHeight);
    UpdateWidth();
    UpdateHeight();
}

void TPlaneMap::SetMapHeight(int value)
{
    if (value == FMapHeight)
        return;
    FMapHeight = value;
    SetModified();
    UpdateHeight();
    UpdateWidth();
}

void TPlaneMap::SetMapWidth(int value)
{
    if (value == FMapWidth)
        return;
    FMapWidth = value;
    SetModified();
    UpdateWidth();
    UpdateHeight();
}

void TPlaneMap::SetOrientation(TPrinterOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    SetModified();
    UpdateHeight();
    UpdateWidth();
}

void TPlaneMap::SetShowPaper(bool value)
{
    if (value == FShowPaper)
        return;
    FShowPaper = value;
    SetModified();
    UpdateHeight();
    UpdateWidth();
}

void TPlaneMap::SetLeftMargin(int value)
{
    if (value == FLeftMargin)
        return;
    FLeftMargin = value;
    SetModified();
    UpdateWidth();
}

void TPlaneMap::SetRightMargin(int value)
{
    if (value == FRightMargin)
        return;
    FRightMargin = value;
    SetModified();
    UpdateWidth();
}

void TPlaneMap::SetTopMargin(int value)
{
    if (value == FTopMargin)
        return;
    FTopMargin = value;
    SetModified();
    UpdateHeight();
}

void TPlaneMap::SetBottomMargin(int value)
{
    if (value == FBottomMargin)
        return;
    FBottomMargin = value;
    SetModified();
    UpdateHeight();
}

void TPlaneMap::SetMapScale(int value)
{
    value = std::max(value, 1);
    if (value == FMapScale)
        return;
    FMapScale = value;
    SetModified();
    ScaleChangedAll();
    RefreshAll();
}

void TPlaneMap::SetShowGrid(bool value)
{
    if (value == FShowGrid)
        return;
    FShowGrid = value;
    SetModified();
    InvalidateRect({0, 0, FWidth, FHeight});
}

void TPlaneMap::SetGridColor(platform::TColor value)
{
    if (value == FGridColor)
        return;
    FGridColor = value;
    InvalidateRect({0, 0, FWidth, FHeight});
}

void TPlaneMap::SetZoom(int percent)
{
    percent = std::clamp(percent, 1, MaxZoom);
    if (percent == FZoom)
        return;
    FZoom = percent;
    UpdateHeight();
    UpdateWidth();
    ScaleChangedAll();
    RefreshAll();
}

void TPlaneMap::ScaleChangedAll()
{
    for (auto& shape : FMapComs)
        shape->ScaleChanged();
}

// --- Sizing and coordinates ---

int TPlaneMap::MmToPixels(double mm, int zoom) const
{
    return platform::RoundInt(FPixelsPerInch * mm / 25.4 * zoom / 100);
}

void TPlaneMap::UpdateHeight()
{
    const bool landscape = FOrientation == TPrinterOrientation::poLandscape;
    double mm = landscape ? FMapWidth : FMapHeight;
    if (!FShowPaper)
        mm -= static_cast<double>(FTopMargin) + FBottomMargin;
    SetSize(FWidth, std::max(0, MmToPixels(mm, FZoom)));
}

void TPlaneMap::UpdateWidth()
{
    const bool landscape = FOrientation == TPrinterOrientation::poLandscape;
    double mm = landscape ? FMapHeight : FMapWidth;
    if (!FShowPaper)
        mm -= static_cast<double>(FLeftMargin) + FRightMargin;
    SetSize(std::max(0, MmToPixels(mm, FZoom)), FHeight);
}

void TPlaneMap::SetSize(int width, int height)
{
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    InvalidateRect({0, 0, FWidth, FHeight});
}

float TPlaneMap::ScaleFactor() const
{
    // A scale or zoom read from a file may be 0 or negative: treat it as 1.
    const int scale = std::max(FMapScale, 1);
    const int zoom = std::max(FZoom, 1);
    if (scale != FFactorScale || zoom != FFactorZoom) {
        FFactor = static_cast<float>(static_cast<double>(FPixelsPer01mm) / scale * zoom / 100);
        FFactorScale = scale;
        FFactorZoom = zoom;
    }
    return FFactor;
}

QPoint TPlaneMap::WorldToScreen(QPoint world) const
{
    const double k = ScaleFactor();
    return {ScreenCoordinate(world.x() * k + Origin.x()), ScreenCoordinate(world.y() * k + Origin.y())};
}

QPoint TPlaneMap::ScreenToWorld(QPoint screen) const
{
    const double k = ScaleFactor();
    return {platform::RoundInt((static_cast<double>(screen.x()) - Origin.x()) / k),
            platform::RoundInt((static_cast<double>(screen.y()) - Origin.y()) / k)};
}

QPoint TPlaneMap::SnappedWorld(QPoint screen) const
{
    const double k = ScaleFactor();
    const auto snap = [k](int v) { return platform::SaturateInt(platform::Round(platform::Round(v / k) / 100.0) * 100); };
    return {snap(screen.x()), snap(screen.y())};
}

// --- Grid ---

void TPlaneMap::UpdateGridUnit()
{
    const double k = ScaleFactor();
    const float pixelsPerMm = static_cast<float>(FPixelsPerInch / 25.4);
    // The world length of one screen centimetre; at least 1, so that the
    // step never becomes 0 however far the plan is zoomed in.
    std::int64_t d = std::max<std::int64_t>(1, platform::Round(pixelsPerMm * 10 / k));
    std::int64_t p = 1;
    while (d > 9) {
        d /= 10;
        p *= 10;
    }
    const std::int64_t e = d * p;
    const std::int64_t f = e % 5 == 0 ? e : (e / 5) * 5 + 5;
    FUnitPixel = static_cast<float>(f * k);
    if (p >= 10000) {
        FShowUnit = QStringLiteral("米");
        FUnitValue = platform::SaturateInt(e / 10000);
    } else if (p >= 100) {
        FShowUnit = QStringLiteral("厘米");
        FUnitValue = platform::SaturateInt(e / 100);
    } else if (p >= 10) {
        FShowUnit = QStringLiteral("mm");
        FUnitValue = platform::SaturateInt(e / 10);
    } else {
        FShowUnit = QStringLiteral("0.1mm");
        FUnitValue = platform::SaturateInt(f);
    }
}

// --- Painting ---

void TPlaneMap::PaintPaperMarks(platform::Canvas& canvas) const
{
    const bool landscape = FOrientation == TPrinterOrientation::poLandscape;
    const double sheetWidth = landscape ? FMapHeight : FMapWidth;
    const double sheetHeight = landscape ? FMapWidth : FMapHeight;
    const int x1 = MmToPixels(FLeftMargin, FZoom);
    const int y1 = MmToPixels(FTopMargin, FZoom);
    const int x2 = MmToPixels(sheetWidth - FRightMargin, FZoom);
    const int y2 = MmToPixels(sheetHeight - FBottomMargin, FZoom);
    const int g = platform::RoundInt(20.0 * FZoom / 100);
    canvas.Pen = platform::TPen{platform::clBtnFace, platform::TPenStyle::psSolid, 1, platform::TPenMode::pmCopy};
    const QPoint marks[4][3] = {
        {{x1 - g, y1}, {x1, y1}, {x1, y1 - g}},
        {{x2 + g, y1}, {x2, y1}, {x2, y1 - g}},
        {{x1 - g, y2}, {x1, y2}, {x1, y2 + g}},
        {{x2 + g, y2}, {x2, y2}, {x2, y2 + g}},
    };
    for (const auto& mark : marks)
        canvas.Polyline(mark);
    canvas.Pen.Style = platform::TPenStyle::psDot;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.Rectangle(x1, y1, x2, y2);
}

void TPlaneMap::PaintGrid(platform::Canvas& canvas) const
{
    canvas.Pen = platform::TPen{platform::clBtnFace, platform::TPenStyle::psDot, 1, platform::TPenMode::pmCopy};
    // The gaps of the dots show the paper, whatever brush the canvas holds
    // from earlier drawing.
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    // Only the lines that the canvas can show are drawn: a huge plan zoomed
    // in would otherwise draw millions of lines outside the view.
    const QRect visible = canvas.ClipRect();
    const double step = FUnitPixel;
    const auto first = [step](int from) { return std::max<std::int64_t>(1, platform::Trunc(from / step)); };
    const auto last = [step](int to, int size) {
        return std::min(platform::Trunc(size / step), platform::Trunc(to / step) + 1);
    };
    for (std::int64_t i = first(visible.left()), n = last(visible.right(), FWidth); i <= n; ++i) {
        const int x = platform::RoundInt(i * step);
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, FHeight);
    }
    for (std::int64_t i = first(visible.top()), n = last(visible.bottom(), FHeight); i <= n; ++i) {
        const int y = platform::RoundInt(i * step);
        canvas.MoveTo(0, y);
        canvas.LineTo(FWidth, y);
    }
}

void TPlaneMap::Paint(platform::Canvas& canvas)
{
    canvas.SetWorldTransform(QTransform());
    if (FShowPaper)
        PaintPaperMarks(canvas);
    UpdateGridUnit();
    PaintGrid(canvas);
    // A shape draws nothing outside its repaint frame: the shapes whose
    // frame misses the area the canvas can show are left out.
    const QRect visible = canvas.ClipRect();
    // Where only the pixels count, a shape in the normal mode whose frame
    // lies wholly under the opaque areas of shapes drawn after it in the
    // normal mode would be painted over: it is left out too. Found back to
    // front, before anything is drawn.
    std::vector<QRect> frames(FMapComs.size());
    std::vector<bool> hidden(FMapComs.size(), false);
    // Whether each shape is selected, looked up once.
    std::vector<bool> selected(FMapComs.size(), false);
    if (canvas.KeepsOnlyPixels()) {
        TCoveredCells covered(visible);
        for (std::size_t i = FMapComs.size(); i-- > 0;) {
            const TVyrMapCom& shape = *FMapComs[i];
            if (&shape == FDrawingMapCom)
                continue;
            frames[i] = PaintFrame(shape);
            selected[i] = IsSelected(&shape);
            if (selected[i])
                continue;
            // The frame's room for the rotation arm of a selected shape is
            // not drawn in the normal mode.
            hidden[i] = covered.Covers(shape.RotateAngle == 0
                                           ? shape.GetBounds().Inflated(shape.GetPaintMargin() + 2).ToQRect()
                                           : frames[i]);
            for (const QRect& opaque : shape.OpaqueAreas())
                covered.Cover(opaque);
        }
    } else {
        for (std::size_t i = 0; i < FMapComs.size(); ++i)
            if (FMapComs[i].get() != FDrawingMapCom) {
                frames[i] = PaintFrame(*FMapComs[i]);
                selected[i] = IsSelected(FMapComs[i].get());
            }
    }
    for (std::size_t i = 0; i < FMapComs.size(); ++i) {
        TVyrMapCom* shape = FMapComs[i].get();
        if (shape == FDrawingMapCom || hidden[i] || !frames[i].intersects(visible))
            continue;
        shape->Draw(canvas, selected[i] ? drawmode::SelectedRotating : drawmode::Normal);
    }
    canvas.SetWorldTransform(QTransform());
    for (TVyrMapCom* shape : FSelection.List())
        if (const TGrabHandles* handles = shape->GrabHandles())
            handles->Paint(canvas, visible);
    canvas.SetWorldTransform(QTransform());
}

QSize TPlaneMap::PrintableSize() const
{
    int h = MmToPixels(FMapHeight, 100);
    int w = MmToPixels(FMapWidth, 100);
    if (FOrientation == TPrinterOrientation::poLandscape)
        std::swap(h, w);
    const std::int64_t width = static_cast<std::int64_t>(w) - MmToPixels(FLeftMargin, 100) - MmToPixels(FRightMargin, 100);
    const std::int64_t height = static_cast<std::int64_t>(h) - MmToPixels(FTopMargin, 100) - MmToPixels(FBottomMargin, 100);
    return {platform::SaturateInt(std::max<std::int64_t>(width, 0)), platform::SaturateInt(std::max<std::int64_t>(height, 0))};
}

// --- Invalidation ---

void TPlaneMap::RefreshAll()
{
    // The whole sheet is repainted: the handles move without repainting
    // their old and new places one by one.
    for (auto& shape : FMapComs)
        if (TGrabHandles* handles = shape->GrabHandles())
            handles->Reposition(false);
    InvalidateRect({0, 0, FWidth, FHeight});
}

TRect TPlaneMap::MapComFrame(const TVyrMapCom& shape) const
{
    TRect r = shape.GetBounds();
    r.Right += 25;
    return r.Inflated(shape.GetPaintMargin() + 2);
}

QPolygon TPlaneMap::TurnedFrame(const TVyrMapCom& shape) const
{
    const TRect r = MapComFrame(shape);
    const float angle = shape.RotateRadians();
    QPolygon corners;
    corners << shape.RotatePoint({r.Left, r.Top}, angle) << shape.RotatePoint({r.Right, r.Top}, angle)
            << shape.RotatePoint({r.Right, r.Bottom}, angle) << shape.RotatePoint({r.Left, r.Bottom}, angle);
    return corners;
}

QRegion TPlaneMap::GetMapComRegion(const TVyrMapCom& shape) const
{
    if (shape.RotateAngle == 0)
        return QRegion(MapComFrame(shape).ToQRect());
    return QRegion(TurnedFrame(shape));
}

QRect TPlaneMap::PaintFrame(const TVyrMapCom& shape) const
{
    // A turned shape counts with the bounds of its turned frame: building
    // the region of a polygon far off the sheet costs much and is not needed.
    if (shape.RotateAngle == 0)
        return MapComFrame(shape).ToQRect();
    return TurnedFrame(shape).boundingRect();
}

void TPlaneMap::InvalidateMapCom(const TVyrMapCom& shape)
{
    FServices.InvalidateRect(PaintFrame(shape));
}

void TPlaneMap::InvalidateRect(const TRect& rect)
{
    if (rect.Right > rect.Left && rect.Bottom > rect.Top)
        FServices.InvalidateRect(rect.ToQRect());
}

void TPlaneMap::MapComChanged(TVyrMapCom* /*shape*/)
{
    SetModified();
}

int TPlaneMap::IndexOfMapCom(const TVyrMapCom* shape) const
{
    for (std::size_t i = 0; i < FMapComs.size(); ++i)
        if (FMapComs[i].get() == shape)
            return static_cast<int>(i);
    return -1;
}

// --- Events ---

void TPlaneMap::DoSelectChanged()
{
    if (onSelectChanged)
        onSelectChanged(this, FSelection);
}

void TPlaneMap::DoCurPenChanged(TMapPen* pen)
{
    if (onCurPenChanged)
        onCurPenChanged(this, pen);
}

void TPlaneMap::DoCurBrushChanged(TMapBrush* brush)
{
    if (onCurBrushChanged)
        onCurBrushChanged(this, brush);
}

void TPlaneMap::DoCurTextShowChanged(TTextShowSet* textShow)
{
    if (onCurTextShowChanged)
        onCurTextShowChanged(this, textShow);
}

void TPlaneMap::DoAddMapAfter()
{
    if (OnAddMapAfter)
        OnAddMapAfter(this);
}

// --- Window services ---

bool TPlaneMap::ConfirmWarning(const QString& text) const
{
    using platform::MessageButton;
    return FServices.MessageBox(text, platform::MessageIcon::Warning, MessageButton::Yes | MessageButton::No, {}) !=
           MessageButton::No;
}

void TPlaneMap::SetCursor(int cursor)
{
    FCursor = cursor;
    FServices.SetCursor(cursor);
}

void TPlaneMap::ClipCursorToPaper()
{
    TRect clip{0, 0, FWidth, FHeight};
    if (FShowPaper) {
        const bool landscape = FOrientation == TPrinterOrientation::poLandscape;
        const double sheetWidth = landscape ? FMapHeight : FMapWidth;
        const double sheetHeight = landscape ? FMapWidth : FMapHeight;
        clip = TRect{MmToPixels(FLeftMargin, FZoom), MmToPixels(FTopMargin, FZoom),
                     MmToPixels(sheetWidth - FRightMargin, FZoom), MmToPixels(sheetHeight - FBottomMargin, FZoom)};
    }
    FServices.ClipCursor(clip.ToQRect());
}

void TPlaneMap::ReleaseCursorClip()
{
    FServices.ClipCursor(QRect());
}

} // namespace siteplan
