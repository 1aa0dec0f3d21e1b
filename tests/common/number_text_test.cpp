#include "common/clock_text.h"
#include "common/failure.h"
#include "common/number_text.h"
#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QLocale>
#include <QTemporaryDir>
#include <array>
#include <cfloat>
#include <clocale>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <gtest/gtest.h>

TEST(NumberText, theLeadingNumberStaysFiniteRoundingStaysInInt16AndNumbersAreWrittenWithoutNeedlessFigures)
{
    const struct { const char16_t* text; double value; } cases[] = {
        {u"1 2 . 5", 12.5}, {u"abc", 0},   {u"\t\n7", 7}, {u"-3.5x", -3.5}, {u"+ 4", 4},  {u"1D3", 1000},
        {u"2.5d-1", 0.25},  {u"1e+", 1},   {u"1.2.3", 1.2}, {u".5", 0.5},     {u"-", 0},   {u"1,5", 1}, {u"\r5", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
    // A huge exponent gives a huge number, never infinity.
    EXPECT_TRUE(leadingNumber(u"1e999") > 1e300 && leadingNumber(u"1e999") <= DBL_MAX && leadingNumber(u"-1e999") == -leadingNumber(u"1e999"));

    // Numbers round half to even within Int16 and are written without needless figures.
    const std::pair<double, qint16> roundings[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-32768, -32768}};
    for (const auto& [value, rounded] : roundings)
        EXPECT_EQ(toInt16(value), rounded) << value;
    EXPECT_THROW(toInt16(32767.5), Failure);
    EXPECT_THROW(toInt16(-40000), Failure);
    const std::pair<QString, const char*> forms[] = {{plainNumber(-0.0), "0"}, {plainNumber(0.1 + 0.2), "0.3"},
        {plainNumber(1e20), "1E+20"}, {printNumber(0), " 0"}, {printNumber(-7), "-7"}, {clockText(3725), "62:05"},
        {clockText(6000), "100:00"}};
    for (const auto& [text, expected] : forms)
        EXPECT_EQ(text, expected);
}

// What a settings file's number line may hold; anything else reads as nothing, so that
// the file's reader keeps that part's default rather than taking it for 0. A locale with
// a decimal comma changes neither this nor the leading-number rule, nor how numbers are written.
TEST(SettingsNumber, readsALineThatIsOneNumberAndNothingElseWhateverTheLocale)
{
    const struct { const char* line; std::optional<double> value; } cases[] = {
        {"5", 5},       {" 60 ", 60},   {"\t-2.5", -2.5}, {"+12", 12},       {".5", 0.5},       {"5.", 5},
        {"-4.5E1", -45}, {"1e+3", 1000}, {"1.000", 1},     {"-0", 0},         {"\f7\v", 7},
        {"", {}},       {" ", {}},      {"-", {}},        {"abc", {}},       {"10 s", {}},      {"1 000", {}},
        {"1,5", {}},    {"1.5.0", {}},  {"+-5", {}},      {"1e", {}},        {"0x10", {}},      {"inf", {}},
        {"nan", {}},    {"1e999", {}},  {"1e-999", {}},
        // Written by this program with E; D, which the leading-number rule takes, is no settings number.
        {"1D3", {}},
        // Only ASCII blanks and digits: a no-break space, a full-width five.
        {"\xC2\xA0" "5", {}}, {"\xEF\xBC\x95", {}},
    };
    const auto readAll = [&](const char* where) {
        for (const auto& c : cases)
            EXPECT_EQ(settingsNumber(QString::fromUtf8(c.line)), c.value) << '"' << c.line << "\" " << where;
    };
    readAll("in the C locale");
    // A whole number is one within its bounds in any notation.
    const struct { const char* line; std::optional<int> value; } wholes[] = {
        {"0", 0}, {"60", 60}, {" 12 ", 12}, {"1.2E1", 12}, {"12.5", {}}, {"61", {}}, {"-1", {}}, {"", {}}, {"1e999", {}}};
    for (const auto& c : wholes)
        EXPECT_EQ(settingsWholeNumber(c.line, 0, 60), c.value) << '"' << c.line << '"';

    // The program takes the C library's locale from the user's, and Qt's default follows it.
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale; scripts/setup makes one";
    const QLocale savedQt;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    readAll("with a decimal comma");
    const std::array read{leadingNumber(u"1.5"), leadingNumber(u"32.5 s"), leadingNumber(u"-2.5D-1")};
    const QString written = plainNumber(1.5) + printNumber(0.25);
    QLocale::setDefault(savedQt);
    std::setlocale(LC_ALL, savedC.c_str());
    EXPECT_TRUE(read == (std::array{1.5, 32.5, -0.25}) && written == "1.5 0.25") << written.toStdString();
}

// A settings file is read only when it is a regular file, and only its start: a FIFO
// would block the start for good, a link to /dev/zero would fill the memory.
TEST(SettingsLines, comeOnlyFromTheStartOfARegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.dat"), zero = dir.filePath("zero.dat"), big = dir.filePath("big.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    for (const QString& none : {fifo, zero, dir.path(), dir.filePath("missing.dat")})
        EXPECT_EQ(readSettingsLines(none), QStringList()) << none.toStdString();
    writeBytes(big, "1\r\n2\r\n" + QByteArray(10'000'000, 'x'));
    const QStringList lines = readSettingsLines(big);
    EXPECT_TRUE(lines.size() == 3 && lines[0] == "1" && lines[2].size() == 4096 - 6) << lines.size();
}
