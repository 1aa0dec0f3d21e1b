#include "support/main_window_fixture.h"
#include "support/qt_printers.h"

namespace {

// Adding, loading and dropping on fakes: the files exist on disk with a byte or two
// (the adders skip missing and empty files) and the player knows their durations.
class AddingTest : public MainWindowTest {
protected:
    QTemporaryDir music;
    QString folder = QDir(music.path()).canonicalPath(); // as the current directory reads it

    void SetUp() override { load(); }
    // Every way out of a long operation leaves the window ready for the next, and
    // nothing was said that the test did not expect.
    void TearDown() override
    {
        EXPECT_TRUE(!window->busyState().busy() && window->ui.addFiles->isEnabled() && !QApplication::overrideCursor());
        EXPECT_FALSE(QFile::exists(programDir.filePath("filelist.tmp")));
        EXPECT_EQ(dialogs.takeWarnings(), QStringList());
    }

    QString makeFile(const QString& name, const QByteArray& content = "x")
    {
        writeBytes(folder + "/" + name, content);
        return folder + "/" + name;
    }
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

    // Sent even to a button that is off, to reach the refusal behind it.
    void choose(FlatButton* b, const QStringList& answer) { dialogs.fileAnswers.push_back(answer); Q_EMIT b->clicked(); }
    void addFiles(const QStringList& chosen) { choose(window->ui.addFiles, chosen); }
    void loadPlaylist(const QString& path) { choose(window->ui.loadPlaylist, {path}); }

