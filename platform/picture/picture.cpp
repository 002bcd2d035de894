#include "picture.h"

#include "byte_reader.h"
#include "graphic_format.h"
#include "metafile_header.h"
#include "metafile_player.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <mutex>
#include <utility>

namespace platform {

using picture::ByteReader;

namespace {

struct GraphicClass {
    TGraphicKind Kind;
    const char* Name;
    const char* ImageFormat; // Qt's decoder, or null for metafiles
};

// In the order a stored name is compared.
constexpr GraphicClass GraphicClasses[] = {
    {TGraphicKind::Metafile, "TMetafile", nullptr},
    {TGraphicKind::Icon, "TIcon", "ICO"},
    {TGraphicKind::Bitmap, "TBitmap", "BMP"},
    {TGraphicKind::Jpeg, "TJPEGImage", "JPEG"},
};

const GraphicClass* ClassOf(TGraphicKind kind)
{
    for (const auto& c : GraphicClasses)
        if (c.Kind == kind)
            return &c;
    return nullptr;
}

[[noreturn]] void ThrowStreamReadError()
{
    throw EPictureError(QStringLiteral("Stream read error"));
}

void AppendInt32(QByteArray& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(std::uint32_t(value) >> (8 * i)));
}

// Decodes the bytes of a bitmap, icon or JPEG image. The images decoded
// lately are kept by class and bytes: a plan places the same legend symbol
// many times, each with its own copy of the bytes, and each copy would
// otherwise be decoded again when it is first drawn.
QImage DecodeImage(TGraphicKind kind, const QByteArray& bytes)
{
    constexpr qsizetype MaxKeptBytes = qsizetype{64} << 20;
    constexpr qsizetype MaxKeptImages = 1024;
    static std::mutex mutex;
    static QHash<std::pair<int, QByteArray>, QImage> kept;
    static qsizetype keptBytes = 0;
    const std::pair<int, QByteArray> key(static_cast<int>(kind), bytes);
    {
        const std::lock_guard lock(mutex);
        if (const auto found = kept.constFind(key); found != kept.constEnd())
            return *found;
    }
    const QImage image = QImage::fromData(bytes, ClassOf(kind)->ImageFormat);
    const qsizetype size = bytes.size() + image.sizeInBytes();
    const std::lock_guard lock(mutex);
    if (kept.size() >= MaxKeptImages || keptBytes + size > MaxKeptBytes) {
        kept.clear();
        keptBytes = 0;
    }
    if (size <= MaxKeptBytes / 4) {
        kept.insert(key, image);
        keptBytes += size;
    }
    return image;
}

} // namespace

void TPicture::SetGraphic(TGraphicKind kind, QByteArray bytes)
{
    kind_ = kind;
    bytes_ = kind == TGraphicKind::None ? QByteArray() : std::move(bytes);
    decoding_.reset();
}

const TGraphicDecoding& TPicture::Decoding() const
{
    if (decoding_)
        return *decoding_;
    TGraphicDecoding& result = decoding_.emplace();
    if (bytes_.isEmpty())
        return result;
    if (kind_ == TGraphicKind::Metafile) {
        auto header = picture::ReadEnhHeader(bytes_);
        result.Enhanced = header.has_value();
        if (!header)
            header = picture::ReadPlaceableHeader(bytes_);
        if (header) {
            result.Decoded = true;
            result.Size = header->PixelSize;
        }
        return result;
    }
    result.Image = DecodeImage(kind_, bytes_);
    result.Decoded = !result.Image.isNull();
    if (result.Decoded)
        result.Size = result.Image.size();
    return result;
}

QByteArray TPicture::ClassName() const
{
    const GraphicClass* c = ClassOf(kind_);
    return c ? QByteArray(c->Name) : QByteArray();
}

TGraphicKind TPicture::KindFromClassName(QByteArrayView name)
{
    for (const auto& c : GraphicClasses)
        if (name == QByteArrayView(c.Name))
            return c.Kind;
    return TGraphicKind::None;
}

void TPicture::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EPictureError(QStringLiteral("无法打开图片文件“%1”。").arg(QFileInfo(fileName).fileName()));
    QByteArray bytes = file.readAll();

    const TGraphicKind kind = picture::KindFromFileName(fileName);
    if (kind == TGraphicKind::None)
        throw EPictureError(QStringLiteral("未知的图片文件扩展名 (.%1)").arg(QFileInfo(fileName).suffix()));

    TPicture loaded;
    loaded.SetGraphic(kind, bytes);
    // A file whose content is another known format than its extension says
    // is read as what it holds.
    const TGraphicKind content = picture::SniffGraphicKind(bytes);
    if (!loaded.Decoded() && content != TGraphicKind::None && content != kind)
        loaded.SetGraphic(content, std::move(bytes));
    if (!loaded.Decoded())
        throw EPictureError(QStringLiteral("图片文件“%1”的格式无效。").arg(QFileInfo(fileName).fileName()));
    *this = std::move(loaded);
}

void TPicture::ReadData(QByteArrayView data)
{
    ByteReader in(data);
    const auto nameLength = in.U8();
    if (!nameLength)
        ThrowStreamReadError();
    const auto name = in.Bytes(*nameLength);
    if (!name)
        ThrowStreamReadError();

    const TGraphicKind kind = KindFromClassName(*name);
    QByteArrayView bytes;
    switch (kind) {
    case TGraphicKind::None:
        break;
    case TGraphicKind::Bitmap:
    case TGraphicKind::Jpeg: {
        const auto size = in.I32();
        const auto image = size ? in.Bytes(*size) : std::nullopt;
        if (!image)
            ThrowStreamReadError();
        bytes = *image;
        break;
    }
    case TGraphicKind::Metafile: {
        // The count includes its own four bytes; four or less is an empty
        // metafile, a negative count is damage.
        const auto count = in.I32();
        if (!count || *count < 0)
            ThrowStreamReadError();
        if (*count > 4) {
            const auto image = in.Bytes(*count - 4);
            if (!image)
                ThrowStreamReadError();
            bytes = *image;
        }
        break;
    }
    case TGraphicKind::Icon:
        bytes = *in.Bytes(in.Remaining());
        break;
    }
    SetGraphic(kind, bytes.toByteArray());
}

QByteArray TPicture::WriteData() const
{
    QByteArray out;
    if (kind_ == TGraphicKind::None)
        return out;
    const QByteArray name = ClassName();
    out.append(char(name.size()));
    out.append(name);
    switch (kind_) {
    case TGraphicKind::Bitmap:
    case TGraphicKind::Jpeg:
        AppendInt32(out, std::int32_t(bytes_.size()));
        break;
    case TGraphicKind::Metafile:
        AppendInt32(out, std::int32_t(bytes_.size() + 4));
        break;
    case TGraphicKind::Icon:
    case TGraphicKind::None:
        break;
    }
    out.append(bytes_);
    return out;
}

void TPicture::Draw(Canvas& canvas, const QRect& rect) const
{
    if (Empty())
        return;
    const TGraphicDecoding& decoding = Decoding();
    if (decoding.Decoded && !decoding.Image.isNull()) {
        canvas.StretchDraw(rect, decoding.Image);
        return;
    }
    if (decoding.Decoded && (decoding.Enhanced ? picture::PlayEnhMetafile(bytes_, canvas, rect)
                                               : picture::PlayPlaceableWmf(bytes_, canvas, rect)))
        return;
    const TBrush brush = canvas.Brush;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    canvas.Brush = brush;
}

} // namespace platform
