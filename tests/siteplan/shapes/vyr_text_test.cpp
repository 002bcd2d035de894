// The text: drawing the box and the dialog that follows, the layout of the
// text (alignments, the empty text, the last line feed, clipping, zoom and
// font sizes no dialog gives), hits, drawing, normalised corners, the
// record and its round trips.
#include "box_shape_support.h"
#include "shape_test_support.h"

#include "siteplan/grab_handles.h"
#include "siteplan/shapes/vyr_text.h"

#include "platform/fonts.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"

#include <QDir>
#include <QImage>

#include <limits>

using boxtest::BoxPlan;
using platform::CanvasCall;
using platform::CanvasOp;
using platform::RecordingCanvas;
using siteplan::TRect;
using siteplan::TVyrText;

namespace {

constexpr int TextKind = TVyrText::Kind;

// The text dialog as a test double: OK stores what it is told.
struct TextEditor : boxtest::FakeEditor {
    QString typed = QStringLiteral("场地\r\n入口");
    bool frame = true;
    int calls = 0;
    bool EditText(siteplan::TMapPen& pen, siteplan::TMapBrush&, QString& text, bool& showOutRect,
                  siteplan::TTextShowSet& textShow) override
    {
        ++calls;
        if (answer) {
            pen.SetWidth(3);
            text = typed;
            showOutRect = frame;
            textShow.SetHorzAlign(1);
        }
        return answer;
    }
};

// 254 pixels per inch at 1 : 100, the default font at 12 points.
struct Text : BoxPlan {
    Text() { platform::InstallFontSubstitutes(); }

    TVyrText* AddText(QPoint from, QPoint to, const QString& text = {})
    {
        TVyrText* shape = Draw<TVyrText>(TextKind, from, to);
        if (shape && !text.isEmpty())
            shape->SetText(text);
        return shape;
    }

    // Width and line height of a text in the shape's font at a size.
    QSize Extent(const TVyrText& shape, const QString& text, int size) const
    {
        RecordingCanvas measure{QSize(10, 10), map.PixelsPerInch()};
        measure.Font = shape.OwnTextShow.Font;
        measure.Font.Size = size;
        return measure.TextExtent(text);
    }

    static QStringList DrawTexts(const RecordingCanvas& canvas)
    {
        QStringList out;
        for (const CanvasCall& call : canvas.Calls())
            if (call.Op == CanvasOp::DrawText)
                out << QStringLiteral("%1 %2,%3,%4,%5 size %6 flags %7")
                           .arg(call.Text)
                           .arg(call.Args[0])
                           .arg(call.Args[1])
                           .arg(call.Args[2])
                           .arg(call.Args[3])
                           .arg(call.Font.Size)
                           .arg(call.Flags, 0, 16);
        return out;
    }
};

TEST_F(Text, DrawnBoxIsNormalisedAndTheDialogFollows)
{
    TextEditor editor;
    map.SetPropertyEditor(&editor);
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    map.SetCanvas(&canvas);
    map.SetDrawKind(TextKind);
    Press({600, 400});
    auto* text = dynamic_cast<TVyrText*>(map.DrawingMapCom());
    ASSERT_NE(text, nullptr);
    canvas.Clear();
    hints.clear();
    Move({100, 100});
    // The frame only, erased and drawn again in not-XOR; no text yet.
    EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).size(), 2 * 2); // selection frame and box, twice
    EXPECT_TRUE(DrawTexts(canvas).isEmpty());
    EXPECT_EQ(hints, QStringList{"X边长度：5000mm, Y边长度：3000 mm"});
    EXPECT_EQ(editor.calls, 0);
    map.Modified = false;
    Release({100, 100});
    map.SetCanvas(nullptr);
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_TRUE(map.IsSelected(text));
    EXPECT_EQ(editor.calls, 1);
    EXPECT_EQ(text->Text(), QStringLiteral("场地\r\n入口"));
    EXPECT_EQ(text->OwnPen.Width(), 3);
    EXPECT_EQ(text->OwnTextShow.HorzAlign(), 1);
    EXPECT_TRUE(map.Modified);
    // Drawn from the lower right: the corners are normalised at the end.
    EXPECT_EQ(text->Corner1, QPoint(10000, 10000));
    EXPECT_EQ(text->Corner2, QPoint(60000, 40000));

    EXPECT_EQ(text->MapID, 7);
    EXPECT_EQ(text->MapType, siteplan::TMapType::mtText);
    EXPECT_EQ(text->Attributes(), siteplan::attr::Text | siteplan::attr::Pen | siteplan::attr::Brush);
    EXPECT_EQ(text->TextShow(), &text->OwnTextShow);
    EXPECT_EQ(text->Brush(), &text->OwnBrush);
    EXPECT_EQ(text->GetPointCount(), 8);
    EXPECT_EQ(map.CurTextShow(), &text->OwnTextShow);

    // A cancelled dialog leaves an empty framed box.
    editor.answer = false;
    TVyrText* empty = AddText({700, 100}, {900, 300});
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(editor.calls, 2);
    EXPECT_TRUE(empty->Text().isEmpty());
    EXPECT_TRUE(empty->ShowOutRect());
    EXPECT_EQ(empty->OwnTextShow.Font, map.DefaultTextShow.Font);
    // A press and release at one spot makes no text and opens no dialog.
    EXPECT_EQ(AddText({50, 50}, {50, 50}), nullptr);
    EXPECT_EQ(editor.calls, 2);
}