    // Sends a drag event to the list; true when the list took it as a copy.
    template <class Event>
    bool offer(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        Event event(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QCoreApplication::sendEvent(window->ui.playlistView->viewport(), &event);
        QCoreApplication::processEvents(); // a drop is handled once its event has returned
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    }
    void drop(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        offer<QDragEnterEvent>(urls);
        offer<QDropEvent>(urls);
    }

    // The paths in list order; the list shows a row for each.
    QStringList paths() const
    {
        QStringList paths;
        for (const PlaylistEntry& entry : window->playlist().table())
            paths << entry.path;
        EXPECT_EQ(window->model().rowCount(), paths.size());
        return paths;
    }
};

TEST_F(AddingTest, chosenFilesOfTheLastExtensionAreMeasuredAndAddedInDialogOrder)
{
    fill({{"/earlier.mp3", 10, 2000}});
    const QString song = makeMedia("song.mp3", 215.9), c = makeMedia("c.wav", 30), a = makeMedia("a.wav", 40),
                  b = makeMedia("b.WAV", 50), skipped = makeMedia("x.mp3", 60), odd = makeMedia("my.mp3.old.mp3", 70);
    makeMedia("my.mp3", 80); // in the folder, but not chosen

    addFiles({song});
    addFiles({c, skipped, a, makeFile("empty.wav", ""), b});
    addFiles({odd, skipped});

    EXPECT_EQ(paths(), QStringList({"/earlier.mp3", song, c, a, b, odd, skipped}));
    EXPECT_EQ(window->ui.totalTimeLabel->text(), "Total time: 08:07"); // 475 s (lengths cut) and 6 gaps of 2 s
    EXPECT_TRUE(dialogs.fileRequests.at(0).selectedFilter.isEmpty()); // the first filter is shown first
}

// The last filter shows every type at once; chosen through it, a mixed folder is added
// whole in dialog order, each type measured as it always is.
TEST_F(AddingTest, everyTypeFilterListsEveryExtensionAndAddsAMixedSelection)
{
    addFiles({});
    const QStringList filters = dialogs.fileRequests.at(0).filters;
    const QString every = filters.last();
    EXPECT_TRUE(every.startsWith("All playable files (")) << every.toStdString();
    for (const QString& filter : filters.mid(0, filters.size() - 1)) {
        const QString pattern = filter.section('(', 1).chopped(1);
        EXPECT_TRUE(every.contains(pattern + " ") || every.endsWith(pattern + ")")) << pattern.toStdString();
    }

    discs.setTrack(folder, 2, FakeDiscs::sectors(0, 9));
    const QString flac = makeMedia("a.flac", 10), opus = makeMedia("b.Opus", 20), cd = makeFile("Track02.cda"),
                  wav = makeMedia("c.wav", 30), listed = makeMedia("d.ape", 40);
    const QString list = makePlaylist("e.m3u", {listed});
    dialogs.selectedFilters.push_back(every);
    addFiles({flac, opus, makeMedia("notes.txt", 5), cd, wav, list, makeMedia("f.mka", 50)});
    EXPECT_EQ(paths(), QStringList({flac, opus, cd, wav, listed, folder + "/f.mka"}));
    EXPECT_EQ(window->ui.totalTimeLabel->text(), "Total time: 02:49"); // 159 s and 5 gaps of 2 s
}

TEST_F(AddingTest, defaultGapTextIsReadAtEveryAdd)
{
    const struct { const char* text; double gap; const char* textAfter; } cases[] = {
        {"40", 2000, "2"}, {"32", 32000, "32"}, {"1.5", 1500, "1.5"}};
    const QString song = makeMedia("song.mp3", 10);
    for (const auto& c : cases) {
        window->ui.defaultGapEdit->setText(c.text);
        addFiles({song});
        EXPECT_EQ(window->playlist().table().back().gap, c.gap) << c.text;
        EXPECT_EQ(window->ui.defaultGapEdit->text(), c.textAfter) << c.text;
    }
}

// The disc has no track 6 (it skips the number) and no track 13; only the
// lower-case extension names a CD track. A data track has a length too.
TEST_F(AddingTest, cdTrackFilesAreMeasuredByTheirDiscsTable)
{
    discs.setTrack(folder, 5, FakeDiscs::sectors(4, 35, 12));
    discs.setTrack(folder, 7, FakeDiscs::sectors(1, 0));
    discs.setTrack(folder, 12, FakeDiscs::sectors(0, 7, 74), {}, false);
    const QString five = makeFile("Track05.cda"), twelve = makeFile("Track12.cda");
    addFiles({five, makeFile("TRACK07.CDA"), makeFile("Track06.cda"), twelve, makeFile("Track13.cda")});

    EXPECT_EQ(paths(), QStringList({five, twelve}));
    EXPECT_EQ(std::pair(window->playlist().at(0).length, window->playlist().at(1).length), std::pair(275LL, 7LL));
    EXPECT_TRUE(player.opened.isEmpty());

    discs.setDisc(folder, std::nullopt); // no disc in the drive
    addFiles({five});
    EXPECT_EQ(paths().size(), 2);

    // The dialog offers the disc in the drive as a folder of track files, made afresh as
    // it opens (what the folder holds is AudioCdFolder's); a track chosen there is that
    // track of the drive's disc.
    const QString audioCd = programDir.path() + "/Audio CD";
    discs.setTrack(audioCd, 3, FakeDiscs::sectors(4, 35, 12));
    const int looked = discs.looksAgain;
    addFiles({audioCd + "/Track03.cda"});
    EXPECT_EQ(dialogs.fileRequests.back().places, QList<QUrl>({QUrl::fromLocalFile(audioCd)}));
    EXPECT_EQ(paths().value(2), audioCd + "/Track03.cda");
    EXPECT_EQ(discs.looksAgain, looked + 1); // as the dialog opened
}

// A sheet stands for its disc on every road: one CD entry per audio track, each
// measured by the sheet. A broken sheet adds nothing and says why.
TEST_F(AddingTest, cueSheetsAddOneCdEntryPerAudioTrackOnEveryRoad)
{
    makeFile("disc.bin", QByteArray(2352 * 300, '\0'));
    const QString sheet = makeFile("album.cue", "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                                " TRACK 02 MODE1/2352\n  INDEX 01 00:01:00\n"
                                                " TRACK 03 AUDIO\n  INDEX 00 00:02:00\n  INDEX 01 00:02:10\n");
    const QString broken = makeFile("broken.cue", "FILE \"gone.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n");
    const QStringList tracks { sheet + "/Track01.cda", sheet + "/Track03.cda" };

    addFiles({sheet});
    drop({sheet});
    loadPlaylist(makePlaylist("list.m3u", {"#EXTM3U", "album.cue", "broken.cue"}));
    EXPECT_EQ(paths(), tracks + tracks + tracks);
    EXPECT_EQ(window->playlist().at(0).length, 1);
    EXPECT_EQ(window->playlist().at(1).length, 1); // 1 s and 65 sectors
    const QStringList told = dialogs.takeWarnings();
    EXPECT_TRUE(told.size() == 1 && told[0].contains("gone.bin")) << told.join('|').toStdString();

    addFiles({broken});
    drop({broken});
    EXPECT_EQ(paths().size(), 6);
    EXPECT_EQ(dialogs.takeWarnings().size(), 2);
}

// A playlist's CD entry that names no track is skipped with a word, as a media file
// the player refuses is, and the rest of the playlist loads. A sheet that is there
// but no file says what it is.
TEST_F(AddingTest, aBadCdEntryOrSheetInAPlaylistIsSkippedSayingWhy)
{
    const QString sheet = folder + "/good.cue";
    discs.setTrack(sheet, 1, FakeDiscs::sectors(0, 1));
    discs.setTrack(sheet, 2, FakeDiscs::sectors(0, 2));
    QDir(folder).mkdir("folder.cue");
    loadPlaylist(makePlaylist("list.m3u", {sheet + "/Track01.cda", sheet + "/01.cda", sheet + "/Track1e9.cda",
                                           "folder.cue", sheet + "/Track02.cda"}));
    EXPECT_EQ(paths(), QStringList({sheet + "/Track01.cda", sheet + "/Track02.cda"}));
    const QStringList told = dialogs.takeWarnings(); // the CD entries' words are pinned with their reading
    EXPECT_TRUE(told.size() == 3 && told[2] == "The CUE sheet folder.cue is a folder.") << told.join('|').toStdString();
}

// A relative entry is found next to the playlist and kept as a full path; a dropped
// playlist makes no folder current, and in a list made on Windows "\\" separates folders.
TEST_F(AddingTest, chosenOrDroppedPlaylistsAddTheirEntriesButNotThemselvesAndOtherDropsArePassedOver)
{
    const QString a = makeMedia("a.mp3", 100);
    makeMedia("b.mp3", 20);
    QDir(folder).mkpath("lists/sub");
    const QString song = makeMedia("lists/song.wav", 10), deeper = makeMedia("lists/sub/deeper.wav", 20);
    const QString pls = makePlaylist("list.pls", {"[playlist]", "File1=" + a});
    addFiles({pls});
    addFiles({makePlaylist("list.m3u", {"#EXTM3U", "#EXTINF:20,B", "b.mp3", "#EXTINF:100,A", a})});
    QDir::setCurrent(folder);
    drop({makePlaylist("lists/list.m3u", {"song.wav", "sub\\deeper.wav"})});
    EXPECT_EQ(paths(), QStringList({a, folder + "/b.mp3", a, song, deeper}));
    EXPECT_FALSE(player.opened.contains(pls));

    // Dropped local media and playlists are added, other items passed over.
    const QString loud = makeMedia("song.MP3", 61), clip = makeMedia("clip.mpeg", 5), listed = makeMedia("b.wav", 7),
                  flac = makeMedia("c.FLAC", 9), wv = makeMedia("d.wv", 3);
    QDir(folder).mkdir("folder.mp3");

    drop({loud, makeMedia("notes.txt", 5), folder + "/folder.mp3", clip, flac,
          makePlaylist("dropped.pls", {"[playlist]", "File1=" + listed}), wv});
    EXPECT_EQ(paths().mid(5), QStringList({loud, clip, flac, listed, wv}));
    const QUrl web("https://example.org/a.mp3");
    EXPECT_TRUE(offer<QDragEnterEvent>({web, QUrl::fromLocalFile(loud)}));
    EXPECT_FALSE(offer<QDragEnterEvent>({web}));
}

// A file the player refuses ends an add or a drop and keeps what came before it;
// a load only skips it, as it skips missing files.
TEST_F(AddingTest, aRefusedFileEndsAnAddOrDropButALoadGoesOn)
{
    fill({{"/earlier.mp3", 1, 0}});
    const QString a = makeMedia("a.wav", 45), bad = makeFile("bad.wav"), c = makeMedia("c.wav", 50);
    const QString list = makePlaylist("list.m3u", {"#EXTM3U", a, folder + "/gone/missing.wav", bad, c});

    addFiles({a, bad, c});
    drop({a, bad, c});
    loadPlaylist(list);
    addFiles({}); // cancelled: nothing happens, nothing is said
    EXPECT_EQ(dialogs.takeWarnings(), QStringList(3, "Cannot open " + bad));
    QFile::remove(list); // gone between the dialog and the reading
    loadPlaylist(list);

    EXPECT_EQ(dialogs.takeWarnings().size(), 1);
    EXPECT_EQ(paths(), QStringList({"/earlier.mp3", a, a, a, c}));
    EXPECT_EQ(player.opened.count(c), 1);

    // The list is named after the first playlist it was loaded from, until it is cleared.
    loadPlaylist(makePlaylist("other.m3u", {c}));
    EXPECT_EQ(std::pair(window->playlist().name(), window->playlist().folder()), std::pair(QString("list"), folder));
    window->playlist().clear();
    EXPECT_EQ(window->playlist().name() + window->playlist().folder(), "");
}

TEST_F(AddingTest, fullTableRefusesEveryRoadAndChangesNothing)
{
    {
        const Playlist::Batch batch(window->playlist());
        for (int i = 0; i < kMostPlaylistEntries; ++i)
            window->playlist().append({"/full.mp3", 1, 0});
    }
    const QString song = makeMedia("song.mp3", 10);

    addFiles({song});
    loadPlaylist(makePlaylist("list.m3u", {song}));
    drop({song});

    EXPECT_EQ(dialogs.takeWarnings(), QStringList(3, "Overflow"));
    EXPECT_EQ(window->playlist().count(), kMostPlaylistEntries);
    EXPECT_TRUE(player.opened.isEmpty());
}

TEST_F(AddingTest, aDropOrLoadIsRefusedWhileAnotherOperationRuns)
{
    const QString song = makeMedia("song.mp3", 10);
    const QString list = makePlaylist("list.m3u", {song});
    for (const BusyState::Activity activity : {BusyState::Activity::Adding, BusyState::Activity::Recording}) {
        const BusyState::Claim claim(window->busyState(), activity); // as during another add or a run
        loadPlaylist(list);
        addFiles({song});
        drop({song});
        EXPECT_TRUE(dialogs.fileRequests.empty());
        EXPECT_TRUE(window->playlist().isEmpty());
        dialogs.fileAnswers.clear();
    }

    // A drop that arrives while a load lets events run finds the load's frame up.
    const QString other = makeMedia("other.mp3", 10);
    bool frameUp = false;
    QTimer::singleShot(0, window.get(), [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        frameUp = window->busyState().busy() && cursor && cursor->shape() == Qt::WaitCursor && !window->ui.addFiles->isEnabled();
        drop({other});
    });
    loadPlaylist(makePlaylist("two.m3u", {song, song}));
    EXPECT_TRUE(frameUp);
    EXPECT_EQ(paths(), QStringList({song, song}));
}

} // namespace
