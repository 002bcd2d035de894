// The widget that shows one plan control on a buffered view. The back
// buffer holds the plan's own picture: its invalidated parts are painted
// from the plan at the next paint, so the buffer always equals a full render
// of the plan at the current scroll position and zoom.
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
//
// Ownership: the view owns the plan it shows and the mask.
#pragma once

#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
#include "platform/qt/buffered_view.h"
#include "platform/translated_canvas.h"

#include <QImage>

#include <memory>

namespace siteplan {

class TPlaneMapView : public platform::BufferedView {
public:
    explicit TPlaneMapView(QWidget* parent = nullptr);
    ~TPlaneMapView() override;

    // Replaces the plan shown by a fresh one with the constructor's settings.
    TPlaneMap& NewPlaneMap();
    TPlaneMap& PlaneMap() const { return *FPlaneMap; }

    // The plan's coordinates of a viewport position.
    QPoint ToMap(QPoint viewportPos) const { return ToControl(viewportPos); }

    QPoint MapOrigin() const { return FMapOrigin; }
    void SetMapOrigin(QPoint origin);

protected:
    QPoint ScrollOffset() const override;
    void Invalidated(const QRect& controlRect) override;
    void InvalidatedAll() override;
    void SyncScrollRanges() override;
    void Render(const QRegion& region) override;
    void ReleaseCanvases() override;
    void AttachCanvases() override;
    void Scrolled(int dx, int dy) override;
    void ShowBuffer(QPainter& painter, const QRegion& region) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Marks what the viewport shows of viewportRect for painting.
    void MarkShownDirty(const QRect& viewportRect);
    // The screen's pixels of rect: the buffer XOR the mask.
    QImage Composed(const QRect& rect) const;
    // Forgets the immediate drawing once the plan shows none.
    void SettleMask();
    void ShiftMask(int dx, int dy);
    // Runs a mouse handler of the plan, guarded.
    template <class F>
    void Handled(F&& handler);

    std::unique_ptr<TPlaneMap> FPlaneMap;
    QImage FMask;
    std::unique_ptr<platform::PainterCanvas> FMaskCanvas;
    std::unique_ptr<platform::TranslatedCanvas> FImmediate; // the plan's immediate canvas
    bool FMaskUsed = false;
    QSize FSyncedSizes[2]; // viewport and plan at the last scroll range update
    QPoint FSyncedOrigin;
    QPoint FMapOrigin;
};

} // namespace siteplan
