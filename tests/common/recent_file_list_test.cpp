#include "common/recent_file_list.h"

#include "platform/ini_file.h"
#include "platform/program_folders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using common::RecentFileList;

namespace {

class RecentFileListTest : public testing::Test {
protected:
    QString IniPath() const { return dir_.filePath("NetOpenFile.Ini"); }

    void WriteIni(const QByteArray& content) const
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QStringList Keys() const
    {
        const platform::IniFile ini(IniPath());
        QStringList values;
        for (int i = 0; i < 5; ++i)
            values.append(ini.ReadString("OpenFile", "File" + QString::number(i), "<missing>"));
        return values;
    }

    RecentFileList Opened() const
    {
        RecentFileList list;
        list.SetIniFileName(IniPath());
        return list;
    }

    QTemporaryDir dir_;
};

TEST_F(RecentFileListTest, EntriesStandMostRecentFirstWithoutTheCurrentFile)
{
    RecentFileList list = Opened();
    list.SetCurFileName("/d/A.nwm");
    list.SetCurFileName("/d/B.nwm");
    list.SetCurFileName("/d/C.nwm");
    EXPECT_EQ(list.FileNames(), QStringList({"/d/B.nwm", "/d/A.nwm"}));
    EXPECT_EQ(list.CurFileName(), "/d/C.nwm");
    EXPECT_EQ(RecentFileList::Caption(0, list.FileNames()[0]), "&0 /d/B.nwm");
    EXPECT_EQ(RecentFileList::Caption(1, list.FileNames()[1]), "&1 /d/A.nwm");

    list.SetCurFileName("/d/A.nwm");
    EXPECT_EQ(list.FileNames(), QStringList({"/d/C.nwm", "/d/B.nwm"}));

    // Letter case makes a different file.
    list.SetCurFileName("/d/c.nwm");
    EXPECT_EQ(list.FileNames(), QStringList({"/d/A.nwm", "/d/C.nwm", "/d/B.nwm"}));
}

TEST_F(RecentFileListTest, KeepsAtMostMaxNumberEntries)
{
    RecentFileList list = Opened();
    for (int i = 1; i <= 7; ++i)
        list.SetCurFileName("/d/" + QString::number(i) + ".nwm");
    EXPECT_EQ(list.FileNames(), QStringList({"/d/6.nwm", "/d/5.nwm", "/d/4.nwm", "/d/3.nwm", "/d/2.nwm"}));
}

TEST_F(RecentFileListTest, RelativeNamesAreTakenInTheProgramFolder)
{
    RecentFileList list = Opened();
    list.SetCurFileName("x.nwm");
    EXPECT_EQ(list.CurFileName(), platform::ProgramFolder() + "/x.nwm");

    // The ini file itself lives in the program data folder.
    RecentFileList named;
    named.SetIniFileName("NetOpenFile.Ini");
    EXPECT_EQ(named.IniPath(), platform::ProgramDataFolder() + "/NetOpenFile.Ini");
}

TEST_F(RecentFileListTest, WritesTheCurrentFileFirstAndEveryKey)
{
    {
        RecentFileList list = Opened();
        list.SetCurFileName("/d/B.nwm");
        list.SetCurFileName("/d/C.nwm");
        list.SetCurFileName("/d/D.nwm");
        ASSERT_TRUE(list.WriteIni());
    }
    EXPECT_EQ(Keys(), QStringList({"/d/D.nwm", "/d/C.nwm", "/d/B.nwm", "", ""}));
    const RecentFileList again = Opened();
    EXPECT_EQ(again.FileNames(), QStringList({"/d/D.nwm", "/d/C.nwm", "/d/B.nwm"}));
    EXPECT_TRUE(again.CurFileName().isEmpty());
}

TEST_F(RecentFileListTest, ReadsPastMissingKeysAndKeepsOtherSections)
{
    WriteIni("[Other]\r\nx=1\r\n[OpenFile]\r\nFile0=/d/a.nwm\r\nFile2=/d/c.nwm\r\nFile7=/d/h.nwm\r\n");
    RecentFileList list = Opened();
    EXPECT_EQ(list.FileNames(), QStringList({"/d/a.nwm", "/d/c.nwm"}));
    ASSERT_TRUE(list.WriteIni());
    const platform::IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadInteger("Other", "x", 0), 1);
    EXPECT_EQ(Keys(), QStringList({"/d/a.nwm", "/d/c.nwm", "", "", ""}));
}

TEST_F(RecentFileListTest, MultiFileModeWritesTheDocumentsOfTheRunFirst)
{
    WriteIni("[OpenFile]\r\nFile0=/d/old1\r\nFile1=/d/old2\r\nFile2=/d/B\r\n");
    RecentFileList list;
    list.SetMultiFile(true);
    list.SetIniFileName(IniPath());
    list.SetCurFileName("/d/A");
    list.SetCurFileName("/d/B");
    list.SetCurFileName("/d/A");
    // The documents that stopped being current do not come back as entries.
    EXPECT_EQ(list.FileNames(), QStringList({"/d/old1", "/d/old2"}));
    ASSERT_TRUE(list.WriteIni());
    EXPECT_EQ(Keys(), QStringList({"/d/A", "/d/B", "/d/old1", "/d/old2", ""}));
}

TEST_F(RecentFileListTest, AFailedWriteIsReported)
{
    RecentFileList list;
    list.SetIniFileName(dir_.filePath("no-such-folder/NetOpenFile.Ini"));
    list.SetCurFileName("/d/A.nwm");
    EXPECT_FALSE(list.WriteIni());

    RecentFileList unnamed;
    unnamed.SetCurFileName("/d/A.nwm");
    EXPECT_TRUE(unnamed.WriteIni()); // nothing to write
}

TEST(RecentFileList, AmpersandsOfNamesAreShown)
{
    EXPECT_EQ(RecentFileList::Caption(3, "/d/A&B.nwm"), "&3 /d/A&&B.nwm");
}

} // namespace
