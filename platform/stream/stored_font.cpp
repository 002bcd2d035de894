#include "stored_font.h"

#include "platform/numbers.h"

namespace stream {

namespace {

constexpr int storedPixelsPerInch = 96;

} // namespace

std::int32_t StoredFont::HeightOfSize(int size)
{
    return -platform::MulDiv(size, storedPixelsPerInch, 72);
}

int StoredFont::SizeOfHeight(std::int32_t height)
{
    return -platform::MulDiv(height, 72, storedPixelsPerInch);
}

std::int32_t StoredFont::Height() const
{
    if (readHeight_ && SizeOfHeight(*readHeight_) == Font.Size)
        return *readHeight_;
    return HeightOfSize(Font.Size);
}

void StoredFont::SetHeight(std::int32_t height)
{
    readHeight_ = height;
    Font.Size = SizeOfHeight(height);
}

QByteArray StoredFont::NameBytes() const
{
    return readName_.Text() == Font.Name ? readName_.Bytes() : platform::ToGbk(Font.Name);
}

void StoredFont::SetNameBytes(const QByteArray& bytes)
{
    readName_ = platform::StoredText::FromBytes(bytes);
    Font.Name = readName_.Text();
}

const PropertyTable& StoredFont::Properties() const
{
    static const PropertyTable table = TableBuilder<StoredFont>()
        .Integer("Charset", [](const StoredFont& f) { return f.Charset; },
            [](StoredFont& f, std::int64_t v) { f.Charset = static_cast<std::int32_t>(v); }, {}, &CharsetNames)
        .Integer("Color", [](const StoredFont& f) { return f.Font.Color; },
            [](StoredFont& f, std::int64_t v) { f.Font.Color = static_cast<std::int32_t>(v); }, {}, &ColorNames)
        .Integer("Height", [](const StoredFont& f) { return f.Height(); },
            [](StoredFont& f, std::int64_t v) { f.SetHeight(static_cast<std::int32_t>(v)); })
        .Text("Name", [](const StoredFont& f) { return f.NameBytes(); },
            [](StoredFont& f, const QByteArray& v) { f.SetNameBytes(v); })
        .Enumeration("Pitch", {"fpDefault", "fpVariable", "fpFixed"},
            [](const StoredFont& f) { return static_cast<int>(f.Pitch); },
            [](StoredFont& f, std::int64_t v) { f.Pitch = static_cast<TFontPitch>(v); },
            static_cast<std::int64_t>(TFontPitch::fpDefault))
        .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
            [](const StoredFont& f) { return f.Font.Style; },
            [](StoredFont& f, std::int64_t v) { f.Font.Style = static_cast<platform::TFontStyles>(v & 0x0F); })
        .Build();
    return table;
}

} // namespace stream
