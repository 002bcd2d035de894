#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

TEST(Numbers, RoundTakesHalvesToEven)
{
    struct Case { double in; std::int64_t out; };
    const Case cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {1.5, 2}, {0.5, 0},
        {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {1e10, 10000000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.in), c.out) << c.in;
}

TEST(Numbers, TruncCutsTowardZero)
{
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(-0.2), 0);
}

TEST(Numbers, NonFiniteAndHugeValuesSaturate)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Round(nan), 0);
    EXPECT_EQ(Trunc(nan), 0);
    EXPECT_EQ(Round(inf), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Trunc(-inf), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RoundInt(3e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TruncInt(-3e9), std::numeric_limits<std::int32_t>::min());
}

TEST(Numbers, MulDivUsesWideIntermediateAndRoundsHalfAway)
{
    struct Case { std::int32_t a, b, c, out; };
    const Case cases[] = {
        {100000, 100000, 100000, 100000}, // product beyond 32 bits
        {5, 1, 2, 3}, {-5, 1, 2, -3}, {5, -1, 2, -3}, {7, 3, 2, 11},
        {1, 1, 0, -1},                    // zero denominator
        {0x7FFFFFFF, 2, 1, -1},           // result out of range
        {96, 254, 96, 254},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.out) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Numbers, MulDivSaturatedNeverDividesByZeroAndClampsTheResult)
{
    struct Case { std::int32_t a, b, c, out; };
    const Case cases[] = {
        {5, 1, 2, 3}, {-5, 1, 2, -3}, {794, 254, 96, 2101},
        {2100, 0, 254, 0},                // a resolution of 0 on the way in
        {2100, 254, 0, 0},                // and on the way out
        {0x7FFFFFFF, 2, 1, 0x7FFFFFFF},   // saturates instead of giving -1
        {-0x7FFFFFFF - 1, 2, 1, -0x7FFFFFFF - 1},
        {-0x7FFFFFFF - 1, -1, 1, 0x7FFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDivSaturated(c.a, c.b, c.c), c.out) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Numbers, FloatToStrGivesShortestText)
{
    struct Case { float in; const char* out; };
    const Case cases[] = {
        {2.5f, "2.5"}, {3.0f, "3"}, {0.3f, "0.3"}, {100000.0f, "100000"}, {-0.0f, "0"},
        {-1.5f, "-1.5"}, {0.1f, "0.1"}, {12345.5f, "12345.5"}, {1e20f, "1E+20"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.in).toStdString(), c.out);
}

TEST(Numbers, TryStrToFloatRefusesMalformedText)
{
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(QStringLiteral(" 2.5 "), v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    for (const char* bad : {"", "abc", "1..2", "inf", "nan"})
        EXPECT_FALSE(TryStrToFloat(QString::fromLatin1(bad), v)) << bad;
}
