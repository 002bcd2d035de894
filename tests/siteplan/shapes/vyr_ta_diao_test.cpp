// The tower crane: placing it with one click, its derived outline, hit and
// band tests, the three handles with the arm readout, drawing, its repaint
// area, its record and values from a damaged file.
#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/box_shape_support.h"
#include "tests/siteplan/shapes/shape_test_support.h"

#include "siteplan/grab_handles.h"
#include "siteplan/shapes/vyr_ta_diao.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDir>
#include <QImage>

#include <functional>
#include <limits>

using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TVyrTaDiao;

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// 254 pixels per inch at 1 : 500: one pixel is 500 world units (5 cm), so
// the default crane, 30 m of arm, is 600 pixels long.
struct TowerCrane : PlanFixture {
    QStringList hints;

    TowerCrane() : PlanFixture(254, 500)
    {
        map.onMapHint = [this](siteplan::TVyrMapCom*, const QString& hint) { hints << hint; };
    }

    // Placed with one click at (400, 700): BasePoint (200000, 350000).
    TVyrTaDiao* Place(QPoint at = {400, 700})
    {
        map.ClearSelection();
        map.SetDrawKind(TVyrTaDiao::Kind);
        Click(at);
        map.SetDrawKind(0);
        return dynamic_cast<TVyrTaDiao*>(map.MapCom(map.MapComCount() - 1));
    }
};

