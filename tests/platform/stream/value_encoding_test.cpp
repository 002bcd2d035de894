#include "stream_bytes.h"

#include "platform/stream/extended_float.h"
#include "platform/stream/value_writer.h"

#include "platform/gbk_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

using stream::ValueWriter;
using stream_test::Raw;
using stream_test::Short;

struct EncodingCase {
    const char* name;
    std::function<void(ValueWriter&)> write;
    QByteArray expected;
};

QByteArray Encode(const std::function<void(ValueWriter&)>& write)
{
    QByteArray out;
    ValueWriter w(out);
    write(w);
    return out;
}

TEST(ValueEncoding, ExactBytes)
{
    const QByteArray text255(255, 'a');
    const QByteArray text256(256, 'b');
    const EncodingCase cases[] = {
        {"0", [](ValueWriter& w) { w.Integer(0); }, Raw({0x02, 0x00})},
        {"127", [](ValueWriter& w) { w.Integer(127); }, Raw({0x02, 0x7F})},
        {"-128", [](ValueWriter& w) { w.Integer(-128); }, Raw({0x02, 0x80})},
        {"128", [](ValueWriter& w) { w.Integer(128); }, Raw({0x03, 0x80, 0x00})},
        {"-129", [](ValueWriter& w) { w.Integer(-129); }, Raw({0x03, 0x7F, 0xFF})},
        {"32767", [](ValueWriter& w) { w.Integer(32767); }, Raw({0x03, 0xFF, 0x7F})},
        {"-32768", [](ValueWriter& w) { w.Integer(-32768); }, Raw({0x03, 0x00, 0x80})},
        {"32768", [](ValueWriter& w) { w.Integer(32768); }, Raw({0x04, 0x00, 0x80, 0x00, 0x00})},
        {"-32769", [](ValueWriter& w) { w.Integer(-32769); }, Raw({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
        {"40000", [](ValueWriter& w) { w.Integer(40000); }, Raw({0x04, 0x40, 0x9C, 0x00, 0x00})},
        {"colour $408000", [](ValueWriter& w) { w.Integer(0x408000); }, Raw({0x04, 0x00, 0x80, 0x40, 0x00})},
        {"int32 min", [](ValueWriter& w) { w.Integer(std::numeric_limits<std::int32_t>::min()); },
         Raw({0x04, 0x00, 0x00, 0x00, 0x80})},
        {"1.0", [](ValueWriter& w) { w.Float(1.0); },
         Raw({0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {"-2.5", [](ValueWriter& w) { w.Float(-2.5); },
         Raw({0x05, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
        {"100", [](ValueWriter& w) { w.Float(100.0); },
         Raw({0x05, 0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40})},
        {"0.1", [](ValueWriter& w) { w.Float(0.1); },
         Raw({0x05, 0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {"text 255 bytes", [&](ValueWriter& w) { w.String(text255); }, Raw({0x06, 0xFF}) + text255},
        {"text 256 bytes", [&](ValueWriter& w) { w.String(text256); }, Raw({0x0C, 0x00, 0x01, 0x00, 0x00}) + text256},
        {"GBK text", [](ValueWriter& w) { w.String(platform::ToGbk(QStringLiteral("新图例"))); },
         Raw({0x06, 0x06, 0xD0, 0xC2, 0xCD, 0xBC, 0xC0, 0xFD})},
        {"ident", [](ValueWriter& w) { w.Ident("clBlue"); }, Raw({0x07}) + Short("clBlue")},
        {"ident False", [](ValueWriter& w) { w.Ident("false"); }, Raw({0x08})},
        {"ident True", [](ValueWriter& w) { w.Ident("TRUE"); }, Raw({0x09})},
        {"ident Null", [](ValueWriter& w) { w.Ident("Null"); }, Raw({0x00})},
        {"ident nil", [](ValueWriter& w) { w.Ident("NIL"); }, Raw({0x0D})},
        {"empty set", [](ValueWriter& w) { w.Set({}); }, Raw({0x0B, 0x00})},
        {"set", [](ValueWriter& w) { w.Set({"fsBold", "fsItalic"}); },
         Raw({0x0B}) + Short("fsBold") + Short("fsItalic") + Raw({0x00})},
        {"binary", [](ValueWriter& w) { w.Binary(QByteArray("\x01\x02", 2)); }, Raw({0x0A, 2, 0, 0, 0, 1, 2})},
        {"lines", [](ValueWriter& w) { w.Lines({"A", "B"}); }, Raw({0x01, 0x06, 1, 'A', 0x06, 1, 'B', 0x00})},
        {"short text cut", [&](ValueWriter& w) { w.ShortText(text256); }, Raw({0xFF}) + QByteArray(255, 'b')},
    };
    for (const EncodingCase& c : cases)
        EXPECT_EQ(Encode(c.write).toHex(' ').toStdString(), c.expected.toHex(' ').toStdString()) << c.name;
}

stream::Extended Ext(std::uint64_t mantissa, unsigned signExponent)
{
    stream::Extended e{};
    for (std::size_t i = 0; i < 8; ++i)
        e[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    e[8] = static_cast<std::uint8_t>(signExponent & 0xFF);
    e[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return e;
}

TEST(ExtendedFloat, EveryDoubleRoundTrips)
{
    const double values[] = {0.0, -0.0, 1.0, -1.0, 0.1, 1.0 / 3.0, 45000.5, 1e300, -1e-300,
                             std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(), 3 * std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        const double back = stream::ExtendedToDouble(stream::DoubleToExtended(v));
        EXPECT_EQ(back, v) << v;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    }
    EXPECT_TRUE(std::isnan(stream::ExtendedToDouble(stream::DoubleToExtended(std::nan("")))));
}

TEST(ExtendedFloat, NarrowingRoundsToNearestEven)
{
    constexpr unsigned one = 0x3FFF; // exponent of [1, 2)
    // 1 + 2^-53 is half-way between 1 and the next double: ties to even, 1.
    EXPECT_EQ(stream::ExtendedToDouble(Ext(0x8000000000000400ull, one)), 1.0);
    // 1 + 3 * 2^-53 is half-way, rounds up to the even 1 + 2^-51.
    EXPECT_EQ(stream::ExtendedToDouble(Ext(0x8000000000000C00ull, one)), 1.0 + std::ldexp(1.0, -51));
    // Just above half-way rounds up.
    EXPECT_EQ(stream::ExtendedToDouble(Ext(0x8000000000000401ull, one)), 1.0 + std::ldexp(1.0, -52));
    // Beyond the double range: infinity; far below: signed zero.
    EXPECT_EQ(stream::ExtendedToDouble(Ext(0x8000000000000000ull, 0x7FFE)), std::numeric_limits<double>::infinity());
    const double tiny = stream::ExtendedToDouble(Ext(0x8000000000000000ull, 0x8001));
    EXPECT_EQ(tiny, 0.0);
    EXPECT_TRUE(std::signbit(tiny));
    // Subnormal result: 1.5 * 2^-1074 ties to the even 2 * 2^-1074.
    const double sub = stream::ExtendedToDouble(Ext(0xC000000000000000ull, 0x3FFF - 1074));
    EXPECT_EQ(sub, 2 * std::numeric_limits<double>::denorm_min());
    // An unnormal (integer bit clear) still means mantissa * 2^exponent.
    EXPECT_EQ(stream::ExtendedToDouble(Ext(0x4000000000000000ull, one)), 0.5);
}

TEST(ExtendedFloat, SingleRoundsOnceFromExtended)
{
    constexpr unsigned one = 0x3FFF;
    // 1 + 2^-24 + 2^-60: above the single half-way point, though as a double
    // it would first round to exactly half-way and then to 1.
    EXPECT_EQ(stream::ExtendedToSingle(Ext(0x8000008000000010ull, one)), 1.0f + std::ldexp(1.0f, -23));
    EXPECT_EQ(stream::ExtendedToSingle(stream::DoubleToExtended(0.3f)), 0.3f);
    EXPECT_EQ(stream::ExtendedToSingle(stream::DoubleToExtended(1e39)), std::numeric_limits<float>::infinity());
}

} // namespace
