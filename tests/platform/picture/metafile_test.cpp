// The metafile canvas and the EMF / WMF players: a scene recorded as EMF
// and played back looks like the scene drawn directly; hand-built placeable
// metafiles draw where their records say; broken metafiles never crash.
#include "call_log_canvas.h"
#include "sample_pictures.h"

#include "platform/painter_canvas.h"
#include "platform/picture/metafile_canvas.h"
#include "platform/picture/picture.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace platform;
using platform::picture::MetafileCanvas;

namespace {

constexpr QSize SceneSize(240, 180);

void DrawScene(Canvas& c)
{
    c.Brush = TBrush{clWhite, TBrushStyle::bsSolid};
    c.FillRect(QRect(QPoint(0, 0), SceneSize));

    c.Pen = TPen{clRed, TPenStyle::psSolid, 3};
    c.MoveTo(10, 10);
    c.LineTo(110, 40);
    c.Pen = TPen{clBlue, TPenStyle::psSolid, 1};
    const std::array line = {QPoint(10, 50), QPoint(40, 70), QPoint(70, 50), QPoint(100, 70)};
    c.Polyline(line);
    const std::array bezier = {QPoint(120, 10), QPoint(150, 60), QPoint(190, -20), QPoint(230, 40)};
    c.PolyBezier(bezier);

    c.Pen = TPen{clBlack, TPenStyle::psSolid, 1};
    c.Brush = TBrush{clGreen, TBrushStyle::bsSolid};
    const std::array triangle = {QPoint(10, 90), QPoint(60, 80), QPoint(40, 130)};
    c.Polygon(triangle);
    c.Brush = TBrush{clNavy, TBrushStyle::bsDiagCross};
    c.Rectangle(70, 80, 120, 130);
    c.Brush = TBrush{clYellow, TBrushStyle::bsSolid};
    c.Ellipse(130, 80, 180, 120);
    c.RoundRect(190, 80, 235, 125, 12, 12);
    c.Brush.Style = TBrushStyle::bsClear;
    c.Pen = TPen{clPurple, TPenStyle::psSolid, 2};
    c.Arc(130, 125, 180, 175, 180, 150, 130, 150);
    c.Pen = TPen{clBlack, TPenStyle::psDash, 1};
    c.Rectangle(5, 140, 60, 175);

    c.Brush = TBrush{clAqua, TBrushStyle::bsSolid};
    c.FillRect(QRect(190, 130, 20, 20));
    c.Brush = TBrush{clRed, TBrushStyle::bsSolid};
    c.FrameRect(QRect(212, 130, 20, 20));

    c.Font = TFont{QStringLiteral("宋体"), 10, fsBold, clMaroon, 0};
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(70, 138, QStringLiteral("图例 Ab"));
    c.Font.Escapement = 900;
    c.Font.Style = 0;
    c.TextOut(225, 175, QStringLiteral("竖"));
    c.Font.Escapement = 0;
    c.Brush = TBrush{clSilver, TBrushStyle::bsSolid};
    QRect box(70, 158, 55, 20);
    c.DrawText(QStringLiteral("居中"), box, dt::Center | dt::SingleLine | dt::VCenter);

    c.StretchDraw(QRect(150, 45, 40, 30), SampleImage());

    c.SetWorldTransform(QTransform().translate(110, 60).rotate(30));
    c.Pen = TPen{clTeal, TPenStyle::psSolid, 1};
    c.Brush = TBrush{clTeal, TBrushStyle::bsSolid};
    c.Rectangle(0, 0, 16, 8);
    c.SetWorldTransform(QTransform());

    c.SetClipRegion(QRegion(0, 0, 40, 180));
    c.Pen = TPen{clOlive, TPenStyle::psSolid, 4};
    c.MoveTo(0, 120);
    c.LineTo(120, 120);
    c.ResetClipRegion();
}

QImage Blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage DrawnDirectly()
{
    QImage image = Blank(SceneSize);
    PainterCanvas canvas(image);
    DrawScene(canvas);
    return image;
}

QByteArray RecordedScene()
{
    MetafileCanvas metafile(SceneSize);
    DrawScene(metafile);
    return metafile.Finish();
}

QImage Played(const TPicture& picture, QSize size)
{
    QImage image = Blank(size);
    PainterCanvas canvas(image);
    picture.Draw(canvas, QRect(QPoint(0, 0), size));
    return image;
}

// Pixels whose colour differs clearly between the images.
int DifferentPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 96)
                ++count;
        }
    return count;
}

