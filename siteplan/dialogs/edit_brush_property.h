// The brush editor placed on the tabs of the property dialogs: the eight
// fill styles with a preview each and the fill colour (bitmap fills are
// not offered). The edited brush is written only by SaveToBrush.
#pragma once

#include "paint_box.h"

#include <QWidget>

#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace siteplan {

class TColorSwatch;
class TMapBrush;

class Tfra_EditBrushProperty : public QWidget {
public:
    explicit Tfra_EditBrushProperty(QWidget* parent = nullptr);

    // Remembers brush and shows its colour and style.
    void LoadFromBrush(TMapBrush& brush);
    // Colour, then style into the remembered brush.
    void SaveToBrush();
    // Tag (brush style ordinal) of the first checked style button in
    // control order; 0 when none.
    int GetStyle() const;
    // Checks the first style button with this Tag; no match changes nothing.
    void SetStyle(int tag);

    QGroupBox* GroupBox1;
    std::vector<QRadioButton*> StyleButtons; // control order: left column, then right
    std::vector<TPaintBox*> StylePreviews;
    QGroupBox* GroupBox3;
    TColorSwatch* lb_BrushColor;
    QPushButton* Button1;
    QGroupBox* GroupBox2;
    QPushButton* Button2;
    QLabel* Image1;

private:
    void PaintBox1Paint(TPaintBox& sender, platform::Canvas& canvas);
    void Button1Click();
    void RepaintPreviews();

    QButtonGroup* FStyleGroup;
    TMapBrush* FBrush = nullptr;
};

} // namespace siteplan
