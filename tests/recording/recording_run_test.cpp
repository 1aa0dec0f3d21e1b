#include "playlist/playlist.h"
#include "playlist_files/playlist_writer.h"
#include "recording/recording_run.h"
#include "support/fake_discs.h"
#include "support/fake_media_player.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// The run on its own: a playlist, a fake player and fake discs; what it does is
// read from what it asked of them and from what it announced.
class RecordingRunTest : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    FakeDiscs discs;
    FakeMediaPlayer player;
    Playlist playlist;
    RecordingRun run { playlist, player, discs, programDir.path() };
    QSignalSpy entries { &run, &RecordingRun::entryStarted };
    QSignalSpy progress { &run, &RecordingRun::progressChanged };
    QSignalSpy warnings { &run, &RecordingRun::warning };
    QSignalSpy ends { &run, &RecordingRun::ended };
    QSignalSpy quits { &run, &RecordingRun::quitRequested };

    QTimer* timer(const char* name) { return run.findChild<QTimer*>(QLatin1String(name)); }
    void tick(const char* name) { QMetaObject::invokeMethod(timer(name), "timeout"); }

    void addMedia(std::initializer_list<std::tuple<QString, double, double>> files) // name, seconds, gap
    {
        for (const auto& [name, seconds, gapMs] : files) {
            player.durations[name] = seconds;
            playlist.append({name, qint64(seconds), gapMs});
        }
    }
    // Starts the run and lets its first timer go off at once.
    void startRun()
    {
        run.start();
        tick("Timer1");
    }

    // The timers a run may have armed: at most one at any time.
    QString armed()
    {
        QStringList on;
        for (const QTimer* timer : run.findChildren<QTimer*>()) {
            if (timer->isActive() && !timer->objectName().isEmpty())
                on << timer->objectName();
        }
        EXPECT_LE(on.size(), 1) << on.join(u' ').toStdString();
        return on.join(u' ');
    }

    // The run has ended, and no timer of it is left to go off.
    bool over() { return !run.isRunning() && armed().isEmpty(); }
    bool holding() const { return run.state() == RecordingRun::State::Holding; }
    int lastEntry() const { return entries.isEmpty() ? 0 : entries.last().first().toInt(); }
    QString lastWarning() const { return warnings.isEmpty() ? QString() : warnings.last().first().toString(); }
    bool savedAny() const { return !QDir(programDir.path()).entryList({QStringLiteral("Recording*")}).isEmpty(); }
};

// Entries play in order, each shown once heard, with each gap but the last. The
// player takes an entry's sound seconds before it is heard. Two entries wait behind
// it, each handed over as the player takes one, so that the next is ready however
// short the entries and however late this thread comes round. An empty list never starts.
TEST_F(RecordingRunTest, mediaEntriesAreHandedOverTwoAheadAndEachShownWhenHeardWithEachGapButTheLast)
{
    run.start();
    EXPECT_TRUE(over());
    addMedia({{"a.mp3", 10, 2000}, {"b.mp3", 20, 500}, {"c.mp3", 30, 0}, {"d.mp3", 40, 3000}});

    run.start();
    EXPECT_DOUBLE_EQ(run.gapTotal(), 2.5);
    EXPECT_EQ(discs.looksAgain, 1); // a disc changed since the list was made is seen
    tick("Timer1");
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3"}));
    player.take();
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    player.take(); // before a.mp3 is heard
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(player.silences, QList<double>({0, 2000, 500, 0}));

    const double completed[] = {10, 30, 60, 100};
    for (int i = 0; i < 4; ++i) {
        // Until its sound is heard, the entry before is still the one shown.
        EXPECT_EQ(lastEntry(), i);
        EXPECT_EQ(armed(), QString());
        player.start();
        EXPECT_EQ(lastEntry(), i + 1);
        player.finish();
        EXPECT_DOUBLE_EQ(run.completedTime(), completed[i]);
    }
    EXPECT_TRUE(over()); // the last gap is never waited
    EXPECT_TRUE(ends.count() == 1 && quits.isEmpty() && warnings.isEmpty());
    const int stops = player.stops;
    run.stop(); // with no run: only resets the player and the display
    EXPECT_TRUE(player.stops == stops + 1 && ends.count() == 2);
}

