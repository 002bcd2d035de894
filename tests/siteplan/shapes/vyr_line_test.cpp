// The polyline and the point-list mechanics it shares with its family:
// segment directions, the readout while drawing, hit and band tests, the
// point methods, drawing and the labelled line.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/cancelling_editor.h"

#include "siteplan/grab_handles.h"
#include "siteplan/segment_geometry.h"
#include "siteplan/shape_property_editor.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/word_line.h"

#include "platform/fonts.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDir>
#include <QImage>

#include <limits>
#include <numbers>
#include <span>
#include <vector>

using platform::CanvasCall;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRLine;

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

TEST(SegmentAngle, QuartersAndTheirNeighbours)
{
    const struct {
        QPoint b;
        float angle;
    } cases[] = {
        {{10, 0}, 0},           {{0, -10}, Pi / 2},      {{-10, 0}, Pi},
        {{0, 10}, 3 * Pi / 2},  {{0, 0}, 0},             {{10, -10}, Pi / 4},
        {{-10, -10}, 3 * Pi / 4}, {{-10, 10}, 5 * Pi / 4}, {{10, 10}, 7 * Pi / 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.b.x() << "," << c.b.y());
        EXPECT_NEAR(siteplan::SegmentAngle({0, 0}, c.b), c.angle, 1e-6);
        EXPECT_NEAR(siteplan::SegmentAngle(QPoint(50, 70), QPoint(50, 70) + c.b), c.angle, 1e-6);
    }
    EXPECT_FLOAT_EQ(siteplan::SegmentLength({1, 2}, {4, 6}), 5.0f);
}

// 254 pixels per inch at 1 : 100: one pixel is 100 world units (10 mm), so
// every pixel is a snapped world point.
struct Polyline : PlanFixture {
    QStringList hints;

    Polyline() : PlanFixture(254, 100)
    {
        map.onMapHint = [this](siteplan::TVyrMapCom*, const QString& hint) { hints << hint; };
    }

    TVYRLine* AddLine(std::initializer_list<QPoint> points) { return ClickDrawn<TVYRLine>(TVYRLine::Kind, points); }

    static std::vector<QPoint> WorldPoints(const TVYRLine& line)
    {
        return {line.Points.begin(), line.Points.begin() + line.PointCount()};
    }
    std::vector<QPoint> ScreenPoints(const TVYRLine& line) const
    {
        std::vector<QPoint> out;
        for (int i = 0; i < line.GetPointCount(); ++i)
            out.push_back(line.GetPointPos(i));
        return out;
    }
};

TEST_F(Polyline, ReadoutWhileDrawingInWholeDecimetresAndDegrees)
{
    map.SetDrawKind(TVYRLine::Kind);
    Press({100, 100});
    const struct {
        QPoint to;
        QString hint;
    } moves[] = {
        {{112, 100}, "当前线段长度：100mm, 角度：0 度"},   // 120 mm
        {{115, 100}, "当前线段长度：200mm, 角度：0 度"},   // 150 mm, half to even
        {{125, 100}, "当前线段长度：200mm, 角度：0 度"},   // 250 mm, half to even
        {{100, 80}, "当前线段长度：200mm, 角度：90 度"},   // up on the screen
        {{91, 112}, "当前线段长度：200mm, 角度：233 度"},  // 3-4-5: 150 mm
        {{100, 100}, "当前线段长度：0mm, 角度：0 度"},
    };
    for (const auto& m : moves) {
        hints.clear();
        Move(m.to);
        EXPECT_EQ(hints, QStringList{m.hint});
    }
    Move({120, 100});
    Release({120, 100});
    Press({120, 130});
    hints.clear();
    Move({120, 140});
    // The segment from the second vertex, pointing down.
    EXPECT_EQ(hints, QStringList{"当前线段长度：400mm, 角度：270 度"});
}

