// The text-setting controls shared by the text dialog and the defaults
// dialog: the horizontal and vertical alignment groups, the "字体..."
// button and the font sample. Edits stay in the controls until SaveTo.
#pragma once

#include <QWidget>

class QPushButton;

namespace siteplan {

class TFontPanel;
class TRadioGroup;
class TTextShowSet;

class TTextShowPage : public QWidget {
public:
    // top, when given, is placed above the controls.
    explicit TTextShowPage(QWidget* top = nullptr, QWidget* parent = nullptr);

    void LoadFrom(const TTextShowSet& textShow);
    // The font, then the horizontal and the vertical alignment. An
    // alignment group without a checked button (a value outside the three
    // was loaded) leaves that alignment as it is.
    void SaveTo(TTextShowSet& textShow) const;

    TRadioGroup* rgp_HorzAlign;
    TRadioGroup* rgp_VertAlign;
    QPushButton* Button1;
    TFontPanel* pnl_Font;

private:
    void Button1Click();
};

} // namespace siteplan