TEST_F(Text, LayoutByAlignmentLineFeedsClippingAndFrame)
{
    // The box (100, 100)-(600, 400), framed with a pen of width 1: the
    // text lies within (101, 101)-(599, 399).
    TVyrText* text = AddText({100, 100}, {600, 400});
    ASSERT_NE(text, nullptr);
    const int h = Extent(*text, "A", 12).height();
    const int ab = Extent(*text, "AB", 12).width();
    const int zi = Extent(*text, "字", 12).width();
    const struct {
        const char* what;
        QString text;
        std::int16_t horz, vert;
        bool frame;
        TRect expected;
    } cases[] = {
        {"empty text: one 字", "", 0, 0, true, {101, 101, 101 + zi, 101 + h}},
        {"left, top", "AB", 0, 0, true, {101, 101, 101 + ab, 101 + h}},
        {"centre, centre", "AB", 1, 1, true,
         {101 + (599 - 101 - ab) / 2, 101 + (399 - 101 - h) / 2, 101 + (599 - 101 - ab) / 2 + ab,
          101 + (399 - 101 - h) / 2 + h}},
        {"right spans the width, bottom", "AB", 2, 2, true, {101, 399 - h, 599, 399}},
        {"a last line feed counts as a line", "AB\r\n", 0, 0, true, {101, 101, 101 + ab, 101 + 2 * h}},
        {"a lone line feed: an empty line and the one after it", "\r\n", 0, 0, true, {101, 101, 101, 101 + 2 * h}},
        {"taller than the box: clipped", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9", 0, 0, true,
         {101, 101, 101 + Extent(*text, "1", 12).width(), 399}},
        {"stored alignments outside 0..2: left and top", "AB", 3, -1, true, {101, 101, 101 + ab, 101 + h}},
        {"no frame: the whole box", "AB", 2, 2, false, {100, 400 - h, 600, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        text->SetText(c.text);
        text->OwnTextShow.SetHorzAlign(c.horz);
        text->OwnTextShow.SetVertAlign(c.vert);
        text->SetShowOutRect(c.frame);
        EXPECT_EQ(text->LayoutText(), c.expected);
    }
    // The same text in a box made narrower by a handle wraps anew.
    text->SetText("AB");
    text->SetShowOutRect(true);
    text->OwnTextShow.SetHorzAlign(0);
    text->OwnTextShow.SetVertAlign(0);
    text->Corner2.setX(10000 + (Extent(*text, "A", 12).width() + 3) * 100); // "A" and a pixel inside
    EXPECT_EQ(text->LayoutText().Bottom, 101 + 2 * h);
    // A box narrower than one "A" lays the text out one "A" wide before
    // clipping: the clipped rectangle is the inner width of the box.
    TVyrText* narrow = AddText({700, 100}, {710, 400}, "AB");
    ASSERT_NE(narrow, nullptr);
    ASSERT_GT(Extent(*narrow, "A", 12).width(), 10);
    const TRect r = narrow->LayoutText();
    EXPECT_EQ(r.Left, 701);
    EXPECT_EQ(r.Right, 709);
    EXPECT_EQ(r.Bottom, 101 + 2 * h); // "A" and "B" on lines of their own
}

TEST_F(Text, ZoomAndStoredFontSizes)
{
    TVyrText* text = AddText({100, 100}, {900, 900}, "A");
    ASSERT_NE(text, nullptr);
    RecordingCanvas canvas{QSize(2000, 2000), 254};
    const struct {
        const char* what;
        int stored;
        int zoom;
        int laidOut;  // the layout's font size; 0: no room, -1: the whole box
        int drawn;    // the drawn font size; 0: nothing drawn
    } cases[] = {
        {"9 at 50: MulDiv halves away from zero, Round to even", 9, 50, 5, 4},
        {"9 at 150", 9, 150, 14, 14},
        {"1 at 50: laid out, drawn at 0 is nothing", 1, 50, 1, 0},
        {"1 at 40: no room either", 1, 40, 0, 0},
        {"stored 0 counts as 1", 0, 100, 1, 1},
        {"stored below 0 counts as 1", -7, 100, 1, 1},
        {"an absurd size counts as the largest", std::numeric_limits<int>::max(), 10, -1, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map.SetZoom(c.zoom);
        text->OwnTextShow.Font.Size = c.stored;
        const TRect r = text->LayoutText();
        const TRect box = text->GetBounds().Inflated(-1);
        if (c.laidOut == 0) {
            EXPECT_EQ(r, (TRect{box.Left, box.Top, box.Left, box.Top}));
        } else if (c.laidOut < 0) {
            EXPECT_EQ(r, box);
        } else {
            EXPECT_EQ(r.Bottom - r.Top, Extent(*text, "A", c.laidOut).height());
            EXPECT_EQ(r.Right - r.Left, Extent(*text, "A", c.laidOut).width());
        }
        canvas.Clear();
        text->Draw(canvas, siteplan::drawmode::Normal);
        const auto calls = canvas.Log(CanvasOp::DrawText);
        ASSERT_EQ(calls.size(), c.drawn == 0 ? 0 : 1);
        if (c.drawn != 0) {
            EXPECT_EQ(canvas.Calls().back().Font.Size, c.drawn);
        }
        // Kept as stored.
        EXPECT_EQ(text->OwnTextShow.Font.Size, c.stored);
        (void)text->HitTest({box.Left + 1, box.Top + 1});
    }
    map.SetZoom(100);
    text->OwnTextShow.Font.Size = 0;
    const QByteArray bytes = boxtest::SavedBytes(map);
    siteplan::TPlaneMap loaded(services, 254);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    EXPECT_EQ(dynamic_cast<const TVyrText&>(*loaded.MapCom(0)).OwnTextShow.Font.Size, 0);
    EXPECT_EQ(boxtest::SavedBytes(loaded), bytes);
}

TEST_F(Text, HitsInTheLaidOutTextAndOnTheOutlineOnly)
{
    TVyrText* text = AddText({100, 100}, {600, 400}, "AB");
    ASSERT_NE(text, nullptr);
    map.ClearSelection();
    for (const bool frame : {true, false}) {
        text->SetShowOutRect(frame);
        const TRect r = text->LayoutText();
        const struct {
            const char* what;
            QPoint p;
            bool hit;
        } cases[] = {
            {"in the text", {r.Left + 2, r.Top + 2}, true},
            {"last pixel of the text", {r.Right - 1, r.Bottom - 1}, true},
            {"right of the text", {r.Right, r.Top + 10}, false},
            {"inside the box, away from text and outline", {400, 300}, false},
            {"on the outline", {598, 300}, true},
            {"3 pixels off the outline", {603, 300}, false},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (frame ? "" : ", no frame"));
            EXPECT_EQ(text->HitTest(c.p), c.hit);
        }
    }
    const TRect r = text->LayoutText();
    // Turned, the outline turns and the text area is tested as it comes.
    text->RotateAngle = 900;
    EXPECT_TRUE(text->HitTest({r.Left + 2, r.Top + 2}));
    EXPECT_FALSE(text->HitTest({598, 300}));
    EXPECT_TRUE(text->HitTest({498, 250})); // the top edge, turned to the right

    // A frame wider than half the box leaves the text no room: the inverted
    // rectangle is empty, hits nothing and draws nothing.
    TVyrText* crowded = AddText({700, 100}, {1000, 400}, "AB");
    ASSERT_NE(crowded, nullptr);
    crowded->OwnPen.SetWidth(200);
    const TRect inverted = crowded->LayoutText();
    EXPECT_TRUE(inverted.Right <= inverted.Left || inverted.Bottom <= inverted.Top);
    EXPECT_FALSE(crowded->HitTest({850, 250}));
    RecordingCanvas canvas{QSize(1200, 600), 254};
    crowded->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_TRUE(DrawTexts(canvas).isEmpty());
    EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).size(), 1);
}

