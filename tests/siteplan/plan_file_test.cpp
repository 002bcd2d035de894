// The plan file: exact bytes, load and save round trips, the header rules,
// refusal of damaged files, and the copy buffer.
#include "tests/siteplan/plan_fixture.h"

#include "siteplan/plan_records.h"
#include "siteplan/shapes/vyr_line.h"

#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"
#include "platform/translated_canvas.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <limits>

using testshapes::TTestBox;

namespace {

QByteArray SavedBytes(const siteplan::TPlaneMap& map)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    map.SavePlan(buffer);
    return bytes;
}

bool LoadBytes(siteplan::TPlaneMap& map, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return map.LoadPlan(buffer);
}

// Valid plans seed the fuzz target of the reader.
void AddToCorpus(const QByteArray& bytes, const QString& name)
{
    const QString folder = QStringLiteral(FUZZ_CORPUS_DIR "/plan_file_fuzz");
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".Plm"));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void PutInt32(QByteArray& bytes, qsizetype offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

// Offsets in the file of a plan with the default font name "宋体".
constexpr qsizetype VersionAt = 10;
constexpr qsizetype MapWidthAt = 22;
constexpr qsizetype OrientationAt = 26;
constexpr qsizetype ScaleAt = 30;
constexpr qsizetype LeftMarginAt = 34;
constexpr qsizetype PenStyleAt = 62;
constexpr qsizetype BrushStyleAt = 70;
constexpr qsizetype FontNameLengthAt = 78;
constexpr qsizetype HorzAlignAt = 106;
constexpr qsizetype CountAt = 110;
constexpr qsizetype FirstRecordAt = 114;

const QByteArray EmptyPlan = QByteArray::fromHex(
    "504c414e454d41500000" // "PLANEMAP", two zero bytes
    "01000000"             // format version 1
    "04000000"             // PlanmapSize 4 (A4)
    "29010000"             // MapHeight 297
    "d2000000"             // MapWidth 210
    "01000000"             // Orientation landscape
    "64000000"             // MapScale 100
    "0f0000000f0000000f0000000f000000" // margins 15 mm
    "0000000000000000"     // Origin
    "000000000000000001000000" // pen: black, solid, width 1
    "01000000ffffff00"     // brush: clear, white
    "04000000cbcecce5"     // font "宋体" in code page 936
    "0c000000"             // size 12
    "000000000000000000000000" // bold, italic, underline
    "00000000"             // font colour black
    "00000000"             // alignments left, top
    "00000000");           // no shapes

// The empty plan with one labelled polyline of three vertices.
const QByteArray LinePlan = EmptyPlan.first(CountAt) + QByteArray::fromHex(
    "01000000"             // one shape
    "01000000"             // MapID 1: polyline
    "00000000"             // RotateAngle
    "0000803f0000803f"     // FlexX, FlexY 1.0
    "e8030000d0070000"     // BasePoint (1000, 2000)
    "ff000000"             // pen colour red
    "01000000"             // pen style dash
    "02000000"             // pen width 2
    "04000000c7bdcce5"     // label "墙体" in code page 936
    "03000000"             // three vertices
    "e8030000d0070000"     // (1000, 2000)
    "b80b0000d0070000"     // (3000, 2000)
    "b80b00000cfeffff");   // (3000, -500)

// Offsets in LinePlan.
constexpr qsizetype LinePenStyleAt = FirstRecordAt + 28;
constexpr qsizetype LineWordLengthAt = FirstRecordAt + 36;
constexpr qsizetype LineWordAt = FirstRecordAt + 40;
constexpr qsizetype LinePointCountAt = FirstRecordAt + 44;

struct PlanFile : PlanFixture {
    QTemporaryDir dir;

    QString PathOf(const QString& name) const { return dir.filePath(name); }

    // A plan with settings and styles away from every default and two boxes.
    void FillPlan()
    {
        map.SetOrientation(siteplan::TPrinterOrientation::poPortrait);
        map.SetPlanmapSize(2);
        map.SetLeftMargin(20);
        map.SetTopMargin(11);
        map.SetRightMargin(12);
        map.SetBottomMargin(13);
        map.DefaultPen.SetColor(platform::clRed);
        map.DefaultPen.SetStyle(platform::TPenStyle::psDashDot);
        map.DefaultPen.SetWidth(3);
        map.DefaultBrush.SetStyle(platform::TBrushStyle::bsDiagCross);
        map.DefaultBrush.SetColor(platform::clNavy);
        map.DefaultTextShow.Font.Name = QStringLiteral("黑体");
        map.DefaultTextShow.Font.Size = 20;
        map.DefaultTextShow.Font.Style = platform::fsBold | platform::fsUnderline;
        map.DefaultTextShow.Font.Color = platform::clGreen;
        map.DefaultTextShow.SetHorzAlign(2);
        map.DefaultTextShow.SetVertAlign(1);
        AddBox({100, 100}, {300, 200});
        AddBox({400, 100}, {500, 600})->RotateAngle = 450;
        map.ClearSelection();
    }
};

TEST(PlanFileBytes, EmptyDefaultPlanIsWrittenByteForByte)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    const QByteArray bytes = SavedBytes(map);
    EXPECT_EQ(bytes.size(), 114);
    EXPECT_EQ(bytes.toHex(), EmptyPlan.toHex());
    AddToCorpus(bytes, QStringLiteral("empty"));
}

