#include "apps/arrowplan/network_view.h"

#include "platform/colors.h"
#include "platform/painter_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

namespace arrowplan {

// Messages to the given service; the rest to the widget. Every repaint
// request draws the network again; the rubber band of a work being drawn is
// drawn by the control into the buffer itself, between repaints.
class TNetworkView::ViewServices final : public platform::QtWindowServices {
public:
    ViewServices(TNetworkView& view, platform::WindowServices& messages)
        : QtWindowServices(&view), view_(view), messages_(messages)
    {
    }

    platform::MessageButton MessageBox(const QString& text, platform::MessageIcon icon,
                                       platform::MessageButtons buttons, const QString& title) override
    {
        return messages_.MessageBox(text, icon, buttons, title);
    }
    // The control invalidates the boxes an edit changed, also while a drag
    // goes on; this view draws the whole network again for any of them.
    void InvalidateRect(const QRect&) override
    {
        view_.dirty_ = true;
        view_.update();
    }
    void Invalidate() override
    {
        view_.dirty_ = true;
        view_.update();
    }

private:
    TNetworkView& view_;
    platform::WindowServices& messages_;
};

TNetworkView::TNetworkView(platform::WindowServices& messages, QWidget* parent)
    : QWidget(parent), services_(std::make_unique<ViewServices>(*this, messages))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

platform::QtWindowServices& TNetworkView::Services()
{
    return *services_;
}

TNetworkView::~TNetworkView()
{
    FreeNetwork();
}

void TNetworkView::SetNetwork(std::unique_ptr<network::TVYRNetwork> network)
{
    FreeNetwork();
    network_ = std::move(network);
    network_->SetCanvas(canvas_.get());
    network_->SetBounds(0, 0, width(), height());
    dirty_ = true;
    update();
}

void TNetworkView::FreeNetwork()
{
    if (!network_)
        return;
    // The reports are silenced and the events unbound before the items go.
    network_->SetLoading(true);
    network_->SetOnNetChanged({});
    network_->SetOnWorkChanged({});
    network_->SetOnDrawStateChanged({});
    network_->SetOnEditItemProperties({});
    network_->SetCanvas(nullptr);
    OnMouseMove = {};
    OnMousePress = {};
    OnMouseRelease = {};
    network_.reset();
}

void TNetworkView::resizeEvent(QResizeEvent*)
{
    if (network_)
        network_->SetCanvas(nullptr);
    canvas_.reset();
    buffer_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas_ = std::make_unique<platform::PainterCanvas>(buffer_);
    if (network_) {
        network_->SetCanvas(canvas_.get());
        network_->SetBounds(0, 0, width(), height());
    }
    dirty_ = true;
}

void TNetworkView::paintEvent(QPaintEvent*)
{
    if (!canvas_)
        resizeEvent(nullptr);
    if (dirty_ && network_) {
        canvas_->Brush = platform::TBrush{network_->Color(), platform::TBrushStyle::bsSolid};
        canvas_->FillRect(QRect(QPoint(0, 0), buffer_.size()));
        network_->Paint();
        dirty_ = false;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

network::TShiftState TNetworkView::ShiftOf(const QMouseEvent& event)
{
    network::TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier)
        shift |= network::ssShift;
    if (keys & Qt::AltModifier)
        shift |= network::ssAlt;
    if (keys & Qt::ControlModifier)
        shift |= network::ssCtrl;
    if (event.buttons() & Qt::LeftButton)
        shift |= network::ssLeft;
    if (event.buttons() & Qt::RightButton)
        shift |= network::ssRight;
    return shift;
}

namespace {

std::optional<network::TMouseButton> ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return network::TMouseButton::mbLeft;
    case Qt::RightButton:
        return network::TMouseButton::mbRight;
    case Qt::MiddleButton:
        return network::TMouseButton::mbMiddle;
    default:
        return std::nullopt;
    }
}

} // namespace

void TNetworkView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<network::TMouseButton> button = ButtonOf(event->button());
    if (!network_ || !button)
        return;
    const QPoint p = Services().ClampToClip(event->position().toPoint());
    network_->MouseDown(*button, ShiftOf(*event), p.x(), p.y());
    if (OnMousePress)
        OnMousePress(p, event->globalPosition().toPoint());
}

void TNetworkView::mouseMoveEvent(QMouseEvent* event)
{
    if (!network_)
        return;
    const QPoint p = Services().ClampToClip(event->position().toPoint());
    network_->MouseMove(ShiftOf(*event), p.x(), p.y());
    if (OnMouseMove)
        OnMouseMove(ShiftOf(*event), p);
}

void TNetworkView::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<network::TMouseButton> button = ButtonOf(event->button());
    if (!network_ || !button)
        return;
    const QPoint p = Services().ClampToClip(event->position().toPoint());
    network_->MouseUp(*button, ShiftOf(*event), p.x(), p.y());
    if (OnMouseRelease)
        OnMouseRelease();
}

void TNetworkView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!network_)
        return;
    network_->DblClick();
    mousePressEvent(event);
}

} // namespace arrowplan