TEST_F(Text, DrawsTheFilledBoxThenTheTextClippedToItsLayout)
{
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
    map.DefaultBrush.SetColor(platform::clYellow);
    TVyrText* text = AddText({100, 100}, {600, 400}, "AB");
    ASSERT_NE(text, nullptr);
    text->OwnTextShow.SetHorzAlign(2);
    const TRect r = text->LayoutText();
    const QString layout = QStringLiteral("%1,%2,%3,%4").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    const struct {
        std::uint8_t mode;
        bool frame;
        QString box;
    } cases[] = {
        {siteplan::drawmode::Normal, true, "Rectangle(100,100,600,400) pen=000000,solid,1,copy brush=00FFFF,solid"},
        {siteplan::drawmode::Selected, true, "Rectangle(100,100,600,400) pen=000000,solid,1,notxor brush=00FFFF,solid"},
        {siteplan::drawmode::Normal, false, "Rectangle(100,100,600,400) pen=000000,clear,1,copy brush=00FFFF,solid"},
        {siteplan::drawmode::Selected, false, "Rectangle(100,100,600,400) pen=000000,clear,1,copy brush=00FFFF,solid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << c.frame);
        text->SetShowOutRect(c.frame);
        canvas.Clear();
        text->Draw(canvas, c.mode);
        EXPECT_EQ(canvas.Log(CanvasOp::Rectangle).back(), c.box);
        // Edit control, word break, right: no calculating, no clipping off.
        const QString l = c.frame ? layout : QStringLiteral("100,100,600,%1").arg(r.Bottom - 1);
        EXPECT_EQ(DrawTexts(canvas), QStringList{"AB " + l + " size 12 flags 2012"});
    }
    // A pen from a damaged file: kept, framed and inset at most 1024 wide.
    text->SetShowOutRect(true);
    text->OwnPen.SetWidth(1 << 30);
    canvas.Clear();
    text->Draw(canvas, siteplan::drawmode::Normal);
    EXPECT_EQ(canvas.Calls().back().Op, CanvasOp::Rectangle); // no room left for the text
    EXPECT_EQ(canvas.Calls().back().Pen.Width, 1024);
    EXPECT_EQ(text->OwnPen.Width(), 1 << 30);
}

TEST_F(Text, CornersAreNormalisedWhenAHandleDragEndsAndWrittenNormalisedWithoutChange)
{
    TVyrText* text = AddText({100, 100}, {300, 200}, "AB");
    ASSERT_NE(text, nullptr);
    const QPoint h0 = text->GetPointPos(0);
    // Handle 0 dragged past the opposite corner: as drawn while dragging,
    // normalised when the drag ends, so the handles match the record.
    Press(h0);
    Move({399, 299}); // the handle's centre, one margin off the corner
    EXPECT_EQ(text->Corner1, QPoint(40000, 30000));
    EXPECT_EQ(text->Corner2, QPoint(30000, 20000));
    Release({399, 299});
    EXPECT_EQ(text->Corner1, QPoint(30000, 20000));
    EXPECT_EQ(text->Corner2, QPoint(40000, 30000));
    EXPECT_EQ(text->GetPointPos(0), QPoint(300, 200) - QPoint(1, 1));

    // Corners as a file may hold them: saved normalised, the shape and the
    // plan untouched.
    text->Corner1 = QPoint(40000, 30000);
    text->Corner2 = QPoint(30000, 20000);
    map.Modified = false;
    const QByteArray bytes = boxtest::SavedBytes(map);
    EXPECT_EQ(text->Corner1, QPoint(40000, 30000));
    EXPECT_FALSE(map.Modified);
    siteplan::TPlaneMap loaded(services, 254);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    const auto& read = dynamic_cast<const TVyrText&>(*loaded.MapCom(0));
    EXPECT_EQ(read.Corner1, QPoint(30000, 20000));
    EXPECT_EQ(read.Corner2, QPoint(40000, 30000));
}

TEST_F(Text, PropertyDialogOkStoresTextAndFrameCancelKeepsThem)
{
    TVyrText* text = AddText({100, 100}, {600, 400}, "AB");
    ASSERT_NE(text, nullptr);
    TextEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        map.Modified = false;
        editor.answer = ok;
        editor.frame = false;
        map.EditProperties();
        EXPECT_EQ(text->Text(), ok ? "场地\r\n入口" : "AB");
        EXPECT_EQ(text->ShowOutRect(), !ok);
        EXPECT_EQ(map.Modified, ok);
    }
    EXPECT_EQ(editor.calls, 2);
    map.Modified = false;
    text->SetText("场地\r\n入口");
    text->SetShowOutRect(false);
    EXPECT_FALSE(map.Modified);
}

