#include "network/host/network_view.h"

#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <optional>

namespace network {

namespace {

// Space right of the time axis and below the last row.
constexpr int kContentMargin = 200;

static_assert(ssShift == 1 && ssAlt == 2 && ssCtrl == 4 && ssLeft == 8 && ssRight == 16);

TShiftState ShiftOf(const QMouseEvent& event) { return platform::BufferedView::ShiftStateOf(event, 0); }

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

TNetworkView::TNetworkView(QWidget* parent) : BufferedView(parent, Qt::black) { NewNetwork(); }

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

TVYRNetwork& TNetworkView::NewNetwork() { return SetNetwork(std::make_unique<TVYRNetwork>(Services())); }

TVYRNetwork& TNetworkView::SetNetwork(std::unique_ptr<TVYRNetwork> network)
{
    ReleaseNetwork();
    FNetwork = std::move(network);
    FNetwork->SetCanvas(Canvas());
    SyncScrollRanges();
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
    return *FNetwork;
}

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

void TNetworkView::Invalidated(const QRect& controlRect)
{
    const QRect r = controlRect.translated(-ScrollOffset());
    MarkDirty(QRegion(r));
    viewport()->update(r);
}

void TNetworkView::InvalidatedAll()
{
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
}

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

void TNetworkView::ReleaseCanvases()
{
    if (FNetwork)
        FNetwork->SetCanvas(nullptr);
}

void TNetworkView::AttachCanvases()
{
    if (FNetwork)
        FNetwork->SetCanvas(Canvas());
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

void TNetworkView::Render(const QRegion& region) { RenderInto(BufferCanvas(), region, Buffer().size()); }

QImage TNetworkView::FreshRender()
{
    QImage image(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    platform::PainterCanvas canvas(image);
    RenderInto(canvas, QRegion(image.rect()), image.size());
    return image;
}

void TNetworkView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ButtonOf(*event);
    if (!button)
        return;
    Guarded([&] {
        const QPoint p = HostServices().ClampToClip(ToNetwork(event->position().toPoint()));
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
        const QPoint p = HostServices().ClampToClip(ToNetwork(event->position().toPoint()));
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
        const QPoint p = HostServices().ClampToClip(ToNetwork(event->position().toPoint()));
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
