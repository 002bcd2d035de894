// Mouse editing by draw state: drawing with snapping and the cycle refusal,
// deleting, splitting, retiming, the double click and the handles.
#include "control_fixture.h"

#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

using namespace control_test;
using network::TLankPanel;
using network::TMouseButton;
using platform::MessageButton;

namespace {

// Control coordinates of the centre of the node with this NewID.
QPoint At(TVYRNetwork& net, int id)
{
    return net.GetNodePosition(net.Nodes().FindByNewID(id)) + net.GetOrigin();
}

void Press(TVYRNetwork& net, QPoint p, network::TShiftState shift = 0)
{
    net.MouseDown(TMouseButton::mbLeft, shift, p.x(), p.y());
}
void Move(TVYRNetwork& net, QPoint p) { net.MouseMove(network::ssLeft, p.x(), p.y()); }
void Release(TVYRNetwork& net, QPoint p) { net.MouseUp(TMouseButton::mbLeft, 0, p.x(), p.y()); }

void Drag(TVYRNetwork& net, QPoint from, std::initializer_list<QPoint> moves)
{
    Press(net, from);
    QPoint last = from;
    for (const QPoint m : moves)
        Move(net, last = m);
    Release(net, last);
}

// Nodes 1, 2, 3 on row 101 at days 0, 3, 5 with works 1-2 and 2-3, 20
// pixels a day.
void BuildChain(TVYRNetwork& net)
{
    net.SetSmallWidth(40);
    AddNodes(net, 3);
    AddWork(net, 1, 2, 3.0f);
    AddWork(net, 2, 3, 2.0f);
}

} // namespace

TEST(Editing, DrawingSnapsToHalfDaysAndRowsAndPicksTheElbow)
{
    // 10 pixels a day: a move 32 pixels right snaps to 3 days.
    const struct {
        const char* name;
        QPoint firstMove, end;
        float duration;
        bool horizontalLine;
        int rowDelta;
    } cases[] = {
        {"right first", QPoint(12, 0), QPoint(32, 1), 3.0f, false, 0},
        {"down first", QPoint(0, 30), QPoint(33, 80), 3.5f, true, 2},
        {"down only makes a dummy", QPoint(1, 40), QPoint(2, 41), 0.0f, true, 1},
    };
    for (const auto& c : cases) {
        Network net;
        const QPoint start = At(net, 1);
        Drag(net, start, {start + c.firstMove, start + c.end});
        ASSERT_EQ(net.Works().Count(), 1) << c.name;
        const TWorkItem& work = *net.Works().Items(0);
        EXPECT_EQ(work.ContinueTime(), c.duration) << c.name;
        EXPECT_EQ(work.HorizontalLine(), c.horizontalLine) << c.name;
        EXPECT_EQ(net.Nodes().FindByNewID(work.NextNode())->NodeY(), 101 + c.rowDelta) << c.name;
        EXPECT_FALSE(net.EditEnabled()) << c.name;
        EXPECT_FALSE(net.Fake().captured) << c.name;
    }
}

TEST(Editing, ReleasingNearTheStartOrOnItCreatesNothing)
{
    Network net;
    const QPoint start = At(net, 1);
    Drag(net, start, {start + QPoint(2, 0)});
    Drag(net, start, {start + QPoint(30, 0), start});
    EXPECT_EQ(net.Works().Count(), 0);
    EXPECT_TRUE(net.Fake().messages.empty());
}

TEST(Editing, AWorkClosingACycleIsRefused)
{
    Network net;
    BuildChain(net);
    Drag(net, At(net, 3), {At(net, 3) + QPoint(0, 40), At(net, 1)});
    EXPECT_EQ(net.Works().Count(), 2);
    EXPECT_EQ(net.Fake().MessageTexts(), QStringList{QStringLiteral("该工作有逻辑错误，不能增加！")});
}

TEST(Editing, TheRightButtonCancelsADrawing)
{
    Network net;
    const QPoint start = At(net, 1);
    Press(net, start);
    Move(net, start + QPoint(40, 0));
    net.MouseDown(TMouseButton::mbRight, network::ssRight, start.x() + 40, start.y());
    Release(net, start + QPoint(40, 0));
    EXPECT_EQ(net.Works().Count(), 0);
    EXPECT_FALSE(net.Fake().captured);
}

TEST(Editing, ThePressAfterADoubleClickDisarmsTheEdit)
{
    Network net;
    BuildChain(net);
    net.SetDrawState(7);
    const QPoint mid = (At(net, 1) + At(net, 2)) / 2;
    Press(net, mid);
    Release(net, mid);
    ASSERT_EQ(net.Works().Count(), 3);
    net.DblClick();
    Press(net, mid);
    Release(net, mid);
    EXPECT_EQ(net.Works().Count(), 3);
}

