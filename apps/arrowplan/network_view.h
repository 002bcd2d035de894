// The widget that shows the open network and hands it the mouse: it paints
// the network through its back buffer and passes presses, moves, releases
// and double clicks on in the control's coordinates.
//
// The view is made before its network, because the network is built on the
// view's window services: message boxes go to the given message service,
// cursors, repaints and the mouse capture to the widget.
#pragma once

#include "network/control/vyr_network.h"

#include "platform/qt/qt_window_services.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

namespace platform {
class PainterCanvas;
}

namespace arrowplan {

class TNetworkView : public QWidget {
public:
    // messages is not owned and outlives the view.
    TNetworkView(platform::WindowServices& messages, QWidget* parent = nullptr);
    ~TNetworkView() override;

    platform::QtWindowServices& Services();

    // Takes the network built on Services().
    void SetNetwork(std::unique_ptr<network::TVYRNetwork> network);
    network::TVYRNetwork* Network() const { return network_.get(); }
    // Unbinds the network's events and destroys it.
    void FreeNetwork();

    // After every mouse move over the view, in control coordinates.
    std::function<void(network::TShiftState shift, QPoint p)> OnMouseMove;
    // After every press, in control coordinates and on the screen.
    std::function<void(QPoint p, QPoint globalPoint)> OnMousePress;
    // After every release.
    std::function<void()> OnMouseRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class ViewServices;
    static network::TShiftState ShiftOf(const QMouseEvent& event);

    std::unique_ptr<ViewServices> services_;
    QImage buffer_;
    std::unique_ptr<platform::PainterCanvas> canvas_;
    bool dirty_ = true;
    std::unique_ptr<network::TVYRNetwork> network_;
};

} // namespace arrowplan
