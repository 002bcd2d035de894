#include "call_log_canvas.h"
#include "sample_pictures.h"

#include "platform/picture/picture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray Int32Bytes(std::int32_t v)
{
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

QByteArray ShortText(const QByteArray& text)
{
    return char(text.size()) + text;
}

struct FormatCase {
    const char* Name;
    TGraphicKind Kind;
    QByteArray Bytes;
    QByteArray ClassName;
    // The stored form puts a length before the bytes: the byte count, or the
    // count plus its own four bytes.
    int LengthPrefix; // -1: none, else added to the byte count
    QSize Size;
};

std::vector<FormatCase> FormatCases()
{
    const QImage image = SampleImage();
    return {
        {"bmp", TGraphicKind::Bitmap, EncodeImage(image, "BMP"), "TBitmap", 0, {40, 30}},
        {"ico", TGraphicKind::Icon, EncodeImage(image, "ICO"), "TIcon", -1, {40, 30}},
        {"jpg", TGraphicKind::Jpeg, EncodeImage(image, "JPEG"), "TJPEGImage", 0, {40, 30}},
        {"wmf", TGraphicKind::Metafile, SamplePlaceableWmf(), "TMetafile", 4, {96, 48}},
    };
}

QByteArray StoredForm(const FormatCase& c)
{
    QByteArray data = ShortText(c.ClassName);
    if (c.LengthPrefix >= 0)
        data += Int32Bytes(std::int32_t(c.Bytes.size()) + c.LengthPrefix);
    return data + c.Bytes;
}

} // namespace

TEST(Picture, EachFormatLoadsFromFileAndKeepsItsBytes)
{
    QTemporaryDir dir;
    for (const FormatCase& c : FormatCases()) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QStringLiteral("sample.") + c.Name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.Bytes);
        file.close();

        TPicture picture;
        picture.LoadFromFile(path);
        EXPECT_EQ(picture.Kind(), c.Kind);
        EXPECT_EQ(picture.ClassName(), c.ClassName);
        EXPECT_TRUE(picture.Decoded());
        EXPECT_EQ(QSize(picture.Width(), picture.Height()), c.Size);
        EXPECT_EQ(picture.Bytes(), c.Bytes);
    }
}

TEST(Picture, StoredDataHasTheClassFormAndReadsBackByteIdentical)
{
    for (const FormatCase& c : FormatCases()) {
        SCOPED_TRACE(c.Name);
        TPicture picture;
        picture.SetGraphic(c.Kind, c.Bytes);
        const QByteArray data = picture.WriteData();
        EXPECT_EQ(data, StoredForm(c));

        TPicture back;
        back.ReadData(data);
        EXPECT_EQ(back.Kind(), c.Kind);
        EXPECT_EQ(back.Bytes(), c.Bytes);
        EXPECT_EQ(back.WriteData(), data);
        EXPECT_EQ(QSize(back.Width(), back.Height()), c.Size);
    }
}

TEST(Picture, RasterGraphicsStretchIntoTheRectangle)
{
    for (const FormatCase& c : FormatCases()) {
        if (c.Kind == TGraphicKind::Metafile)
            continue;
        SCOPED_TRACE(c.Name);
        TPicture picture;
        picture.SetGraphic(c.Kind, c.Bytes);
        CallLogCanvas canvas;
        picture.Draw(canvas, QRect(10, 20, 80, 60));
        EXPECT_EQ(canvas.Calls, QStringList{"StretchDraw 10,20,80,60"});
        ASSERT_EQ(canvas.LastImage.size(), QSize(40, 30));
        // The blocks of the sample survive decoding (JPEG within its loss).
        const QColor topLeft = canvas.LastImage.pixelColor(5, 5);
        EXPECT_GT(topLeft.red(), 150);
        EXPECT_LT(topLeft.blue(), 60);
    }
}

TEST(Picture, DataShorterThanItsLengthIsRefusedAndChangesNothing)
{
    for (const FormatCase& c : FormatCases()) {
        if (c.LengthPrefix < 0)
            continue;
        SCOPED_TRACE(c.Name);
        const QByteArray data = StoredForm(c);
        TPicture picture;
        picture.SetGraphic(TGraphicKind::Bitmap, FormatCases()[0].Bytes);
        const TPicture before = picture;
        // Cut inside the name, inside the length and inside the bytes.
        for (qsizetype cut : {qsizetype(0), qsizetype(3), c.ClassName.size() + 3, data.size() - 1}) {
            try {
                picture.ReadData(data.left(cut));
                ADD_FAILURE() << "accepted " << cut << " bytes";
            } catch (const EPictureError& e) {
                EXPECT_EQ(e.Message(), "Stream read error");
            }
            EXPECT_EQ(picture, before);
        }
    }
}

