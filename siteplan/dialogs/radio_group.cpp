#include "radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace siteplan {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent)
{
    auto* layout = new QVBoxLayout(this);
    for (const QString& item : items) {
        auto* button = new QRadioButton(item, this);
        layout->addWidget(button);
        FButtons.push_back(button);
    }
    layout->addStretch();
}

int TRadioGroup::ItemIndex() const
{
    for (std::size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    // Radio buttons of one parent are exclusive, so one cannot be unchecked
    // directly; switching exclusivity off for a moment clears them all.
    for (QRadioButton* button : FButtons) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    if (index >= 0 && index < Count())
        FButtons[static_cast<std::size_t>(index)]->setChecked(true);
}

} // namespace siteplan
