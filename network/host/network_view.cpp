#include "network/host/network_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <exception>
#include <optional>

namespace network {

// The window services of the view: repaint requests also mark the buffer
// for painting from the network and bring the scroll ranges up to date.
class TNetworkView::ViewServices final : public platform::QtWindowServices {
public:
    explicit ViewServices(TNetworkView& view) : QtWindowServices(view.viewport()), FView(view) {}

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
        FView.MarkDirty(QRegion(rect.translated(-FView.ScrollOffset())));
        QtWindowServices::InvalidateRect(rect);
    }
    void Invalidate() override
    {
        FView.MarkDirty(QRegion(FView.viewport()->rect()));
        QtWindowServices::Invalidate();
    }

private:
    TNetworkView& FView;
};

namespace {

// Space right of the time axis and below the last row.
constexpr int kContentMargin = 200;

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
    return shift;
}

// The network knows three buttons; the others are not passed on.
std::optional<TMouseButton> ButtonOf(const QMouseEvent& event)
{
    switch (event.button()) {
    case Qt::LeftButton:
        return TMouseButton::mbLeft;
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return std::nullopt;
    }
}

} // namespace

TNetworkView::TNetworkView(QWidget* parent) : QAbstractScrollArea(parent), FServices(std::make_unique<ViewServices>(*this))
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    NewNetwork();
}

TNetworkView::~TNetworkView()
{
    OnMouseMove = {};
    OnMousePress = {};
    OnMouseRelease = {};
    ReleaseNetwork();
}

void TNetworkView::ReleaseNetwork()
{
    if (!FNetwork)
        return;
    FNetwork->SetLoading(true);
    FNetwork->SetOnNetChanged({});
    FNetwork->SetOnWorkChanged({});
    FNetwork->SetOnDrawStateChanged({});
    FNetwork->SetOnEditItemProperties({});
    FNetwork->SetOnRunGlideWizard({});
    FNetwork->SetCanvas(nullptr);
    FNetwork.reset();
}

platform::WindowServices& TNetworkView::Services() const { return *FServices; }

TVYRNetwork& TNetworkView::NewNetwork() { return SetNetwork(std::make_unique<TVYRNetwork>(*FServices)); }

TVYRNetwork& TNetworkView::SetNetwork(std::unique_ptr<TVYRNetwork> network)
{
    ReleaseNetwork();
    FNetwork = std::move(network);
    FNetwork->SetCanvas(FCanvas.get());
    SyncScrollRanges();
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
    return *FNetwork;
}

QPoint TNetworkView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint TNetworkView::ToNetwork(QPoint viewportPos) const { return viewportPos + ScrollOffset(); }

void TNetworkView::SetMessageServices(platform::WindowServices* services) { FServices->Messages = services; }

void TNetworkView::SetPixelScrolling(bool on)
{
    FPixelScrolling = on;
    const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    SyncScrollRanges();
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
}

void TNetworkView::MarkDirty(const QRegion& viewportRegion) { FDirty += viewportRegion; }

void TNetworkView::SyncScrollRanges()
{
    if (!FNetwork)
        return;
    const QSize page = viewport()->size();
    TVYRNetwork& net = *FNetwork;
    const QPoint origin = net.GetOrigin();
    const std::int64_t width = std::int64_t{origin.x()} + net.TimeToX(net.GetTotalTime()) + kContentMargin;
    const std::int64_t height = std::int64_t{origin.y()} + net.RowToY(net.GetMaxRow()) + kContentMargin;
    const int w = FPixelScrolling ? static_cast<int>(std::clamp<std::int64_t>(width, page.width(), 1 << 24)) : page.width();
    const int h = FPixelScrolling ? static_cast<int>(std::clamp<std::int64_t>(height, page.height(), 1 << 24)) : page.height();
    net.SetBounds(0, 0, w, h);
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setPageStep(page.height());
    horizontalScrollBar()->setRange(0, std::max(0, w - page.width()));
    verticalScrollBar()->setRange(0, std::max(0, h - page.height()));
}

