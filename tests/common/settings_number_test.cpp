#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <string>
#include <sys/stat.h>
#include <gtest/gtest.h>

// What a settings file's number line may hold; anything else reads as nothing, so that
// the file's reader keeps that part's default rather than taking it for 0.
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

    // The program takes the C library's locale from the user's, and Qt's default follows it.
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale; scripts/setup makes one";
    const QLocale savedQt;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    readAll("with a decimal comma");
    QLocale::setDefault(savedQt);
    std::setlocale(LC_ALL, savedC.c_str());
}

TEST(SettingsNumber, aWholeNumberIsOneWithinItsBoundsInAnyNotation)
{
    const struct { const char* line; std::optional<int> value; } cases[] = {
        {"0", 0}, {"60", 60}, {" 12 ", 12}, {"12.0", 12}, {"1.2E1", 12}, {"-0", 0},
        {"12.5", {}}, {"61", {}}, {"-1", {}}, {"", {}}, {"1e999", {}}, {"12 s", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settingsWholeNumber(c.line, 0, 60), c.value) << '"' << c.line << '"';
}

// A settings file is read only when it is a regular file, and only its start: a FIFO
// would block the start for good, a link to /dev/zero would fill the memory.
TEST(SettingsLines, comeOnlyFromTheStartOfARegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.dat"), zero = dir.filePath("zero.dat"), big = dir.filePath("big.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    EXPECT_EQ(readSettingsLines(fifo), QStringList());
    EXPECT_EQ(readSettingsLines(zero), QStringList());
    EXPECT_EQ(readSettingsLines(dir.path()), QStringList());
    EXPECT_EQ(readSettingsLines(dir.filePath("missing.dat")), QStringList());
    writeBytes(big, "1\r\n2\r\n" + QByteArray(10'000'000, 'x'));
    const QStringList lines = readSettingsLines(big);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[2].size(), 4096 - 6);
}
