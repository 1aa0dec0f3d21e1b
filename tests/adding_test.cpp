#include "support/main_window_fixture.h"

#include "common/flat_button.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace {

// Adding, loading and dropping on fakes: the files exist on disk with a byte or two
// (the adders skip missing and empty files) and the player knows their durations.
class AddingTest : public MainWindowTest {
protected:
    QTemporaryDir music;
    QString folder = QDir(music.path()).canonicalPath(); // as the current directory reads it

    void SetUp() override { load(); }

    QString makeFile(const QString& name, const QByteArray& content = "x")
    {
        const QString path = folder + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return path;
    }

    // A file the player opens with the given duration.
    QString makeMedia(const QString& name, double seconds)
    {
        const QString path = makeFile(name);
        player.durations[path] = seconds;
        return path;
    }

    QString makePlaylist(const QString& name, const QStringList& lines)
    {
        return makeFile(name, (lines.join("\r\n") + "\r\n").toUtf8());
    }

    void addFiles(const QStringList& chosen)
    {
        dialogs.fileAnswers.push_back(chosen);
        window->ui.addFiles->click();
    }

    void loadPlaylist(const QString& path)
    {
        dialogs.fileAnswers.push_back({path});
        window->ui.loadPlaylist->click();
    }

    void drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QWidget* viewport = window->ui.ListView1->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
        QCoreApplication::processEvents(); // the drop is handled once its event has returned
    }

    QString cell(int row, int column) const
    {
        const PlaylistModel& model = window->model();
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    }

    // The table and the rows hold exactly these paths, numbered from 1 without gaps.
    void expectPaths(const QStringList& paths)
    {
        ASSERT_EQ(window->table().count(), paths.size());
        ASSERT_EQ(window->model().rowCount(), paths.size());
        for (int i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(window->table()[i].path, paths[i]) << "slot " << i;
            EXPECT_EQ(cell(i, 0), QString::number(i + 1));
            EXPECT_EQ(cell(i, 1), paths[i]);
        }
    }

    // Every way out of a long operation leaves the window ready for the next.
    void expectIdle()
    {
        EXPECT_FALSE(window->busy);
        EXPECT_TRUE(window->ui.addFiles->isEnabled());
        EXPECT_TRUE(window->ui.loadPlaylist->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(QFile::exists(programDir.filePath("filelist.tmp")));
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const FakeDialogs::Message& message : dialogs.messages) {
            EXPECT_EQ(message.title, "Trelvik");
            EXPECT_EQ(message.icon, QMessageBox::Warning);
            texts << message.text;
        }
        return texts;
    }
};

TEST_F(AddingTest, oneChosenFileIsMeasuredAndShownWithTheDefaultGap)
{
    const QString song = makeMedia("song.mp3", 215.9);
    QDir::setCurrent(QDir::tempPath());

    addFiles({song});

    expectPaths({song});
    EXPECT_EQ(window->table()[0].length, "215");
    EXPECT_EQ(window->table()[0].gap, 2000);
    EXPECT_EQ(cell(0, 2), "03:35");
    EXPECT_EQ(cell(0, 3), "2");
    EXPECT_EQ(window->ui.Frame1->title(), "Playlist - 1 files");
    EXPECT_EQ(QDir::currentPath(), folder); // the next dialog opens there
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const Dialogs::FileRequest& request = dialogs.fileRequests[0];
    EXPECT_EQ(request.title, "Choose files to put on playlist");
    ASSERT_EQ(request.filters.size(), 32);
    EXPECT_EQ(request.filters[0], "MP3 File (*.mp3)");
    EXPECT_EQ(request.filters[4], "CD Track (*.cda)");
    EXPECT_EQ(request.filters[31], "QT File (*.qt)");
    EXPECT_TRUE(dialogs.messages.empty());
    expectIdle();
}

TEST_F(AddingTest, chosenFilesOfTheLastExtensionAreAddedInDialogOrder)
{
    fill({{"/earlier.mp3", "10", 2000}});
    const QString c = makeMedia("c.wav", 30);
    const QString a = makeMedia("a.wav", 40);
    const QString b = makeMedia("b.WAV", 50);
    const QString skipped = makeMedia("other.mp3", 60);
    const QString empty = makeFile("empty.wav", "");
    const QString tricky = makeMedia("my.mp3.old.mp3", 70);
    makeMedia("my.mp3", 80); // in the folder, but not chosen

    addFiles({c, skipped, a, empty, b});
    addFiles({tricky, skipped});

    expectPaths({"/earlier.mp3", c, a, b, tricky, skipped});
    EXPECT_EQ(window->ui.Label2->text(), "Total time: 04:30"); // 260 s of files and 5 gaps of 2 s
    EXPECT_EQ(window->ui.Frame1->title(), "Playlist - 6 files");
    EXPECT_TRUE(dialogs.messages.empty());
    expectIdle();
}

