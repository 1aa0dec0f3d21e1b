#include "session/session.h"

#include "listening/run_listening.h"
#include "medium/recorder_file.h"
#include "recording/recording_run.h"
#include "scan/list_findings.h"
#include "session/run_output.h"
#include "support/fake_cable_probe.h"
#include "support/fake_discs.h"
#include "support/fake_input_listener.h"
#include "support/fake_keep_awake.h"
#include "support/fake_media_player.h"
#include "support/fake_other_sounds.h"
#include "support/fake_sample_reader.h"
#include "support/fake_sound_outputs.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A session on fakes, with no window anywhere.
class SessionTest : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    FakeDiscs discs;
    FakeMediaPlayer player;
    FakeSampleReader sampleReader;
    FakeSoundOutputs soundOutputs;
    FakeOtherSounds otherSounds;
    FakeCableProbe cableProbe;
    FakeInputListener inputListener;
    FakeKeepAwake keepAwake;
    std::unique_ptr<Session> session; // the one started last

    void start()
    {
        session.reset();
        session = std::make_unique<Session>(SessionServices{discs, player, sampleReader, soundOutputs, otherSounds,
                                                            cableProbe, inputListener, keepAwake, programDir.path(),
                                                            programDir.filePath("data"), QString()});
    }
    // Puts files the player knows on the list.
    void fill(std::initializer_list<PlaylistEntry> entries)
    {
        for (const PlaylistEntry& entry : entries) {
            player.durations.insert(entry.path, double(entry.length));
            session->playlist().append(entry);
        }
    }
    // Starts the run and lets its first timer go off at once; with heard, the first entry is heard to start.
    void startRun(bool heard = false)
    {
        session->startRun();
        QMetaObject::invokeMethod(session->run().findChild<QTimer*>(QStringLiteral("Timer1")), "timeout");
        if (heard)
            player.start();
    }
    // A session whose run goes to the deck, with two entries on the list.
    const SoundOutput analog{"analog", "Built-in Audio", 44100}, deck{"deck", "Line out to the deck", 44100};
    Session& startOnTheDeck(bool keepOtherSoundsOff, double leadInSeconds = 0)
    {
        soundOutputs.list = {analog, deck};
        start();
        session->setOutputChoice({"deck", keepOtherSoundsOff, leadInSeconds, "Line out to the deck", {}, {}, {}});
        fill({{"a.mp3", 10, 2000}, {"b.mp3", 20, 0}});
        return *session;
    }
};

QStringList trackPaths(const ListFindings& findings)
{
    QStringList paths;
    for (const ScanTrack& track : findings.tracks())
        paths << track.source.path;
    return paths;
}

QStringList texts(const ListFindings& findings)
{
    QStringList texts;
    for (int index = 0; index < findings.tracks().size(); ++index) {
        for (const QString& text : findings.texts(index))
            texts << QString::number(index + 1) + u'|' + text;
    }
    return texts;
}

} // namespace

