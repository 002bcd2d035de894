// Device-independent bitmaps as metafiles carry them: a BITMAPINFO (header
// and colour table) and the pixel bits, without the file header of a BMP.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace platform::picture {

// Decodes a DIB; a null image when the header is not understood, the bits
// are fewer than the header needs, or the bitmap is implausibly large.
QImage DibToImage(QByteArrayView info, QByteArrayView bits);

// A 24-bit bottom-up DIB of the image, its transparent parts laid on white.
struct Dib {
    QByteArray Info;
    QByteArray Bits;
};
Dib ImageToDib(const QImage& image);

} // namespace platform::picture
