// The network file: the bytes of a small network, repeated save and open,
// the refusals of damaged streams and the handling of stored values the
// control keeps or mends.
#include "control_fixture.h"

#include "network/control/network_file.h"
#include "platform/recording_canvas.h"
#include "platform/stream/stream_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace control_test;
using network::ReadNetwork;
using network::WriteNetwork;

namespace {

constexpr double kStart = 45292.0; // 2024-01-01

// A small network: nodes 1 and 2 on row 101, one work of three days.
void BuildSmall(TVYRNetwork& net)
{
    net.SetStartDate(kStart);
    AddNodes(net, 2);
    AddWork(net, 1, 2, 3.0f);
}

StreamBytes SmallNetworkBytes()
{
    StreamBytes s;
    s.Raw("TPF0").Name("TVYRNetwork").Name("");
    s.Name("Left").Int(0).Name("Top").Int(0).Name("Width").Int(320).Name("Height").Int(240);
    s.Name("Nodes").Byte(0x0E);
    for (int id = 1; id <= 2; ++id) {
        s.Byte(0x01).Name("NewID").Int(id).Name("NodeY").Int(101).Name("Number").Int(id);
        s.Name("AutoNumber").Bool(true).Byte(0);
    }
    s.Byte(0);
    s.Name("Works").Byte(0x0E).Byte(0x01);
    s.Name("Caption").Str(QStringLiteral("工作0")).Name("PriorNode").Int(1).Name("NextNode").Int(2);
    s.Name("ContinueTime").Ext(3.0).Name("Offset").Int(0).Name("HorizontalLine").Bool(true);
    s.Font("Font", "DEFAULT_CHARSET", "clGreen", -12);
    s.Byte(0).Byte(0);
    s.Name("Color").Ident("clBlack");
    s.Font("Font", "GB2312_CHARSET", "clBlue", -12);
    s.Name("StartDate").Ext(kStart);
    s.Name("WorkLimit").Ext(100.0);
    s.Name("RedFlagColor").Ident("clRed");
    s.Font("CapFont", "GB2312_CHARSET", "clBlack", -24);
    s.Name("TopStyle").Set({"tsSchedule", "tsMoon", "tsDay"});
    s.Name("BottomStyle").Set({"tsSchedule", "tsMoon", "tsDay"});
    s.Name("AutoSize").Bool(true);
    for (const char* lank : {"LeftLank", "RightLank", "TopLank", "BottomLank"})
        s.Name(lank).Int(20);
    s.Name("LankLineWidth").Int(4).Name("ScheduleHeight").Int(16);
    s.Name("ShowDuty").Bool(true).Name("DutyWidth").Int(200).Name("DutyHeight").Int(16);
    s.Font("DutyFont", "GB2312_CHARSET", "clBlack", -12);
    s.Font("NetFont", "GB2312_CHARSET", "clBlack", -12);
    s.Byte(0);
    const char* cursors[] = {"crSizeAll", "crSizeAll", "crSizeNS"};
    for (int i = 0; i < 3; ++i) {
        s.Name("TLankPanel").Name("");
        s.Name("Left").Int(0).Name("Top").Int(0).Name("Width").Int(8).Name("Height").Int(8);
        s.Name("Cursor").Ident(cursors[i]).Name("BevelOuter").Ident("bvNone").Name("Color").Ident("clBlue");
        s.Name("TabOrder").Int(i).Name("Visible").Bool(false);
        s.Byte(0).Byte(0);
    }
    s.Byte(0);
    return s;
}

// A network that sets every kind of stored value away from its default.
void BuildRich(TVYRNetwork& net)
{
    BuildSmall(net);
    AddNodes(net, 4, 101);
    net.Nodes().Items(2)->SetNodeY(103);
    net.Nodes().Items(3)->SetOffset(1.5f);
    TWorkItem& w = AddWork(net, 2, 3, 2.5f);
    w.SetCaption(QStringLiteral("挖土方"));
    w.SetLabor(11.0f);
    w.SetWorkforce(300);
    w.SetParallelTime(0.5f);
    w.SetDiapause(1.0f);
    w.SetWorkPoints(QString(300, QLatin1Char('x')));
    w.SetOffset(-2);
    w.SetHorizontalLine(false);
    platform::TFont bold = w.Font();
    bold.Style = platform::fsBold;
    bold.Size = 12;
    w.SetFont(bold);
    w.SetParentFont(false);
    AddWork(net, 3, 4, 0.0f);
    net.SetTag(7);
    net.SetHint(QStringLiteral("提示"));
    net.SetText(QStringLiteral("某工程网络计划"));
    net.SetColor(0x408000);
    net.SetRecessDate(network::TRecessDate::FromBits(0x1F));
    net.SetTopStyle(network::TableTopStyleAll);
    net.SetBottomStyle(0);
    net.SetResourceStyle(network::ResourceStyleAll);
    net.SetShowDayLine(false);
    net.SetShowDuty(false);
    platform::TFont cap = net.CapFont();
    cap.Style = platform::fsItalic | platform::fsUnderline;
    cap.Color = platform::clRed;
    net.SetCapFont(cap);
    net.NetText().Append(QStringLiteral("说明一"));
    net.NetText().Append(QStringLiteral("说明二"));
    net.SetDutyName(QStringLiteral("张工"));
    net.SetDutyCollate(QStringLiteral("李工"));
    net.SetBounds(3, 4, 900, 700);
    net.StartHandle().ShowAt(30, 40);
}

// The bytes around the first difference, for a readable failure.
std::string Difference(const QByteArray& a, const QByteArray& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return "same";
    const qsizetype from = std::max<qsizetype>(0, i - 24);
    return "at " + std::to_string(i) + ": " + a.mid(from, 48).toStdString() + " | " + b.mid(from, 48).toStdString();
}

int CountOf(const QByteArray& bytes, const QByteArray& part) { return static_cast<int>(bytes.count(part)); }

QString ReadError(const QByteArray& bytes, FakeWindowServices& services)
{
    try {
        ReadNetwork(bytes, services);
    } catch (const stream::StreamError& e) {
        return e.Message();
    }
    return QStringLiteral("accepted");
}

// Replaces the first occurrence of a property's value bytes.
QByteArray Replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to)
{
    const qsizetype at = bytes.indexOf(from);
    EXPECT_GE(at, 0) << from.toHex().toStdString();
    return bytes.replace(at, from.size(), to);
}

} // namespace