TEST_F(Polyline, PressByPressRubberBandAndDoubleClickEnd)
{
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    map.SetCanvas(&canvas);
    map.DefaultPen.SetWidth(3);
    map.DefaultPen.SetStyle(platform::TPenStyle::psDash);
    map.SetDrawKind(TVYRLine::Kind);
    const auto lines = [&canvas] {
        QStringList out;
        for (const CanvasCall& call : canvas.Calls())
            if (call.Op == CanvasOp::LineTo || call.Op == CanvasOp::MoveTo)
                out << call.ToString();
        canvas.Clear();
        return out;
    };

    Press({100, 100});
    auto* line = dynamic_cast<TVYRLine*>(map.DrawingMapCom());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(WorldPoints(*line), (std::vector<QPoint>{{10000, 10000}, {10000, 10000}}));
    const QString pen = " pen=0000FF,dash,3,notxor";
    EXPECT_EQ(lines(), (QStringList{"MoveTo(100,100)", "LineTo(100,100)" + pen}));
    Move({200, 100});
    // Erased where it was, drawn where the mouse is.
    EXPECT_EQ(lines(), (QStringList{"MoveTo(100,100)", "LineTo(100,100)" + pen, "MoveTo(100,100)",
                                    "LineTo(200,100)" + pen}));
    Release({200, 100});
    EXPECT_EQ(lines(), QStringList{});
    Press({200, 100});
    EXPECT_EQ(line->PointCount(), 3);
    EXPECT_EQ(lines(), (QStringList{"MoveTo(200,100)", "LineTo(200,100)" + pen}));
    Move({200, 300});
    EXPECT_EQ(lines(), (QStringList{"MoveTo(200,100)", "LineTo(200,100)" + pen, "MoveTo(200,100)",
                                    "LineTo(200,300)" + pen}));
    Release({200, 300});
    Click({200, 300});
    DoubleClick({200, 300});
    // Press-release-press at the same spot and the double click leave
    // repeated points, which the end of drawing removes.
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(WorldPoints(*line), (std::vector<QPoint>{{10000, 10000}, {20000, 10000}, {20000, 30000}}));
    EXPECT_TRUE(map.IsSelected(line));
    EXPECT_EQ(line->OwnPen.Value(), map.DefaultPen.Value());
    EXPECT_EQ(line->Attributes(), siteplan::attr::Pen);
    EXPECT_EQ(line->GetSelectMargin(), 2);
    EXPECT_EQ(line->GetBounds(), (siteplan::TRect{100, 100, 200, 300}));
    map.SetCanvas(nullptr);
}

TEST_F(Polyline, LineOfOnePointIsDiscarded)
{
    AddLine({{100, 100}, {100, 100}});
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_EQ(addMapAfter, 1);
}

TEST_F(Polyline, HundredthPointEndsDrawingAndTheNextIsRefused)
{
    map.SetDrawKind(TVYRLine::Kind);
    Drag({100, 100}, {101, 110});
    for (int i = 2; i < 100; ++i)
        Click({100 + i, 100 + (i % 2) * 10});
    ASSERT_EQ(map.MapComCount(), 1);
    auto* line = dynamic_cast<TVYRLine*>(map.MapCom(0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->PointCount(), 100);
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    EXPECT_TRUE(map.IsSelected(line));
}

TEST_F(Polyline, SegmentHitTest)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}, {300, 300}, {400, 310}});
    const struct {
        QPoint p;
        int segment; // 0: no hit
    } cases[] = {
        {{200, 104}, 1},  {{200, 96}, 1},   {{200, 105}, 0}, {{200, 95}, 0}, // horizontal
        {{304, 200}, 2},  {{305, 200}, 0},                                   // vertical
        {{350, 307}, 3},  {{350, 302}, 3},  {{350, 300}, 0},                 // slope 0.1
        {{400, 307}, 3},  {{401, 310}, 0},  {{300, 297}, 2},                 // ends
        {{100, 97}, 1},   {{98, 100}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        int segment = 0;
        QPoint hit(-1, -1);
        EXPECT_EQ(line->HitSegment(c.p, segment, hit), c.segment != 0);
        EXPECT_EQ(line->HitTest(c.p), c.segment != 0);
        if (c.segment != 0) {
            EXPECT_EQ(segment, c.segment);
            EXPECT_EQ(hit, c.p * 100);
        } else {
            EXPECT_EQ(hit, QPoint(-1, -1));
        }
    }
    // A click 3 pixels above a slope-0.1 segment but outside its box in y.
    TVYRLine* sloped = AddLine({{500, 500}, {600, 510}});
    EXPECT_FALSE(sloped->HitTest({500, 497}));
    EXPECT_TRUE(sloped->HitTest({500, 502}));
}

