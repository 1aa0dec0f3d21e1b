#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include "recorder/loudness_meter.h"
#include "recorder/recorder_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QPushButton* buttonCalled(QWidget& window, const QString& text)
{
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

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

} // namespace

// Three tracks 10 LU apart, scanned, then recorded with every track brought to the
// reference loudness: the deck hears each at -18 LUFS, and the gaps stay exact.
TEST(LoudnessEndToEnd, inTrackModeTheRecordingHasEveryTrackAtTheReferenceLoudness)
{
    PulseNullSink sink;
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    GeneratedMedia media;
    SoundingRun run;
    for (const double lufs : {-30.0, -10.0, -20.0}) {
        // A sine on both channels is as loud in LUFS as its peak in dB below full scale.
        const QString name = QStringLiteral("at%1.wav").arg(-lufs);
        const QString path = media.make("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", name, "synth", "3", "sine",
                                                "997", "vol", QString::number(std::pow(10, lufs / 20))},
                                        name);
        ASSERT_FALSE(path.isEmpty());
        run.add(path, 3, 1000);
    }
    run.window.ui.recorder->click();
    RecorderWindow& recorder = run.window.recorderWindow();
    QPushButton* scan = buttonCalled(recorder, "&Scan list");
    ASSERT_TRUE(scan);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->isEnabled(); }, 10000));
    scan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
    auto* loudness = recorder.findChild<QComboBox*>("LoudnessMode");
    loudness->setCurrentIndex(1);
    Q_EMIT loudness->activated(1);

    const QString recording = media.path("deck.wav");
    ASSERT_TRUE(sink.startRecording(recording, 2));
    run.play(60000);
    ASSERT_FALSE(run.window.busyState().recording()) << "the run did not end";
    QThread::msleep(300); // the last samples reach the monitor
    sink.stopRecording();
    EXPECT_TRUE(run.dialogs.messages.empty()) << run.dialogs.messages.front().text.toStdString();

    const WavSamples wav = readWav(recording);
    const std::vector<SoundStretch> heard = soundStretches(recording, 0.02);
    ASSERT_EQ(heard.size(), 3u);
    for (size_t i = 0; i < heard.size(); ++i) {
        EXPECT_NEAR(heard[i].length(), 3, 0.0001) << "track " << i + 1;
        EXPECT_NEAR(loudnessOf(wav, heard[i]), -18, 0.5) << "track " << i + 1;
        if (i + 1 < heard.size()) {
            EXPECT_NEAR((heard[i + 1].start - heard[i].end) * 1000, 1000, 1) << "gap " << i + 1;
        }
    }
}
