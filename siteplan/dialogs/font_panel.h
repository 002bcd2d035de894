// The font sample of the text dialogs: a lowered panel that holds a copy
// of the font being edited and shows the sample text "中华民族" in it.
#pragma once

#include "platform/canvas.h"

#include <QFrame>

class QLabel;

namespace siteplan {

class TFontPanel : public QFrame {
public:
    explicit TFontPanel(QWidget* parent = nullptr);

    const platform::TFont& Font() const { return FFont; }
    void SetFont(const platform::TFont& font);

private:
    QLabel* FSample;
    platform::TFont FFont;
};

// The font dialog started with font; on OK font takes the chosen face,
// size and styles and true is returned. Colour and escapement stay.
bool ChooseFont(QWidget* parent, platform::TFont& font);

} // namespace siteplan