TEST_F(TowerCrane, OneClickPlacesTheDefaultCrane)
{
    RecordingCanvas canvas{QSize(1200, 1000), 254};
    map.SetCanvas(&canvas);
    map.SetDrawKind(TVyrTaDiao::Kind);
    Press({400, 700});
    auto* crane = dynamic_cast<TVyrTaDiao*>(map.DrawingMapCom());
    ASSERT_NE(crane, nullptr);
    // Drawn once at the press, in copy mode, with the not-XOR frame.
    EXPECT_EQ(canvas.Log(CanvasOp::Polyline).size(), 3);
    EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).size(), 1);
    canvas.Clear();
    Move({500, 600}); // the crane does not follow the mouse
    EXPECT_TRUE(canvas.Calls().empty());
    Release({500, 600});
    map.SetCanvas(nullptr);
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    EXPECT_TRUE(map.IsSelected(crane));
    EXPECT_EQ(addMapAfter, 1);

    EXPECT_EQ(crane->MapID, 100);
    EXPECT_EQ(crane->BasePoint, QPoint(200000, 350000));
    EXPECT_EQ(crane->Attributes(), siteplan::attr::Pen);
    EXPECT_EQ(crane->MapType, siteplan::TMapType::mtNone);
    EXPECT_EQ(crane->MethodCount, 0);
    EXPECT_EQ(crane->OwnPen.Value(), map.DefaultPen.Value());
    EXPECT_EQ((std::array{crane->ArmLength, crane->CounterJibLength, crane->JibAngle, crane->BaseWidth,
                          crane->BaseHeight, crane->CounterweightSize, crane->ArcBefore, crane->ArcAfter}),
              (std::array{300000, 80000, 3150, 60000, 40000, 30000, 450, 450}));

    // The base box stays upright; the counterweight square 80000 behind the
    // position, the jib root on its front side and the tip 30 m away turn
    // to 315 degrees (up and to the right); the working arc runs from
    // straight up (270 degrees) to straight right (360).
    const TVyrTaDiao::TOutline expected = {{
        {170000, 330000}, {230000, 330000}, {230000, 370000}, {170000, 370000},
        {122218, 406569}, {143431, 385355}, {164645, 406569}, {143431, 427782},
        {159341, 401265}, {148735, 390659},
        {412132, 137868},
        {-100000, 50000}, {500000, 650000},
        {200000, 50000}, {500000, 350000},
    }};
    EXPECT_EQ(crane->Outline(), expected);
    EXPECT_EQ(crane->GetBounds(), (siteplan::TRect{-200, 100, 1000, 1300}));
    EXPECT_EQ(crane->GetCenter(), QPoint(400, 700));
    EXPECT_EQ(crane->GetSelectMargin(), 1);
    EXPECT_TRUE(crane->IsValid());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(TowerCrane, OnlyTheDrawnLinesHitAndTheBandMeetsTheArmSquare)
{
    TVyrTaDiao* crane = Place();
    map.ClearSelection();
    const struct {
        const char* where;
        QPoint p;
        bool hit;
    } cases[] = {
        {"top of the base box", {400, 662}, true},
        {"left of the base box", {344, 700}, true},
        {"on a diagonal", {370, 680}, true},
        {"inside the base box off its lines", {430, 668}, false},
        {"inside the counterweight square", {287, 813}, false},
        {"edge of the counterweight square", {265, 792}, true},
        {"on the jib", {560, 551}, true},
        {"at the tip", {824, 276}, true},
        {"on the working arc, straight up", {400, 100}, false},
        {"on the working arc, straight right", {1000, 700}, false},
        {"far outside", {1500, 1500}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(crane->HitTest(c.p), c.hit);
    }
    // The band selects when it touches the square around the arm's circle,
    // even at its corner, far from anything drawn.
    EXPECT_TRUE(crane->InRect({980, 1280, 1020, 1320}));
    EXPECT_FALSE(crane->InRect({1000, 1300, 1020, 1320}));
    EXPECT_FALSE(crane->InRect({1100, 100, 1200, 200}));
    Drag({1050, 1350}, {980, 1280});
    EXPECT_TRUE(map.IsSelected(crane));
}

TEST_F(TowerCrane, HandlesSetTheArmAndTheArcAndReportTheArmInMetres)
{
    TVyrTaDiao* crane = Place();
    EXPECT_EQ(crane->GetPointCount(), 3);
    EXPECT_EQ(crane->GrabHandles()->Count(), 5);
    EXPECT_EQ((std::array{crane->GetPointPos(0), crane->GetPointPos(1), crane->GetPointPos(2)}),
              (std::array{QPoint(824, 276), QPoint(400, 100), QPoint(1000, 700)}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(crane->GetPointCursor(i), platform::cursor::kSizeAll);

    const struct {
        const char* what;
        int handle;
        QPoint to;
        std::int32_t armLength, jibAngle, arcBefore, arcAfter;
        QString hint;
    } drags[] = {
        // 25000 from the position: 2.5 m rounds to even.
        {"tip right", 0, {450, 700}, 25000, 0, 450, 450, "塔吊臂长度：2m"},
        {"tip up", 0, {400, 630}, 35000, 2700, 450, 450, "塔吊臂长度：4m"},
        {"limit A down-left", 1, {300, 800}, 35000, 2700, 1350, 450, "塔吊臂长度：4m"},
        // Across +X the difference goes below zero and is kept so.
        {"limit B at 10 degrees", 2, {967, 800}, 35000, 2700, 1350, 100 - 2700, "塔吊臂长度：4m"},
        // The arc limits are relative to the jib: they turn with it.
        {"tip left", 0, {300, 700}, 50000, 1800, 1350, 100 - 2700, "塔吊臂长度：5m"},
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.what);
        hints.clear();
        map.Modified = false;
        Drag(crane->GetPointPos(d.handle), d.to);
        EXPECT_EQ(crane->ArmLength, d.armLength);
        EXPECT_EQ(crane->JibAngle, d.jibAngle);
        EXPECT_EQ(crane->ArcBefore, d.arcBefore);
        EXPECT_EQ(crane->ArcAfter, d.arcAfter);
        ASSERT_FALSE(hints.isEmpty());
        EXPECT_EQ(hints.back(), d.hint);
        EXPECT_TRUE(map.Modified); // by the end of the drag
        EXPECT_EQ(crane->BasePoint, QPoint(200000, 350000));
    }
    // A handle dropped on the position keeps the angles; the arm is 0.
    const std::int32_t before = crane->ArcBefore;
    crane->MovePoint(1, {400, 700});
    crane->MovePoint(0, {400, 700});
    EXPECT_EQ(crane->ArcBefore, before);
    EXPECT_EQ(crane->JibAngle, 1800);
    EXPECT_EQ(crane->ArmLength, 0);
    EXPECT_EQ(hints.back(), "塔吊臂长度：0m");
}

TEST_F(TowerCrane, MovingAndTurningTakeTheWholeSymbol)
{
    TVyrTaDiao* crane = Place();
    Drag({400, 662}, {420, 652}); // by the base box's top edge
    EXPECT_EQ(crane->BasePoint, QPoint(210000, 345000));
    EXPECT_EQ(crane->ArmLength, 300000);
    EXPECT_EQ(crane->GetCenter(), QPoint(420, 690));
    crane->RotateAngle = 900;
    // A quarter turn about the position: the tip up-right goes down-right.
    EXPECT_EQ(crane->GetPointPos(0), QPoint(844, 1114));
    EXPECT_TRUE(crane->HitTest({420 + 38, 690})); // the base box's top edge, turned
    EXPECT_FALSE(crane->HitTest({420, 690 - 38}));
}

TEST_F(TowerCrane, DrawsInItsOwnPenAndCopyModeSelectedOrNot)
{
    map.DefaultPen.SetColor(platform::clGreen);
    map.DefaultPen.SetWidth(3);
    TVyrTaDiao* crane = Place();
    RecordingCanvas canvas{QSize(1200, 1400), 254};
    const QString pen = " pen=008000,solid,3,copy";
    const QStringList lines = {
        "Polyline((340,660),(460,660),(340,740),(340,660),(460,740),(340,740),(460,660),(460,740))" + pen,
        "Polyline((244,813),(287,771),(329,813),(287,856),(244,813))" + pen,
        "Polyline((319,803),(824,276),(297,781))" + pen,
    };
    for (const std::uint8_t mode : {siteplan::drawmode::Normal, siteplan::drawmode::Selected,
                                    siteplan::drawmode::SelectedRotating}) {
        SCOPED_TRACE(mode);
        canvas.Clear();
        crane->Draw(canvas, mode);
        EXPECT_EQ(canvas.Log(CanvasOp::Polyline), lines);
        // From the radial through B (360 degrees) back to the one through A
        // (270): the quarter centred on the jib.
        EXPECT_EQ(canvas.Log(CanvasOp::Arc), QStringList{"Arc(-200,100,1000,1300,1000,700,400,100)" + pen});
        EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).size(), mode == siteplan::drawmode::Normal ? 0 : 1);
    }
    // A limit after the jib that went below zero draws as its positive twin.
    crane->ArcAfter = 550;
    canvas.Clear();
    crane->Draw(canvas, 0);
    const QStringList positive = canvas.Log(CanvasOp::Arc);
    crane->ArcAfter = 550 - 3600;
    canvas.Clear();
    crane->Draw(canvas, 0);
    EXPECT_EQ(canvas.Log(CanvasOp::Arc), positive);
}