TEST_F(Polyline, BandSelectsWhenOneSegmentTouchesTheRectangle)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 300}, {300, 500}});
    const struct {
        siteplan::TRect r;
        bool in;
    } cases[] = {
        {{150, 150, 160, 160}, true},  // across the diagonal
        {{110, 170, 130, 190}, false}, // in the box, beside the diagonal
        {{250, 400, 260, 410}, false}, // left of the vertical segment
        {{250, 400, 300, 410}, true},  // touching it
        {{0, 0, 50, 50}, false},       // outside every box
        {{0, 0, 1000, 1000}, true},
        {{300, 500, 310, 510}, true},  // at the last vertex
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r.Left << "," << c.r.Top);
        EXPECT_EQ(line->InRect(c.r), c.in);
    }
    map.ClearSelection();
    Drag({140, 140}, {160, 160});
    EXPECT_TRUE(map.IsSelected(line));
}

TEST_F(Polyline, HandlesMoveVerticesAndTheBodyMovesTheLine)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}, {300, 300}});
    EXPECT_EQ(ScreenPoints(*line), (std::vector<QPoint>{{100, 100}, {300, 100}, {300, 300}}));
    EXPECT_EQ(line->GetPointCursor(1), platform::cursor::kSizeAll);
    map.Modified = false;
    Drag({300, 100}, {320, 90});
    EXPECT_EQ(ScreenPoints(*line), (std::vector<QPoint>{{100, 100}, {320, 90}, {300, 300}}));
    EXPECT_TRUE(map.Modified);
    Drag({200, 95}, {210, 105}); // on the first segment
    EXPECT_EQ(ScreenPoints(*line), (std::vector<QPoint>{{110, 110}, {330, 100}, {310, 310}}));
    line->RotateAngle = 900;
    // A quarter turn about the centre (220, 205) of its box takes the
    // first segment to (315, 95)-(325, 315).
    EXPECT_EQ(line->GetPointPos(0), QPoint(315, 95));
    EXPECT_TRUE(line->HitTest({320, 205}));
    EXPECT_FALSE(line->HitTest({220, 105}));
}

TEST_F(Polyline, MovedPointsStopAtTheEdgeOfTheCoordinateRange)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    constexpr int max = std::numeric_limits<int>::max();
    constexpr int min = std::numeric_limits<int>::min();
    line->Points[0] = QPoint(max - 50, min + 50);
    line->MoveWorld(QPoint(100, -100));
    EXPECT_EQ(line->Points[0], QPoint(max, min));
    EXPECT_EQ(line->Points[1], QPoint(30100, 9900));
    // On the screen such a point stays where handles and frames around it
    // can still be computed.
    map.SetMapScale(1); // a world unit is a pixel
    line->RotateAngle = 450;
    map.SelectMapCom(line, true);
    RecordingCanvas canvas{QSize(400, 300), 254};
    map.Paint(canvas);
    const QPoint far = line->GetPointPos(0);
    EXPECT_LE(std::abs(far.x()), siteplan::ScreenLimit);
    EXPECT_LE(std::abs(far.y()), siteplan::ScreenLimit);
    EXPECT_EQ(map.WorldToScreen(line->Points[0]), QPoint(siteplan::ScreenLimit, -siteplan::ScreenLimit));
}

