// The drawing defaults file: defaults, every key written and read back, the
// encodings and bounds of values, and what a new network takes from it.
#include "apps/arrowplan/net_defaults.h"

#include "tests/support/fake_window_services.h"

#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using arrowplan::TNetDefaults;
using namespace network;

struct NetDefaultsTest : ::testing::Test {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("NetRunInfo.ini"));

    void WriteFile(const QByteArray& body)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[RunInfo]\r\n" + body);
    }
    TNetDefaults Read(arrowplan::TNetDefaultsReader reader = arrowplan::TNetDefaultsReader::Network) const
    {
        return arrowplan::ReadNetDefaults(platform::IniFile(file), reader);
    }
};

TEST_F(NetDefaultsTest, WithoutAFileANewNetworkGetsTheDrawingDefaults)
{
    FakeWindowServices services;
    TVYRNetwork net(services);
    net.SetModified(false);
    arrowplan::LoadNetDefaults(net, file);

    EXPECT_TRUE(net.Modified());
    EXPECT_EQ(net.SmallLineSpace(), 40);
    EXPECT_EQ(net.LeftLank(), 20);
    EXPECT_EQ(net.RightLank(), 20);
    EXPECT_EQ(net.TopLank(), 20);
    EXPECT_EQ(net.BottomLank(), 20);
    EXPECT_EQ(net.CapFont().Name, QStringLiteral("宋体"));
    EXPECT_EQ(net.CapFont().Size, 18);
    EXPECT_EQ(net.CapFont().Color, platform::clBlack);
    EXPECT_EQ(net.Nodes().Font().Size, 9);
    EXPECT_EQ(net.Nodes().Font().Color, 0x008000);
    EXPECT_EQ(net.Works().Font().Color, 0x008000);
    EXPECT_EQ(net.Works().LineColor(), platform::clBlue);
    EXPECT_EQ(net.Works().KeyLineColor(), platform::clRed);
    EXPECT_EQ(net.TopStyle(), TopStyleOf({tsSchedule, tsMoon, tsDay}));
    EXPECT_EQ(net.BottomStyle(), TopStyleOf({tsSchedule, tsMoon, tsDay}));
    EXPECT_TRUE(net.ShowDuty());
    EXPECT_EQ(net.DutyWidth(), 200);
    EXPECT_EQ(net.DutyHeight(), 16);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(NetDefaultsTest, SavingWritesEveryKeyAndReadsBackTheSameValues)
{
    TNetDefaults changed;
    changed.CapFont.Name = QStringLiteral("黑体");
    changed.CapFont.Style = platform::fsBold | platform::fsStrikeOut;
    changed.NodeFont.Size = 12;
    changed.WorkFont.Style = platform::fsItalic | platform::fsUnderline;
    changed.RulerFont.Color = platform::clBtnFace;
    changed.SmallLineSpace = 55;
    changed.KeyLineColor = 0x123456;
    changed.TopStyle = TopStyleOf({tsYear, tsWeek});
    changed.BottomStyle = TopStyleOf({tsWorkWeek, tsPeriod, tsDay});
    changed.ShowDuty = false;
    changed.DutyHeight = 30;
    ASSERT_TRUE(arrowplan::SaveNetDefaults(file, changed));

    EXPECT_EQ(Read(), changed);
    const platform::IniFile ini(file);
    const QStringList keys = ini.ReadSection(arrowplan::kNetRunInfoSection);
    EXPECT_EQ(keys.size(), 6 * 7 + 20 + 3 + 1 + 14);
    EXPECT_EQ(keys.first(), QStringLiteral("CaptionFontName"));
    EXPECT_EQ(keys.last(), QStringLiteral("DutyHeight"));
    EXPECT_EQ(ini.ReadString(arrowplan::kNetRunInfoSection, QStringLiteral("TopStyleYear"), {}), QStringLiteral("1"));

    // The written file seeds the fuzz target of the reader.
    const QString seeds = QStringLiteral(FUZZ_CORPUS_DIR "/net_defaults_fuzz");
    QDir().mkpath(seeds);
    QFile::remove(seeds + QStringLiteral("/every_key.ini"));
    EXPECT_TRUE(QFile::copy(file, seeds + QStringLiteral("/every_key.ini")));
}

struct KeyCase {
    const char* line;
    std::function<int(const TNetDefaults&)> field;
    int expected;
};

TEST_F(NetDefaultsTest, ValuesAreDecodedAndBounded)
{
    const auto space = [](const TNetDefaults& d) { return d.SmallLineSpace; };
    const auto capSize = [](const TNetDefaults& d) { return d.CapFont.Size; };
    const auto lineColor = [](const TNetDefaults& d) { return d.LineColor; };
    const KeyCase cases[] = {
        {"SmallLineSpace=25", space, 25},
        {"SmallLineSpace=$20", space, 32},
        {"SmallLineSpace=0x20", space, 32},
        {"SmallLineSpace=wide", space, 40},
        {"SmallLineSpace=", space, 40},
        {"SmallLineSpace=0", space, 40},
        {"SmallLineSpace=-7", space, 40},
        {"SmallLineSpace=99999999999", space, 40},
        {"SmallLineSpace=2000000000", space, 40},
        {"SmallDate=0", [](const TNetDefaults& d) { return d.SmallDate; }, 2},
        {"SmallWidth=$7FFFFFFF", [](const TNetDefaults& d) { return d.SmallWidth; }, 20},
        {"CaptionFontSize=0", capSize, 18},
        {"CaptionFontSize=-12", capSize, 18},
        {"CaptionFontSize=24", capSize, 24},
        {"CaptionFontSize=100000", capSize, 18},
        {"LineColor=$0000FF", lineColor, 0x0000FF},
        {"LineColor=-2147483643", lineColor, platform::clWindow},
        {"LineColor=$80000063", lineColor, platform::clBlue},
        {"LineColor=$FF000000", lineColor, platform::clBlue},
        {"ShowDuty=0", [](const TNetDefaults& d) { return d.ShowDuty ? 1 : 0; }, 0},
        {"ShowDuty=7", [](const TNetDefaults& d) { return d.ShowDuty ? 1 : 0; }, 1},
        {"TopStyle=0", [](const TNetDefaults& d) { return int(d.TopStyle); }, TopStyleOf({tsMoon, tsDay})},
        {"BottomStyleWeek=1", [](const TNetDefaults& d) { return int(d.BottomStyle); },
         TopStyleOf({tsSchedule, tsMoon, tsWeek, tsDay})},
        {"WorkFontBold=1", [](const TNetDefaults& d) { return int(d.WorkFont.Style); }, platform::fsBold},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.line);
        WriteFile(QByteArray(c.line) + "\r\n");
        EXPECT_EQ(c.field(Read()), c.expected);
    }
}