// The crane keeps its outline between paints: after each change of its
// base point, its dimensions or the plan's scale it draws what a crane of
// the same values drawn for the first time draws.
TEST_F(TowerCrane, KeptOutlineFollowsEveryChange)
{
    TVyrTaDiao* crane = Place();
    const auto calls = [](TVyrTaDiao& shape) {
        RecordingCanvas canvas{QSize(1200, 1400), 254};
        shape.Draw(canvas, siteplan::drawmode::Normal);
        return canvas.Log(CanvasOp::Polyline) + canvas.Log(CanvasOp::Arc) +
               QStringList{QString::number(shape.GetPaintMargin())};
    };
    const std::function<void(TVyrTaDiao&)> changes[] = {
        [](TVyrTaDiao& c) { c.MoveWorld({3000, -7000}); },
        [](TVyrTaDiao& c) { c.ArmLength = 200000; },
        [](TVyrTaDiao& c) { c.CounterJibLength = 90000; },
        [](TVyrTaDiao& c) { c.JibAngle = 1200; },
        [](TVyrTaDiao& c) { c.BaseWidth = 70000; },
        [](TVyrTaDiao& c) { c.BaseHeight = 30000; },
        [](TVyrTaDiao& c) { c.CounterweightSize = 50000; },
        [](TVyrTaDiao& c) { c.ArcBefore = 900; },
        [](TVyrTaDiao& c) { c.ArcAfter = 100; },
    };
    calls(*crane);
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        changes[i](*crane);
        const QPoint at[] = {crane->BasePoint};
        TVyrTaDiao fresh(&map, at);
        for (std::size_t j = 0; j <= i; ++j)
            if (j != 0)
                changes[j](fresh);
        fresh.BasePoint = crane->BasePoint;
        EXPECT_EQ(calls(*crane), calls(fresh)) << "change " << i;
    }
    map.SetMapScale(200);
    const QPoint at[] = {crane->BasePoint};
    TVyrTaDiao fresh(&map, at);
    for (std::size_t j = 1; j < std::size(changes); ++j)
        changes[j](fresh);
    fresh.BasePoint = crane->BasePoint;
    EXPECT_EQ(calls(*crane), calls(fresh)) << "another scale";
}

