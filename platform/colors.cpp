#include "colors.h"

#include <array>

namespace platform {

namespace {

// A fixed, classic-looking palette so that drawings and printouts do not
// depend on the desktop theme.
constexpr std::array<std::uint32_t, 25> systemColors = {
    0xC8C8C8, // scroll bar
    0x000000, // background
    0x6A240A, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x6A240A, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x404040, // 3D dark shadow
    0xC0C0C0, // 3D light
    0x000000, // info text
    0xE1FFFF, // info background
};

} // namespace

std::uint32_t ColorToRGB(TColor color)
{
    if (color < 0) {
        const std::uint32_t index = static_cast<std::uint32_t>(color) & 0xFFu;
        return index < systemColors.size() ? systemColors[index] : 0u;
    }
    return static_cast<std::uint32_t>(color) & 0xFFFFFFu;
}

QColor ToQColor(TColor color)
{
    const std::uint32_t rgb = ColorToRGB(color);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

} // namespace platform