// The text of the record tests: every field away from its default.
const QByteArray TextRecord = QByteArray::fromHex(
    "07000000"             // MapID 7
    "00000000"             // RotateAngle
    "0000803f0000803f"     // FlexX, FlexY 1.0
    "1027000010270000"     // BasePoint (10000, 10000)
    "0000ff0001000000"     // pen colour blue, style dash
    "02000000"             // pen width 2
    "0000000000ff0000"     // brush solid, green
    "04000000badaccE5"     // font "黑体"
    "14000000"             // size 20
    "010000000000000001000000" // bold, not italic, underlined
    "ff000000"             // font colour red
    "02000100"             // right, centre
    "1027000010270000"     // X1, Y1 (10000, 10000)
    "60ea000030750000"     // X2, Y2 (60000, 30000)
    "00000000"             // no frame
    "08000000b3a1b5d80d0ab5d8");  // "场地\r\n地" in code page 936

TEST_F(Text, RecordIsWrittenByteForByteAndReadBackUnchanged)
{
    map.DefaultPen.SetColor(platform::clBlue);
    map.DefaultPen.SetStyle(platform::TPenStyle::psDash);
    map.DefaultPen.SetWidth(2);
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
    map.DefaultBrush.SetColor(platform::clLime);
    TVyrText* text = AddText({600, 300}, {100, 100}, QStringLiteral("场地\r\n地"));
    ASSERT_NE(text, nullptr);
    text->OwnTextShow.SetStoredFontName(platform::StoredText(QStringLiteral("黑体")));
    text->OwnTextShow.Font.Size = 20;
    text->OwnTextShow.Font.Style = platform::fsBold | platform::fsUnderline;
    text->OwnTextShow.Font.Color = platform::clRed;
    text->OwnTextShow.SetHorzAlign(2);
    text->OwnTextShow.SetVertAlign(1);
    text->SetShowOutRect(false);
    text->BasePoint = QPoint(10000, 10000);
    map.DefaultPen.Assign(siteplan::TMapPen());
    map.DefaultBrush.Assign(siteplan::TMapBrush());
    const QByteArray bytes = boxtest::SavedBytes(map);
    EXPECT_EQ(bytes.mid(shapetest::FirstRecordAt).toHex(), TextRecord.toHex());
    boxtest::AddToCorpus(bytes, QStringLiteral("text"));

    siteplan::TPlaneMap loaded(services, 254);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    const auto& read = dynamic_cast<const TVyrText&>(*loaded.MapCom(0));
    EXPECT_EQ(read.Text(), QStringLiteral("场地\r\n地"));
    EXPECT_EQ(read.OwnTextShow.Font, text->OwnTextShow.Font);
    EXPECT_EQ(read.OwnTextShow.HorzAlign(), 2);
    EXPECT_EQ(read.OwnBrush.Value(), text->OwnBrush.Value());
    EXPECT_EQ(read.OwnPen.Value(), text->OwnPen.Value());
    EXPECT_FALSE(read.ShowOutRect());
    EXPECT_EQ(boxtest::SavedBytes(loaded), bytes);

    // Bytes that are not code page 936, an alignment no dialog gives and a
    // font size of 0 are kept as read; only a stored 1 shows the frame.
    QByteArray odd = bytes;
    const qsizetype tail = shapetest::FirstRecordAt + TextRecord.size();
    odd.replace(tail - 8, 8, QByteArray::fromHex("ff80fe30ff80fe30"));
    odd.replace(tail - 56, 4, QByteArray::fromHex("00000000")); // size 0
    odd.replace(tail - 36, 4, QByteArray::fromHex("0700fdff")); // alignments 7, -3
    siteplan::TPlaneMap oddMap(services, 254);
    ASSERT_TRUE(boxtest::LoadBytes(oddMap, odd));
    const auto& oddText = dynamic_cast<const TVyrText&>(*oddMap.MapCom(0));
    EXPECT_EQ(oddText.OwnTextShow.HorzAlign(), 7);
    EXPECT_EQ(oddText.OwnTextShow.VertAlign(), -3);
    EXPECT_EQ(oddText.OwnTextShow.Font.Size, 0);
    EXPECT_EQ(boxtest::SavedBytes(oddMap), odd);
    boxtest::AddToCorpus(odd, QStringLiteral("text-odd"));
    QByteArray framed = bytes;
    framed.replace(tail - 16, 4, QByteArray::fromHex("02000000"));
    ASSERT_TRUE(boxtest::LoadBytes(oddMap, framed));
    EXPECT_FALSE(dynamic_cast<const TVyrText&>(*oddMap.MapCom(1)).ShowOutRect());

    // Through the copy buffer.
    loaded.SelectAll();
    loaded.CopySelection();
    loaded.PasteSelection();
    ASSERT_EQ(loaded.MapComCount(), 2);
    const auto& copy = dynamic_cast<const TVyrText&>(*loaded.MapCom(1));
    EXPECT_EQ(copy.Text(), read.Text());
    EXPECT_EQ(copy.Corner1, read.Corner1 + QPoint(500, 500));

    // Every shorter record is refused.
    for (qsizetype size = shapetest::FirstRecordAt + 4; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        siteplan::TPlaneMap target(services);
        EXPECT_FALSE(boxtest::LoadBytes(target, bytes.first(size)));
    }
}

