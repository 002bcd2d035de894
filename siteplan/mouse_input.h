// Mouse buttons and shift states as the plan control's handlers take them.
#pragma once

#include <cstdint>

namespace siteplan {

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64; // the second press of a double click

} // namespace siteplan
