#include "text_show_set.h"

namespace siteplan {

TTextShowSet::TTextShowSet()
{
    Font.Name = QStringLiteral("宋体");
    Font.Size = 12;
    Font.Color = platform::clBlack;
}

void TTextShowSet::Assign(const TTextShowSet& other)
{
    Font = other.Font;
    FStoredName = other.FStoredName;
    FHorzAlign = other.FHorzAlign;
    FVertAlign = other.FVertAlign;
}

platform::StoredText TTextShowSet::StoredFontName() const
{
    platform::StoredText name = FStoredName;
    name.SetText(Font.Name);
    return name;
}

void TTextShowSet::SetStoredFontName(const platform::StoredText& name)
{
    FStoredName = name;
    Font.Name = name.Text();
}

void TTextShowSet::SetHorzAlign(std::int16_t value)
{
    if (value == FHorzAlign)
        return;
    FHorzAlign = value;
    Change();
}

void TTextShowSet::SetVertAlign(std::int16_t value)
{
    if (value == FVertAlign)
        return;
    FVertAlign = value;
    Change();
}

void TTextShowSet::Change()
{
    if (OnChange)
        OnChange(this);
}

} // namespace siteplan
