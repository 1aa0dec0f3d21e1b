#include "common/failure.h"
#include "playlist_files/playlist_reader.h"
#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PlaylistReaderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& content) const
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QStringList read(const QString& name, const QByteArray& content) const
    {
        QStringList paths;
        readPlaylist(write(name, content), [&](const QString& path) { paths << path; });
        return paths;
    }
};

struct Case {
    const char* what;
    QByteArray content;
    QStringList paths;
};

} // namespace

TEST_F(PlaylistReaderTest, m3uTakesEveryLineThatIsNoCommentAndNotBlank)
{
    const Case cases[] = {
        {"extended", "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n#EXTINF:187,Track01\r\n/cdrom/Track01.cda\r\n",
         {"/Music/My Song.mp3", "/cdrom/Track01.cda"}},
        {"vlc options", "#EXTM3U\n#EXTINF:10,A\n#EXTVLCOPT:network-caching=1000\n/a.mp3\n#EXTVLCOPT:start-time=5\n/b.ogg\n",
         {"/a.mp3", "/b.ogg"}},
        {"comment and leading blank", "#/x.mp3\r\n /x.mp3\r\n", {" /x.mp3"}},
        {"blank lines", "\r\n/a.mp3\r\n\r\n   \r\n\t\r\n/b.mp3\r\n\r\n", {"/a.mp3", "/b.mp3"}},
        {"LF only", "#EXTM3U\n/a.mp3\n/b.mp3\n", {"/a.mp3", "/b.mp3"}},
        {"CR only", "#EXTM3U\r/a.mp3\r/b.mp3\r", {"/a.mp3", "/b.mp3"}},
        {"no end on the last line", "/a.mp3\r\n/b.mp3", {"/a.mp3", "/b.mp3"}},
        {"empty file", "", {}},
        {"byte-order mark before a comment", "\xEF\xBB\xBF#EXTM3U\r\n/a.mp3\r\n", {"/a.mp3"}},
        {"byte-order mark before a Windows-1252 path", "\xEF\xBB\xBF/Bj\xF6rk.mp3\r\n", {"/Björk.mp3"}},
        {"Windows-1252 next to UTF-8",
         "C:\\Music\\Bj\xF6rk \x96 J\xF3ga.mp3\r\n/Music/Bj\xC3\xB6rk.mp3\r\n",
         {"C:\\Music\\Björk – Jóga.mp3", "/Music/Björk.mp3"}},
        {"file addresses", "file:///home/u/My%20Song%C3%A9.mp3\nFILE:///x/%23hash.mp3\nhttp://radio.example/a.mp3\n",
         {"/home/u/My Songé.mp3", "/x/#hash.mp3", "http://radio.example/a.mp3"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(QStringLiteral("list.m3u"), c.content), c.paths) << c.what;
}

TEST_F(PlaylistReaderTest, plsTakesTheValuesOfFileKeys)
{
    const Case cases[] = {
        {"as written", "[playlist]\r\nFile1=/a.mp3\r\nTitle1=A\r\nLength1=100\r\nFile2=/b.mp3\r\nTitle2=B\r\n"
                       "Length2=5\r\nNumberOfEntries = 2\r\nVersion = 2\r\n",
         {"/a.mp3", "/b.mp3"}},
        {"count first, LF only", "[playlist]\nNumberOfEntries=2\nFile1=/a.mp3\nFile2=/b.mp3\nVersion=2\n",
         {"/a.mp3", "/b.mp3"}},
        {"no count, CR only", "[playlist]\rFile1=/a.mp3\rTitle1=A\r", {"/a.mp3"}},
        {"title holding File", "[playlist]\r\nFile1=/Music/My File.mp3\r\nTitle1=My File\r\n", {"/Music/My File.mp3"}},
        {"blanks around =", "File1 = C:\\x.mp3\r\n", {" C:\\x.mp3"}},
        {"indented key", "  \tFile1=/a.mp3\r\n", {"/a.mp3"}},
        {"lower-case key", "file1=/a.mp3\r\n", {}},
        {"= inside the path", "File1=C:\\a=b\\x.mp3\r\n", {"C:\\a=b\\x.mp3"}},
        {"File without =", "File1 /a.mp3\r\n", {}},
        {"File after =", "Comment=File1\r\n", {}},
        {"empty value", "File1=\r\nFile2=  \r\nFile3=/c.mp3\r\n", {"/c.mp3"}},
        {"file address", "File1=file:///x/a%3Db%20c.mp3\r\n", {"/x/a=b c.mp3"}},
        {"Windows-1252", "File1=C:\\Mus\xE9" "e\\caf\xE9.mp3\r\n", {"C:\\Musée\\café.mp3"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(QStringLiteral("list.pls"), c.content), c.paths) << c.what;
}

TEST_F(PlaylistReaderTest, extensionInAnyCaseChoosesTheRule)
{
    const QByteArray both = "#EXTM3U\r\n/m.mp3\r\nFile1=/p.mp3\r\n";
    const struct {
        QString name;
        QStringList paths;
    } cases[] = {
        {"LIST.M3U", {"/m.mp3", "File1=/p.mp3"}},
        {"list.Pls", {"/p.mp3"}},
        {"list.txt", {}},
        {"list.m3u8", {}},
        {"m3u", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.name, both), c.paths) << qPrintable(c.name);

    bool called = false;
    EXPECT_NO_THROW(readPlaylist(dir.filePath(QStringLiteral("absent.txt")), [&](const QString&) { called = true; }));
    EXPECT_FALSE(called);
}

TEST_F(PlaylistReaderTest, unreadableFileFails)
{
    try {
        readPlaylist(dir.filePath(QStringLiteral("absent.m3u")), [](const QString&) {});
        ADD_FAILURE() << "a missing playlist read as empty";
    } catch (const Failure& failure) {
        EXPECT_FALSE(failure.description().isEmpty());
    }
}

TEST_F(PlaylistReaderTest, failureOfTheCallerEndsTheReading)
{
    const QString path = write(QStringLiteral("list.m3u"), "/a.mp3\r\n/b.mp3\r\n/c.mp3\r\n");
    QStringList seen;
    const auto stopAtB = [&](const QString& entry) {
        seen << entry;
        if (entry == QLatin1String("/b.mp3"))
            throw Failure(QStringLiteral("Device unavailable"), 68);
    };
    EXPECT_THROW(readPlaylist(path, stopAtB), Failure);
    EXPECT_EQ(seen, (QStringList{"/a.mp3", "/b.mp3"}));
}
