#include "support/fake_discs.h"
#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"

#include "player/media_player.h"
#include "playlist/playlist.h"
#include "recording/recording_run.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

// Three tones through the real player into a null sink, side B beginning at the
// third, Continue pressed some 1.5 s into the hold: the recording has side A with
// its gap, then silence through the whole hold and the lead-in, then side B. The
// lead-in is longer than the silence the output holds ahead.
TEST(CassetteHoldSound, silenceRunsOnThroughTheHoldAndSideBFollowsTheLeadInAfterContinue)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    constexpr double kSeconds = 0.6;
    constexpr double kGapMs = 300;
    constexpr double kLeadIn = 2;
    GeneratedMedia media;
    Playlist playlist;
    for (const int frequency : {440, 550, 660}) {
        const QString name = QStringLiteral("tone%1.wav").arg(frequency);
        const QString path = media.make(QStringLiteral("sox"),
                                        {"-n", "-r", "44100", "-c", "2", name, "synth", QString::number(kSeconds),
                                         "sine", QString::number(frequency), "vol", "0.5"},
                                        name);
        ASSERT_FALSE(path.isEmpty()) << "sox could not make " << name.toStdString();
        playlist.append({path, qint64(kSeconds), kGapMs});
    }
    FakeDiscs discs;
    const std::unique_ptr<MediaPlayer> player = makeMediaPlayer();
    RecordingRun run(playlist, *player, discs, media.path({}));
    run.setSideBreak(2);
    run.setLeadIn(kLeadIn);
    QStringList warnings;
    QObject::connect(&run, &RecordingRun::warning, [&](const QString& text) { warnings << text; });
    QElapsedTimer held;
    double heldSeconds = 0;
    QObject::connect(&run, &RecordingRun::holdStarted, [&] {
        held.start();
        QTimer::singleShot(1500, &run, [&] {
            heldSeconds = double(held.elapsed()) / 1000;
            run.continueRun();
        });
    });

    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(sink.startRecording(recording));
    QEventLoop loop;
    QObject::connect(&run, &RecordingRun::ended, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    run.start();
    loop.exec();
    ASSERT_FALSE(run.isRunning()) << "the run did not end";
    QThread::msleep(300); // the last samples reach the monitor
    sink.stopRecording();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    ASSERT_GT(heldSeconds, 0) << "the run never held";

    const std::vector<SoundStretch> sounds = soundStretches(recording, 0.02);
    ASSERT_EQ(sounds.size(), 3u);
    for (const SoundStretch& sound : sounds)
        EXPECT_NEAR(sound.length(), kSeconds, 0.0001);
    const double gap = sounds[1].start - sounds[0].end;
    EXPECT_NEAR(gap * 1000, kGapMs, 1);
    // The hold counts from the end of side A's sound, a moment before it is told; the
    // millisecond allows for finding the edges.
    const double turnOver = sounds[2].start - sounds[1].end;
    std::printf("held %.3f s, side B %.3f s after side A\n", heldSeconds, turnOver);
    EXPECT_GE(turnOver, heldSeconds + kLeadIn - 0.001);
}
