#include "legend_pictures.h"

#include "siteplan/legends/legend_library_file.h"

#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using legends::TLegendFiles;
using legends::TLegendItem;

QByteArray Short(const QByteArray& text)
{
    return char(text.size()) + text;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString LoadError(const QString& path)
{
    try {
        legends::LoadLegendLibrary(path);
    } catch (const stream::StreamError& e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

class LegendLibrary : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString& name = QString::fromLatin1(legends::LegendLibraryFileName)) const
    {
        return dir.filePath(name);
    }

    // Saves, loads, saves again; the two files must be the same bytes.
    std::unique_ptr<TLegendFiles> RoundTrip(const TLegendFiles& library)
    {
        legends::SaveLegendLibrary(Path(), library);
        const QByteArray first = ReadAll(Path());
        auto loaded = legends::LoadLegendLibrary(Path());
        legends::SaveLegendLibrary(Path(QStringLiteral("again.dll")), *loaded);
        EXPECT_EQ(ReadAll(Path(QStringLiteral("again.dll"))).toHex().toStdString(), first.toHex().toStdString());
        return loaded;
    }
};

TEST_F(LegendLibrary, EmptyLibraryBytes)
{
    const QByteArray expected = QByteArray("TPF0") + Short("TLegendFiles") + '\0' + Short("HasPaper")
        + QByteArray("\x02\x00", 2) + Short("Legends") + QByteArray("\x0E\x00\x00\x00", 4);
    EXPECT_EQ(stream::WriteComponent(TLegendFiles()).toHex(' ').toStdString(), expected.toHex(' ').toStdString());
}

TEST_F(LegendLibrary, ItemPropertiesAndTheirDefaults)
{
    TLegendFiles library;
    library.Tag = 7;
    library.HasPaper = 1;
    library.Pages.Append(QStringLiteral("甲"));
    TLegendItem& named = library.Legends.Add();
    named.SetMapHint(QStringLiteral("塔吊"));
    named.SetShowPanel(QStringLiteral("甲"));
    named.SetVisible(false);
    library.Legends.Add().SetMapHint(QString()); // an emptied name is not stored

    const QByteArray bytes = stream::WriteComponent(library);
    EXPECT_TRUE(bytes.contains(Short("Tag") + "\x02\x07"));
    EXPECT_TRUE(bytes.contains(Short("Pages.Strings") + "\x01\x06\x02\xBC\xD7\x00"));
    EXPECT_TRUE(bytes.contains(Short("Visible") + "\x08"));
    EXPECT_TRUE(bytes.contains(Short("Visible") + "\x09")); // written at its initial value too
    EXPECT_FALSE(bytes.contains("Picture.Data"));

    legends::SaveLegendLibrary(Path(), library);
    const auto loaded = legends::LoadLegendLibrary(Path());
    EXPECT_EQ(loaded->Tag, 7);
    EXPECT_EQ(loaded->HasPaper, 1);
    ASSERT_EQ(loaded->Pages.Count(), 1);
    EXPECT_EQ(loaded->Pages.Text(0), QStringLiteral("甲"));
    ASSERT_EQ(loaded->Legends.Count(), 2);
    EXPECT_EQ(loaded->Legends.Items(0).MapHint(), QStringLiteral("塔吊"));
    EXPECT_EQ(loaded->Legends.Items(0).ShowPanel(), QStringLiteral("甲"));
    EXPECT_FALSE(loaded->Legends.Items(0).Visible());
    EXPECT_EQ(loaded->Legends.Items(1).MapHint(), QStringLiteral("新图例"));
    EXPECT_EQ(loaded->Legends.Items(1).Index(), 1);
}

TEST_F(LegendLibrary, EveryPictureClassRoundTripsByteIdentically)
{
    TLegendFiles library;
    const auto samples = legends_test::SamplePictures();
    for (const auto& sample : samples)
        library.Legends.Add().SetPicture(legends_test::MakePicture(sample.kind, sample.bytes));
    // Bytes no decoder understands are kept as they are.
    library.Legends.Add().SetPicture(legends_test::MakePicture(platform::TGraphicKind::Jpeg, "not a JPEG"));

    const auto loaded = RoundTrip(library);
    ASSERT_EQ(loaded->Legends.Count(), static_cast<int>(samples.size()) + 1);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const platform::TPicture& p = loaded->Legends.Items(static_cast<int>(i)).Picture();
        EXPECT_EQ(p.Kind(), samples[i].kind) << samples[i].name;
        EXPECT_EQ(p.Bytes(), samples[i].bytes) << samples[i].name;
        EXPECT_TRUE(p.Decoded()) << samples[i].name;
        EXPECT_GT(p.Width(), 0) << samples[i].name;
    }
    EXPECT_FALSE(loaded->Legends.Items(static_cast<int>(samples.size())).Picture().Decoded());

    QDir().mkpath(FUZZ_CORPUS_DIR "/legend_library_fuzz");
    QFile::remove(FUZZ_CORPUS_DIR "/legend_library_fuzz/pictures.dll");
    QFile::copy(Path(), FUZZ_CORPUS_DIR "/legend_library_fuzz/pictures.dll");
}

