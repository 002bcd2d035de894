// The colour field of the pen and brush editors: a sunken box filled with
// the colour being edited. It keeps the stored colour value as it is
// (system colours included) until another colour is chosen.
#pragma once

#include "platform/colors.h"

#include <QFrame>

namespace siteplan {

class TColorSwatch : public QFrame {
public:
    TColorSwatch(QSize size, QWidget* parent = nullptr);

    platform::TColor Color() const { return FColor; }
    void SetColor(platform::TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::TColor FColor = platform::clBlack;
};

// The colour dialog preset with color; true and the chosen colour in color
// on OK.
bool ChooseColor(QWidget* parent, platform::TColor& color);

} // namespace siteplan