TEST_F(AddingTest, defaultGapTextIsReadAtEveryAdd)
{
    const struct {
        const char* text;
        double gap;
        const char* shown;
        const char* textAfter;
    } cases[] = {
        {"40", 2000, "2", "2"},
        {"1.5", 1500, "1.5", "1.5"},
        {"abc", 0, "0", "abc"},
        {" 2 s", 2000, "2", " 2 s"},
        {"32", 32000, "32", "32"},
    };
    const QString song = makeMedia("song.mp3", 10);
    for (const auto& c : cases) {
        window->ui.Text1->setText(c.text);
        addFiles({song});
        const int slot = window->table().lastIndex();
        EXPECT_EQ(window->table()[slot].gap, c.gap) << c.text;
        EXPECT_EQ(cell(slot, 3), c.shown) << c.text;
        EXPECT_EQ(window->ui.Text1->text(), c.textAfter) << c.text;
    }
}

TEST_F(AddingTest, cdTrackFilesAreMeasuredByTheCdDevice)
{
    cdDevice.replies["status cd length track 5"] = "04:35:12";
    cdDevice.replies["status cd length track 12"] = "00:07:00";
    const QString five = makeFile("Track05.cda");
    const QString twelve = makeFile("Track12.cda");
    const QString upper = makeFile("TRACK07.CDA");
    const QString noDisc = makeFile("Track06.cda");

    addFiles({five, upper, noDisc, twelve});

    expectPaths({five, twelve});
    EXPECT_EQ(window->table()[0].length, "275");
    EXPECT_EQ(cell(0, 2), "04:35");
    EXPECT_EQ(cell(1, 2), "00:07");
    EXPECT_TRUE(cdDevice.commands.contains("status cd length track 6"));
    EXPECT_FALSE(cdDevice.commands.contains("status cd length track 7"));
    EXPECT_TRUE(player.opened.isEmpty());
    expectIdle();
}

TEST_F(AddingTest, chosenPlaylistsAddTheirEntriesButNotThemselves)
{
    const QString a = makeMedia("a.mp3", 100);
    const QString b = makeMedia("b.mp3", 20);
    const QString pls = makePlaylist("list.pls", {"[playlist]", "File1=" + a, "Title1=A", "Length1=100",
                                                  "NumberOfEntries = 1", "Version = 2"});
    // A relative entry is found next to the playlist: the dialog made its folder current.
    const QString m3u = makePlaylist("list.m3u", {"#EXTM3U", "#EXTINF:20,B", "b.mp3", "#EXTINF:100,A", a});

    addFiles({pls});
    addFiles({m3u});

    expectPaths({a, "b.mp3", a});
    EXPECT_EQ(window->table()[1].length, "20");
    EXPECT_FALSE(player.opened.contains(pls));
    expectIdle();
}

TEST_F(AddingTest, aFailureStopsTheAddAndKeepsWhatWasAdded)
{
    const QString a = makeMedia("a.wav", 10);
    const QString bad = makeFile("bad.wav"); // the player cannot open it
    const QString c = makeMedia("c.wav", 10);

    addFiles({a, bad, c});

    expectPaths({a});
    EXPECT_EQ(messageTexts(), QStringList{"Cannot open " + bad});
    EXPECT_FALSE(player.opened.contains(c));
    EXPECT_EQ(window->ui.Frame1->title(), "Playlist - 1 files");
    expectIdle();

    addFiles({}); // cancelled: nothing happens, nothing is said
    expectPaths({a});
    EXPECT_EQ(dialogs.messages.size(), 1u);
    expectIdle();
}

TEST_F(AddingTest, fullTableRefusesEveryRoadAndChangesNothing)
{
    PlaylistTable& table = window->table();
    for (int i = 0; i < PlaylistTable::kCapacity; ++i)
        table[table.claimSlot()] = {"/full.mp3", "1", 0};
    window->udlista();
    const QString song = makeMedia("song.mp3", 10);
    const QString list = makePlaylist("list.m3u", {song});

    addFiles({song});
    loadPlaylist(list);
    drop({song});

    EXPECT_EQ(messageTexts(), QStringList({"Overflow", "Overflow", "Overflow"}));
    EXPECT_EQ(table.count(), PlaylistTable::kCapacity);
    EXPECT_EQ(window->model().rowCount(), PlaylistTable::kCapacity);
    EXPECT_EQ(table[PlaylistTable::kCapacity - 1].path, "/full.mp3");
    EXPECT_TRUE(player.opened.isEmpty());
    expectIdle();
}

