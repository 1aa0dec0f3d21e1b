#include "session/session.h"

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

#include <QTemporaryDir>
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

    std::unique_ptr<Session> start()
    {
        return std::make_unique<Session>(SessionServices{discs, player, sampleReader, soundOutputs, otherSounds,
                                                         cableProbe, inputListener, keepAwake, programDir.path(),
                                                         programDir.filePath("data"), QString()});
    }
};

QStringList trackPaths(const ListFindings& findings)
{
    QStringList paths;
    for (const ScanTrack& track : findings.tracks())
        paths << track.source.path;
    return paths;
}

} // namespace

// The scan reads the list as it stands after every change, a whole add at once, and a
// change of recorder re-judges it; no window needs to be open for either.
TEST_F(SessionTest, theFindingsFollowTheListWithoutAWindow)
{
    const std::unique_ptr<Session> session = start();
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
    playlist.remove(1);
    EXPECT_EQ(trackPaths(session->findings()), QStringList({"/m/b.mp3"}));
    playlist.clear();
    EXPECT_TRUE(session->findings().tracks().isEmpty());
}

// Every choice is kept as it is made, a failure to write loses none for this session,
// and the next start reads them back; closing lets the computer sleep again.
TEST_F(SessionTest, choicesAreKeptAsTheyAreMadeAndReadAtTheNextStart)
{
    const RecorderKind cassette = *recorderKindById("cassette-c90");
    const SideSettings sides {20, SideSplit::Balance};
    const TrackListChoice trackList {true, 12, true, false};
    OutputChoice output;
    output.outputName = "deck";
    output.leadInSeconds = 3;
    output.gain = {GainMode::Album, 2};
    const WhenDoneChoices whenDone {BoxState::Ticked, PlaylistFormat::Pls, BoxState::Clear, BoxState::Ticked};
    {
        const std::unique_ptr<Session> session = start();
        session->setRecorder(cassette);
        session->setSideSettings(sides);
        session->setTrackListChoice(trackList);
        session->setOutputChoice(output);
        session->setWhenDone(whenDone);
        keepAwake.hold();
        session->close();
        EXPECT_FALSE(keepAwake.held);
        EXPECT_EQ(player.output, "deck");
    }
    const std::unique_ptr<Session> again = start();
    EXPECT_EQ(again->recorder().id, cassette.id);
    EXPECT_EQ(again->sideSettings(), sides);
    EXPECT_EQ(again->trackListChoice(), trackList);
    EXPECT_EQ(again->outputChoice(), output);
    const SettingsRead& read = again->startingWhenDone();
    EXPECT_EQ(std::tuple(read.save, read.format, read.exit, read.shutdown),
              std::tuple(whenDone.save, whenDone.format, whenDone.exit, whenDone.shutdown));

    // A program folder that cannot be written to keeps the choice for this session.
    const std::unique_ptr<Session> unwritable = start();
    QFile::remove(programDir.filePath(kRecorderFileName));
    QDir().mkdir(programDir.filePath(kRecorderFileName));
    unwritable->setRecorder(*recorderKindById("cd-r-74"));
    EXPECT_EQ(unwritable->recorder().id, "cd-r-74");
}
