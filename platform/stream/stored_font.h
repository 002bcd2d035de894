// A font as a stream sub-object: "P.Charset", "P.Color", "P.Height",
// "P.Name", "P.Pitch" (only when not fpDefault) and "P.Style" (always).
// The stored height is the negative pixel height at 96 dots per inch; the
// point size is not stored. The height and the name bytes read are kept and
// written back while the size and name are unchanged, so a font reads and
// writes byte-identically.
#pragma once

#include "stream_object.h"

#include "platform/canvas.h"
#include "platform/gbk_text.h"

#include <optional>

namespace stream {

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

class StoredFont : public StreamObject {
public:
    StoredFont() = default;
    explicit StoredFont(const platform::TFont& font) : Font(font) {}

    platform::TFont Font;
    std::int32_t Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;

    // The stored height: the one read while it still gives Font.Size,
    // else the height of Font.Size.
    std::int32_t Height() const;
    void SetHeight(std::int32_t height);
    QByteArray NameBytes() const;
    void SetNameBytes(const QByteArray& bytes);

    const PropertyTable& Properties() const override;

    // The pixel height at 96 dots per inch of a point size (9 pt: -12), and back.
    static std::int32_t HeightOfSize(int size);
    static int SizeOfHeight(std::int32_t height);

private:
    std::optional<std::int32_t> readHeight_;
    platform::StoredText readName_;
};

} // namespace stream
