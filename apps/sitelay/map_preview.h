// Preview and print of a site plan: the plan's printable area rendered as
// one bitmap is handed, with the sheet's margins, to the shared preview
// window, which tiles it into printer pages.
#pragma once

#include "common/map_preview_window.h"

#include <QImage>
#include <QString>

namespace siteplan {
class TPlaneMap;
}

namespace sitelay {

// The sheet's margins in 0.1 mm.
struct TMapMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

TMapMargins MarginsOf(const siteplan::TPlaneMap& map);

// Sitelay's layout of the preview window.
common::TMapPreviewLayout SitelayPreviewLayout();

// Sets each paper margin of the window's preview to the given margin less
// the printer's unprintable strip and 1 mm, so that a page starts at the
// requested distance from the sheet's edge; then the picture.
void PrepareMapPreview(common::Tfrm_MapPreview& window, const QImage& bitmap, const TMapMargins& margins);

// Shows the preview window maximised and modal, under caption ("打印预览"
// when empty).
void ShowMapPreview(common::TPrintServices& printing, const QImage& bitmap, const TMapMargins& margins,
                    const QString& caption, platform::WindowServices* messages, QWidget* parent);

// Prints every page of the bitmap once, as the preview would; false when
// the output choice was cancelled. Failures throw with their message.
bool PrintMapDirect(common::TPrintServices& printing, const QImage& bitmap, const TMapMargins& margins,
                    platform::WindowServices* messages, QWidget* parent);

} // namespace sitelay