// A break in a track's sound spoils it on the recording: a deck starts a new track
// there. Once the run is over, done or stopped, the user is told which tracks broke
// off where, each place once; a run that fails says only why it failed.
TEST_F(RecordingRunTest, breaksHeardInTracksAreToldOnceTheRunIsOver)
{
    addMedia({{"a.mp3", 100, 0}, {"b.mp3", 100, 0}});
    const QString told = QStringLiteral(
        "Track 1 broke off at 01:23.\nTrack 2 broke off at 00:07.\n\nThe computer was too busy to keep the sound going: "
        "the recording has a silence there, and the deck may have started a new track at it.");
    for (const bool stopped : {false, true}) {
        warnings.clear();
        startRun();
        player.start();
        player.breakAt(83.4);
        player.breakAt(83.9);
        player.finish();
        player.start();
        player.breakAt(7.2);
        EXPECT_TRUE(warnings.isEmpty()) << "told while the run records";
        stopped ? run.stop() : player.finish();
        player.playThrough(); // reports that come after the end change nothing
        player.breakOff(QStringLiteral("late"));
        EXPECT_TRUE(over());
        EXPECT_EQ(lastEntry(), 2);
        EXPECT_EQ(warnings, QList<QVariantList>({{told}})) << stopped;
    }
    // A failing run falls silent before it tells why, lest the sound go on where it
    // must not be heard while the message waits.
    warnings.clear();
    startRun();
    player.start();
    player.breakAt(12);
    const int stopsBefore = player.stops;
    QObject::connect(&run, &RecordingRun::warning, [&] {
        EXPECT_GT(player.stops, stopsBefore);
        EXPECT_FALSE(run.isRunning());
    });
    player.breakOff(QStringLiteral("Internal data stream error."));
    run.stop();
    EXPECT_EQ(warnings, QList<QVariantList>({{QStringLiteral("Internal data stream error.")}}));
}

// A cassette: once side A's last entry is heard to its end the run holds, with no
// gap, and the display stands still. Side B's first entry is handed over at once,
// held, and nothing more however often the player takes; Continue lets it go the
// lead-in after, and hands on what follows; the figures run over both sides.
TEST_F(RecordingRunTest, aCassetteRunHoldsAfterSideAUntilContinueThenPlaysSideBAfterTheLeadIn)
{
    addMedia({{"a.mp3", 10, 2000}, {"b.mp3", 20, 500}, {"c.mp3", 30, 1000}, {"d.mp3", 40, 0}});
    run.setSideBreak(2);
    run.setLeadIn(1.5);
    QSignalSpy holds(&run, &RecordingRun::holdStarted);
    QSignalSpy leadIns(&run, &RecordingRun::leadInLeft);
    startRun();
    player.playThrough();
    player.take(); // b.mp3 is taken: c.mp3 is side B's and waits
    player.start();
    player.finish();

    EXPECT_TRUE(holding());
    EXPECT_EQ(armed(), QString()); // no gap, and no watch: the display stands still
    player.take();
    QTest::qWait(50);
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(player.silences.at(2), MediaPlayer::kHeld);
    EXPECT_EQ(player.stops, 1); // the one at the start: the output sends silence on
    EXPECT_TRUE(progress.isEmpty() && ends.isEmpty());

    run.continueRun();
    run.continueRun(); // no longer holding: no second resume
    EXPECT_EQ(player.resumes, QList<double>({1500})); // and none while it held
    player.take();
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(player.silences.at(3), 1000);
    EXPECT_NEAR(leadIns.last().at(1).toDouble(), 1.5, 0.1); // counted from Continue (the entry: main_window_test)

    player.start();
    player.position = 10;
    tick("Timer4");
    const ProgressDisplay display = progress.last().at(0).value<ProgressDisplay>();
    EXPECT_NEAR(display.totalPercent, (10 + 30) / 103.5 * 100, 0.001);
    player.finish();
    player.playThrough();
    EXPECT_EQ(ends.count(), 1);

    // A side break that leaves side A or side B empty makes a run of one side, as without one.
    for (const int sideBreak : {0, 4}) {
        run.setSideBreak(sideBreak);
        startRun();
        for (int entry = 0; entry < 4; ++entry)
            player.playThrough();
        EXPECT_FALSE(run.isRunning()) << sideBreak;
    }
    EXPECT_EQ(holds.count(), 1);
}