TEST(NetworkFile, SmallNetworkIsWrittenByteForByte)
{
    Network net;
    BuildSmall(net);
    const QByteArray written = WriteNetwork(net);
    EXPECT_EQ(written.toHex(' ').toStdString(), SmallNetworkBytes().Bytes().toHex(' ').toStdString());

    FakeWindowServices services;
    const auto read = ReadNetwork(written, services);
    ASSERT_EQ(read->Nodes().Count(), 2);
    ASSERT_EQ(read->Works().Count(), 1);
    EXPECT_EQ(read->Works().Items(0)->ContinueTime(), 3.0f);
    EXPECT_EQ(read->StartDate(), kStart);
    EXPECT_EQ(read->GetTotalTime(), 3.0f);
    EXPECT_FALSE(read->Loading());
    EXPECT_FALSE(read->Modified());
    EXPECT_TRUE(services.messages.empty());
}

TEST(NetworkFile, SaveOpenSaveIsByteIdenticalWithThreePanels)
{
    Network net;
    BuildRich(net);
    QByteArray bytes = WriteNetwork(net);
    EXPECT_EQ(CountOf(bytes, "\x0ATLankPanel"), 3);
    FakeWindowServices services;
    for (int round = 0; round < 3; ++round) {
        const auto read = ReadNetwork(bytes, services);
        const QByteArray again = WriteNetwork(*read);
        EXPECT_EQ(Difference(again, bytes), "same") << "round " << round;
        EXPECT_EQ(CountOf(again, "\x0ATLankPanel"), 3);
        bytes = again;
    }
    const auto read = ReadNetwork(bytes, services);
    EXPECT_EQ(read->Works().Items(1)->Caption(), QStringLiteral("挖土方"));
    EXPECT_EQ(read->Works().Items(1)->WorkPoints().size(), 300);
    EXPECT_EQ(read->Works().Items(1)->Font().Size, 12);
    EXPECT_EQ(read->RecessDate().Bits(), 0x1F);
    EXPECT_EQ(read->NetText().Count(), 2);
    EXPECT_EQ(read->CapFont().Color, platform::clRed);
    EXPECT_EQ(read->Color(), 0x408000);
    EXPECT_EQ(read->Left(), 3);
    EXPECT_EQ(read->Text(), QStringLiteral("某工程网络计划"));
    EXPECT_EQ(read->StartHandle().BoundsRect(), QRect(30, 40, 8, 8));
    EXPECT_FALSE(read->StartHandle().Visible);
    EXPECT_TRUE(services.messages.empty());
}