// The scan reads the list as it stands after every change, a whole add at once, with
// no window open. What it found stays while the recorder changes, which only judges it
// anew; the next start finds it in the data folder and reads nothing again.
TEST_F(SessionTest, theFindingsFollowTheListAndTheRecorderAndOutliveTheProgram)
{
    start();
    Playlist& playlist = session->playlist();
    {
        Playlist::Batch batch(playlist);
        playlist.append({"/m/a.mp3", 10, 2000});
        playlist.append({"/m/b.mp3", 20, 1000});
        EXPECT_TRUE(session->findings().tracks().isEmpty()); // not before the add is whole
    }
    EXPECT_EQ(trackPaths(session->findings()), QStringList({"/m/a.mp3", "/m/b.mp3"}));
    playlist.exchange(0, 1);
    playlist.setGap(0, 4000);
    EXPECT_EQ(trackPaths(session->findings()), QStringList({"/m/b.mp3", "/m/a.mp3"}));
    EXPECT_EQ(session->findings().tracks()[0].gapSeconds, 4);
    playlist.clear();
    EXPECT_TRUE(session->findings().tracks().isEmpty());

    const QString one = programDir.filePath("one.wav"), two = programDir.filePath("two.wav");
    for (const QString& path : {one, two})
        writeBytes(path, "RIFF");
    sampleReader.sounds[one] = {FakeSampleReader::levels({{2, 0.5f}, {2, 0.001f}, {2, 0.5f}})};
    sampleReader.sounds[two] = {FakeSampleReader::levels({{2, 0.891f}})}; // -1 dB
    const auto scanned = [&] {
        fill({{one, 6, 2000}, {two, 2, 2000}});
        session->findings().scan();
        return QTest::qWaitFor([&] { return !session->findings().isScanning(); }, 60000);
    };
    ASSERT_TRUE(scanned()); // what it finds under the MiniDisc's rule is ListFindings' to show
    // A CD recorder wants 3 s below -40 dB: no passage to split at, and the gap is too short.
    session->setRecorder(*recorderKindById("cd-r-74"));
    const QStringList forCd = {"1|gap 2.0 s is shorter than 3.0 s", "1|peak -6.0 dB at 0:00", "2|peak -1.0 dB at 0:00"};
    EXPECT_EQ(texts(session->findings()), forCd);
    start();
    ASSERT_TRUE(scanned());
    EXPECT_EQ(texts(session->findings()), forCd);
    EXPECT_EQ(sampleReader.reads, 2);
}

// A choice that cannot be written holds for this session, and the user is told so
// once, not at every change, until it can be written again; closing lets the computer
// sleep again. (That choices come back at the next start is main_window_test's.)
TEST_F(SessionTest, aChoiceThatCannotBeWrittenIsKeptAndToldOnceUntilItCanBeWrittenAgain)
{
    start();
    EXPECT_TRUE(QDir(programDir.path()).isEmpty()) << "reading writes nothing";
    QSignalSpy told(session.get(), &Session::settingsNotSaved);
    const QString file = programDir.filePath(kRecorderFileName);
    QDir().mkdir(file);
    session->setRecorder(*recorderKindById("cd-r-74"));
    session->setRecorder(*recorderKindById("cd-r-80"));
    EXPECT_EQ(session->recorder().id, "cd-r-80");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0][0].toString().endsWith(". The next start will not have these settings."));
    QDir().rmdir(file);
    session->setRecorder(*recorderKindById("cassette-c90"));
    QFile::remove(file);
    QDir().mkdir(file);
    session->setRecorder(*recorderKindById("cd-r-74"));
    EXPECT_EQ(told.size(), 2);
    keepAwake.hold();
    session->close();
    EXPECT_FALSE(keepAwake.held);
}

// A run plays to the chosen output or not at all, and never moves elsewhere by
// itself: an output gone in the middle fails the run (a failed run does no "When
// done": recording_run_test). The lead-in chosen comes before the first entry only;
// other sounds are left alone unless so chosen.
TEST_F(SessionTest, aRunPlaysToTheChosenOutputOrNotAtAll)
{
    Session& s = startOnTheDeck(false, 1.5);
    EXPECT_EQ(player.output, "deck");
    QSignalSpy warnings(&s.run(), &RecordingRun::warning);
    soundOutputs.become({analog});
    EXPECT_EQ(s.refusal(), "The sound output \"Line out to the deck\" is not connected. Connect it, or choose "
                           "another output in the Recorder window.");
    soundOutputs.become({deck});
    EXPECT_EQ(s.refusal(), std::nullopt);
    startRun();
    player.take();
    EXPECT_EQ(player.silences, QList<double>({1500, 2000}));
    EXPECT_TRUE(otherSounds.keptOff.isEmpty());
    player.start();
    soundOutputs.become({analog});
    EXPECT_FALSE(s.run().isRunning());
    EXPECT_EQ(warnings.value(0).value(0).toString(), "The sound output \"Line out to the deck\" went away during the recording.");
    s.setOutputChoice({}); // the system default is always there
    EXPECT_EQ(player.output, "");
    soundOutputs.become({});
    EXPECT_EQ(s.refusal(), std::nullopt);
}

