#include "support/main_window_fixture.h"

#include "session/run_output.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"
#include "support/window_controls.h"

#include <tuple>

namespace {

// The "When done" boxes: save, exit, shut down (0 clear, 1 ticked, 2 greyed), PLS
// chosen, M3U chosen, formats enabled.
auto whenDone(const MainWindow& w)
{
    return std::tuple(int(w.ui.saveWhenDoneBox->value()), int(w.ui.exitWhenDoneBox->value()),
                      int(w.ui.shutDownWhenDoneBox->value()), w.ui.plsOption->isChecked(),
                      w.ui.m3uOption->isChecked(), w.ui.plsOption->isEnabled());
}

} // namespace

// Adding and editing switch off the six command buttons only; a run leaves "Stop
// recording" on and switches "&Shuffle" and the arrows off too.
TEST_F(MainWindowTest, eachBusyStateSwitchesOffItsOwnButtons)
{
    MainWindow& w = load();
    const QList<FlatButton*> all = {w.ui.addFiles, w.ui.clearList, w.ui.startRecording, w.ui.loadPlaylist,
                                    w.ui.savePlaylist, w.ui.stopRecording, w.ui.shuffle, w.ui.info, w.ui.checkForUpdate};
    const struct { BusyState::Activity activity; QList<FlatButton*> off; } cases[] = {
        {BusyState::Activity::Adding, all.mid(0, 6)}, {BusyState::Activity::Editing, all.mid(0, 6)},
        {BusyState::Activity::Recording, all.mid(0, 5) << w.ui.shuffle}};
    for (const auto& c : cases) {
        std::optional<BusyState::Claim> claim(std::in_place, w.busyState(), c.activity);
        for (FlatButton* b : all)
            EXPECT_EQ(b->isEnabled(), !c.off.contains(b)) << b->objectName().toStdString();
        EXPECT_EQ(w.ui.moveButtons->isEnabled(), c.activity != BusyState::Activity::Recording);
        claim.reset();
        for (FlatButton* b : all)
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(w.ui.moveButtons->isEnabled());
    }
}

TEST_F(MainWindowTest, whenDoneBoxesFollowTheirRules)
{
    MainWindow& w = load();
    EXPECT_EQ(whenDone(w), std::tuple(0, 0, 0, false, true, false));
    const struct { QAbstractButton* clicked; std::tuple<int, int, int, bool, bool, bool> after; const char* why; } clicks[] = {
        {w.ui.saveWhenDoneBox, {1, 0, 0, false, true, true}, "saving offers the formats"},
        {w.ui.plsOption, {1, 0, 0, true, false, true}, "PLS chosen"},
        {w.ui.saveWhenDoneBox, {0, 0, 0, true, false, false}, "unticking keeps the chosen format"},
        {w.ui.shutDownWhenDoneBox, {0, 1, 1, true, false, false}, "shutting down means exiting"},
        {w.ui.exitWhenDoneBox, {0, 1, 1, true, false, false}, "exit stays on while shut down is"},
        {w.ui.shutDownWhenDoneBox, {0, 1, 0, true, false, false}, "exit stays on after shut down"},
    };
    for (const auto& c : clicks) {
        QTest::mouseClick(c.clicked, Qt::LeftButton);
        EXPECT_EQ(whenDone(w), c.after) << c.why;
    }
}

