#include "platform/qt/buffered_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <utility>

namespace platform {

// The window services of the view: message boxes go to the window's own
// services where it names them; repaint requests go to the view.
class BufferedView::ViewServices final : public QtWindowServices {
public:
    explicit ViewServices(BufferedView& view) : QtWindowServices(view.viewport()), FView(view) {}

    WindowServices* Messages = nullptr;

    MessageButton MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons,
                             const QString& title) override
    {
        if (Messages)
            return Messages->MessageBox(text, icon, buttons, title);
        return QtWindowServices::MessageBox(text, icon, buttons, title);
    }
    void InvalidateRect(const QRect& rect) override { FView.Invalidated(rect); }
    void Invalidate() override { FView.InvalidatedAll(); }

private:
    BufferedView& FView;
};

BufferedView::BufferedView(QWidget* parent, QColor bufferFill)
    : QAbstractScrollArea(parent), FServices(std::make_unique<ViewServices>(*this)), FBufferFill(bufferFill)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

BufferedView::~BufferedView() = default;

WindowServices& BufferedView::Services() const { return *FServices; }

QtWindowServices& BufferedView::HostServices() const { return *FServices; }

void BufferedView::SetMessageServices(WindowServices* services) { FServices->Messages = services; }

QPoint BufferedView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

std::uint8_t BufferedView::ShiftStateOf(const QMouseEvent& event, std::uint8_t middleBit)
{
    std::uint8_t shift = 0;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ShiftModifier)
        shift |= 1;
    if (mods & Qt::AltModifier)
        shift |= 2;
    if (mods & Qt::ControlModifier)
        shift |= 4;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        shift |= 8;
    if (buttons & Qt::RightButton)
        shift |= 16;
    if (buttons & Qt::MiddleButton)
        shift |= middleBit;
    return shift;
}

void BufferedView::RebuildBuffer()
{
    ReleaseCanvases();
    FCanvas.reset();
    FBufferCanvas.reset();
    FBuffer = QImage(viewport()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FBuffer.fill(FBufferFill);
    FBufferCanvas = std::make_unique<PainterCanvas>(FBuffer);
    FCanvas = std::make_unique<TranslatedCanvas>(*FBufferCanvas, -ScrollOffset());
    AttachCanvases();
    FDirty = QRegion(FBuffer.rect());
}

void BufferedView::BoundDirty(int maxRects)
{
    if (FDirty.rectCount() > maxRects)
        FDirty = QRegion(FDirty.boundingRect());
}

void BufferedView::RenderDirty()
{
    if (!FCanvas || FDirty.isEmpty())
        return;
    const QRegion dirty = std::exchange(FDirty, QRegion());
    FCanvas->SetOffset(-ScrollOffset());
    Render(dirty);
}

void BufferedView::Scrolled(int, int) {}

void BufferedView::ShowBuffer(QPainter& painter, const QRegion& region)
{
    for (const QRect& r : region)
        painter.drawImage(r.topLeft(), FBuffer, r);
}

void BufferedView::paintEvent(QPaintEvent* event)
{
    Guarded([&] {
        if (FBuffer.size() != viewport()->size())
            RebuildBuffer();
        SyncScrollRanges();
        RenderDirty();
        QPainter painter(viewport());
        ShowBuffer(painter, event->region());
    });
}

void BufferedView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    SyncScrollRanges();
    MarkDirty(QRegion(viewport()->rect()));
}

void BufferedView::scrollContentsBy(int dx, int dy)
{
    FServices->SetScrollOffset(ScrollOffset());
    Scrolled(dx, dy);
    MarkDirty(QRegion(viewport()->rect()));
    viewport()->update();
}

} // namespace platform
