// The drawing layer on the recording canvas, point for point: work
// polylines with bends and shortened ends, the solid, dotted and wavy
// pieces, crossings, arrowheads, texts, nodes and the flag; the selection
// colours of the screen; the drags; and that one paint pass with its caches
// draws exactly what the plain routines draw.
#include "drawing_fixture.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"
#include "platform/translated_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <limits>
#include <random>

namespace {

using namespace drawing_test;
using network::TPointList;
using platform::CanvasOp;
using platform::RecordingCanvas;

// Drawing positions: day d at x = 10 d, row 100 + r at y = 40 r.
class DrawingLayer : public ::testing::Test {
protected:
    void SetUp() override { net.SetTopLinePosition(0); }

    // Nodes 1..count on row 100.
    void Nodes(int count) { AddNodes(net, count, 100); }
    TNodeItem& Node(int id) { return *net.Nodes().FindByNewID(id); }

    QStringList Lines(CanvasOp op = CanvasOp::Polyline) const { return canvas.Log(op); }

    DrawNetwork net;
    RecordingCanvas canvas;
};

TEST_F(DrawingLayer, PolylineBendsAtTheStartOrEndRow)
{
    Nodes(2);
    Node(2).SetNodeY(102);
    TWorkItem& work = AddWork(net, 1, 2, 10.0f);
    EXPECT_EQ(net.GetWorkPolyline(work), (TPointList{{4, 0}, {4, 80}, {100, 80}}));
    work.SetHorizontalLine(false);
    EXPECT_EQ(net.GetWorkPolyline(work), (TPointList{{0, 0}, {96, 0}, {96, 80}}));
    work.SetOffset(-1);
    EXPECT_EQ(net.GetWorkPolyline(work), (TPointList{{4, 0}, {4, -40}, {96, -40}, {96, 80}}));
    work.SetOffset(2);
    EXPECT_EQ(net.GetWorkPolyline(work), (TPointList{{0, 0}, {96, 0}, {96, 80}})) << "a bend on the end row is no bend";
}

TEST_F(DrawingLayer, ShortenedEndsClearTheNodeCircles)
{
    Nodes(2);
    Node(2).SetNodeY(102);
    TWorkItem& work = AddWork(net, 1, 2, 10.0f);
    TPointList points = net.GetWorkPolyline(work);
    net.ShortenPolyline(points);
    EXPECT_EQ(points, (TPointList{{4, 10}, {4, 80}, {80, 80}}));
    TPointList shortLast{{0, 0}, {50, 0}, {50, 15}};
    net.ShortenPolyline(shortLast);
    EXPECT_EQ(shortLast, (TPointList{{10, 0}, {50, 0}, {50, 0}})) << "never past the point before";
    EXPECT_EQ(net.GetWorkBounds(work), QRect(QPoint(4, 10), QPoint(80, 80)));
}

TEST_F(DrawingLayer, ArrowDirectionFromTheLastSegment)
{
    EXPECT_EQ(net.ArrowDirection({{0, 0}, {10, 0}}), 0);
    EXPECT_EQ(net.ArrowDirection({{10, 0}, {0, 0}}), 1);
    EXPECT_EQ(net.ArrowDirection({{0, 0}, {0, 10}}), 2);
    EXPECT_EQ(net.ArrowDirection({{0, 10}, {0, 0}}), 3);
}

TEST_F(DrawingLayer, WorkWithFreeTimeIsSolidThenWavyWithItsArrowHead)
{
    Nodes(3);
    AddWork(net, 1, 3, 10.0f);
    AddWork(net, 1, 2, 4.0f);
    AddWork(net, 2, 3, 2.0f);
    net.DrawWork(canvas, *net.Works().Items(2), QPoint(0, 0));
    // Node 2 at day 4, node 3 at day 10; the work 2 -> 3 finishes on day 6.
    EXPECT_EQ(Join(Lines()), Join(QStringList{"Polyline((50,0),(60,0)) pen=FF0000,solid,1,copy",
                                    "Polyline((60,0),(65,1),(70,-1),(75,1),(80,0)) pen=008000,solid,1,copy"}));
    EXPECT_EQ(Lines(CanvasOp::Polygon).size(), 1) << "the wave ends at the end point";
    EXPECT_TRUE(Lines(CanvasOp::Polygon)[0].startsWith("Polygon((80,-5),(89,0),(80,5)) pen=FF0000"));
}

TEST_F(DrawingLayer, IntervalIsDottedAndShownBesideTheDuration)
{
    Nodes(2);
    TWorkItem& work = AddWork(net, 1, 2, 4.0f, 2.0f);
    net.DrawWork(canvas, work, QPoint(0, 0));
    // Critical: width 3, red; the dotted interval clears its band first.
    EXPECT_EQ(Join(Lines()), Join(QStringList{"Polyline((20,0),(40,0)) pen=0000FF,solid,3,copy",
                                    "Polyline((10,0),(20,0)) pen=FFFFFF,solid,3,copy",
                                    "Polyline((10,0),(20,0)) pen=0000FF,dot,1,copy"}));
    QStringList texts;
    for (const platform::CanvasCall& call : canvas.Calls())
        if (call.Op == CanvasOp::DrawText)
            texts << call.Text;
    EXPECT_EQ(Join(texts), Join(QStringList{work.Caption(), "4(2)"}));
}

TEST_F(DrawingLayer, DummyBendsAtTheMiddleRowAllDotted)
{
    Nodes(3);
    Node(3).SetNodeY(102);
    AddWork(net, 1, 2, 4.0f);
    TWorkItem& dummy = AddWork(net, 2, 3, 0.0f);
    AddWork(net, 1, 3, 6.0f);
    EXPECT_EQ(net.GetWorkPolyline(dummy), (TPointList{{44, 0}, {44, 40}, {56, 40}, {56, 80}}));
    net.DrawWork(canvas, dummy, QPoint(0, 0));
    for (const QString& line : Lines())
        EXPECT_TRUE(line.contains("dot,1")) << line.toStdString();
    EXPECT_EQ(Lines().size(), 3);
    EXPECT_TRUE(Lines(CanvasOp::DrawText).isEmpty()) << "no text without an interval";
    dummy.SetDiapause(1.0f);
    canvas.Clear();
    net.DrawWork(canvas, dummy, QPoint(0, 0));
    QStringList texts;
    for (const platform::CanvasCall& call : canvas.Calls())
        if (call.Op == CanvasOp::DrawText)
            texts << call.Text;
    EXPECT_EQ(Join(texts), Join(QStringList{"1"})) << "only the interval, under the line";
}

TEST_F(DrawingLayer, CrossingJumpsOverTheCriticalWorkDrawnBefore)
{
    // Critical 1 -> 2 -> 5 turns down at x 96; work 3 -> 4 runs along row
    // 101 (y 40) from day 5 to day 13 across it.
    Nodes(5);
    Node(2).SetNodeY(102);
    Node(3).SetNodeY(101);
    Node(4).SetNodeY(101);
    Node(5).SetNodeY(102);
    AddWork(net, 1, 2, 10.0f).SetHorizontalLine(false);
    AddWork(net, 2, 5, 5.0f);
    AddWork(net, 1, 3, 5.0f);
    TWorkItem& crossing = AddWork(net, 3, 4, 8.0f);
    AddWork(net, 4, 5, 1.0f);
    ASSERT_TRUE(net.IsKeyWork(*net.Works().Items(0)));
    ASSERT_FALSE(net.IsKeyWork(crossing));
    net.DrawWorks(canvas, QPoint(0, 0));
    QStringList row;
    for (const QString& line : Lines())
        if (line.contains(",40),("))
            row << line;
    EXPECT_EQ(Join(row), Join(QStringList{"Polyline((4,40),(30,40)) pen=FF0000,solid,1,copy",
                                          "Polyline((60,40),(91,40)) pen=FF0000,solid,1,copy",
                                          "Polyline((101,40),(110,40)) pen=FF0000,solid,1,copy"}));
    EXPECT_EQ(Join(Lines(CanvasOp::Arc)), Join(QStringList{"Arc(91,34,101,44,101,41,91,41) pen=FF0000,solid,1,copy"}))
        << "one arc, over the crossing, in the crossing work's colour";
}

TEST_F(DrawingLayer, CrossingNearAPieceEndLeavesNoBackwardRest)
{
    Nodes(2);
    Node(2).SetNodeY(103);
    TWorkItem& other = AddWork(net, 1, 2, 5.0f);
    // Its solid pieces: (4,10)-(4,120) down and (4,120)-(30,120).
    other.SetDrawn(true);
    struct Case {
        TPointList solid;
        TPointList expected;
    };
    const Case cases[] = {
        {{{-40, 60}, {60, 60}}, {{-40, 60}, {-1, 60}, {9, 60}, {60, 60}}},
        {{{1, 60}, {60, 60}}, {{9, 60}, {60, 60}}},
        {{{60, 60}, {1, 60}}, {{60, 60}, {9, 60}}},
        {{{-1, 60}, {7, 60}}, {}},
        {{{-1, 60}, {9, 60}}, {}},
    };
    for (const Case& c : cases) {
        TPointList solid = c.solid;
        TPointList points;
        std::vector<int> kinds;
        net.BuildCrossings(solid, points, kinds);
        EXPECT_EQ(solid, c.expected) << c.solid[0].x() << ".." << c.solid[1].x();
        EXPECT_EQ(points, (TPointList{{4, 60}}));
        EXPECT_EQ(kinds, (std::vector<int>{0}));
    }
    TPointList vertical{{20, 100}, {20, 140}};
    TPointList points;
    std::vector<int> kinds;
    net.BuildCrossings(vertical, points, kinds);
    EXPECT_EQ(vertical, (TPointList{{20, 100}, {20, 115}, {20, 125}, {20, 140}}));
    EXPECT_EQ(kinds, (std::vector<int>{1}));
}

TEST_F(DrawingLayer, WorkWithAMissingNodeIsNeitherDrawnNorCrossed)
{
    Nodes(2);
    AddWork(net, 1, 2, 5.0f);
    TWorkItem& orphan = AddWork(net, 2, 9, 3.0f);
    TWorkItem& foundling = AddWork(net, 9, 1, 3.0f);
    for (TWorkItem* broken : {&orphan, &foundling}) {
        EXPECT_LT(net.GetWorkPolyline(*broken).size(), 2u);
        EXPECT_TRUE(net.GetWorkBounds(*broken).isNull());
        canvas.Clear();
        net.DrawWork(canvas, *broken, QPoint(0, 0));
        EXPECT_TRUE(canvas.Calls().empty());
        broken->SetDrawn(true);
    }
    TPointList solid{{0, 0}, {100, 0}};
    TPointList points;
    std::vector<int> kinds;
    net.BuildCrossings(solid, points, kinds);
    EXPECT_TRUE(points.empty());
    canvas.Clear();
    net.DrawWorks(canvas, QPoint(0, 0));
    EXPECT_EQ(Join(Lines()), Join(QStringList{"Polyline((10,0),(30,0)) pen=0000FF,solid,3,copy"}))
        << "only the work with both nodes";
}

TEST_F(DrawingLayer, HalfDayWorkGetsATextBoxOfItsOwnWidth)
{
    Nodes(2);
    TWorkItem& work = AddWork(net, 1, 2, 0.5f);
    work.SetCaption("挖土");
    net.DrawWork(canvas, work, QPoint(0, 0));
    canvas.Font = net.Works().Font();
    const int nameWidth = canvas.TextWidth("挖土");
    bool sawName = false;
    for (const platform::CanvasCall& call : canvas.Calls()) {
        if (call.Op != CanvasOp::DrawText)
            continue;
        const int left = call.Args[0];
        const int right = call.Args[2];
        EXPECT_GE(right - left, 0) << call.ToString().toStdString();
        if (call.Text == "挖土") {
            sawName = true;
            EXPECT_EQ(right - left, nameWidth);
            // The stretch runs from x 10 to x -5: its centre is 2.
            EXPECT_EQ(left, 2 - nameWidth / 2);
        }
    }
    EXPECT_TRUE(sawName);
}

TEST_F(DrawingLayer, VerticalOnlyWorkPutsItsTextBesideTheLine)
{
    // One pixel per two days: days 0 and 1 share x 0.
    net.SetSmallWidth(1);
    Nodes(2);
    Node(2).SetNodeY(102);
    TWorkItem& work = AddWork(net, 1, 2, 1.0f);
    ASSERT_EQ(net.GetWorkPolyline(work), (TPointList{{0, 0}, {0, 80}}));
    net.DrawWork(canvas, work, QPoint(0, 0));
    const QStringList texts = Lines(CanvasOp::DrawText);
    ASSERT_EQ(texts.size(), 2);
    for (const platform::CanvasCall& call : canvas.Calls()) {
        if (call.Op == CanvasOp::DrawText) {
            EXPECT_GT(call.Args[2], 3) << "right of the line";
        }
    }
}

TEST_F(DrawingLayer, SelectedWorkIsAquaOnScreenOnlyButItsArrowKeepsItsColour)
{
    Nodes(2);
    TWorkItem& work = AddWork(net, 1, 2, 5.0f);
    work.SetSelected(true);
    net.SetCanvas(&canvas);
    net.DrawWork(canvas, work, QPoint(0, 0));
    EXPECT_TRUE(Lines()[0].contains("pen=FFFF00")) << Lines()[0].toStdString();
    EXPECT_TRUE(Lines(CanvasOp::Polygon)[0].contains("pen=0000FF,solid,1,copy brush=0000FF"));
    net.SetCanvas(nullptr);
    canvas.Clear();
    net.DrawWork(canvas, work, QPoint(0, 0));
    EXPECT_TRUE(Lines()[0].contains("pen=0000FF,solid,3")) << Lines()[0].toStdString();
}

TEST_F(DrawingLayer, NodesWithNumbersAndTheFlag)
{
    Nodes(2);
    AddWork(net, 1, 2, 5.0f);
    net.Nodes().Items(1)->SetSelected(true);
    RecordingCanvas screen;
    net.SetCanvas(&screen);
    screen.Brush.Color = net.Color();
    net.DrawNodes(screen, QPoint(100, 50));
    const QStringList ellipses = screen.Log(CanvasOp::Ellipse);
    EXPECT_EQ(Join(ellipses), Join(QStringList{"Ellipse(90,40,110,60) pen=0000FF,solid,1,copy brush=000000,solid",
                                     "Ellipse(140,40,160,60) pen=FFFF00,solid,1,copy brush=000000,solid"}));
    EXPECT_EQ(Join(screen.Log(CanvasOp::Polygon)), Join(QStringList{"Polygon((170,30),(190,30),(185,40),(165,40),(160,50)) pen=FFFF00,solid,1,copy "
                           "brush=0000FF,solid"}));
    const QStringList numbers = screen.Log(CanvasOp::TextOut);
    ASSERT_EQ(numbers.size(), 2);
    EXPECT_TRUE(numbers[0].contains("\"1\"") && numbers[0].contains("008000")) << numbers[0].toStdString();
    // On an export the flag is outlined in black and nothing is aqua.
    net.DrawNodes(canvas, QPoint(100, 50));
    EXPECT_TRUE(Lines(CanvasOp::Polygon)[0].contains("pen=000000")) << Lines(CanvasOp::Polygon)[0].toStdString();
    EXPECT_TRUE(Lines(CanvasOp::Ellipse)[1].contains("pen=0000FF"));
    net.SetShowRedFlag(false);
    canvas.Clear();
    net.DrawNodes(canvas, QPoint(100, 50));
    EXPECT_TRUE(Lines(CanvasOp::Polygon).isEmpty());
}

TEST_F(DrawingLayer, ScreenSkipsNodesOutsideTheClipArea)
{
    Nodes(2);
    AddWork(net, 1, 2, 200.0f);
    RecordingCanvas screen(QSize(300, 200));
    net.SetCanvas(&screen);
    net.DrawNodes(screen, QPoint(0, 50));
    EXPECT_EQ(screen.Log(CanvasOp::Ellipse).size(), 1);
    net.DrawNodes(canvas, QPoint(0, 50));
    EXPECT_EQ(Lines(CanvasOp::Ellipse).size(), 2);
}

TEST_F(DrawingLayer, DragsInHalfDaySteps)
{
    Nodes(2);
    TWorkItem& work = AddWork(net, 1, 2, 5.0f);
    const std::pair<int, float> cases[] = {{7, 5.5f}, {-4, 5.0f}, {-10, 4.0f}, {-100, 5.0f}, {40, 9.0f}};
    for (const auto& [dx, duration] : cases) {
        work.SetContinueTime(5.0f);
        net.DragWorkDuration(work, QPoint(100, 0), 5.0f, QPoint(100 + dx, 0));
        EXPECT_EQ(work.ContinueTime(), duration) << dx;
    }
    // Drags across the whole coordinate range neither overflow nor wrap.
    net.SetSmallDate(std::numeric_limits<int>::max());
    work.SetContinueTime(5.0f);
    net.DragWorkDuration(work, QPoint(std::numeric_limits<int>::min(), 0), 5.0f,
                         QPoint(std::numeric_limits<int>::max(), 0));
    EXPECT_GT(work.ContinueTime(), 1e9f);
    net.DragWorkDuration(work, QPoint(std::numeric_limits<int>::max(), 0), 5.0f,
                         QPoint(std::numeric_limits<int>::min(), 0));
    EXPECT_GT(work.ContinueTime(), 1e9f) << "a result below zero is ignored";
    net.SetSmallDate(2);
    net.DragNodeOffset(QPoint(0, 0), QPoint(7, 0));
    EXPECT_EQ(Node(2).Offset(), 0.0f) << "no node selected";
    Node(2).SetSelected(true);
    net.DragNodeOffset(QPoint(0, 0), QPoint(7, 39));
    EXPECT_EQ(Node(2).Offset(), 0.5f);
    net.DragNodeOffset(QPoint(0, 0), QPoint(7, -80));
    EXPECT_EQ(Node(2).NodeY(), 98);
    EXPECT_EQ(Node(2).Offset(), 0.5f);
}

TEST_F(DrawingLayer, MoveSelectionMovesEachNodeOnceAndReportsIt)
{
    Nodes(3);
    TWorkItem& work = AddWork(net, 1, 2, 5.0f);
    AddWork(net, 2, 3, 5.0f);
    work.SetSelected(true);
    Node(1).SetSelected(true);
    net.netChanged = 0;
    net.Fake().fullInvalidations = 0;
    net.SetModified(false);
    net.MoveSelection(QPoint(0, 0), QPoint(0, 85));
    EXPECT_EQ(Node(1).NodeY(), 102);
    EXPECT_EQ(Node(2).NodeY(), 102);
    EXPECT_EQ(Node(3).NodeY(), 100);
    EXPECT_TRUE(net.Modified());
    EXPECT_GE(net.Fake().fullInvalidations, 1);
    EXPECT_EQ(net.netChanged, 1);
    net.netChanged = 0;
    net.MoveSelection(QPoint(0, 0), QPoint(0, 39));
    EXPECT_EQ(Node(1).NodeY(), 102);
    EXPECT_EQ(net.netChanged, 0) << "nothing moved";
}

class HandleCountingNetwork : public DrawNetwork {
public:
    void ShowHandles(const TPointList& points, TWorkItem&) override { shown.push_back(points); }
    std::vector<TPointList> shown;
};

TEST(DrawingHandles, ShownWithThePolylineButNotDuringAnExport)
{
    HandleCountingNetwork net;
    net.SetTopLinePosition(0);
    AddNodes(net, 2, 100);
    net.Nodes().Items(1)->SetNodeY(102);
    TWorkItem& work = AddWork(net, 1, 2, 10.0f);
    net.GetWorkPolyline(work);
    EXPECT_TRUE(net.shown.empty()) << "not selected";
    work.SetSelected(true);
    net.GetWorkPolyline(work);
    ASSERT_EQ(net.shown.size(), 1u);
    EXPECT_EQ(net.shown[0], (TPointList{{0, 0}, {0, 80}, {100, 80}})) << "before the line offset";
    net.SetExporting(true);
    RecordingCanvas canvas;
    net.DrawWorks(canvas, QPoint(0, 0));
    net.GetWorkBounds(work);
    EXPECT_EQ(net.shown.size(), 1u);
    net.SetExporting(false);
    net.DrawWorks(canvas, QPoint(0, 0));
    EXPECT_EQ(net.shown.size(), 2u) << "once per paint pass";
    EXPECT_FALSE(net.StartHandle().Visible);
    EXPECT_TRUE(net.StartHandle().ShowAt(3, 4));
    EXPECT_FALSE(net.StartHandle().ShowAt(3, 4)) << "already in place";
}

// A generated network with bends, offsets, intervals, dummies and
// crossings, on rows.
void BuildGenerated(TVYRNetworkAddDraw& net, int works, unsigned seed)
{
    std::mt19937 random(seed);
    const int layers = std::max(3, works / 12);
    const int width = 6;
    AddNodes(net, 2 + layers * width, 100);
    net.Works().BeginUpdate();
    net.Nodes().BeginUpdate();
    for (int i = 1; i < net.Nodes().Count() - 1; ++i) {
        net.Nodes().Items(i)->SetNodeY(100 + int(random() % 12));
        if (random() % 9 == 0)
            net.Nodes().Items(i)->SetOffset(float(int(random() % 5) - 2));
    }
    net.Nodes().EndUpdate();
    const auto id = [&](int layer, int i) { return 2 + layer * width + i; };
    const int last = 2 + layers * width;
    const auto add = [&](int prior, int next) {
        TWorkItem& work = net.Works().Add();
        work.SetPriorNode(prior);
        work.SetNextNode(next);
        work.SetContinueTime(random() % 5 == 0 ? 0.0f : float(1 + random() % 8) * 0.5f);
        if (random() % 6 == 0)
            work.SetDiapause(1.0f);
        work.SetHorizontalLine(random() % 2);
        if (random() % 10 == 0)
            work.SetOffset(int(random() % 3) - 1);
    };
    for (int i = 0; i < width; ++i)
        add(1, id(0, i));
    for (int layer = 1; layer < layers; ++layer)
        for (int i = 0; i < width; ++i)
            add(id(layer - 1, int(random() % width)), id(layer, i));
    for (int i = 0; i < width; ++i)
        add(id(layers - 1, i), last);
    while (net.Works().Count() < works) {
        const int from = int(random() % (layers - 1));
        add(id(from, int(random() % width)), id(from + 1, int(random() % width)));
    }
    net.Works().EndUpdate();
    net.BuildOffsetColumns();
}

TEST(DrawingPass, CachedPassDrawsWhatThePlainRoutinesDraw)
{
    DrawNetwork net;
    BuildGenerated(net, 400, 5);
    net.Works().Items(7)->SetSelected(true);
    const QPoint origin(60, 30);
    RecordingCanvas passCanvas(QSize(20000, 4000));
    net.DrawWorks(passCanvas, origin);
    // The same order by hand, each work drawn on its own without a pass.
    RecordingCanvas plainCanvas(QSize(20000, 4000));
    for (int i = 0; i < net.Works().Count(); ++i)
        net.Works().Items(i)->SetDrawn(false);
    for (const bool critical : {true, false})
        for (int i = 0; i < net.Works().Count(); ++i) {
            TWorkItem& work = *net.Works().Items(i);
            if (net.IsKeyWork(work) == critical) {
                net.DrawWork(plainCanvas, work, origin);
                work.SetDrawn(true);
            }
        }
    EXPECT_GT(passCanvas.Log(CanvasOp::Arc).size(), 10) << "the network has crossings";
    EXPECT_GT(passCanvas.Log(CanvasOp::Polyline).size(), 800);
    EXPECT_EQ(passCanvas.Log(), plainCanvas.Log());
}

TEST(DrawingPass, ScreenViewEqualsTheFullRenderInsideItsClip)
{
    DrawNetwork net;
    BuildGenerated(net, 300, 9);
    net.SetShowRedFlag(false);
    const QPoint origin = net.GetOrigin();
    QImage full(2400, 700, QImage::Format_RGB32);
    full.fill(Qt::black);
    {
        platform::PainterCanvas canvas(full);
        canvas.Brush.Color = net.Color();
        net.DrawWorks(canvas, origin);
        net.DrawNodes(canvas, origin);
    }
    const QRect view(700, 100, 500, 300);
    QImage screen(full.size(), QImage::Format_RGB32);
    screen.fill(Qt::black);
    {
        platform::PainterCanvas canvas(screen);
        canvas.SetClipRegion(QRegion(view));
        net.SetCanvas(&canvas);
        net.Paint();
        net.SetCanvas(nullptr);
    }
    EXPECT_EQ(screen.copy(view), full.copy(view));
    QImage blank(view.size(), QImage::Format_RGB32);
    blank.fill(Qt::black);
    EXPECT_NE(full.copy(view), blank) << "the view shows something";
}

// The pieces of the works are kept from one repaint to the next: after each
// kind of edit a repaint of a network drawn before shows what the first
// repaint of the same edited network shows.
TEST(DrawingPass, KeptPiecesFollowEveryEdit)
{
    using Edit = std::function<void(DrawNetwork&)>;
    const std::vector<std::pair<const char*, Edit>> edits{
        {"node row", [](DrawNetwork& net) { net.Nodes().Items(20)->SetNodeY(105); }},
        {"duration", [](DrawNetwork& net) { net.Works().Items(30)->SetContinueTime(9.0f); }},
        {"dummy", [](DrawNetwork& net) { net.Works().Items(33)->SetContinueTime(0.0f); }},
        {"interval", [](DrawNetwork& net) { net.Works().Items(40)->SetDiapause(2.0f); }},
        {"bend row", [](DrawNetwork& net) { net.Works().Items(50)->SetOffset(2); }},
        {"bend end", [](DrawNetwork& net) {
             for (int i = 0; i < net.Works().Count(); ++i)
                 net.Works().Items(i)->SetHorizontalLine(!net.Works().Items(i)->HorizontalLine());
         }},
        {"node offset", [](DrawNetwork& net) {
             net.Nodes().Items(25)->SetOffset(2.0f);
             net.BuildOffsetColumns();
         }},
        {"day width", [](DrawNetwork& net) { net.SetSmallWidth(24); }},
        {"first day", [](DrawNetwork& net) { net.SetStartJinDu(1); }},
        {"days per step", [](DrawNetwork& net) { net.SetSmallDate(3); }},
        {"row spacing", [](DrawNetwork& net) { net.SetSmallLineSpace(44); }},
        {"node radius", [](DrawNetwork& net) { net.Nodes().SetRadii(12); }},
        {"arrow width", [](DrawNetwork& net) { net.Works().SetArrowWidth(14); }},
        {"line offset", [](DrawNetwork& net) { net.Works().SetLineOffset(9); }},
        {"added work", [](DrawNetwork& net) { AddWork(net, 3, 20, 2.0f); }},
        {"deleted work", [](DrawNetwork& net) { net.Works().Delete(12); }},
        {"deleted node", [](DrawNetwork& net) { net.Nodes().Delete(22); }},
    };
    const auto repaint = [](DrawNetwork& net) { return RenderScreen(net, QSize(2400, 700)); };
    for (const auto& [name, edit] : edits) {
        DrawNetwork kept;
        BuildGenerated(kept, 300, 9);
        const QImage before = repaint(kept);
        EXPECT_EQ(repaint(kept), before) << name << ": a repaint from the kept pieces";
        edit(kept);
        const QImage after = repaint(kept);
        DrawNetwork fresh;
        BuildGenerated(fresh, 300, 9);
        edit(fresh);
        EXPECT_EQ(after, repaint(fresh)) << name;
        EXPECT_NE(after, before) << name << ": the edit shows";
    }
}

// The geometry of the drawing is kept from one repaint to the next, and the
// screen draws only what meets its clip: a view moved by a scroll position
// onto a clipped back buffer shows, after each kind of change, what the
// first repaint of the same changed network shows.
TEST(DrawingPass, KeptGeometryFollowsEveryChange)
{
    // The drawing area the view at start shows, and the n-th work and node
    // in it.
    const auto area = [](DrawNetwork& net) { return QRect(520, 70, 600, 330).translated(-net.GetOrigin()); };
    const auto shownWork = [&area](DrawNetwork& net, int n) -> TWorkItem& {
        for (int i = 0;; ++i)
            if (net.GetWorkBounds(*net.Works().Items(i)).intersects(area(net)) && n-- == 0)
                return *net.Works().Items(i);
    };
    const auto shownNode = [&area](DrawNetwork& net, int n) -> TNodeItem& {
        for (int i = 0;; ++i)
            if (area(net).contains(net.GetNodePosition(net.Nodes().Items(i))) && n-- == 0)
                return *net.Nodes().Items(i);
    };
    struct Change {
        const char* name;
        std::function<void(DrawNetwork&)> edit;
        QPoint scroll;
    };
    const QPoint start(500, 60);
    const std::vector<Change> changes{
        {"node row", [&](DrawNetwork& net) { shownNode(net, 2).SetNodeY(shownNode(net, 2).NodeY() + 3); }, start},
        {"duration", [&](DrawNetwork& net) { shownWork(net, 1).SetContinueTime(7.5f); }, start},
        {"caption", [](DrawNetwork& net) {
             for (int i = 0; i < net.Works().Count(); ++i)
                 net.Works().Items(i)->SetCaption(QStringLiteral("工序%1").arg(i));
         }, start},
        {"works font", [](DrawNetwork& net) {
             platform::TFont font = net.Works().Font();
             font.Size = 12;
             net.Works().SetFont(font);
         }, start},
        {"selection", [&](DrawNetwork& net) {
             shownWork(net, 3).SetSelected(true);
             shownNode(net, 1).SetSelected(true);
         }, start},
        {"scroll", [](DrawNetwork&) {}, QPoint(900, 140)},
        {"zoom", [](DrawNetwork& net) {
             net.SetSmallWidth(30);
             net.SetSmallLineSpace(56);
         }, start},
        {"scale", [](DrawNetwork& net) { net.SetSmallDate(1); }, start},
        {"bend end", [](DrawNetwork& net) {
             for (int i = 0; i < net.Works().Count(); ++i)
                 net.Works().Items(i)->SetHorizontalLine(!net.Works().Items(i)->HorizontalLine());
         }, start},
        {"export between", [](DrawNetwork& net) {
             net.SetExporting(true);
             RecordingCanvas other(QSize(3000, 800));
             net.DrawWorks(other, QPoint(0, 0));
             net.DrawNodes(other, QPoint(0, 0));
             net.SetExporting(false);
         }, QPoint(300, 0)},
    };
    const auto view = [](DrawNetwork& net, QPoint scroll) {
        QImage image(640, 360, QImage::Format_RGB32);
        image.fill(Qt::black);
        platform::PainterCanvas target(image);
        target.SetClipRegion(QRegion(20, 10, 600, 330));
        platform::TranslatedCanvas screen(target, -scroll);
        net.SetCanvas(&screen);
        net.Paint();
        net.SetCanvas(nullptr);
        return image;
    };
    for (const Change& change : changes) {
        DrawNetwork kept;
        BuildGenerated(kept, 500, 13);
        const QImage before = view(kept, start);
        EXPECT_EQ(view(kept, start), before) << change.name << ": a repaint from the kept geometry";
        change.edit(kept);
        const QImage after = view(kept, change.scroll);
        DrawNetwork fresh;
        BuildGenerated(fresh, 500, 13);
        change.edit(fresh);
        EXPECT_EQ(after, view(fresh, change.scroll)) << change.name;
        EXPECT_NE(after, before) << change.name << ": the change shows";
    }
}

} // namespace

