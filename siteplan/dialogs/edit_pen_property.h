// The pen editor placed on the tabs of the property dialogs: width 1 to 50
// pixels, the seven pen styles with a preview each, and the colour. The
// edited pen is written only by SaveToPen, so a cancelled dialog leaves it
// as it was.
#pragma once

#include "paint_box.h"

#include <QSpinBox>
#include <QWidget>

#include <vector>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace siteplan {

class TColorSwatch;
class TMapPen;

// Up-down arrows with their edit box: the box shows the position and takes
// no typing.
class TUpDown : public QSpinBox {
public:
    explicit TUpDown(QWidget* parent = nullptr);
    QLineEdit* Edit() const { return lineEdit(); }
    int Position() const { return value(); }
    void SetPosition(int position) { setValue(position); }
};

class Tfra_EditPenProperty : public QWidget {
public:
    explicit Tfra_EditPenProperty(QWidget* parent = nullptr);

    // Remembers pen and shows its colour, width and style.
    void LoadFromPen(TMapPen& pen);
    // Colour, width, then style into the remembered pen.
    void SaveToPen();
    // Tag of the first checked style button in control order; 0 when none.
    int GetStyle() const;
    // Checks the first style button with this Tag; no match changes nothing.
    void SetStyle(int tag);
    void RepaintPreviews();

    TUpDown* ud_PenWidth;
    QLineEdit* Edit1;
    QGroupBox* GroupBox1;
    std::vector<QRadioButton*> StyleButtons; // control order; Tag = index
    std::vector<TPaintBox*> StylePreviews;
    QGroupBox* GroupBox2;
    TColorSwatch* lb_PenColor;
    QPushButton* Button1;

private:
    void PaintBox1Paint(TPaintBox& sender, platform::Canvas& canvas);
    void Button1Click();

    QButtonGroup* FStyleGroup;
    TMapPen* FPen = nullptr;
};

} // namespace siteplan
