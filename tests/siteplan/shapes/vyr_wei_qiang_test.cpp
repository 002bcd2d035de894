// The enclosure wall: where its ticks stand and which way they point, that
// only the ticks near the visible area are drawn, the repaint area that
// holds them, its record with the 2-byte LineType, and the pen dialog.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/caption_editor.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/shapes/vyr_wei_qiang.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QImage>

using platform::CanvasCall;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVYRWeiQiang;

namespace {

// The ticks drawn, as "from-to".
QStringList Ticks(const RecordingCanvas& canvas)
{
    QStringList out;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.Op == CanvasOp::MoveTo)
            out << QString("%1,%2").arg(call.Args[0]).arg(call.Args[1]);
        else if (call.Op == CanvasOp::LineTo)
            out.back() += QString("-%1,%2").arg(call.Args[0]).arg(call.Args[1]);
    }
    return out;
}

TEST(WallTicks, PositionsAndDirections)
{
    const struct {
        const char* name;
        std::vector<QPoint> points;
        int penWidth;
        QStringList ticks;
    } cases[] = {
        {"drawn right: up", {{100, 100}, {135, 100}}, 1, {"110,100-110,94", "120,100-120,94", "130,100-130,94"}},
        {"drawn left: down", {{135, 100}, {100, 100}}, 1, {"125,100-125,106", "115,100-115,106", "105,100-105,106"}},
        {"drawn down: right", {{100, 100}, {100, 125}}, 1, {"100,110-106,110", "100,120-106,120"}},
        {"15 and 15: the count carries", {{100, 100}, {115, 100}, {115, 115}}, 1, {"110,100-110,94", "115,105-121,105"}},
        {"a tick on a vertex starts the next segment", {{100, 100}, {120, 100}, {120, 105}}, 1,
         {"110,100-110,94", "120,100-126,100"}},
        {"repeated points are skipped", {{100, 100}, {100, 100}, {112, 100}}, 1, {"110,100-110,94"}},
        {"pen width 3: 8 pixels long", {{100, 100}, {115, 100}}, 3, {"110,100-110,92"}},
        {"one point: nothing", {{100, 100}}, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas{QSize(1000, 1000), 96};
        canvas.Pen.Width = c.penWidth;
        siteplan::DrawTicks(canvas, c.points, TVYRWeiQiang::TickLength, TVYRWeiQiang::TickSpacing);
        EXPECT_EQ(Ticks(canvas), c.ticks);
    }
}

// A wall far off the sheet, or one running two thousand million pixels at
// a high zoom, draws only the ticks that can be seen.
TEST(WallTicks, OnlyTheTicksNearTheVisibleAreaAreDrawn)
{
    const QRect view(0, 0, 1000, 1000);
    const auto inView = [&view](const RecordingCanvas& canvas) {
        QStringList out;
        for (const QString& tick : Ticks(canvas)) {
            const QStringList ends = tick.split('-').first().split(',');
            if (view.contains(ends[0].toInt(), ends[1].toInt()))
                out << tick;
        }
        return out;
    };
    RecordingCanvas canvas{view.size(), 96};
    siteplan::DrawTicks(canvas, std::vector<QPoint>{{-100, 500}, {20000, 500}, {20000, 900}, {-100, 900}}, 5, 10);
    const QStringList expected = inView(canvas);
    ASSERT_GE(expected.size(), 200);
    RecordingCanvas wide{QSize(30000, 1000), 96};
    siteplan::DrawTicks(wide, std::vector<QPoint>{{-100, 500}, {20000, 500}, {20000, 900}, {-100, 900}}, 5, 10);
    EXPECT_EQ(inView(wide), expected);
    EXPECT_GT(wide.Calls().size(), 10 * canvas.Calls().size());

    canvas.Clear();
    siteplan::DrawTicks(canvas, std::vector<QPoint>{{-100, 500}, {20000, 500}}, 5, 10);
    const QStringList shortRun = inView(canvas);
    canvas.Clear();
    const int far = 2000000000;
    siteplan::DrawTicks(canvas, std::vector<QPoint>{{-100, 500}, {far, 500}}, 5, 10);
    EXPECT_EQ(inView(canvas), shortRun);
    EXPECT_LT(canvas.Calls().size(), 500u);

    canvas.Clear();
    siteplan::DrawTicks(canvas, std::vector<QPoint>{{-far, -far}, {-far / 2, -far}}, 5, 10);
    EXPECT_TRUE(canvas.Calls().empty());

    // A damaged file's huge pen: along the wall a tick reaches only half
    // of the 1024 pixels it counts as, so few more are drawn.
    RecordingCanvas small{QSize(100, 100), 96};
    small.Pen.Width = 1 << 20;
    siteplan::DrawTicks(small, std::vector<QPoint>{{-1000000, 50}, {1000000, 50}}, 5, 10);
    EXPECT_GT(small.Log(CanvasOp::LineTo).size(), 10);
    EXPECT_LE(small.Log(CanvasOp::LineTo).size(), (100 + 1024 + 10) / 10 + 2);
}

struct Wall : PlanFixture {
    Wall() : PlanFixture(254, 100) {}

    TVYRWeiQiang* AddWall(std::initializer_list<QPoint> points)
    {
        return ClickDrawn<TVYRWeiQiang>(TVYRWeiQiang::Kind, points);
    }
};

TEST_F(Wall, DrawnLineAndTicksAndTheSelectedLook)
{
    map.DefaultPen.SetColor(platform::clGreen);
    TVYRWeiQiang* wall = AddWall({{100, 100}, {135, 100}});
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->MethodCount, 3);
    EXPECT_EQ(wall->LineType(), 0);
    EXPECT_EQ(wall->GetBounds(), (siteplan::TRect{100, 100, 135, 100}));
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    wall->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline), QStringList{"Polyline((100,100),(135,100)) pen=008000,solid,1,copy"});
    EXPECT_EQ(canvas.Log(CanvasOp::LineTo).size(), 3);
    EXPECT_EQ(canvas.Log(CanvasOp::LineTo).front(), "LineTo(110,94) pen=008000,solid,1,copy");
    canvas.Clear();
    wall->Draw(canvas, siteplan::drawmode::Selected);
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline), QStringList{"Polyline((100,100),(135,100)) pen=0000FF,solid,1,notxor"});
    EXPECT_EQ(canvas.Log(CanvasOp::LineTo).front(), "LineTo(110,94) pen=0000FF,solid,1,notxor");

    // The hit test, INSERT and the band use the vertices as the polyline.
    EXPECT_TRUE(wall->HitTest({120, 103}));
    EXPECT_FALSE(wall->HitTest({120, 95}));
    TVYRWeiQiang* longer = AddWall({{300, 300}, {500, 300}});
    map.SetEditMethod(siteplan::pointmethod::Insert);
    Click({450, 302});
    ASSERT_EQ(longer->PointCount(), 3);
    EXPECT_EQ(longer->Points[1], QPoint(45000, 30200));
}

