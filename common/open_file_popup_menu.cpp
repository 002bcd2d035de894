#include "common/open_file_popup_menu.h"

#include <QtDebug>

namespace common {

TQOpenFileMenuItem::TQOpenFileMenuItem(int index, const QString& fileName, QObject* parent)
    : QAction(RecentFileList::Caption(index, fileName), parent), fileName_(fileName)
{
}

TQOpenFilePopupMenu::TQOpenFilePopupMenu(QWidget* parent) : QMenu(parent) {}

TQOpenFilePopupMenu* MakeRecentFilesMenu(QWidget* window, const QString& iniFile, int keptNumber)
{
    auto* menu = new TQOpenFilePopupMenu(window);
    menu->SetIniTopName(QStringLiteral("OpenFile"));
    menu->SetIniSubName(QStringLiteral("File"));
    menu->SetMaxNumber(5);
    menu->SetKeptNumber(keptNumber);
    menu->SetIniFileName(iniFile);
    return menu;
}

TQOpenFilePopupMenu::~TQOpenFilePopupMenu()
{
    // At the end of the run there is nobody left to tell; the list simply
    // stays as it was on disk.
    if (!list_.WriteIni())
        qWarning() << "could not write the recent-files list" << list_.IniPath();
}

void TQOpenFilePopupMenu::SetIniFileName(const QString& name)
{
    list_.SetIniFileName(name);
    RebuildItems();
}

void TQOpenFilePopupMenu::SetCurFileName(const QString& fileName)
{
    if (list_.SetCurFileName(fileName))
        RebuildItems();
}

void TQOpenFilePopupMenu::RebuildItems()
{
    // Later, not now: the host may change the list from inside the picked
    // entry's own triggered signal.
    for (QAction* item : actions()) {
        removeAction(item);
        item->deleteLater();
    }
    const QStringList& names = list_.FileNames();
    for (int i = 0; i < names.size(); ++i) {
        auto* item = new TQOpenFileMenuItem(i, names[i], this);
        connect(item, &QAction::triggered, this, [this, name = names[i]] { emit ClickItem(name); });
        addAction(item);
    }
}

} // namespace common
