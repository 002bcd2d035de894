#include "picture_image.h"

#include "platform/painter_canvas.h"

#include <QPainter>

namespace siteplan {

TPictureImage::TPictureImage(QWidget* parent) : QWidget(parent) {}

void TPictureImage::SetPicture(const platform::TPicture& picture)
{
    FPicture = picture;
    update();
}

void TPictureImage::SetStretch(bool stretch)
{
    FStretch = stretch;
    update();
}

void TPictureImage::paintEvent(QPaintEvent*)
{
    if (FPicture.Empty())
        return;
    QPainter painter(this);
    platform::PainterCanvas canvas(painter);
    const QRect target = FStretch ? rect() : QRect(0, 0, FPicture.Width(), FPicture.Height());
    FPicture.Draw(canvas, target);
}

} // namespace siteplan
