#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "recording/recording_controller.h"
#include "support/main_window_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

namespace {

class RecordingRunTest : public MainWindowTest {
protected:
    QStringList ended; // what the end of the run did, in order

    RecordingController& run() { return window->recordingRun(); }
    const Form1Controls& ui() { return window->ui; }

    void SetUp() override
    {
        load();
        run().endProgram = [this] { ended << QStringLiteral("end program"); };
        run().powerOff = [this] { ended << QStringLiteral("power off"); };
    }

    void addMedia(const QString& name, double seconds, double gapMs)
    {
        player.durations[name] = seconds;
        fill({{name, QString::number(int(seconds)), gapMs}});
    }

    static void tick(QTimer* timer) { QMetaObject::invokeMethod(timer, "timeout"); }

    // The timers a run may have armed: at most one at any time.
    QString armed()
    {
        QStringList on;
        for (QTimer* timer : {ui().Timer1, ui().Timer3, ui().Timer4}) {
            if (timer->isActive())
                on << timer->objectName();
        }
        EXPECT_LE(on.size(), 1) << on.join(u' ').toStdString();
        return on.join(u' ');
    }

    QList<FlatButton*> runButtons()
    {
        return {ui().addFiles, ui().clearList, ui().startRecording, ui().loadPlaylist, ui().savePlaylist,
                ui().shuffle};
    }
};

TEST_F(RecordingRunTest, mediaEntriesPlayInOrderWithEachGapButTheLast)
{
    addMedia(QStringLiteral("a.mp3"), 10, 2000);
    addMedia(QStringLiteral("b.mp3"), 20, 500);
    addMedia(QStringLiteral("c.mp3"), 30, 3000);
    ui().Text1->setText(QStringLiteral("45"));

    run().startRecording();
    EXPECT_EQ(armed(), QStringLiteral("Timer1"));
    EXPECT_EQ(ui().Timer1->interval(), 1);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("2"));
    EXPECT_EQ(window->table()[0].gap, 2000); // the entries keep their gaps
    EXPECT_TRUE(window->recording && window->busy);
    EXPECT_DOUBLE_EQ(run().run().gapTotal, 2.5);
    for (FlatButton* button : runButtons()) {
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
        EXPECT_EQ(button->captionColor(), QColor(0x80, 0x80, 0x80));
    }
    EXPECT_FALSE(ui().UpDown1->isEnabled());
    EXPECT_TRUE(ui().stopRecording->isEnabled());
    EXPECT_EQ(cdDevice.commands.mid(cdDevice.commands.size() - 4),
              QByteArrayList({"stop cd wait", "close all", "open cdaudio alias cd wait shareable",
                              "set cd time format tmsf wait"}));

    const struct {
        const char* label;
        int gapAfter;
        double completed;
    } steps[] = {{"Playing track #1...", 2000, 10}, {"Playing track #2...", 500, 30}, {"Playing track #3...", 0, 60}};
    // Timer1 wakes the player its lead early; the player places the file the gap after the last.
    player.lead = 150;
    for (const auto& step : steps) {
        tick(ui().Timer1);
        EXPECT_EQ(armed(), QStringLiteral("Timer4"));
        EXPECT_EQ(ui().Label5->text(), QLatin1String(step.label));
        EXPECT_EQ(ui().ListView1->toolTip(), QLatin1String(step.label));
        player.finish();
        EXPECT_DOUBLE_EQ(run().run().completedTime, step.completed);
        if (step.gapAfter) {
            EXPECT_EQ(armed(), QStringLiteral("Timer1"));
            EXPECT_EQ(ui().Timer1->interval(), step.gapAfter - 150);
            EXPECT_EQ(ui().Label5->text(), QLatin1String(step.label)); // still names the entry during the gap
        }
    }
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(player.silences, QList<double>({0, 2000, 500}));
    EXPECT_EQ(armed(), QString()); // the last gap is never waited
    EXPECT_FALSE(window->recording || window->busy);
    for (FlatButton* button : runButtons()) {
        EXPECT_TRUE(button->isEnabled());
        EXPECT_EQ(button->captionColor(), QColor(Qt::black));
    }
    EXPECT_TRUE(ui().UpDown1->isEnabled());
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track:"));
    EXPECT_EQ(ui().Label4->text(), QStringLiteral("Left of total:"));
    EXPECT_EQ(ui().Label5->text(), QString());
    EXPECT_TRUE(ended.isEmpty());
}

