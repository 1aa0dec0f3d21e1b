#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include <gtest/gtest.h>

namespace {

struct Track {
    double seconds;
    double gapMs;
    int frequency;
    int rate;
    int channels;
};

// Plays a whole run through the real player into a null sink and finds in the
// recording one stretch of sound per entry, each of its length, and between
// them silences of the entries' gaps (the last entry's gap is never waited).
// The files differ in rate and channels, as a real playlist's do.
TEST(RecordingEndToEnd, recordingHearsEachTrackWithItsGapAfterIt)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";

    const std::vector<Track> tracks = {{1.5, 500, 440, 44100, 2}, {1.2, 800, 660, 48000, 1},
                                       {1.4, 3000, 550, 22050, 2}};
    GeneratedMedia media;
    SoundingRun run;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Track& t = tracks[i];
        const QString path = SoundingRun::makeTone(media, QStringLiteral("track%1.wav").arg(i + 1), t.seconds,
                                                   t.frequency, t.rate, t.channels);
        ASSERT_FALSE(path.isEmpty()) << "sox could not make track " << i + 1;
        run.add(path, t.seconds, t.gapMs);
    }

    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(sink.startRecording(recording));
    run.play(30000);
    ASSERT_FALSE(run.window.recording) << "the run did not end";
    QThread::msleep(300); // the last samples reach the monitor
    sink.stopRecording();
    EXPECT_TRUE(run.dialogs.messages.empty()) << run.dialogs.messages.front().text.toStdString();

    const std::vector<SoundStretch> sounds = soundStretches(recording);
    ASSERT_EQ(sounds.size(), tracks.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        // Every sample is heard: the tenth of a millisecond allows for finding the edges.
        EXPECT_NEAR(sounds[i].length(), tracks[i].seconds, 0.0001) << "track " << i + 1;
        if (i + 1 < tracks.size()) {
            const double silence = sounds[i + 1].start - sounds[i].end;
            std::printf("gap after track %zu: wanted %.0f ms, heard %.2f ms\n", i + 1, tracks[i].gapMs,
                        silence * 1000);
            // The deck needs the whole gap: the silence is exact to the sample, and the
            // millisecond allows for finding the edges of the sound. A machine too busy to
            // start the next file in time lengthens a gap; bench/gap_bench measures that.
            EXPECT_GE(silence * 1000, tracks[i].gapMs - 1) << "track " << i + 1;
            EXPECT_LE(silence * 1000, tracks[i].gapMs + 100) << "track " << i + 1;
        }
    }
}

} // namespace