void TNetworkView::RebuildBuffer()
{
    if (FNetwork)
        FNetwork->SetCanvas(nullptr);
    FCanvas.reset();
    FBufferCanvas.reset();
    FBuffer = QImage(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FBuffer.fill(Qt::black);
    FBufferCanvas = std::make_unique<platform::PainterCanvas>(FBuffer);
    FCanvas = std::make_unique<platform::TranslatedCanvas>(*FBufferCanvas, -ScrollOffset());
    if (FNetwork)
        FNetwork->SetCanvas(FCanvas.get());
    FDirty = QRegion(FBuffer.rect());
}

void TNetworkView::RenderInto(platform::PainterCanvas& target, const QRegion& region, QSize size)
{
    const QPoint offset = ScrollOffset();
    platform::TranslatedCanvas canvas(target, -offset);
    target.SetWorldTransform(QTransform());
    target.SetClipRegion(region);
    target.Brush = platform::TBrush{FNetwork->Color(), platform::TBrushStyle::bsSolid};
    target.FillRect(QRect(QPoint(0, 0), size));
    platform::Canvas* screen = FNetwork->Canvas();
    FNetwork->SetCanvas(&canvas);
    FNetwork->Paint();
    for (TLankPanel* handle : {&FNetwork->StartHandle(), &FNetwork->EndHandle(), &FNetwork->BendHandle()})
        if (handle->Visible) {
            canvas.Brush = platform::TBrush{handle->Color, platform::TBrushStyle::bsSolid};
            canvas.FillRect(handle->BoundsRect());
        }
    FNetwork->SetCanvas(screen);
    target.ResetClipRegion();
}

void TNetworkView::RenderDirty()
{
    if (!FCanvas || FDirty.isEmpty())
        return;
    const QRegion dirty = std::exchange(FDirty, QRegion());
    FCanvas->SetOffset(-ScrollOffset());
    RenderInto(*FBufferCanvas, dirty, FBuffer.size());
}

QImage TNetworkView::FreshRender()
{
    QImage image(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    platform::PainterCanvas canvas(image);
    RenderInto(canvas, QRegion(image.rect()), image.size());
    return image;
}

template <class F>
void TNetworkView::Guarded(F&& operation)
{
    try {
        operation();
    } catch (const std::exception& e) {
        FServices->ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        FServices->ShowError(QStringLiteral("发生了未知错误。"));
    }
}

void TNetworkView::paintEvent(QPaintEvent* event)
{
    Guarded([&] {
        if (FBuffer.size() != viewport()->size())
            RebuildBuffer();
        SyncScrollRanges();
        RenderDirty();
        QPainter painter(viewport());
        for (const QRect& r : event->region())
            painter.drawImage(r.topLeft(), FBuffer, r);
    });
}

void TNetworkView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    SyncScrollRanges();
    MarkDirty(QRegion(viewport()->rect()));
}

void TNetworkView::scrollContentsBy(int, int)
{
    FServices->SetScrollOffset(ScrollOffset());
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
}

void TNetworkView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ButtonOf(*event);
    if (!button)
        return;
    Guarded([&] {
        const QPoint p = FServices->ClampToClip(ToNetwork(event->position().toPoint()));
        if (event->button() == Qt::LeftButton)
            if (TLankPanel* handle = FNetwork->HandleAt(p)) {
                // The panel's window-move loop: the handle is grabbed and
                // follows the mouse until the release.
                FGrabOffset = p - QPoint(handle->Left, handle->Top);
                handle->OnMouseDown(*handle);
                viewport()->update();
                return;
            }
        FNetwork->MouseDown(*button, ShiftOf(*event), p.x(), p.y());
        viewport()->update();
        if (OnMousePress)
            OnMousePress(p, event->globalPosition().toPoint());
    });
}

void TNetworkView::mouseMoveEvent(QMouseEvent* event)
{
    Guarded([&] {
        const QPoint p = FServices->ClampToClip(ToNetwork(event->position().toPoint()));
        if (FNetwork->GrabbedHandle())
            FNetwork->DragHandle(p - FGrabOffset);
        else
            FNetwork->MouseMove(ShiftOf(*event), p.x(), p.y());
        viewport()->update();
        if (OnMouseMove)
            OnMouseMove(ShiftOf(*event), p);
    });
}

void TNetworkView::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ButtonOf(*event);
    if (!button)
        return;
    Guarded([&] {
        const QPoint p = FServices->ClampToClip(ToNetwork(event->position().toPoint()));
        if (FNetwork->GrabbedHandle())
            FNetwork->DropHandle();
        else
            FNetwork->MouseUp(*button, ShiftOf(*event), p.x(), p.y());
        viewport()->update();
        if (OnMouseRelease)
            OnMouseRelease();
    });
}

void TNetworkView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ButtonOf(*event);
    if (!button)
        return;
    Guarded([&] {
        // The second press of a double click comes as this event: the
        // network swallows it after DblClick.
        const QPoint p = ToNetwork(event->position().toPoint());
        FNetwork->DblClick();
        FNetwork->MouseDown(*button, ShiftOf(*event), p.x(), p.y());
        viewport()->update();
    });
}

} // namespace network
