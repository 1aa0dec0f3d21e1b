#include "medium/output_choice.h"
#include "recording/recording_run.h"

#include "support/main_window_fixture.h"
#include "support/window_controls.h"

namespace {

class RunOutputTest : public MainWindowTest {
protected:
    const SoundOutput deck{"deck", "Line out to the deck", 44100};

    MainWindow& loadWith(const QString& outputName, bool keepOtherSoundsOff, const QString& description = {})
    {
        OutputChoice choice;
        choice.outputName = outputName;
        choice.keepOtherSoundsOff = keepOtherSoundsOff;
        choice.outputDescription = description;
        writeOutputFile(outputFile(), choice);
        soundOutputs.list = {{"analog", "Built-in Audio", 44100}, deck};
        MainWindow& w = load();
        player.durations = {{"a.mp3", 10}, {"b.mp3", 20}};
        fill({{"a.mp3", 10, 2000}, {"b.mp3", 20, 0}});
        return w;
    }
    QString outputFile() const { return QDir(programDir.path()).filePath(kOutputFileName); }
};

} // namespace

// A run plays to the chosen output or not at all, and never moves elsewhere by itself.
TEST_F(RunOutputTest, aRunPlaysToTheChosenOutputOrNotAtAll)
{
    MainWindow& w = loadWith("deck", false, "Line out to the deck");
    EXPECT_EQ(player.output, "deck");
    w.ui.exitWhenDoneBox->setValue(BoxState::Ticked);
    bool ended = false;
    w.endProgram = [&] { ended = true; };

    soundOutputs.become({{"analog", "Built-in Audio", 44100}});
    w.ui.startRecording->click();
    const QStringList told = dialogs.takeWarnings();
    EXPECT_TRUE(told.size() == 1 && told[0].contains("\"Line out to the deck\"")) << told.join(u'|').toStdString();
    EXPECT_FALSE(w.recordingRun().isRunning());
    EXPECT_TRUE(player.played.isEmpty());

    // Plugged in again, then pulled out in the middle of the run: the run stops as on a failure.
    soundOutputs.become({deck});
    w.ui.startRecording->click();
    tick("Timer1");
    player.start();
    ASSERT_TRUE(w.recordingRun().isRunning());
    soundOutputs.become({{"analog", "Built-in Audio", 44100}});
    EXPECT_FALSE(w.recordingRun().isRunning());
    const QStringList lost = dialogs.takeWarnings();
    EXPECT_TRUE(lost.size() == 1 && lost[0].contains("went away")) << lost.join(u'|').toStdString();
    EXPECT_FALSE(ended) << "no \"When done\" after a failed run";
    EXPECT_FALSE(w.busyState().busy());

    // Another choice goes to the player for the next run; the system default always starts.
    choose(w.recorderWindow().findChild<QComboBox*>("OutputChoice"), 0);
    EXPECT_EQ(player.output, "");
    EXPECT_EQ(readOutputFile(outputFile()).outputName, "");
    soundOutputs.become({});
    w.ui.startRecording->click();
    EXPECT_TRUE(w.recordingRun().isRunning());
}

// Other programs are muted, and the computer kept awake, for exactly as long as the
// run or the passage sounds. A close during a run stops the player, which outlives
// the window, and keeps the settings.
TEST_F(RunOutputTest, otherSoundsAreKeptOffWhileARunSoundsAndLetBackOnEveryWayOut)
{
    MainWindow& w = loadWith("deck", true);
    const auto runUntilStarted = [&] {
        w.ui.startRecording->click();
        tick("Timer1");
        player.start();
    };
    runUntilStarted();
    EXPECT_EQ(otherSounds.keptOff, QStringList({"deck"}));
    EXPECT_TRUE(otherSounds.off && keepAwake.held);
    player.finish();
    player.playThrough();
    EXPECT_FALSE(otherSounds.off || keepAwake.held) << "at the end";

    runUntilStarted();
    EXPECT_TRUE(otherSounds.off);
    w.ui.stopRecording->click();
    EXPECT_FALSE(otherSounds.off || keepAwake.held) << "on Stop";

    runUntilStarted();
    player.breakOff("Internal data stream error.");
    EXPECT_FALSE(otherSounds.off || keepAwake.held) << "on a failure";
    EXPECT_EQ(otherSounds.keptOff.size(), 3);

    // The server cannot: the window says so, and the run goes on.
    otherSounds.problem = "Other sounds cannot be kept off the recording: refused";
    runUntilStarted();
    EXPECT_TRUE(w.recordingRun().isRunning());
    EXPECT_EQ(w.recorderWindow().findChild<QLabel*>("OutputNotice")->text(), otherSounds.problem);

    const QPointer<MainWindow> closing = releaseToClose();
    const int stops = player.stops;
    closing->close();
    EXPECT_FALSE(otherSounds.off || keepAwake.held) << "on close";
    EXPECT_TRUE(QFile::exists(programDir.filePath("settings.dat")));
    EXPECT_EQ(keepAwake.holds, 4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closing);
    EXPECT_GT(player.stops, stops) << "the window went, the player stopped";
}

TEST_F(RunOutputTest, theLeadInComesBeforeTheFirstTrackOnlyAndIsCountedDown)
{
    MainWindow& w = loadWith({}, false);
    w.recorderWindow().findChild<QDoubleSpinBox*>("LeadInBox")->setValue(1.5);
    EXPECT_EQ(readOutputFile(outputFile()).leadInSeconds, 1.5);
    w.ui.startRecording->click();
    tick("Timer1");
    EXPECT_TRUE(w.ui.nowPlayingLabel->text().startsWith("Lead-in: track #1 in "))
        << w.ui.nowPlayingLabel->text().toStdString();
    player.take();
    player.start();
    EXPECT_EQ(w.ui.nowPlayingLabel->text(), "Playing track #1...");
    EXPECT_EQ(player.silences, QList<double>({1500, 2000}));
    EXPECT_FALSE(otherSounds.off) << "not chosen";
    EXPECT_TRUE(otherSounds.keptOff.isEmpty());
}
