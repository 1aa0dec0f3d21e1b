#include "common/failure.h"
#include "common/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/file_bytes.h"

TEST(TextFile, writesEveryLineWithCrLfInUtf8)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    writeTextFile(path, {"first", "", QString::fromUtf8("Sånger/Ärlig.mp3")});
    EXPECT_EQ(bytesOf(path), QByteArray("first\r\n\r\n") + QString::fromUtf8("Sånger/Ärlig.mp3").toUtf8() + "\r\n");
}

TEST(TextFile, failedWriteIsReportedAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("taken");
    QDir(dir.path()).mkdir("taken"); // a folder stands where the file should go
    EXPECT_THROW(writeTextFile(path, {"new"}), Failure);
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"taken"});
    EXPECT_THROW(writeTextFile(dir.filePath("no/such/folder.txt"), {"new"}), Failure);
}

TEST(TextFile, readsLinesEndedByCrLfCrOrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.txt");
    writeBytes(path, "a\r\nb\rc\nd\r\n\r\ne");
    EXPECT_EQ(readTextFile(path), QStringList({"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(splitTextLines("a\r\nb\rc\nd\r\n\r\ne"), QStringList({"a", "b", "c", "d", "", "e"}));
    writeBytes(path, "");
    EXPECT_TRUE(readTextFile(path).isEmpty());
}

TEST(TextFile, readsLinesThatAreNotUtf8AsWindows1252)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mixed.txt");
    writeBytes(path, "caf\xc3\xa9\r\nM\xf6tley \x80 \x93quoted\x94\r\n");
    EXPECT_EQ(readTextFile(path),
              QStringList({QString::fromUtf8("café"), QString::fromUtf8("Mötley € “quoted”")}));
}

TEST(TextFile, keepsCrLfTogetherAcrossTheReadBuffer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("long.txt");
    // The CR of the first line end falls on the last byte of the first 64 KiB chunk.
    const QByteArray first(64 * 1024 - 1, 'x');
    writeBytes(path, first + "\r\nsecond\r\n");
    const QStringList lines = readTextFile(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), first.size());
    EXPECT_EQ(lines[1], "second");
}

TEST(TextFile, missingFileFailsAndTheContentTestCreatesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.txt");
    EXPECT_THROW(readTextFile(path), Failure);
    EXPECT_FALSE(fileHasContent(path));
    EXPECT_FALSE(QFile::exists(path));
    writeBytes(path, "");
    EXPECT_FALSE(fileHasContent(path));
    EXPECT_FALSE(fileHasContent(dir.path()));
    writeBytes(path, "x");
    EXPECT_TRUE(fileHasContent(path));
}