namespace {

// Settings at the ends of their range (as a damaged file can give them)
// draw without overflow on a bitmap and on the recording canvas.
TEST(DrawingLimits, ExtremeSettingsDrawWithoutOverflow)
{
    for (const int extreme : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0}) {
        DrawNetwork net;
        BuildGenerated(net, 40, 2);
        net.Nodes().SetRadii(extreme);
        net.Works().SetArrowWidth(extreme);
        net.Works().SetArrowHeight(extreme);
        net.Works().SetLineOffset(extreme);
        net.Works().SetKeyLineWidth(extreme);
        net.Works().SetLineWidth(extreme);
        net.Works().SetCapInterval(extreme);
        net.SetTopLinePosition(extreme);
        net.SetTopLineID(extreme == 0 ? 0 : -(extreme / 2));
        net.Works().Items(3)->SetOffset(extreme);
        net.Works().Items(5)->SetCaption(QString(300, QChar(0x56FD)));
        RecordingCanvas record;
        net.DrawWorks(record, QPoint(10, 10));
        net.DrawNodes(record, QPoint(10, 10));
        RenderScreen(net, QSize(300, 200));
        for (int i = 0; i < net.Works().Count(); ++i)
            net.GetWorkBounds(*net.Works().Items(i));
    }
}

} // namespace
