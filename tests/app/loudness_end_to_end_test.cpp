#include "end_to_end.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"
#include "support/window_controls.h"

#include "scan/loudness_meter.h"
#include "recorder/recorder_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cmath>

namespace {

// The loudness of a stretch of a 16-bit stereo recording, its edges left out.
double loudnessOf(const WavSamples& wav, const SoundStretch& stretch)
{
    const qsizetype first = qsizetype((stretch.start + 0.2) * wav.rate);
    const qsizetype end = qsizetype((stretch.end - 0.2) * wav.rate);
    std::vector<float> samples;
    for (qsizetype i = 2 * first; i < 2 * end; ++i)
        samples.push_back(float(wav.samples[size_t(i)]) / 32768);
    LoudnessMeter meter;
    meter.add(samples.data(), end - first);
    return meter.integratedLufs();
}

// Sines at the loudnesses given, 3 s each with 1 s gaps, from one folder: scanned,
// then recorded in the loudness mode chosen. The loudness of each track heard, or
// nothing when the recording does not hold one stretch a track with exact gaps.
class LoudnessEndToEnd : public EndToEndTest {
protected:
    std::vector<double> recordedLoudness(const std::vector<double>& lufsOfTracks, int mode)
    {
        SoundingRun run;
        for (const double lufs : lufsOfTracks) {
            // A sine on both channels is as loud in LUFS as its peak in dB below full scale.
            const QString name = QStringLiteral("mode%1-at%2.wav").arg(mode).arg(-lufs);
            const QString path = media.tone(name, 3, 997, std::pow(10, lufs / 20), 44100, 2, 16);
            EXPECT_FALSE(path.isEmpty());
            run.add(path, 3, 1000);
        }
        run.window.ui.recorder->click();
        RecorderWindow& recorder = run.window.recorderWindow();
        QPushButton* scan = buttonCalled(recorder, "&Scan list");
        if (!scan || !QTest::qWaitFor([&] { return scan->isEnabled(); }, 10000))
            return {};
        scan->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
        choose(recorder.findChild<QComboBox*>("LoudnessMode"), mode);

        const QString recording = recorded(run, 2, 60000);
        EXPECT_FALSE(recording.isEmpty()) << "no recording, or the run did not end";
        const WavSamples wav = readWav(recording);
        const std::vector<SoundStretch> heard = soundStretches(recording, 0.02, 0.001);
        EXPECT_EQ(heard.size(), lufsOfTracks.size());
        if (heard.size() != lufsOfTracks.size())
            return {};
        std::vector<double> loudnesses;
        for (size_t i = 0; i < heard.size(); ++i) {
            EXPECT_NEAR(heard[i].length(), 3, 0.0001) << "track " << i + 1;
            loudnesses.push_back(loudnessOf(wav, heard[i]));
            if (i + 1 < heard.size()) {
                EXPECT_NEAR((heard[i + 1].start - heard[i].end) * 1000, 1000, 1) << "gap " << i + 1;
            }
        }
        return loudnesses;
    }
};

} // namespace

// Three tracks 10 LU apart, brought each to the reference loudness: the deck hears
// each at -18 LUFS. Two tracks of one album 10 LU apart keep their difference; the
// album as a whole is lifted towards the reference (its loudness is their power
// mean, -22.6 LUFS). The gaps stay exact in both.
TEST_F(LoudnessEndToEnd, trackModeBringsEveryTrackToTheReferenceAndAlbumModeKeepsTheirDifference)
{
    const std::vector<double> tracks = recordedLoudness({-30, -10, -20}, 1);
    ASSERT_EQ(tracks.size(), 3u);
    for (size_t i = 0; i < tracks.size(); ++i)
        EXPECT_NEAR(tracks[i], -18, 0.5) << "track " << i + 1;
    const std::vector<double> album = recordedLoudness({-30, -20}, 2);
    ASSERT_EQ(album.size(), 2u);
    EXPECT_NEAR(album[1] - album[0], 10, 0.2);
    EXPECT_NEAR(album[1], -20 + (-18 - -22.6), 0.5);
}
