// The thumbnail of the whole network: a stay-on-top window without a close,
// minimise or maximise button that stretches the network's picture over its
// client area (the proportions are not kept).
#pragma once

#include "platform/picture/picture.h"

#include <QWidget>

#include <functional>

namespace arrowplan {

class Tfrm_PreviewForm : public QWidget {
public:
    explicit Tfrm_PreviewForm(QWidget* parent = nullptr);

    // Takes a copy of the picture.
    void SetPicture(const platform::TPicture& metafile);
    const platform::TPicture& Picture() const { return picture_; }

    // After the window manager closed the window.
    std::function<void()> OnClosed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    platform::TPicture picture_;
};

} // namespace arrowplan
