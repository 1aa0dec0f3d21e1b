#include "session/settings_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

#include "support/file_bytes.h"

namespace {

// Save, format, exit, shut down.
using Lines = std::tuple<std::optional<BoxState>, std::optional<PlaylistFormat>, std::optional<BoxState>,
                         std::optional<BoxState>>;

Lines linesOf(const SettingsRead& read)
{
    return {read.save, read.format, read.exit, read.shutdown};
}

constexpr BoxState kClear = BoxState::Clear, kTicked = BoxState::Ticked, kGreyed = BoxState::Greyed;

} // namespace

TEST(SettingsFile, writesTheChoicesInPrintFormAndReadsThemBackOrTheDefaultsForWhatCannotBeRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.dat");
    // Exit and shut down differ, so their lines cannot trade places unseen.
    writeSettingsFile(path, {kTicked, PlaylistFormat::Pls, kClear, kTicked});
    EXPECT_EQ(bytesOf(path), " 1 \r\n2\r\n 0 \r\n 1 \r\n");
    EXPECT_EQ(linesOf(readSettingsFile(path)), (Lines{kTicked, PlaylistFormat::Pls, kClear, kTicked}));
    writeSettingsFile(path, {kGreyed, PlaylistFormat::M3u, kGreyed, kClear});
    EXPECT_EQ(bytesOf(path), " 2 \r\n1\r\n 2 \r\n 0 \r\n");
    writeSettingsFile(path, {kClear, PlaylistFormat::None, kClear, kClear});
    EXPECT_EQ(bytesOf(path), " 0 \r\n 0 \r\n 0 \r\n"); // no format, no format line

    // Bad content leaves the defaults for what cannot be read.
    const struct {
        QByteArray bytes;
        Lines lines;
    } cases[] = {
        {" 1 \r\n", {kTicked, {}, {}, {}}},                                       // short
        {"yes\r\n3\r\n7\r\n-1\r\n", {kClear, {}, {}, {}}},                        // garbage and out of range
        {"99999\r\n99999\r\n 2 \r\n 1 \r\n", {std::nullopt, std::nullopt, kGreyed, kTicked}}, // does not fit 16 bits
        {QByteArray(100000, '1') + "\r\n1\r\n1\r\n1\r\n", {}}, // one huge line
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(linesOf(readSettingsFile(path)), c.lines) << c.bytes.left(40).toStdString();
    }
}
