// A picture: one graphic (bitmap, icon, metafile or JPEG image) or none.
// The graphic keeps the bytes it was read with, so that writing it back
// gives the same bytes; the decoded image (or metafile header) is derived
// from them when it is first needed (a size, a draw, the image itself), so
// that reading a plan of many pictures decodes none of them. A graphic
// whose bytes cannot be decoded stays in the picture with its bytes,
// reports a zero size and draws as an empty frame.
#pragma once

#include "platform/canvas.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <stdexcept>

namespace platform {

// The graphic classes a picture can hold, named as they are stored.
enum class TGraphicKind : std::uint8_t { None, Bitmap, Icon, Metafile, Jpeg };

// A picture file or stored picture that cannot be read. The message is the
// one shown to the user.
class EPictureError : public std::runtime_error {
public:
    explicit EPictureError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// What a graphic's bytes decode to.
struct TGraphicDecoding {
    QImage Image; // of a bitmap, icon or JPEG image
    bool Decoded = false;
    bool Enhanced = false;
    QSize Size{0, 0};
};

class TPicture {
public:
    TPicture() = default;

    TGraphicKind Kind() const { return kind_; }
    // Whether the picture holds a graphic at all (it may still be empty).
    bool HasGraphic() const { return kind_ != TGraphicKind::None; }
    // No graphic, or a graphic without any data.
    bool Empty() const { return kind_ == TGraphicKind::None || bytes_.isEmpty(); }
    // Whether the graphic's bytes were understood (always false when empty).
    bool Decoded() const { return Decoding().Decoded; }
    // For a metafile: an enhanced metafile rather than a placeable one.
    bool Enhanced() const { return Decoding().Enhanced; }

    // Size in screen pixels; 0 x 0 for an empty or undecodable graphic.
    int Width() const { return Decoding().Size.width(); }
    int Height() const { return Decoding().Size.height(); }

    // The graphic's own file image ("BMP file", "icon file", "metafile",
    // "JPEG file"), exactly as read.
    const QByteArray& Bytes() const { return bytes_; }
    // The decoded image of a bitmap, icon or JPEG image.
    const QImage& Image() const { return Decoding().Image; }

    // Replaces the graphic; Kind None clears the picture.
    void SetGraphic(TGraphicKind kind, QByteArray bytes);
    void Clear() { SetGraphic(TGraphicKind::None, {}); }

    // Class name of the graphic as stored ("TBitmap", "TIcon", "TMetafile",
    // "TJPEGImage"); empty without a graphic.
    QByteArray ClassName() const;
    // The graphic class of a stored class name, compared exactly; None for
    // any other name.
    static TGraphicKind KindFromClassName(QByteArrayView name);

    // Reads a picture file. The extension names the graphic class (".bmp",
    // ".ico", ".emf", ".wmf", ".jpg", ".jpeg"); content that does not decode
    // as that class but is another known format is read as that format. An
    // unknown extension, or content that decodes as nothing, throws
    // EPictureError and leaves the picture as it was.
    void LoadFromFile(const QString& fileName);

    // The binary "Data" of a picture in a component stream: the class name
    // as a short string, then the graphic's data in its class's stored
    // form. An unknown class name reads as an empty picture; a negative
    // length, or data shorter than its length fields, throws EPictureError
    // and leaves the picture as it was.
    void ReadData(QByteArrayView data);
    QByteArray WriteData() const;

    // Draws the graphic stretched into rect (a metafile is played with its
    // frame mapped onto rect); nothing for an empty picture; a frame in the
    // canvas pen for a graphic whose bytes cannot be decoded.
    void Draw(Canvas& canvas, const QRect& rect) const;

    friend bool operator==(const TPicture& a, const TPicture& b) { return a.kind_ == b.kind_ && a.bytes_ == b.bytes_; }

private:
    // The decoding of the bytes, made on the first call after SetGraphic.
    const TGraphicDecoding& Decoding() const;

    TGraphicKind kind_ = TGraphicKind::None;
    QByteArray bytes_;
    mutable std::optional<TGraphicDecoding> decoding_;
};

} // namespace platform
