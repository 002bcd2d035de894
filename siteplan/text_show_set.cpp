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
    FHorzAlign = other.FHorzAlign;
    FVertAlign = other.FVertAlign;
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
