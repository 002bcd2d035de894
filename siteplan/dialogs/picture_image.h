// The picture preview of the picture dialog: shows a copy of the picture
// at its own size from the top-left corner, or stretched over the whole
// box.
#pragma once

#include "platform/picture/picture.h"

#include <QWidget>

namespace siteplan {

class TPictureImage : public QWidget {
public:
    explicit TPictureImage(QWidget* parent = nullptr);

    const platform::TPicture& Picture() const { return FPicture; }
    platform::TPicture& Picture() { return FPicture; }
    void SetPicture(const platform::TPicture& picture);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::TPicture FPicture;
    bool FStretch = false;
};

} // namespace siteplan
