// The plan as a picture for printing, preview and the legend library: the
// printable area at zoom 100, shapes only, as a bitmap or as a metafile.
#include "plane_map.h"

#include "vyr_map_com.h"

#include "platform/painter_canvas.h"
#include "platform/picture/metafile_canvas.h"

namespace siteplan {

namespace {

// Larger bitmaps are refused rather than risked: 512 MiB of 32-bit pixels.
constexpr qint64 MaxBitmapBytes = qint64(512) << 20;

const QString EmptyAreaMessage = QStringLiteral("平面图的打印区域为空，无法生成图片。");

} // namespace

void TPlaneMap::DrawShapesAtZoom100(platform::Canvas& canvas)
{
    const int zoom = FZoom;
    FZoom = 100;
    ScaleChangedAll();
    try {
        for (auto& shape : FMapComs)
            shape->Draw(canvas, drawmode::Normal);
    } catch (...) {
        FZoom = zoom;
        ScaleChangedAll();
        throw;
    }
    FZoom = zoom;
    ScaleChangedAll();
}

QImage TPlaneMap::GetBitmap()
{
    const QSize size = PrintableSize();
    if (size.isEmpty()) {
        FServices.ShowMessage(EmptyAreaMessage);
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
    {
        // The painter ends before the image is handed out.
        platform::PainterCanvas canvas(image);
        DrawShapesAtZoom100(canvas);
    }
    return image;
}

bool TPlaneMap::DrawToMetafile(platform::TPicture& metafile)
{
    const QSize size = PrintableSize();
    if (size.isEmpty()) {
        FServices.ShowMessage(EmptyAreaMessage);
        return false;
    }
    platform::picture::MetafileCanvas canvas(size, FPixelsPerInch);
    canvas.SetClipRegion(QRegion(0, 0, size.width(), size.height()));
    DrawShapesAtZoom100(canvas);
    metafile.SetGraphic(platform::TGraphicKind::Metafile, canvas.Finish());
    return true;
}

} // namespace siteplan
