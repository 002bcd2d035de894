#include "sample_component.h"
#include "stream_bytes.h"

#include "platform/stream/component_reader.h"
#include "platform/stream/component_writer.h"
#include "platform/stream/stream_error.h"

#include "platform/colors.h"
#include "platform/gbk_text.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using stream_test::Raw;
using stream_test::SampleComponent;
using stream_test::Short;

class ComponentStream : public ::testing::Test {
protected:
    void SetUp() override { stream_test::RegisterSampleClasses(); }

    static QByteArray Prop(const QByteArray& name, const QByteArray& value) { return Short(name) + value; }
    static QByteArray Ident(const QByteArray& name) { return Raw({0x07}) + Short(name); }

    // The stored bytes of a sample whose properties all keep the constructor's values.
    static QByteArray DefaultBody()
    {
        return Prop("Count", Raw({0x02, 0x00})) + Prop("Color", Ident("clBlack")) + Prop("Days", Raw({0x0B, 0x00}))
            + FontBytes("Font.", -12, "clBlack", "DEFAULT_CHARSET", Raw({0x0B, 0x00}));
    }

    static QByteArray FontBytes(const QByteArray& p, int height, const QByteArray& color, const QByteArray& charset,
                                const QByteArray& style)
    {
        return Prop(p + "Charset", Ident(charset)) + Prop(p + "Color", Ident(color))
            + Prop(p + "Height", Raw({0x02, height & 0xFF})) + Prop(p + "Name", Raw({0x06, 0x04, 0xCB, 0xCE, 0xCC, 0xE5}))
            + Prop(p + "Style", style);
    }

    static QByteArray Stream(const QByteArray& body, const QByteArray& items, const QByteArray& children = {})
    {
        return QByteArray("TPF0") + Short("TSampleComponent") + Raw({0x00}) + body + Prop("Items", items) + Raw({0x00})
            + children + Raw({0x00});
    }

    static QString ReadError(const QByteArray& bytes)
    {
        try {
            stream::ReadComponent(bytes);
        } catch (const stream::StreamError& e) {
            return e.Message();
        }
        return QStringLiteral("(no error)");
    }

    static std::unique_ptr<SampleComponent> Read(const QByteArray& bytes)
    {
        auto object = stream::ReadComponent(bytes);
        auto* sample = dynamic_cast<SampleComponent*>(object.get());
        if (!sample)
            return nullptr;
        object.release();
        return std::unique_ptr<SampleComponent>(sample);
    }

    // A sample with every property away from its default.
    static SampleComponent FullSample()
    {
        SampleComponent s;
        s.Tag = 5;
        s.Count = 40000;
        s.Color = 0x408000;
        s.Shade = stream_test::TShade::shDark;
        s.Visible = false;
        s.Days = 0b101;
        s.Ratio = 0.3f;
        s.When = 45000.5;
        s.Text = platform::ToGbk(QString(150, QChar(0x5DE5))); // 300 GBK bytes
        s.Data = QByteArray("\x00\xFF\x10", 3);
        s.Font.Font.Style = platform::fsBold | platform::fsStrikeOut;
        s.Font.Font.Color = platform::clBlue;
        s.Font.Charset = stream::GB2312_CHARSET;
        s.Font.Pitch = stream::TFontPitch::fpFixed;
        s.Font.SetHeight(-14);
        s.Lines.Append(QStringLiteral("第一行"));
        s.Lines.Append(QString());
        s.Items.Items[0]->Number = -129;
        s.Items.Add();
        static_cast<stream_test::SampleItem&>(s.Items.Item(1)).Length = 2.5;
        s.Kids.push_back(std::make_unique<SampleComponent>());
        return s;
    }
};

TEST_F(ComponentStream, DefaultsAreSkippedAndTheRestWrittenExactly)
{
    SampleComponent s;
    const QByteArray item = Raw({0x01}) + Prop("Number", Raw({0x02, 0x00})) + Prop("Caption", Raw({0x06, 4}) + "item")
        + Raw({0x00});
    EXPECT_EQ(stream::WriteComponent(s).toHex(' ').toStdString(), Stream(DefaultBody(), Raw({0x0E}) + item + Raw({0x00})).toHex(' ').toStdString());

    s.Items.Clear();
    EXPECT_EQ(stream::WriteComponent(s).toHex(' ').toStdString(), Stream(DefaultBody(), Raw({0x0E, 0x00})).toHex(' ').toStdString());
}

