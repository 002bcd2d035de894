// Fonts of the drawing surfaces: the mapping of the Chinese face names that
// documents store to an installed CJK font, and the Qt font for a TFont.
#pragma once

#include "canvas.h"

#include <QFont>

namespace platform {

// Maps the CJK face names a document may hold ("宋体", "黑体", ...) to an
// installed CJK font, so that the stored name is kept and still finds
// glyphs. Safe to call any number of times; only the first call acts.
void InstallFontSubstitutes();

// The Qt font for font at the given resolution: the point size becomes a
// pixel size (size * pixelsPerInch / 72), and glyphs are drawn without
// antialiasing and without kerning, pixel-exact on every run.
QFont ToQFont(const TFont& font, int pixelsPerInch);

} // namespace platform