// Stopping while the run holds, or during side B's lead-in, ends it at once with
// nothing more played and no "When done"; so does a player that fails meanwhile.
TEST_F(RecordingRunTest, aStopDuringTheHoldOrSideBsLeadInPlaysNothingMoreAndDoesNothingWhenDone)
{
    addMedia({{"a.mp3", 10, 2000}, {"b.mp3", 20, 500}});
    run.setSideBreak(1);
    run.setWhenDone({BoxState::Ticked, PlaylistFormat::M3u, BoxState::Ticked, BoxState::Clear});
    QSignalSpy holdEnds(&run, &RecordingRun::holdEnded);
    enum class Way { StopInHold, FailInHold, StopInLeadIn };
    for (const Way way : {Way::StopInHold, Way::FailInHold, Way::StopInLeadIn}) {
        player.played.clear();
        player.resumes.clear();
        holdEnds.clear();
        startRun();
        player.playThrough();
        ASSERT_TRUE(holding());
        const int stops = player.stops;
        if (way == Way::StopInLeadIn)
            run.continueRun();
        if (way == Way::FailInHold)
            player.breakOff(QStringLiteral("The sound output stopped."));
        else
            run.stop();
        EXPECT_EQ(player.stops, stops + 1) << int(way);
        EXPECT_EQ(holdEnds.count(), 1) << int(way);
        EXPECT_FALSE(run.isRunning() || holding()) << int(way);
        run.continueRun();
        player.playThrough(); // reports that arrive after the stop
        EXPECT_EQ(player.played.size(), 2) << int(way); // side B's, held, dropped by the stop
        EXPECT_EQ(player.resumes.size(), way == Way::StopInLeadIn ? 1 : 0) << int(way);
    }
    EXPECT_TRUE(ends.count() == 3 && quits.isEmpty() && !savedAny());
}

// CD tracks, of the drive's disc or of a sheet's, are heard through the player as
// files are, each waiting behind the one before; their lengths are their discs'.
TEST_F(RecordingRunTest, aMixedListPlaysCdTracksOfTheDriveAndOfSheetsBetweenFiles)
{
    addMedia({{"a.mp3", 10, 1000}});
    playlist.append({QStringLiteral("/media/cdrom/Track07.CDA"), 100, 1500});
    playlist.append({QStringLiteral("/rips/album.cue/Track03.cda"), 45, 0});
    addMedia({{"c.mp3", 30, 0}});
    discs.setTrack("/media/cdrom", 7, FakeDiscs::sectors(4, 23, 45));
    const SoundSource third { .kind = SoundSource::Kind::RawImage, .path = "/rips/album.bin", .firstFrame = 588,
                              .endFrame = 588 * 3450 };
    discs.setTrack("/rips/album.cue", 3, FakeDiscs::sectors(0, 45, 74), third);

    startRun();
    player.start();
    EXPECT_EQ(player.silences.at(1), 1000); // waits behind a.mp3, a second after it (the track: cd_entry_test)
    player.finish();
    // The silence shows the entry that ended still: the first test's.
    player.start();
    EXPECT_EQ(lastEntry(), 2);
    EXPECT_EQ(player.playedSources.at(2), third);
    EXPECT_EQ(player.silences.at(2), 1500);

    player.position = 261.7;
    tick("Timer3"); // counts down in whole seconds, as a drive tells them
    EXPECT_EQ(progress.last().at(0).value<ProgressDisplay>().trackCaption, QStringLiteral("Left of track (00:02) :"));
    player.finish();
    EXPECT_DOUBLE_EQ(run.completedTime(), 10 + 263);
    player.playThrough();
    player.start();
    player.position = 10.4;
    tick("Timer4"); // a media file's countdown is cut to whole seconds
    EXPECT_EQ(progress.last().at(0).value<ProgressDisplay>().trackCaption, "Left of track (00:19) :");
}