TEST_F(ComponentStream, FontIsWrittenInItsOrder)
{
    SampleComponent s;
    s.Font.Font.Size = 18;
    s.Font.Font.Style = platform::fsBold | platform::fsItalic;
    s.Font.Font.Color = platform::RGB(1, 2, 3);
    s.Font.Pitch = stream::TFontPitch::fpVariable;
    const QByteArray bytes = stream::WriteComponent(s);
    const QByteArray expected = Prop("Font.Charset", Ident("DEFAULT_CHARSET"))
        + Prop("Font.Color", Raw({0x04, 0x01, 0x02, 0x03, 0x00})) + Prop("Font.Height", Raw({0x02, 0xE8}))
        + Prop("Font.Name", Raw({0x06, 0x04, 0xCB, 0xCE, 0xCC, 0xE5})) + Prop("Font.Pitch", Ident("fpVariable"))
        + Prop("Font.Style", Raw({0x0B}) + Short("fsBold") + Short("fsItalic") + Raw({0x00}));
    EXPECT_TRUE(bytes.contains(expected)) << bytes.toHex(' ').toStdString();
}

TEST_F(ComponentStream, EveryKindRoundTripsByteIdentically)
{
    const SampleComponent original = FullSample();
    const QByteArray written = stream::WriteComponent(original);
    const auto read = Read(written);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Tag, 5);
    EXPECT_EQ(read->Count, 40000);
    EXPECT_EQ(read->Color, 0x408000);
    EXPECT_EQ(read->Shade, stream_test::TShade::shDark);
    EXPECT_FALSE(read->Visible);
    EXPECT_EQ(read->Days, 0b101);
    EXPECT_EQ(read->Ratio, 0.3f);
    EXPECT_EQ(read->When, 45000.5);
    EXPECT_EQ(read->Text, original.Text);
    EXPECT_EQ(read->Data, original.Data);
    EXPECT_EQ(read->Font.Font.Size, 11);
    EXPECT_EQ(read->Font.Height(), -14);
    EXPECT_EQ(read->Font.Charset, stream::GB2312_CHARSET);
    EXPECT_EQ(read->Lines.Count(), 2);
    EXPECT_EQ(read->Lines.Text(0), QStringLiteral("第一行"));
    ASSERT_EQ(read->Items.Count(), 2);
    EXPECT_EQ(read->Items.Items[0]->Number, -129);
    EXPECT_EQ(read->Items.Items[1]->Length, 2.5);
    EXPECT_EQ(read->Kids.size(), 1u);
    EXPECT_EQ(stream::WriteComponent(*read), written);

    QDir().mkpath(FUZZ_CORPUS_DIR "/component_stream_fuzz");
    QFile seed(FUZZ_CORPUS_DIR "/component_stream_fuzz/sample.bin");
    if (seed.open(QIODevice::WriteOnly))
        seed.write(written);
}

TEST_F(ComponentStream, OmittedPropertiesKeepTheConstructorValues)
{
    const auto read = Read(Stream(QByteArray(), Raw({0x0E, 0x00})));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->Visible);
    EXPECT_EQ(read->Font.Font.Size, 9);
    ASSERT_EQ(read->Items.Count(), 1); // an empty stored collection keeps the constructor's item
    EXPECT_EQ(read->Items.Items[0]->Caption, "item");
}

TEST_F(ComponentStream, ReaderAcceptsOtherEncodingsOfAValue)
{
    const QByteArray body = Prop("count", Raw({0x13, 7, 0, 0, 0, 0, 0, 0, 0}))   // Int64, any letter case
        + Prop("Color", Ident("CLRED")) + Prop("When", Raw({0x02, 3}))            // integer for a float
        + Prop("Ratio", Raw({0x11, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}))               // 8-byte date value 1.0
        + Prop("Text", Raw({0x12, 2, 0, 0, 0, 0x34, 0x6C, 0x34, 0x6C}))          // wide "水水"
        + Prop("Visible", Ident("False"));
    const QByteArray prefixed = QByteArray("TPF0") + Raw({0xF2, 0x02, 0x03}) + Short("TSampleComponent")
        + Raw({0x00}) + body + Raw({0x00, 0x00});
    const auto read = Read(prefixed);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Count, 7);
    EXPECT_EQ(read->Color, platform::clRed);
    EXPECT_EQ(read->When, 3.0);
    EXPECT_EQ(read->Ratio, 1.0f);
    EXPECT_EQ(platform::FromGbk(read->Text), QStringLiteral("水水"));
    EXPECT_FALSE(read->Visible);
}