TEST(Editing, SplittingCutsTheWorkAndClampsPointsPastItsEnds)
{
    const struct {
        const char* name;
        int dx;
        float first, second, newNodeOffset, endOffset;
    } cases[] = {
        {"inside", 10, 1.0f, 2.0f, 0.0f, 0.0f},
        {"at the start", 0, 0.0f, 3.0f, 3.0f, 0.0f},
        {"past the end", 500, 3.0f, 0.0f, 0.0f, 3.0f},
        {"before the start", -500, 0.0f, 3.0f, 3.0f, 0.0f},
    };
    for (const auto& c : cases) {
        Network net;
        AddNodes(net, 2);
        AddWork(net, 1, 2, 3.0f);
        net.SplitWork(*net.Works().Items(0), At(net, 1) + QPoint(c.dx, 0));
        ASSERT_EQ(net.Works().Count(), 2) << c.name;
        const TWorkItem& a = *net.Works().Items(0);
        const TWorkItem& b = *net.Works().Items(1);
        EXPECT_EQ(a.ContinueTime(), c.first) << c.name;
        EXPECT_EQ(b.ContinueTime(), c.second) << c.name;
        EXPECT_EQ(a.NextNode(), b.PriorNode()) << c.name;
        EXPECT_EQ(b.NextNode(), 2) << c.name;
        EXPECT_EQ(net.Nodes().FindByNewID(a.NextNode())->Offset(), c.newNodeOffset) << c.name;
        EXPECT_EQ(net.Nodes().FindByNewID(2)->Offset(), c.endOffset) << c.name;
        EXPECT_EQ(net.GetTotalTime(), 3.0f) << c.name;
    }
}

TEST(Editing, DeletingAsksAndReattachesTheWorksLeavingARemovedNode)
{
    Network net;
    BuildChain(net);
    net.SetDrawState(3);
    const QPoint mid = (At(net, 1) + At(net, 2)) / 2;
    net.Fake().QueueAnswer(MessageButton::Cancel);
    Press(net, mid);
    Release(net, mid);
    EXPECT_EQ(net.Works().Count(), 2);
    net.Fake().QueueAnswer(MessageButton::Ok);
    Press(net, mid);
    Release(net, mid);
    ASSERT_EQ(net.Works().Count(), 1);
    EXPECT_EQ(net.Works().Items(0)->PriorNode(), 1);
    EXPECT_EQ(net.Nodes().FindByNewID(2), nullptr);
    EXPECT_EQ(net.Fake().messages.back().text, QStringLiteral("你真的要删除工作\"工作0\"吗?"));
}

TEST(Editing, DeletingASelfLoopKeepsItsNode)
{
    Network net;
    AddNodes(net, 2);
    AddWork(net, 1, 2, 1.0f);
    TWorkItem& loop = AddWork(net, 2, 2, 1.0f);
    net.Fake().QueueAnswer(MessageButton::Ok);
    net.DeleteWork(loop);
    EXPECT_EQ(net.Works().Count(), 1);
    EXPECT_NE(net.Nodes().FindByNewID(2), nullptr);
}

TEST(Editing, RetimingByDragChangesTheDurationInHalfDays)
{
    Network net;
    BuildChain(net);
    net.SetDrawState(6);
    const QPoint mid = (At(net, 1) + At(net, 2)) / 2;
    Press(net, mid);
    Move(net, mid + QPoint(14, 0));
    EXPECT_EQ(net.Works().Items(0)->ContinueTime(), 3.5f);
    Move(net, mid + QPoint(20, 0));
    EXPECT_GT(net.Works().Items(0)->ContinueTime(), 2.0f);
    Move(net, mid + QPoint(-100, 0));
    EXPECT_GT(net.Works().Items(0)->ContinueTime(), 2.0f);
    Move(net, mid + QPoint(-50, 0));
    Release(net, mid + QPoint(-50, 0));
    EXPECT_EQ(net.Works().Items(0)->ContinueTime(), 0.5f);
    EXPECT_EQ(net.GetTotalTime(), 2.5f);
}

TEST(Editing, BandSelectionSelectsTheWorksWhollyInside)
{
    Network net;
    BuildChain(net);
    const QPoint a = At(net, 1) + QPoint(-15, -15);
    const QPoint b = At(net, 2) + QPoint(5, 15);
    Drag(net, a, {b});
    EXPECT_TRUE(net.Works().Items(0)->Selected());
    EXPECT_FALSE(net.Works().Items(1)->Selected());
    Drag(net, b, {a});
    EXPECT_FALSE(net.Works().Items(0)->Selected());
}

