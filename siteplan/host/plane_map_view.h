// The widget that shows one plan control: a scroll area whose viewport
// paints from a back buffer of its own size. The plan paints its
// invalidated parts into the buffer and draws its rubber bands there in
// not-XOR mode; paintEvent only copies the buffer out. Mouse positions are
// handed to the plan in its own coordinates (scroll offset added, clamped
// while the plan confines the cursor).
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

    void MarkDirty(const QRegion& viewportRegion);
    void RenderDirty();
    void RebuildBuffer();
    void SyncScrollRanges();
    QPoint ScrollOffset() const;
    // Runs a plan operation; an error is shown, never passed to Qt.
    template <class F>
    void Guarded(F&& operation);

    std::unique_ptr<Services> FServices;
    std::unique_ptr<TPlaneMap> FPlaneMap;
    QImage FBuffer;
    std::unique_ptr<platform::PainterCanvas> FBufferCanvas;
    std::unique_ptr<platform::TranslatedCanvas> FCanvas;
    QRegion FDirty; // viewport pixels to paint from the plan
    QPoint FMapOrigin;
};

} // namespace siteplan