// Other programs are kept off the output, and the computer awake, for exactly as
// long as the run sounds, and are let back on at every way out. A passage played
// from the scan keeps them off too, but not during a run, and stops when its output goes.
TEST_F(SessionTest, otherSoundsAreKeptOffWhileARunOrAPassageSoundsAndLetBackOnEveryWayOut)
{
    Session& s = startOnTheDeck(true);
    const auto keptOff = [&] { return otherSounds.off || keepAwake.held; };
    const std::pair<const char*, std::function<void()>> waysOut[] = {
        {"at the end", [&] { player.finish(); player.playThrough(); }}, {"on Stop", [&] { s.run().stop(); }},
        {"on a failure", [&] { player.breakOff("Internal data stream error."); }}};
    for (const auto& [way, goOut] : waysOut) {
        startRun(true);
        EXPECT_EQ(otherSounds.keptOff.last(), "deck");
        EXPECT_TRUE(otherSounds.off && keepAwake.held);
        goOut();
        EXPECT_FALSE(keptOff()) << way;
    }

    // The server cannot: the problem is told, and the run goes on.
    QSignalSpy problems(&s.output(), &RunOutput::keepOffProblem);
    otherSounds.problem = "Other sounds cannot be kept off the recording: refused";
    startRun(true);
    EXPECT_TRUE(s.run().isRunning());
    EXPECT_EQ(problems.value(0).value(0).toString(), otherSounds.problem);
    s.output().passageStarting();
    s.output().passageOver();
    EXPECT_TRUE(otherSounds.off) << "a passage during a run changes nothing";
    s.close();
    EXPECT_FALSE(keptOff()) << "on close";
    const int stops = player.stops;
    session.reset();
    EXPECT_GT(player.stops, stops) << "the player outlives the session, and plays no more";

    startOnTheDeck(true).output().passageStarting();
    EXPECT_TRUE(otherSounds.off && !keepAwake.held);
    session->output().passageOver();
    EXPECT_FALSE(otherSounds.off);
    session->output().passageStarting();
    const int before = player.stops;
    soundOutputs.become({analog});
    EXPECT_EQ(player.stops, before + 1);
    EXPECT_FALSE(otherSounds.off);
}

// A run with an input chosen is listened to from its start, and what came back is
// reported after its end; the received sound is kept when asked, in the program's
// folder for a list loaded from none. A lost input ends only the listening.
TEST_F(SessionTest, aRunIsListenedToOnTheChosenInputAndWhatCameBackIsReported)
{
    start();
    fill({{"/music/song.mp3", 2, 2000}});
    QSignalSpy reported(&session->listening(), &RunListening::reported), failed(&session->listening(), &RunListening::failed);
    startRun();
    EXPECT_EQ(inputListener.starts, 0); // none chosen
    session->run().stop();
    session->setOutputChoice({{}, false, 0, {}, {}, "line_in.monitor", "Line-in", true});
    startRun();
    EXPECT_EQ(inputListener.input, "line_in.monitor");
    inputListener.hear(std::vector<float>(44100 * 2 * 2, 0.25f));
    session->run().stop();
    inputListener.hear(std::vector<float>(4410 * 2)); // the cable's delay later, the last of it
    ASSERT_TRUE(reported.wait(5000));
    EXPECT_TRUE(inputListener.input.isEmpty());
    const QStringList wavs = QDir(programDir.path()).entryList({"Trelvik received *.wav"});
    ASSERT_EQ(wavs.size(), 1);
    const QString wav = programDir.filePath(wavs[0]);
    EXPECT_EQ(QFileInfo(wav).size(), 44 + (44100 * 2 + 4410) * 4);
    // The report's lines are received_sound_test's; the file's note comes last.
    EXPECT_EQ(reported[0][0].toStringList().size(), 2);
    EXPECT_TRUE(reported[0][0].toStringList().last().contains(wav));

    startRun();
    inputListener.lose("The input was unplugged.");
    QCoreApplication::processEvents();
    EXPECT_TRUE(failed.value(0).value(0).toString().startsWith("The input was unplugged. The received sound is in "));
    EXPECT_TRUE(session->run().isRunning()) << "the run goes on";
}
