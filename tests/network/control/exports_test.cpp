// The network pictures: sizes at several percents, refusals of sizes that
// cannot be made, the view settings restored, the title block lines and
// the bar-chart rows of a small network.
#include "control_fixture.h"

#include "network/control/network_exports.h"

#include "platform/date_serial.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <vector>

using namespace control_test;

namespace {

// The foundation network with its duty name and a note.
void BuildNetwork(TVYRNetwork& net)
{
    BuildFoundationNetwork(net);
    net.SetDutyName(QStringLiteral("一号楼"));
    net.NetText().Append(QStringLiteral("说明：工期以工作日计。"));
}

void Save(const QImage& image, const char* name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    image.save(QStringLiteral(SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name)));
}

bool IsBlack(QRgb c) { return qRed(c) < 64 && qGreen(c) < 64 && qBlue(c) < 64; }

struct Exports : ::testing::Test {
    Network net;
    void SetUp() override
    {
        BuildNetwork(net);
        net.SetModified(false);
    }
};

TEST_F(Exports, PicturesTakeTheirSizeFromThePercent)
{
    const std::int64_t w = net.BitMapWidth();
    const std::int64_t h = net.BitMapHeight();
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    for (const int percent : {100, 50, 33, 150}) {
        SCOPED_TRACE(percent);
        QImage bitmap;
        ASSERT_TRUE(network::DrawToBitmap(net, bitmap, percent));
        EXPECT_EQ(bitmap.width(), percent * w / 100);
        EXPECT_EQ(bitmap.height(), percent * h / 100);
        QImage chart;
        ASSERT_TRUE(network::DrawBarChartToBitmap(net, chart, percent));
        EXPECT_EQ(chart.width(), percent * network::hBitMapWidth1(net) / 100);
        EXPECT_EQ(chart.height(), percent * network::BitMapHeight1(net) / 100);
    }
    platform::TPicture metafile;
    ASSERT_TRUE(network::DrawToMetafile(net, metafile, 100));
    EXPECT_EQ(metafile.Kind(), platform::TGraphicKind::Metafile);
    EXPECT_EQ(metafile.Width(), w);
    EXPECT_EQ(metafile.Height(), h);
    QImage played(int(w), int(h), QImage::Format_RGB32);
    played.fill(Qt::white);
    {
        platform::PainterCanvas canvas(played);
        metafile.Draw(canvas, played.rect());
    }
    Save(played, "network_metafile");
    EXPECT_TRUE(net.Fake().messages.empty());

    net.SetShowDuty(false);
    EXPECT_EQ(net.BitMapWidth(), w - net.DutyWidth());
}