// A stored pen width at either end of the range counts as at most 1024
// pixels for the selection frame, so a selected line at the edge of the
// screen range draws its frame without overflow (the sanitizer build checks).
TEST_F(Polyline, HugeStoredPenWidthsKeepTheFrameInRange)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    map.SetMapScale(1);
    line->Points[0] = QPoint(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    line->Points[1] = QPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    RecordingCanvas canvas{QSize(400, 300), 254};
    for (const int width : {std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        line->OwnPen.SetWidth(width);
        EXPECT_LE(std::abs(line->GetSelectMargin()), 512);
        line->Draw(canvas, siteplan::drawmode::SelectedRotating);
        EXPECT_EQ(line->OwnPen.Width(), width);
    }
}

TEST_F(Polyline, PointMethodsAddInsertDelete)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}, {300, 300}});
    ASSERT_EQ(line->MethodCount, 3);
    EXPECT_EQ((QStringList{line->GetMethodBitmap(0), line->GetMethodBitmap(1), line->GetMethodBitmap(2),
                           line->GetMethodBitmap(3)}),
              (QStringList{"ADD", "INSERT", "DELETE", ""}));
    EXPECT_EQ((QStringList{line->GetMethodHint(0), line->GetMethodHint(1), line->GetMethodHint(2),
                           line->GetMethodHint(-1)}),
              (QStringList{"增加点", "插入点", "删除点", ""}));
    EXPECT_EQ(line->GetMethodCursor(0), platform::cursor::kCross);
    const auto screen = [&] { return ScreenPoints(*line); };

    map.SetEditMethod(siteplan::pointmethod::Add);
    map.Modified = false;
    Click({50, 400}); // anywhere: appended
    EXPECT_EQ(screen(), (std::vector<QPoint>{{100, 100}, {300, 100}, {300, 300}, {50, 400}}));
    EXPECT_TRUE(map.Modified);
    // The vertex handles follow, after the move and rotation handles.
    EXPECT_EQ(line->GrabHandles()->Count(), 2 + 4);

    map.SetEditMethod(siteplan::pointmethod::Insert);
    Click({302, 200}); // on segment 2: the snapped click becomes vertex 2
    EXPECT_EQ(screen(), (std::vector<QPoint>{{100, 100}, {300, 100}, {302, 200}, {300, 300}, {50, 400}}));
    map.Modified = false;
    Click({200, 200}); // on no segment: nothing at all
    EXPECT_EQ(screen().size(), 5u);
    EXPECT_FALSE(map.Modified);

    map.SetEditMethod(siteplan::pointmethod::Delete);
    Click({200, 100}); // a map click does not delete
    EXPECT_EQ(screen().size(), 5u);
    Click({100, 100}); // the handle of vertex 0
    EXPECT_EQ(screen(), (std::vector<QPoint>{{300, 100}, {302, 200}, {300, 300}, {50, 400}}));
    EXPECT_EQ(line->GrabHandles()->Count(), 2 + 4);
    EXPECT_TRUE(map.Modified);
    for (const QPoint p : {QPoint(50, 400), QPoint(300, 300), QPoint(300, 100)})
        Click(p);
    // Two vertices stay: a line of one could never be seen or hit again.
    EXPECT_EQ(screen(), (std::vector<QPoint>{{300, 100}, {302, 200}}));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(Polyline, AddAndInsertRefuseTheHundredAndFirstPoint)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    for (int i = 2; i < 100; ++i)
        line->AddCreatingPoint({300, 100 + i});
    ASSERT_EQ(line->PointCount(), 100);
    const std::vector<QPoint> before = WorldPoints(*line);
    for (const int method : {siteplan::pointmethod::Add, siteplan::pointmethod::Insert}) {
        SCOPED_TRACE(method);
        services.messages.clear();
        map.Modified = false;
        line->DoMethod(method, siteplan::methodkind::MapClick, {200, 100});
        EXPECT_EQ(services.MessageTexts(), QStringList{"线段太多"});
        EXPECT_EQ(WorldPoints(*line), before);
        EXPECT_FALSE(map.Modified);
    }
    // A miss with INSERT stays silent.
    services.messages.clear();
    line->DoMethod(siteplan::pointmethod::Insert, siteplan::methodkind::MapClick, {900, 900});
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(Polyline, SettersFireChangedOnlyOnADifference)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    map.Modified = false;
    line->SetShowWord(QString());
    line->SetPointCount(2);
    EXPECT_FALSE(map.Modified);
    line->SetShowWord("围");
    EXPECT_TRUE(map.Modified);
    map.Modified = false;
    line->SetPointCount(1);
    EXPECT_TRUE(map.Modified);
    line->SetPointCount(101);
    EXPECT_EQ(line->PointCount(), 100);
}

