// The row of drop-down buttons that stands for the window's menus, made to
// behave as a menu row: while one menu is open, pointing at another button
// of the row, or pressing the left or right arrow key, closes it and opens
// that menu (the arrow keys go round the row and select the first item).
//
// A button opens its own menu when pressed; the row opens the next one only
// after the previous menu's modal loop has ended, so switching never nests
// menu loops however often the user switches.
#pragma once

#include <QObject>

#include <vector>

class QMenu;
class QToolButton;

namespace sitelay {

class TMenuRow : public QObject {
public:
    explicit TMenuRow(QObject* parent = nullptr);

    // The button shows its menu instantly when pressed.
    void AddButton(QToolButton* button);
    const std::vector<QToolButton*>& Buttons() const { return FButtons; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int IndexOfMenu(const QObject* menu) const;
    int ButtonAt(QPoint globalPos) const;
    void SwitchTo(int from, int to, bool selectFirst);
    void OpenPending();

    std::vector<QToolButton*> FButtons;
    int FPending = -1;          // the menu to open once the open one closed
    bool FSelectFirst = false;  // the pending menu opens with its first item selected
};

} // namespace sitelay