// A file whose stored node order puts a node before the node it is reached
// from, with a work that falls back in time: its order must settle when it is
// opened, so that saving, opening and saving again writes the same bytes.
TEST(NetworkFile, ANodeOrderThatSettlesOnlyAfterTwoPassesIsSavedTheSameAfterReopening)
{
    const QByteArray stored = QByteArray::fromBase64(
        "VFBGMAtUVllSTmV0d29yawADVGFnAgcETGVmdAIDA1RvcAIEBVdpZHRoA4QDBkhlaWdodAO8AgRIaW50BgTM4cq+BU5vZGVz"
        "DgEFTmV3SUQCAAVOb2RlWQJlBk51bWJlcgIBCkF1dG9OdW1iZXIJAAEFTmV3SUQCAgVOb2RlWQJlBk51bWJlcgICCkF1dG9O"
        "dW1iZXIJAAEFTmV3SUQCAwVOb2RlWQJnBk51bWJlcgIDCkF1dG9OdW1iZXIJAAEFTmV3SUQCBAVOb2RlWQJlBk9GZnNldAUA"
        "APb/////PwDABk51bWJlcgIECkF1dG9OdW1iZXIJAAAFV29ya3MOAQdDYXB0aW9uBgW5pNf3MAlQcmlvck5vZGUCAQhOZXh0"
        "Tm9kZQICDENvbnRpbnVlVGltZQUAAAAAAAAAwABABk9mZnNldAIADkhvcml6b250YWxMaW5lCQxGb250LkNoYXJzZXQHD0RF"
        "RkFVTFRfQ0hBUlNFVApGb250LkNvbG9yBwdjbEdyZWVuC0ZvbnQuSGVpZ2h0AvQJRm9udC5OYW1lBgTLzszlCkZvbnQuU3R5"
        "bGULAAABB0NhcHRpb24GBs3azcG3vQlQcmlvck5vZGUCAghOZXh0Tm9kZQIDDENvbnRpbnVlVGltZQUAAAAAAAAAoEhABUxh"
        "Ym9yBQAAAAAAAACwAkAJV29ya2ZvcmNlAywBDFBhcmFsbGVsVGltZQUAAAAAAAAAgP4/CERpYXBhdXNlBQAAAAAAAACA/z8K"
        "V29ya1BvaW50cwwsAQAAeHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4"
        "eHh4eHh4eHh4eHh4eCd4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4"
        "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4"
        "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eGh4eHh4eHh4eHh4"
        "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4Bk9mZnNldAL+Dkhvcml6b250YWxMaW5lCAxGb250LkNoYXJzZXQHD0RFRkFV"
        "TFRfQ0hBUlNFVApGb250LkNvbG9yBwdjbEdyZWVuC0ZvbnQuSGVpZ2h0AvAJRm9udC5OYW1lBgTLzszlCkZvbnQuU3R5bGUL"
        "BmZzQm9sZAAKUGFyZW50Rm9udAgAAQdDYXB0aW9uBgW5pNf3MglQcmlvck5vZGUCAwAAAAAAAAAAAAAAAAAKVExhbmtQYW5l"
        "bAAETGVmdAIAA1RvcAIABVdpCnRoAggGSGVpZ2h0AggGQ3Vyc29yBwhjclNpemVOUwpCZXZlbE91dGVyBwZidk5vbmUFQ29s"
        "b3IHBmNsQmx1ZQhUYWJPcmRlcgICB1Zpc2libGUIAAAA");
    FakeWindowServices services;
    const QByteArray first = WriteNetwork(*ReadNetwork(stored, services));
    const QByteArray second = WriteNetwork(*ReadNetwork(first, services));
    EXPECT_EQ(Difference(second, first), "same");
}

