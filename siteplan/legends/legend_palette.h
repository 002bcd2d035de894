// The legend tool pages of the main window: one page per library page and
// one toggle button per visible legend. The window's page control is
// reached through LegendPageControl, so the pages are built here without
// any widget; the first two pages are the window's fixed tool pages.
#pragma once

#include "legend_files.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace legends {

inline constexpr int FixedToolPages = 2;
inline constexpr int LegendToolBase = 1000;   // tag of a legend button: 1000 + item index
inline constexpr int LegendButtonWidth = 23;
inline constexpr int LegendButtonHeight = 22;

// A flat toggle button of group 1 on a legend page.
struct LegendButton {
    QRect Bounds;
    int Tag = 0;
    QString Hint;
    bool Down = false;
    // The page's select button takes the glyph of the first control on page
    // 0; a legend button brings its own.
    bool SelectButton = false;
    QImage Glyph;
};

// The host's page control with its image list. Every button it makes gets
// the shared tool-button click handler.
class LegendPageControl {
public:
    virtual ~LegendPageControl() = default;
    virtual int PageCount() const = 0;
    virtual QString PageCaption(int page) const = 0;
    virtual int ControlCount(int page) const = 0;
    // Removes the page and its buttons, and clears the image list.
    virtual void RemovePage(int page) = 0;
    // Appends an empty page and returns its index.
    virtual int AddPage(const QString& caption) = 0;
    virtual void AddButton(int page, const LegendButton& button) = 0;
};

// Removes the legend pages, then adds the library's pages in order and a
// button for every visible legend on a page.
void BuildLegendPalette(LegendPageControl& pages, const TLegendFiles& library);

// The first legend page with exactly this caption, or a new one with its
// select button.
int FindOrAddLegendPage(LegendPageControl& pages, const QString& name);

// The item's button after the others on its page; nothing for an invisible
// item or one on no page.
void AddLegendButton(const TLegendItem& item, LegendPageControl& pages);

// The picture stretched over a white 16 x 16 image.
QImage LegendImage(const platform::TPicture& picture);
// LegendImage with its bottom-left pixel white, the glyph's transparent colour.
QImage LegendGlyph(const platform::TPicture& picture);

} // namespace legends
