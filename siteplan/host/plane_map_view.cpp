#include "plane_map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>


namespace siteplan {

namespace {

static_assert(ssShift == 1 && ssAlt == 2 && ssCtrl == 4 && ssLeft == 8 && ssRight == 16);

TShiftState ShiftOf(const QMouseEvent& event) { return platform::BufferedView::ShiftStateOf(event, ssMiddle); }

TMouseButton ButtonOf(const QMouseEvent& event)
{
    switch (event.button()) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

} // namespace

TPlaneMapView::TPlaneMapView(QWidget* parent) : BufferedView(parent, Qt::white) { NewPlaneMap(); }

TPlaneMapView::~TPlaneMapView()
{
    // The plan goes first: its shapes still report to the services.
    FPlaneMap.reset();
}

TPlaneMap& TPlaneMapView::NewPlaneMap()
{
    if (FPlaneMap)
        FPlaneMap->SetCanvas(nullptr);
    FPlaneMap.reset();
    FPlaneMap = std::make_unique<TPlaneMap>(Services(), logicalDpiX());
    FPlaneMap->SetCanvas(FImmediate.get());
    SyncScrollRanges();
    MarkShownDirty(viewport()->rect());
    viewport()->update();
    return *FPlaneMap;
}

QPoint TPlaneMapView::ScrollOffset() const
{
    return BufferedView::ScrollOffset() - FMapOrigin;
}

void TPlaneMapView::SetMapOrigin(QPoint origin)
{
    if (origin == FMapOrigin)
        return;
    FMapOrigin = origin;
    SyncScrollRanges();
    HostServices().SetScrollOffset(ScrollOffset());
    if (FImmediate)
        FImmediate->SetOffset(-ScrollOffset());
    MarkShownDirty(viewport()->rect());
    viewport()->update();
}

void TPlaneMapView::MarkShownDirty(const QRect& viewportRect)
{
    // Only what the viewport shows is painted; a region of many pieces
    // (select all invalidates every shape and handle) becomes its bounds.
    const QRect r = viewportRect & viewport()->rect();
    if (r.isEmpty())
        return;
    MarkDirty(QRegion(r));
    BoundDirty(16);
    viewport()->update(Dirty().boundingRect());
}

void TPlaneMapView::Invalidated(const QRect& controlRect)
{
    // A new plan size comes with an invalidation: the scroll bars follow.
    SyncScrollRanges();
    MarkShownDirty(controlRect.translated(-ScrollOffset()));
}

void TPlaneMapView::InvalidatedAll()
{
    SyncScrollRanges();
    MarkShownDirty(viewport()->rect());
}

void TPlaneMapView::SyncScrollRanges()
{
    if (!FPlaneMap)
        return;
    // Invalidations come by thousands; the ranges change with the size only.
    const QSize sizes[2] = {viewport()->size(), QSize(FPlaneMap->Width(), FPlaneMap->Height())};
    if (sizes[0] == FSyncedSizes[0] && sizes[1] == FSyncedSizes[1] && FMapOrigin == FSyncedOrigin)
        return;
    FSyncedSizes[0] = sizes[0];
    FSyncedSizes[1] = sizes[1];
    FSyncedOrigin = FMapOrigin;
    const QSize page = viewport()->size();
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setPageStep(page.height());
    const QSize content(FPlaneMap->Width() + 2 * FMapOrigin.x(), FPlaneMap->Height() + 2 * FMapOrigin.y());
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - page.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - page.height()));
}

void TPlaneMapView::ReleaseCanvases()
{
    if (FPlaneMap)
        FPlaneMap->SetCanvas(nullptr);
    FImmediate.reset();
    FMaskCanvas.reset();
}

