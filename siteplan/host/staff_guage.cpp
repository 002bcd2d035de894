#include "staff_guage.h"

#include "platform/painter_canvas.h"

#include <QPainter>

namespace siteplan {

TQStaffGuage::TQStaffGuage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQStaffGuage::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    platform::PainterCanvas canvas(painter);
    canvas.Brush = platform::TBrush{Color, platform::TBrushStyle::bsSolid};
    canvas.FillRect(rect());
    DoPaint(canvas);
}

void TQStaffGuage::DoPaint(platform::Canvas& canvas)
{
    if (OnPaint)
        OnPaint(this, canvas);
}

} // namespace siteplan
