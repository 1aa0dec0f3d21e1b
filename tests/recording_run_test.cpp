#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "playlist_files/playlist_writer.h"
#include "recording/recording_controller.h"
#include "support/main_window_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

const QByteArrayList kCdReset = {"stop cd wait", "close all", "open cdaudio alias cd wait shareable",
                                 "set cd time format tmsf wait"};

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

    // A run greys out and disables every button that could change the list, and gives them back.
    void expectListButtons(bool enabled)
    {
        for (FlatButton* button : {ui().addFiles, ui().clearList, ui().startRecording, ui().loadPlaylist,
                                   ui().savePlaylist, ui().shuffle}) {
            EXPECT_EQ(button->isEnabled(), enabled) << button->text().toStdString();
            EXPECT_EQ(button->captionColor(), enabled ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
        }
        EXPECT_EQ(ui().UpDown1->isEnabled(), enabled);
    }

    void expectIdle()
    {
        EXPECT_EQ(armed(), QString());
        EXPECT_FALSE(window->recording || window->busy);
    }

    void expectLastWarning(size_t count, const QString& text)
    {
        ASSERT_EQ(dialogs.messages.size(), count);
        EXPECT_EQ(dialogs.messages.back().text, text);
        EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Trelvik"));
        EXPECT_EQ(dialogs.messages.back().icon, QMessageBox::Warning);
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
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("2"));
    EXPECT_EQ(window->table()[0].gap, 2000); // the entries keep their gaps
    EXPECT_TRUE(window->recording && window->busy);
    EXPECT_DOUBLE_EQ(run().run().gapTotal, 2.5);
    expectListButtons(false);
    EXPECT_TRUE(ui().stopRecording->isEnabled());
    EXPECT_EQ(cdDevice.commands.mid(cdDevice.commands.size() - 4), kCdReset);

    const struct {
        const char* label;
        int gapAfter;
        double completed;
    } steps[] = {{"Playing track #1...", 2000, 10}, {"Playing track #2...", 500, 30}, {"Playing track #3...", 0, 60}};
    tick(ui().Timer1);
    EXPECT_EQ(player.played, QStringList({"a.mp3"}));
    for (int i = 0; i < 3; ++i) {
        // Until its sound is heard, the window still shows the entry before.
        EXPECT_EQ(ui().Label5->text(), QLatin1String(i ? steps[i - 1].label : ""));
        EXPECT_EQ(armed(), QString());
        player.start();
        EXPECT_EQ(armed(), QStringLiteral("Timer4"));
        EXPECT_EQ(ui().Label5->text(), QLatin1String(steps[i].label));
        EXPECT_EQ(ui().ListView1->toolTip(), QLatin1String(steps[i].label));
        EXPECT_EQ(ui().ProgressBar1->percent(), 0);
        // The next file waits behind this one, so the player can place it exactly.
        EXPECT_EQ(player.played.size(), std::min(i + 2, 3));
        player.position = 5;
        tick(ui().Timer4);
        const float bar = ui().ProgressBar1->percent();
        player.finish();
        EXPECT_DOUBLE_EQ(run().run().completedTime, steps[i].completed);
        if (steps[i].gapAfter) {
            EXPECT_EQ(ui().Label5->text(), QLatin1String(steps[i].label)); // still names the entry during the gap
            EXPECT_EQ(ui().ProgressBar1->percent(), bar);
        }
    }
    EXPECT_EQ(player.played, QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(player.silences, QList<double>({0, 2000, 500}));
    expectIdle(); // the last gap is never waited
    expectListButtons(true);
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track:"));
    EXPECT_EQ(ui().Label4->text(), QStringLiteral("Left of total:"));
    EXPECT_EQ(ui().Label5->text(), QString());
    EXPECT_TRUE(ended.isEmpty());
}

TEST_F(RecordingRunTest, emptyListNeverStartsAndAStopInAGapEndsTheRunForGood)
{
    run().startRecording();
    expectIdle();
    addMedia(QStringLiteral("a.mp3"), 10, 2000);
    addMedia(QStringLiteral("b.mp3"), 20, 500);
    run().startRecording();
    const QDeadlineTimer deadline(500);
    while (player.played.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(player.played.size(), 1); // the first entry starts 1 ms after the click
    player.playThrough();
    ASSERT_EQ(player.played.size(), 2);
    const int stopsBefore = player.stops;
    ui().stopRecording->click();
    expectIdle();
    EXPECT_EQ(player.stops, stopsBefore + 1);
    player.playThrough(); // reports that arrive after the stop
    player.breakOff(QStringLiteral("late"));
    EXPECT_EQ(armed(), QString());
    EXPECT_TRUE(dialogs.messages.empty());

    // Stopping again, with no run, only resets the devices and the display.
    cdDevice.commands.clear();
    ui().stopRecording->click();
    EXPECT_EQ(cdDevice.commands, kCdReset);
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track:"));
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
    player.playThrough();
    EXPECT_EQ(player.played, QStringList({"a.mp3"}));
    EXPECT_EQ(ui().Timer1->interval(), 1000); // a CD track starts on the timer itself
    cdDevice.commands.clear();
    tick(ui().Timer1);
    EXPECT_EQ(armed(), QStringLiteral("Timer3"));
    EXPECT_EQ(cdDevice.commands.mid(0, 4),
              QByteArrayList({"status cd length track 7", "stop cd wait", "seek cd to  7", "play cd"}));
    EXPECT_EQ(ui().Timer1->interval(), 1500);

    tick(ui().Timer3); // 262 of 263 s
    EXPECT_EQ(ui().Label3->text(), QStringLiteral("Left of track (00:01) :"));
    EXPECT_EQ(armed(), QStringLiteral("Timer3"));
    cdDevice.replies["status cd position"] = "07:04:23:00";
    cdDevice.commands.clear();
    tick(ui().Timer3);
    EXPECT_EQ(cdDevice.commands.last(), QByteArray("stop cd wait"));
    EXPECT_EQ(armed(), QStringLiteral("Timer1"));
    EXPECT_EQ(ui().Timer1->interval(), 1500 - 150); // the player is woken its lead early
    EXPECT_DOUBLE_EQ(run().run().completedTime, 10 + 263);

    tick(ui().Timer1);
    player.start();
    EXPECT_EQ(armed(), QStringLiteral("Timer4"));
    EXPECT_EQ(player.played.last(), QStringLiteral("c.mp3"));
    EXPECT_EQ(player.silences.last(), 1500);
}

TEST_F(RecordingRunTest, entryThatCannotPlayStopsTheRunWithAMessageAndNoWhenDoneAction)
{
    addMedia(QStringLiteral("a.mp3"), 10, 0);
    addMedia(QStringLiteral("b.mp3"), 10, 0);
    fill({{QStringLiteral("/cd/Track02.cda"), QStringLiteral("100"), 0}});
    cdDevice.replies["status cd mode"] = "stopped";
    ui().Check1->setValue(1);
    ui().Check2->setValue(1);
    // A file that breaks off in the middle, and one that cannot be opened when its turn comes.
    for (int heardWhole = 0; heardWhole < 2; ++heardWhole) {
        run().startRecording();
        tick(ui().Timer1);
        player.start();
        if (heardWhole)
            player.finish();
        player.breakOff(QStringLiteral("Internal data stream error.\n/music/b.mp3"));
        expectLastWarning(heardWhole + 1, QStringLiteral("Internal data stream error.\n/music/b.mp3"));
        expectIdle();
    }

    // A drive that does not start: the window answers meanwhile, and Stop ends the wait at once.
    const auto reachCdEntry = [&] {
        run().startRecording();
        tick(ui().Timer1);
        player.playThrough();
        player.playThrough();
        tick(ui().Timer1);
    };
    reachCdEntry();
    QTest::qWait(60);
    EXPECT_TRUE(window->recording);
    ui().stopRecording->click();
    const qsizetype asked = cdDevice.commands.size();
    QTest::qWait(60);
    EXPECT_EQ(cdDevice.commands.size(), asked);
    EXPECT_EQ(dialogs.messages.size(), 2u);

    run().cdStartLimitMs = 50;
    reachCdEntry();
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 3u, 2000);
    expectLastWarning(3, QStringLiteral("The CD drive did not start playing track 2."));
    expectIdle();
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_TRUE(QDir(programDir.path()).entryList({QStringLiteral("Recording*")}).isEmpty());
}

TEST_F(RecordingRunTest, mediaWatchShowsTheCountdownsAndBarsAndBlackensTheSaveCaption)
{
    addMedia(QStringLiteral("a.mp3"), 215, 0);
    run().startRecording();
    tick(ui().Timer1);
    player.start();
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
    } cases[] = {{0, 0, {}}, {1, 0, {"end program"}}, {1, 1, {"power off", "end program"}}};
    addMedia(QStringLiteral("a.mp3"), 10, 0);
    ui().Check1->setValue(1);
    ui().Option2->setChecked(true);
    const QDir dir(programDir.path());
    int number = 0;
    for (const auto& c : cases) {
        ended.clear();
        ui().Check3->setValue(0);
        ui().Check2->setValue(c.exit);
        ui().Check3->setValue(c.shutdown);
        QFile::remove(dir.filePath(QStringLiteral("settings.dat")));
        const QString saved = dir.filePath(QStringLiteral("Recording %1.pls").arg(++number));
        run().endProgram = [&] {
            ended << QStringLiteral("end program");
            EXPECT_TRUE(QFile::exists(saved)); // written before the program ends
            EXPECT_FALSE(window->recording);
        };
        run().startRecording();
        tick(ui().Timer1);
        player.playThrough();
        EXPECT_EQ(ended, c.ended) << c.exit << c.shutdown;
        EXPECT_TRUE(QFile::exists(saved)) << saved.toStdString();
        EXPECT_EQ(QFile::exists(dir.filePath(QStringLiteral("settings.dat"))), c.exit == 1);
    }
}

TEST_F(RecordingRunTest, entriesThatCannotBeSavedAreNamedWhenTheRunIsDone)
{
    addMedia(QStringLiteral("a.mp3"), 10, 0);
    addMedia(QStringLiteral("b\nc.mp3"), 10, 0);
    ui().Check1->setValue(1);
    run().startRecording();
    tick(ui().Timer1);
    player.playThrough();
    player.playThrough();
    expectLastWarning(1, skippedEntriesMessage({QStringLiteral("b\nc.mp3")}));
    EXPECT_TRUE(QFile::exists(QDir(programDir.path()).filePath(QStringLiteral("Recording 1.m3u"))));
}

} // namespace