// The property editor as a test double: answers with what it is told.
struct ScriptedEditor : shapetest::CancellingEditor {
    bool answer = false;
    QString typed;
    int calls = 0;
    bool EditLine(siteplan::TMapPen& pen, QString& showWord) override
    {
        ++calls;
        if (answer) {
            pen.SetWidth(5);
            showWord = typed;
        }
        return answer;
    }
};

TEST_F(Polyline, PropertyDialogOkStoresTheLabelAndMarksThePlan)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    map.EditProperties(); // no editor installed: nothing happens
    ScriptedEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        map.Modified = false;
        editor.answer = ok;
        editor.typed = "围墙";
        map.EditProperties();
        EXPECT_EQ(line->ShowWord(), ok ? "围墙" : "");
        EXPECT_EQ(line->OwnPen.Width(), ok ? 5 : 1);
        EXPECT_EQ(map.Modified, ok);
    }
    // Only the pen changed: still a change of the plan.
    map.Modified = false;
    editor.typed = "围墙";
    map.EditProperties();
    EXPECT_TRUE(map.Modified);
    EXPECT_EQ(editor.calls, 3);
}

// --- Drawing ---

struct PolylineDrawing : Polyline {
    RecordingCanvas canvas{QSize(1000, 1000), 96};

    QStringList Calls(CanvasOp op) const { return canvas.Log(op); }
};

TEST_F(PolylineDrawing, PlainLineAndSelectedLook)
{
    map.DefaultPen.SetColor(platform::clGreen);
    TVYRLine* line = AddLine({{100, 100}, {300, 100}, {300, 300}});
    line->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(Calls(CanvasOp::Polyline),
              QStringList{"Polyline((100,100),(300,100),(300,300)) pen=008000,solid,1,copy"});
    canvas.Clear();
    line->Draw(canvas, siteplan::drawmode::Selected);
    // The frame, then the line in red not-XOR.
    EXPECT_EQ(Calls(CanvasOp::Rectangle).size(), 1);
    EXPECT_EQ(Calls(CanvasOp::Polyline),
              QStringList{"Polyline((100,100),(300,100),(300,300)) pen=0000FF,solid,1,notxor"});
    canvas.Clear();
    line->SetPointCount(0);
    line->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(canvas.Calls().empty());
}

// The word copies of a labelled line: where each lies and how it is turned.
struct WordCopy {
    QPoint at;
    int escapement;
    friend bool operator==(const WordCopy&, const WordCopy&) = default;
};

void PrintTo(const WordCopy& c, std::ostream* os)
{
    *os << "(" << c.at.x() << "," << c.at.y() << " @" << c.escapement << ")";
}