// The boxes start as settings.dat says, as if clicked so; a close writes what they
// show. Neither the gap nor the playlist is kept.
TEST_F(MainWindowTest, theWhenDoneBoxesStartAsTheSettingsSayAndAreWrittenOnClosing)
{
    const QString settings = programDir.filePath("settings.dat");
    load().close();
    EXPECT_EQ(bytesOf(settings), " 0 \r\n1\r\n 0 \r\n 0 \r\n"); // the first start's: M3U chosen
    const struct { QByteArray file; int save, exit, shutdown; bool pls, optionsEnabled; QByteArray written; } cases[] = {
        {"1\r\n2\r\n0\r\n0\r\n", 1, 0, 0, true, true, " 1 \r\n2\r\n 0 \r\n 0 \r\n"},
        {"0\r\n1\r\n0\r\n1\r\n", 0, 1, 1, false, false, " 0 \r\n1\r\n 1 \r\n 1 \r\n"}, // shut down brings exit along
        {"1\r\n3\r\n1\r\n0\r\n", 1, 1, 0, false, true, " 1 \r\n1\r\n 1 \r\n 0 \r\n"},  // an unknown format keeps M3U
        {" 2 \r\n2\r\n", 2, 0, 0, true, false, " 2 \r\n2\r\n 0 \r\n 0 \r\n"},          // greyed is kept, but is not ticked
    };
    for (const auto& c : cases) {
        writeBytes(settings, c.file);
        MainWindow& w = load();
        EXPECT_EQ(whenDone(w), std::tuple(c.save, c.exit, c.shutdown, c.pls, !c.pls, c.optionsEnabled))
            << c.file.toStdString();
        EXPECT_TRUE(w.ui.defaultGapEdit->text() == "2.0" && w.model().rowCount() == 0);
        fill({{"/m/a.mp3", 10, 2000}});
        w.ui.defaultGapEdit->setText("5");
        w.close();
        EXPECT_EQ(bytesOf(settings), c.written);
    }
}

// The window deletes itself on closing, as in the program. A close while an add lets
// events run between files ends the add after the current file; then the window
// closes as always.
TEST_F(MainWindowTest, closingDuringAnAddEndsItAfterTheCurrentFileThenCloses)
{
    const QStringList chosen = {mediaFile("a.wav", 10), mediaFile("b.wav", 10), mediaFile("c.wav", 10)};
    load();
    const QPointer<MainWindow> w = releaseToClose();
    dialogs.fileAnswers.push_back(chosen);
    // Each file takes a frame to open, so events run after each; the close comes after the first.
    player.onOpen = [] { QTest::qSleep(20); };
    QTimer::singleShot(0, w, [&w] { w->close(); });
    QTest::mouseClick(w->ui.addFiles, Qt::LeftButton); // within an event, as in the program

    EXPECT_EQ(player.opened, chosen.mid(0, 1));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->playlist().count(), 1);
    EXPECT_EQ(dialogs.takeWarnings(), QStringList()) << "the add ends silently";
    EXPECT_TRUE(QFile::exists(programDir.filePath("settings.dat")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
}

// The window shows what the run announces, and leaves as the "When done" boxes say.
TEST_F(MainWindowTest, showsWhatTheRunAnnouncesAndLeavesAsTheBoxesSay)
{
    MainWindow& w = load();
    fill({{"a.mp3", 10, 2000}, {"b.mp3", 20, 0}});
    QStringList ended;
    w.powerOff = [&] { ended << "power off"; };
    w.endProgram = [&] {
        ended << "end program";
        EXPECT_TRUE(QFile::exists(programDir.filePath("settings.dat"))); // written before the program ends
    };
    w.ui.defaultGapEdit->setText("45");

    w.ui.saveWhenDoneBox->setValue(BoxState::Ticked);
    w.ui.exitWhenDoneBox->setValue(BoxState::Ticked);
    w.ui.shutDownWhenDoneBox->setValue(BoxState::Ticked);
    w.ui.startRecording->click();
    EXPECT_TRUE(w.busyState().recording());
    EXPECT_EQ(w.ui.defaultGapEdit->text(), "2");
    using Shown = std::pair<QString, float>; // what is playing, and the track's bar
    const auto shown = [&] { return Shown(w.ui.nowPlayingLabel->text(), w.ui.trackProgressBar->percent()); };
    tick("Timer1");
    player.start();
    EXPECT_EQ(w.ui.playlistView->toolTip(), "Playing track #1...");
    player.position = 5;
    tick("Timer4");
    EXPECT_EQ(w.ui.trackLeftLabel->text(), "Left of track (00:05) :");
    EXPECT_EQ(w.ui.savePlaylist->captionColor(), QColor(Qt::black));
    EXPECT_EQ(shown(), Shown("Playing track #1...", 50));
    player.finish();
    // During the gap the entry that has just finished stays named and the bar keeps its value.
    EXPECT_EQ(shown(), Shown("Playing track #1...", 50));
    player.start();
    EXPECT_EQ(shown(), Shown("Playing track #2...", 0));
    EXPECT_EQ(w.ui.playlistView->selectionModel()->selectedRows().value(0).row(), 1);
    player.finish();

    EXPECT_FALSE(w.busyState().busy());
    EXPECT_EQ(QStringList({w.ui.trackLeftLabel->text(), w.ui.totalLeftLabel->text(), w.ui.nowPlayingLabel->text(),
                           w.ui.playlistView->toolTip()}),
              QStringList({"Left of track:", "Left of total:", "", ""}));
    EXPECT_EQ(ended, QStringList({"power off", "end program"}));
    EXPECT_TRUE(QFile::exists(programDir.filePath("Recording 1.m3u")));
}

// A settings file that cannot be written is told to the user who closes the window,
// but a run that ends the program leaves no message behind for nobody to answer.
TEST_F(MainWindowTest, settingsThatCannotBeSavedAreToldOnlyToAUserWhoIsThere)
{
    QDir().mkdir(programDir.filePath("settings.dat"));
    load().close();
    const QStringList warnings = dialogs.takeWarnings();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith(programDir.filePath("settings.dat") + " could not be saved: "))
        << warnings[0].toStdString();

    MainWindow& w = load();
    fill({{"a.mp3", 10, 0}});
    QStringList ended;
    w.powerOff = [] {};
    w.endProgram = [&] { ended << "end program"; };
    w.ui.exitWhenDoneBox->setValue(BoxState::Ticked);
    w.ui.startRecording->click();
    tick("Timer1");
    player.playThrough();
    EXPECT_EQ(ended, QStringList({"end program"}));
    EXPECT_EQ(dialogs.takeWarnings(), QStringList());
}

