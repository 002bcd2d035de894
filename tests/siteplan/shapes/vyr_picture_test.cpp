// The picture: drawing a framed box and choosing its file (also a file
// that cannot be read), legend symbols placed at the picture's pixel size,
// the frame as the only hit, normalising the corners when drawing or a
// handle drag ends, and the record with its graphic, also damaged ones.
#include "box_shape_support.h"

#include "siteplan/grab_handles.h"
#include "siteplan/shapes/vyr_picture.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

using boxtest::BoxPlan;
using platform::CanvasOp;
using platform::RecordingCanvas;
using platform::TGraphicKind;
using platform::TPicture;
using siteplan::TVyrPicture;

namespace {

constexpr int PictureKind = TVyrPicture::Kind;

QByteArray BmpBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(20, 160, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TPicture Bitmap(int width, int height)
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Bitmap, BmpBytes(width, height));
    return picture;
}

// The file dialog answers with a file; the picture dialog is not used.
struct FileEditor : boxtest::FakeEditor {
    QString file;
    int asked = 0;
    bool OpenPictureFile(QString& fileName) override
    {
        ++asked;
        fileName = file;
        return !file.isEmpty();
    }
};

struct Picture : BoxPlan {
    QTemporaryDir folder;
    FileEditor editor;

    Picture() { map.SetPropertyEditor(&editor); }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
};

TEST_F(Picture, DrawnBoxAsksForItsFileAndShowsThePicture)
{
    editor.file = WriteFile(QStringLiteral("tree.bmp"), BmpBytes(8, 4));
    TVyrPicture* picture = Draw<TVyrPicture>(PictureKind, {100, 100}, {300, 200});
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(hints.back(), "X边长度：2000mm, Y边长度：1000 mm");
    EXPECT_EQ(editor.asked, 1);
    EXPECT_EQ(picture->Picture.Kind(), TGraphicKind::Bitmap);
    EXPECT_EQ(picture->Picture.Width(), 8);
    EXPECT_TRUE(picture->ShowOutRect);
    EXPECT_TRUE(picture->Stretch);
    EXPECT_EQ(picture->GetMaxPoints(), 1);
    EXPECT_EQ(picture->Attributes(), siteplan::attr::Pen);
    EXPECT_EQ(addMapAfter, 1);
    EXPECT_TRUE(services.messages.empty());

    RecordingCanvas canvas{QSize(400, 300), 254};
    picture->OwnPen.SetColor(platform::clGreen);
    picture->Draw(canvas, siteplan::drawmode::Selected);
    QStringList calls;
    for (const auto& call : canvas.Calls())
        if (call.Op == CanvasOp::StretchDraw || (call.Op == CanvasOp::Rectangle && call.Pen.Color == platform::clGreen))
            calls << call.ToString().section(' ', 0, 1);
    // The frame in the pen's own colour, not-XOR while selected.
    EXPECT_EQ(calls, (QStringList{"StretchDraw(100,100,300,200,8x4)", "Rectangle(100,100,300,200) pen=008000,solid,1,notxor"}));
}

TEST_F(Picture, FileThatCannotBeReadIsReportedAndTheEmptyFrameStays)
{
    editor.file = WriteFile(QStringLiteral("broken.bmp"), QByteArray("not a picture at all"));
    TVyrPicture* picture = Draw<TVyrPicture>(PictureKind, {100, 100}, {300, 200});
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_FALSE(picture->Picture.HasGraphic());
    EXPECT_TRUE(map.IsSelected(picture));
    // The tool went back to select as after any shape.
    EXPECT_EQ(addMapAfter, 1);
    // A cancelled dialog leaves the frame too.
    editor.file.clear();
    TVyrPicture* empty = Draw<TVyrPicture>(PictureKind, {100, 300}, {300, 400});
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->Picture.HasGraphic());
    EXPECT_EQ(empty->GetMaxPoints(), 2);
    EXPECT_EQ(services.messages.size(), 1u);
}

