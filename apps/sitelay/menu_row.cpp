#include "apps/sitelay/menu_row.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace sitelay {

namespace {

void SelectFirstItem(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible() && action->isEnabled()) {
            menu->setActiveAction(action);
            return;
        }
    }
}

} // namespace

TMenuRow::TMenuRow(QObject* parent) : QObject(parent) {}

void TMenuRow::AddButton(QToolButton* button)
{
    button->setPopupMode(QToolButton::InstantPopup);
    button->menu()->installEventFilter(this);
    // Connected after the button's own handler, which shows the menu and
    // returns when it closed.
    connect(button, &QToolButton::pressed, this, &TMenuRow::OpenPending);
    FButtons.push_back(button);
}

int TMenuRow::IndexOfMenu(const QObject* menu) const
{
    for (std::size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i]->menu() == menu)
            return static_cast<int>(i);
    return -1;
}

int TMenuRow::ButtonAt(QPoint globalPos) const
{
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        const QToolButton* button = FButtons[i];
        if (button->isVisible() && button->isEnabled() && button->rect().contains(button->mapFromGlobal(globalPos)))
            return static_cast<int>(i);
    }
    return -1;
}

bool TMenuRow::eventFilter(QObject* watched, QEvent* event)
{
    const int open = IndexOfMenu(watched);
    if (open < 0)
        return false;
    if (event->type() == QEvent::MouseMove) {
        const int under = ButtonAt(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (under >= 0 && under != open) {
            SwitchTo(open, under, false);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QMenu* menu = FButtons[static_cast<std::size_t>(open)]->menu();
        const bool intoSubmenu = menu->activeAction() && menu->activeAction()->menu();
        const int count = static_cast<int>(FButtons.size());
        if (key == Qt::Key_Left || (key == Qt::Key_Right && !intoSubmenu)) {
            const int step = key == Qt::Key_Right ? 1 : count - 1;
            SwitchTo(open, (open + step) % count, true);
            return true;
        }
    }
    return false;
}

void TMenuRow::SwitchTo(int from, int to, bool selectFirst)
{
    FPending = to;
    FSelectFirst = selectFirst;
    FButtons[static_cast<std::size_t>(from)]->menu()->hide();
}

void TMenuRow::OpenPending()
{
    while (FPending >= 0) {
        QToolButton* button = FButtons[static_cast<std::size_t>(FPending)];
        FPending = -1;
        if (FSelectFirst) {
            // Runs inside the menu's loop, once the menu is up.
            QMenu* menu = button->menu();
            QTimer::singleShot(0, menu, [menu] { SelectFirstItem(menu); });
        }
        button->showMenu();
    }
}

} // namespace sitelay
