#include "paint_box.h"

#include "platform/painter_canvas.h"

#include <QPainter>
#include <QPaintEvent>

namespace siteplan {

TPaintBox::TPaintBox(int tag, QSize size, QWidget* parent) : QWidget(parent), FTag(tag)
{
    setFixedSize(size);
}

void TPaintBox::paintEvent(QPaintEvent* event)
{
    if (!OnPaint)
        return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    platform::PainterCanvas canvas(painter);
    canvas.Brush = {platform::FromQColor(palette().window().color()), platform::TBrushStyle::bsSolid};
    OnPaint(*this, canvas);
}

} // namespace siteplan
