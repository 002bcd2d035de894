// The common form of the shape property dialogs: a fixed-size dialog with
// a page control above a bottom panel holding "确认" (OK) and "取消"
// (Cancel). The dialogs add their tabs; each loads from the objects it is
// given and writes them back only after OK.
#pragma once

#include <QDialog>

class QPushButton;
class QTabWidget;

namespace siteplan {

class TFrm_EditProperty : public QDialog {
public:
    explicit TFrm_EditProperty(QWidget* parent = nullptr);

    // Adds a tab with content filling it.
    void AddTab(const QString& caption, QWidget* content);

    QTabWidget* PageControl1;
    QWidget* Panel1;
    QPushButton* bbtn_OK;
    QPushButton* bbtn_Cancel;
};

// Shows the form modally: true exactly when it closed with OK.
bool ShowModalOk(TFrm_EditProperty& form);

// The parent of a dialog opened by an entry function: the active window,
// so that the dialog stays above it (none when no window is active).
QWidget* DialogParent();

} // namespace siteplan
