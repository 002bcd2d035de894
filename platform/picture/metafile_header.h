// The headers of the two metafile kinds a picture can hold: an enhanced
// metafile (EMF) and a placeable Windows metafile (WMF with the 0x9AC6CDD7
// header). Both give the picture frame that playback maps onto the target
// rectangle, and the size in screen pixels the picture reports.
#pragma once

#include <QByteArrayView>
#include <QRectF>
#include <QSize>

#include <optional>

namespace platform::picture {

// Resolution of the screen that picture sizes are given for.
constexpr int ScreenPixelsPerInch = 96;

constexpr std::uint32_t EnhMetafileSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr qsizetype PlaceableHeaderSize = 22;

struct MetafileHeader {
    // The picture frame in the units the records draw in before the
    // metafile's own mapping: reference-device pixels for an EMF, logical
    // units of the bounding box for a placeable WMF.
    QRectF Frame;
    // Reference-device pixels per millimetre (EMF) or logical units per
    // millimetre (WMF), for the metric and English map modes.
    QSizeF UnitsPerMm;
    // Width and height at ScreenPixelsPerInch.
    QSize PixelSize;
};

// The header of an EMF, or nothing when the bytes do not start with a
// complete, consistent EMF header.
std::optional<MetafileHeader> ReadEnhHeader(QByteArrayView bytes);

// The header of a placeable WMF, or nothing when the bytes do not start
// with the placeable key and a standard metafile header.
std::optional<MetafileHeader> ReadPlaceableHeader(QByteArrayView bytes);

} // namespace platform::picture
