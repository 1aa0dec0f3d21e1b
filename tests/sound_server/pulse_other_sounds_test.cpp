#include "sound_server/muted_streams.h"
#include "sound_server/waiting_other_sounds.h"
#include "support/file_bytes.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/qt_printers.h"

#include <QTemporaryDir>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString kDeck = QStringLiteral("deck"), kDeck2 = QStringLiteral("deck2");

// A stream of this process, as the player's own output is.
struct OwnStream {
    OwnStream() { gst_element_set_state(pipeline, GST_STATE_PLAYING); }
    ~OwnStream() { gst_element_set_state(pipeline, GST_STATE_NULL); gst_object_unref(pipeline); }
    GstElement* pipeline = (gst_init(nullptr, nullptr),
                            gst_parse_launch("audiotestsrc wave=silence is-live=true ! pulsesink device=deck", nullptr));
};

struct OtherSoundsTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started"; }
    std::unique_ptr<WaitingOtherSounds> otherSounds() const { return makePulseOtherSounds(listPath); }

    PulseNullSink sink;
    QTemporaryDir dir;
    const QString listPath = dir.filePath(QStringLiteral("muted.txt"));
};

TEST_F(OtherSoundsTest, keepOff_mutesOtherProgramsOnThatOrTheDefaultOutputOnly_andRestoreUnmutesExactlyThose)
{
    sink.addSink(kDeck2, "Deck2");
    OwnStream own;
    OtherProgramSound playing(kDeck), mutedByUser(kDeck), elsewhere(kDeck2);
    ASSERT_TRUE(streamOf(getpid()) && playing.stream() && elsewhere.stream() && mutedByUser.muteAsTheUser());

    const auto sounds = otherSounds();
    EXPECT_EQ(sounds->keepOff(kDeck), QString());
    EXPECT_EQ(mutes({playing.processId(), getpid(), elsewhere.processId()}), "100");
    const std::vector<MutedStream> listed = readMutedStreams(listPath);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(std::pair(listed[0].index, listed[0].processId), std::pair(uint(playing.stream()->index), QString::number(playing.processId())));

    // Streams that come to the output while it is kept quiet.
    OtherProgramSound startedLater(kDeck);
    EXPECT_TRUE(becomesMuted(startedLater.processId()));
    pactl({ "move-sink-input", QString::number(elsewhere.stream()->index), "deck" });
    EXPECT_TRUE(becomesMuted(elsewhere.processId()));
    EXPECT_EQ(readMutedStreams(listPath).size(), 3u);

    sounds->restore();
    EXPECT_EQ(mutes({playing.processId(), startedLater.processId(), elsewhere.processId(), mutedByUser.processId()}), "0001");
    EXPECT_FALSE(QFile::exists(listPath));

    // Restored, nothing is muted any more, and a second restore changes nothing.
    OtherProgramSound afterwards(kDeck);
    ASSERT_TRUE(afterwards.stream());
    sounds->restore();
    EXPECT_EQ(mutes({afterwards.processId(), mutedByUser.processId()}), "01");

    // Without a name the default output is kept quiet; an unknown one is told of, and
    // mutes nothing. (Streams already there may follow the default to its new output.)
    pactl({ "set-default-sink", "deck2" });
    OtherProgramSound onDeck(kDeck), onDefault(kDeck2);
    ASSERT_TRUE(onDeck.stream() && onDefault.stream());
    EXPECT_EQ(sounds->keepOff(QString()), QString());
    EXPECT_EQ(mutes({onDefault.processId(), onDeck.processId()}), "10");
    sounds->restore();
    EXPECT_EQ(sounds->keepOff(QStringLiteral("deck9")),
              QStringLiteral("Other sounds cannot be kept off the recording: There is no output named deck9"));
    OtherProgramSound startedAfterRefusal(kDeck);
    ASSERT_TRUE(startedAfterRefusal.stream());
    sounds->restore();
    EXPECT_EQ(mutes({onDefault.processId(), startedAfterRefusal.processId()}), "00");
}