TEST(Picture, NegativeOrHugeLengthsAreRefused)
{
    const TPicture wmf = [] {
        TPicture p;
        p.SetGraphic(TGraphicKind::Metafile, SamplePlaceableWmf());
        return p;
    }();
    for (std::int32_t length : {-1, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
        for (const char* name : {"TBitmap", "TJPEGImage", "TMetafile"}) {
            SCOPED_TRACE(testing::Message() << name << ' ' << length);
            TPicture picture = wmf;
            try {
                picture.ReadData(ShortText(name) + Int32Bytes(length) + "BM");
                ADD_FAILURE() << "accepted";
            } catch (const EPictureError& e) {
                EXPECT_EQ(e.Message(), "Stream read error");
            }
            EXPECT_EQ(picture, wmf);
        }
    }
    // A metafile count of four (its own bytes only) is an empty metafile.
    TPicture picture;
    picture.ReadData(ShortText("TMetafile") + Int32Bytes(4) + "xx");
    EXPECT_EQ(picture.Kind(), TGraphicKind::Metafile);
    EXPECT_TRUE(picture.Empty());
}

TEST(Picture, UnknownClassReadsAsEmptyPicture)
{
    TPicture picture;
    picture.SetGraphic(TGraphicKind::Jpeg, EncodeImage(SampleImage(), "JPEG"));
    picture.ReadData(ShortText("TPngImage") + Int32Bytes(3) + "abc");
    EXPECT_FALSE(picture.HasGraphic());
    EXPECT_TRUE(picture.WriteData().isEmpty());
}

TEST(Picture, EmptyGraphicsStayGraphicsWithoutData)
{
    struct Case { QByteArray Data; TGraphicKind Kind; };
    const Case cases[] = {
        {ShortText("TBitmap") + Int32Bytes(0), TGraphicKind::Bitmap},
        {ShortText("TMetafile") + Int32Bytes(4), TGraphicKind::Metafile},
        {ShortText("TJPEGImage") + Int32Bytes(0), TGraphicKind::Jpeg},
        {ShortText("TIcon"), TGraphicKind::Icon},
    };
    for (const Case& c : cases) {
        TPicture picture;
        picture.ReadData(c.Data);
        EXPECT_EQ(picture.Kind(), c.Kind);
        EXPECT_TRUE(picture.HasGraphic());
        EXPECT_TRUE(picture.Empty());
        EXPECT_EQ(picture.WriteData(), c.Data);
        CallLogCanvas canvas;
        picture.Draw(canvas, QRect(0, 0, 10, 10));
        EXPECT_TRUE(canvas.Calls.isEmpty());
    }
}

TEST(Picture, UndecodableBytesAreKeptAndDrawAnEmptyFrame)
{
    const QByteArray garbage("BM\x01\x02garbage that is no bitmap", 30);
    const QByteArray truncatedJpeg = EncodeImage(SampleImage(), "JPEG").left(40);
    const QByteArray truncatedIcon = EncodeImage(SampleImage(), "ICO").left(30);
    struct Case { TGraphicKind Kind; QByteArray Bytes; };
    const Case cases[] = {
        {TGraphicKind::Bitmap, garbage},
        {TGraphicKind::Jpeg, truncatedJpeg},
        {TGraphicKind::Icon, truncatedIcon},
        {TGraphicKind::Metafile, garbage},
    };
    for (const Case& c : cases) {
        TPicture picture;
        picture.SetGraphic(c.Kind, c.Bytes);
        TPicture back;
        back.ReadData(picture.WriteData());
        EXPECT_FALSE(back.Decoded());
        EXPECT_EQ(back.Bytes(), c.Bytes);
        EXPECT_EQ(back.Width(), 0);
        CallLogCanvas canvas;
        back.Draw(canvas, QRect(10, 20, 80, 60));
        EXPECT_EQ(canvas.Calls, QStringList{"Rectangle 10,20,90,80 clear"});
        EXPECT_EQ(canvas.Brush.Style, TBrushStyle::bsSolid);
    }
}

TEST(Picture, FilesAreReadByExtensionAndMislabelledContentIsRecognised)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    TPicture picture;
    picture.LoadFromFile(write("bitmap.JPG", EncodeImage(SampleImage(), "BMP")));
    EXPECT_EQ(picture.Kind(), TGraphicKind::Bitmap);
    picture.LoadFromFile(write("placeable.emf", SamplePlaceableWmf()));
    EXPECT_EQ(picture.Kind(), TGraphicKind::Metafile);
    EXPECT_FALSE(picture.Enhanced());

    const TPicture before = picture;
    try {
        picture.LoadFromFile(write("sample.png", EncodeImage(SampleImage(), "BMP")));
        ADD_FAILURE() << "an unknown extension was accepted";
    } catch (const EPictureError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("未知的图片文件扩展名 (.png)"));
    }
    EXPECT_THROW(picture.LoadFromFile(write("broken.bmp", "not a bitmap")), EPictureError);
    EXPECT_THROW(picture.LoadFromFile(dir.filePath("missing.bmp")), EPictureError);
    EXPECT_EQ(picture, before);
}

TEST(Picture, ClassNamesCompareExactly)
{
    EXPECT_EQ(TPicture::KindFromClassName("TMetafile"), TGraphicKind::Metafile);
    EXPECT_EQ(TPicture::KindFromClassName("TIcon"), TGraphicKind::Icon);
    EXPECT_EQ(TPicture::KindFromClassName("TBitmap"), TGraphicKind::Bitmap);
    EXPECT_EQ(TPicture::KindFromClassName("TJPEGImage"), TGraphicKind::Jpeg);
    EXPECT_EQ(TPicture::KindFromClassName("tbitmap"), TGraphicKind::None);
    EXPECT_EQ(TPicture::KindFromClassName("TBitmap "), TGraphicKind::None);
}