// The ticks stand beyond the vertices' frame: what the wall draws lies
// inside the region the plan repaints for it.
TEST_F(Wall, RepaintRegionHoldsTheTicks)
{
    map.DefaultPen.SetWidth(3);
    TVYRWeiQiang* wall = AddWall({{100, 200}, {300, 200}, {300, 330}, {120, 330}});
    ASSERT_NE(wall, nullptr);
    for (const int angle : {0, 300}) {
        SCOPED_TRACE(angle);
        wall->RotateAngle = angle;
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            platform::PainterCanvas canvas(image);
            wall->Draw(canvas, siteplan::drawmode::Normal);
        }
        QRect drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    drawn |= QRect(x, y, 1, 1);
        ASSERT_FALSE(drawn.isEmpty());
        EXPECT_TRUE(map.GetMapComRegion(*wall).boundingRect().contains(drawn))
            << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height();
    }
    // A damaged file's huge pen counts as 1024 pixels.
    wall->OwnPen.SetWidth(1 << 30);
    EXPECT_EQ(wall->GetPaintMargin(), wall->GetSelectMargin() + 5 + 1024);
    // Spanning the whole screen range with that pen, its frame still holds
    // within int.
    wall->RotateAngle = 0;
    map.SetMapScale(1);
    wall->Points[0] = QPoint(-2000000000, -2000000000);
    wall->Points[1] = QPoint(2000000000, 2000000000);
    const QRect frame = map.GetMapComRegion(*wall).boundingRect();
    EXPECT_LT(frame.left(), -siteplan::ScreenLimit);
    EXPECT_GT(frame.right(), siteplan::ScreenLimit);
    map.InvalidateMapCom(*wall);
}

