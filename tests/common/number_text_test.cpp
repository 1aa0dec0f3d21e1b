#include "common/basic_random.h"
#include "common/clock_text.h"
#include "common/failure.h"
#include "common/number_text.h"
#include "support/qt_printers.h"

#include <array>
#include <cfloat>
#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <utility>

TEST(LeadingNumber, readsTheNumberATextBeginsWithAndStaysFinite)
{
    const struct { const char16_t* text; double value; } cases[] = {
        {u"1 2 . 5", 12.5}, {u"abc", 0},   {u"\t\n7", 7}, {u"-3.5x", -3.5}, {u"+ 4", 4},  {u"1D3", 1000},
        {u"2.5d-1", 0.25},  {u"1e+", 1},   {u"1.2.3", 1.2}, {u".5", 0.5},     {u"-", 0},   {u"1,5", 1},
        {u"\r5", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
    // A huge exponent gives a huge number, never infinity.
    EXPECT_TRUE(leadingNumber(u"1e999") > 1e300 && leadingNumber(u"1e999") <= DBL_MAX);
    EXPECT_TRUE(leadingNumber(u"-1e999") < -1e300 && leadingNumber(u"-1e999") >= -DBL_MAX);
}

// The application takes the C library's locale from the user's; one with a decimal
// comma must change neither reading nor writing.
TEST(NumberForms, pointIsTheDecimalPointWhateverTheLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale; scripts/setup makes one";
    const std::array read{leadingNumber(u"1.5"), leadingNumber(u"32.5 s"), leadingNumber(u"-2.5D-1")};
    const QString written = plainNumber(1.5) + printNumber(0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(read, (std::array{1.5, 32.5, -0.25}));
    EXPECT_EQ(written, "1.5 0.25");
}

TEST(NumberForms, roundHalfToEvenWithinInt16AndWriteWithoutNeedlessFigures)
{
    const std::pair<double, qint16> roundings[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-32768, -32768}};
    for (const auto& [value, rounded] : roundings)
        EXPECT_EQ(toInt16(value), rounded) << value;
    EXPECT_THROW(toInt16(32767.5), Failure);
    EXPECT_THROW(toInt16(-40000), Failure);

    const std::pair<QString, const char*> forms[] = {
        {plainNumber(2000), "2000"}, {plainNumber(-0.0), "0"},  {plainNumber(0.1 + 0.2), "0.3"},
        {plainNumber(1e20), "1E+20"}, {printNumber(0), " 0"}, {printNumber(-7), "-7"}};
    for (const auto& [text, expected] : forms)
        EXPECT_EQ(text, expected);
}

TEST(ClockText, showsMinutesAndSecondsWithoutHours)
{
    const std::pair<qint64, const char*> cases[] = {{5, "00:05"}, {3725, "62:05"}, {6000, "100:00"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(clockText(seconds), text) << seconds;
}

TEST(BasicRandom, drawsTheSameSequenceOnEveryStart)
{
    BasicRandom random;
    for (float value : {11837123.0f / 16777216, 8949370.0f / 16777216, 9722709.0f / 16777216})
        EXPECT_FLOAT_EQ(random.next(), value);
    for (int i = 0; i < 100000; ++i) {
        const float value = random.next();
        ASSERT_TRUE(value >= 0.0f && value < 1.0f) << value;
    }
}
