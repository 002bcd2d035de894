#include "common/recent_file_list.h"

#include "platform/ini_file.h"
#include "platform/program_folders.h"

namespace common {

void RecentFileList::SetIniFileName(const QString& name)
{
    if (name == iniFileName_)
        return;
    iniFileName_ = name;
    iniPath_ = platform::AbsoluteInFolder(name, platform::ProgramDataFolder());
    entries_.clear();
    if (iniPath_.isEmpty())
        return;
    const platform::IniFile ini(iniPath_);
    for (int i = 0; i < maxNumber_; ++i) {
        const QString value = ini.ReadString(iniTopName_, iniSubName_ + QString::number(i), QString());
        if (!value.isEmpty())
            entries_.append(platform::AbsoluteInFolder(value, platform::ProgramFolder()));
    }
}

bool RecentFileList::SetCurFileName(const QString& fileName)
{
    if (fileName == curFileName_)
        return false;
    if (!curFileName_.isEmpty() && !multiFile_)
        entries_.prepend(curFileName_);
    curFileName_ = platform::AbsoluteInFolder(fileName, platform::ProgramFolder());
    if (multiFile_ && !curFileName_.isEmpty() && !runList_.contains(curFileName_))
        runList_.append(curFileName_);
    entries_.removeAll(curFileName_);
    if (entries_.size() > KeptNumber())
        entries_.resize(KeptNumber());
    return true;
}

QString RecentFileList::Caption(int index, const QString& fileName)
{
    // A "&" of the name itself is shown, not taken as an accelerator.
    QString shown = fileName;
    shown.replace(u'&', QStringLiteral("&&"));
    return u'&' + QString::number(index) + u' ' + shown;
}

bool RecentFileList::WriteIni() const
{
    if (iniPath_.isEmpty())
        return true;
    platform::IniFile ini(iniPath_);
    const auto key = [this](int i) { return iniSubName_ + QString::number(i); };
    const int kept = KeptNumber();
    int k = 0;
    if (multiFile_) {
        k = static_cast<int>(std::min<qsizetype>(runList_.size(), kept));
        for (int i = 0; i < k; ++i)
            ini.WriteString(iniTopName_, key(i), runList_[i]);
    } else if (!curFileName_.isEmpty()) {
        ini.WriteString(iniTopName_, key(0), curFileName_);
        k = 1;
    }
    for (int i = 0; i < kept - k; ++i)
        ini.WriteString(iniTopName_, key(i + k), i < entries_.size() ? entries_[i] : QString());
    return ini.UpdateFile();
}

} // namespace common