// A stored caption whose bytes decode to no character reads as a work
// without a caption, so the file is saved the same after reopening.
TEST(NetworkFile, ACaptionOfBytesThatDecodeToNothingIsSavedTheSameAfterReopening)
{
    const QByteArray stored = QByteArray::fromBase64(
        "VFBGMAtUVllSTmV0d29yawAFTm9kZXMOAQVOZXdJRAIABU5vZGVZAmUGTnVtYmVyAgEKQXV0b051bWJlcgkAAQVOZXdJRAIC"
        "BU5vZGVZAmUGTnVtYmVyAgIKQXV0b051bWJlcgkAAQVOZXdJRAIDBU5vZGVZAmcGTnVtYmVyAgMKQXV0b051bWJlcgkAAQVO"
        "ZXdJRAIEBU5vZGVZAmUGT0Zmc2V0BQAA9v////8/AMAGTnVtYmVyAgQKQXV0b051bWJlcgkAAAVXb3Jrcw4BB0NhcHRpb24G"
        "Bbmk1/cxCVByaW9yTm9kZQIBCE5leHROb2RlAgIMQ29udGludWVUaW1lBQAAAAAAAADAAEAGT2Zmc2V0AgAOSG9yaXpvbnRh"
        "bExpbmUJDEZvbnQuQ2hhcnNldAcPREVGQVVMVF9DSEFSU0VUCkZvbnQuQ29sb3IHB2NsR3JlZW4LRm9udC5IZWlnaHQC9AlG"
        "b250Lk5hbWUGBMvOzOUKRm9udC5TdHlsZQsAAAEHQ2FwdGlvbgYB8wAAAAAAAAbN2s3Bt70JUHJpb3JOb2RlAgIOTmV4dGV2"
        "VFBGMAtUVllSTmV0d29yawADVGFnAgcEZWxPdXRlcgdMZQ==");
    FakeWindowServices services;
    const auto read = ReadNetwork(stored, services);
    const QByteArray first = WriteNetwork(*read);
    const QByteArray second = WriteNetwork(*ReadNetwork(first, services));
    EXPECT_EQ(Difference(second, first), "same");
}

// A node offset so far off that its day column lies beyond every integer:
// the ruler and day-line edges saturate at the int range instead of
// overflowing, and the file still paints and saves the same after reopening.
TEST(NetworkFile, ANodeOffsetBeyondTheIntegerRangePaintsAndSavesTheSame)
{
    const QByteArray stored = QByteArray::fromBase64(
        "VFBGMAtUVllSTmV0d29yawADVGFnAgcETGVmdAIDA1RvcAIEBVdpZHRoA4QDBkhlaWdodAO8AgRIaW50BgTM4cq+BU5vZGVz"
        "DgEFTmV3SUQCAAVOb2RlWQJlBk51bWJlcgIBCkF1dG9OdW1iZXIJAAEFTmV3SUQCAgVOb2RlWQJlBk51bWJlcgICCkF1dG9O"
        "dW1iZXIJAAEFTmV3SUQCAwVOb2RlWQJjBk51bWJlcgIDCkF1dG9OdW1iZXIJAAEFTmV3SUQCBAVOb2RlWQJlBk9GZnNldAUA"
        "APb/////P3pABk51bWJlcgIECkF1dG9OdW1iZXIJAAAFV29ya3MOAQdDYXB0aW9uBgW5pNf3NQlQcmlvck5vZGUCAQhOZXh0"
        "Tm9kZQICDENvbnRpbnVlVGltZQUAAAAAAAAAwABABk9mZnNldAIADkhvcml6b250YWxMaW5lCQxGb250LkNoYXJzZXQHD0RF"
        "RkFVTFRfQ0hBUlNFVApGb250LkNvbG9yBwdjbEdyZWVuC0ZvbnQuSGVpZ2h0AvQJRm9udC5OYW1lBgTLzszlCkZvbnQuU3R5"
        "bGULAAABB0NhcHRpb24GBs3azcG3vQlQcmlvck5vZGUCAgAAAAAAAAEAAAAAAAAeAAAAcndJRAIEBU5vZAJl");
    FakeWindowServices services;
    const std::unique_ptr<network::TVYRNetwork> net = ReadNetwork(stored, services);
    platform::RecordingCanvas canvas(QSize(320, 240));
    net->SetCanvas(&canvas);
    net->Paint();
    net->SetCanvas(nullptr);
    const QByteArray first = WriteNetwork(*net);
    EXPECT_EQ(Difference(WriteNetwork(*ReadNetwork(first, services)), first), "same");
}

