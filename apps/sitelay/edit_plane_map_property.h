// The map-property dialog: the sheet of the open plan (paper size A0 to A4
// or custom, custom width and height, orientation, the scale 1 : N and the
// four margins).
//
// Nothing reaches the plan before OK, and OK checks every field first: a
// bad one keeps the dialog open on that field with its message, so a plan is
// never left half changed. Refused are empty or non-numeric fields, a scale
// of 0, a sheet that is not larger than its margins, and sizes whose pixels
// at the largest zoom, or whose site coordinates at the scale, would not fit
// the plan's integers.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class WindowServices;
}

namespace siteplan {
class TPlaneMap;
class TUpDown;
} // namespace siteplan

namespace sitelay {

// The custom item of the paper-size lists.
inline constexpr int kCustomPaperItem = 5;

// The item of the paper-size lists that shows a stored paper size: an index
// the lists do not have (from a damaged file) is a custom sheet, which is
// what the plan makes of it.
int PaperSizeItem(int planmapSize);

class Tfrm_EditPlaneMapProperty : public QDialog {
public:
    // Messages about bad fields go to messages (not owned).
    explicit Tfrm_EditPlaneMapProperty(platform::WindowServices& messages, QWidget* parent = nullptr);

    void LoadFromMap(siteplan::TPlaneMap& map);
    // Both size edits read-only on the button face colour, or editable.
    void SetSizeReadOnly(bool readOnly);
    // A paper size was chosen: its width and height for the A sizes.
    void cmb_PlanmapSizeClick(int index);
    // OK: closes with OK only when every field is good.
    void BitBtn1Click();
    // Writes the checked fields into the plan; false (and nothing written)
    // when a field is bad.
    bool ApplyToMap();

    QComboBox* cmb_PlanmapSize;
    QLineEdit* edt_MapWidth;
    QLineEdit* edt_MapHeight;
    QLineEdit* edt_MapScale;
    QButtonGroup* rgp_Orientation;
    siteplan::TUpDown* ud_LeftMargin;
    siteplan::TUpDown* ud_TopMargin;
    siteplan::TUpDown* ud_RightMargin;
    siteplan::TUpDown* ud_BottomMargin;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TSheet;
    // The fields as the plan would take them; on a bad field its message
    // is shown, the field gets the focus and false is returned.
    bool ReadFields(TSheet& sheet);
    bool Refuse(QLineEdit* field, const QString& message);

    platform::WindowServices& FMessages;
    siteplan::TPlaneMap* FPlaneMap = nullptr;
};

// Shows the dialog for the plan; true exactly when it closed with OK, the
// fields then being in the plan.
bool ExecutePlaneMapProperty(siteplan::TPlaneMap& map, platform::WindowServices& messages,
                             QWidget* parent = nullptr);

} // namespace sitelay
