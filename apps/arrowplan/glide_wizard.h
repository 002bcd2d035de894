// The flow-process wizard "流水参数": the processes with their names, the
// rhythm of each process on each section, the number of layers and the row
// distance between sections. Created once and kept hidden between uses, so
// the grid keeps what was typed from one flow process to the next.
//
// Ownership: the message service is the caller's and outlives the window.
#pragma once

#include "apps/arrowplan/glide_cells.h"

#include "platform/window_services.h"

#include <QDialog>
#include <QSpinBox>

#include <memory>

class QTableWidget;

namespace arrowplan {

// A count shown in a read-only field that only its arrows change; with
// SkipZero the arrows jump over 0.
class TUpDownEdit : public QSpinBox {
public:
    TUpDownEdit(int minimum, int maximum, int value, bool skipZero, QWidget* parent = nullptr);
    void stepBy(int steps) override;

private:
    bool FSkipZero;
};

class TFrmGlide : public QDialog {
public:
    // Without a message service the window shows Qt message boxes.
    explicit TFrmGlide(platform::WindowServices* messages = nullptr, QWidget* parent = nullptr);

    TUpDownEdit* Edit1; // processes, 2 to 100
    TUpDownEdit* Edit2; // sections, 2 to 100
    TUpDownEdit* Edit3; // layers, 1 to 200
    TUpDownEdit* Edit4; // row distance, -5 to 5 without 0
    QTableWidget* StringGrid1;
    QPushButton* BitBtn1; // OK
    QPushButton* BitBtn2; // Cancel

    int Processes() const;
    int Sections() const;
    int Layers() const;
    int LineDistance() const;
    TGlideCells& Cells() { return FCells; }
    // The grid's texts as the generator reads them.
    network::TVYRNetwork::TGlideTable Table() const;

    // Fills the empty cells with their defaults and shows the grid.
    void FillDefaults();
    // The check of OK; closes the dialog when every cell passed.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowCells();

    std::unique_ptr<platform::WindowServices> FOwnMessages;
    platform::WindowServices* FMessages;
    TGlideCells FCells;
    bool FShowing = false;
};

} // namespace arrowplan