void TPlaneMapView::AttachCanvases()
{
    // What the plan drew over the old viewport stays where it was.
    QImage mask(Buffer().size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    if (!FMask.isNull()) {
        QPainter painter(&mask);
        painter.drawImage(0, 0, FMask);
    }
    FMask = std::move(mask);
    FMaskCanvas = std::make_unique<platform::PainterCanvas>(FMask);
    FImmediate = std::make_unique<platform::TranslatedCanvas>(*FMaskCanvas, -ScrollOffset());
    if (FPlaneMap)
        FPlaneMap->SetCanvas(FImmediate.get());
}

void TPlaneMapView::ShiftMask(int dx, int dy)
{
    if (!FMaskUsed || FMask.isNull())
        return;
    QImage shifted(FMask.size(), QImage::Format_RGB32);
    shifted.fill(Qt::black);
    {
        QPainter painter(&shifted);
        painter.drawImage(dx, dy, FMask);
    }
    FMaskCanvas.reset();
    FMask = std::move(shifted);
    FMaskCanvas = std::make_unique<platform::PainterCanvas>(FMask);
    FImmediate = std::make_unique<platform::TranslatedCanvas>(*FMaskCanvas, -ScrollOffset());
    FPlaneMap->SetCanvas(FImmediate.get());
}

void TPlaneMapView::SettleMask()
{
    if (!FMaskUsed || FPlaneMap->ShowsImmediateDrawing())
        return;
    FMask.fill(Qt::black);
    FMaskUsed = false;
}

QImage TPlaneMapView::Composed(const QRect& rect) const
{
    QImage out = Buffer().copy(rect);
    const QRect r = rect & FMask.rect();
    for (int y = 0; y < r.height(); ++y) {
        auto* dest = reinterpret_cast<QRgb*>(out.scanLine(y + r.top() - rect.top())) + (r.left() - rect.left());
        const auto* mask = reinterpret_cast<const QRgb*>(FMask.constScanLine(y + r.top())) + r.left();
        for (int x = 0; x < r.width(); ++x)
            dest[x] ^= mask[x] & 0x00FFFFFFu;
    }
    return out;
}

void TPlaneMapView::Render(const QRegion& dirty)
{
    const QPoint offset = ScrollOffset();
    FImmediate->SetOffset(-offset);
    // Outside the sheet the view shows the workspace colour.
    const QRect sheet(-offset, QSize(FPlaneMap->Width(), FPlaneMap->Height()));
    platform::PainterCanvas& buffer = BufferCanvas();
    buffer.SetWorldTransform(QTransform());
    buffer.SetClipRegion(dirty);
    buffer.Brush = platform::TBrush{platform::clAppWorkSpace, platform::TBrushStyle::bsSolid};
    buffer.FillRect(Buffer().rect());
    buffer.SetClipRegion(dirty & QRegion(sheet));
    buffer.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    buffer.FillRect(sheet);
    FPlaneMap->Paint(*Canvas());
    buffer.ResetClipRegion();
    Canvas()->SetWorldTransform(QTransform());
}

template <class F>
void TPlaneMapView::Handled(F&& handler)
{
    // What the plan repaints reaches the screen through its invalidations;
    // its immediate drawing goes to the mask, and the whole viewport shows
    // the mask again while there is some.
    const bool showed = FPlaneMap->ShowsImmediateDrawing();
    Guarded(handler);
    if (FImmediate && (showed || FPlaneMap->ShowsImmediateDrawing())) {
        FMaskUsed = true;
        viewport()->update();
    }
}

void TPlaneMapView::ShowBuffer(QPainter& painter, const QRegion& region)
{
    SettleMask();
    if (!FMaskUsed) {
        BufferedView::ShowBuffer(painter, region);
        return;
    }
    for (const QRect& r : region)
        painter.drawImage(r.topLeft(), Composed(r));
}

void TPlaneMapView::Scrolled(int dx, int dy)
{
    ShiftMask(dx, dy);
    if (FImmediate)
        FImmediate->SetOffset(-ScrollOffset());
}

void TPlaneMapView::mousePressEvent(QMouseEvent* event)
{
    Handled([&] {
        FPlaneMap->MouseDown(ButtonOf(*event), ShiftOf(*event), ToMap(event->position().toPoint()));
    });
}

void TPlaneMapView::mouseMoveEvent(QMouseEvent* event)
{
    Handled([&] {
        const QPoint p = HostServices().ClampToClip(ToMap(event->position().toPoint()));
        FPlaneMap->MouseMove(ShiftOf(*event), p);
        if (!(event->buttons() & Qt::LeftButton))
            viewport()->setCursor(platform::QtWindowServices::CursorFor(FPlaneMap->CursorAt(p)));
    });
}

void TPlaneMapView::mouseReleaseEvent(QMouseEvent* event)
{
    Handled([&] {
        const QPoint p = HostServices().ClampToClip(ToMap(event->position().toPoint()));
        FPlaneMap->MouseUp(ButtonOf(*event), ShiftOf(*event), p);
    });
}

void TPlaneMapView::mouseDoubleClickEvent(QMouseEvent* event)
{
    Handled([&] {
        // A double click ends the shape in progress; its press is then
        // handed on flagged as the second press of a double click.
        FPlaneMap->DblClick();
        FPlaneMap->MouseDown(ButtonOf(*event), ShiftOf(*event) | ssDouble, ToMap(event->position().toPoint()));
    });
}

} // namespace siteplan