TEST_F(LegendLibrary, UnknownGraphicClassReadsAsEmptyPicture)
{
    TLegendFiles library;
    library.Legends.Add().SetPicture(legends_test::MakePicture(platform::TGraphicKind::Icon, "x"));
    QByteArray bytes = stream::WriteComponent(library);
    bytes.replace(Short("TIcon"), Short("TOther"));
    bytes[bytes.indexOf("Picture.Data") + 13] = char(bytes[bytes.indexOf("Picture.Data") + 13] + 1);
    WriteAll(Path(), bytes);
    const auto loaded = legends::LoadLegendLibrary(Path());
    EXPECT_FALSE(loaded->Legends.Items(0).Picture().HasGraphic());
}

TEST_F(LegendLibrary, MissingFileIsAnEmptyLibraryAndDamagedFilesAreRefused)
{
    const auto missing = legends::LoadLegendLibrary(Path());
    EXPECT_EQ(missing->Legends.Count(), 0);
    EXPECT_EQ(missing->Pages.Count(), 0);

    TLegendFiles library;
    library.Legends.Add().SetPicture(
        legends_test::MakePicture(platform::TGraphicKind::Bitmap, legends_test::SamplePictures()[0].bytes));
    const QByteArray good = stream::WriteComponent(library);
    const qsizetype sizeField = good.indexOf(Short("TBitmap")) + 8;

    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"empty file", QByteArray(), "Invalid stream format"},
        {"other signature", "MZ\x90\x00", "Invalid stream format"},
        {"other root class", QByteArray("TPF0") + Short("TGlideTemplet") + QByteArray(3, '\0'), "Class TGlideTemplet not found"},
        {"picture size beyond its data", QByteArray(good).replace(sizeField, 4, "\xFF\xFF\xFF\x7F"), "Stream read error"},
        {"negative picture size", QByteArray(good).replace(sizeField, 4, "\xFF\xFF\xFF\xFF"), "Stream read error"},
        {"truncated", good.left(good.size() / 2), "Stream read error"},
    };
    for (const Case& c : cases) {
        WriteAll(Path(), c.bytes);
        EXPECT_EQ(LoadError(Path()), c.message) << c.name;
    }
}

TEST_F(LegendLibrary, FailedSaveKeepsTheOldLibrary)
{
    TLegendFiles old;
    old.Pages.Append(QStringLiteral("旧"));
    // The temporary file beside a target of the longest possible name has a
    // name too long to create, so the write fails before the target is touched.
    const QString longPath = Path(QString(250, QLatin1Char('L')));
    legends::SaveLegendLibrary(longPath, old);
    const QByteArray before = ReadAll(longPath);
    ASSERT_FALSE(before.isEmpty());
    QFile::rename(longPath, Path(QString(255, QLatin1Char('L'))));
    const QString target = Path(QString(255, QLatin1Char('L')));

    TLegendFiles replacement;
    EXPECT_THROW(legends::SaveLegendLibrary(target, replacement), stream::StreamError);
    EXPECT_EQ(ReadAll(target), before);

    EXPECT_THROW(legends::SaveLegendLibrary(Path(QStringLiteral("no/such/folder/Legends.dll")), replacement),
                 stream::StreamError);
}

} // namespace
