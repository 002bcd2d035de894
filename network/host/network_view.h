// The widget that shows one network control on a buffered view: the network
// paints its invalidated parts into the back buffer and draws the work being
// drawn there in not-XOR mode; paintEvent only copies the buffer out. Mouse
// positions are handed to the network in its own coordinates (scroll offset
// added).
//
// The handle panels of the selected work are drawn over the network; a
// press on one grabs it, the moves carry it and the release drops it.
//
// The network's own width and height are set to the area it needs: its
// time axis and rows plus a margin of 200 pixels, at least the viewport.
//
// Without pixel scrolling (SetPixelScrolling(false)) the view has no
// scroll bars and the network fills the viewport: a host that scrolls the
// network by its own first day and top row does so.
//
// A network goes (replaced or with the view) with its reports silenced and
// its events unbound, so that nothing reports on items being destroyed.
//
// Ownership: the view owns the network it shows.
#pragma once

#include "network/control/vyr_network.h"

#include "platform/painter_canvas.h"
#include "platform/qt/buffered_view.h"

#include <QImage>

#include <functional>
#include <memory>

namespace network {

class TNetworkView : public platform::BufferedView {
public:
    explicit TNetworkView(QWidget* parent = nullptr);
    ~TNetworkView() override;

    // Replaces the network shown by a fresh one, or by network (which must
    // have been made on Services()).
    TVYRNetwork& NewNetwork();
    TVYRNetwork& SetNetwork(std::unique_ptr<TVYRNetwork> network);
    TVYRNetwork& Network() const { return *FNetwork; }

    // The network's coordinates of a viewport position.
    QPoint ToNetwork(QPoint viewportPos) const { return ToControl(viewportPos); }
    // A full render of the network at the current scroll position, handles
    // included, into a fresh image of the viewport's size.
    QImage FreshRender();
    // On by default.
    void SetPixelScrolling(bool on);

    // After the network has had the event, in its coordinates; a press
    // also gives the point on the screen.
    std::function<void(TShiftState shift, QPoint p)> OnMouseMove;
    std::function<void(QPoint p, QPoint globalPoint)> OnMousePress;
    std::function<void()> OnMouseRelease;

protected:
    void Invalidated(const QRect& controlRect) override;
    void InvalidatedAll() override;
    void SyncScrollRanges() override;
    void Render(const QRegion& region) override;
    void ReleaseCanvases() override;
    void AttachCanvases() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ReleaseNetwork();
    void RenderInto(platform::PainterCanvas& target, const QRegion& region, QSize size);

    std::unique_ptr<TVYRNetwork> FNetwork;
    QPoint FGrabOffset;
    bool FPixelScrolling = true;
};

} // namespace network
