// Copy and paste of work groups through the control's copy stream.
#include "control_fixture.h"

#include "network/control/glide_templet.h"
#include "platform/stream/stream_error.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using namespace control_test;

TWorkItem* WorkFrom(TVYRNetwork& net, int prior)
{
    for (int i = 0; i < net.Works().Count(); ++i)
        if (net.Works().Items(i)->PriorNode() == prior)
            return net.Works().Items(i);
    return nullptr;
}

TWorkItem& Named(TWorkItem& work, const char* caption)
{
    work.SetCaption(QString::fromUtf8(caption));
    return work;
}

void SelectOnly(TVYRNetwork& net, std::initializer_list<TWorkItem*> works)
{
    for (int i = 0; i < net.Works().Count(); ++i)
        net.Works().Items(i)->SetSelected(false);
    for (TWorkItem* w : works)
        w->SetSelected(true);
}

// A chain A 1->2, B 2->3, C 3->4 starting on row 101, and D 1->5 ending on
// row 105.
struct Chain : ::testing::Test {
    Network net;
    TWorkItem* a = nullptr;
    TWorkItem* b = nullptr;
    TWorkItem* c = nullptr;
    TWorkItem* d = nullptr;
    void SetUp() override
    {
        AddNodes(net, 5);
        net.Nodes().FindByNewID(2)->SetNodeY(102);
        net.Nodes().FindByNewID(3)->SetNodeY(103);
        net.Nodes().FindByNewID(5)->SetNodeY(105);
        a = &Named(AddWork(net, 1, 2, 2.0f), "A");
        b = &Named(AddWork(net, 2, 3, 3.0f), "B");
        c = &Named(AddWork(net, 3, 4, 1.5f), "C");
        d = &Named(AddWork(net, 1, 5, 4.0f), "D");
    }
};

TEST_F(Chain, PasteAtANodeRebuildsTheGroupWithShiftedRows)
{
    b->SetLabor(11.0f);
    b->SetWorkforce(7);
    b->SetParallelTime(0.5f);
    b->SetDiapause(1.0f);
    b->SetOffset(-2);
    b->SetHorizontalLine(false);
    b->SetWorkPoints(QStringLiteral("10,10"));
    platform::TFont bold = b->Font();
    bold.Style = platform::fsBold;
    bold.Size = 12;
    b->SetFont(bold);
    b->SetParentFont(false);
    SelectOnly(net, {a, b, c});
    net.CopyWorks();
    ASSERT_TRUE(net.CopyStream().has_value());

    TNodeItem* five = net.Nodes().FindByNewID(5);
    five->SetSelected(true);
    EXPECT_TRUE(net.CanPaste());
    net.PasteWorks(five, nullptr);

    ASSERT_EQ(net.Works().Count(), 7);
    ASSERT_EQ(net.Nodes().Count(), 8);
    TWorkItem* a2 = WorkFrom(net, 5);
    ASSERT_NE(a2, nullptr);
    TWorkItem* b2 = WorkFrom(net, a2->NextNode());
    ASSERT_NE(b2, nullptr);
    TWorkItem* c2 = WorkFrom(net, b2->NextNode());
    ASSERT_NE(c2, nullptr);
    EXPECT_EQ(a2->Caption(), QStringLiteral("A"));
    EXPECT_EQ(b2->Caption(), QStringLiteral("B"));
    EXPECT_EQ(c2->Caption(), QStringLiteral("C"));
    EXPECT_EQ(net.Nodes().FindByNewID(a2->NextNode())->NodeY(), 106);
    EXPECT_EQ(net.Nodes().FindByNewID(b2->NextNode())->NodeY(), 107);
    EXPECT_EQ(net.Nodes().FindByNewID(c2->NextNode())->NodeY(), 105);
    EXPECT_EQ(c2->ContinueTime(), 1.5f);
    EXPECT_EQ(b2->Labor(), 11.0f);
    EXPECT_EQ(b2->Workforce(), 7);
    EXPECT_EQ(b2->ParallelTime(), 0.5f);
    EXPECT_EQ(b2->Diapause(), 1.0f);
    EXPECT_EQ(b2->Offset(), -2);
    EXPECT_FALSE(b2->HorizontalLine());
    EXPECT_EQ(b2->Font(), bold);
    EXPECT_FALSE(b2->ParentFont());
    EXPECT_TRUE(b2->WorkPoints().isEmpty());
    EXPECT_FALSE(b2->Selected());
    // The group hangs off node 5, which D reaches after 4 days; B's pause
    // of a day and overlap of half a day carry over.
    EXPECT_EQ(net.GetTotalTime(), 4.0f + 2.0f + 3.0f + 1.0f - 0.5f + 1.5f);
    EXPECT_TRUE(net.Modified());
}