TEST_F(TowerCrane, AHugeStoredPenIsKeptButDrawnAtMost1024Wide)
{
    TVyrTaDiao* crane = Place();
    crane->OwnPen.SetWidth(500000);
    RecordingCanvas canvas{QSize(1200, 1400), 254};
    crane->Draw(canvas, 0);
    for (const platform::CanvasCall& call : canvas.Calls()) {
        if (call.Op == CanvasOp::Polyline || call.Op == CanvasOp::Arc) {
            EXPECT_EQ(call.Pen.Width, 1024);
        }
    }
    EXPECT_EQ(crane->OwnPen.Width(), 500000);
    EXPECT_LE(crane->GetPaintMargin(), 1024 / 2 + 1);
}

// What a crane draws lies inside the area the plan repaints for it: with a
// short arm the base box and the counterweight stand outside the arm's
// square.
TEST_F(TowerCrane, RepaintAreaHoldsTheBaseBoxAndTheCounterweight)
{
    const struct {
        const char* what;
        std::int32_t arm;
        int penWidth;
        std::int32_t rotate;
    } cases[] = {
        {"defaults", 300000, 1, 0},
        {"short arm", 10000, 1, 0},
        {"no arm, wide pen", 0, 9, 0},
        {"short arm, turned", 10000, 3, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TVyrTaDiao* crane = Place({600, 700});
        crane->ArmLength = c.arm;
        crane->OwnPen.SetWidth(c.penWidth);
        crane->RotateAngle = c.rotate;
        for (const std::uint8_t mode : {siteplan::drawmode::Normal, siteplan::drawmode::SelectedRotating}) {
            const QRect drawn = shapetest::DrawnArea(*crane, mode, QSize(1400, 1400));
            ASSERT_FALSE(drawn.isEmpty());
            EXPECT_TRUE(map.GetMapComRegion(*crane).boundingRect().contains(drawn))
                << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height();
        }
        map.DeleteMapCom(crane, false);
    }
}

// Values no dialog gives, as a damaged file may hold them: each stored
// dimension of the crane is v or w, alternating.
void SetStoredValues(TVyrTaDiao& crane, std::int32_t v, std::int32_t w)
{
    crane.BasePoint = QPoint(w, v);
    crane.ArmLength = v;
    crane.CounterJibLength = w;
    crane.JibAngle = v;
    crane.BaseWidth = v;
    crane.BaseHeight = w;
    crane.CounterweightSize = v;
    crane.ArcBefore = w;
    crane.ArcAfter = v;
}

// Every sum is computed in 64 bits and held within the coordinate range
// (the sanitizer build checks).
TEST_F(TowerCrane, ExtremeStoredValuesNeitherOverflowNorWrap)
{
    TVyrTaDiao* crane = Place();
    RecordingCanvas canvas{QSize(1200, 1400), 254};
    const std::int32_t extremes[] = {IntMin, IntMin + 1, -1, 0, IntMax};
    for (const std::int32_t v : extremes) {
        for (const std::int32_t w : {IntMin, IntMax}) {
            SCOPED_TRACE(testing::Message() << v << " " << w);
            SetStoredValues(*crane, v, w);
            canvas.Clear();
            crane->Draw(canvas, siteplan::drawmode::SelectedRotating);
            (void)crane->HitTest({400, 700});
            (void)map.GetMapComRegion(*crane);
            EXPECT_LE(std::abs(crane->GetBounds().Left), siteplan::ScreenLimit);
            EXPECT_GE(crane->GetPaintMargin(), 1);
            for (int i = 0; i < 3; ++i)
                crane->MovePoint(i, crane->GetPointPos(i));
            crane->MoveWorld({w, v});
        }
    }
    // An arm dragged from a position at the end of the range to the other
    // end is longer than a 32-bit length: it stops at the largest.
    map.SetMapScale(1);
    crane->BasePoint = QPoint(IntMin, IntMin);
    crane->RotateAngle = 0;
    crane->MovePoint(0, {siteplan::ScreenLimit, siteplan::ScreenLimit});
    EXPECT_EQ(crane->ArmLength, IntMax);
    EXPECT_EQ(crane->JibAngle, 450);
}

// Two cranes painted as the plan shows them, saved for a look into
// SHOTS_DIR: the default one selected with its frame and handles, and one
// with a short arm turned to the left and a wider working arc.
TEST_F(TowerCrane, PaintedCranes)
{
    map.SetMapScale(1000); // a pixel is 1000 world units (10 cm)
    map.DefaultPen.SetColor(platform::clNavy);
    TVyrTaDiao* other = Place({700, 350});
    other->ArmLength = 100000;
    other->JibAngle = 1800;
    other->ArcBefore = 900;
    other->ArcAfter = 600;
    TVyrTaDiao* crane = Place({300, 380});
    ASSERT_TRUE(map.IsSelected(crane));
    QImage image(900, 560, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        map.Paint(canvas);
    }
    QDir().mkpath(SHOTS_DIR);
    image.save(SHOTS_DIR "/tower_cranes.png");

    const QRgb navy = qRgb(0, 0, 128);
    EXPECT_EQ(image.pixel(310, 360), navy); // the base box's top edge
    EXPECT_EQ(image.pixel(310, 368), qRgb(255, 255, 255)); // inside the base box
}

TEST_F(TowerCrane, PropertyCommandOnlyRepaints)
{
    TVyrTaDiao* crane = Place();
    services.invalidatedRects.clear();
    map.Modified = false;
    map.EditProperties();
    EXPECT_FALSE(map.Modified);
    EXPECT_EQ(services.invalidatedRects.size(), 1u);
    EXPECT_EQ(crane->ArmLength, 300000);
}

// The crane of the record tests: every dimension away from its default.
const QByteArray CraneRecord = QByteArray::fromHex(
    "64000000"         // MapID 100
    "84030000"         // RotateAngle 900
    "0000803f0000803f" // FlexX, FlexY 1.0
    "400d030030570500" // BasePoint (200000, 350000)
    "ff00000001000000" // pen colour red, style dash
    "02000000"         // pen width 2
    "90d00300"         // ArmLength 250000
    "80380100"         // CounterJibLength 80000
    "4e0c0000"         // JibAngle 3150
    "60ea0000"         // BaseWidth 60000
    "409c0000"         // BaseHeight 40000
    "30750000"         // CounterweightSize 30000
    "c2010000"         // ArcBefore 450
    "16f4ffff");       // ArcAfter -3050

TEST_F(TowerCrane, RecordIsWrittenByteForByteAndReadBackUnchanged)
{
    map.DefaultPen.SetColor(platform::clRed);
    map.DefaultPen.SetStyle(platform::TPenStyle::psDash);
    map.DefaultPen.SetWidth(2);
    TVyrTaDiao* crane = Place();
    map.DefaultPen.Assign(siteplan::TMapPen());
    crane->RotateAngle = 900;
    crane->ArmLength = 250000;
    crane->ArcAfter = -3050;
    const QByteArray bytes = boxtest::SavedBytes(map);
    ASSERT_EQ(bytes.size(), shapetest::FirstRecordAt + 68);
    EXPECT_EQ(bytes.mid(shapetest::FirstRecordAt).toHex(), CraneRecord.toHex());
    boxtest::AddToCorpus(bytes, QStringLiteral("crane"));

    siteplan::TPlaneMap loaded(services, 254);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    ASSERT_EQ(loaded.MapComCount(), 1);
    const auto* read = dynamic_cast<const TVyrTaDiao*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Outline(), crane->Outline());
    EXPECT_EQ(read->OwnPen.Value(), crane->OwnPen.Value());
    EXPECT_EQ(read->Pen(), &read->OwnPen);
    EXPECT_EQ(read->RotateAngle, 900);
    EXPECT_EQ(boxtest::SavedBytes(loaded), bytes);

    // Through the copy buffer: the copy lands 5 pixels (2500 world units,
    // snapped to 2500) right of and below the crane.
    loaded.SelectAll();
    loaded.CopySelection();
    loaded.PasteSelection();
    ASSERT_EQ(loaded.MapComCount(), 2);
    const auto* copy = dynamic_cast<const TVyrTaDiao*>(loaded.MapCom(1));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->BasePoint, read->BasePoint + QPoint(2500, 2500));
    EXPECT_EQ(copy->ArcAfter, -3050);

    // Every shorter record is refused.
    for (qsizetype size = shapetest::FirstRecordAt + 4; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        siteplan::TPlaneMap target(services);
        EXPECT_FALSE(boxtest::LoadBytes(target, bytes.first(size)));
    }
}

TEST_F(TowerCrane, ExtremeRecordLoadsPaintsAndSavesAsRead)
{
    TVyrTaDiao* crane = Place();
    SetStoredValues(*crane, IntMin, IntMax);
    crane->OwnPen.SetWidth(IntMax);
    const QByteArray bytes = boxtest::SavedBytes(map);
    boxtest::AddToCorpus(bytes, QStringLiteral("crane-extremes"));
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    loaded.SelectAll();
    RecordingCanvas canvas{QSize(800, 600), 96};
    loaded.Paint(canvas);
    EXPECT_EQ(boxtest::SavedBytes(loaded), bytes);
}

} // namespace
