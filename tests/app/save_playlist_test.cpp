#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/main_window_fixture.h"
#include "support/qt_printers.h"

namespace {

const QString kM3uFilter = QStringLiteral("M3U playlist (*.m3u)");
const QString kPlsFilter = QStringLiteral("PLS Playlist (*.pls)");
const QByteArray kM3u = "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n"
                        "#EXTINF:187,Track01\r\n/cdrom/Track01.cda\r\n";
const QByteArray kPls = "[playlist]\r\nFile1=/Music/My Song.mp3\r\nTitle1=My Song\r\nLength1=245\r\n"
                        "File2=/cdrom/Track01.cda\r\nTitle2=Track01\r\nLength2=187\r\n"
                        "NumberOfEntries = 2\r\nVersion = 2\r\n";

class SavePlaylistTest : public MainWindowTest {
protected:
    QTemporaryDir target;

    void SetUp() override
    {
        load();
        fill({{"/Music/My Song.mp3", 245, 2000}, {"/cdrom/Track01.cda", 187, 3000}});
    }

    // Clicks "&Save playlist"; the dialog answers the name (none is Cancel) and,
    // when one is given, the filter.
    void save(const QString& name, const QString& filter = {})
    {
        dialogs.fileAnswers.push_back(name.isEmpty() ? QStringList{} : QStringList{target.filePath(name)});
        if (!filter.isEmpty())
            dialogs.selectedFilters.push_back(filter);
        QTest::mouseClick(window->ui.savePlaylist, Qt::LeftButton);
    }
};

} // namespace

TEST_F(SavePlaylistTest, typedExtensionDecidesTheFormatAndTheDialogReopensOnTheLastFilter)
{
    const struct { QString name, filter; QByteArray content; } cases[] = { // no filter: left as the dialog shows it
        {"c.m3u", kPlsFilter, kM3u}, {"D.Pls", kM3uFilter, kPls}, {"mix.txt", kM3uFilter, kM3u},
        {"mix", kPlsFilter, kPls}, {"two", {}, kPls},
    };
    QString shown = kM3uFilter;
    for (const auto& c : cases) {
        save(c.name, c.filter);
        EXPECT_EQ(bytesOf(target.filePath(c.name)), c.content) << qPrintable(c.name);
        EXPECT_EQ(dialogs.fileRequests.back().selectedFilter, shown) << qPrintable(c.name);
        shown = c.filter.isEmpty() ? shown : c.filter;
    }
    save({}); // Cancel ends silently
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
    EXPECT_TRUE(dialogs.messages.empty() && !QApplication::overrideCursor());

    // Entries with a line break are left out and named in a warning.
    fill({{"/Music/inj\rFile5=/other.wav", 1, 2000}, {"/Music/two\nlines.mp3", 2, 2000}});
    save("list.pls", kPlsFilter);

    EXPECT_EQ(bytesOf(target.filePath("list.pls")), kPls);
    EXPECT_EQ(dialogs.takeWarnings(), QStringList("These entries were not written to the playlist, because their names "
                                                  "hold a line break:\n/Music/inj\rFile5=/other.wav\n/Music/two\nlines.mp3"));
}

TEST_F(SavePlaylistTest, failedSaveShowsWhyAndKeepsTheOldFileByteForByte)
{
    save("old.m3u", kM3uFilter);
    for (int i = 0; i < 200; ++i)
        fill({{QStringLiteral("/Music/another rather long name %1.mp3").arg(i), 100, 2000}});
    {
        const FileSizeLimit limit(1024);
        save("old.m3u", kM3uFilter);
    }
    save("no such folder/new.pls", kPlsFilter);

    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(dialogs.messages[0].hourglass || dialogs.messages[1].hourglass || QApplication::overrideCursor());
    EXPECT_EQ(dialogs.takeWarnings().filter(QRegularExpression(".")).size(), 2);
    EXPECT_EQ(bytesOf(target.filePath("old.m3u")), kM3u);
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.m3u"});
}
