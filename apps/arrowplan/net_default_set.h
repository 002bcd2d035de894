// The defaults dialog "网络图缺省设置": five pages over the drawing defaults
// file. It edits only the file; no open network changes. OK checks every
// field first and writes nothing unless all are integers, then writes the
// whole file at once.
#pragma once

#include "apps/arrowplan/net_defaults.h"

#include "platform/window_services.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace arrowplan {

class Tfrm_NetdefaultSet : public QDialog {
public:
    Tfrm_NetdefaultSet(const QString& iniFile, platform::WindowServices& messages, QWidget* parent = nullptr);

    // Fills the controls from the file.
    void LoadSettings();
    // Checks every field and writes the file; false (after the message)
    // when a field is no integer or the file cannot be written.
    bool SaveSettings();

    // The values the controls hold; nothing (after the message) when a
    // field is no integer.
    std::optional<TNetDefaults> Values();

    QTabWidget* PageControl1;
    // The integer fields by key, the check boxes of the ruler rows and the
    // duty table by key.
    std::map<QString, QLineEdit*> Edits;
    std::map<QString, QCheckBox*> Checks;

    // The colour and font choosers; the Qt dialogs unless replaced.
    std::function<std::optional<platform::TColor>(platform::TColor)> ChooseColor;
    std::function<std::optional<platform::TFont>(const platform::TFont&)> ChooseFont;

private:
    QWidget* NodePage();
    QWidget* WorkPage();
    QWidget* RulerPage();
    QWidget* GeneralPage();
    QWidget* DutyPage();
    QLineEdit* Edit(const QString& key);
    QCheckBox* Check(const QString& key, const QString& caption);
    QFrame* Swatch(platform::TColor* color);
    QWidget* ColorButton(const QString& caption, platform::TColor* color);
    QWidget* FontButton(const QString& caption, const QString& sample, platform::TFont* font);
    void ShowValues();

    QString iniFile_;
    platform::WindowServices& messages_;
    TNetDefaults values_;
    std::vector<std::function<void()>> refreshers_;
    QLineEdit* nodeFontName_ = nullptr;
};

// Opens the dialog on the file; OK writes it.
void ShowNetDefaultSet(const QString& iniFile, platform::WindowServices& messages, QWidget* parent);

} // namespace arrowplan