TEST_F(RecordingRunTest, firstEntryStartsOnTheFirstTickAndAOneEntryListEndsWithoutGap)
{
    addMedia(QStringLiteral("only.wav"), 5, 2000);
    run().startRecording();
    const QDeadlineTimer deadline(500);
    while (player.played.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(player.played.size(), 1); // 1 ms after the click
    EXPECT_EQ(armed(), QStringLiteral("Timer4"));
    player.finish();
    EXPECT_EQ(armed(), QString());
    EXPECT_FALSE(window->recording);
}

TEST_F(RecordingRunTest, emptyListDoesNotStart)
{
    run().startRecording();
    EXPECT_EQ(armed(), QString());
    EXPECT_FALSE(window->recording);
}

TEST_F(RecordingRunTest, stopDuringAGapStartsNothingMoreAndALateEndIsIgnored)
{
    addMedia(QStringLiteral("a.mp3"), 10, 2000);
    addMedia(QStringLiteral("b.mp3"), 20, 500);
    run().startRecording();
    tick(ui().Timer1);
    player.finish();
    ASSERT_EQ(armed(), QStringLiteral("Timer1"));
    const int stopsBefore = player.stops;
    ui().stopRecording->click();
    EXPECT_EQ(armed(), QString());
    EXPECT_EQ(player.stops, stopsBefore + 1);
    EXPECT_FALSE(window->recording || window->busy);
    EXPECT_EQ(run().run().currentTrackNumber, QStringLiteral("1")); // left as it was
    player.finish(); // a report that arrives after the stop
    EXPECT_EQ(armed(), QString());
    EXPECT_EQ(player.played, QStringList({"a.mp3"}));

    // Stopping again, with no run, only resets the devices and the display.
    cdDevice.commands.clear();
    ui().stopRecording->click();
    EXPECT_EQ(cdDevice.commands, QByteArrayList({"stop cd wait", "close all", "open cdaudio alias cd wait shareable",
                                                 "set cd time format tmsf wait"}));
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track:"));
}

TEST_F(RecordingRunTest, unplayableFileStopsTheRunWithAMessageAndNoWhenDoneAction)
{
    addMedia(QStringLiteral("a.mp3"), 10, 0);
    fill({{QStringLiteral("missing.mp3"), QStringLiteral("10"), 0}});
    ui().Check1->setValue(1);
    ui().Check2->setValue(1);
    run().startRecording();
    tick(ui().Timer1);
    player.finish();
    EXPECT_EQ(ui().Timer1->interval(), 1); // a gap of 0 waits 1 ms
    tick(ui().Timer1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot open missing.mp3"));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Trelvik"));
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(armed(), QString());
    EXPECT_FALSE(window->recording);
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_TRUE(QDir(programDir.path()).entryList({QStringLiteral("Recording*")}).isEmpty());
}

