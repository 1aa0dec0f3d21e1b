#include "common/failure.h"
#include "common/text_file.h"
#include "support/failure_text.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(TextFile, writesCrLfLinesInUtf8OnlyAByteCountsAsContentAndAFailedWriteKeepsTheOldFileAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.txt");
    // Only a file holding a byte has content, and asking creates nothing.
    EXPECT_FALSE(fileHasContent(out) || fileHasContent(dir.path()) || QFileInfo::exists(out));
    writeBytes(out, "");
    EXPECT_FALSE(fileHasContent(out));
    writeTextFile(out, {"first", "", "Sånger/Ärlig.mp3"});
    EXPECT_EQ(bytesOf(out), "first\r\n\r\nS\xC3\xA5nger/\xC3\x84rlig.mp3\r\n");
    EXPECT_TRUE(fileHasContent(out));

    QDir(dir.path()).mkdir("taken"); // a folder stands where the file should go; that nothing is left is pinned below
    EXPECT_THROW(writeTextFile(dir.filePath("taken"), {"new"}), Failure);
    EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());
    EXPECT_THROW(writeTextFile(dir.filePath("no/such/folder.txt"), {"new"}), Failure);
    QDir(dir.path()).rmdir("taken");

    // A write cut short, as on a full disk, fails with the system's reason and keeps the
    // old file, whether the content is below or above what Qt would hold in its buffer.
    const QString& path = out;
    writeTextFile(path, {"old"});
    for (const qsizetype length : {2000, 40000}) {
        QString reason;
        {
            const FileSizeLimit limit(1024);
            reason = failureOf([&] { writeTextFile(path, {QString(length, u'x')}); });
        }
        EXPECT_EQ(reason + bytesOf(path), QString::fromLocal8Bit(std::strerror(EFBIG)) + "old\r\n") << length;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"out.txt"});
}

TEST(TextFile, readsLinesEndedByCrLfCrOrLfTakesOtherThanUtf8AsWindows1252AndRefusesWhatIsNoTextFile)
{
    // The CR of the first line end falls on the last byte of the reader's first 64 KiB chunk.
    const QByteArray straddling(64 * 1024 - 1, 'x');
    const struct { QByteArray bytes; QStringList lines; } cases[] = {
        {"a\r\nb\rc\nd\r\n\r\ne", {"a", "b", "c", "d", "", "e"}}, {"", {}},
        {"caf\xC3\xA9\r\nM\xF6tley \x80 \x93quoted\x94\r\n", {"café", "Mötley € “quoted”"}},
        {straddling + "\r\nsecond\r\n", {QString(straddling), "second"}},
    };
    const auto readLines = [](const QString& path) {
        TextLineReader reader(path);
        QStringList lines;
        for (QString line; reader.readLine(line);)
            lines << line;
        return lines;
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        writeBytes(dir.filePath("in.txt"), c.bytes);
        EXPECT_EQ(readLines(dir.filePath("in.txt")), c.lines) << c.bytes.left(20).toStdString();
        EXPECT_EQ(splitTextLines(c.bytes), c.lines);
    }
    EXPECT_THROW(readLines(dir.filePath("missing.txt")), Failure);

    // What is no text file is refused before it is opened or read to its end: a FIFO
    // would wait for a writer for ever, one endless line would fill the memory.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.m3u")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder.m3u");
    writeBytes(dir.filePath("long.m3u"), "first\r\n" + QByteArray(16 * 1024 * 1024 + 1, 'x'));
    const std::pair<const char*, QString> refusals[] = {
        {"pipe.m3u", "pipe.m3u is not a regular file."},
        {"folder.m3u", "folder.m3u is a folder."},
    };
    for (const auto& refusal : refusals)
        EXPECT_EQ(failureOf([&] { TextLineReader reader(dir.filePath(refusal.first)); }), refusal.second);

    TextLineReader reader(dir.filePath("long.m3u"));
    QString line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "first");
    EXPECT_EQ(failureOf([&] { reader.readLine(line); }), "long.m3u holds a line of over 16 MiB: it is no text file.");
}
