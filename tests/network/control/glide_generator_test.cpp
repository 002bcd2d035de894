// The flow-process generator: small patterns checked node by node and work
// by work, the count formulas, the anchors and the refusals.
#include "control_fixture.h"

#include "network/control/glide_rhythm.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace control_test;
using Table = TVYRNetwork::TGlideTable;

// P processes named A, B, ... with the same rhythm text in S sections.
Table Uniform(int processes, int sections, const QString& rhythm = QStringLiteral("1"))
{
    Table table;
    for (int j = 0; j < processes; ++j) {
        QStringList row{QString(QChar(u'A' + j))};
        for (int k = 0; k < sections; ++k)
            row << rhythm;
        table.push_back(row);
    }
    return table;
}

struct Arrow {
    QString caption;
    int prior;
    int next;
    float duration;
    friend bool operator==(const Arrow&, const Arrow&) = default;
    friend void PrintTo(const Arrow& a, std::ostream* os)
    {
        *os << a.caption.toStdString() << ' ' << a.prior << "->" << a.next << ' ' << a.duration;
    }
};

std::vector<Arrow> Arrows(const TVYRNetwork& net)
{
    std::vector<Arrow> arrows;
    for (int i = 0; i < net.Works().Count(); ++i) {
        const TWorkItem& w = *net.Works().Items(i);
        arrows.push_back({w.IsVirtual() ? QString() : w.Caption(), w.PriorNode(), w.NextNode(), w.ContinueTime()});
    }
    std::sort(arrows.begin(), arrows.end(), [](const Arrow& x, const Arrow& y) {
        return std::tie(x.prior, x.next, x.caption) < std::tie(y.prior, y.next, y.caption);
    });
    return arrows;
}

TEST(GlideGenerator, WorkedExampleNodeByNodeAndWorkByWork)
{
    Network net;
    const Table table = {{"A", "2", "3", "2"}, {"B", "4", "1", "3"}};
    net.GenerateGlide(net.Nodes().FindByNewID(1), nullptr, table, 1, 2);

    const std::vector<Arrow> expected = {
        {"A", 1, 2, 2}, {"B", 2, 3, 4}, {"A", 2, 4, 3}, {"B", 3, 5, 1},
        {"", 4, 3, 0},  {"A", 4, 5, 2}, {"B", 5, 6, 3},
    };
    std::vector<Arrow> sorted = expected;
    std::sort(sorted.begin(), sorted.end(), [](const Arrow& x, const Arrow& y) {
        return std::tie(x.prior, x.next, x.caption) < std::tie(y.prior, y.next, y.caption);
    });
    EXPECT_EQ(Arrows(net), sorted);

    const struct {
        int id, row;
        float offset, earliest;
    } nodes[] = {{1, 101, 0, 0}, {2, 101, 0, 2}, {3, 103, 3, 6}, {4, 103, 0, 5}, {5, 105, 0, 7}, {6, 105, 0, 10}};
    ASSERT_EQ(net.Nodes().Count(), 6);
    for (const auto& n : nodes) {
        SCOPED_TRACE(n.id);
        const TNodeItem* node = net.Nodes().FindByNewID(n.id);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->NodeY(), n.row);
        EXPECT_EQ(node->Offset(), n.offset);
        EXPECT_EQ(net.GetNodeEarliest(node), n.earliest);
    }
    EXPECT_EQ(net.GetTotalTime(), 10.0f);
    for (int i = 0; i < net.Works().Count(); ++i) {
        const TWorkItem& w = *net.Works().Items(i);
        EXPECT_EQ(w.HorizontalLine(), w.Caption() != QStringLiteral("B")) << w.Caption().toStdString();
    }
    EXPECT_TRUE(net.Modified());
}

TEST(GlideGenerator, TwoSectionsNeedNoDummy)
{
    Network net;
    net.GenerateGlide(net.Nodes().FindByNewID(1), nullptr, {{"A", "1", "1"}, {"B", "1", "1"}}, 1, 2);
    EXPECT_EQ(Arrows(net), (std::vector<Arrow>{{"A", 1, 2, 1}, {"A", 2, 3, 1}, {"B", 2, 3, 1}, {"B", 3, 4, 1}}));
    EXPECT_EQ(net.Nodes().Count(), 4);
}

TEST(GlideGenerator, CountsFollowTheFormulas)
{
    // P, S, L.
    const std::tuple<int, int, int> sizes[] = {{2, 2, 1}, {2, 3, 1}, {3, 2, 2}, {4, 5, 1}, {5, 5, 3}, {7, 3, 4}};
    for (const auto& [p, sections, layers] : sizes) {
        SCOPED_TRACE(testing::Message() << p << " x " << sections << " x " << layers);
        const int t = sections * layers;
        const int real = p * t;
        const int dummies = (t - 2) * (2 * p - 3) + (p - 2);
        const int nodes = 2 * p - 1 + (t - 2) * (2 * p - 2);

        Network atNode;
        atNode.GenerateGlide(atNode.Nodes().FindByNewID(1), nullptr, Uniform(p, sections), layers, 1);
        EXPECT_EQ(atNode.Works().Count(), real + dummies);
        EXPECT_EQ(atNode.Nodes().Count(), 1 + nodes);
        int virtuals = 0;
        for (int i = 0; i < atNode.Works().Count(); ++i)
            virtuals += atNode.Works().Items(i)->IsVirtual();
        EXPECT_EQ(virtuals, dummies);
        // Each process follows the one before it: with rhythms of one day
        // the pattern takes P + T - 1 days.
        EXPECT_EQ(atNode.GetTotalTime(), static_cast<float>(p + t - 1));

        Network atWork;
        AddNodes(atWork, 2);
        TWorkItem& x = AddWork(atWork, 1, 2, 9.0f);
        atWork.GenerateGlide(nullptr, &x, Uniform(p, sections), layers, 1);
        EXPECT_EQ(atWork.Works().Count(), real + dummies);
        EXPECT_EQ(atWork.Nodes().Count(), 2 + nodes - 1);
    }
}

