// Text appearance of a text shape and of the plan's default text settings:
// a font and the horizontal and vertical alignment of the text in its box.
#pragma once

#include "platform/canvas.h"
#include "platform/gbk_text.h"

#include <cstdint>
#include <functional>

namespace siteplan {

class TTextShowSet {
public:
    TTextShowSet();

    // Copies font, stored name and alignments; OnChange does not fire.
    void Assign(const TTextShowSet& other);

    std::int16_t HorzAlign() const { return FHorzAlign; } // 0 left, 1 centre, 2 right
    std::int16_t VertAlign() const { return FVertAlign; } // 0 top, 1 centre, 2 bottom
    // Store a different value and fire OnChange; an equal value does nothing.
    void SetHorzAlign(std::int16_t value);
    void SetVertAlign(std::int16_t value);

    // Edited in place; changes to it do not fire OnChange.
    platform::TFont Font;

    // The font name as stored: the bytes it was read with while Font.Name
    // still reads as them, so that an unchanged name is written back as read.
    platform::StoredText StoredFontName() const;
    // Takes a stored name and sets Font.Name to its text.
    void SetStoredFontName(const platform::StoredText& name);

    std::function<void(TTextShowSet*)> OnChange;

private:
    void Change();

    platform::StoredText FStoredName;
    std::int16_t FHorzAlign = 0;
    std::int16_t FVertAlign = 0;
};

} // namespace siteplan
