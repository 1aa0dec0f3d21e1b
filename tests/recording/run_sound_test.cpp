#include "support/fake_discs.h"
#include "support/generated_media.h"
#include "support/heard_sound.h"
#include "support/pulse_null_sink.h"

#include "player/media_player.h"
#include "playlist/playlist.h"
#include "recording/recording_run.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

// Runs of tones through the real player into the test's null sink, recorded from its monitor.
class RunSound : public ::testing::Test {
protected:
    static constexpr double kGapMs = 300;
    PulseNullSink sink; // first: the player must find its server
    GeneratedMedia media;
    Playlist playlist;
    FakeDiscs discs;
    const std::unique_ptr<MediaPlayer> player = makeMediaPlayer();

    void SetUp() override { ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started"; }

    // A tone of the seconds for each frequency on the playlist, kGapMs apart.
    bool addTones(double seconds, std::initializer_list<int> frequencies)
    {
        for (const int frequency : frequencies) {
            const QString path = media.tone(QStringLiteral("tone%1.wav").arg(frequency), seconds, frequency);
            if (path.isEmpty())
                return false;
            playlist.append({path, qint64(seconds), kGapMs});
        }
        return true;
    }

    // Plays the run to its end while the monitor is recorded, and settleMs more for the
    // last samples to reach it; false when the recording did not start or the run did
    // not end. The run is expected to warn of nothing.
    bool recordToItsEnd(RecordingRun& run, const QString& recording, int settleMs = 300)
    {
        if (!sink.startRecording(recording))
            return false;
        QEventLoop loop;
        QStringList warnings;
        QObject::connect(&run, &RecordingRun::warning, &loop, [&](const QString& text) { warnings << text; });
        QObject::connect(&run, &RecordingRun::ended, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        run.start();
        loop.exec();
        QThread::msleep(settleMs);
        sink.stopRecording();
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
        return !run.isRunning();
    }
};

// Three tones, side B beginning at the third, Continue pressed a second into the hold:
// the recording has side A with its gap, then silence through the whole hold, then
// side B the lead-in after Continue, whole. The output holds over a second of silence
// ahead by then: a lead-in shorter than that, even none, must not wait for it to be
// played. A stop in the hold instead ends the run with side B, which the player holds,
// never heard.
TEST_F(RunSound, cassetteSideBFollowsContinueByTheLeadInWholeThoughTheOutputHoldsSilenceAhead)
{
    constexpr double kSeconds = 0.6;
    ASSERT_TRUE(addTones(kSeconds, {440, 550, 660})) << "sox could not make the tones";
    const struct { double leadIn; bool stopped; } cases[] = {{0.0, false}, {0.4, false}, {0.4, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "lead-in " << c.leadIn << (c.stopped ? ", stopped" : ""));
        RecordingRun run(playlist, *player, discs, media.path({}));
        run.setSideBreak(2);
        run.setLeadIn(c.leadIn);
        QElapsedTimer held;
        double heldSeconds = 0;
        QObject::connect(&run, &RecordingRun::holdStarted, [&] {
            held.start();
            QTimer::singleShot(1000, &run, [&] {
                heldSeconds = double(held.nsecsElapsed()) / 1e9;
                c.stopped ? run.stop() : run.continueRun();
            });
        });

        const QString recording = media.path(QStringLiteral("deck%1%2.wav").arg(c.leadIn).arg(c.stopped ? "-stopped" : ""));
        // After a stop, recorded long past where side B would have begun.
        ASSERT_TRUE(recordToItsEnd(run, recording, c.stopped ? 1500 : 300)) << "the run did not end";
        ASSERT_GT(heldSeconds, 0) << "the run never held";
        const std::vector<SoundStretch> sounds = expectHeard(recording, std::vector(c.stopped ? 2 : 3, kSeconds), {kGapMs});
        if (c.stopped || sounds.size() != 3)
            continue;
        // The hold is told a moment after side A's sound ends, so side B may come that
        // much later than the test's clock says; never sooner than the lead-in. A short
        // lead-in is taken back from the silence the output holds ahead, a tenth of a
        // second past what is heard; a busy machine answers Continue later still, but
        // far sooner than that silence would play out.
        const double late = sounds[2].start - sounds[1].end - heldSeconds - c.leadIn;
        EXPECT_GE(late, -0.001) << "held " << heldSeconds << " s";
        EXPECT_LE(late, 0.4) << "held " << heldSeconds << " s";
    }
}

// The window's thread hands the entries over, and a busy program can keep it from
// doing so for seconds. Here it stands still for longer than an entry and its gap
// last, just as the output takes the second entry: every gap is still heard exact.
TEST_F(RunSound, aWindowThreadBusyForLongerThanAnEntryLeavesEveryGapExact)
{
    constexpr double kSeconds = 1.2;
    ASSERT_TRUE(addTones(kSeconds, {440, 550, 660, 770})) << "sox could not make the tones";
    // Connected before the run is, so the thread stands still before the run hears of it.
    int taken = 0;
    QObject::connect(player.get(), &MediaPlayer::soundTaken, [&] {
        if (++taken == 2)
            QThread::msleep(2600);
    });
    RecordingRun run(playlist, *player, discs, media.path({}));
    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(recordToItsEnd(run, recording)) << "the run did not end";
    expectHeard(recording, std::vector(4, kSeconds), std::vector(3, kGapMs));
}

} // namespace
