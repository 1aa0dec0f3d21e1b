#include "common/basic_random.h"
#include "common/clock_text.h"
#include "common/failure.h"
#include "common/number_text.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, readsTheNumberATextBeginsWith)
{
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u" 2.0", 2},       {u"2 s", 2},       {u"1 5", 15},         {u"abc", 0},
        {u"", 0},           {u"\t\n7", 7},     {u"-3.5x", -3.5},     {u"+ 4", 4},
        {u"1.5E2", 150},    {u"1D3", 1000},    {u"2.5d-1", 0.25},    {u"1e", 1},
        {u"1e+", 1},        {u"1E-2", 0.01},   {u"1.2.3", 1.2},      {u".5", 0.5},
        {u".", 0},          {u"-", 0},         {u"1,5", 1},          {u"0x10", 0},
        {u"12:34:56", 12},  {u"1 2 . 5", 12.5}, {u"\r5", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf16(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(LeadingNumber, staysFiniteForHugeExponents)
{
    EXPECT_TRUE(std::isfinite(leadingNumber(u"1e999")));
    EXPECT_GT(leadingNumber(u"1e999"), 1e300);
    EXPECT_LT(leadingNumber(u"-1e999"), -1e300);
}

TEST(ToInt16, roundsHalfToEvenAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_THROW(toInt16(32767.5), Failure);
    EXPECT_THROW(toInt16(-40000), Failure);
}

TEST(NumberForms, plainHasNoBlanksAndPrintLeavesRoomForTheSign)
{
    EXPECT_EQ(plainNumber(3), "3");
    EXPECT_EQ(plainNumber(2000), "2000");
    EXPECT_EQ(plainNumber(1.5), "1.5");
    EXPECT_EQ(plainNumber(-2), "-2");
    EXPECT_EQ(plainNumber(-0.0), "0");
    EXPECT_EQ(plainNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(plainNumber(1333.0 / 1000), "1.333");
    EXPECT_EQ(plainNumber(1e20), "1E+20");
    EXPECT_EQ(printNumber(1), " 1");
    EXPECT_EQ(printNumber(0), " 0");
    EXPECT_EQ(printNumber(-7), "-7");
}

TEST(ClockText, showsMinutesAndSecondsWithoutHours)
{
    const struct {
        qint64 seconds;
        const char* text;
    } cases[] = {{0, "00:00"}, {5, "00:05"}, {59, "00:59"}, {60, "01:00"}, {215, "03:35"},
                 {600, "10:00"}, {3725, "62:05"}, {4500, "75:00"}, {6000, "100:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(clockText(c.seconds), c.text) << c.seconds;
}

TEST(BasicRandom, drawsTheSameSequenceOnEveryStart)
{
    BasicRandom first;
    BasicRandom second;
    const float expected[] = {11837123.0f / 16777216, 8949370.0f / 16777216, 9722709.0f / 16777216};
    for (float value : expected) {
        EXPECT_FLOAT_EQ(first.next(), value);
        EXPECT_FLOAT_EQ(second.next(), value);
    }
    for (int i = 0; i < 100000; ++i) {
        const float value = first.next();
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
    }
}
