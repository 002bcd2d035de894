// A plan holding every box shape and a legend symbol: written and read back
// unchanged, through the copy buffer too, and painted for a look with one
// of each selected.
#include "box_shape_support.h"

#include "siteplan/shapes/vyr_arc.h"
#include "siteplan/shapes/vyr_ellipse.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_picture.h"
#include "siteplan/shapes/vyr_rectangle.h"
#include "siteplan/shapes/vyr_round_rect_range.h"

#include "platform/fonts.h"
#include "platform/painter_canvas.h"

#include <QImage>

#include <set>

using boxtest::BoxPlan;

namespace {

platform::TPicture Tree()
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x - 20) * (x - 20) + (y - 16) * (y - 16) < 200)
                image.setPixel(x, y, qRgb(30, 140, 40));
            else if (x >= 18 && x < 22 && y >= 28)
                image.setPixel(x, y, qRgb(120, 70, 20));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    platform::TPicture picture;
    picture.SetGraphic(platform::TGraphicKind::Bitmap, bytes);
    return picture;
}

struct BoxPlanFile : BoxPlan {
    BoxPlanFile()
    {
        // A legend library of one symbol, placed as the program binds it.
        map.CreateLegendMapCom = [](siteplan::TPlaneMap& plan, int index, std::span<const QPoint> points)
            -> std::unique_ptr<siteplan::TVyrMapCom> {
            if (index != 0)
                return nullptr;
            return std::make_unique<siteplan::TVyrPicture>(&plan, points, Tree());
        };
    }

    // Every box shape twice, the second of each selected and turned, with a
    // legend symbol and a polyline between them.
    void FillPlan()
    {
        map.DefaultPen.SetWidth(2);
        map.DefaultPen.SetColor(platform::clNavy);
        map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
        map.DefaultBrush.SetColor(0x00C0E0FF);
        std::vector<siteplan::TVyrMapCom*> second;
        const int kinds[] = {siteplan::TVYRRectangle::Kind, siteplan::TVyrEllipse::Kind,
                             siteplan::TVYRRoundRectRangle::Kind, siteplan::TVyrArc::Kind,
                             siteplan::TVyrPicture::Kind};
        int column = 0;
        for (const int kind : kinds) {
            const int x = 30 + column * 150;
            Draw<siteplan::TVyrMapCom>(kind, {x, 30}, {x + 120, 110});
            second.push_back(Draw<siteplan::TVyrMapCom>(kind, {x + 120, 290}, {x, 170}));
            ++column;
        }
        auto* picture = dynamic_cast<siteplan::TVyrPicture*>(second.back());
        picture->Picture = Tree();
        dynamic_cast<siteplan::TVyrArc*>(second[3])->StartAngle = 3300;
        map.SetDrawKind(siteplan::LegendKindBase);
        map.ClearSelection();
        Click({780, 60});
        map.SetDrawKind(0);
        map.ClearSelection();
        map.SetDrawKind(siteplan::TVYRLine::Kind);
        Click({30, 330});
        Click({400, 330});
        DoubleClick({700, 380});
        map.SetDrawKind(0);
        map.ClearSelection();
        for (siteplan::TVyrMapCom* shape : second) {
            shape->RotateAngle = 150;
            map.SelectMapCom(shape, false);
        }
    }
};

TEST_F(BoxPlanFile, EveryBoxShapeAndALegendWrittenAndReadBackUnchangedAlsoThroughTheCopyBuffer)
{
    FillPlan();
    ASSERT_EQ(map.MapComCount(), 12);
    const QByteArray saved = boxtest::SavedBytes(map);
    boxtest::AddToCorpus(saved, QStringLiteral("box-shapes"));
    std::unique_ptr<siteplan::TPlaneMap> loaded = Reloaded(saved);
    ASSERT_EQ(loaded->MapComCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(loaded->MapCom(i)->MapID, map.MapCom(i)->MapID) << i;
        EXPECT_EQ(boxtest::RecordBytes(*loaded->MapCom(i)), boxtest::RecordBytes(*map.MapCom(i))) << i;
    }
    EXPECT_EQ(boxtest::SavedBytes(*loaded), saved);

    // Copied and pasted: the same shapes again, each a copy of its record.
    map.SelectAll();
    map.CopySelection();
    ASSERT_TRUE(map.CanPaste());
    map.PasteSelection();
    ASSERT_EQ(map.MapComCount(), 24);
    // The copy buffer holds the selection in its order: compare as sets.
    std::multiset<QByteArray> originals;
    std::multiset<QByteArray> copies;
    for (int i = 0; i < 12; ++i) {
        // A paste lands 5 pixels down and right: moved back, each copy has
        // the record of its original.
        map.MapCom(12 + i)->MoveBy({5, 5}, {0, 0});
        originals.insert(boxtest::RecordBytes(*map.MapCom(i)));
        copies.insert(boxtest::RecordBytes(*map.MapCom(12 + i)));
    }
    EXPECT_EQ(copies, originals);
    int legends = 0;
    for (int i = 12; i < 24; ++i)
        if (const auto* p = dynamic_cast<const siteplan::TVyrPicture*>(map.MapCom(i)); p && !p->ShowOutRect)
            legends += p->Picture == Tree();
    EXPECT_EQ(legends, 1);
}

TEST_F(BoxPlanFile, PaintedPlanWithEveryBoxShapeAndALegendSymbol)
{
    platform::InstallFontSubstitutes();
    FillPlan();
    QImage image(900, 420, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        map.Paint(canvas);
    }
    QDir().mkpath(SHOTS_DIR);
    image.save(SHOTS_DIR "/box_shapes.png");
    // The filled rectangle inside, the rectangle's navy outline, the tree.
    EXPECT_EQ(image.pixel(90, 70), qRgb(0xFF, 0xE0, 0xC0));
    EXPECT_EQ(image.pixel(30, 70), qRgb(0, 0, 0x80));
    EXPECT_EQ(image.pixel(800, 76), qRgb(30, 140, 40));
}

} // namespace
