#include "support/file_size_limit.h"
#include "support/main_window_fixture.h"
#include "support/qt_printers.h"

#include "common/flat_button.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kM3uFilter = QStringLiteral("M3U playlist (*.m3u)");
const QString kPlsFilter = QStringLiteral("PLS Playlist (*.pls)");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SavePlaylistTest : public MainWindowTest {
protected:
    QTemporaryDir target;

    void SetUp() override
    {
        load();
        fill({{"/Music/My Song.mp3", "245", 2000}, {"/cdrom/Track01.cda", "187", 3000}});
    }

    // Clicks "&Save playlist" with the dialog answering name and filter.
    void save(const QString& name, const QString& filter)
    {
        dialogs.fileAnswers.push_back({target.filePath(name)});
        dialogs.selectedFilters.push_back(filter);
        QTest::mouseClick(window->ui.savePlaylist, Qt::LeftButton);
    }
};

const QByteArray kM3u = "#EXTM3U\r\n#EXTINF:245,My Song\r\n/Music/My Song.mp3\r\n"
                        "#EXTINF:187,Track01\r\n/cdrom/Track01.cda\r\n";
const QByteArray kPls = "[playlist]\r\nFile1=/Music/My Song.mp3\r\nTitle1=My Song\r\nLength1=245\r\n"
                        "File2=/cdrom/Track01.cda\r\nTitle2=Track01\r\nLength2=187\r\n"
                        "NumberOfEntries = 2\r\nVersion = 2\r\n";

} // namespace

TEST_F(SavePlaylistTest, typedExtensionDecidesTheFormatAndTheFilterOnlyOtherNames)
{
    const struct {
        QString name;
        QString filter;
        QByteArray content;
    } cases[] = {
        {"a.m3u", kM3uFilter, kM3u},
        {"b.pls", kPlsFilter, kPls},
        {"c.m3u", kPlsFilter, kM3u},
        {"D.PLS", kM3uFilter, kPls},
        {"e.Pls", kM3uFilter, kPls},
        {"mix", kPlsFilter, kPls},
        {"mix.txt", kM3uFilter, kM3u},
    };
    for (const auto& c : cases) {
        save(c.name, c.filter);
        EXPECT_EQ(contentOf(target.filePath(c.name)), c.content) << qPrintable(c.name);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SavePlaylistTest, dialogAsksWithItsTitleAndFiltersAndReopensOnTheLastFilter)
{
    save(QStringLiteral("one.pls"), kPlsFilter);
    dialogs.fileAnswers.push_back({target.filePath(QStringLiteral("two"))}); // filter left as shown
    QTest::mouseClick(window->ui.savePlaylist, Qt::LeftButton);

    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].title, QStringLiteral("Save playlist"));
    EXPECT_EQ(dialogs.fileRequests[0].filters, (QStringList{kM3uFilter, kPlsFilter}));
    EXPECT_EQ(dialogs.fileRequests[0].selectedFilter, kM3uFilter);
    EXPECT_EQ(dialogs.fileRequests[1].selectedFilter, kPlsFilter);
    EXPECT_EQ(contentOf(target.filePath(QStringLiteral("two"))), kPls);
}

TEST_F(SavePlaylistTest, cancelEndsSilently)
{
    dialogs.fileAnswers.push_back({});
    QTest::mouseClick(window->ui.savePlaylist, Qt::LeftButton);

    EXPECT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(QDir(target.path()).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SavePlaylistTest, failedSaveShowsWhyAndKeepsTheOldFile)
{
    const QString old = target.filePath(QStringLiteral("old.m3u"));
    save(QStringLiteral("old.m3u"), kM3uFilter);
    for (int i = 0; i < 200; ++i)
        fill({{QStringLiteral("/Music/another rather long name %1.mp3").arg(i), "100", 2000}});
    {
        const FileSizeLimit limit(1024);
        save(QStringLiteral("old.m3u"), kM3uFilter);
    }
    save(QStringLiteral("no such folder/new.pls"), kPlsFilter);

    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const FakeDialogs::Message& message : dialogs.messages) {
        EXPECT_FALSE(message.text.isEmpty());
        EXPECT_EQ(message.title, QStringLiteral("Trelvik"));
        EXPECT_EQ(message.icon, QMessageBox::Warning);
        EXPECT_FALSE(message.hourglass);
    }
    EXPECT_EQ(contentOf(old), kM3u);
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.m3u")});
    EXPECT_EQ(window->table().count(), 202);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