TEST_F(Chain, PasteInPlaceOfAWorkTakesItsPlaceBetweenItsNodes)
{
    // E 4->6 leaves C's end node and F 1->4 enters it.
    AddNodes(net, 6);
    TWorkItem& e = Named(AddWork(net, 4, 6, 1.0f), "E");
    TWorkItem& f = Named(AddWork(net, 1, 4, 0.0f), "F");
    static_cast<void>(e);
    static_cast<void>(f);
    SelectOnly(net, {a, b});
    net.CopyWorks();
    ASSERT_TRUE(net.CopyStream().has_value());

    net.SetDrawState(6);
    net.SelectItems(nullptr, c, false);
    net.PasteWorks(nullptr, c);

    EXPECT_EQ(net.Nodes().FindByNewID(4), nullptr);
    ASSERT_EQ(net.Works().Count(), 7);
    TWorkItem* a2 = WorkFrom(net, 3);
    ASSERT_NE(a2, nullptr);
    EXPECT_EQ(a2->Caption(), QStringLiteral("A"));
    TWorkItem* b2 = WorkFrom(net, a2->NextNode());
    ASSERT_NE(b2, nullptr);
    EXPECT_EQ(b2->Caption(), QStringLiteral("B"));
    const int last = b2->NextNode();
    for (int i = 0; i < net.Works().Count(); ++i) {
        const TWorkItem& w = *net.Works().Items(i);
        EXPECT_NE(w.Caption(), QStringLiteral("C"));
        if (w.Caption() == QStringLiteral("E")) {
            EXPECT_EQ(w.PriorNode(), last);
        }
        if (w.Caption() == QStringLiteral("F")) {
            EXPECT_EQ(w.NextNode(), last);
        }
    }
    for (const network::TLankPanel* handle : {&net.StartHandle(), &net.EndHandle(), &net.BendHandle()})
        EXPECT_FALSE(handle->Visible);
    // A 2, B 3, A' 2, B' 3, E 1.
    EXPECT_EQ(net.GetTotalTime(), 11.0f);
}

TEST_F(Chain, CopyRefusesSeveralStartsAndKeepsThePreviousCopy)
{
    SelectOnly(net, {a});
    net.CopyWorks();
    ASSERT_TRUE(net.CopyStream().has_value());
    const QByteArray first = *net.CopyStream();

    struct Case {
        const char* name;
        std::vector<TWorkItem*> works;
    };
    const std::vector<Case> refused = {
        {"nothing selected", {}},
        {"two unconnected starts", {a, c}},
        {"a start met again after another", {a, c, d}},
    };
    for (const Case& k : refused) {
        SCOPED_TRACE(k.name);
        SelectOnly(net, {});
        for (TWorkItem* w : k.works)
            w->SetSelected(true);
        net.Fake().messages.clear();
        net.CopyWorks();
        ASSERT_EQ(net.Fake().messages.size(), 1u);
        EXPECT_EQ(net.Fake().MessageTexts()[0], QStringLiteral("所选工作组成了一个多起点的工作组合，不能复制!"));
        EXPECT_EQ(*net.CopyStream(), first);
    }

    // Two works leaving one node form one start; the second copy replaces
    // the first.
    SelectOnly(net, {a, d});
    net.Fake().messages.clear();
    net.CopyWorks();
    EXPECT_TRUE(net.Fake().messages.empty());
    EXPECT_NE(*net.CopyStream(), first);
}

TEST_F(Chain, NothingToPasteWithoutACopyOrATarget)
{
    a->SetSelected(true);
    EXPECT_FALSE(net.CanPaste());
    net.PasteWorks(net.Nodes().FindByNewID(5), nullptr);
    EXPECT_EQ(net.Works().Count(), 4);
    net.CopyWorks();
    net.PasteWorks(nullptr, nullptr);
    EXPECT_EQ(net.Works().Count(), 4);
    a->SetSelected(false);
    EXPECT_FALSE(net.CanPaste());
}

