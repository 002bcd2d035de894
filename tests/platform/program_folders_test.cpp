#include "platform/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(ProgramFolders, DataGoesBesideTheProgramWhenThatFolderCanBeWritten)
{
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir writable;
    EXPECT_EQ(ChooseDataFolder(writable.path()), writable.path());

    // A folder that cannot be written (here: one that does not exist) sends
    // the data to the per-user folder, which is created.
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_EQ(ChooseDataFolder(writable.filePath("gone")), perUser);
    EXPECT_TRUE(QDir(perUser).exists());
    EXPECT_EQ(ProgramDataFolder(), QCoreApplication::applicationDirPath());
}

TEST(ProgramFolders, RelativeNamesAreTakenInTheFolder)
{
    EXPECT_EQ(AbsoluteInFolder("x.nwm", "/opt/prog"), QStringLiteral("/opt/prog/x.nwm"));
    EXPECT_EQ(AbsoluteInFolder("/home/u/x.nwm", "/opt/prog"), QStringLiteral("/home/u/x.nwm"));
    EXPECT_EQ(AbsoluteInFolder("", "/opt/prog"), QString());
}