TEST_F(PlanFile, LoadKeepsSettingsAndStylesAndSavesTheSameBytes)
{
    FillPlan();
    const QByteArray saved = SavedBytes(map);
    AddToCorpus(saved, QStringLiteral("boxes"));

    siteplan::TPlaneMap loaded(services, 254);
    ASSERT_TRUE(LoadBytes(loaded, saved));
    EXPECT_FALSE(loaded.Modified);
    EXPECT_EQ(loaded.Orientation(), siteplan::TPrinterOrientation::poPortrait);
    EXPECT_EQ(loaded.PlanmapSize(), 2);
    EXPECT_EQ(loaded.MapWidth(), 420);
    EXPECT_EQ(loaded.MapHeight(), 594);
    EXPECT_EQ(loaded.MapScale(), 1);
    EXPECT_EQ((std::array{loaded.LeftMargin(), loaded.TopMargin(), loaded.RightMargin(), loaded.BottomMargin()}),
              (std::array{20, 11, 12, 13}));
    EXPECT_EQ(loaded.Width(), map.Width());
    EXPECT_EQ(loaded.Height(), map.Height());
    EXPECT_EQ(loaded.DefaultPen.Value(), map.DefaultPen.Value());
    EXPECT_EQ(loaded.DefaultBrush.Value(), map.DefaultBrush.Value());
    EXPECT_EQ(loaded.DefaultTextShow.Font, map.DefaultTextShow.Font);
    EXPECT_EQ(loaded.DefaultTextShow.HorzAlign(), 2);
    EXPECT_EQ(loaded.DefaultTextShow.VertAlign(), 1);
    ASSERT_EQ(loaded.MapComCount(), 2);
    const auto* box = static_cast<const TTestBox*>(loaded.MapCom(1));
    EXPECT_EQ(box->Corner1, QPoint(400, 100));
    EXPECT_EQ(box->Corner2, QPoint(500, 600));
    EXPECT_EQ(box->RotateAngle, 450);
    EXPECT_EQ(box->BasePoint, QPoint(400, 100));
    EXPECT_EQ(box->OwnPen.Value(), map.DefaultPen.Value());
    EXPECT_EQ(SavedBytes(loaded), saved);
}

