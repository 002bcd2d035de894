#include "tests/siteplan/plan_fixture.h"

#include "siteplan/grab_handles.h"

#include "siteplan/shapes/vyr_ellipse.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_picture.h"
#include "siteplan/shapes/vyr_rectangle.h"
#include "siteplan/shapes/vyr_round_rect_range.h"
#include "siteplan/shapes/vyr_text.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <functional>
#include <memory>
#include <random>

using platform::CanvasCall;
using platform::CanvasOp;
using platform::RecordingCanvas;
using testshapes::TTestBox;

namespace {

struct PlaneMapPaint : PlanFixture {
    RecordingCanvas canvas{QSize(3000, 2000), 254};

    QStringList Only(CanvasOp op) const { return canvas.Log(op); }
    int IndexOf(const QString& text) const
    {
        const QStringList log = canvas.Log();
        for (int i = 0; i < log.size(); ++i)
            if (log[i].startsWith(text))
                return i;
        return -1;
    }
};

TEST_F(PlaneMapPaint, GridThenShapesThenHandles)
{
    TTestBox* a = AddBox({100, 100}, {300, 300});
    TTestBox* b = AddBox({700, 100}, {900, 300});
    map.SelectMapCom(a, true);
    map.Paint(canvas);

    // At 1 : 1 one screen centimetre is 100 world units: a step of 1 cm.
    EXPECT_EQ(map.ShowUnit(), QStringLiteral("厘米"));
    EXPECT_EQ(map.UnitValue(), 1);
    EXPECT_FLOAT_EQ(map.UnitPixel(), 100.0f);
    const QStringList lines = Only(CanvasOp::LineTo);
    // 26 columns in 2670 pixels and 18 rows in 1800, none at 0.
    ASSERT_EQ(map.Width(), 2670);
    ASSERT_EQ(map.Height(), 1800);
    EXPECT_EQ(lines.size(), 26 + 18 + 1); // and the rotation arm
    EXPECT_EQ(lines.front(), QStringLiteral("LineTo(100,1800) pen=8000000F,dot,1,copy"));
    EXPECT_EQ(lines[25], QStringLiteral("LineTo(2600,1800) pen=8000000F,dot,1,copy"));
    EXPECT_EQ(lines[26], QStringLiteral("LineTo(2670,100) pen=8000000F,dot,1,copy"));

    // The selected shape first gets its frame (blue, dotted, not-XOR, grown
    // by the select margin) and rotation arm, then draws itself.
    const QStringList rects = Only(CanvasOp::Rectangle);
    EXPECT_EQ(rects, (QStringList{
                         QStringLiteral("Rectangle(98,98,302,302) pen=FF0000,dot,1,notxor brush=FFFFFF,clear"),
                         QStringLiteral("Rectangle(100,100,300,300) pen=000000,solid,1,copy brush=FFFFFF,clear"),
                         QStringLiteral("Rectangle(700,100,900,300) pen=000000,solid,1,copy brush=FFFFFF,clear"),
                     }));
    EXPECT_EQ(lines.back(), QStringLiteral("LineTo(327,200) pen=FF0000,dot,1,notxor"));
    // Handles last, above every shape: move, rotate and the two corners.
    const QStringList fills = Only(CanvasOp::FillRect);
    EXPECT_EQ(fills, (QStringList{
                         QStringLiteral("FillRect(193,193,207,207) brush=8000000D,solid"),
                         QStringLiteral("FillRect(325,193,339,207) brush=8000000D,solid"),
                         QStringLiteral("FillRect(93,93,107,107) brush=8000000D,solid"),
                         QStringLiteral("FillRect(293,293,307,307) brush=8000000D,solid"),
                     }));
    EXPECT_LT(IndexOf(QStringLiteral("Rectangle(700,100")), IndexOf(QStringLiteral("FillRect(193")));
    (void)b;
}

TEST_F(PlaneMapPaint, RotatedShapeTurnsAboutItsCentre)
{
    TTestBox* a = AddBox({100, 100}, {300, 300});
    map.ClearSelection();
    a->RotateAngle = 900;
    map.Paint(canvas);
    const int i = IndexOf(QStringLiteral("Rectangle(100,100,300,300)"));
    ASSERT_GE(i, 0);
    // A quarter turn clockwise about (200, 200).
    const QTransform t = canvas.Calls()[static_cast<std::size_t>(i)].Transform;
    EXPECT_EQ(t.map(QPoint(300, 200)), QPoint(200, 300));
    EXPECT_EQ(t.map(QPoint(200, 200)), QPoint(200, 200));
}

TEST_F(PlaneMapPaint, PaperMarksComeFirstWithShowPaper)
{
    map.SetShowPaper(true);
    map.Paint(canvas);
    const QStringList log = canvas.Log();
    // 15 mm at 254 ppi is 150 px; the sheet is 2970 x 2100; marks of 20 px.
    ASSERT_GE(log.size(), 6);
    EXPECT_EQ(log[1], QStringLiteral("Polyline((130,150),(150,150),(150,130)) pen=8000000F,solid,1,copy"));
    EXPECT_EQ(log[2], QStringLiteral("Polyline((2840,150),(2820,150),(2820,130)) pen=8000000F,solid,1,copy"));
    EXPECT_EQ(log[4], QStringLiteral("Polyline((2840,1950),(2820,1950),(2820,1970)) pen=8000000F,solid,1,copy"));
    EXPECT_TRUE(log[5].startsWith(QStringLiteral("Rectangle(150,150,2820,1950) pen=8000000F,dot,1,copy brush=")));
}

TEST_F(PlaneMapPaint, BandAndRubberBandAreDrawnTwiceInNotXor)
{
    map.SetCanvas(&canvas);
    Press({500, 500});
    Move({600, 650});
    Release({600, 650});
    EXPECT_EQ(Only(CanvasOp::Rectangle), (QStringList{
                                             QStringLiteral("Rectangle(500,500,500,500) pen=000000,dot,1,notxor brush=FFFFFF,clear"),
                                             QStringLiteral("Rectangle(500,500,500,500) pen=000000,dot,1,notxor brush=FFFFFF,clear"),
                                             QStringLiteral("Rectangle(500,500,600,650) pen=000000,dot,1,notxor brush=FFFFFF,clear"),
                                             QStringLiteral("Rectangle(500,500,600,650) pen=000000,dot,1,notxor brush=FFFFFF,clear"),
                                         }));
    canvas.Clear();
    map.SetDrawKind(testshapes::BoxKind);
    Press({100, 100});
    Move({300, 200});
    Release({300, 200});
    // Drawn at the press, erased and drawn again at the move.
    EXPECT_EQ(Only(CanvasOp::Rectangle), (QStringList{
                                             QStringLiteral("Rectangle(100,100,100,100) pen=000000,solid,1,notxor brush=FFFFFF,clear"),
                                             QStringLiteral("Rectangle(100,100,100,100) pen=000000,solid,1,notxor brush=FFFFFF,clear"),
                                             QStringLiteral("Rectangle(100,100,300,200) pen=000000,solid,1,notxor brush=FFFFFF,clear"),
                                         }));
    map.SetCanvas(nullptr);
}

} // namespace

