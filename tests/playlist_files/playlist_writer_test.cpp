#include "common/failure.h"
#include "common/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The bytes of a typical list, a PLS list leaving out names with a line break, and a failed
// write keeping the old file, are checked through the Save playlist button.
TEST(PlaylistWriter, writesBothFormatsLineForLineWithCrLfAndNoFormatNothing)
{
    const PlaylistTable none;
    // Each title is the file name without its last extension.
    const PlaylistTable titles{{"/Music/My.Song.mp3", 1}, {"/my.folder/noext", 2}, {"song.mp3", 3}, {"/M/.mp3", 4}};
    // Names with a line break are left out: written, they would end their line early.
    const QStringList broken = {"/inj\rFile5=/other.wav", "/two\nlines.mp3", "/\r\n.mp3"};
    const PlaylistTable withBreaks{{broken[0], 1}, {"/a.wav", 2}, {broken[1], 3}, {broken[2], 4}, {"/b", 5}};
    const struct {
        const PlaylistTable& table;
        PlaylistFormat format;
        QByteArray expected; // empty: no file
        QStringList skipped = {};
    } cases[] = {
        {withBreaks, PlaylistFormat::M3u, "#EXTM3U\r\n#EXTINF:2,a\r\n/a.wav\r\n#EXTINF:5,b\r\n/b\r\n", broken},
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

TEST(PlaylistReader, takesThePathsByTheRuleOfTheExtensionFailsOnAnUnreadablePlaylistAndPassesOnTheCallersFailure)
{
    const QByteArray both = "#EXTM3U\r\n/m.mp3\r\nFile1=/p.mp3\r\n";
    QTemporaryDir dir;
    const struct { const char* name; QByteArray content; QStringList paths; } cases[] = {
        // M3U: every line that is no comment and not blank, untrimmed.
        {"a.m3u", "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n#EXTVLCOPT:x=1\r\n /b.mp3\r\n",
         {"/Music/My Song.mp3", dir.filePath(" /b.mp3")}},
        {"blanks.m3u", "\r\n/a.mp3\r\n\r\n   \r\n\t\r\n/b.mp3", {"/a.mp3", "/b.mp3"}},
        {"bom.m3u", "\xEF\xBB\xBF#EXTM3U\r\n/a.mp3\r\n", {"/a.mp3"}},
        {"lf.m3u", "file:///home/u/My%20Song%C3%A9.mp3\nFILE:///x/%23hash.mp3\nhttp://radio.example/a.mp3\n",
         {"/home/u/My Songé.mp3", "/x/#hash.mp3", "http://radio.example/a.mp3"}},
        // PLS: the text after the first "=" of lines whose key begins with "File".
        {"keys.pls", "File1 = C:\\x.mp3\r\n  \tFile2=/a=b.mp3\r\nfile3=/c.mp3\r\nFile4 /d.mp3\r\nComment=File5\r\n",
         {dir.filePath(" C:/x.mp3"), "/a=b.mp3"}},
        {"empty.pls", "File1=\r\nFile2=  \r\nFile3=/c.mp3\r\n", {"/c.mp3"}},
        {"url.pls", "File1=file:///x/a%3Db%20c.mp3\r\nFile2=C:\\Mus\xE9" "e\\caf\xE9.mp3\r\n",
         {"/x/a=b c.mp3", "C:\\Musée\\café.mp3"}},
        // A relative entry is taken from the playlist's folder, with "\" a separator as on
        // Windows; Windows paths with a drive or from a drive's root stay as they are.
        {"rel.m3u", "song.wav\r\nsub\\x.mp3\r\nD:\\Track03.cda\r\n\\Music\\y.mp3\r\n",
         {dir.filePath("song.wav"), dir.filePath("sub/x.mp3"), "D:\\Track03.cda", "\\Music\\y.mp3"}},
        // The extension counts in any case; other names read nothing.
        {"LIST.M3U", both, {"/m.mp3", dir.filePath("File1=/p.mp3")}}, {"list.Pls", both, {"/p.mp3"}},
        {"list.m3u8", both, {}}, {"m3u", both, {}},
    };
    for (const auto& c : cases) {
        writeBytes(dir.filePath(c.name), c.content);
        QStringList paths;
        readPlaylist(dir.filePath(c.name), [&](const QString& entry) { paths << entry; });
        EXPECT_EQ(paths, c.paths) << c.name;
    }
    // An unreadable playlist fails; the caller's failure is passed on.
    EXPECT_THROW(readPlaylist(dir.filePath("absent.m3u"), [](const QString&) {}), Failure);
    EXPECT_NO_THROW(readPlaylist(dir.filePath("absent.txt"), [](const QString&) {})); // not a playlist: not opened

    writeBytes(dir.filePath("list.m3u"), "/a.mp3\r\n/b.mp3\r\n/c.mp3\r\n");
    QStringList seen;
    const auto stopAtB = [&](const QString& entry) {
        seen << entry;
        if (entry == "/b.mp3")
            throw Failure("Device unavailable");
    };
    EXPECT_THROW(readPlaylist(dir.filePath("list.m3u"), stopAtB), Failure);
    EXPECT_EQ(seen, (QStringList{"/a.mp3", "/b.mp3"}));
}
