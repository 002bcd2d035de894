// The thumbnail of the whole network: a stay-on-top window without a close,
// minimise or maximise button that stretches the network's picture over its
// client area (the proportions are not kept).
//
// Staying on top must not cover the program's own dialogs: while a modal
// window blocks the program, the thumbnail is hidden, and it comes back
// when the modal window goes.
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
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    platform::TPicture picture_;
    bool hiddenByModal_ = false;
};

} // namespace arrowplan