// Between a cassette's sides the status frame says what to do, over a Continue
// button that exists only then and works from the keyboard; the total stands still,
// and "Stop recording" still stops.
TEST_F(MainWindowTest, aCassetteRunHoldsWithAContinueButtonOnlyWhileItHolds)
{
    MainWindow& w = load();
    fill({{"a.mp3", 10, 2000}, {"b.mp3", 20, 0}});
    recorderControl<QDoubleSpinBox>("LeadInBox")->setValue(1);
    w.show();
    // Balanced sides of a cassette: one track a side.
    chooseRecorder(w.recorderWindow(), "cassette-c46");
    auto* split = recorderControl<QComboBox>("SideSplit");
    split->setCurrentIndex(split->findText("Balance the sides"));
    for (const bool stopped : {false, true}) {
        w.ui.startRecording->click();
        tick("Timer1");
        player.start();
        player.position = 10;
        tick("Timer4");
        EXPECT_FALSE(w.findChild<QPushButton*>("Continue"));
        const QString total = w.ui.totalLeftLabel->text();
        player.finish();

        SCOPED_TRACE(stopped ? "stopped" : "continued");
        const QPointer<QPushButton> button = w.findChild<QPushButton*>("Continue");
        ASSERT_TRUE(button);
        EXPECT_TRUE(button->isVisible() && w.ui.statusFrame->isAncestorOf(button));
        QAccessibleInterface* offered = QAccessible::queryAccessibleInterface(button);
        EXPECT_EQ(offered->text(QAccessible::Name), "Continue");
        EXPECT_TRUE(offered->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE((button->focusPolicy() & Qt::TabFocus) && w.focusWidget() == button);
        EXPECT_EQ(w.ui.nowPlayingLabel->text(), "Side A done: turn the cassette over, start the recorder, press Continue");
        EXPECT_EQ(w.ui.totalLeftLabel->text(), total);
        EXPECT_EQ(w.ui.totalProgressBar->percent(), 10 / 32.f * 100);

        stopped ? w.ui.stopRecording->click() : QTest::keyClick(button, Qt::Key_Return);
        EXPECT_FALSE(button && button->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(button);
        EXPECT_TRUE(w.ui.trackLeftLabel->isVisible());
        EXPECT_EQ(player.resumes.size(), 1); // let go by Continue only
        if (!stopped) {
            EXPECT_TRUE(w.ui.nowPlayingLabel->text().startsWith("Lead-in: track #2 in "));
            player.playThrough();
        }
        EXPECT_FALSE(w.busyState().recording());
    }
}

// A list too long for the chosen recorder is recorded only when the user says so.
TEST_F(MainWindowTest, startRecordingAsksBeforeAListThatDoesNotFit)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 3000, 2000}, {"/m/b.mp3", 600, 2000}});
    w.ui.startRecording->click();
    EXPECT_TRUE(dialogs.questions.empty()) << "60:02 fits on a 74-minute MiniDisc";
    EXPECT_TRUE(w.busyState().recording());
    w.ui.stopRecording->click();
    ASSERT_FALSE(w.busyState().recording());

    chooseRecorder(w.recorderWindow(), "minidisc-60-sp");
    dialogs.questionAnswers = {false, true};
    w.ui.startRecording->click();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text + " | " + dialogs.questions[0].title,
              "The list does not fit on MiniDisc 60 min (SP): 0:02 over. Record anyway? | Trelvik");
    EXPECT_FALSE(w.busyState().recording()) << "No";
    w.ui.startRecording->click();
    EXPECT_TRUE(w.busyState().recording()) << "Yes";
}