TEST(GlideTemplet, SmallGroupStreamBytes)
{
    Network net;
    AddNodes(net, 2);
    TWorkItem& w = AddWork(net, 1, 2, 3.0f);
    w.SetSelected(true);
    net.CopyWorks();
    ASSERT_TRUE(net.CopyStream().has_value());

    StreamBytes s;
    s.Raw("TPF0").Name("TGlideTemplet").Name("");
    s.Name("GWorks").Byte(0x0E).Byte(0x01);
    s.Name("Caption").Str(QStringLiteral("工作0")).Name("PriorNode").Int(1).Name("NextNode").Int(2);
    s.Name("ContinueTime").Ext(3.0).Name("Workforce").Int(0).Name("Offset").Int(0);
    s.Name("HorizontalLine").Bool(true);
    s.Font("Font", "DEFAULT_CHARSET", "clGreen", -12);
    s.Name("ParentFont").Bool(true);
    s.Byte(0).Byte(0);
    s.Name("GNodes").Byte(0x0E);
    for (int id = 1; id <= 2; ++id) {
        s.Byte(0x01).Name("New").Int(-1).Name("NewID").Int(id).Name("NodeY").Int(101).Name("Number").Int(id);
        s.Byte(0);
    }
    s.Byte(0);
    s.Byte(0).Byte(0);
    EXPECT_EQ(net.CopyStream()->toHex(' '), s.Bytes().toHex(' '));

    const auto templet = network::ReadGlideTemplet(*net.CopyStream());
    ASSERT_EQ(templet->GWorks().Count(), 1);
    ASSERT_EQ(templet->GNodes().Count(), 2);
    EXPECT_EQ(templet->GWorks().Item(0).ContinueTime, 3.0f);
    EXPECT_EQ(templet->GNodes().Item(1).NewID, 2);
    EXPECT_EQ(network::WriteGlideTemplet(*templet), *net.CopyStream());

#ifdef FUZZ_CORPUS_DIR
    QDir().mkpath(QStringLiteral(FUZZ_CORPUS_DIR "/glide_templet_fuzz"));
    QFile seed(QStringLiteral(FUZZ_CORPUS_DIR "/glide_templet_fuzz/small.bin"));
    if (seed.open(QIODevice::WriteOnly))
        seed.write(*net.CopyStream());
#endif
}

// A templet of works given as (prior, next) over nodes listed by NewID.
QByteArray TempletBytes(std::initializer_list<std::pair<int, int>> works, std::initializer_list<int> nodes)
{
    network::TGlideTemplet templet;
    for (const auto& [prior, next] : works) {
        network::TGWorkItem& w = templet.GWorks().Add();
        w.PriorNode = prior;
        w.NextNode = next;
        w.ContinueTime = 1.0f;
    }
    for (const int id : nodes) {
        network::TGNodeItem& n = templet.GNodes().Add();
        n.NewID = id;
        n.NodeY = 101;
    }
    return network::WriteGlideTemplet(templet);
}

TEST(GlideTemplet, DamagedDataIsRefused)
{
    const QByteArray good = TempletBytes({{1, 2}}, {1, 2});
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"cut short", good.left(good.size() - 3)},
        {"another class", QByteArray(good).replace("TGlideTemplet", "TGlideTemplex")},
        {"two nodes with one NewID", TempletBytes({{1, 2}}, {1, 2, 2})},
        {"a cycle", TempletBytes({{1, 2}, {2, 3}, {3, 2}}, {1, 2, 3})},
        {"a work into the first node", TempletBytes({{1, 2}, {2, 1}}, {1, 2})},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_THROW(network::ReadGlideTemplet(k.bytes), stream::StreamError);
    }
    EXPECT_NO_THROW(network::ReadGlideTemplet(good));
}

TEST(GlideTemplet, HasSingleStartCountsStartsInWorkOrder)
{
    struct Case {
        std::vector<std::pair<int, int>> works;
        bool single;
    };
    const std::vector<Case> cases = {
        {{}, false},
        {{{1, 2}, {2, 3}}, true},
        {{{1, 2}, {1, 3}}, true},
        {{{1, 2}, {4, 3}}, false},
        {{{1, 2}, {4, 3}, {1, 5}}, false},
        {{{2, 3}, {1, 2}}, true},
    };
    for (const Case& k : cases) {
        network::TGlideTemplet templet;
        for (const auto& [prior, next] : k.works) {
            network::TGWorkItem& w = templet.GWorks().Add();
            w.PriorNode = prior;
            w.NextNode = next;
        }
        EXPECT_EQ(templet.HasSingleStart(), k.single) << k.works.size();
    }
}

// A templet whose works are out of dependency order, or name a node it
// lacks: works are placed once their start node is, the others left out.
TEST(GlideTemplet, PastePlacesWorksInDependencyOrderAndSkipsMissingNodes)
{
    Network net;
    AddNodes(net, 2);
    AddWork(net, 1, 2, 1.0f);
    const auto templet = network::ReadGlideTemplet(TempletBytes({{2, 3}, {3, 9}, {1, 2}, {3, 4}}, {1, 2, 3, 4}));
    net.PasteTemplet(*templet, net.Nodes().FindByNewID(2), nullptr);
    ASSERT_EQ(net.Works().Count(), 4);
    ASSERT_EQ(net.Nodes().Count(), 5);
    // 1 -> 2, then the group's chain 2 -> 3 -> 4 -> 5 of a day each.
    EXPECT_EQ(net.GetTotalTime(), 4.0f);
    for (int id = 3; id <= 5; ++id)
        EXPECT_NE(net.Nodes().FindByNewID(id), nullptr) << id;
}

} // namespace
