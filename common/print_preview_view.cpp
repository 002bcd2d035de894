#include "common/print_preview_view.h"

#include "platform/colors.h"
#include "platform/painter_canvas.h"
#include "platform/translated_canvas.h"

#include <QPainter>
#include <QEvent>
#include <QScrollBar>

#include <algorithm>
#include <exception>

namespace common {

TPrintPreviewView::TPrintPreviewView(const PrinterMetrics& metrics, QWidget* parent)
    : QAbstractScrollArea(parent), FPreview(metrics)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    FPreview.Paper().OnInvalidate = [this] { viewport()->update(); };
    FPreview.OnCentered = [this] {
        UpdateScrollBars();
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        viewport()->update();
    };
}

void TPrintPreviewView::UpdateScrollBars()
{
    const QSize content = FPreview.ContentSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

bool TPrintPreviewView::viewportEvent(QEvent* event)
{
    // The view's own size sets the fit; the viewport, which shrinks when a
    // scroll bar shows, sets the centring.
    if (event->type() == QEvent::Resize)
        FPreview.Resize(size(), viewport()->size());
    return QAbstractScrollArea::viewportEvent(event);
}

void TPrintPreviewView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TPrintPreviewView::PaintOn(QPaintDevice& device)
{
    QPainter painter(&device);
    painter.fillRect(QRect(QPoint(), viewport()->size()), platform::ToQColor(FPreview.Color));
    const TVYRPrintPaper& paper = FPreview.Paper();
    const QPoint at(paper.Left - horizontalScrollBar()->value(), paper.Top - verticalScrollBar()->value());
    FPaintError.clear();
    {
        platform::PainterCanvas canvas(painter);
        platform::TranslatedCanvas onPaper(canvas, at);
        try {
            FPreview.Paper().Paint(onPaper);
        } catch (const std::exception& e) {
            // A paint event cannot show a message box; the text stands in
            // place of the page instead.
            FPaintError = QString::fromUtf8(e.what());
        }
    }
    if (!FPaintError.isEmpty()) {
        painter.setClipping(false);
        painter.setPen(Qt::black);
        painter.drawText(QRect(at, QSize(paper.Width(), paper.Height())), Qt::AlignCenter | Qt::TextWordWrap,
                         FPaintError);
    }
}

void TPrintPreviewView::paintEvent(QPaintEvent*)
{
    PaintOn(*viewport());
}

QImage TPrintPreviewView::Render()
{
    QImage image(viewport()->size(), QImage::Format_RGB32);
    PaintOn(image);
    return image;
}

} // namespace common
