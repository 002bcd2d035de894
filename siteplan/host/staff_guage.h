// The ruler panel beside the plan: a borderless panel that, after painting
// its background, lets its owner draw the ruler marks through OnPaint.
#pragma once

#include "platform/canvas.h"

#include <QWidget>

#include <functional>

namespace siteplan {

class TQStaffGuage : public QWidget {
public:
    explicit TQStaffGuage(QWidget* parent = nullptr);

    // Background colour of the panel.
    platform::TColor Color = platform::clBtnFace;
    std::function<void(TQStaffGuage*, platform::Canvas&)> OnPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DoPaint(platform::Canvas& canvas);
};

} // namespace siteplan
