#include "app/settings_file.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

#include "support/file_bytes.h"

namespace {

// Save, format, exit, shut down.
using Lines = std::array<std::optional<int>, 4>;

Lines linesOf(const SettingsRead& read)
{
    return {read.save, read.format, read.exit, read.shutdown};
}

} // namespace

TEST(SettingsFile, writesTheChoicesInPrintFormAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    // Exit and shut down differ, so their lines cannot trade places unseen.
    writeSettingsFile(path, {1, 2, 0, 1});
    EXPECT_EQ(bytesOf(path), " 1 \r\n2\r\n 0 \r\n 1 \r\n");
    EXPECT_EQ(linesOf(readSettingsFile(path)), (Lines{1, 2, 0, 1}));
}

TEST(SettingsFile, badContentLeavesTheDefaultsForWhatCannotBeRead)
{
    const struct {
        QByteArray bytes;
        Lines lines;
    } cases[] = {
        {" 1 \r\n", {1, {}, {}, {}}},                                   // short
        {"yes\r\n3\r\n7\r\n-1\r\n", {0, {}, {}, {}}},                    // garbage and out of range
        {"99999\r\n99999\r\n 2 \r\n 1 \r\n", {std::nullopt, std::nullopt, 2, 1}}, // does not fit 16 bits
        {QByteArray(100000, '1') + "\r\n1\r\n1\r\n1\r\n", {}}, // one huge line
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(linesOf(readSettingsFile(path)), c.lines) << c.bytes.left(40).toStdString();
    }
}
