// The widget that shows one plan control: a scroll area whose viewport
// paints from a back buffer of its own size. The buffer holds the plan's
// own picture: its invalidated parts are painted from the plan at the next
// paint, so the buffer always equals a full render of the plan at the
// current scroll position and zoom.
//
// The plan's immediate drawing (the band, the rubber band of a shape being
// drawn: not-XOR figures) goes into a mask beside the buffer, never into
// the buffer itself. A not-XOR figure drawn on the black mask leaves there
// exactly what it does to any picture when XORed on: the screen shows the
// buffer XOR the mask, so a figure drawn twice cancels wherever the plan
// was repainted in between, and a repaint never wipes half a rubber band.
// The mask is cleared once the plan shows no band or rubber band any more.
//
// Mouse positions are handed to the plan in its own coordinates (scroll
// offset added, clamped while the plan confines the cursor).
//
// The sheet stands at MapOrigin in the viewport while it is not scrolled;
// the scroll range leaves the same margin after its right and bottom edge.
// Message boxes of the plan go to the window that owns the view when it
// names its services (SetMessageServices), else they are Qt message boxes.
//
// Ownership: the view owns its window services and the plan it shows.
#pragma once

#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
#include "platform/qt/qt_window_services.h"
#include "platform/translated_canvas.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>

#include <memory>

namespace siteplan {

class TPlaneMapView : public QAbstractScrollArea {
public:
    explicit TPlaneMapView(QWidget* parent = nullptr);
    ~TPlaneMapView() override;

    // Replaces the plan shown by a fresh one with the constructor's settings.
    TPlaneMap& NewPlaneMap();
    TPlaneMap& PlaneMap() const { return *FPlaneMap; }

    // The plan's coordinates of a viewport position.
    QPoint ToMap(QPoint viewportPos) const;

    QPoint MapOrigin() const { return FMapOrigin; }
    void SetMapOrigin(QPoint origin);
    // Not owned; null gives the plan Qt message boxes again.
    void SetMessageServices(platform::WindowServices* services);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    class Services;

    void MarkDirty(const QRect& viewportRect);
    void RenderDirty();
    void RebuildBuffer();
    // The screen's pixels of rect: the buffer XOR the mask.
    QImage Composed(const QRect& rect) const;
    // Forgets the immediate drawing once the plan shows none.
    void SettleMask();
    void ShiftMask(int dx, int dy);
    void SyncScrollRanges();
    QPoint ScrollOffset() const;
    // Runs a plan operation; an error is shown, never passed to Qt.
    template <class F>
    void Guarded(F&& operation);
    // Runs a mouse handler of the plan, guarded.
    template <class F>
    void Handled(F&& handler);

    std::unique_ptr<Services> FServices;
    std::unique_ptr<TPlaneMap> FPlaneMap;
    QImage FBuffer;
    std::unique_ptr<platform::PainterCanvas> FBufferCanvas;
    std::unique_ptr<platform::TranslatedCanvas> FCanvas; // the plan's paint canvas
    QImage FMask;
    std::unique_ptr<platform::PainterCanvas> FMaskCanvas;
    std::unique_ptr<platform::TranslatedCanvas> FImmediate; // the plan's immediate canvas
    bool FMaskUsed = false;
    QRegion FDirty; // viewport pixels to paint from the plan
    QSize FSyncedSizes[2]; // viewport and plan at the last scroll range update
    QPoint FSyncedOrigin;
    QPoint FMapOrigin;
};

} // namespace siteplan