TEST_F(AddingTest, loadingAppendsSkipsMissingFilesAndReportsUnplayableOnes)
{
    fill({{"/1.mp3", "1", 0}, {"/2.mp3", "1", 0}, {"/3.mp3", "1", 0}});
    const QString a = makeMedia("a.mp3", 45);
    const QString notes = makeFile("notes.txt"); // exists, but the player refuses it
    const QString missing = folder + "/gone/missing.mp3";
    const QString c = makeMedia("c.mp3", 50);
    const QString list = makePlaylist("list.m3u", {"#EXTM3U", a, missing, notes, c});

    loadPlaylist(list);

    expectPaths({"/1.mp3", "/2.mp3", "/3.mp3", a, c});
    EXPECT_EQ(cell(3, 2), "00:45");
    EXPECT_EQ(messageTexts(), QStringList{"Cannot open " + notes});
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(folder + "/gone"));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].title, "Load playlist");
    EXPECT_EQ(dialogs.fileRequests[0].filters, QStringList({"M3U playlist (*.m3u)", "PLS playlist (*.pls)"}));
    EXPECT_EQ(window->ui.Frame1->title(), "Playlist - 5 files");
    expectIdle();

    QFile::remove(list); // gone between the dialog and the reading
    loadPlaylist(list);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(window->table().count(), 5);
    expectIdle();
}

TEST_F(AddingTest, droppedMediaAndPlaylistsAreAddedAndOtherItemsPassedOver)
{
    const QString song = makeMedia("song.MP3", 61);
    const QString clip = makeMedia("clip.mpeg", 5);
    const QString notes = makeMedia("notes.txt", 5);
    const QString listed = makeMedia("listed.wav", 7);
    const QString list = makePlaylist("list.pls", {"[playlist]", "File1=" + listed});
    QDir(folder).mkdir("folder.mp3");

    drop({song, notes, folder + "/folder.mp3", clip, list});

    expectPaths({song, clip, listed});
    EXPECT_EQ(cell(0, 2), "01:01");
    EXPECT_FALSE(player.opened.contains(notes));
    EXPECT_EQ(window->ui.Frame1->title(), "Playlist - 3 files");
    EXPECT_TRUE(dialogs.messages.empty());
    expectIdle();
}

TEST_F(AddingTest, aDropOrLoadIsRefusedWhileAnotherOperationRuns)
{
    const QString song = makeMedia("song.mp3", 10);
    const QString list = makePlaylist("list.m3u", {song});

    window->recording = true; // a run sets both flags
    window->busy = true;
    drop({song});
    loadPlaylist(list);
    window->recording = false;
    drop({song});
    addFiles({song});
    EXPECT_EQ(window->table().count(), 0);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    window->busy = false;
    dialogs.fileAnswers.clear();

    // A drop that arrives while a load lets events run finds the load's frame up.
    const QString other = makeMedia("other.mp3", 10);
    const QString two = makePlaylist("two.m3u", {song, song});
    bool busyDuringLoad = false;
    bool hourglassDuringLoad = false;
    bool buttonsOffDuringLoad = false;
    QTimer::singleShot(0, window.get(), [&] {
        busyDuringLoad = window->busy;
        hourglassDuringLoad = QApplication::overrideCursor()
            && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        buttonsOffDuringLoad = !window->ui.addFiles->isEnabled();
        drop({other});
    });
    loadPlaylist(two);

    EXPECT_TRUE(busyDuringLoad);
    EXPECT_TRUE(hourglassDuringLoad);
    EXPECT_TRUE(buttonsOffDuringLoad);
    expectPaths({song, song});
    expectIdle();
}

TEST_F(AddingTest, listAcceptsDragsOfLocalFilesOnly)
{
    const auto accepted = [this](QMimeData& data) {
        QDragEnterEvent event(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QCoreApplication::sendEvent(window->ui.ListView1->viewport(), &event);
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    };
    QMimeData files;
    files.setUrls({QUrl("https://example.org/a.mp3"), QUrl::fromLocalFile("/music/a.mp3")});
    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.mp3")});
    QMimeData text;
    text.setText("/music/a.mp3");

    EXPECT_TRUE(accepted(files));
    EXPECT_FALSE(accepted(web));
    EXPECT_FALSE(accepted(text));
}

} // namespace
