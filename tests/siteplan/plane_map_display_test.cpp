#include "siteplan/plane_map.h"

#include "platform/painter_canvas.h"
#include "platform/picture/picture.h"

#include "tests/support/fake_window_services.h"
#include "tests/siteplan/test_shapes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

using siteplan::TPlaneMap;
using siteplan::TPrinterOrientation;

namespace {

struct PlaneMapDisplay : ::testing::Test {
    FakeWindowServices services;
    TPlaneMap map{services, 96};
    PlaneMapDisplay() { testshapes::RegisterTestShapes(); }
};

TEST_F(PlaneMapDisplay, ConstructorSettings)
{
    EXPECT_EQ(map.PlanmapSize(), 4);
    EXPECT_EQ(map.MapWidth(), 210);
    EXPECT_EQ(map.MapHeight(), 297);
    EXPECT_EQ(map.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(map.MapScale(), 100);
    EXPECT_EQ(map.Zoom(), 100);
    EXPECT_EQ(map.DefaultPen.Color(), platform::clBlack);
    EXPECT_EQ(map.DefaultPen.Width(), 1);
    EXPECT_EQ(map.DefaultBrush.Color(), platform::clWhite);
    EXPECT_EQ(map.DefaultBrush.Style(), platform::TBrushStyle::bsClear);
    EXPECT_EQ(map.CurPen(), &map.DefaultPen);
    EXPECT_EQ(map.EditMethod(), -1);
    EXPECT_FALSE(map.Modified);
}

TEST_F(PlaneMapDisplay, Sizing)
{
    const auto px = [](double mm, int zoom) { return static_cast<int>(std::lround(96 * mm / 25.4 * zoom / 100)); };
    // A4 landscape less 15 mm margins: 267 x 180 mm.
    EXPECT_EQ(map.Width(), px(267, 100));
    EXPECT_EQ(map.Height(), px(180, 100));
    map.SetShowPaper(true);
    EXPECT_EQ(map.Width(), px(297, 100));
    EXPECT_EQ(map.Height(), px(210, 100));
    map.SetShowPaper(false);
    map.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_EQ(map.Width(), px(180, 100));
    EXPECT_EQ(map.Height(), px(267, 100));
    map.SetZoom(200);
    EXPECT_EQ(map.Width(), px(180, 200));
    map.SetLeftMargin(300); // wider than the sheet: an empty control, not a negative one
    EXPECT_EQ(map.Width(), 0);
}

TEST_F(PlaneMapDisplay, PaperSizes)
{
    int w = -1;
    int h = -1;
    EXPECT_TRUE(TPlaneMap::GetPaperSize(0, w, h));
    EXPECT_EQ(w, 841);
    EXPECT_EQ(h, 1189);
    EXPECT_FALSE(TPlaneMap::GetPaperSize(5, w, h));
    EXPECT_EQ(w, 841);
    map.SetPlanmapSize(2);
    EXPECT_EQ(map.MapWidth(), 420);
    EXPECT_EQ(map.MapHeight(), 594);
    map.SetPlanmapSize(5);
    EXPECT_EQ(map.PlanmapSize(), 5);
    EXPECT_EQ(map.MapWidth(), 420);
    EXPECT_EQ(map.MapHeight(), 594);
}

TEST_F(PlaneMapDisplay, SettersMarkModifiedOnlyOnChange)
{
    map.SetPlanmapSize(4);
    map.SetMapWidth(210);
    map.SetOrientation(TPrinterOrientation::poLandscape);
    map.SetMapScale(100);
    map.SetTopMargin(15);
    map.SetShowGrid(true);
    map.SetGridColor(platform::clRed);
    map.SetZoom(300);
    EXPECT_FALSE(map.Modified);
    map.SetBottomMargin(20);
    EXPECT_TRUE(map.Modified);
}

TEST_F(PlaneMapDisplay, Coordinates)
{
    // 1 m of the site at 1 : 100 is 1 cm of the screen: 37.8 pixels at 96 ppi.
    EXPECT_EQ(map.WorldToScreen({10000, -10000}), QPoint(38, -38));
    EXPECT_EQ(map.ScreenToWorld({38, 0}), QPoint(10054, 0));
    EXPECT_EQ(map.SnappedWorld({38, 1}), QPoint(10100, 300));
    map.SetZoom(200);
    EXPECT_EQ(map.WorldToScreen({10000, 0}), QPoint(76, 0));
}

struct GridCase {
    int scale;
    int zoom;
    const char* unit;
    int value;
    int stepWorld; // the grid step in world units
};

TEST_F(PlaneMapDisplay, GridStepAndUnitAcrossScalesAndZooms)
{
    const GridCase cases[] = {
        {100, 100, "米", 1, 10000},  {500, 100, "米", 5, 50000},   {1, 100, "厘米", 1, 100},
        {1, 400, "mm", 2, 20},       {1, 2000, "0.1mm", 5, 5},     {1, 3333, "0.1mm", 5, 5},
        {1, 1429, "0.1mm", 10, 10},  {100, 50, "米", 2, 20000},    {300, 100, "米", 3, 30000},
        {10, 100, "厘米", 10, 1000},  {1000, 10, "米", 100, 1000000},
    };
    for (const GridCase& c : cases) {
        map.SetMapScale(c.scale);
        map.SetZoom(c.zoom);
        map.UpdateGridUnit();
        EXPECT_EQ(map.ShowUnit(), QString::fromUtf8(c.unit)) << c.scale << " " << c.zoom;
        EXPECT_EQ(map.UnitValue(), c.value) << c.scale << " " << c.zoom;
        EXPECT_FLOAT_EQ(map.UnitPixel(), static_cast<float>(c.stepWorld * static_cast<double>(map.ScaleFactor())))
            << c.scale << " " << c.zoom;
    }
}

TEST_F(PlaneMapDisplay, ZeroAndExtremeScaleAndZoom)
{
    map.SetMapScale(0);
    EXPECT_EQ(map.MapScale(), 1);
    map.SetZoom(0);
    EXPECT_EQ(map.Zoom(), 1);
    map.SetZoom(-50);
    EXPECT_EQ(map.Zoom(), 1);

    const struct {
        int scale;
        int zoom;
    } extremes[] = {{1, INT_MAX}, {INT_MAX, 1}, {INT_MAX, INT_MAX}, {1, 1}};
    for (const auto& e : extremes) {
        map.SetMapScale(e.scale);
        map.SetZoom(e.zoom);
        map.UpdateGridUnit();
        EXPECT_GT(map.UnitPixel(), 0.0f) << e.scale << " " << e.zoom;
        EXPECT_TRUE(std::isfinite(map.UnitPixel()));
        EXPECT_GT(map.UnitValue(), 0);
        EXPECT_GE(map.Width(), 0);
        const QPoint far = map.WorldToScreen({INT_MAX, INT_MIN});
        EXPECT_GE(far.x(), 0);
        EXPECT_LE(far.y(), 0);
        EXPECT_EQ(map.ScreenToWorld({0, 0}), QPoint(0, 0));
    }
}

TEST_F(PlaneMapDisplay, ShapeRepaintRegion)
{
    map.SetMapScale(1);
    map.SetDrawKind(testshapes::BoxKind);
    auto shape = map.CreateMapCom(testshapes::BoxKind);
    auto* box = static_cast<testshapes::TTestBox*>(shape.get());
    box->Corner1 = map.ScreenToWorld({100, 100});
    box->Corner2 = map.ScreenToWorld({200, 150});
    const siteplan::TRect b = box->GetBounds();
    // Bounds with room for the rotation arm, grown by the select margin + 2.
    EXPECT_EQ(map.GetMapComRegion(*box), QRegion(QRect(QPoint(b.Left - 4, b.Top - 4), QPoint(b.Right + 25 + 4 - 1, b.Bottom + 4 - 1))));

    box->RotateAngle = 900;
    const QRegion turned = map.GetMapComRegion(*box);
    const QPoint c = box->GetCenter();
    // The region turns with the shape: it now reaches far below the centre.
    EXPECT_TRUE(turned.contains(QPoint(c.x(), c.y() + (b.Right - b.Left) / 2 + 20)));
    EXPECT_FALSE(turned.contains(QPoint(b.Right + 20, c.y())));

    services.invalidatedRects.clear();
    map.InvalidateMapCom(*box);
    ASSERT_EQ(services.invalidatedRects.size(), 1u);
    EXPECT_TRUE(services.invalidatedRects[0].contains(turned.boundingRect()));
    EXPECT_LE(services.invalidatedRects[0].width(), turned.boundingRect().width() + 1);
}

TEST_F(PlaneMapDisplay, ZoomAndScaleRepaintEverything)
{
    services.invalidatedRects.clear();
    map.SetMapScale(200);
    ASSERT_FALSE(services.invalidatedRects.empty());
    EXPECT_EQ(services.invalidatedRects.back(), QRect(0, 0, map.Width(), map.Height()));
    services.invalidatedRects.clear();
    map.SetZoom(150);
    ASSERT_FALSE(services.invalidatedRects.empty());
    EXPECT_EQ(services.invalidatedRects.back(), QRect(0, 0, map.Width(), map.Height()));
}

} // namespace

namespace {

TEST_F(PlaneMapDisplay, BitmapOfThePrintableAreaAtZoom100)
{
    map.SetMapScale(10);
    auto shape = map.CreateMapCom(testshapes::BoxKind);
    auto* box = static_cast<testshapes::TTestBox*>(map.AddMapCom(std::move(shape)));
    box->Corner1 = {1000, 1000};
    box->Corner2 = {5000, 3000};
    box->OwnBrush.SetStyle(platform::TBrushStyle::bsSolid);
    box->OwnBrush.SetColor(platform::clRed);
    map.SelectMapCom(box, true);

    const QImage at100 = map.GetBitmap();
    const auto px = [](double mm) { return static_cast<int>(std::lround(96 * mm / 25.4)); };
    ASSERT_EQ(at100.size(), QSize(px(297) - 2 * px(15), px(210) - 2 * px(15)));
    const QPoint inside = map.WorldToScreen({3000, 2000});
    EXPECT_EQ(at100.pixel(inside), qRgb(255, 0, 0));
    EXPECT_EQ(at100.pixel(2, 2), qRgb(255, 255, 255));

    map.SetZoom(250);
    const QImage at250 = map.GetBitmap();
    EXPECT_EQ(map.Zoom(), 250);
    EXPECT_EQ(at250, at100); // no grid, no selection frame, no zoom
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PlaneMapDisplay, MetafilePlaysBackAsTheBitmap)
{
    map.SetMapScale(10);
    auto* box = static_cast<testshapes::TTestBox*>(map.AddMapCom(map.CreateMapCom(testshapes::BoxKind)));
    box->Corner1 = {1000, 1000};
    box->Corner2 = {5000, 3000};
    box->OwnBrush.SetStyle(platform::TBrushStyle::bsSolid);
    box->OwnBrush.SetColor(platform::clRed);
    map.SelectMapCom(box, true);
    map.SetZoom(250);

    platform::TPicture metafile;
    ASSERT_TRUE(map.DrawToMetafile(metafile));
    EXPECT_EQ(map.Zoom(), 250);
    ASSERT_EQ(metafile.Kind(), platform::TGraphicKind::Metafile);
    ASSERT_TRUE(metafile.Decoded());
    EXPECT_TRUE(metafile.Enhanced());
    const QImage bitmap = map.GetBitmap();
    ASSERT_EQ(QSize(metafile.Width(), metafile.Height()), bitmap.size());

    QImage played(bitmap.size(), QImage::Format_RGB32);
    played.fill(Qt::white);
    {
        platform::PainterCanvas canvas(played);
        metafile.Draw(canvas, QRect(QPoint(0, 0), played.size()));
    }
    EXPECT_EQ(played, bitmap);

    // Stored and read back, the metafile keeps its bytes.
    platform::TPicture reread;
    reread.ReadData(metafile.WriteData());
    EXPECT_EQ(reread, metafile);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PlaneMapDisplay, MetafileOfAnEmptyAreaIsRefused)
{
    map.SetLeftMargin(150);
    map.SetRightMargin(150);
    platform::TPicture metafile;
    metafile.SetGraphic(platform::TGraphicKind::Bitmap, QByteArray("kept"));
    EXPECT_FALSE(map.DrawToMetafile(metafile));
    EXPECT_EQ(metafile.Bytes(), QByteArray("kept"));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("平面图的打印区域为空，无法生成图片。"));
}

TEST_F(PlaneMapDisplay, BitmapOfAnEmptyOrHugeAreaIsRefused)
{
    map.SetLeftMargin(150);
    map.SetRightMargin(150); // the margins cover the sheet
    EXPECT_TRUE(map.GetBitmap().isNull());
    map.SetRightMargin(-150000000);
    map.SetMapHeight(2000000000);
    EXPECT_TRUE(map.GetBitmap().isNull());
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("平面图的打印区域为空，无法生成图片。"));
    EXPECT_TRUE(services.messages[1].text.startsWith(QStringLiteral("平面图的打印区域太大")));
}

} // namespace
