// A titled group of radio buttons, one above the other, with the index of
// the checked one (-1 when none is checked).
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QRadioButton;

namespace siteplan {

class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int ItemIndex() const;
    // An index outside the items leaves no button checked.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const { return FButtons[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(FButtons.size()); }

private:
    std::vector<QRadioButton*> FButtons;
};

} // namespace siteplan