TEST_F(RecordingRunTest, mixedListSwitchesBetweenTheWatchTimersAndPlaysCdTrack7)
{
    addMedia(QStringLiteral("a.mp3"), 10, 1000);
    fill({{QStringLiteral("/media/cdrom/Track07.CDA"), QStringLiteral("263"), 1500}});
    addMedia(QStringLiteral("c.mp3"), 30, 0);
    cdDevice.replies["status cd length track 7"] = "04:23:45";
    cdDevice.replies["status cd mode"] = "playing";
    cdDevice.replies["status cd position"] = "07:04:22:00";

    player.lead = 150;
    run().startRecording();
    tick(ui().Timer1);
    player.finish();
    EXPECT_EQ(ui().Timer1->interval(), 1000); // a CD track starts on the timer itself
    cdDevice.commands.clear();
    tick(ui().Timer1);
    EXPECT_EQ(armed(), QStringLiteral("Timer3"));
    EXPECT_EQ(cdDevice.commands.mid(0, 4),
              QByteArrayList({"status cd length track 7", "stop cd wait", "seek cd to  7", "play cd"}));
    EXPECT_EQ(run().run().cdTrackNumber, QStringLiteral("7"));
    EXPECT_EQ(run().run().currentTrackLength, QStringLiteral("263"));
    EXPECT_EQ(ui().Timer1->interval(), 1500);

    tick(ui().Timer3); // 262 of 263 s
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track (00:01) :"));
    EXPECT_EQ(armed(), QStringLiteral("Timer3"));
    cdDevice.replies["status cd position"] = "07:04:23:00";
    cdDevice.commands.clear();
    tick(ui().Timer3);
    EXPECT_EQ(cdDevice.commands.last(), QByteArray("stop cd wait"));
    EXPECT_EQ(armed(), QStringLiteral("Timer1"));
    EXPECT_DOUBLE_EQ(run().run().completedTime, 10 + 263);

    tick(ui().Timer1);
    EXPECT_EQ(armed(), QStringLiteral("Timer4"));
    EXPECT_EQ(player.played.last(), QStringLiteral("c.mp3"));
    EXPECT_EQ(player.silences.last(), 1500);
}

TEST_F(RecordingRunTest, cdTrackThatNeverStartsStopsTheRun)
{
    fill({{QStringLiteral("/cd/Track02.cda"), QStringLiteral("100"), 0}});
    cdDevice.replies["status cd mode"] = "stopped";
    run().cdStartLimitMs = 50;
    run().startRecording();
    tick(ui().Timer1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("The CD drive did not start playing track 2."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Trelvik"));
    EXPECT_EQ(armed(), QString());
    EXPECT_FALSE(window->recording);
}

TEST_F(RecordingRunTest, mediaWatchShowsTheCountdownsAndBars)
{
    addMedia(QStringLiteral("a.mp3"), 215, 0);
    run().startRecording();
    tick(ui().Timer1);
    player.position = 10.4;
    tick(ui().Timer4);
    EXPECT_NEAR(ui().ProgressBar1->percent(), 4.837, 0.001);
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track (03:24) :"));
    EXPECT_EQ(ui().Label4->text(), QStringLiteral("Left of total (03:24) :"));
    EXPECT_EQ(ui().savePlaylist->captionColor(), QColor(Qt::black));
    EXPECT_FALSE(ui().savePlaylist->isEnabled());
}

TEST_F(RecordingRunTest, whenDoneSavesThenExitsOrShutsDown)
{
    const struct {
        int exit;
        int shutdown;
        QStringList ended;
    } cases[] = {
        {0, 0, {}},
        {1, 0, {"end program"}},
        {1, 1, {"power off", "end program"}},
    };
    addMedia(QStringLiteral("a.mp3"), 10, 0);
    ui().Check1->setValue(1);
    ui().Option2->setChecked(true);
    int number = 0;
    for (const auto& c : cases) {
        ended.clear();
        ui().Check3->setValue(0);
        ui().Check2->setValue(c.exit);
        ui().Check3->setValue(c.shutdown);
        QFile::remove(QDir(programDir.path()).filePath(QStringLiteral("settings.dat")));
        const QString saved = QDir(programDir.path()).filePath(QStringLiteral("Recording %1.pls").arg(++number));
        run().endProgram = [&] {
            ended << QStringLiteral("end program");
            EXPECT_TRUE(QFile::exists(saved)); // written before the program ends
            EXPECT_FALSE(window->recording);
        };
        run().startRecording();
        tick(ui().Timer1);
        player.finish();
        EXPECT_EQ(ended, c.ended) << c.exit << c.shutdown;
        EXPECT_TRUE(QFile::exists(saved)) << saved.toStdString();
        EXPECT_EQ(QFile::exists(QDir(programDir.path()).filePath(QStringLiteral("settings.dat"))), c.exit == 1);
    }
}

} // namespace
