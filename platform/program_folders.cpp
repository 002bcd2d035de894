#include "platform/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString ProgramDataFolder()
{
    return ChooseDataFolder(ProgramFolder());
}

QString ChooseDataFolder(const QString& programFolder)
{
    const QFileInfo info(programFolder);
    if (info.isDir() && info.isWritable())
        return programFolder;
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (perUser.isEmpty() || !QDir().mkpath(perUser))
        return programFolder;
    return perUser;
}

QString AbsoluteInFolder(const QString& name, const QString& folder)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    return QDir(folder).filePath(name);
}

} // namespace platform
