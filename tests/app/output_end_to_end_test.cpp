#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/window_controls.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include "recorder/recorder_window.h"

#include <QCheckBox>
#include <QComboBox>

// The deck on the second output hears the run and nothing else: another program's tone on
// that output is muted for the run, so the gaps are digitally silent, and is heard again
// after. The default output hears nothing of the run.
TEST(OutputEndToEnd, theRunIsHeardOnTheChosenOutputOnlyWithOtherSoundsKeptOff)
{
    PulseNullSink sink; // "deck", the default output
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    ASSERT_TRUE(sink.addSink("deck2", "Deck2"));
    GeneratedMedia media;
    const QString other = media.tone("other.wav", 60, 440, 0.3);
    ASSERT_FALSE(other.isEmpty());
    SoundingRun run;
    for (int i = 1; i <= 3; ++i) {
        const QString path = media.tone(QStringLiteral("track%1.wav").arg(i), 0.8, 1000);
        ASSERT_FALSE(path.isEmpty());
        run.add(path, 0.8, 700);
    }
    RecorderWindow& recorder = run.window.recorderWindow();
    auto* choice = recorder.findChild<QComboBox*>("OutputChoice");
    ASSERT_TRUE(QTest::qWaitFor([&] { return choice->findData("deck2") >= 0; }, 5000)) << "the output is not listed";
    EXPECT_EQ(choice->itemText(choice->findData("deck2")), "Deck2");
    choose(choice, choice->findData("deck2"));
    recorder.findChild<QCheckBox*>("KeepOtherSoundsBox")->setChecked(true);

    QProcess otherProgram;
    otherProgram.start("paplay", {"-d", "deck2", other});
    ASSERT_TRUE(otherProgram.waitForStarted(5000));
    ASSERT_TRUE(streamOf(otherProgram.processId())) << "the other program's stream did not start";
    const QString onDeck = media.path("deck.wav"), onDeck2 = media.path("deck2.wav");
    ASSERT_TRUE(sink.startRecording(onDeck) && sink.startRecording(onDeck2, 1, "deck2"));
    run.play(30000);
    ASSERT_FALSE(run.window.busyState().recording()) << "the run did not end";
    EXPECT_EQ(run.dialogs.takeWarnings(), QStringList());
    EXPECT_FALSE(isMuted(otherProgram.processId())) << "the other program is not heard again";
    QThread::msleep(300); // the last samples reach the monitors
    sink.stopRecording();
    otherProgram.kill();
    otherProgram.waitForFinished(5000);

    const std::vector<qint16> defaultHeard = readWav(onDeck).samples;
    ASSERT_FALSE(defaultHeard.empty());
    EXPECT_TRUE(std::all_of(defaultHeard.begin(), defaultHeard.end(), [](qint16 s) { return s == 0; }))
        << "the default output heard something";

    // The run's tracks are the stretches of their length; the other program sounds longer.
    std::vector<SoundStretch> tracks;
    for (const SoundStretch& stretch : soundStretches(onDeck2, 0.02))
        if (std::abs(stretch.length() - 0.8) < 0.005)
            tracks.push_back(stretch);
    ASSERT_GE(tracks.size(), 2u) << "the run was not heard on the chosen output";
    const std::vector<qint16> heard = readWav(onDeck2).samples;
    for (size_t i = 0; i + 1 < tracks.size(); ++i) {
        const double silence = tracks[i + 1].start - tracks[i].end;
        EXPECT_GE(silence * 1000, 699) << "gap " << i + 1;
        EXPECT_LE(silence * 1000, 800) << "gap " << i + 1;
        // A sine's edges fall below the stretch threshold: a few samples in from each edge,
        // the gap must be digital silence.
        const auto from = heard.begin() + qsizetype(tracks[i].end * 44100) + 20;
        const auto to = heard.begin() + qsizetype(tracks[i + 1].start * 44100) - 20;
        EXPECT_TRUE(std::all_of(from, to, [](qint16 s) { return s == 0; })) << "something sounded in gap " << i + 1;
    }
}
