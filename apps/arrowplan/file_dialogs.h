// The open and save dialogs of network files behind a small interface, so
// that tests can answer them.
#pragma once

#include <QString>

class QWidget;

namespace arrowplan {

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;

    // The chosen existing network file, starting in folder; empty when
    // cancelled.
    virtual QString OpenNetworkFile(const QString& folder) = 0;
    // The chosen file name to save to; empty when cancelled. The dialog does
    // not ask about overwriting: the main window asks.
    virtual QString SaveNetworkFile(const QString& folder) = 0;
};

// The Qt dialogs over a window (not owned).
class TQtFileDialogs final : public TFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* window) : window_(window) {}

    QString OpenNetworkFile(const QString& folder) override;
    QString SaveNetworkFile(const QString& folder) override;

private:
    QWidget* window_;
};

} // namespace arrowplan
