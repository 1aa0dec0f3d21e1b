#include "end_to_end.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"
#include "support/window_controls.h"

#include "recorder/recorder_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

using ListenBackEndToEnd = EndToEndTest;

// The deck's output reaches the input over a "cable", a loopback into a second sink
// that lifts the level by 3 dB. The loopback is muted for a moment during the second
// track, and a hum comes into the second gap: the report names the drop-out, the gap
// the recorder will not split at and the third track, which clips.
TEST_F(ListenBackEndToEnd, theReportNamesTheDropOutTheGapAboveTheThresholdAndTheClippedTrack)
{
    ASSERT_TRUE(sink.addSink("line_in", "Line-in"));
    ASSERT_FALSE(pactl({"load-module", "module-loopback", "source=deck.monitor", "sink=line_in", "latency_msec=60"})
                     .isEmpty()) << "no loopback";
    const QString loopback = pactl({"list", "short", "sink-inputs"}).section(u'\t', 0, 0);
    ASSERT_FALSE(loopback.isEmpty());
    pactl({"set-sink-input-volume", loopback, "1.4125375"}); // +3 dB
    SoundingRun run;
    const double volumes[] = {0.25, 0.25, 0.9};
    for (int i = 0; i < 3; ++i) {
        const QString path = media.tone(QStringLiteral("track%1.wav").arg(i + 1), 2, 1000, volumes[i]);
        ASSERT_FALSE(path.isEmpty());
        run.add(path, 2, 2500);
    }
    RecorderWindow& recorder = run.window.recorderWindow();
    auto* listen = recorder.findChild<QComboBox*>("ListenBackChoice");
    ASSERT_TRUE(QTest::qWaitFor([&] { return listen->findData("line_in.monitor") >= 0; }, 5000));
    choose(listen, listen->findData("line_in.monitor"));

    // Once track 2 is heard: a drop-out 1 s into it, then a hum through the gap after it.
    QProcess hum;
    dieWithParent(hum);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (run.window.ui.nowPlayingLabel->text() != "Playing track #2...")
            return;
        watch.stop();
        QTimer::singleShot(1000, [&] { pactl({"set-sink-input-mute", loopback, "1"}); });
        QTimer::singleShot(1100, [&] { pactl({"set-sink-input-mute", loopback, "0"}); });
        QTimer::singleShot(2200, [&] {
            hum.start(QStringLiteral("gst-launch-1.0"), {"-q", "audiotestsrc", "freq=50", "volume=0.006", "!",
                                                         "pulsesink", "device=line_in"});
        });
        QTimer::singleShot(4200, [&] { hum.kill(); });
    });
    watch.start(5);
    const QString onDeck = recorded(run);
    ASSERT_FALSE(onDeck.isEmpty()) << "the run did not end";
    hum.waitForFinished(2000);

    auto* report = recorder.findChild<QPlainTextEdit*>("ListenReport");
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->toPlainText().startsWith("What"); }, 5000));
    const QStringList lines = report->toPlainText().split(u'\n');
    // Each line, as a pattern: what it starts with, what it holds and what it ends with.
    const QStringList expected = {"^What the recorder received:$", "^1. track1: peak -9.0 dB", "the recorder starts a new track$",
                                  "^2. track2: peak -9.0 dB.*, drop-out at 0:01\\.", "it will not start a new track",
                                  "^3. track3: peak 0.0 dB.*, clipped$"};
    ASSERT_EQ(lines.size(), expected.size()) << lines.join(u'\n').toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].contains(QRegularExpression(expected[i]))) << lines[i].toStdString();

    // Listening leaves the run as exact as ever.
    const std::vector<SoundStretch> sent = soundStretches(onDeck, 0.02);
    ASSERT_EQ(sent.size(), 3u);
    for (size_t i = 1; i < sent.size(); ++i)
        EXPECT_NEAR((sent[i].start - sent[i - 1].end) * 1000, 2500, 1) << "gap before track " << i + 1;
}
