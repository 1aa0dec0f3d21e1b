#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"
#include "support/window_controls.h"

#include "recorder/recorder_window.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

constexpr double kGapMs = 500;
constexpr double kLeadIn = 2;

// The button the accessibility tree offers under the name, found as a screen reader finds it.
QAccessibleInterface* accessibleButton(QAccessibleInterface* in, const QString& name)
{
    if (!in)
        return nullptr;
    if (in->role() == QAccessible::Button && in->text(QAccessible::Name) == name && !in->state().invisible)
        return in;
    for (int i = 0; i < in->childCount(); ++i) {
        if (QAccessibleInterface* found = accessibleButton(in->child(i), name))
            return found;
    }
    return nullptr;
}

// Five one-second tones on a custom cassette of 23 minutes a side with a 1 s
// leader, split into balanced sides (three on A, two on B), with a lead-in.
struct CassetteRun {
    PulseNullSink sink;
    GeneratedMedia media;
    SoundingRun run;

    bool setUp()
    {
        if (!sink.ready())
            return false;
        for (const int frequency : {330, 392, 440, 494, 587}) {
            const QString path = media.tone(QStringLiteral("t%1.wav").arg(frequency), 1, frequency);
            if (path.isEmpty())
                return false;
            run.add(path, 1, kGapMs);
        }
        run.window.show(); // what is hidden is not offered to a screen reader
        run.window.ui.recorder->click();
        RecorderWindow& recorder = run.window.recorderWindow();
        chooseRecorder(recorder, "custom");
        recorder.findChild<QSpinBox*>("MinutesBox")->setValue(23);
        recorder.findChild<QSpinBox*>("SidesBox")->setValue(2);
        recorder.findChild<QSpinBox*>("LeaderBox")->setValue(1);
        auto* split = recorder.findChild<QComboBox*>("SideSplit");
        split->setCurrentIndex(split->findText("Balance the sides"));
        recorder.findChild<QDoubleSpinBox*>("LeadInBox")->setValue(kLeadIn);
        return recorder.sidePlan().sides.size() == 2 && recorder.sidePlan().sides[1].first == 3;
    }

    // Runs the list, doing what the hold asks for once it has held a while; records on
    // for tailMs after the run.
    std::vector<SoundStretch> record(const std::function<void()>& inTheHold, double& heldSeconds, int tailMs = 300)
    {
        const QString recording = media.path("deck.wav");
        if (!sink.startRecording(recording, 2))
            return {};
        QElapsedTimer held;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!accessibleButton(QAccessible::queryAccessibleInterface(&run.window), "Continue"))
                return;
            if (!held.isValid())
                held.start();
            else if (held.elapsed() >= 1500) {
                watch.stop();
                heldSeconds = double(held.elapsed()) / 1000;
                inTheHold();
            }
        });
        watch.start(20);
        run.play(60000);
        QThread::msleep(tailMs); // the last samples reach the monitor
        sink.stopRecording();
        return soundStretches(recording, 0.02);
    }
};

} // namespace

// The run holds after side A with the silence going on until Continue is pressed
// through the accessibility interface; side B follows the lead-in, with its gaps as exact.
TEST(CassetteEndToEnd, theRunHoldsAfterSideAUntilContinueThenPlaysSideB)
{
    CassetteRun cassette;
    ASSERT_TRUE(cassette.setUp()) << "no null sink, no sox, or the sides are not planned as three and two";
    double heldSeconds = 0;
    const std::vector<SoundStretch> heard = cassette.record(
        [&] {
            QAccessibleInterface* button = accessibleButton(QAccessible::queryAccessibleInterface(&cassette.run.window),
                                                            "Continue");
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        },
        heldSeconds);
    EXPECT_FALSE(cassette.run.window.busyState().recording()) << "the run did not end";
    EXPECT_TRUE(cassette.run.dialogs.messages.empty()) << cassette.run.dialogs.messages.front().text.toStdString();
    ASSERT_GT(heldSeconds, 0) << "the run never held";
    ASSERT_EQ(heard.size(), 5u);
    for (const SoundStretch& sound : heard)
        EXPECT_NEAR(sound.length(), 1, 0.0001);
    for (const size_t after : {0, 1, 3})
        EXPECT_NEAR((heard[after + 1].start - heard[after].end) * 1000, kGapMs, 1) << "gap after track " << after + 1;
    // Silence from the end of side A through the whole hold and the lead-in after Continue.
    EXPECT_GE(heard[3].start - heard[2].end, heldSeconds + kLeadIn - 0.001);
}

// Stop in the hold ends the run: side B is never played.
TEST(CassetteEndToEnd, stopDuringTheHoldEndsTheRunWithNothingElsePlayed)
{
    CassetteRun cassette;
    ASSERT_TRUE(cassette.setUp()) << "no null sink, no sox, or the sides are not planned as three and two";
    double heldSeconds = 0;
    const std::vector<SoundStretch> heard
        = cassette.record([&] { cassette.run.window.ui.stopRecording->click(); }, heldSeconds,
                          int(kLeadIn * 1000) + 1500); // long past where side B would have begun
    EXPECT_FALSE(cassette.run.window.busyState().recording()) << "the run did not end";
    ASSERT_GT(heldSeconds, 0) << "the run never held";
    EXPECT_EQ(heard.size(), 3u);
    EXPECT_FALSE(cassette.run.window.findChild<QWidget*>("Continue"));
}