TEST(Editing, HandlesRefuseCyclesAndDoNothingWithoutASelectedWork)
{
    Network net;
    BuildChain(net);
    net.SetDrawState(6);
    // No selected work: dropping a handle changes nothing.
    net.HandleMoved(net.BendHandle());
    net.DragHandle(QPoint(0, 300));
    net.DropHandle();
    EXPECT_EQ(net.Works().Items(0)->Offset(), 0);

    net.SelectItems(nullptr, net.Works().Items(1), false);
    const QPoint origin = At(net, 1) - QPoint(2, 2);
    for (TLankPanel* handle : {&net.EndHandle(), &net.StartHandle()}) {
        net.HandleMoved(*handle);
        net.DragHandle(handle == &net.EndHandle() ? origin : At(net, 3) - QPoint(2, 2));
        net.DropHandle();
    }
    EXPECT_EQ(net.Works().Items(1)->PriorNode(), 2);
    EXPECT_EQ(net.Works().Items(1)->NextNode(), 3);
    EXPECT_EQ(net.Fake().MessageTexts(),
              (QStringList{QStringLiteral("该工作有逻辑错误，不能增加！"), QStringLiteral("该工作有逻辑错误，不能增加！")}));
}

TEST(Editing, TheEndHandleTakesOverANodeAndReportsAfterTheUpdates)
{
    Network net;
    net.SetSmallWidth(40);
    AddNodes(net, 4);
    TWorkItem& moved = AddWork(net, 1, 2, 3.0f);
    TWorkItem& leaving = AddWork(net, 2, 3, 2.0f);
    AddWork(net, 1, 4, 1.0f);
    net.SetDrawState(6);
    bool updating = true;
    net.SetOnWorkChanged([&](TVYRNetwork& n, TWorkItem*) {
        updating = n.Works().IsUpdating() || n.Nodes().IsUpdating();
    });
    net.SelectItems(nullptr, &moved, false);
    net.HandleMoved(net.EndHandle());
    net.DragHandle(At(net, 4) - QPoint(2, 2));
    net.DropHandle();
    EXPECT_FALSE(updating);
    EXPECT_EQ(moved.NextNode(), 4);
    // The work that left the old end node moved with the handle.
    EXPECT_EQ(leaving.PriorNode(), 4);
    EXPECT_EQ(net.Nodes().FindByNewID(2), nullptr);
}

TEST(Editing, ChangingTheDrawStateClearsSelectionAndSetsTheCursor)
{
    Network net;
    BuildChain(net);
    int reports = 0;
    net.SetOnDrawStateChanged([&](TVYRNetwork&) { ++reports; });
    net.SelectItems(nullptr, net.Works().Items(0), false);
    net.SetDrawState(4);
    net.SetDrawState(4);
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(net.HasSelectedWork());
    EXPECT_EQ(net.Cursor(), platform::cursor::kHandPoint);
    EXPECT_EQ(net.Fake().cursors.back(), platform::cursor::kHandPoint);
}

// A retime drag invalidates the boxes of what it changed, not the whole
// control: a work retimed within its free time only its own box.
TEST(Editing, ARetimeDragInvalidatesOnlyWhatChanged)
{
    Network net;
    platform::RecordingCanvas canvas(QSize(2000, 1000));
    net.SetCanvas(&canvas);
    AddNodes(net, 4);
    // 1 -> 2 (2 days) -> 4 (3 days), and 1 -> 3 (1 day) -> 4 (1 day): the
    // lower path has 3 days of free time before node 4.
    AddWork(net, 1, 2, 2.0f);
    AddWork(net, 2, 4, 3.0f);
    AddWork(net, 1, 3, 1.0f);
    TWorkItem& floating = AddWork(net, 3, 4, 1.0f);
    net.Nodes().FindByNewID(3)->SetNodeY(103);
    net.SetDrawState(6);
    const auto middleOf = [&](TWorkItem& work) {
        network::TPointList line = net.GetWorkPolyline(work);
        return (line[0] + line[1]) / 2 + net.GetOrigin();
    };
    const auto drag = [&](TWorkItem& work, int dx) {
        const QPoint at = middleOf(work);
        net.Fake().invalidatedRects.clear();
        net.Fake().fullInvalidations = 0;
        net.MouseDown(network::TMouseButton::mbLeft, 0, at.x(), at.y());
        net.MouseMove(network::ssLeft, at.x() + dx, at.y());
        QRect all;
        for (const QRect& r : net.Fake().invalidatedRects)
            all |= r;
        net.MouseUp(network::TMouseButton::mbLeft, 0, at.x() + dx, at.y());
        return all;
    };
    const QRect small = drag(floating, net.SmallWidth());
    EXPECT_EQ(floating.ContinueTime(), 3.0f);
    EXPECT_EQ(net.Fake().fullInvalidations, 0);
    EXPECT_FALSE(small.isEmpty());
    EXPECT_LT(std::int64_t{small.width()} * small.height(), 2000 * 1000 / 8);
    net.SetCanvas(nullptr);
}