// Values no dialog gives, from a damaged file: boxes at the ends of the
// range, the widest pens and sizes; nothing overflows (the sanitizer build
// checks) and the plan saves as read.
TEST_F(Text, ExtremeStoredValuesNeitherOverflowNorWrap)
{
    constexpr int max = std::numeric_limits<int>::max();
    constexpr int min = std::numeric_limits<int>::min();
    TVyrText* text = AddText({100, 100}, {600, 400}, "A\r\nB");
    ASSERT_NE(text, nullptr);
    map.SetZoom(500);
    RecordingCanvas canvas{QSize(1000, 1000), 254};
    for (const int v : {min, -1, 0, max}) {
        for (const std::int16_t align : {std::int16_t{1}, std::int16_t{2}}) {
            SCOPED_TRACE(testing::Message() << v << " " << align);
            text->Corner1 = QPoint(v, min);
            text->Corner2 = QPoint(max, v);
            text->OwnPen.SetWidth(v);
            text->OwnTextShow.Font.Size = v;
            text->OwnTextShow.SetHorzAlign(align);
            text->OwnTextShow.SetVertAlign(align);
            canvas.Clear();
            text->Draw(canvas, siteplan::drawmode::SelectedRotating);
            (void)text->HitTest({300, 300});
            (void)map.GetMapComRegion(*text);
            text->MoveWorld({v, v});
        }
    }
    map.SetZoom(100);
    const QByteArray bytes = boxtest::SavedBytes(map);
    boxtest::AddToCorpus(bytes, QStringLiteral("text-extremes"));
    siteplan::TPlaneMap loaded(services);
    ASSERT_TRUE(boxtest::LoadBytes(loaded, bytes));
    EXPECT_EQ(boxtest::SavedBytes(loaded), bytes);
}

