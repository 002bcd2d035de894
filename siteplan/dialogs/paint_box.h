// A plain paint surface of the dialogs: the owner draws on it through a
// canvas whenever it repaints, and tells boxes apart by their Tag.
#pragma once

#include "platform/canvas.h"

#include <QWidget>

#include <functional>

namespace siteplan {

class TPaintBox : public QWidget {
public:
    TPaintBox(int tag, QSize size, QWidget* parent = nullptr);

    int Tag() const { return FTag; }

    // Called on every repaint with a canvas on the box; the canvas brush is
    // a solid one in the colour of the box's background.
    std::function<void(TPaintBox& sender, platform::Canvas& canvas)> OnPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FTag;
};

} // namespace siteplan
