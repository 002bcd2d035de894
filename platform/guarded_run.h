// Runs a command of a window or a host so that no exception leaves it: an
// error is shown as the application's error box, with the exception's text
// (the engines' messages are UTF-8), and the command simply ends.
#pragma once

#include "platform/window_services.h"

#include <QString>

#include <exception>

namespace platform {

template <class F>
void RunGuarded(WindowServices& messages, F&& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        messages.ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
        messages.ShowError(QStringLiteral("发生了未知错误。"));
    }
}

} // namespace platform