// What is chosen in the Recorder window goes to the session, which keeps it: the next
// start shows it there again. What the session tells of the output shows there too.
TEST_F(MainWindowTest, theRecorderWindowsChoicesReachTheSessionAndShowAtTheNextStart)
{
    soundOutputs.list = {{"deck", "Line out to the deck", 44100}};
    MainWindow& w = load();
    chooseRecorder(w.recorderWindow(), "cassette-c60");
    recorderControl<QSpinBox>("LeaderBox")->setValue(10);
    recorderControl<QCheckBox>("DeckTitlesBox")->click();
    recorderControl<QSpinBox>("TitleLengthBox")->setValue(20);
    recorderControl<QDoubleSpinBox>("LeadInBox")->setValue(1.5);
    choose(recorderControl<QComboBox>("OutputChoice"), 1);
    recorderControl<QCheckBox>("KeepOtherSoundsBox")->click();
    Q_EMIT w.session().output().keepOffProblem("Other sounds cannot be kept off the recording: refused");
    EXPECT_EQ(recorderControl<QLabel>("OutputNotice")->text(), "Other sounds cannot be kept off the recording: refused");
    w.close();

    load();
    EXPECT_EQ(std::tuple(window->recorderWindow().recorder().id, recorderControl<QSpinBox>("LeaderBox")->value(),
                         recorderControl<QCheckBox>("DeckTitlesBox")->isChecked(),
                         recorderControl<QSpinBox>("TitleLengthBox")->value(),
                         recorderControl<QDoubleSpinBox>("LeadInBox")->value(),
                         recorderControl<QComboBox>("OutputChoice")->currentText(),
                         recorderControl<QCheckBox>("KeepOtherSoundsBox")->isChecked()),
              std::tuple(QStringLiteral("cassette-c60"), 10, true, 20, 1.5, QStringLiteral("Line out to the deck"), true));
}

