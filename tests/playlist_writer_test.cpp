#include "common/failure.h"
#include "playlist/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"
#include "support/file_size_limit.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Entry {
    QString path;
    QString length;
};

std::unique_ptr<PlaylistTable> tableOf(const std::vector<Entry>& entries)
{
    auto table = std::make_unique<PlaylistTable>();
    for (const Entry& entry : entries) {
        PlaylistEntry& slot = (*table)[table->claimSlot()];
        slot.path = entry.path;
        slot.length = entry.length;
        slot.gap = 2000;
    }
    return table;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList readBack(const QString& path)
{
    QStringList paths;
    readPlaylist(path, [&](const QString& entry) { paths << entry; });
    return paths;
}

class PlaylistWriterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString file(const QString& name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(PlaylistWriterTest, writesBothFormatsLineForLineWithCrLf)
{
    const auto two = tableOf({{"/Music/My Song.mp3", "245"}, {"/cdrom/Track01.cda", "187"}});
    const auto none = tableOf({});
    const struct {
        const PlaylistTable& table;
        int format;
        QByteArray expected;
    } cases[] = {
        {*two, 1,
         "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n#EXTINF:187,Track01\r\n/cdrom/Track01.cda\r\n"},
        {*two, 2,
         "[playlist]\r\nFile1=/Music/My Song.mp3\r\nTitle1=My Song\r\nLength1=245\r\n"
         "File2=/cdrom/Track01.cda\r\nTitle2=Track01\r\nLength2=187\r\n"
         "NumberOfEntries = 2\r\nVersion = 2\r\n"},
        {*none, 1, "#EXTM3U\r\n"},
        {*none, 2, "[playlist]\r\nNumberOfEntries = 0\r\nVersion = 2\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = file(QStringLiteral("out"));
        skrivplaylist(path, c.format, c.table);
        EXPECT_EQ(contentOf(path), c.expected) << c.format;
    }
}

TEST_F(PlaylistWriterTest, titleIsTheFileNameWithoutItsLastExtension)
{
    const struct {
        QString path;
        QString title;
    } cases[] = {
        {"/Music/My.Song.mp3", "My.Song"},
        {"/cdrom/Track01.cda", "Track01"},
        {"/Music/Readme", "Readme"},
        {"song.mp3", "song"},
        {"a.b.c.mp3", "a.b.c"},
        {"/Music/.mp3", ""},
        {"/Music/", ""},
        {"/my.folder/noext", "noext"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(playlistTitle(c.path), c.title) << qPrintable(c.path);
}

TEST_F(PlaylistWriterTest, otherFormatNumbersTouchNoFile)
{
    const auto table = tableOf({{"/a.mp3", "1"}});
    const QString fresh = file(QStringLiteral("fresh.m3u"));
    const QString old = file(QStringLiteral("old.m3u"));
    skrivplaylist(old, 1, *table);
    const QByteArray before = contentOf(old);
    for (int format : {0, 3, -1}) {
        skrivplaylist(fresh, format, *table);
        skrivplaylist(old, format, *table);
    }
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(contentOf(old), before);
}

TEST_F(PlaylistWriterTest, readingBackGivesTheWrittenPathsInOrder)
{
    std::vector<Entry> entries = {
        {"/Music/My File.mp3", "200"}, // its title line holds "File"
        {"/Music/a=b/x.mp3", "1"},
        {"/Music/Björk – Jóga.mp3", "305"},
        {"relative song.mp3", "3"},
        {" leading blank.wav", "4"},
        {"/cdrom/Track02.cda", "0"},
    };
    // Enough more that lines straddle the reader's chunks, CR and LF among them.
    for (int i = 0; i < 6000; ++i)
        entries.push_back({QStringLiteral("/Music/Some artist/%1 Track.flac").arg(i, 5, 10, QChar(u'0')), "9"});
    QStringList expected;
    for (const Entry& entry : entries)
        expected << entry.path;
    const auto table = tableOf(entries);
    for (const QString name : {"list.m3u", "list.pls"}) {
        const QString path = file(name);
        skrivplaylist(path, name.endsWith(QLatin1String("m3u")) ? 1 : 2, *table);
        EXPECT_EQ(readBack(path), expected) << qPrintable(name);
    }
}

TEST_F(PlaylistWriterTest, failedWriteKeepsTheOldFileAndLeavesNoTemporaries)
{
    const QString path = file(QStringLiteral("keep.pls"));
    skrivplaylist(path, 2, *tableOf({{"/old.mp3", "1"}}));
    const QByteArray before = contentOf(path);

    std::vector<Entry> many(500, Entry{QStringLiteral("/Music/a fairly long name for a song.mp3"), "100"});
    const auto big = tableOf(many);
    {
        const FileSizeLimit limit(4096);
        EXPECT_THROW(skrivplaylist(path, 2, *big), Failure);
    }
    EXPECT_EQ(contentOf(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.pls")});
}