// Texts of each alignment painted as the plan shows them, one selected and
// one without a frame on a hatched brush, saved for a look into SHOTS_DIR.
TEST_F(Text, PaintedTexts)
{
    map.DefaultTextShow.Font.Size = 9;
    const struct {
        QPoint from, to;
        const char* text;
        std::int16_t horz, vert;
    } boxes[] = {
        {{20, 20}, {320, 170}, "左上\r\n第二行", 0, 0},
        {{340, 20}, {640, 170}, "居中的文字", 1, 1},
        {{660, 20}, {960, 170}, "右下", 2, 2},
        {{20, 190}, {320, 300}, "一段很长的文字会在框内自动换行，超出框的部分被裁掉。一段很长的文字会在框内自动换行。", 0, 0},
    };
    std::vector<TVyrText*> texts;
    for (const auto& b : boxes) {
        TVyrText* text = AddText(b.from, b.to, QString::fromUtf8(b.text));
        ASSERT_NE(text, nullptr);
        text->OwnTextShow.SetHorzAlign(b.horz);
        text->OwnTextShow.SetVertAlign(b.vert);
        texts.push_back(text);
    }
    map.DefaultBrush.SetStyle(platform::TBrushStyle::bsDiagCross);
    map.DefaultBrush.SetColor(platform::clSilver);
    TVyrText* plain = AddText({340, 190}, {640, 340}, QStringLiteral("无外框"));
    ASSERT_NE(plain, nullptr);
    plain->SetShowOutRect(false);
    plain->OwnTextShow.Font.Color = platform::clBlue;
    TVyrText* turned = AddText({700, 200}, {900, 320}, QStringLiteral("转动"));
    ASSERT_NE(turned, nullptr);
    turned->RotateAngle = 300;
    map.SelectMapCom(texts[1], true);
    QImage image(980, 380, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    {
        platform::PainterCanvas canvas(image);
        map.Paint(canvas);
    }
    QDir().mkpath(SHOTS_DIR);
    image.save(SHOTS_DIR "/texts.png");

    // The long text is clipped at the bottom of its box: no dark pixel
    // below it (the grid is light).
    int dark = 0;
    for (int y = 300; y < 340; ++y)
        for (int x = 20; x < 330; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_EQ(dark, 0);
    // What a text draws stays within the area the plan repaints for it.
    for (TVyrText* shape : {plain, turned}) {
        const QRect drawn = shapetest::DrawnArea(*shape, siteplan::drawmode::SelectedRotating, QSize(1000, 400));
        EXPECT_TRUE(map.GetMapComRegion(*shape).boundingRect().contains(drawn));
    }
}

} // namespace