namespace {

TEST_F(PlaneMapPaint, GridLinesOnlyWhereTheCanvasReaches)
{
    RecordingCanvas small(QSize(250, 150), 254);
    map.Paint(small);
    QStringList lines;
    for (const CanvasCall& call : small.Calls())
        if (call.Op == CanvasOp::LineTo)
            lines << call.ToString();
    // Columns at 100 and 200 (and 300, which touches the edge), rows at 100 (and 200).
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("LineTo(100,1800) pen=8000000F,dot,1,copy"),
                         QStringLiteral("LineTo(200,1800) pen=8000000F,dot,1,copy"),
                         QStringLiteral("LineTo(300,1800) pen=8000000F,dot,1,copy"),
                         QStringLiteral("LineTo(2670,100) pen=8000000F,dot,1,copy"),
                         QStringLiteral("LineTo(2670,200) pen=8000000F,dot,1,copy"),
                     }));
}

// Only the shapes whose repaint area meets what the canvas shows are drawn:
// a box beyond the right edge is left out, one whose frame reaches into
// the canvas by its margin, or turned into it, is drawn.
TEST_F(PlaneMapPaint, ShapesOutsideTheCanvasAreNotDrawn)
{
    AddBox({100, 100}, {200, 200});
    AddBox({600, 100}, {700, 200}); // beyond the canvas
    AddBox({300, 100}, {400, 200}); // its repaint area reaches x 296
    AddBox({400, 100}, {500, 700})->RotateAngle = 900; // turned across it
    map.ClearSelection();
    RecordingCanvas small(QSize(298, 800), 254);
    map.Paint(small);
    QStringList drawn;
    for (const CanvasCall& call : small.Calls())
        if (call.Op == CanvasOp::Rectangle)
            drawn << QStringLiteral("%1,%2").arg(call.Args[0]).arg(call.Args[1]);
    EXPECT_EQ(drawn, (QStringList{"100,100", "300,100", "400,100"}));
}

} // namespace

namespace {

// Many overlapping shapes of several kinds (solid, hatched and clear
// brushes, texts, ellipses and round rectangles, turned and selected ones)
// painted by the plan, which leaves out what later solid figures paint
// over, show the pixels of drawing
// every shape in turn, with and without a clip of several rectangles.
struct PaintedOver : ::testing::Test {
    FakeWindowServices services;
    siteplan::TPlaneMap map{services, 254};