TEST_F(Picture, OnlyTheFrameHitsAlsoForALegendWhoseFrameIsNotDrawn)
{
    TVyrPicture* picture = Draw<TVyrPicture>(PictureKind, {100, 100}, {300, 200});
    ASSERT_NE(picture, nullptr);
    const QPoint at[] = {{100, 150}, {102, 150}, {200, 150}, {300, 203}, {200, 98}};
    const bool hits[] = {true, true, false, false, true};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(picture->HitTest(at[i]), hits[i]) << i;
    const QPoint press[] = {{100, 100}};
    TVyrPicture legend(&map, press, Bitmap(40, 20));
    EXPECT_FALSE(legend.ShowOutRect);
    EXPECT_TRUE(legend.HitTest({100, 110}));
    EXPECT_FALSE(legend.HitTest({120, 110}));
    RecordingCanvas canvas{QSize(400, 300), 254};
    legend.Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(canvas.Log(CanvasOp::Rectangle).isEmpty());
    EXPECT_EQ(canvas.Log(CanvasOp::StretchDraw).size(), 1);
}

TEST(PictureLegend, BoxTakesThePicturesPixelSizeAtTheZoom)
{
    FakeWindowServices services;
    // One pixel per 10 world units at zoom 100.
    siteplan::TPlaneMap map(services, 254);
    map.SetMapScale(10);
    const QPoint press[] = {{100, 40}};
    const struct {
        int zoom;
        QPoint corner1;
        QPoint size;
    } cases[] = {{100, {1000, 400}, {400, 200}}, {200, {500, 200}, {200, 100}}};
    for (const auto& c : cases) {
        map.SetZoom(c.zoom);
        TVyrPicture legend(&map, press, Bitmap(40, 20));
        EXPECT_EQ(legend.Corner1, c.corner1) << c.zoom;
        EXPECT_EQ(legend.Corner2 - legend.Corner1, c.size) << c.zoom;
        EXPECT_EQ(legend.GetMaxPoints(), 1);
        EXPECT_TRUE(legend.Picture == Bitmap(40, 20));
    }
}

TEST_F(Picture, CornersAreNormalisedWhenDrawingAndHandleDragsEnd)
{
    TVyrPicture* picture = Draw<TVyrPicture>(PictureKind, {300, 200}, {100, 100});
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Corner1, QPoint(10000, 10000));
    EXPECT_EQ(picture->Corner2, QPoint(30000, 20000));
    // Handle 4 (Corner2) dragged past the top-left: while it moves it keeps
    // its corner, when it is let go the shape is normalised and the
    // handles stand where the box is.
    const QPoint handle = picture->GetPointPos(4);
    Press(handle);
    Move({50, 60});
    EXPECT_EQ(picture->Corner2, QPoint(4900, 5900));
    Release({50, 60});
    EXPECT_EQ(picture->Corner1, QPoint(4900, 5900));
    EXPECT_EQ(picture->Corner2, QPoint(10000, 10000));
    EXPECT_EQ(picture->GrabHandles()->Handle(2).GetAnchor(), picture->GetPointPos(0));
    EXPECT_EQ(picture->GetPointPos(0), QPoint(48, 58));
}

QByteArray PictureRecord(QByteArray graphic)
{
    return QByteArray::fromHex("08000000" "00000000" "0000803f" "0000803f" "00000000" "00000000" // base
                               "000000000000000001000000"                                       // pen
                               "e8030000" "d0070000" "b80b0000" "a00f0000"                      // box
                               "0100" "0000")                                                   // frame, no stretch
           + graphic;
}

QByteArray GraphicBytes(const QByteArray& name, const QByteArray& data)
{
    QByteArray out(1, static_cast<char>(name.size()));
    out += name;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    siteplan::PreparePlanStream(stream);
    stream << qint32(data.size());
    return out + buffer.data() + data;
}

QByteArray PlanOf(siteplan::TPlaneMap& map, const QList<QByteArray>& records)
{
    QByteArray plan = boxtest::SavedBytes(map);
    plan.chop(4);
    QByteArray count(4, '\0');
    count[0] = static_cast<char>(records.size());
    plan += count;
    for (const QByteArray& r : records)
        plan += r;
    return plan;
}

