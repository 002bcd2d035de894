// The common dialogs of the main window behind a small interface, so that
// tests can answer them: the open and save dialogs of plan files and the
// colour dialog of the style toolbars.
#pragma once

#include "platform/colors.h"

#include <QString>

#include <optional>

class QWidget;

namespace sitelay {

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;

    // The chosen existing plan file; empty when cancelled.
    virtual QString OpenPlanFile() = 0;
    // The chosen file name to save to, its overwriting confirmed; empty when
    // cancelled.
    virtual QString SavePlanFile() = 0;
    // The chosen colour; none when cancelled.
    virtual std::optional<platform::TColor> ChooseColor(platform::TColor initial) = 0;
};

// The Qt dialogs over a window (not owned).
class TQtFileDialogs final : public TFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* window) : window_(window) {}

    QString OpenPlanFile() override;
    QString SavePlanFile() override;
    std::optional<platform::TColor> ChooseColor(platform::TColor initial) override;

private:
    QWidget* window_;
};

} // namespace sitelay