    QImage Painted(const std::function<void(platform::Canvas&)>& paint, const QRegion& clip) const
    {
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(Qt::white);
        platform::PainterCanvas canvas(image);
        if (!clip.isEmpty())
            canvas.SetClipRegion(clip);
        paint(canvas);
        return image;
    }
};

TEST_F(PaintedOver, ShapesLeftOutUnderSolidBoxesShowThePixelsOfDrawingEveryShape)
{
    using namespace siteplan;
    map.SetMapScale(1);
    std::mt19937 random(20241211);
    const auto between = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int kinds[] = {TVYRRectangle::Kind, TVyrText::Kind, TVyrEllipse::Kind, TVYRRoundRectRangle::Kind,
                         TVYRLine::Kind, TVyrPicture::Kind};
    // Pictures of an opaque photograph, of an image with transparent
    // pixels (an icon), and with a graphic that decodes to nothing.
    const auto encoded = [](QImage::Format format, const char* kind) {
        QImage image(12, 9, format);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(2, 2, 7, 5, Qt::darkGreen);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, kind);
        return bytes;
    };
    platform::TPicture pictures[3];
    pictures[0].SetGraphic(platform::TGraphicKind::Jpeg, encoded(QImage::Format_RGB32, "JPEG"));
    pictures[1].SetGraphic(platform::TGraphicKind::Icon, encoded(QImage::Format_ARGB32, "ICO"));
    pictures[2].SetGraphic(platform::TGraphicKind::Jpeg, QByteArray("no image"));
    ASSERT_FALSE(pictures[0].Image().isNull());
    ASSERT_TRUE(pictures[1].Image().hasAlphaChannel());
    for (int i = 0; i < 600; ++i) {
        std::unique_ptr<TVyrMapCom> shape = map.CreateMapCom(kinds[i % 6]);
        const QPoint corner(between(-40, 620), between(-40, 460));
        const QPoint size = i % 5 == 0 ? QPoint(between(60, 300), between(60, 240)) : QPoint(between(1, 60), between(1, 40));
        if (auto* line = dynamic_cast<TVYRLine*>(shape.get())) {
            line->Points[0] = map.ScreenToWorld(corner);
            line->Points[1] = map.ScreenToWorld(corner + size);
            line->SetPointCount(2);
        } else {
            auto* box = static_cast<TBoxMapCom*>(shape.get());
            box->Corner1 = map.ScreenToWorld(corner);
            box->Corner2 = map.ScreenToWorld(i % 7 == 0 ? corner - size : corner + size);
        }
        const platform::TBrushStyle brushes[] = {platform::TBrushStyle::bsSolid, platform::TBrushStyle::bsSolid,
                                                 platform::TBrushStyle::bsDiagCross, platform::TBrushStyle::bsClear};
        const platform::TBrushStyle brush = brushes[i % 4];
        const platform::TColor colour = platform::RGB(between(0, 255), between(0, 255), between(0, 255));
        if (auto* rectangle = dynamic_cast<TVYRRectangle*>(shape.get())) {
            rectangle->OwnBrush.SetStyle(brush);
            rectangle->OwnBrush.SetColor(colour);
            if (auto* round = dynamic_cast<TVYRRoundRectRangle*>(shape.get()))
                round->CornerSize = map.ScreenToWorld(QPoint(between(0, 80), between(0, 80))) - map.ScreenToWorld(QPoint(0, 0));
        } else if (auto* ellipse = dynamic_cast<TVyrEllipse*>(shape.get())) {
            ellipse->OwnBrush.SetStyle(brush);
            ellipse->OwnBrush.SetColor(colour);
            ellipse->OwnPen.SetWidth(i % 3);
        } else if (auto* picture = dynamic_cast<TVyrPicture*>(shape.get())) {
            picture->Picture = pictures[i % 4 == 3 ? 1 + i % 8 / 4 : 0];
            picture->ShowOutRect = i % 3 != 0;
        } else if (auto* text = dynamic_cast<TVyrText*>(shape.get())) {
            text->OwnBrush.SetStyle(brush);
            text->OwnBrush.SetColor(colour);
            text->SetShowOutRect(i % 3 != 0);
            text->SetText(i % 2 ? QStringLiteral("围墙") : QStringLiteral("材料堆放\nC30"));
        }
        if (i % 11 == 0)
            shape->RotateAngle = between(1, 3599);
        shape->ScaleChanged();
        TVyrMapCom* added = shape.get();
        map.AddMapCom(std::move(shape));
        if (i % 13 == 0)
            map.SelectMapCom(added, true);
    }
    const QRegion clips[] = {QRegion(), QRegion(30, 20, 250, 200) + QRegion(300, 210, 301, 250)};
    for (const QRegion& clip : clips) {
        const QImage painted = Painted([this](platform::Canvas& canvas) { map.Paint(canvas); }, clip);
        const QImage drawn = Painted(
            [this](platform::Canvas& canvas) {
                TPlaneMap empty(services, 254);
                empty.SetMapScale(1);
                empty.Paint(canvas);
                for (int i = 0; i < map.MapComCount(); ++i) {
                    TVyrMapCom* shape = map.MapCom(i);
                    shape->Draw(canvas, map.IsSelected(shape) ? drawmode::SelectedRotating : drawmode::Normal);
                }
                canvas.SetWorldTransform(QTransform());
                for (TVyrMapCom* shape : map.Selection().List())
                    if (const TGrabHandles* handles = shape->GrabHandles())
                        handles->Paint(canvas, canvas.ClipRect());
            },
            clip);
        EXPECT_EQ(painted, drawn) << "clip " << clip.rectCount();
    }
}

} // namespace