TEST_F(RecordingRunTest, entryThatCannotPlayStopsTheRunWithAWarningAndNoWhenDoneAction)
{
    addMedia({{"a.mp3", 10, 0}, {"b.mp3", 10, 700}});
    run.setWhenDone({BoxState::Ticked, PlaylistFormat::M3u, BoxState::Ticked, BoxState::Clear});
    // A CD track that cannot be played ends the run when its turn comes, after the gap
    // before it, and what plays before it is recorded whole: a data track or one its
    // disc does not have, shown as it fails; one whose drive does not answer when it is
    // looked at ahead of its turn (as one that names no track, which cd_entry_test pins).
    // A media file that fails goes the same way out: see breaksHeardInTracks...
    enum Trouble { DataTrack, NoDisc, NoAnswer };
    const struct { const char* path; Trouble disc; bool shown; QString told; } cases[] = {
        {"/cd/Track02.cda", DataTrack, true, "The CD drive did not start playing track 2."},
        {"/cd/Track02.cda", NoDisc, true, "/cd/Track02.cda cannot be played: the CD drive has no such track."},
        {"/cd/Track02.cda", NoAnswer, false, "The drive does not answer."}};
    discs.setTrack("/cd", 2, FakeDiscs::sectors(1, 40), {}, false); // a data track
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told.toStdString());
        if (c.disc == NoDisc)
            discs.setDisc("/cd", std::nullopt);
        discs.failure = c.disc == NoAnswer ? c.told : QString();
        playlist.append({QString::fromLatin1(c.path), 100, 0});
        const qsizetype told = warnings.count();
        startRun();
        player.playThrough();
        player.playThrough();
        EXPECT_EQ(player.played.mid(player.played.size() - 2), QStringList({"a.mp3", "b.mp3"}));
        EXPECT_EQ(timer("Timer1")->interval(), 700); // the gap before it is waited
        EXPECT_EQ(warnings.count(), told);
        tick("Timer1");
        EXPECT_EQ(lastEntry(), c.shown ? 3 : 2);
        EXPECT_EQ(lastWarning(), c.told);
        EXPECT_TRUE(over());
        playlist.remove(2);
    }
    EXPECT_TRUE(warnings.count() == 3 && quits.isEmpty() && !savedAny());
}

// "When done" saves the list, then asks to quit, with or without a power-off.
TEST_F(RecordingRunTest, whenDoneSavesThenAsksToQuitWithOrWithoutPowerOff_namingEntriesItCannotSave)
{
    // Clear is every other test's; with both ticked main_window_test powers off too.
    const struct { BoxState exit, shutdown; QList<bool> quits; } cases[] = {
                 {BoxState::Greyed, BoxState::Greyed, {}}, // only a ticked box counts
                 {BoxState::Ticked, BoxState::Clear, {false}},
                 {BoxState::Ticked, BoxState::Ticked, {true}}};
    addMedia({{"a.mp3", 10, 0}});
    const QDir dir(programDir.path());
    int number = 0;
    for (const auto& c : cases) {
        run.setWhenDone({BoxState::Ticked, PlaylistFormat::Pls, c.exit, c.shutdown});
        const QString saved = dir.filePath(QStringLiteral("Recording %1.pls").arg(++number));
        QList<bool> asked; // power off, for each quit asked
        const QMetaObject::Connection check = QObject::connect(&run, &RecordingRun::quitRequested, [&](bool powerOff) {
            EXPECT_TRUE(QFile::exists(saved)); // written before the program ends
            EXPECT_FALSE(run.isRunning());
            asked << powerOff;
        });
        startRun();
        player.playThrough();
        QObject::disconnect(check);
        EXPECT_EQ(asked, c.quits) << int(c.exit) << int(c.shutdown);
        EXPECT_TRUE(QFile::exists(saved)) << saved.toStdString();
    }
    EXPECT_TRUE(warnings.isEmpty());

    // An entry the list cannot hold is named once the run is done; the rest is saved.
    addMedia({{"b\nc.mp3", 10, 0}});
    run.setWhenDone({BoxState::Ticked, PlaylistFormat::M3u, BoxState::Clear, BoxState::Clear});
    startRun();
    player.playThrough();
    player.playThrough();
    EXPECT_EQ(lastWarning(), skippedEntriesMessage({QStringLiteral("b\nc.mp3")}));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Recording %1.m3u").arg(++number))));
}

} // namespace
