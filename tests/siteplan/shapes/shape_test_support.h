// What the shape tests of every family share: where the first shape record
// lies in a plan file and the area a shape really paints.
#pragma once

#include "siteplan/plane_map.h"
#include "siteplan/vyr_map_com.h"

#include "platform/painter_canvas.h"

#include <QImage>

namespace shapetest {

// Offset of the first shape record in a plan whose default font name has
// four bytes ("宋体"), and the size of the base part of a record.
constexpr qsizetype FirstRecordAt = 114;
constexpr qsizetype BaseRecordSize = 24;

// The bounding box of the pixels the shape paints on white, at the plan's
// resolution.
inline QRect DrawnArea(siteplan::TVyrMapCom& shape, std::uint8_t mode, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(shape.PlaneMap()->PixelsPerInch() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        shape.Draw(canvas, mode);
    }
    QRect drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                drawn |= QRect(x, y, 1, 1);
    return drawn;
}

} // namespace shapetest
