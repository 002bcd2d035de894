#include "plane_map_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <exception>

namespace siteplan {

// The window services of the view: repaint requests also mark the buffer
// for painting from the plan, and a new plan size updates the scroll bars.
class TPlaneMapView::Services final : public platform::QtWindowServices {
public:
    explicit Services(TPlaneMapView& view) : QtWindowServices(view.viewport()), FView(view) {}

    platform::WindowServices* Messages = nullptr;

    platform::MessageButton MessageBox(const QString& text, platform::MessageIcon icon,
                                       platform::MessageButtons buttons, const QString& title) override
    {
        if (Messages)
            return Messages->MessageBox(text, icon, buttons, title);
        return QtWindowServices::MessageBox(text, icon, buttons, title);
    }

    void InvalidateRect(const QRect& rect) override
    {
        FView.SyncScrollRanges();
        FView.MarkDirty(rect.translated(-FView.ScrollOffset()));
    }
    void Invalidate() override
    {
        FView.SyncScrollRanges();
        FView.MarkDirty(FView.viewport()->rect());
    }

private:
    TPlaneMapView& FView;
};

namespace {

TShiftState ShiftOf(const QMouseEvent& event)
{
    TShiftState shift = 0;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ShiftModifier)
        shift |= ssShift;
    if (mods & Qt::AltModifier)
        shift |= ssAlt;
    if (mods & Qt::ControlModifier)
        shift |= ssCtrl;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

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

TPlaneMapView::TPlaneMapView(QWidget* parent) : QAbstractScrollArea(parent), FServices(std::make_unique<Services>(*this))
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    NewPlaneMap();
}

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
    FPlaneMap = std::make_unique<TPlaneMap>(*FServices, logicalDpiX());
    FPlaneMap->SetCanvas(FImmediate.get());
    SyncScrollRanges();
    MarkDirty(viewport()->rect());
    viewport()->update();
    return *FPlaneMap;
}

QPoint TPlaneMapView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()) - FMapOrigin;
}

void TPlaneMapView::SetMapOrigin(QPoint origin)
{
    if (origin == FMapOrigin)
        return;
    FMapOrigin = origin;
    SyncScrollRanges();
    FServices->SetScrollOffset(ScrollOffset());
    if (FImmediate)
        FImmediate->SetOffset(-ScrollOffset());
    MarkDirty(viewport()->rect());
    viewport()->update();
}

void TPlaneMapView::SetMessageServices(platform::WindowServices* services)
{
    FServices->Messages = services;
}

QPoint TPlaneMapView::ToMap(QPoint viewportPos) const
{
    return viewportPos + ScrollOffset();
}

void TPlaneMapView::MarkDirty(const QRect& viewportRect)
{
    // Only what the viewport shows is painted; a region of many pieces
    // (select all invalidates every shape and handle) becomes its bounds,
    // which paint the same picture.
    const QRect r = viewportRect & viewport()->rect();
    if (r.isEmpty())
        return;
    FDirty += r;
    if (FDirty.rectCount() > 16)
        FDirty = QRegion(FDirty.boundingRect());
    viewport()->update(FDirty.boundingRect());
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

void TPlaneMapView::RebuildBuffer()
{
    if (FPlaneMap)
        FPlaneMap->SetCanvas(nullptr);
    FCanvas.reset();
    FBufferCanvas.reset();
    FImmediate.reset();
    FMaskCanvas.reset();
    const QSize size = viewport()->size().expandedTo(QSize(1, 1));
    FBuffer = QImage(size, QImage::Format_RGB32);
    FBuffer.fill(Qt::white);
    FBufferCanvas = std::make_unique<platform::PainterCanvas>(FBuffer);
    FCanvas = std::make_unique<platform::TranslatedCanvas>(*FBufferCanvas, -ScrollOffset());
    // What the plan drew over the old viewport stays where it was.
    QImage mask(size, QImage::Format_RGB32);
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
    FDirty = QRegion(FBuffer.rect());
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
    QImage out = FBuffer.copy(rect);
    const QRect r = rect & FMask.rect();
    for (int y = 0; y < r.height(); ++y) {
        auto* dest = reinterpret_cast<QRgb*>(out.scanLine(y + r.top() - rect.top())) + (r.left() - rect.left());
        const auto* mask = reinterpret_cast<const QRgb*>(FMask.constScanLine(y + r.top())) + r.left();
        for (int x = 0; x < r.width(); ++x)
            dest[x] ^= mask[x] & 0x00FFFFFFu;
    }
    return out;
}

void TPlaneMapView::RenderDirty()
{
    if (!FCanvas || FDirty.isEmpty())
        return;
    const QRegion dirty = std::exchange(FDirty, QRegion());
    const QPoint offset = ScrollOffset();
    FCanvas->SetOffset(-offset);
    FImmediate->SetOffset(-offset);
    // Outside the sheet the view shows the workspace colour.
    const QRect sheet(-offset, QSize(FPlaneMap->Width(), FPlaneMap->Height()));
    FBufferCanvas->SetWorldTransform(QTransform());
    FBufferCanvas->SetClipRegion(dirty);
    FBufferCanvas->Brush = platform::TBrush{platform::clAppWorkSpace, platform::TBrushStyle::bsSolid};
    FBufferCanvas->FillRect(FBuffer.rect());
    FBufferCanvas->SetClipRegion(dirty & QRegion(sheet));
    FBufferCanvas->Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    FBufferCanvas->FillRect(sheet);
    FPlaneMap->Paint(*FCanvas);
    FBufferCanvas->ResetClipRegion();
    FCanvas->SetWorldTransform(QTransform());
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

template <class F>
void TPlaneMapView::Guarded(F&& operation)
{
    try {
        operation();
    } catch (const std::exception& e) {
        FServices->ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        FServices->ShowError(QStringLiteral("发生了未知错误。"));
    }
}

void TPlaneMapView::paintEvent(QPaintEvent* event)
{
    Guarded([&] {
        if (FBuffer.size() != viewport()->size())
            RebuildBuffer();
        RenderDirty();
        SettleMask();
        QPainter painter(viewport());
        for (const QRect& r : event->region()) {
            if (FMaskUsed)
                painter.drawImage(r.topLeft(), Composed(r));
            else
                painter.drawImage(r.topLeft(), FBuffer, r);
        }
    });
}

void TPlaneMapView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    SyncScrollRanges();
    MarkDirty(viewport()->rect());
}

void TPlaneMapView::scrollContentsBy(int dx, int dy)
{
    FServices->SetScrollOffset(ScrollOffset());
    ShiftMask(dx, dy);
    if (FImmediate)
        FImmediate->SetOffset(-ScrollOffset());
    MarkDirty(viewport()->rect());
    viewport()->update();
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
        const QPoint p = FServices->ClampToClip(ToMap(event->position().toPoint()));
        FPlaneMap->MouseMove(ShiftOf(*event), p);
        if (!(event->buttons() & Qt::LeftButton))
            viewport()->setCursor(platform::QtWindowServices::CursorFor(FPlaneMap->CursorAt(p)));
    });
}

void TPlaneMapView::mouseReleaseEvent(QMouseEvent* event)
{
    Handled([&] {
        const QPoint p = FServices->ClampToClip(ToMap(event->position().toPoint()));
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