void SaveCorpusSeed(const char* name, const QByteArray& bytes)
{
    QDir().mkpath(QStringLiteral(FUZZ_CORPUS_DIR "/metafile_player_fuzz"));
    QFile file(QStringLiteral(FUZZ_CORPUS_DIR "/metafile_player_fuzz/") + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

TEST(Metafile, RecordedSceneReplaysLikeTheSceneDrawnDirectly)
{
    const QByteArray emf = RecordedScene();
    SaveCorpusSeed("scene.emf", emf);
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, emf);
    ASSERT_TRUE(picture.Decoded());
    EXPECT_TRUE(picture.Enhanced());
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), SceneSize);

    const QImage direct = DrawnDirectly();
    const QImage played = Played(picture, SceneSize);
    played.save(QStringLiteral(PICTURE_SHEET_DIR "/played_scene.png"));
    direct.save(QStringLiteral(PICTURE_SHEET_DIR "/direct_scene.png"));
    EXPECT_LE(DifferentPixels(direct, played), SceneSize.width() * SceneSize.height() / 200);
}

TEST(Metafile, PlaybackStretchesTheFrameOntoTheTarget)
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, RecordedScene());
    const QImage played = Played(picture, SceneSize * 2);
    const QImage direct = DrawnDirectly().scaled(SceneSize * 2);
    // The green triangle and the yellow ellipse land where they were, twice as large.
    EXPECT_EQ(played.pixelColor(2 * 35, 2 * 100), direct.pixelColor(2 * 35, 2 * 100));
    EXPECT_EQ(played.pixelColor(2 * 155, 2 * 100), QColor(Qt::yellow));
    EXPECT_LE(DifferentPixels(direct, played), 4 * SceneSize.width() * SceneSize.height() / 25);
}

TEST(Metafile, PlaybackLeavesTheCanvasAsItWas)
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, RecordedScene());
    CallLogCanvas canvas;
    canvas.Pen = TPen{clLime, TPenStyle::psDot, 2};
    canvas.Brush = TBrush{clFuchsia, TBrushStyle::bsCross};
    canvas.Font.Size = 20;
    canvas.SetWorldTransform(QTransform::fromTranslate(5, 5));
    canvas.MoveTo(3, 4);
    picture.Draw(canvas, QRect(0, 0, 100, 80));
    EXPECT_GT(canvas.Calls.size(), 20);
    EXPECT_EQ(canvas.Pen, (TPen{clLime, TPenStyle::psDot, 2}));
    EXPECT_EQ(canvas.Brush, (TBrush{clFuchsia, TBrushStyle::bsCross}));
    EXPECT_EQ(canvas.Font.Size, 20);
    EXPECT_EQ(canvas.WorldTransform(), QTransform::fromTranslate(5, 5));
    EXPECT_EQ(canvas.PenPos(), QPoint(3, 4));
}

TEST(Metafile, PlaceableMetafileDrawsItsRecordsInTheBox)
{
    const QByteArray wmf = SamplePlaceableWmf();
    SaveCorpusSeed("sample.wmf", wmf);
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, wmf);
    ASSERT_TRUE(picture.Decoded());
    EXPECT_FALSE(picture.Enhanced());
    // 1440 x 720 units at 1440 per inch: one inch by half an inch.
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(96, 48));

    const QImage image = Played(picture, QSize(192, 96));
    image.save(QStringLiteral(PICTURE_SHEET_DIR "/played_wmf.png"));
    // Rectangle (240, 120)-(1200, 600) of 1440 x 720 is (32, 16)-(160, 80) at 192 x 96.
    EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(33, 60), QColor(Qt::red));   // the wide red outline
    EXPECT_EQ(image.pixelColor(20, 60), QColor(Qt::white)); // outside it
    EXPECT_EQ(image.pixelColor(2, 1), QColor(Qt::red));     // the diagonal line in the same pen
    EXPECT_EQ(image.pixelColor(2, 20), QColor(Qt::white));
}

TEST(Metafile, WmfWindowMapsOntoTheBoundingBox)
{
    // The records draw in a window of 100 x 50 units at (1000, 1000); the
    // box says nothing about those units.
    const QByteArray wmf = WmfBuilder(0, 0, 200, 100, 200)
                               .Record(0x020B, {1000, 1000})          // SetWindowOrg
                               .Record(0x020C, {50, 100})             // SetWindowExt
                               .Record(0x02FC, {0, 0x0000, 0x00FF, 0}) // blue brush
                               .Record(0x012D, {0})
                               .Record(0x041B, {1050, 1050, 1025, 1000}) // right half, lower half
                               .Finish();
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, wmf);
    const QImage image = Played(picture, QSize(100, 50));
    EXPECT_EQ(image.pixelColor(25, 40), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(75, 40), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(25, 10), QColor(Qt::white));
}