TEST(PictureRecords, WrittenNormalisedWithTheGraphicAndReadBackIdentical)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    TVyrPicture picture(&map, {});
    picture.Corner1 = QPoint(3000, 2000);
    picture.Corner2 = QPoint(1000, 4000);
    picture.Stretch = false;
    picture.Picture = Bitmap(3, 2);
    const QByteArray bmp = picture.Picture.Bytes();
    const QByteArray record = PictureRecord(GraphicBytes("TBitmap", bmp));
    const QByteArray noGraphic = PictureRecord(QByteArray(1, '\0'));
    EXPECT_EQ(boxtest::RecordBytes(picture).toHex(), record.toHex());
    // Saving changes nothing of the shape.
    EXPECT_EQ(picture.Corner1, QPoint(3000, 2000));

    // Written as it was read: a box not normalised in the file is written
    // normalised, and the plan that read it stays unmodified.
    QByteArray turned = record;
    turned.replace(36, 16, QByteArray::fromHex("b80b0000" "a00f0000" "e8030000" "d0070000"));
    const QByteArray plan = PlanOf(map, {record, noGraphic});
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, PlanOf(map, {turned, noGraphic})));
    ASSERT_EQ(loaded.MapComCount(), 2);
    const auto* read = dynamic_cast<const TVyrPicture*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->Picture == picture.Picture);
    EXPECT_FALSE(read->Stretch);
    EXPECT_EQ(read->Corner1, QPoint(3000, 4000));
    // A class-name byte of 0 carries no size: the next record follows it.
    EXPECT_FALSE(dynamic_cast<const TVyrPicture*>(loaded.MapCom(1))->Picture.HasGraphic());
    EXPECT_EQ(boxtest::SavedBytes(loaded), plan);
    EXPECT_EQ(read->Corner1, QPoint(3000, 4000));
    EXPECT_FALSE(loaded.Modified);
    boxtest::AddToCorpus(plan, QStringLiteral("picture"));

    // A stored switch of 2 reads as False; Stretch False draws the same.
    QByteArray two = noGraphic;
    two[52] = 2;
    siteplan::TPlaneMap switches(services);
    ASSERT_TRUE(boxtest::LoadBytes(switches, PlanOf(map, {two})));
    EXPECT_FALSE(dynamic_cast<const TVyrPicture*>(switches.MapCom(0))->ShowOutRect);

    // Each graphic class and a graphic whose bytes do not decode are kept.
    for (const char* name : {"TBitmap", "TIcon", "TMetafile", "TJPEGImage"}) {
        const QByteArray kept = PlanOf(map, {PictureRecord(GraphicBytes(name, "xyz"))});
        siteplan::TPlaneMap keeping(services);
        ASSERT_TRUE(boxtest::LoadBytes(keeping, kept)) << name;
        EXPECT_EQ(boxtest::SavedBytes(keeping), kept) << name;
    }
}

