// The editor of one legend of the library: its page, name, visibility and
// picture.
//
// Nothing reaches the legend before OK, and OK checks every field first, in
// the order page, name, picture: a bad one keeps the dialog open on that
// field with its message, so a legend is never left half changed.
#pragma once

#include "platform/picture/picture.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class WindowServices;
}

namespace legends {
class TLegendItem;
}

namespace sitelay {

class TLegendPrompts;

class Tfrm_AddLegend : public QDialog {
public:
    // Messages go to messages, the picture file is asked of prompts (neither
    // owned).
    Tfrm_AddLegend(platform::WindowServices& messages, TLegendPrompts& prompts, QWidget* parent = nullptr);

    // The fields from the item; the page list is the library's pages.
    void LoadItem(const QStringList& pages, const legends::TLegendItem& item);
    // OK: closes with OK only when every field is good.
    void BitBtn1Click();
    // Writes the checked fields into the item; false (and nothing written)
    // when a field is bad.
    bool ApplyToItem(legends::TLegendItem& item);
    // Loads the picture from a chosen file; a file that cannot be read is
    // reported and the picture stays.
    void Button2Click();

    const platform::TPicture& Picture() const { return FPicture; }
    void SetPicture(const platform::TPicture& picture);

    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QLabel* Image2;
    QPushButton* Button2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    // On a bad field its message is shown, the field gets the focus and
    // false is returned.
    bool CheckFields();
    bool Refuse(QWidget* field, const QString& message);

    platform::WindowServices& FMessages;
    TLegendPrompts& FPrompts;
    platform::TPicture FPicture;
};

// Shows the dialog for the item; true exactly when it closed with OK, the
// fields then being in the item.
bool ExecuteAddLegend(const QStringList& pages, legends::TLegendItem& item, platform::WindowServices& messages,
                      TLegendPrompts& prompts, QWidget* parent = nullptr);

} // namespace sitelay
