// The scroll area that hosts one engine control: its viewport paints from a
// back buffer of its own size. Invalidated parts of the buffer are painted
// from the control at the next paint (Render), so the buffer always equals a
// full render of the control at the current scroll position; paintEvent
// then copies the exposed parts out (ShowBuffer).
//
// The control's coordinates stay its own (top-left of its sheet is (0, 0));
// the view adds the scroll offset. The window services of the control hand
// every invalidation to the view (Invalidated, InvalidatedAll) and pass
// message boxes on to the window that names its own services
// (SetMessageServices), else they are Qt message boxes.
//
// Exceptions never cross the Qt event loop: every handler runs Guarded, which
// shows the message as the application's error box.
//
// Ownership: the view owns its window services, the buffer and the canvases
// on it; the derived view owns the control.
#pragma once

#include "platform/guarded_run.h"
#include "platform/painter_canvas.h"
#include "platform/qt/qt_window_services.h"
#include "platform/translated_canvas.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <utility>

class QMouseEvent;
class QPainter;

namespace platform {

class BufferedView : public QAbstractScrollArea {
public:
    ~BufferedView() override;

    WindowServices& Services() const;
    // Not owned; null gives the control Qt message boxes again.
    void SetMessageServices(WindowServices* services);
    // The back buffer as it stands (what the viewport shows of the control).
    const QImage& Buffer() const { return FBuffer; }

    // The shift state of a mouse event as the controls take it: Shift 1,
    // Alt 2, Ctrl 4, left button 8, right button 16; a held middle button
    // adds middleBit (0 for a control that does not know it).
    static std::uint8_t ShiftStateOf(const QMouseEvent& event, std::uint8_t middleBit);

protected:
    // A fresh buffer is filled with bufferFill until the control paints it.
    BufferedView(QWidget* parent, QColor bufferFill);

    // The control's coordinates of the viewport's top-left pixel; the
    // scroll bars' values unless the derived view places its sheet.
    virtual QPoint ScrollOffset() const;
    QPoint ToControl(QPoint viewportPos) const { return viewportPos + ScrollOffset(); }

    // The control asked for rect (its own coordinates), or for all of
    // itself, to be painted again.
    virtual void Invalidated(const QRect& controlRect) = 0;
    virtual void InvalidatedAll() = 0;
    // Sets the scroll ranges from the control's size and the viewport's.
    virtual void SyncScrollRanges() = 0;
    // Paints region (viewport coordinates) of the buffer from the control,
    // through BufferCanvas() or, in control coordinates, Canvas().
    virtual void Render(const QRegion& region) = 0;
    // Around a new buffer: the control lets go of the canvases on the old
    // one before, and takes those on the new one after.
    virtual void ReleaseCanvases() = 0;
    virtual void AttachCanvases() = 0;
    // The view scrolled by (dx, dy) pixels; the whole viewport is painted
    // again after.
    virtual void Scrolled(int dx, int dy);
    // Copies region of the buffer to the viewport.
    virtual void ShowBuffer(QPainter& painter, const QRegion& region);

    void MarkDirty(const QRegion& viewportRegion) { FDirty += viewportRegion; }
    const QRegion& Dirty() const { return FDirty; }
    // What is to be painted, of more than maxRects pieces, becomes their
    // bounds (which paint the same picture).
    void BoundDirty(int maxRects);
    PainterCanvas& BufferCanvas() const { return *FBufferCanvas; }
    // The buffer in the control's coordinates; null before the first paint.
    TranslatedCanvas* Canvas() const { return FCanvas.get(); }
    QtWindowServices& HostServices() const;

    template <class F>
    void Guarded(F&& operation);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class ViewServices;

    void RebuildBuffer();
    void RenderDirty();

    std::unique_ptr<ViewServices> FServices;
    QColor FBufferFill;
    QImage FBuffer;
    std::unique_ptr<PainterCanvas> FBufferCanvas;
    std::unique_ptr<TranslatedCanvas> FCanvas;
    QRegion FDirty; // viewport pixels to paint from the control
};

template <class F>
void BufferedView::Guarded(F&& operation)
{
    RunGuarded(HostServices(), std::forward<F>(operation));
}

} // namespace platform