// The ticks a wall keeps between paints show what drawing them afresh
// shows, paint after paint, under clips that cut the wall or miss it, and
// after its points, its pen or the plan's scale changed.
TEST_F(Wall, KeptTicksShowWhatFreshTicksShow)
{
    TVYRWeiQiang* wall = AddWall({{100, 200}, {300, 230}, {310, 330}, {120, 300}, {140, 150}});
    ASSERT_NE(wall, nullptr);
    const auto paint = [&](const QRegion& clip, bool kept) {
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        platform::PainterCanvas canvas(image);
        if (!clip.isEmpty())
            canvas.SetClipRegion(clip);
        if (kept) {
            wall->Draw(canvas, siteplan::drawmode::Normal);
        } else {
            std::vector<QPoint> screen;
            for (int i = 0; i < wall->PointCount(); ++i)
                screen.push_back(map.WorldToScreen(wall->Points[static_cast<std::size_t>(i)]));
            canvas.Pen = wall->OwnPen.Value();
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            canvas.Polyline(screen);
            siteplan::DrawTicks(canvas, screen, TVYRWeiQiang::TickLength, TVYRWeiQiang::TickSpacing);
        }
        return image;
    };
    const QRegion clips[] = {QRegion(), QRegion(150, 180, 100, 90), QRegion(0, 0, 600, 210) + QRegion(290, 250, 40, 40),
                             QRegion(500, 500, 50, 50)};
    const auto allClips = [&](const char* step) {
        for (const QRegion& clip : clips)
            EXPECT_EQ(paint(clip, true), paint(clip, false)) << step << ", clip " << clip.boundingRect().x();
    };
    allClips("first paints");
    wall->Points[2] = QPoint(35000, 25000);
    allClips("a point moved");
    wall->OwnPen.SetWidth(3);
    allClips("a wider pen");
    map.SetMapScale(50);
    allClips("another scale");
}

TEST_F(Wall, PenDialogWithItsOwnCaption)
{
    TVYRWeiQiang* wall = AddWall({{100, 100}, {300, 100}});
    ASSERT_NE(wall, nullptr);
    shapetest::CaptionEditor editor;
    editor.answer = true;
    map.SetPropertyEditor(&editor);
    map.Modified = false;
    map.EditProperties();
    EXPECT_EQ(editor.captions, QStringList{"pen:"});
    EXPECT_EQ(wall->OwnPen.Width(), 4);
    EXPECT_TRUE(map.Modified);
    map.Modified = false;
    wall->SetLineType(0);
    EXPECT_FALSE(map.Modified);
    wall->SetLineType(3);
    EXPECT_TRUE(map.Modified);
}

TEST_F(Wall, RecordKeepsTheLineTypeAndPutsTheCountOffTheRhythm)
{
    std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(TVYRWeiQiang::Kind);
    auto* wall = dynamic_cast<TVYRWeiQiang*>(shape.get());
    ASSERT_NE(wall, nullptr);
    wall->BasePoint = QPoint(100, 200);
    wall->OwnPen.SetWidth(2);
    wall->SetLineType(7);
    wall->Points[0] = QPoint(100, 200);
    wall->Points[1] = QPoint(-300, 200);
    map.AddMapCom(std::move(shape));
    const QByteArray record = QByteArray::fromHex(
        "65000000"                         // MapID 101
        "00000000" "0000803f0000803f"      // RotateAngle, FlexX, FlexY
        "64000000c8000000"                 // BasePoint (100, 200)
        "000000000000000002000000"         // pen: black, solid, 2
        "0700"                             // LineType 7
        "02000000"                         // two vertices, 14 bytes into the tail
        "64000000c8000000"                 // (100, 200)
        "d4feffffc8000000");               // (-300, 200)
    const QByteArray plan = shapetest::ExpectSavesAs(map, record, QStringLiteral("wall"), services);

    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(shapetest::LoadBytes(loaded, plan));
    const auto* read = dynamic_cast<const TVYRWeiQiang*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->LineType(), 7);
    EXPECT_EQ(read->Points[1], QPoint(-300, 200));
    EXPECT_EQ(shapetest::SavedBytes(loaded), plan);

    // Cut inside the LineType or inside the vertices: refused.
    for (const qsizetype size : {plan.size() - 21, plan.size() - 3}) {
        siteplan::TPlaneMap refused(services);
        EXPECT_FALSE(shapetest::LoadBytes(refused, plan.first(size)));
    }
}

} // namespace
