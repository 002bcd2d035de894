// Images for comparing the pixels that the canvas writes itself with those
// that the painter sets for the same drawing.
#pragma once

#include "platform/painter_canvas.h"

#include <QImage>
#include <QSize>

#include <array>
#include <functional>

namespace platform {

// An image whose pixels all differ in colour from their neighbours, so that
// a pixel written in a wrong place shows.
inline QImage PatternImage(QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 3, 90));
    return image.convertToFormat(format);
}

// The drawing with a one-pixel solid pen and a clear brush on the canvas's
// own 32-bit image and on a 24-bit image, which the canvas always leaves to
// the painter; both returned as 32-bit pixels.
inline std::array<QImage, 2> WrittenAndPainted(QSize size, const std::function<void(Canvas&)>& draw)
{
    QImage written = PatternImage(size);
    QImage painted = PatternImage(size, QImage::Format_RGB888);
    for (QImage* image : {&written, &painted}) {
        PainterCanvas canvas(*image);
        canvas.Pen = TPen{RGB(250, 20, 0), TPenStyle::psSolid, 1, TPenMode::pmCopy};
        canvas.Brush.Style = TBrushStyle::bsClear;
        draw(canvas);
    }
    return {written, painted.convertToFormat(QImage::Format_RGB32)};
}

} // namespace platform
