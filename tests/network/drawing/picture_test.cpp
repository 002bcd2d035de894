// Renders network_pieces.png (a small network with every kind of piece, as
// the screen shows it) and network_1000.png (a generated network of 1,000
// works, as an export draws it) in the test folder, for a look by eye, and
// checks that the renders are deterministic and show the pieces.
#include "drawing_fixture.h"
#include "platform/painter_canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <random>

namespace {

using namespace drawing_test;

// At 20 pixels a day: the critical chain 1-2-3-7 turns down after 挖土 and
// up before the end; 钢筋 (with a day's interval) crosses its vertical
// stretch; 支模 turns up, 放线 down; 回填 has free time; two dummies bend;
// 验收 lasts half a day; node 5 opens an idle column of one day; 支模 is
// selected.
void BuildPieces(DrawNetwork& net)
{
    net.SetSmallWidth(40);
    AddNodes(net, 8, 102);
    const int rows[] = {102, 102, 104, 103, 103, 100, 102, 101};
    for (int i = 0; i < 8; ++i)
        net.Nodes().Items(i)->SetNodeY(rows[i]);
    const auto work = [&](int prior, int next, float days, const char* caption) -> TWorkItem& {
        TWorkItem& item = AddWork(net, prior, next, days);
        item.SetCaption(QString::fromUtf8(caption));
        return item;
    };
    work(1, 2, 4.0f, "挖土");
    work(2, 3, 5.0f, "砌墙");
    work(1, 4, 2.0f, "放线").SetHorizontalLine(false);
    work(4, 5, 6.0f, "钢筋").SetDiapause(1.0f);
    TWorkItem& selected = work(2, 6, 2.0f, "支模");
    selected.SetHorizontalLine(false);
    work(3, 7, 3.0f, "浇筑").SetHorizontalLine(false);
    work(6, 7, 0.0f, "");
    work(5, 7, 1.0f, "回填").SetHorizontalLine(false);
    work(2, 8, 0.5f, "验收");
    work(8, 6, 0.0f, "");
    net.Nodes().FindByNewID(5)->SetOffset(1.0f);
    net.BuildOffsetColumns();
    selected.SetSelected(true);
}

TEST(NetworkPictures, SmallNetworkWithEveryKindOfPiece)
{
    DrawNetwork net;
    BuildPieces(net);
    const QImage first = RenderScreen(net, QSize(400, 260));
    EXPECT_EQ(RenderScreen(net, QSize(400, 260)), first);
    EXPECT_TRUE(first.save(QDir::current().filePath(QStringLiteral("network_pieces.png"))));
    // The selected work's aqua, the critical red, the wave's green and the
    // ordinary blue all show.
    int aqua = 0, red = 0, green = 0, blue = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y);
            aqua += p == qRgb(0, 255, 255);
            red += p == qRgb(255, 0, 0);
            green += p == qRgb(0, 128, 0);
            blue += p == qRgb(0, 0, 255);
        }
    EXPECT_GT(aqua, 20);
    EXPECT_GT(red, 100);
    EXPECT_GT(green, 20);
    EXPECT_GT(blue, 100);
}

TEST(NetworkPictures, GeneratedNetworkOfAThousandWorks)
{
    DrawNetwork net;
    std::mt19937 random(3);
    const int width = 8;
    const int layers = 60;
    AddNodes(net, 2 + width * layers, 104);
    net.Works().BeginUpdate();
    for (int i = 1; i < net.Nodes().Count() - 1; ++i)
        net.Nodes().Items(i)->SetNodeY(101 + (i - 1) % width);
    const auto id = [&](int layer, int i) { return 2 + layer * width + i; };
    const auto add = [&](int prior, int next, float days) {
        TWorkItem& work = net.Works().Add();
        work.SetPriorNode(prior);
        work.SetNextNode(next);
        work.SetContinueTime(days);
        work.SetHorizontalLine(random() % 2);
    };
    for (int i = 0; i < width; ++i)
        add(1, id(0, i), float(2 + random() % 4));
    for (int layer = 1; layer < layers; ++layer)
        for (int i = 0; i < width; ++i)
            add(id(layer - 1, (i + int(random() % 3)) % width), id(layer, i), float(2 + random() % 6));
    for (int i = 0; i < width; ++i)
        add(id(layers - 1, i), net.Nodes().Count(), 2.0f);
    while (net.Works().Count() < 1000) {
        const int layer = int(random() % (layers - 1));
        add(id(layer, int(random() % width)), id(layer + 1, int(random() % width)),
            random() % 3 == 0 ? 0.0f : float(1 + random() % 4));
    }
    net.Works().EndUpdate();
    net.SetShowRedFlag(true);
    int right = 0;
    for (int i = 0; i < net.Nodes().Count(); ++i)
        right = std::max(right, net.GetNodePosition(net.Nodes().Items(i)).x());
    QImage image(net.GetOrigin().x() + right + 80, 440, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        canvas.Brush.Color = platform::clWhite;
        net.DrawWorks(canvas, net.GetOrigin());
        net.DrawNodes(canvas, net.GetOrigin());
    }
    EXPECT_TRUE(image.save(QDir::current().filePath(QStringLiteral("network_1000.png"))));
    EXPECT_EQ(net.Works().Count(), 1000);
}

} // namespace
