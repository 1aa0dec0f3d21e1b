#include "common/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<QString, qint64>>; // path, length

PlaylistTable tableOf(const Entries& entries)
{
    PlaylistTable table;
    for (const auto& [path, length] : entries)
        table.push_back({path, length, 2000});
    return table;
}

} // namespace

// The bytes of a typical list, and a failed write keeping the old file, are checked through the Save playlist button.
TEST(PlaylistWriter, writesBothFormatsLineForLineWithCrLfAndNoFormatNothing)
{
    const auto none = tableOf({});
    // Each title is the file name without its last extension.
    const auto titles =
        tableOf({{"/Music/My.Song.mp3", 1}, {"/my.folder/noext", 2}, {"song.mp3", 3}, {"/M/.mp3", 4}});
    // Names with a line break are left out: written, they would end their line early.
    const QStringList broken = {"/inj\rFile5=/other.wav", "/two\nlines.mp3", "/\r\n.mp3"};
    const auto withBreaks = tableOf({{broken[0], 1}, {"/a.wav", 2}, {broken[1], 3}, {broken[2], 4}, {"/b", 5}});
    const struct {
        const PlaylistTable& table;
        PlaylistFormat format;
        QByteArray expected; // empty: no file
        QStringList skipped = {};
    } cases[] = {
        {withBreaks, PlaylistFormat::M3u, "#EXTM3U\r\n#EXTINF:2,a\r\n/a.wav\r\n#EXTINF:5,b\r\n/b\r\n", broken},
        {withBreaks, PlaylistFormat::Pls, "[playlist]\r\nFile1=/a.wav\r\nTitle1=a\r\nLength1=2\r\nFile2=/b\r\nTitle2=b\r\n"
                         "Length2=5\r\nNumberOfEntries = 2\r\nVersion = 2\r\n", broken},
        {titles, PlaylistFormat::M3u, "#EXTM3U\r\n#EXTINF:1,My.Song\r\n/Music/My.Song.mp3\r\n#EXTINF:2,noext\r\n"
                     "/my.folder/noext\r\n#EXTINF:3,song\r\nsong.mp3\r\n#EXTINF:4,\r\n/M/.mp3\r\n"},
        {none, PlaylistFormat::M3u, "#EXTM3U\r\n"},
        {none, PlaylistFormat::Pls, "[playlist]\r\nNumberOfEntries = 0\r\nVersion = 2\r\n"},
        {titles, PlaylistFormat::None, ""},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::number(++n));
        EXPECT_EQ(writePlaylist(path, c.format, c.table), c.skipped) << n;
        EXPECT_EQ(QFileInfo::exists(path), !c.expected.isEmpty()) << n;
        EXPECT_EQ(bytesOf(path), c.expected) << n;
    }
}

TEST(PlaylistWriter, readingBackGivesTheWrittenPathsInOrder)
{
    // The first one's title line holds "File".
    const Entries entries = {{"/Music/My File.mp3", 200}, {"/Music/a=b/x.mp3", 1},
                             {"/Music/Björk – Jóga.mp3", 305}, {" leading blank.wav", 4}};
    const auto table = tableOf(entries);
    QTemporaryDir dir;
    QStringList expected; // a relative one comes back made full from the list's folder
    for (const auto& entry : entries)
        expected << QDir(dir.path()).absoluteFilePath(entry.first);
    for (const auto& [name, format] : {std::pair{"list.m3u", PlaylistFormat::M3u}, std::pair{"list.pls", PlaylistFormat::Pls}}) {
        writePlaylist(dir.filePath(name), format, table);
        QStringList paths;
        readPlaylist(dir.filePath(name), [&](const QString& entry) { paths << entry; });
        EXPECT_EQ(paths, expected) << name;
    }
}
