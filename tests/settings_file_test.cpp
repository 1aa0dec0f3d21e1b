#include "app/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/file_bytes.h"

namespace {

SettingsRead readBytes(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    writeBytes(path, bytes);
    return readSettingsFile(path);
}

} // namespace

TEST(SettingsFile, writesTheChoicesInPrintForm)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    writeSettingsFile(path, {});
    EXPECT_EQ(bytesOf(path), " 0 \r\n1\r\n 0 \r\n 0 \r\n");
    writeSettingsFile(path, {1, 2, 1, 1});
    EXPECT_EQ(bytesOf(path), " 1 \r\n2\r\n 1 \r\n 1 \r\n");
}

TEST(SettingsFile, readsBackWhatItWrote)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    writeSettingsFile(path, {1, 2, 0, 1});
    const SettingsRead read = readSettingsFile(path);
    EXPECT_EQ(read.save, 1);
    EXPECT_EQ(read.format, 2);
    EXPECT_EQ(read.exit, 0);
    EXPECT_EQ(read.shutdown, 1);
}

TEST(SettingsFile, badContentLeavesTheDefaultsForWhatCannotBeRead)
{
    const struct {
        QByteArray bytes;
        std::optional<int> save, format, exit, shutdown;
    } cases[] = {
        {"", {}, {}, {}, {}},
        {" 1 \r\n", 1, {}, {}, {}},                                  // short
        {" 1 \r\n2\r\n 1 \r\n 0 \r\nextra\r\nlines\r\n", 1, 2, 1, 0}, // extra lines
        {"1\n2\n1\n1\n", 1, 2, 1, 1},                                 // LF only
        {"yes\r\n3\r\n7\r\n-1\r\n", 0, {}, {}, {}},                   // garbage and out of range
        {"99999\r\n99999\r\n 2 \r\n 1 \r\n", {}, {}, 2, 1},           // does not fit 16 bits
        {QByteArray("\x00\xff\xfe\x01", 4) + "\r\n\x80\x81\r\n", 0, {}, {}, {}},
        {QByteArray(100000, '1') + "\r\n1\r\n1\r\n1\r\n", {}, {}, {}, {}}, // one huge line
    };
    for (const auto& c : cases) {
        const SettingsRead read = readBytes(c.bytes);
        EXPECT_EQ(read.save, c.save) << c.bytes.left(40).toStdString();
        EXPECT_EQ(read.format, c.format) << c.bytes.left(40).toStdString();
        EXPECT_EQ(read.exit, c.exit) << c.bytes.left(40).toStdString();
        EXPECT_EQ(read.shutdown, c.shutdown) << c.bytes.left(40).toStdString();
    }
}

TEST(SettingsFile, missingFileReadsAsNothingAndIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    const SettingsRead read = readSettingsFile(path);
    EXPECT_FALSE(read.save || read.format || read.exit || read.shutdown);
    EXPECT_FALSE(QFile::exists(path));
}