// Drawing code asks for the area it can reach in its own coordinates,
// under the world transform it has set (a turned shape, for one).
TEST(Metafile, ClipRectFollowsClipAndTransform)
{
    MetafileCanvas metafile(QSize(200, 100));
    EXPECT_EQ(metafile.ClipRect(), QRect(0, 0, 200, 100));
    metafile.SetClipRegion(QRegion(10, 10, 20, 20));
    metafile.SetWorldTransform(QTransform::fromScale(2, 2));
    EXPECT_EQ(metafile.ClipRect(), QRect(5, 5, 10, 10));
    metafile.ResetClipRegion();
    metafile.SetWorldTransform(QTransform(0, 1, -1, 0, 100, 0)); // a quarter turn
    EXPECT_EQ(metafile.ClipRect(), QRect(0, -100, 100, 200));
}

TEST(Metafile, RecordsThatDoNotFitAreSkippedOrEndThePlayback)
{
    MetafileCanvas metafile(QSize(50, 50));
    metafile.Rectangle(1, 1, 10, 10);
    metafile.Ellipse(20, 20, 30, 30);
    QByteArray emf = metafile.Finish();
    // Find the rectangle record and make its count-free neighbour, a
    // polyline, claim more points than it holds: insert one before it.
    const QByteArray rectangleTag("\x2B\x00\x00\x00\x18\x00\x00\x00", 8);
    const qsizetype at = emf.indexOf(rectangleTag);
    ASSERT_GT(at, 0);
    QByteArray polyline;
    const std::uint32_t fields[] = {4, 44, 0, 0, 0, 0, 1000, 0, 0, 5, 5};
    for (std::uint32_t v : fields)
        polyline.append(reinterpret_cast<const char*>(&v), 4);
    emf.insert(at, polyline);

    TPicture picture;
    picture.SetGraphic(TGraphicKind::Metafile, emf);
    CallLogCanvas canvas;
    picture.Draw(canvas, QRect(0, 0, 50, 50));
    EXPECT_FALSE(canvas.Calls.filter("Polyline").size());
    EXPECT_EQ(canvas.Calls.filter("Rectangle").size(), 1);
    EXPECT_EQ(canvas.Calls.filter("Ellipse").size(), 1);

    // A record claiming more bytes than the file holds ends the playback there.
    QByteArray cut = emf;
    const std::uint32_t huge = 0x7FFFFFF0;
    std::memcpy(cut.data() + at + polyline.size() + 4, &huge, 4);
    picture.SetGraphic(TGraphicKind::Metafile, cut);
    CallLogCanvas second;
    picture.Draw(second, QRect(0, 0, 50, 50));
    EXPECT_TRUE(second.Calls.filter("Rectangle").isEmpty());
    EXPECT_TRUE(second.Calls.filter("Ellipse").isEmpty());
}

TEST(Metafile, TruncatedAndGarbledMetafilesNeverCrash)
{
    const QByteArray sources[] = {RecordedScene(), SamplePlaceableWmf()};
    for (const QByteArray& source : sources) {
        for (qsizetype cut = 0; cut < source.size(); cut += std::max<qsizetype>(1, source.size() / 97)) {
            TPicture picture;
            picture.SetGraphic(TGraphicKind::Metafile, source.left(cut));
            Played(picture, QSize(60, 40));
            if (!picture.Decoded() && cut > 0) {
                CallLogCanvas canvas;
                picture.Draw(canvas, QRect(0, 0, 60, 40));
                EXPECT_EQ(canvas.Calls, QStringList{"Rectangle 0,0,60,40 clear"});
            }
        }
        // Every fourth byte past the header turned to 0xFF, one at a time.
        for (qsizetype at = 100; at < source.size(); at += 52) {
            QByteArray garbled = source;
            garbled[at] = char(0xFF);
            garbled[at + 1 < garbled.size() ? at + 1 : at] = char(0x7F);
            TPicture picture;
            picture.SetGraphic(TGraphicKind::Metafile, garbled);
            Played(picture, QSize(60, 40));
        }
    }
}