TEST(NetworkFile, StoredPanelsBeyondTheControlsOwnAreDropped)
{
    Network net;
    BuildSmall(net);
    QByteArray bytes = WriteNetwork(net);
    // Two more stored panels before the closing byte of the child list.
    const qsizetype first = bytes.indexOf("\x0ATLankPanel");
    const qsizetype third = bytes.indexOf("\x0ATLankPanel", bytes.indexOf("\x0ATLankPanel", first + 1) + 1);
    bytes.insert(bytes.size() - 1, bytes.mid(first, third - first));
    EXPECT_EQ(CountOf(bytes, "\x0ATLankPanel"), 5);
    FakeWindowServices services;
    EXPECT_EQ(CountOf(WriteNetwork(*ReadNetwork(bytes, services)), "\x0ATLankPanel"), 3);
}

TEST(NetworkFile, EmptyWorksAndZeroFloatsReadBackAsWritten)
{
    Network net;
    net.SetStartDate(0.0);
    net.SetWorkLimit(0.0f);
    const QByteArray bytes = WriteNetwork(net);
    EXPECT_GE(bytes.indexOf(QByteArray("\x05Works\x0E\x00", 8)), 0);
    EXPECT_LT(bytes.indexOf("StartDate"), 0);
    EXPECT_LT(bytes.indexOf("WorkLimit"), 0);
    FakeWindowServices services;
    const auto read = ReadNetwork(bytes, services);
    EXPECT_EQ(read->Works().Count(), 0);
    EXPECT_EQ(read->Nodes().Count(), 1);
    EXPECT_EQ(read->StartDate(), 0.0);
    EXPECT_EQ(read->WorkLimit(), 0.0f);
    EXPECT_EQ(WriteNetwork(*read), bytes);
}

TEST(NetworkFile, DamagedStreamsAreRefusedWithTheirMessage)
{
    Network net;
    BuildSmall(net);
    const QByteArray good = WriteNetwork(net);
    QByteArray twoIDs = good;
    twoIDs = Replaced(twoIDs, QByteArray("\x05NewID\x02\x02", 8), QByteArray("\x05NewID\x02\x01", 8));
    const struct {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"signature", "TPF1" + good.mid(4), QStringLiteral("Invalid stream format")},
        {"truncated", good.left(good.size() / 2), QStringLiteral("Stream read error")},
        {"other class", Replaced(good, "\x0BTVYRNetwork", "\x0BTVYRNetworX"),
         QStringLiteral("Class TVYRNetworX not found")},
        {"unknown property", Replaced(good, "\x04Left", "\x04Lefz"),
         QStringLiteral("Error reading .Lefz: Property does not exist")},
        {"duplicate NewID", twoIDs, QStringLiteral("文件中有两个节点的标识相同，不能打开。")},
        {"grid width 0", Replaced(good, "\x07TopLank", QByteArray("\x0ASmallWidth\x02\x00\x07TopLank", 19)),
         QStringLiteral("Error reading .SmallWidth: Invalid property value")},
        {"node numbers not ascending",
         Replaced(good, QByteArray("\x06Number\x02\x02", 9), QByteArray("\x06Number\x02\x01", 9)), QString()},
        {"value too large for an integer",
         Replaced(good, QByteArray("\x03Top\x02\x00", 6), QByteArray("\x03Top\x13\x00\x00\x00\x00\x01\x00\x00\x00", 13)),
         QStringLiteral("Error reading .Top: Invalid property value")},
    };
    for (const auto& c : cases) {
        FakeWindowServices services;
        const QString message = ReadError(c.bytes, services);
        if (c.message.isEmpty())
            EXPECT_NE(message, QStringLiteral("accepted")) << c.name;
        else
            EXPECT_EQ(message, c.message) << c.name;
        EXPECT_TRUE(services.messages.empty()) << c.name;
    }
}