TEST(Editing, ARetimeDragThatChangesMostOfTheViewRepaintsItWhole)
{
    Network net;
    AddNodes(net, 3);
    AddWork(net, 1, 2, 2.0f);
    TWorkItem& first = AddWork(net, 2, 3, 3.0f);
    // A view just around the network: moving the middle node changes most of it.
    const QPoint end = net.GetNodePosition(net.Nodes().FindByNewID(3)) + net.GetOrigin();
    platform::RecordingCanvas canvas(QSize(end.x() + 40, end.y() + 40));
    net.SetCanvas(&canvas);
    net.SetDrawState(6);
    network::TPointList line = net.GetWorkPolyline(*net.Works().Items(0));
    const QPoint at = (line[0] + line[1]) / 2 + net.GetOrigin();
    net.Fake().invalidatedRects.clear();
    net.Fake().fullInvalidations = 0;
    net.MouseDown(network::TMouseButton::mbLeft, 0, at.x(), at.y());
    net.MouseMove(network::ssLeft, at.x() + 2 * net.SmallWidth(), at.y());
    EXPECT_GT(net.Works().Items(0)->ContinueTime(), 2.0f);
    EXPECT_EQ(net.Fake().fullInvalidations, 1);
    EXPECT_TRUE(net.Fake().invalidatedRects.empty());
    net.MouseUp(network::TMouseButton::mbLeft, 0, at.x(), at.y());
    EXPECT_EQ(first.ContinueTime(), 3.0f);
    net.SetCanvas(nullptr);
}

// A band drag selects, after every move, exactly the works whose bounds lie
// inside the band from the snapped press point to the snapped mouse point,
// as growing, shrinking and turning the band round leave them; only the
// works it reaches are repainted.
TEST(Editing, BandSelectionFollowsTheBandMoveByMove)
{
    Network net;
    platform::RecordingCanvas canvas(QSize(2000, 1000));
    net.SetCanvas(&canvas);
    // Three rows of four works in a chain each, from node 1.
    AddNodes(net, 13);
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 4; ++k) {
            const int id = 2 + row * 4 + k;
            net.Nodes().FindByNewID(id)->SetNodeY(101 + 2 * row);
            AddWork(net, k == 0 ? 1 : id - 1, id, 2.0f + float(k));
        }
    const QPoint origin = net.GetOrigin();
    const QPoint press = origin + QPoint(-15, net.RowToY(100));
    ASSERT_EQ(net.NodeAt(press.x(), press.y()), nullptr);
    ASSERT_EQ(net.WorkAt(press.x(), press.y()), nullptr);
    net.MouseDown(network::TMouseButton::mbLeft, 0, press.x(), press.y());
    const QPoint corner(net.SnapX(press.x()), net.SnapY(press.y()));
    const std::vector<QPoint> moves = {
        origin + QPoint(150, net.RowToY(102)), origin + QPoint(400, net.RowToY(106)),
        origin + QPoint(260, net.RowToY(104)), origin + QPoint(90, net.RowToY(102)),
        origin + QPoint(-60, net.RowToY(99)), origin + QPoint(700, net.RowToY(107))};
    int selectedSomewhere = 0;
    for (const QPoint m : moves) {
        net.Fake().fullInvalidations = 0;
        net.MouseMove(network::ssLeft, m.x(), m.y());
        const QRect band(corner, QPoint(net.SnapX(m.x()), net.SnapY(m.y())));
        for (int i = 0; i < net.Works().Count(); ++i) {
            TWorkItem& work = *net.Works().Items(i);
            const QRect b = net.GetWorkBounds(work);
            const bool inside = b.left() >= band.left() && b.top() >= band.top() && b.right() <= band.right() &&
                                b.bottom() <= band.bottom();
            EXPECT_EQ(work.Selected(), inside) << "work " << i << " band to " << m.x() << "," << m.y();
            selectedSomewhere += inside;
        }
        EXPECT_EQ(net.Fake().fullInvalidations, 0);
    }
    EXPECT_GT(selectedSomewhere, 0);
    net.MouseUp(network::TMouseButton::mbLeft, 0, moves.back().x(), moves.back().y());
    net.SetCanvas(nullptr);
}
