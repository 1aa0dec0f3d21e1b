#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include "common/check_box.h"

#include <QDir>
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
// them silences of the entries' gaps (the last entry's gap is never waited);
// entries with no gap between them sound as one stretch of their summed length.
// The files differ in rate and channels, as a real playlist's do.
TEST(RecordingEndToEnd, recordingHearsEachTrackWithItsGapAfterIt)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";

    const std::vector<Track> tracks = {{1.0, 0, 440, 44100, 2}, {1.2, 50, 660, 48000, 1},
                                       {1.0, 250, 550, 22050, 2}, {1.4, 800, 440, 44100, 2},
                                       {1.2, 3000, 660, 44100, 1}};
    GeneratedMedia media;
    SoundingRun run;
    std::vector<Track> heard; // what the recorder hears: a gap of 0 joins two tracks
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Track& t = tracks[i];
        const QString path = SoundingRun::makeTone(media, QStringLiteral("track%1.wav").arg(i + 1), t.seconds,
                                                   t.frequency, t.rate, t.channels);
        ASSERT_FALSE(path.isEmpty()) << "sox could not make track " << i + 1;
        run.add(path, t.seconds, t.gapMs);
        if (i > 0 && tracks[i - 1].gapMs == 0) {
            heard.back().seconds += t.seconds;
            heard.back().gapMs = t.gapMs;
        } else {
            heard.push_back(t);
        }
    }

    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(sink.startRecording(recording));
    run.play(30000);
    ASSERT_FALSE(run.window.busyState().recording) << "the run did not end";
    QThread::msleep(300); // the last samples reach the monitor
    sink.stopRecording();
    EXPECT_TRUE(run.dialogs.messages.empty()) << run.dialogs.messages.front().text.toStdString();

    const std::vector<SoundStretch> sounds = soundStretches(recording, 0.02);
    ASSERT_EQ(sounds.size(), heard.size());
    for (size_t i = 0; i < heard.size(); ++i) {
        // Every sample is heard: the tenth of a millisecond allows for finding the edges.
        EXPECT_NEAR(sounds[i].length(), heard[i].seconds, 0.0001) << "stretch " << i + 1;
        if (i + 1 < heard.size()) {
            const double silence = sounds[i + 1].start - sounds[i].end;
            std::printf("gap after stretch %zu: wanted %.0f ms, heard %.2f ms\n", i + 1, heard[i].gapMs,
                        silence * 1000);
            // The deck needs the whole gap: the silence is exact to the sample, and the
            // millisecond allows for finding the edges of the sound. A machine too busy to
            // start the next file in time lengthens a gap; bench/gap_bench measures that.
            EXPECT_GE(silence * 1000, heard[i].gapMs - 1) << "stretch " << i + 1;
            EXPECT_LE(silence * 1000, heard[i].gapMs + 100) << "stretch " << i + 1;
        }
    }
}

// A file cut short is no track: losing the sound output mid-track stops the run
// with the output's own message, and no when-done action takes it for a success.
TEST(RecordingEndToEnd, soundOutputLostMidTrackStopsTheRunWithAMessage)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    GeneratedMedia media;
    SoundingRun run;
    const QString path = SoundingRun::makeTone(media, QStringLiteral("long.wav"), 4, 440);
    ASSERT_FALSE(path.isEmpty());
    run.add(path, 4, 0);
    run.add(path, 4, 0);
    run.window.ui.saveWhenDoneBox->setValue(1);
    QTimer::singleShot(1500, [&] { sink.stopServer(); });
    run.play(20000);
    EXPECT_FALSE(run.window.busyState().recording);
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_FALSE(run.dialogs.messages.front().text.isEmpty());
    EXPECT_EQ(run.dialogs.messages.front().icon, QMessageBox::Warning);
    EXPECT_TRUE(QDir(run.programDir.path()).entryList({QStringLiteral("Recording*")}).isEmpty());
}

} // namespace