TEST(PlanFileBytes, PolylineRecordIsWrittenByteForByte)
{
    FakeWindowServices services;
    siteplan::TPlaneMap map(services);
    map.DefaultPen.SetColor(platform::clRed);
    map.DefaultPen.SetStyle(platform::TPenStyle::psDash);
    map.DefaultPen.SetWidth(2);
    std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(siteplan::TVYRLine::Kind);
    auto* line = dynamic_cast<siteplan::TVYRLine*>(shape.get());
    ASSERT_NE(line, nullptr);
    map.DefaultPen.Assign(siteplan::TMapPen());
    line->BasePoint = QPoint(1000, 2000);
    line->Points[0] = QPoint(1000, 2000);
    line->Points[1] = QPoint(3000, 2000);
    line->Points[2] = QPoint(3000, -500);
    line->SetPointCount(3);
    line->SetShowWord(QStringLiteral("墙体"));
    map.AddMapCom(std::move(shape));
    const QByteArray bytes = SavedBytes(map);
    EXPECT_EQ(bytes.toHex(), LinePlan.toHex());
    AddToCorpus(bytes, QStringLiteral("polyline"));

    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(LoadBytes(loaded, LinePlan));
    ASSERT_EQ(loaded.MapComCount(), 1);
    const auto* read = dynamic_cast<const siteplan::TVYRLine*>(loaded.MapCom(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ShowWord(), QStringLiteral("墙体"));
    EXPECT_EQ(read->PointCount(), 3);
    EXPECT_EQ(read->Points[2], QPoint(3000, -500));
    EXPECT_EQ(read->OwnPen.Value(), (platform::TPen{platform::clRed, platform::TPenStyle::psDash, 2}));
    EXPECT_EQ(read->Pen(), &read->OwnPen);
    EXPECT_EQ(SavedBytes(loaded), LinePlan);
}

TEST_F(PlanFile, PolylineLabelBytesLabelAndVertexCountLimitsRoundTrip)
{
    QByteArray notGbk = LinePlan;
    notGbk.replace(LineWordAt, 4, QByteArray::fromHex("ff80fe30"));
    QByteArray noLabel = LinePlan;
    noLabel.remove(LineWordAt, 4);
    PutInt32(noLabel, LineWordLengthAt, 0);
    QByteArray noPoints = LinePlan.first(LinePointCountAt);
    noPoints += QByteArray(4, '\0');
    // The most vertices a shape holds: 97 more after the three.
    QByteArray fullLine = LinePlan;
    PutInt32(fullLine, LinePointCountAt, 100);
    for (int i = 0; i < 97; ++i)
        fullLine += QByteArray::fromHex("e8030000d0070000"); // (1000, 2000)
    for (const QByteArray* bytes : {&notGbk, &noLabel, &noPoints, &fullLine}) {
        siteplan::TPlaneMap loaded(services);
        ASSERT_TRUE(LoadBytes(loaded, *bytes));
        EXPECT_EQ(SavedBytes(loaded), *bytes);
    }
    AddToCorpus(noLabel, QStringLiteral("polyline-plain"));
}

// A plan whose origin lies near the end of the coordinate range, holding a
// labelled line turned by a quarter: the clip area, turned back with the
// line, ends a few pixels before the int limit, and the room around it for
// the words is added beyond int.
TEST_F(PlanFile, TurnedLabelledLineAtAHugeOriginPaints)
{
    for (const int angle : {900, 2700}) {
        SCOPED_TRACE(angle);
        QByteArray bytes = LinePlan;
        constexpr qsizetype OriginAt = 50;
        PutInt32(bytes, OriginAt, 1610612736);
        PutInt32(bytes, OriginAt + 4, 1678442592);
        PutInt32(bytes, FirstRecordAt + 4, angle);
        siteplan::TPlaneMap loaded(services);
        ASSERT_TRUE(LoadBytes(loaded, bytes));
        AddToCorpus(bytes, QStringLiteral("huge-origin-turned-line-%1").arg(angle));
        loaded.SelectAll();
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        platform::PainterCanvas canvas(image);
        loaded.MapCom(0)->ApplyRotation(canvas);
        const QRect clip = canvas.ClipRect();
        // Closer to the limit than the words reach.
        ASSERT_GT(std::max(clip.right(), clip.bottom()), std::numeric_limits<int>::max() - 20)
            << clip.right() << "," << clip.bottom();
        loaded.Paint(canvas);
        EXPECT_EQ(SavedBytes(loaded), bytes);
    }
}

// A window showing the far corner of a sheet that reaches the end of the
// coordinate range: its clip area, taken back to the plan's coordinates,
// ends at the int limit instead of wrapping round to the other end of the
// range, so a labelled line millions of pixels long draws only the words
// near the window instead of every copy along it.
TEST_F(PlanFile, LongLabelledLineSeenAtTheFarCornerOfAHugeSheet)
{
    QByteArray bytes = LinePlan;
    PutInt32(bytes, MapWidthAt, 587202770); // mm, landscape: the sheet's height
    const std::int32_t vertices[] = {1049576, -1207957552, -1996488496, 16776051, 1862274000, -37259};
    for (int i = 0; i < 6; ++i)
        PutInt32(bytes, LinePointCountAt + 4 + 4 * i, vertices[i]);
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    AddToCorpus(bytes, QStringLiteral("huge-sheet-long-labelled-line"));
    ASSERT_GT(loaded.Height(), std::numeric_limits<int>::max() - 100);
    loaded.SelectAll();
    platform::RecordingCanvas surface(QSize(48, 32));
    surface.SetClipRegion(QRegion(5, 3, 30, 20));
    platform::TranslatedCanvas canvas(surface, -QPoint(loaded.Width() - 40, loaded.Height() - 20));
    const QRect clip = canvas.ClipRect();
    EXPECT_LE(clip.top(), clip.bottom());
    EXPECT_EQ(clip.bottom(), std::numeric_limits<int>::max());
    loaded.Paint(canvas);
    EXPECT_LT(surface.Log(platform::CanvasOp::TextOut).size(), 10);
}

TEST_F(PlanFile, TextBytesThatAreNotGbkAreWrittenBackAsRead)
{
    QByteArray bytes = EmptyPlan;
    bytes.replace(FontNameLengthAt + 4, 4, QByteArray::fromHex("ff80fe30"));
    ASSERT_TRUE(LoadBytes(map, bytes));
    EXPECT_EQ(SavedBytes(map), bytes);
    map.DefaultTextShow.Font.Name = QStringLiteral("宋体");
    EXPECT_EQ(SavedBytes(map), EmptyPlan);
}

TEST_F(PlanFile, HeaderAndVersionRules)
{
    const QString typeError = QStringLiteral("文件类型错误！");
    const QString newer = QStringLiteral("该文件的版本比当前程序新，该程序无法打开！");
    struct Case {
        const char* magic; // 10 bytes
        std::int32_t version;
        QString message; // empty: the file loads
    } const cases[] = {
        {"PLANEMAP\0\0", 1, {}},
        {"PLANEMAP\0X", 1, {}},
        {"planemap\0\0", 1, typeError},
        {"PLANEMAPX\0", 1, typeError},
        {"PLANEMAPXY", 1, typeError},
        {"PLANE\0\0\0\0\0", 1, typeError},
        {"PLANEMAP\0\0", 0, {}},
        {"PLANEMAP\0\0", -5, {}},
        {"PLANEMAP\0\0", 2, newer},
    };
    for (const Case& c : cases) {
        const QByteArray magic(c.magic, 10);
        SCOPED_TRACE(magic.toHex().toStdString() + " version " + std::to_string(c.version));
        QByteArray bytes = EmptyPlan;
        bytes.replace(0, 10, magic);
        PutInt32(bytes, VersionAt, c.version);
        FakeWindowServices quiet;
        siteplan::TPlaneMap target(quiet);
        EXPECT_EQ(LoadBytes(target, bytes), c.message.isEmpty());
        EXPECT_EQ(quiet.MessageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

// A damaged file is refused with one message and leaves the open plan, its
// settings, styles, shapes and modified state, exactly as they were.
struct DamagedPlan : PlanFile {
    QByteArray plan;
    QByteArray before;

    DamagedPlan()
    {
        FillPlan();
        plan = SavedBytes(map);
        map.SetMapScale(7);
        map.DefaultTextShow.Font.Name = QStringLiteral("宋体");
        before = SavedBytes(map);
        services.messages.clear();
    }

    // A copy of the empty default plan with one box at FirstRecordAt.
    static QByteArray PlanWithBox()
    {
        FakeWindowServices s;
        siteplan::TPlaneMap source(s, 254);
        testshapes::RegisterTestShapes();
        source.AddMapCom(source.CreateMapCom(testshapes::BoxKind));
        return SavedBytes(source);
    }

    void ExpectRefused(const QByteArray& bytes)
    {
        services.messages.clear();
        EXPECT_FALSE(LoadBytes(map, bytes));
        EXPECT_EQ(services.MessageTexts(), QStringList{QStringLiteral("文件已损坏，无法打开！")});
        EXPECT_EQ(SavedBytes(map), before);
        EXPECT_TRUE(map.Modified);
        EXPECT_EQ(map.MapComCount(), 2);
    }
};

TEST_F(DamagedPlan, EveryTruncationIsRefused)
{
    for (qsizetype size = 10; size < plan.size(); ++size) {
        SCOPED_TRACE(size);
        ExpectRefused(plan.first(size));
    }
}

TEST_F(DamagedPlan, ExtraBytesAfterTheLastRecordAreRefused)
{
    ExpectRefused(plan + QByteArray(1, '\0'));
}

TEST_F(DamagedPlan, BadValuesAreRefused)
{
    const QByteArray withBox = PlanWithBox();
    const qsizetype boxPenStyleAt = FirstRecordAt + 24 + 4;
    const qsizetype boxBrushStyleAt = FirstRecordAt + 24 + 12;
    struct Case {
        const char* what;
        const QByteArray* base;
        qsizetype offset;
        std::int32_t value;
    } const cases[] = {
        {"orientation 2", &EmptyPlan, OrientationAt, 2},
        {"scale 0", &EmptyPlan, ScaleAt, 0},
        {"scale negative", &EmptyPlan, ScaleAt, -100},
        {"margins wider than the sheet", &EmptyPlan, LeftMarginAt, 290},
        {"negative margin", &EmptyPlan, LeftMarginAt, -1},
        {"pen style 7", &EmptyPlan, PenStyleAt, 7},
        {"brush style 8", &EmptyPlan, BrushStyleAt, 8},
        {"font name longer than the file", &EmptyPlan, FontNameLengthAt, 1000},
        {"font name of 2 GB", &EmptyPlan, FontNameLengthAt, 0x7FFFFFFF},
        {"negative shape count", &EmptyPlan, CountAt, -1},
        {"more shapes than bytes", &EmptyPlan, CountAt, 1},
        {"huge shape count", &EmptyPlan, CountAt, 0x7FFFFFFF},
        {"unknown MapID", &withBox, FirstRecordAt, 77},
        {"legend tool as MapID", &withBox, FirstRecordAt, 1000},
        {"shape pen style", &withBox, boxPenStyleAt, 9},
        {"shape brush style", &withBox, boxBrushStyleAt, 0x7F},
        {"polyline pen style", &LinePlan, LinePenStyleAt, 7},
        {"label longer than the file", &LinePlan, LineWordLengthAt, 1000},
        {"label of 2 GB", &LinePlan, LineWordLengthAt, 0x7FFFFFFF},
        {"101 vertices", &LinePlan, LinePointCountAt, 101},
        {"negative vertex count", &LinePlan, LinePointCountAt, -1},
        {"more vertices than bytes", &LinePlan, LinePointCountAt, 4},
        {"fewer vertices than bytes", &LinePlan, LinePointCountAt, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = *c.base;
        PutInt32(bytes, c.offset, c.value);
        ExpectRefused(bytes);
    }
}

TEST_F(PlanFile, StoredOrdinalsUseTheirLowByte)
{
    QByteArray bytes = EmptyPlan;
    PutInt32(bytes, OrientationAt, 0x100);
    PutInt32(bytes, PenStyleAt, 0x102);
    ASSERT_TRUE(LoadBytes(map, bytes));
    EXPECT_EQ(map.Orientation(), siteplan::TPrinterOrientation::poPortrait);
    EXPECT_EQ(map.DefaultPen.Style(), platform::TPenStyle::psDot);
}

// Alignments no dialog gives are kept as stored (texts draw them as left
// and top), not refused.
TEST_F(PlanFile, StoredAlignmentsOutsideTheGroupsAreKept)
{
    QByteArray bytes = EmptyPlan;
    PutInt32(bytes, HorzAlignAt, static_cast<std::int32_t>(0xFFFF0003)); // 3, then -1
    ASSERT_TRUE(LoadBytes(map, bytes));
    EXPECT_EQ(map.DefaultTextShow.HorzAlign(), 3);
    EXPECT_EQ(map.DefaultTextShow.VertAlign(), -1);
    EXPECT_EQ(SavedBytes(map), bytes);
}

TEST_F(PlanFile, SaveToFileAndLoadFromFile)
{
    FillPlan();
    const QString path = PathOf(QStringLiteral("plan.Plm"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous content that is longer than nothing");
    }
    ASSERT_TRUE(map.SaveToFile(path));
    EXPECT_FALSE(map.Modified);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), SavedBytes(map));

    siteplan::TPlaneMap loaded(services, 254);
    loaded.SetModified();
    EXPECT_TRUE(loaded.LoadFromFile(path));
    EXPECT_FALSE(loaded.Modified);
    EXPECT_EQ(loaded.MapComCount(), 2);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PlanFile, FailedFileOperationsReportAndKeepTheState)
{
    AddBox({100, 100}, {300, 200});
    EXPECT_TRUE(map.Modified);
    // A folder stands where the file should go: nothing can replace it.
    EXPECT_FALSE(map.SaveToFile(dir.path()));
    EXPECT_TRUE(map.Modified);
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    EXPECT_FALSE(map.LoadFromFile(PathOf(QStringLiteral("missing.Plm"))));
    EXPECT_EQ(map.MapComCount(), 1);
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(services.messages[0].text.startsWith(QStringLiteral("无法保存文件")));
    EXPECT_TRUE(services.messages[1].text.startsWith(QStringLiteral("无法打开文件")));
}

// --- Copy buffer ---

using CopyBuffer = PlanFixture;

TEST_F(CopyBuffer, CopyOfNothingStillAllowsPaste)
{
    EXPECT_FALSE(map.CanPaste());
    map.PasteSelection();
    EXPECT_EQ(map.MapComCount(), 0);
    map.CopySelection();
    EXPECT_TRUE(map.CanPaste());
    TTestBox* box = AddBox({100, 100}, {200, 200});
    ASSERT_TRUE(map.IsSelected(box));
    map.Modified = false;
    map.PasteSelection();
    EXPECT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(map.SelectedCount(), 0);
    EXPECT_FALSE(map.Modified);
}

TEST_F(CopyBuffer, CutThenPasteRestoresTheShapesSelected)
{
    TTestBox* a = AddBox({100, 100}, {200, 200});
    TTestBox* b = AddBox({300, 300}, {400, 500});
    EXPECT_TRUE(map.IsSelected(b));
    map.SelectMapCom(a, false);
    map.Modified = false;
    map.CutSelection();
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_TRUE(map.Modified);
    map.Modified = false;
    map.PasteSelection();
    map.PasteSelection();
    ASSERT_EQ(map.MapComCount(), 4);
    EXPECT_TRUE(map.Modified);
    // Selection order was b, a; at 1 : 1 five pixels are 5 world units,
    // which snap to nothing, so the copies lie on the cut shapes.
    for (int i : {0, 2}) {
        const auto* first = static_cast<const TTestBox*>(map.MapCom(i));
        const auto* second = static_cast<const TTestBox*>(map.MapCom(i + 1));
        EXPECT_EQ(first->Corner1, QPoint(300, 300));
        EXPECT_EQ(first->Corner2, QPoint(400, 500));
        EXPECT_EQ(second->Corner1, QPoint(100, 100));
    }
    EXPECT_EQ(map.SelectedCount(), 2);
    EXPECT_TRUE(map.IsSelected(map.MapCom(2)) && map.IsSelected(map.MapCom(3)));
}

TEST_F(CopyBuffer, PasteMovesByFivePixelsSnappedToCentimetres)
{
    // 254 pixels per inch: one pixel is `scale` world units.
    struct Case {
        int scale;
        int offset; // world units
    } const cases[] = {{1, 0}, {30, 200}, {50, 200}, {70, 400}, {100, 500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        map.SetMapScale(c.scale);
        TTestBox* box = AddBox({100, 100}, {300, 400});
        const QPoint corner = box->Corner1;
        const int count = map.MapComCount();
        map.CopySelection();
        map.PasteSelection();
        map.PasteSelection();
        ASSERT_EQ(map.MapComCount(), count + 2);
        for (int i : {count, count + 1})
            EXPECT_EQ(static_cast<const TTestBox*>(map.MapCom(i))->Corner1, corner + QPoint(c.offset, c.offset));
    }
}

TEST_F(CopyBuffer, PolylinePastesWithItsLabelAndVertices)
{
    map.SetMapScale(100); // one pixel is 100 world units
    map.SetDrawKind(siteplan::TVYRLine::Kind);
    Click({100, 100});
    Click({300, 100});
    Click({300, 200});
    DoubleClick({300, 200});
    map.SetDrawKind(0);
    auto* line = dynamic_cast<siteplan::TVYRLine*>(map.MapCom(0));
    ASSERT_NE(line, nullptr);
    line->SetShowWord(QStringLiteral("围"));
    map.CopySelection();
    map.PasteSelection();
    ASSERT_EQ(map.MapComCount(), 2);
    const auto* copy = dynamic_cast<const siteplan::TVYRLine*>(map.MapCom(1));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(map.IsSelected(copy));
    EXPECT_EQ(copy->ShowWord(), QStringLiteral("围"));
    ASSERT_EQ(copy->PointCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(copy->GetPointPos(i), line->GetPointPos(i) + QPoint(5, 5));
}

} // namespace
