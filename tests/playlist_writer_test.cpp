#include "playlist/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<QString, QString>>; // path, length

std::unique_ptr<PlaylistTable> tableOf(const Entries& entries)
{
    auto table = std::make_unique<PlaylistTable>();
    for (const auto& [path, length] : entries)
        (*table)[table->claimSlot()] = {path, length, 2000};
    return table;
}

} // namespace

// A failed write keeping the old file is checked through the Save playlist button.
TEST(PlaylistWriter, writesBothFormatsLineForLineWithCrLfAndOtherFormatNumbersNothing)
{
    const auto two = tableOf({{"/Music/My Song.mp3", "245"}, {"/cdrom/Track01.cda", "187"}});
    const auto none = tableOf({});
    // Each title is the file name without its last extension.
    const auto titles =
        tableOf({{"/Music/My.Song.mp3", "1"}, {"/my.folder/noext", "2"}, {"song.mp3", "3"}, {"/M/.mp3", "4"}});
    const struct {
        const PlaylistTable& table;
        int format;
        QByteArray expected; // empty: no file
    } cases[] = {
        {*two, 1, "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n"
                  "#EXTINF:187,Track01\r\n/cdrom/Track01.cda\r\n"},
        {*two, 2, "[playlist]\r\nFile1=/Music/My Song.mp3\r\nTitle1=My Song\r\nLength1=245\r\n"
                  "File2=/cdrom/Track01.cda\r\nTitle2=Track01\r\nLength2=187\r\n"
                  "NumberOfEntries = 2\r\nVersion = 2\r\n"},
        {*titles, 1, "#EXTM3U\r\n#EXTINF:1,My.Song\r\n/Music/My.Song.mp3\r\n#EXTINF:2,noext\r\n"
                     "/my.folder/noext\r\n#EXTINF:3,song\r\nsong.mp3\r\n#EXTINF:4,\r\n/M/.mp3\r\n"},
        {*none, 1, "#EXTM3U\r\n"},
        {*none, 2, "[playlist]\r\nNumberOfEntries = 0\r\nVersion = 2\r\n"},
        {*two, 0, ""},
        {*two, 3, ""},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::number(++n));
        skrivplaylist(path, c.format, c.table);
        EXPECT_EQ(QFileInfo::exists(path), !c.expected.isEmpty()) << n;
        EXPECT_EQ(bytesOf(path), c.expected) << n;
    }
}

TEST(PlaylistWriter, readingBackGivesTheWrittenPathsInOrder)
{
    Entries entries = {{"/Music/My File.mp3", "200"}, // its title line holds "File"
                       {"/Music/a=b/x.mp3", "1"},
                       {"/Music/Björk – Jóga.mp3", "305"},
                       {" leading blank.wav", "4"}};
    // Enough more that lines straddle the reader's chunks, CR and LF among them.
    for (int i = 0; i < 6000; ++i)
        entries.push_back({QStringLiteral("/Music/Some artist/%1 Track.flac").arg(i, 5, 10, QChar(u'0')), "9"});
    QStringList expected;
    for (const auto& entry : entries)
        expected << entry.first;
    const auto table = tableOf(entries);
    QTemporaryDir dir;
    for (const auto& [name, format] : {std::pair{"list.m3u", 1}, std::pair{"list.pls", 2}}) {
        skrivplaylist(dir.filePath(name), format, *table);
        QStringList paths;
        readPlaylist(dir.filePath(name), [&](const QString& entry) { paths << entry; });
        EXPECT_EQ(paths, expected) << name;
    }
}
