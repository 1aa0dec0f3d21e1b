#include "support/fake_discs.h"
#include "support/heard_sound.h"
#include "support/pulse_null_sink.h"
#include "support/recorded_run.h"

#include "player/media_player.h"
#include "recording/recording_run.h"

// The window's thread hands the entries over, and a busy program can keep it from
// doing so for seconds. Here it stands still for longer than an entry and its gap
// last, just as the output takes the second entry: every gap is still heard exact.
TEST(HandOverSound, aWindowThreadBusyForLongerThanAnEntryLeavesEveryGapExact)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    constexpr double kSeconds = 1.2;
    constexpr double kGapMs = 300;
    GeneratedMedia media;
    Playlist playlist;
    ASSERT_TRUE(appendTones(media, playlist, kSeconds, kGapMs, {440, 550, 660, 770})) << "sox could not make the tones";
    FakeDiscs discs;
    const std::unique_ptr<MediaPlayer> player = makeMediaPlayer();
    // Connected before the run is, so the thread stands still before the run hears of it.
    int taken = 0;
    QObject::connect(player.get(), &MediaPlayer::soundTaken, [&] {
        if (++taken == 2)
            QThread::msleep(2600);
    });
    RecordingRun run(playlist, *player, discs, media.path({}));
    QStringList warnings;
    QObject::connect(&run, &RecordingRun::warning, [&](const QString& text) { warnings << text; });

    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(recordRunToItsEnd(sink, run, recording)) << "the run did not end";
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    expectHeard(recording, std::vector(4, kSeconds), std::vector(3, kGapMs));
}