TEST_F(ComponentStream, ErrorTexts)
{
    const QByteArray empty = Raw({0x0E, 0x00});
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"bad signature", "TPF1" + Stream({}, empty).mid(4), "Invalid stream format"},
        {"too short", "TP", "Invalid stream format"},
        {"unknown class", QByteArray("TPF0") + Short("TNothing") + Raw({0, 0, 0}), "Class TNothing not found"},
        {"unknown property", Stream(Prop("Bogus", Raw({0x02, 1})), empty), "Error reading .Bogus: Property does not exist"},
        {"wrong kind", Stream(Prop("Count", Raw({0x06, 1, 'x'})), empty), "Error reading .Count: Invalid property value"},
        {"unknown ident", Stream(Prop("Color", Ident("clNoSuch")), empty), "Error reading .Color: Invalid property value"},
        {"unknown set member", Stream(Prop("Days", Raw({0x0B}) + Short("rdSunday") + Raw({0})), empty),
         "Error reading .Days: Invalid property value"},
        {"out of int32 range", Stream(Prop("Count", Raw({0x13, 0, 0, 0, 0, 1, 0, 0, 0})), empty),
         "Error reading .Count: Invalid property value"},
        {"path through a plain value", Stream(Prop("Count.X", Raw({0x02, 1})), empty),
         "Error reading .Count.X: Invalid property path"},
        {"unknown sub-property", Stream(Prop("Font.Bogus", Raw({0x02, 1})), empty),
         "Error reading .Font.Bogus: Property does not exist"},
        {"item property", Stream({}, Raw({0x0E, 0x01}) + Prop("Nope", Raw({0x08})) + Raw({0x00, 0x00})),
         "Error reading .Nope: Property does not exist"},
        {"item without list tag", Stream({}, Raw({0x0E, 0x02, 0x00, 0x06})), "Error reading .Items: Invalid property value"},
        {"negative binary length", Stream(Prop("Data", Raw({0x0A, 0xFF, 0xFF, 0xFF, 0xFF})), empty), "Stream read error"},
        {"binary longer than the stream", Stream(Prop("Data", Raw({0x0A, 0x00, 0x00, 0x00, 0x10})), empty),
         "Stream read error"},
        {"long text longer than the stream", Stream(Prop("Text", Raw({0x0C, 0xFF, 0xFF, 0xFF, 0x7F})), empty),
         "Stream read error"},
        {"negative long text", Stream(Prop("Text", Raw({0x0C, 0x00, 0x00, 0x00, 0x80})), empty), "Stream read error"},
        {"wide text longer than the stream", Stream(Prop("Text", Raw({0x12, 0x00, 0x00, 0x00, 0x40})), empty),
         "Stream read error"},
        {"short text past the end", QByteArray("TPF0") + Raw({0x40}) + "TSample", "Stream read error"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(c.bytes), c.message) << c.name;
}

TEST_F(ComponentStream, EveryTruncationIsAReadError)
{
    const QByteArray written = stream::WriteComponent(FullSample());
    for (qsizetype n = 4; n < written.size(); ++n)
        EXPECT_EQ(ReadError(written.left(n)), "Stream read error") << n;
}

TEST_F(ComponentStream, NestingDepthIsCapped)
{
    const QByteArray head = Short("TSampleComponent") + Raw({0x00}) + Prop("Items", Raw({0x0E, 0x00})) + Raw({0x00});
    auto nested = [&](int depth) {
        QByteArray bytes = "TPF0";
        for (int i = 0; i < depth; ++i)
            bytes += head;
        for (int i = 0; i < depth; ++i)
            bytes += Raw({0x00});
        return bytes;
    };
    EXPECT_EQ(ReadError(nested(stream::MaxNestingDepth)), "(no error)");
    EXPECT_EQ(ReadError(nested(stream::MaxNestingDepth + 1)), "Stream read error");
}

TEST_F(ComponentStream, FailingDeviceIsAWriteError)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    try {
        stream::WriteComponent(readOnly, SampleComponent());
        FAIL() << "no error";
    } catch (const stream::StreamError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
}

} // namespace
