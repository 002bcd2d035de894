// The plan as a picture for printing and preview: the printable area at
// zoom 100, shapes only.
#include "plane_map.h"

#include "vyr_map_com.h"

#include "platform/painter_canvas.h"

namespace siteplan {

namespace {

// Larger bitmaps are refused rather than risked: 512 MiB of 32-bit pixels.
constexpr qint64 MaxBitmapBytes = qint64(512) << 20;

} // namespace

QImage TPlaneMap::GetBitmap()
{
    const QSize size = PrintableSize();
    if (size.isEmpty()) {
        FServices.ShowMessage(QStringLiteral("平面图的打印区域为空，无法生成图片。"));
        return {};
    }
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    QImage image;
    if (bytes <= MaxBitmapBytes)
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull()) {
        FServices.ShowMessage(QStringLiteral("平面图的打印区域太大（%1 × %2 像素），无法生成图片。").arg(size.width()).arg(size.height()));
        return {};
    }
    image.fill(Qt::white);

    const int zoom = FZoom;
    FZoom = 100;
    ScaleChangedAll();
    try {
        platform::PainterCanvas canvas(image);
        for (auto& shape : FMapComs)
            shape->Draw(canvas, drawmode::Normal);
    } catch (...) {
        FZoom = zoom;
        ScaleChangedAll();
        throw;
    }
    FZoom = zoom;
    ScaleChangedAll();
    return image;
}

} // namespace siteplan