TEST(GlideGenerator, PressedWorkBecomesTheLastProcessOnTheLastSection)
{
    Network net;
    AddNodes(net, 3);
    TWorkItem& x = AddWork(net, 1, 2, 9.0f);
    x.SetLabor(5.0f);
    AddWork(net, 2, 3, 1.0f);
    net.GenerateGlide(net.Nodes().FindByNewID(3), &x, Uniform(3, 3), 1, 2);
    EXPECT_EQ(x.Caption(), QStringLiteral("C"));
    EXPECT_EQ(x.ContinueTime(), 1.0f);
    EXPECT_EQ(x.NextNode(), 2);
    EXPECT_NE(x.PriorNode(), 1);
    EXPECT_EQ(x.Labor(), 5.0f);
    // Every generated work lies between nodes 1 and 2; the work 2 -> 3 stays.
    for (int i = 0; i < net.Works().Count(); ++i) {
        const TWorkItem& w = *net.Works().Items(i);
        EXPECT_NE(w.NextNode(), 1);
        if (w.PriorNode() == 2) {
            EXPECT_EQ(w.NextNode(), 3);
        }
    }
    EXPECT_EQ(net.GetTotalTime(), 3.0f + 3.0f - 1.0f + 1.0f);
}

TEST(GlideGenerator, NegativeLineDistanceAndExactRhythms)
{
    Network net;
    net.GenerateGlide(net.Nodes().FindByNewID(1), nullptr, {{"A", "2.3", "1"}, {"B", "1", "1"}}, 2, -3);
    // Sections 1..4 on base rows 101, 98, 95, 92.
    EXPECT_EQ(net.GetMinRow(), 92 - 3 + 3);
    EXPECT_EQ(net.GetMaxRow(), 101);
    bool found = false;
    for (int i = 0; i < net.Works().Count(); ++i)
        found = found || net.Works().Items(i)->ContinueTime() == 2.3f;
    EXPECT_TRUE(found);
}

TEST(GlideGenerator, BadRhythmsAndTooLargePatternsChangeNothing)
{
    struct Case {
        Table table;
        int layers;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{{"A", "1", "3 "}, {"B", "1", "1"}}, 1, "3 不是一个有效的实数，错误位置: 2"},
        {{{"A", "1", "1"}, {"B", "0", "1"}}, 1, "流水节拍必须大于零"},
        {{{"A", "1", "1"}, {"B", "1", "-1"}}, 1, "流水节拍必须大于零"},
        {{{"A", "1", "1"}, {"B", "1", "1e39"}}, 1, "流水节拍超出范围：1e39"},
        {Uniform(100, 100), 200, "流水施工的工作数将超过 1000000 个，不能生成！"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.message);
        Network net;
        net.GenerateGlide(net.Nodes().FindByNewID(1), nullptr, k.table, k.layers, 1);
        EXPECT_EQ(net.Works().Count(), 0);
        EXPECT_EQ(net.Nodes().Count(), 1);
        EXPECT_FALSE(net.Modified());
        ASSERT_EQ(net.Fake().MessageTexts().size(), 1);
        EXPECT_EQ(net.Fake().MessageTexts()[0], QString::fromUtf8(k.message));
    }
}

TEST(GlideGenerator, PressInDrawStateTenRunsTheWizard)
{
    Network net;
    net.SetDrawState(10);
    int asked = 0;
    bool confirm = false;
    net.SetOnRunGlideWizard([&](TVYRNetwork&, Table& table, int& layers, int& distance) {
        ++asked;
        table = Uniform(2, 2);
        layers = 1;
        distance = 2;
        return confirm;
    });
    const QPoint node = net.GetNodePosition(net.Nodes().Items(0)) + net.GetOrigin();
    net.MouseDown(network::TMouseButton::mbLeft, 0, node.x() + 200, node.y() + 200);
    EXPECT_EQ(asked, 0);
    net.MouseDown(network::TMouseButton::mbLeft, 0, node.x(), node.y());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(net.Works().Count(), 0);
    confirm = true;
    net.MouseDown(network::TMouseButton::mbLeft, 0, node.x(), node.y());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(net.Works().Count(), 4);
    EXPECT_EQ(net.DrawState(), 10);
}

TEST(GlideRhythm, ParsesDecimalTextInTheCLocale)
{
    const std::pair<const char*, float> good[] = {{"3", 3.0f}, {" 2.5", 2.5f}, {"+.5", 0.5f}, {"1e1", 10.0f}, {"2.3", 2.3f}};
    for (const auto& [text, value] : good) {
        QString message;
        EXPECT_EQ(network::ParseRhythm(QString::fromUtf8(text), message), std::optional<float>(value)) << text;
    }
    const std::pair<const char*, const char*> bad[] = {
        {"3 ", "3 不是一个有效的实数，错误位置: 2"},
        {"2,5", "2,5不是一个有效的实数，错误位置: 2"},
        {"abc", "abc不是一个有效的实数，错误位置: 1"},
        {"1e", "1e不是一个有效的实数，错误位置: 3"},
        {"0", "流水节拍必须大于零"},
        {"-1", "流水节拍必须大于零"},
        {"1e-60", "流水节拍超出范围：1e-60"},
    };
    for (const auto& [text, expected] : bad) {
        QString message;
        EXPECT_FALSE(network::ParseRhythm(QString::fromUtf8(text), message)) << text;
        EXPECT_EQ(message, QString::fromUtf8(expected));
    }
}

} // namespace
