// The defaults dialog: it shows the file, writes every key on OK, and
// refuses a field that is no integer before anything is written.
#include "apps/arrowplan/net_default_set.h"

#include "tests/support/fake_window_services.h"

#include "platform/ini_file.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using arrowplan::kNetRunInfoSection;

struct NetDefaultSetTest : ::testing::Test {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("NetRunInfo.ini"));
    FakeWindowServices services;
};

TEST_F(NetDefaultSetTest, OkWithoutAFileWritesEveryKeyWithTheShownDefaults)
{
    arrowplan::Tfrm_NetdefaultSet dialog(file, services);
    dialog.LoadSettings();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("网络图缺省设置"));
    ASSERT_EQ(dialog.PageControl1->count(), 5);
    EXPECT_EQ(dialog.PageControl1->tabText(3), QStringLiteral("概  况"));
    EXPECT_EQ(dialog.Edits.at(QStringLiteral("SmallLineSpace"))->text(), QStringLiteral("40"));
    EXPECT_TRUE(dialog.Checks.at(QStringLiteral("TopStyleMoon"))->isChecked());
    EXPECT_FALSE(dialog.Checks.at(QStringLiteral("TopStyleYear"))->isChecked());

    ASSERT_TRUE(dialog.SaveSettings());
    const platform::IniFile ini(file);
    EXPECT_EQ(ini.ReadSection(kNetRunInfoSection).size(), 80);
    EXPECT_EQ(ini.ReadInteger(kNetRunInfoSection, QStringLiteral("NodeFontColor"), 0), 4227072);
    EXPECT_EQ(ini.ReadInteger(kNetRunInfoSection, QStringLiteral("RulerColor"), 0), 4227072);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(NetDefaultSetTest, TheDialogShowsTheFileAndWritesItsChanges)
{
    ASSERT_TRUE(arrowplan::SaveNetDefaults(file, arrowplan::TNetDefaults()));
    platform::IniFile seeded(file);
    seeded.WriteInteger(kNetRunInfoSection, QStringLiteral("DutyWidth"), 300);
    seeded.WriteBool(kNetRunInfoSection, QStringLiteral("BottomStyleWeek"), true);
    ASSERT_TRUE(seeded.UpdateFile());

    arrowplan::Tfrm_NetdefaultSet dialog(file, services);
    dialog.LoadSettings();
    EXPECT_EQ(dialog.Edits.at(QStringLiteral("DutyWidth"))->text(), QStringLiteral("300"));
    EXPECT_TRUE(dialog.Checks.at(QStringLiteral("BottomStyleWeek"))->isChecked());
    dialog.Edits.at(QStringLiteral("ArrowWidth"))->setText(QStringLiteral("14"));
    dialog.Checks.at(QStringLiteral("ShowDuty"))->setChecked(false);
    dialog.ChooseColor = [](platform::TColor) { return std::optional<platform::TColor>(0x123456); };
    ASSERT_TRUE(dialog.SaveSettings());

    const arrowplan::TNetDefaults read = arrowplan::ReadNetDefaults(platform::IniFile(file));
    EXPECT_EQ(read.ArrowWidth, 14);
    EXPECT_FALSE(read.ShowDuty);
    EXPECT_EQ(read.DutyWidth, 300);
}

TEST_F(NetDefaultSetTest, AFieldThatIsNoIntegerIsRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(arrowplan::SaveNetDefaults(file, arrowplan::TNetDefaults()));
    QFile original(file);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    for (const char* key : {"SmallLineSpace", "DutyHeight", "NodeFontSize"}) {
        SCOPED_TRACE(key);
        services.messages.clear();
        arrowplan::Tfrm_NetdefaultSet dialog(file, services);
        dialog.LoadSettings();
        dialog.Edits.at(QStringLiteral("ArrowWidth"))->setText(QStringLiteral("12"));
        dialog.Edits.at(QString::fromLatin1(key))->setText(QStringLiteral("1x"));
        EXPECT_FALSE(dialog.SaveSettings());
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, QStringLiteral("'1x' is not a valid integer value"));
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), before);
    }
}

TEST_F(NetDefaultSetTest, AFileThatCannotBeWrittenIsReported)
{
    const QString missing = dir.filePath(QStringLiteral("missing/NetRunInfo.ini"));
    arrowplan::Tfrm_NetdefaultSet dialog(missing, services);
    dialog.LoadSettings();
    EXPECT_FALSE(dialog.SaveSettings());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("Unable to write to ") + missing);
}

} // namespace