TEST_F(PolylineDrawing, LabelledLineTurnsTheWordToEachSegmentAndCarriesTheRhythm)
{
    const QString word = "墙";
    // Right 150, then down 120, then up-right.
    const QPoint pts[] = {{100, 100}, {250, 100}, {250, 220}, {350, 120}};
    siteplan::DrawWordLine(canvas, pts, 50, word);
    // Measured in the font the word line leaves set, turned back upright.
    EXPECT_EQ(canvas.Font.Escapement, 0);
    const int wd = canvas.TextWidth(word);
    const int half = canvas.TextHeight(word) / 2;
    // The layout below assumes two copies on each of the first segments.
    ASSERT_GT(wd, 5);
    ASSERT_LT(wd, 17);

    std::vector<WordCopy> copies;
    QStringList pieces;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.Op == CanvasOp::TextOut) {
            EXPECT_EQ(call.Text, word);
            EXPECT_EQ(call.Font.Name, "宋体");
            EXPECT_EQ(call.Font.Size, 10);
            EXPECT_EQ(call.Font.Color, platform::clBackground);
            EXPECT_EQ(call.Brush.Style, platform::TBrushStyle::bsClear);
            copies.push_back({{call.Args[0], call.Args[1]}, call.Font.Escapement});
        } else if (call.Op == CanvasOp::MoveTo) {
            pieces << QString("%1,%2").arg(call.Args[0]).arg(call.Args[1]);
        } else if (call.Op == CanvasOp::LineTo) {
            pieces.back() += QString("-%1,%2").arg(call.Args[0]).arg(call.Args[1]);
        }
    }
    const auto at = [](int x, int y) { return QString("%1,%2").arg(x).arg(y); };
    // 50 of line, the word, 50 of line, the word, then the rest of the
    // segment; 50 - 2 wd of line are still due at the first vertex.
    ASSERT_GE(pieces.size(), 6);
    EXPECT_EQ(pieces[0], at(100, 100) + "-" + at(150, 100));
    EXPECT_EQ(pieces[1], at(150 + wd, 100) + "-" + at(200 + wd, 100));
    EXPECT_EQ(pieces[2], at(200 + 2 * wd, 100) + "-" + at(250, 100));
    EXPECT_EQ(pieces[3], at(250, 100) + "-" + at(250, 100 + 2 * wd));
    EXPECT_EQ(pieces[4], at(250, 100 + 3 * wd) + "-" + at(250, 150 + 3 * wd));
    ASSERT_GE(copies.size(), 5u);
    // Each copy starts half its height left of the line, turned with it.
    EXPECT_EQ(copies[0], (WordCopy{{150, 100 - half}, 0}));
    EXPECT_EQ(copies[1], (WordCopy{{200 + wd, 100 - half}, 0}));
    EXPECT_EQ(copies[2], (WordCopy{{250 + half, 100 + 2 * wd}, 2700}));
    EXPECT_EQ(copies[3], (WordCopy{{250 + half, 150 + 3 * wd}, 2700}));
    EXPECT_EQ(copies[4].escapement, 450);
}

