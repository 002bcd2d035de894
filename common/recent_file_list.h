// The list behind the recent-files menu: the files opened recently, most
// recent first, kept between runs in an ini file (keys IniSubName + 0, 1, …
// in section IniTopName). Both programs use it, each with its own ini file.
//
// The current document (CurFileName) is never an entry. The host sets it
// only after a document was opened or saved successfully, so a picked
// entry that fails to open stays an entry and does not become current.
#pragma once

#include <QString>
#include <QStringList>

namespace common {

class RecentFileList {
public:
    RecentFileList() = default;

    // Setting a different name reads the entries anew. A relative name is
    // taken in the program data folder (platform/program_folders.h).
    const QString& IniFileName() const { return iniFileName_; }
    void SetIniFileName(const QString& name);
    // The ini file's full path; empty while no name is set.
    const QString& IniPath() const { return iniPath_; }

    const QString& IniTopName() const { return iniTopName_; }
    void SetIniTopName(const QString& name) { iniTopName_ = name; }
    const QString& IniSubName() const { return iniSubName_; }
    void SetIniSubName(const QString& name) { iniSubName_ = name; }

    // Largest number of entries read, listed and written.
    int MaxNumber() const { return maxNumber_; }
    void SetMaxNumber(int number) { maxNumber_ = number < 0 ? 0 : number; }

    // Number of entries kept and written: MaxNumber unless a fixed number
    // is set, which then holds whatever MaxNumber reads (Sitelay keeps
    // five). A number below 1 returns to MaxNumber.
    int KeptNumber() const { return keptNumber_ > 0 ? keptNumber_ : maxNumber_; }
    void SetKeptNumber(int number) { keptNumber_ = number < 0 ? 0 : number; }

    // Multi-file mode: a document that stops being current does not return
    // to the entries; every document made current during the run is
    // written first, in order of first use.
    bool MultiFile() const { return multiFile_; }
    void SetMultiFile(bool multiFile) { multiFile_ = multiFile; }

    // A relative name is taken in the program's folder. Returns whether the
    // entries changed.
    const QString& CurFileName() const { return curFileName_; }
    bool SetCurFileName(const QString& fileName);

    const QStringList& FileNames() const { return entries_; }

    // The menu text of entry `index`: "&" + index + " " + file name, the
    // position being the entry's keyboard accelerator.
    static QString Caption(int index, const QString& fileName);

    // Writes the current document and the entries to the ini file. Returns
    // false when the file could not be written; true when it was, or when
    // no ini file is named.
    bool WriteIni() const;

private:
    QString iniFileName_;
    QString iniPath_;
    QString iniTopName_ = QStringLiteral("OpenFile");
    QString iniSubName_ = QStringLiteral("File");
    int maxNumber_ = 5;
    int keptNumber_ = 0; // 0: MaxNumber
    bool multiFile_ = false;
    QString curFileName_;
    QStringList entries_;
    QStringList runList_; // documents made current in multi-file mode
};

} // namespace common
