#include "apps/arrowplan/font_color_choosers.h"

#include "platform/colors.h"

#include <QColorDialog>
#include <QFontDialog>

#include <algorithm>

namespace arrowplan {

QFont SampleFont(const platform::TFont& font)
{
    QFont q(font.Name);
    q.setPointSize(std::clamp(font.Size, 1, 72));
    q.setBold(font.Style & platform::fsBold);
    q.setItalic(font.Style & platform::fsItalic);
    q.setUnderline(font.Style & platform::fsUnderline);
    q.setStrikeOut(font.Style & platform::fsStrikeOut);
    return q;
}

std::optional<platform::TColor> ChooseColorDialog(platform::TColor initial, QWidget* parent)
{
    const QColor color = QColorDialog::getColor(platform::ToQColor(initial), parent);
    if (!color.isValid())
        return std::nullopt;
    return platform::FromQColor(color);
}

std::optional<platform::TFont> ChooseFontDialog(const platform::TFont& initial, QWidget* parent)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, SampleFont(initial), parent);
    if (!ok)
        return std::nullopt;
    platform::TFont font = initial;
    font.Name = chosen.family();
    font.Size = chosen.pointSize() > 0 ? chosen.pointSize() : initial.Size;
    font.Style = static_cast<platform::TFontStyles>((chosen.bold() ? platform::fsBold : 0) |
                                                    (chosen.italic() ? platform::fsItalic : 0) |
                                                    (chosen.underline() ? platform::fsUnderline : 0) |
                                                    (chosen.strikeOut() ? platform::fsStrikeOut : 0));
    return font;
}

} // namespace arrowplan