TEST_F(PolylineDrawing, LabelledLineEdgeCases)
{
    const struct {
        const char* name;
        std::vector<QPoint> points;
        int texts;
        int lines;
    } cases[] = {
        {"30 pixels: only line", {{100, 100}, {130, 100}}, 0, 1},
        {"the word would reach the end: line instead", {{100, 100}, {160, 100}}, 0, 1},
        {"one point: nothing", {{100, 100}}, 0, 0},
        {"repeated points are skipped", {{100, 100}, {100, 100}, {130, 100}, {130, 100}}, 0, 1},
        {"220 pixels: three copies", {{100, 100}, {320, 100}}, 3, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.Clear();
        siteplan::DrawWordLine(canvas, c.points, 50, "墙");
        ASSERT_LT(canvas.TextWidth("墙"), 17);
        EXPECT_EQ(Calls(CanvasOp::TextOut).size(), c.texts);
        EXPECT_EQ(Calls(CanvasOp::LineTo).size(), c.lines);
    }
}

// A canvas shrunk so far that its clip area, taken back through the
// transform, spans the whole int range: the visible area grows past both
// ends without overflow (the sanitizer build checks), and a line at either
// end of the range draws every copy it holds.
TEST(LabelledLine, ClipAreaSpanningTheWholeRangeIsGrownWithoutOverflow)
{
    constexpr int low = std::numeric_limits<int>::min();
    constexpr int high = std::numeric_limits<int>::max();
    RecordingCanvas plain(QSize(1000, 1000), 96);
    const QPoint near[] = {{100, 100}, {400, 100}};
    siteplan::DrawWordLine(plain, near, 50, "墙");
    const qsizetype copies = plain.Log(CanvasOp::TextOut).size();
    ASSERT_GT(copies, 0);

    RecordingCanvas canvas(QSize(200, 100), 96);
    canvas.SetWorldTransform(QTransform(1e-9, 0, 0, 1e-9, 100, 50));
    ASSERT_EQ(canvas.ClipRect().topLeft(), QPoint(low, low));
    ASSERT_EQ(canvas.ClipRect().bottomRight(), QPoint(high, high));
    const QPoint first[] = {{low, low}, {low + 300, low}};
    const QPoint last[] = {{high - 300, high}, {high, high}};
    for (const auto& line : {std::span<const QPoint>(first), std::span<const QPoint>(last)}) {
        canvas.Clear();
        siteplan::DrawWordLine(canvas, line, 50, "墙");
        EXPECT_EQ(canvas.Log(CanvasOp::TextOut).size(), copies);
    }
}

// The drawing calls of a recording (polylines aside) that start inside view.
QStringList CallsInside(const RecordingCanvas& canvas, const QRect& view)
{
    QStringList out;
    for (const CanvasCall& call : canvas.Calls())
        if (call.Op != CanvasOp::Polyline && call.Args.size() >= 2 && view.contains(call.Args[0], call.Args[1]))
            out << call.ToString();
    return out;
}

// Only what lies near the visible area is drawn, so a line running far
// off the sheet costs no more than its visible part; the rhythm still
// runs on through the parts not drawn.
TEST_F(PolylineDrawing, LabelledLineDrawsOnlyNearTheVisibleArea)
{
    const QRect view(0, 0, 1000, 1000);
    const auto inView = [&view](const RecordingCanvas& c) { return CallsInside(c, view); };
    // Out to the right and back: the wide surface shows every copy.
    const std::vector<QPoint> outAndBack = {{100, 100}, {20000, 100}, {20000, 300}, {100, 300}, {100, 700}};
    RecordingCanvas wide{QSize(30000, 1000), 96};
    siteplan::DrawWordLine(wide, outAndBack, 50, "墙");
    siteplan::DrawWordLine(canvas, outAndBack, 50, "墙");
    EXPECT_EQ(inView(canvas), inView(wide));
    EXPECT_LT(canvas.Calls().size(), wide.Calls().size() / 10);

    // Two thousand million pixels to the right.
    const std::vector<QPoint> shortRun = {{100, 100}, {20000, 100}};
    const std::vector<QPoint> longRun = {{100, 100}, {2000000000, 100}};
    canvas.Clear();
    siteplan::DrawWordLine(canvas, shortRun, 50, "墙");
    const QStringList expected = inView(canvas);
    canvas.Clear();
    siteplan::DrawWordLine(canvas, longRun, 50, "墙");
    EXPECT_EQ(inView(canvas), expected);
    EXPECT_LT(canvas.Calls().size(), 100u);
}

// A line that passes the visible area by draws nothing, however long it
// runs beside it; one that cuts a corner of it draws there what a surface
// showing all of it draws.
TEST_F(PolylineDrawing, LabelledLineBesideTheViewDrawsNothing)
{
    const struct {
        const char* name;
        std::vector<QPoint> points;
        bool crosses;
    } cases[] = {
        {"below, along the whole width", {{-1000000, 1100}, {1000000, 1100}}, false},
        {"right, down the whole height", {{1100, -1000000}, {1100, 1000000}}, false},
        {"past the bottom-right corner", {{2200, 0}, {0, 2200}}, false},
        {"across the bottom-right corner", {{1900, 0}, {0, 1900}}, true},
        {"in from the right, out at the bottom", {{5000, 500}, {500, 500}, {500, 5000}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.Clear();
        siteplan::DrawWordLine(canvas, c.points, 50, "墙");
        if (!c.crosses) {
            EXPECT_TRUE(canvas.Calls().empty()) << canvas.Log().join("\n").toStdString();
            continue;
        }
        RecordingCanvas wide{QSize(6000, 6000), 96};
        siteplan::DrawWordLine(wide, c.points, 50, "墙");
        const QStringList shown = CallsInside(canvas, QRect(0, 0, 1000, 1000));
        EXPECT_FALSE(shown.isEmpty());
        EXPECT_EQ(shown, CallsInside(wide, QRect(0, 0, 1000, 1000)));
    }
}

// A canvas whose world transform puts the visible area at the end of the
// number range (a line turned about a centre far away): the word line's
// reach around it stays within range (the sanitizer build checks).
TEST_F(PolylineDrawing, LabelledLineOnACanvasShiftedToTheEndOfTheRange)
{
    // The visible area lies at about -2147483000 in the line's coordinates.
    canvas.SetWorldTransform(QTransform::fromTranslate(2147483000.0, 2147483000.0));
    const std::vector<QPoint> line = {{100, 100}, {400, 100}};
    siteplan::DrawWordLine(canvas, line, 50, "墙");
    EXPECT_TRUE(canvas.Log(CanvasOp::TextOut).isEmpty()); // all of it outside the view
}

TEST_F(PolylineDrawing, LineWithALabelDrawsTheWordLine)
{
    TVYRLine* line = AddLine({{100, 100}, {300, 100}});
    line->SetShowWord("围");
    line->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(Calls(CanvasOp::Polyline).isEmpty());
    EXPECT_EQ(Calls(CanvasOp::TextOut).size(), 3);
    EXPECT_TRUE(Calls(CanvasOp::LineTo).front().endsWith("pen=000000,solid,1,copy"));
}

// What a labelled line draws lies inside the region the plan repaints for
// it, so that moving or editing it leaves no piece of a word behind: the
// words stand beside the line and run past inner vertices.
TEST_F(Polyline, RepaintRegionHoldsTheWords)
{
    platform::InstallFontSubstitutes();
    TVYRLine* line = AddLine({{100, 200}, {300, 200}, {300, 330}, {520, 120}});
    line->SetShowWord("围墙");
    const QRect plain = map.GetMapComRegion(*line).boundingRect();
    EXPECT_GT(line->GetPaintMargin(), line->GetSelectMargin());
    for (const bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        if (!selected)
            map.ClearSelection();
        QImage image(700, 500, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000); // 254 pixels per inch, as the plan
        image.setDotsPerMeterY(10000);
        image.fill(Qt::white);
        {
            platform::PainterCanvas canvas(image);
            line->Draw(canvas, selected ? siteplan::drawmode::SelectedRotating : siteplan::drawmode::Normal);
        }
        QRect drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    drawn |= QRect(x, y, 1, 1);
        ASSERT_FALSE(drawn.isEmpty());
        EXPECT_TRUE(map.GetMapComRegion(*line).boundingRect().contains(drawn))
            << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height();
    }
    line->SetShowWord(QString());
    EXPECT_EQ(line->GetPaintMargin(), line->GetSelectMargin());
    EXPECT_TRUE(plain.contains(map.GetMapComRegion(*line).boundingRect()));
}

// A plain and a labelled line painted as the plan shows them, saved for a
// look into SHOTS_DIR: line pieces in the pen colour and no line under
// the words.
TEST_F(Polyline, PaintedLabelledLine)
{
    platform::InstallFontSubstitutes();
    map.DefaultPen.SetColor(platform::clBlue);
    AddLine({{40, 40}, {360, 40}});
    TVYRLine* labelled = AddLine({{40, 100}, {240, 100}, {240, 260}, {380, 120}, {380, 280}});
    labelled->SetShowWord("围墙");
    // Turned by 30 degrees and selected: red not-XOR, words turned along.
    TVYRLine* turned = AddLine({{460, 60}, {640, 60}, {640, 240}});
    turned->SetShowWord("墙");
    turned->RotateAngle = 300;
    map.SelectMapCom(turned, true);
    QImage image(720, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        map.Paint(canvas);
    }
    QDir().mkpath(SHOTS_DIR);
    image.save(SHOTS_DIR "/labelled_line.png");

    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(image.pixel(200, 40), blue);
    // 50 pixels of line, then the word: no line where the word stands.
    EXPECT_EQ(image.pixel(60, 100), blue);
    int blueUnderWord = 0;
    for (int x = 95; x < 105; ++x)
        blueUnderWord += image.pixel(x, 100) == blue;
    EXPECT_EQ(blueUnderWord, 0);
    int dark = 0;
    for (int y = 90; y < 110; ++y)
        for (int x = 92; x < 110; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 10);
}

} // namespace