TEST_F(NetDefaultsTest, AFontSizeAloneKeepsTheDefaultName)
{
    WriteFile("RulerFontSize=12\r\n");
    const TNetDefaults read = Read();
    EXPECT_EQ(read.RulerFont.Size, 12);
    EXPECT_EQ(read.RulerFont.Name, QStringLiteral("宋体"));
    EXPECT_EQ(read.RulerFont.Color, platform::clBlue);
}

TEST_F(NetDefaultsTest, TheDialogShowsAMissingNodeColourAsTealGreenAndNewNetworksThenTakeIt)
{
    EXPECT_EQ(Read().NodeFont.Color, 0x008000);
    const TNetDefaults shown = Read(arrowplan::TNetDefaultsReader::Dialog);
    EXPECT_EQ(shown.NodeFont.Color, 0x408000);
    ASSERT_TRUE(arrowplan::SaveNetDefaults(file, shown));
    EXPECT_EQ(platform::IniFile(file).ReadInteger(arrowplan::kNetRunInfoSection, QStringLiteral("NodeFontColor"), 0),
              4227072);

    FakeWindowServices services;
    TVYRNetwork net(services);
    arrowplan::LoadNetDefaults(net, file);
    EXPECT_EQ(net.Nodes().Font().Color, 0x408000);
}

TEST_F(NetDefaultsTest, ASaveThatCannotWriteReportsIt)
{
    EXPECT_FALSE(arrowplan::SaveNetDefaults(dir.filePath(QStringLiteral("missing/NetRunInfo.ini")), TNetDefaults()));
}

TEST_F(NetDefaultsTest, NetworkSettersLimitValuesTheFileAllows)
{
    TNetDefaults d;
    d.LeftLank = 0;
    d.TopLank = 1;
    FakeWindowServices services;
    TVYRNetwork net(services);
    arrowplan::ApplyNetDefaults(net, d);
    EXPECT_EQ(net.LeftLank(), 2);
    EXPECT_EQ(net.TopLank(), 5);
}

} // namespace