TEST(NetworkFile, NonFiniteStoredFloatsAreRefused)
{
    Network net;
    BuildSmall(net);
    QByteArray bytes = WriteNetwork(net);
    // ContinueTime 3.0 as an infinity: exponent all ones, mantissa 8000...
    const qsizetype at = bytes.indexOf("ContinueTime") + 12;
    ASSERT_EQ(bytes[at], '\x05');
    const char inf[10] = {0, 0, 0, 0, 0, 0, 0, '\x80', '\xFF', '\x7F'};
    bytes.replace(at + 1, 10, QByteArray(inf, 10));
    FakeWindowServices services;
    EXPECT_EQ(ReadError(bytes, services), QStringLiteral("Error reading .ContinueTime: Invalid property value"));
}

TEST(NetworkFile, LoadingHoldsBackRecomputationAndTheStoredCursorIsNotTaken)
{
    Network net;
    AddNodes(net, 40);
    for (int i = 1; i < 40; ++i)
        AddWork(net, i, i + 1, 1.0f);
    net.Nodes().Items(5)->SetNumber(50);
    QByteArray bytes = WriteNetwork(net);
    // A stored hand cursor: the draw state (0) decides the cursor instead.
    bytes = Replaced(bytes, "\x06Height", QByteArray("\x06" "Cursor\x07\x0B" "crHandPoint\x06Height", 27));
    FakeWindowServices services;
    const auto read = ReadNetwork(bytes, services);
    EXPECT_FALSE(read->Loading());
    EXPECT_EQ(read->Cursor(), platform::cursor::kDefault);
    EXPECT_EQ(read->Nodes().Items(5)->Number(), 50);
    EXPECT_EQ(read->Nodes().Items(39)->Number(), net.Nodes().Items(39)->Number());
    EXPECT_EQ(read->GetTotalTime(), 39.0f);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(services.fullInvalidations + static_cast<int>(services.invalidatedRects.size()) < 20, true);
}

TEST(NetworkFile, AbsurdStoredFontHeightsDrawAtASaneSizeAndAreWrittenBackAsRead)
{
    Network net;
    BuildSmall(net);
    QByteArray bytes = WriteNetwork(net);
    // CapFont height 0, the work's font height -100000.
    bytes = Replaced(bytes, QByteArray("\x0E" "CapFont.Height\x02\xE8", 17), QByteArray("\x0E" "CapFont.Height\x02\x00", 17));
    bytes = Replaced(bytes, QByteArray("\x0B" "Font.Height\x02\xF4", 14),
                     QByteArray("\x0B" "Font.Height\x04\x60\x79\xFE\xFF", 17));
    FakeWindowServices services;
    const auto read = ReadNetwork(bytes, services);
    EXPECT_EQ(read->CapFont().Size, 18);
    EXPECT_EQ(read->Works().Items(0)->Font().Size, 9);
    EXPECT_EQ(WriteNetwork(*read), bytes);

    platform::TFont larger = read->CapFont();
    larger.Size = 20;
    read->SetCapFont(larger);
    EXPECT_GE(WriteNetwork(*read).indexOf(QByteArray("\x0E" "CapFont.Height\x02\xE5", 17)), 0);
}

TEST(NetworkFile, FailedSaveKeepsThePreviousFileAndOpenReadsWhatSaveWrote)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("网络.nwm"));
    Network net;
    BuildRich(net);
    network::SaveNetworkFile(path, net);
    FakeWindowServices services;
    const auto opened = network::OpenNetworkFile(path, services);
    EXPECT_EQ(Difference(WriteNetwork(*opened), WriteNetwork(net)), "same");
    EXPECT_THROW(network::SaveNetworkFile(dir.filePath(QStringLiteral("无此目录/x.nwm")), net), stream::StreamError);
    EXPECT_THROW(network::OpenNetworkFile(dir.filePath(QStringLiteral("无此文件.nwm")), services), stream::StreamError);