TEST_F(Exports, SizesThatCannotBeMadeAreRefusedAndTheViewStaysAsItWas)
{
    net.SetStartJinDu(4);
    net.SetTopLineID(102);
    const auto columns = net.OffsetColumns();
    QImage bitmap;
    ASSERT_TRUE(network::DrawToBitmap(net, bitmap, 100));
    const struct {
        const char* name;
        std::function<void()> change;
        int percent;
    } cases[] = {
        {"percent 0", [] {}, 0},
        {"negative percent", [] {}, -50},
        {"huge percent", [] {}, 2000000000},
        {"rows a million apart", [&] { net.Nodes().Items(2)->SetNodeY(1000000); }, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        net.Fake().messages.clear();
        QImage refused(3, 3, QImage::Format_RGB32);
        EXPECT_FALSE(network::DrawToBitmap(net, refused, c.percent));
        if (c.percent != 100) {
            EXPECT_FALSE(network::DrawBarChartToBitmap(net, refused, c.percent));
        }
        platform::TPicture metafile;
        EXPECT_FALSE(network::DrawToMetafile(net, metafile, c.percent));
        EXPECT_EQ(refused.size(), QSize(3, 3));
        EXPECT_FALSE(net.Fake().messages.empty());
    }
    EXPECT_EQ(net.StartJinDu(), 4);
    EXPECT_EQ(net.TopLineID(), 102);
    EXPECT_EQ(net.OffsetColumns(), columns);
}

TEST_F(Exports, DrawingChangesNothingInTheNetwork)
{
    net.SetStartJinDu(6);
    net.SetTopLineID(99);
    net.SetModified(false);
    QImage bitmap;
    platform::TPicture metafile;
    ASSERT_TRUE(network::DrawToBitmap(net, bitmap, 100));
    ASSERT_TRUE(network::DrawBarChartToBitmap(net, bitmap, 100));
    ASSERT_TRUE(network::DrawToMetafile(net, metafile, 100));
    EXPECT_EQ(net.StartJinDu(), 6);
    EXPECT_EQ(net.TopLineID(), 99);
    EXPECT_FALSE(net.Modified());
    EXPECT_FALSE(net.Loading());
    EXPECT_FALSE(net.Exporting());
}

TEST_F(Exports, TheTitleBlockHasFiveBandLinesAndTheNetworkIsDrawn)
{
    QImage bitmap;
    ASSERT_TRUE(network::DrawToBitmap(net, bitmap, 100));
    Save(bitmap, "network_bitmap");
    const int L = net.LankLineWidth();
    const int bp = TVYRNetwork::MarginToPixels(net.BottomLank());
    const int rp = TVYRNetwork::MarginToPixels(net.RightLank());
    const int yB = bitmap.height() - bp - L;
    const int x0 = bitmap.width() - rp - L - net.DutyWidth();
    const int x = x0 + net.DutyWidth() / 8;
    for (int i = 1; i <= 5; ++i) {
        const int y = yB - i * (net.DutyHeight() + L) - L;
        SCOPED_TRACE(i);
        EXPECT_TRUE(IsBlack(bitmap.pixel(x, y)));
    }
    EXPECT_TRUE(IsBlack(bitmap.pixel(x0, yB - 2)));
    int coloured = 0;
    for (int yy = 0; yy < bitmap.height(); ++yy)
        for (int xx = 0; xx < x0 - L; ++xx)
            coloured += bitmap.pixel(xx, yy) == qRgb(255, 0, 0) ? 1 : 0;
    EXPECT_GT(coloured, 20) << "the critical works are drawn in red";
}

// Each text of the title block as played from the metafile: its box (the
// clip it is drawn in) and its drawn extent.
struct PlayedText {
    QString text;
    QRect box;
    QRect drawn;
    int size;
};

std::vector<PlayedText> TitleTexts(TVYRNetwork& net)
{
    platform::TPicture metafile;
    if (!network::DrawToMetafile(net, metafile, 100))
        return {};
    platform::RecordingCanvas played(QSize(int(metafile.Width()), int(metafile.Height())));
    metafile.Draw(played, QRect(0, 0, int(metafile.Width()), int(metafile.Height())));
    std::vector<PlayedText> texts;
    QRect clip;
    for (const platform::CanvasCall& call : played.Calls()) {
        if (call.Op == platform::CanvasOp::SetClipRegion)
            clip = call.Region.boundingRect();
        if (call.Op == platform::CanvasOp::ResetClipRegion)
            clip = QRect();
        if (call.Op != platform::CanvasOp::TextOut || clip.isNull())
            continue;
        played.Font = call.Font;
        texts.push_back({call.Text, clip, QRect(QPoint(call.Args[0], call.Args[1]), played.TextExtent(call.Text)),
                         call.Font.Size});
    }
    return texts;
}

TEST_F(Exports, TitleBlockTextsShowWholeInTheirCells)
{
    net.SetStartDate(*platform::DateToSerial(QDate(2026, 12, 11)));
    net.SetDutyName(QStringLiteral("第十二号住宅楼基础及地下室工程施工进度计划"));
    net.CalcEarliestTimes();
    const QString start = platform::DateToText(QDate(2026, 12, 11));
    const QString end = platform::DateToText(*platform::SerialToDate(net.EndDate()));
    const std::vector<PlayedText> texts = TitleTexts(net);
    int labelSize = 0;
    QStringList seen;
    for (const PlayedText& t : texts) {
        if (t.text == QStringLiteral("起始时间"))
            labelSize = t.size;
        if (t.text != start && t.text != end && t.text != net.DutyName())
            continue;
        SCOPED_TRACE(t.text.toStdString());
        seen << t.text;
        EXPECT_TRUE(t.box.contains(t.drawn)) << "drawn " << t.drawn.x() << "," << t.drawn.y() << " " << t.drawn.width()
                                             << "x" << t.drawn.height() << " in " << t.box.x() << "," << t.box.y() << " "
                                             << t.box.width() << "x" << t.box.height();
        EXPECT_GE(t.size, 5);
    }
    EXPECT_EQ(seen, QStringList({net.DutyName(), start, end}));
    ASSERT_GT(labelSize, 0);
    for (const PlayedText& t : texts) {
        if (t.text == start) {
            EXPECT_LT(t.size, labelSize) << "only the text too wide for its cell is drawn smaller";
        }
    }

    QImage bitmap;
    ASSERT_TRUE(network::DrawToBitmap(net, bitmap, 100));
    Save(bitmap, "network_bitmap_title_block");
}

TEST_F(Exports, TheBarChartHasOneRowPerRealWorkAndSkipsWorksWithoutAStartNode)
{
    const std::int64_t h = network::BitMapHeight1(net);
    AddWork(net, 9, 4, 2.0f);
    EXPECT_EQ(network::BitMapHeight1(net), h + 20);
    QImage chart;
    ASSERT_TRUE(network::DrawBarChartToBitmap(net, chart, 100));
    Save(chart, "network_bar_chart");

    int redRows = 0;
    for (int y = 0; y < chart.height(); ++y) {
        bool red = false;
        for (int x = chart.width() / 3; x < chart.width() - net.DutyWidth(); ++x)
            red = red || chart.pixel(x, y) == qRgb(255, 0, 0);
        redRows += red ? 1 : 0;
    }
    EXPECT_GE(redRows, 2 * 8) << "the two critical works have hatched red bars";
    EXPECT_LE(redRows, 2 * 13);
}

} // namespace