TEST_F(MainWindowTest, theRecorderButtonOpensTheWindowWhoseSuggestedGapBecomesTheDefault)
{
    MainWindow& w = load();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_R, Qt::AltModifier);
    auto* recorder = w.findChild<QWidget*>("RecorderWindow");
    ASSERT_TRUE(recorder);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder->isVisible(); })); // a shortcut clicks a moment later
    chooseRecorder(*recorder, "cassette-c60");
    recorder->findChild<QPushButton*>("UseSuggestedGapButton")->click();
    EXPECT_EQ(w.ui.defaultGapEdit->text(), "4");
    w.close();
    EXPECT_FALSE(recorder->isVisible());
}

// A screen reader reads a label as the text it shows, which here mostly changes with
// the list: a name of the label's own would hide it.
TEST_F(MainWindowTest, everyLabelIsReadAsTheTextItShows)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 100, 1000}, {"/m/b.mp3", 100, 2000}});
    w.show();
    w.recorderWindow().show();
    QCoreApplication::processEvents();
    // Without a volume control program its button gives way to the hot keys.
    EXPECT_TRUE(!w.ui.volumeControl->isVisible() && w.ui.hotKeysText->isVisible());
    const QList<QLabel*> labels = w.findChildren<QLabel*>();
    ASSERT_GT(labels.size(), 10);
    for (QLabel* label : labels) {
        if (label->text().isEmpty())
            continue; // read by the title of its frame until it shows something
        const QString shown = label->buddy() ? QString(label->text()).remove(u'&') : label->text();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), shown)
            << label->objectName().toStdString();
    }
    EXPECT_TRUE(w.recorderWindow().findChild<QLabel*>("FitSummary")->text().startsWith("MiniDisc 74 min (SP): "));
    EXPECT_TRUE(w.recorderWindow().findChild<QLabel*>("RuleLabel")->text().startsWith("A new track starts after"));
}

// What the scan reads follows the list with the Recorder window hidden; a failure on
// the way is told once the window shows, and the program and the list stay.
TEST_F(MainWindowTest, aFailureWhileTheScanFollowsTheListIsToldInTheRecorderWindowAndTheListStays)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 100, 2000}, {"/cd/Track01.cda", 100, 2000}});
    discs.failure = "The drive does not answer.";
    w.playlist().setGap(0, 3000);
    EXPECT_TRUE(dialogs.takeWarnings().isEmpty());
    w.show();
    w.ui.recorder->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.takeWarnings(), QStringList({"The drive does not answer."}));
    EXPECT_EQ(w.playlist().count(), 2);
    EXPECT_TRUE(w.recorderWindow().isVisible());
}

// The recorder window fits a 1366 x 768 screen below a panel, title bar included,
// also with a cassette's sides or a custom recorder's figures showing; its room goes
// to the track list.
TEST_F(MainWindowTest, theRecorderWindowFitsALaptopScreenAndGivesItsRoomToTheTrackList)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 100, 2000}, {"/m/b.mp3", 100, 2000}});
    w.show();
    w.ui.recorder->click();
    QWidget& recorder = w.recorderWindow();
    QCoreApplication::processEvents();
    constexpr int kRoom = 768 - 60 - 30; // a panel and a title bar
    EXPECT_LE(std::max(recorder.height(), recorder.sizeHint().height()), kRoom);
    const auto* trackList = recorder.findChild<QPlainTextEdit*>("TrackListText");
    EXPECT_GE(trackList->viewport()->height(), 8 * trackList->fontMetrics().lineSpacing());

    // A cassette: its sides' settings and lines, and the gaps too short for its deck;
    // then a custom recorder's figures.
    for (const char* id : {"cassette-c60", "custom"}) {
        chooseRecorder(recorder, id);
        QCoreApplication::processEvents();
        EXPECT_LE(std::max(recorder.height(), recorder.minimumSizeHint().height()), kRoom) << id;
        EXPECT_LE(std::max(recorder.width(), recorder.minimumSizeHint().width()), 1366) << id;
        const auto* meter = recorder.findChild<QWidget*>("LevelMeter");
        EXPECT_GE(meter->height(), meter->sizeHint().height()) << "the meter is squeezed";
    }
}