#ifdef FUZZ_CORPUS_DIR
    QDir().mkpath(QStringLiteral(FUZZ_CORPUS_DIR "/network_file_fuzz"));
    for (const auto& [name, bytes] : {std::pair{"small.nwm", WriteNetwork(opened ? *opened : net)}}) {
        QFile seed(QStringLiteral(FUZZ_CORPUS_DIR "/network_file_fuzz/") + QString::fromLatin1(name));
        if (seed.open(QIODevice::WriteOnly))
            seed.write(bytes);
    }
#endif
}

TEST(NetworkFile, AStoredEmptyWorkCaptionReadsAsANewWorksCaption)
{
    Network net;
    BuildSmall(net);
    const QByteArray empty = Replaced(WriteNetwork(net), QByteArray("\x07" "Caption\x06\x05", 10) + platform::ToGbk(QStringLiteral("工作0")),
                                      QByteArray("\x07" "Caption\x06\x00", 10));
    FakeWindowServices services;
    const auto read = ReadNetwork(empty, services);
    const QByteArray first = WriteNetwork(*read);
    EXPECT_EQ(Difference(WriteNetwork(*ReadNetwork(first, services)), first), "same");
}

TEST(NetworkFile, AStoredEmptyFontNameReadsAsTheConstructorsName)
{
    Network net;
    BuildSmall(net);
    QByteArray bytes = WriteNetwork(net);
    const QByteArray name = QByteArray("\x09" "Font.Name\x06\x04", 12) + platform::ToGbk(QStringLiteral("宋体"));
    const QByteArray capName = QByteArray("\x0C" "CapFont.Name\x06\x04", 15) + platform::ToGbk(QStringLiteral("宋体"));
    bytes = Replaced(bytes, name, QByteArray("\x09" "Font.Name\x06\x00", 12));
    bytes = Replaced(bytes, capName, QByteArray("\x0C" "CapFont.Name\x06\x00", 15));
    FakeWindowServices services;
    const auto read = ReadNetwork(bytes, services);
    EXPECT_EQ(read->Works().Items(0)->Font().Name, QStringLiteral("宋体"));
    EXPECT_EQ(read->CapFont().Name, QStringLiteral("宋体"));
    const QByteArray first = WriteNetwork(*read);
    EXPECT_EQ(Difference(WriteNetwork(*ReadNetwork(first, services)), first), "same");
    EXPECT_EQ(first, WriteNetwork(net));
}

// A new network is black; the file's declared default is the window
// colour, so that colour alone is left out and reads back as a new
// network's black, while every other colour, black included, is written.
TEST(NetworkFile, ControlColourIsWrittenUnlessItIsTheDeclaredDefault)
{
    {
        Network fresh;
        EXPECT_EQ(fresh.Color(), platform::clBlack);
    }
    struct Case {
        platform::TColor set;
        bool written;
        platform::TColor read;
    };
    const Case cases[] = {
        {platform::clBlack, true, platform::clBlack},
        {platform::clWindow, false, platform::clBlack},
        {0x408000, true, 0x408000},
        {platform::clWhite, true, platform::clWhite},
    };
    for (const Case& c : cases) {
        Network net;
        BuildSmall(net);
        net.SetColor(c.set);
        const QByteArray written = WriteNetwork(net);
        // The three handle panels write a colour of their own.
        EXPECT_EQ(written.count(QByteArray("\x05" "Color")), c.written ? 4 : 3) << std::hex << c.set;
        FakeWindowServices services;
        const auto read = ReadNetwork(written, services);
        EXPECT_EQ(read->Color(), c.read) << std::hex << c.set;
        EXPECT_EQ(WriteNetwork(*read), WriteNetwork(*ReadNetwork(WriteNetwork(*read), services)));
    }
}
