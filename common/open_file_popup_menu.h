// The recent-files popup menu of both main windows. It lists the entries of
// its RecentFileList and writes the list back to the ini file when it is
// destroyed.
//
// Picking an entry only reports the file (ClickItem); the host opens it and,
// when that succeeded, makes it current with SetCurFileName, as it does for
// every document it opens or saves.
#pragma once

#include "common/recent_file_list.h"

#include <QAction>
#include <QMenu>

namespace common {

// One entry of the menu.
class TQOpenFileMenuItem : public QAction {
    Q_OBJECT
public:
    TQOpenFileMenuItem(int index, const QString& fileName, QObject* parent);
    const QString& FileName() const { return fileName_; }

private:
    QString fileName_;
};

class TQOpenFilePopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TQOpenFilePopupMenu(QWidget* parent = nullptr);
    ~TQOpenFilePopupMenu() override;

    // Set section and key prefix first: setting the ini file name reads it.
    void SetIniTopName(const QString& name) { list_.SetIniTopName(name); }
    void SetIniSubName(const QString& name) { list_.SetIniSubName(name); }
    void SetMaxNumber(int number) { list_.SetMaxNumber(number); }
    void SetKeptNumber(int number) { list_.SetKeptNumber(number); }
    void SetMultiFile(bool multiFile) { list_.SetMultiFile(multiFile); }
    void SetIniFileName(const QString& name);

    const QString& CurFileName() const { return list_.CurFileName(); }
    void SetCurFileName(const QString& fileName);

    const RecentFileList& List() const { return list_; }

signals:
    // The user picked the entry of this file.
    void ClickItem(const QString& fileName);

private:
    void RebuildItems();

    RecentFileList list_;
};

// The recent-files menu of a main window, owned by it: five entries under
// [OpenFile] as File0, File1, … in iniFile, read at once; keptNumber fixes
// the number kept and written (0: MaxNumber, as the ini file may set it).
TQOpenFilePopupMenu* MakeRecentFilesMenu(QWidget* window, const QString& iniFile, int keptNumber = 0);

} // namespace common
