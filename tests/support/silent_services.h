// Window services that do nothing, for code that runs without a window
// (benchmarks, fuzz targets). A message box answers with the button given
// at construction where the box offers it, else Ok.
#pragma once

#include "platform/window_services.h"

namespace support {

class SilentServices : public platform::WindowServices {
public:
    explicit SilentServices(platform::MessageButton answer = platform::MessageButton::Ok) : answer_(answer) {}

    platform::MessageButton MessageBox(const QString&, platform::MessageIcon, platform::MessageButtons buttons,
                                       const QString&) override
    {
        return buttons.testFlag(answer_) ? answer_ : platform::MessageButton::Ok;
    }
    void SetCursor(int) override {}
    void InvalidateRect(const QRect&) override {}
    void Invalidate() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ClipCursor(const QRect&) override {}

private:
    platform::MessageButton answer_;
};

} // namespace support