TEST_F(OtherSoundsTest, aListLeftBehindIsRestoredAtTheStart_butOnlyStreamsThatAreStillTheSame_andADamagedOneIgnored)
{
    OtherProgramSound playing(kDeck), mutedByUser(kDeck);
    ASSERT_TRUE(playing.stream() && mutedByUser.muteAsTheUser());

    // What a program that ended during a recording leaves: the stream muted, the list kept.
    const QString leftBehind = dir.filePath(QStringLiteral("left.txt"));
    {
        const auto sounds = otherSounds();
        ASSERT_EQ(sounds->keepOff(kDeck), QString());
        ASSERT_TRUE(QFile::copy(listPath, leftBehind));
    }
    ASSERT_TRUE(playing.muteAsTheUser());
    // The user's stream under its number but as another program: not the one muted.
    std::vector<MutedStream> listed = readMutedStreams(leftBehind);
    ASSERT_EQ(listed.size(), 1u);
    listed.push_back({ uint(mutedByUser.stream()->index), QStringLiteral("1"), QStringLiteral("pacat"), {} });
    writeMutedStreams(listPath, listed);

    {
        const auto sounds = otherSounds();
        EXPECT_EQ(mutes({playing.processId(), mutedByUser.processId()}), "01");
        EXPECT_FALSE(QFile::exists(listPath));
    }

    // A list that names the user's stream rightly, but whose rest is not a list, is ignored and removed.
    writeMutedStreams(listPath, {{uint(mutedByUser.stream()->index), QString::number(mutedByUser.processId()), "pacat", {}}});
    writeBytes(listPath, bytesOf(listPath) + QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const auto first = otherSounds();
    EXPECT_TRUE(isMuted(mutedByUser.processId()));
    EXPECT_FALSE(QFile::exists(listPath));

    // A second program started during a run finds the first one's list: no leftover, so
    // what the first keeps off stays off, and the list stays until the first lets it go.
    ASSERT_EQ(first->keepOff(kDeck), QString());
    ASSERT_TRUE(isMuted(playing.processId()));
    {
        const auto second = otherSounds();
        EXPECT_TRUE(isMuted(playing.processId()));
        EXPECT_EQ(second->keepOff(kDeck), QString());
        second->restore();
        EXPECT_TRUE(isMuted(playing.processId()));
        EXPECT_EQ(readMutedStreams(listPath).size(), 1u);
    }
    EXPECT_TRUE(isMuted(playing.processId()));
    first->restore();
    EXPECT_EQ(mutes({playing.processId(), mutedByUser.processId()}), "01");
    EXPECT_FALSE(QFile::exists(listPath));
}

// The server saves a program's or a role's mute, volume and output, and starts its
// next streams with them.
struct SavedSettingsTest : OtherSoundsTest {
    void SetUp() override { OtherSoundsTest::SetUp(); pactl({ "load-module", "module-stream-restore" }); }

    static QStringList named(const QString& name) { return { "--client-name=" + name }; }
};

TEST_F(SavedSettingsTest, restore_leavesEveryProgramToStartAsBefore_butAtTheVolumeChosenMeanwhile)
{
    sink.addSink(kDeck2, "Deck2");
    const QStringList music { "--property=media.role=music" };
    auto ended = std::make_unique<OtherProgramSound>(kDeck, named("ended"));
    OtherProgramSound radio(kDeck, named("radio")), player(kDeck, music), mutedByUser(kDeck, named("user"));
    ASSERT_TRUE(ended->stream() && radio.stream() && player.stream() && mutedByUser.muteAsTheUser());

    const auto sounds = otherSounds();
    ASSERT_EQ(sounds->keepOff(kDeck), QString());
    ASSERT_TRUE(isMuted(ended->processId()));
    pactl({ "set-sink-input-volume", QString::number(ended->stream()->index), "50%" });
    ended.reset();
    // Started muted by what muting the others saved, or by the user's own choice.
    OtherProgramSound radioAgain(kDeck, named("radio")), userAgain(kDeck, named("user"));
    EXPECT_TRUE(becomesMuted(radioAgain.processId()) && becomesMuted(userAgain.processId()));
    // Not on the output kept quiet: it plays on.
    OtherProgramSound musicElsewhere(kDeck2, music);
    ASSERT_TRUE(musicElsewhere.stream());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !isMuted(musicElsewhere.processId()); }, 5000));

    sounds->restore();
    EXPECT_EQ(mutes({radio.processId(), radioAgain.processId(), player.processId(), mutedByUser.processId(),
                     userAgain.processId()}), "00011");

    OtherProgramSound endedLater(kDeck, named("ended")), userLater(kDeck, named("user"));
    ASSERT_TRUE(endedLater.stream() && userLater.stream());
    EXPECT_EQ(endedLater.stream()->volume, QStringLiteral("50%"));
    EXPECT_TRUE(!endedLater.stream()->muted && userLater.stream()->muted);
}

// The list notes what the server saved; left behind, it puts the saved mute back at the start.
TEST_F(SavedSettingsTest, aListLeftBehindPutsTheSavedMuteBackAtTheStart)
{
    const QString name = QStringLiteral("ended\tprogram"), leftBehind = dir.filePath(QStringLiteral("left.txt"));
    {
        OtherProgramSound ended(kDeck, named(name));
        ASSERT_TRUE(ended.stream());
        {
            const auto sounds = otherSounds();
            ASSERT_EQ(sounds->keepOff(kDeck), QString());
            const std::vector<MutedStream> listed = readMutedStreams(listPath);
            ASSERT_EQ(listed.size(), 1u);
            EXPECT_EQ(std::pair(listed[0].savedAs, listed[0].savedMuted), std::pair("sink-input-by-application-name:" + name, false));
            ASSERT_TRUE(QFile::copy(listPath, leftBehind));
        }
        // Muted, and so saved, as a recording that ended without restoring leaves it.
        ASSERT_TRUE(ended.muteAsTheUser());
    }
    ASSERT_TRUE(QFile::rename(leftBehind, listPath));

    const auto sounds = otherSounds();
    OtherProgramSound endedLater(kDeck, named(name));
    ASSERT_TRUE(endedLater.stream());
    EXPECT_FALSE(endedLater.stream()->muted);
}

} // namespace