// A graphic is decoded only when it is drawn or its size is asked for: a
// plan whose image bytes are damaged still opens without a word, each such
// picture draws as an empty frame (also a legend symbol, whose own frame is
// off), its size is 0 x 0, and the plan saves the bytes it read, before
// and after the pictures were drawn.
TEST(PictureRecords, DamagedImagesOpenQuietlyDrawAnEmptyFrameAndSaveTheirBytes)
{
    QByteArray jpeg;
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(qRgb(200, 30, 30));
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    QByteArray huge = BmpBytes(3, 2);
    huge.replace(18, 8, QByteArray::fromHex("409c0000" "409c0000")); // 40000 x 40000 pixels claimed
    struct Case {
        const char* Name;
        QByteArray Graphic;
    };
    const Case cases[] = {
        {"jpeg cut short", GraphicBytes("TJPEGImage", jpeg.left(jpeg.size() / 3))},
        {"bitmap claiming 40000 x 40000", GraphicBytes("TBitmap", huge)},
        {"bitmap cut inside its header", GraphicBytes("TBitmap", BmpBytes(30, 20).left(20))},
        {"icon of garbage", GraphicBytes("TIcon", QByteArray::fromHex("00000100") + "garbage")},
        {"metafile of garbage", GraphicBytes("TMetafile", QByteArray::fromHex("d7cdc69a") + "garbage")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FakeWindowServices services;
        siteplan::TPlaneMap map(services);
        QByteArray legend = PictureRecord(c.Graphic);
        legend[52] = 0; // no frame of its own
        const QByteArray plan = PlanOf(map, {PictureRecord(c.Graphic), legend});
        boxtest::AddToCorpus(plan, QStringLiteral("damaged-picture-%1").arg(&c - cases));
        siteplan::TPlaneMap loaded(services);
        ASSERT_TRUE(boxtest::LoadBytes(loaded, plan));
        EXPECT_TRUE(services.messages.empty());
        EXPECT_EQ(boxtest::SavedBytes(loaded), plan);

        for (int i = 0; i < 2; ++i) {
            const auto* picture = dynamic_cast<const TVyrPicture*>(loaded.MapCom(i));
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->ShowOutRect, i == 0);
            QImage image(60, 60, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                platform::PainterCanvas canvas(image);
                const_cast<TVyrPicture*>(picture)->Draw(canvas, siteplan::drawmode::Normal);
            }
            // Its frame in the black pen, nothing inside.
            const siteplan::TRect box = picture->GetBounds();
            ASSERT_GE(box.Right - box.Left, 4);
            ASSERT_GE(box.Bottom - box.Top, 4);
            const int middle = (box.Top + box.Bottom) / 2;
            EXPECT_EQ(image.pixel(box.Left, middle), qRgb(0, 0, 0)) << i;
            EXPECT_EQ(image.pixel(box.Right - 1, middle), qRgb(0, 0, 0)) << i;
            EXPECT_EQ(image.pixel((box.Left + box.Right) / 2, middle), qRgb(255, 255, 255)) << i;
            EXPECT_FALSE(picture->Picture.Decoded());
            EXPECT_EQ(picture->Picture.Width(), 0);
            EXPECT_EQ(picture->Picture.Height(), 0);
            // One click still places a copy of it: the bytes are there.
            EXPECT_EQ(picture->GetMaxPoints(), 1);
        }
        EXPECT_EQ(boxtest::SavedBytes(loaded), plan);
        EXPECT_TRUE(services.messages.empty());
    }
}

TEST(PictureRecords, GraphicSizeAndClassAreCheckedAndDamagedRecordsRefuseThePlan)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    const QByteArray bmp = BmpBytes(3, 2);
    QByteArray negative = PictureRecord(GraphicBytes("TBitmap", bmp));
    negative.replace(64, 4, QByteArray::fromHex("f0ffffff"));
    QByteArray tooLong = PictureRecord(GraphicBytes("TBitmap", bmp));
    tooLong.replace(64, 4, QByteArray::fromHex("ffffff00"));
    QByteArray oneTooMany = PictureRecord(GraphicBytes("TBitmap", bmp));
    oneTooMany.chop(1);
    const QByteArray cases[] = {
        negative,
        tooLong,
        oneTooMany,
        PictureRecord(GraphicBytes("TPngImage", bmp)),
        PictureRecord(GraphicBytes("tbitmap", bmp)),
        PictureRecord(QByteArray::fromHex("05") + "TIcon"), // no size
        PictureRecord(QByteArray::fromHex("07") + "TBit"),  // name cut short
    };
    siteplan::TPlaneMap loaded(services);
    const QByteArray good = PlanOf(map, {PictureRecord(GraphicBytes("TBitmap", bmp))});
    ASSERT_TRUE(boxtest::LoadBytes(loaded, good));
    for (const QByteArray& record : cases) {
        EXPECT_FALSE(boxtest::LoadBytes(loaded, PlanOf(map, {record}))) << record.mid(56).toHex().toStdString();
        // The open plan stays as it was.
        EXPECT_EQ(boxtest::SavedBytes(loaded), good);
    }
    // The exact size followed by the next record reads both.
    const QByteArray two = PlanOf(map, {PictureRecord(GraphicBytes("TBitmap", bmp)), PictureRecord(QByteArray(1, '\0'))});
    siteplan::TPlaneMap both(services);
    ASSERT_TRUE(boxtest::LoadBytes(both, two));
    EXPECT_EQ(both.MapComCount(), 2);
}

} // namespace
