#include "support/main_window_fixture.h"

#include "help_windows/help_windows.h"
#include "session/run_output.h"
#include "support/example_disc.h"
#include "support/file_bytes.h"
#include "support/local_http_server.h"
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
    const QList<QWidget*> all = {w.ui.addFiles, w.ui.clearList, w.ui.startRecording, w.ui.loadPlaylist, w.ui.savePlaylist,
                                 w.ui.stopRecording, w.ui.shuffle, w.ui.moveButtons, w.ui.info, w.ui.checkForUpdate};
    const struct { BusyState::Activity activity; QList<QWidget*> off; } cases[] = {
        {BusyState::Activity::Adding, all.mid(0, 6)}, {BusyState::Activity::Editing, all.mid(0, 6)},
        {BusyState::Activity::Recording, all.mid(0, 5) + all.mid(6, 2)}};
    for (const auto& c : cases) {
        std::optional<BusyState::Claim> claim(std::in_place, w.busyState(), c.activity);
        for (const bool claimed : {true, false}) {
            for (QWidget* b : all)
                EXPECT_EQ(b->isEnabled(), !claimed || !c.off.contains(b)) << b->objectName().toStdString() << claimed;
            claim.reset();
        }
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
        {" 2 \r\n2\r\n", 2, 0, 0, true, false, " 2 \r\n2\r\n 0 \r\n 0 \r\n"},          // greyed is kept, but is not ticked
    };
    for (const auto& c : cases) {
        writeBytes(settings, c.file);
        MainWindow& w = load();
        EXPECT_EQ(whenDone(w), std::tuple(c.save, c.exit, c.shutdown, c.pls, !c.pls, c.optionsEnabled))
            << c.file.toStdString();
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
    ASSERT_TRUE(w && w->playlist().count() == 1);
    EXPECT_EQ(dialogs.takeWarnings(), QStringList()) << "the add ends silently";
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
    for (CheckBox* box : {w.ui.saveWhenDoneBox, w.ui.exitWhenDoneBox, w.ui.shutDownWhenDoneBox})
        box->setValue(BoxState::Ticked);
    w.ui.startRecording->click();
    EXPECT_EQ(w.ui.defaultGapEdit->text(), "2");
    using Shown = std::pair<QString, float>; // what is playing, and the track's bar
    const auto shown = [&] { return Shown(w.ui.nowPlayingLabel->text(), w.ui.trackProgressBar->percent()); };
    tick("Timer1");
    player.start();
    player.position = 5;
    tick("Timer4");
    EXPECT_EQ(w.ui.trackLeftLabel->text(), "Left of track (00:05) :");
    EXPECT_EQ(shown(), Shown("Playing track #1...", 50));
    player.finish();
    // During the gap the entry that has just finished stays named and the bar keeps its value.
    EXPECT_EQ(shown(), Shown("Playing track #1...", 50));
    player.start();
    EXPECT_EQ(shown(), Shown("Playing track #2...", 0));
    EXPECT_EQ(w.ui.playlistView->selectionModel()->selectedRows().value(0).row(), 1);
    player.finish();

    EXPECT_TRUE(!w.busyState().busy() && w.ui.nowPlayingLabel->text().isEmpty());
    EXPECT_EQ(ended, QStringList({"power off", "end program"}));
    EXPECT_TRUE(QFile::exists(programDir.filePath("Recording 1.m3u")));

    // Settings that cannot be written are told to a user who closes the window (the
    // helper windows' case), but a run that ends the program leaves nobody to answer.
    QFile::remove(programDir.filePath("settings.dat"));
    QDir().mkdir(programDir.filePath("settings.dat"));
    w.ui.startRecording->click();
    tick("Timer1");
    player.playThrough();
    player.playThrough();
    EXPECT_EQ(ended.size(), 4);
    EXPECT_EQ(dialogs.takeWarnings(), QStringList());
}

// Between a cassette's sides the status frame says what to do, over a Continue
// button that exists only then and works from the keyboard, and "Stop recording"
// still stops.
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
        EXPECT_FALSE(w.findChild<QPushButton*>("Continue"));
        player.finish();

        SCOPED_TRACE(stopped ? "stopped" : "continued");
        const QPointer<QPushButton> button = w.findChild<QPushButton*>("Continue");
        ASSERT_TRUE(button && button->isVisible() && w.ui.statusFrame->isAncestorOf(button));
        EXPECT_EQ(w.focusWidget(), button);
        EXPECT_EQ(w.ui.nowPlayingLabel->text(), "Side A done: turn the cassette over, start the recorder, press Continue");

        stopped ? w.ui.stopRecording->click() : QTest::keyClick(button, Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(button);
        EXPECT_EQ(player.resumes.size(), 1); // let go by Continue only
        if (!stopped) {
            EXPECT_TRUE(w.ui.nowPlayingLabel->text().startsWith("Lead-in: track #2 in "));
            player.playThrough();
        }
        EXPECT_FALSE(w.busyState().recording());
    }
}

// A list too long for the chosen recorder is recorded only when the user says so
// (a list that fits is never asked about: the other tests' runs start unasked).
TEST_F(MainWindowTest, startRecordingAsksBeforeAListThatDoesNotFit)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 3000, 2000}, {"/m/b.mp3", 600, 2000}});
    chooseRecorder(w.recorderWindow(), "minidisc-60-sp");
    dialogs.questionAnswers = {false, true};
    w.ui.startRecording->click();
    EXPECT_EQ(dialogs.questions.size(), 1u); // its words are medium_fit_test's
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
    recorderControl<QDoubleSpinBox>("LeadInBox")->setValue(1.5);
    choose(recorderControl<QComboBox>("OutputChoice"), 1);
    Q_EMIT w.session().output().keepOffProblem("Other sounds cannot be kept off the recording: refused");
    EXPECT_EQ(recorderControl<QLabel>("OutputNotice")->text(), "Other sounds cannot be kept off the recording: refused");
    w.close();

    load();
    EXPECT_EQ(std::tuple(window->recorderWindow().recorder().id, recorderControl<QSpinBox>("LeaderBox")->value(),
                         recorderControl<QCheckBox>("DeckTitlesBox")->isChecked(),
                         recorderControl<QDoubleSpinBox>("LeadInBox")->value(),
                         recorderControl<QComboBox>("OutputChoice")->currentText()),
              std::tuple(QStringLiteral("cassette-c60"), 10, true, 1.5, QStringLiteral("Line out to the deck")));
}

// What the scan reads follows the list with the Recorder window hidden; a failure on
// the way is told once the window shows, and the program and the list stay. The
// window's suggested gap becomes the default, and it closes with the main window.
TEST_F(MainWindowTest, aFailureWhileTheScanFollowsTheListIsToldInTheRecorderWindowAndTheListStays)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", 100, 2000}, {"/cd/Track01.cda", 100, 2000}});
    discs.failure = "The drive does not answer.";
    w.playlist().setGap(0, 3000);
    EXPECT_TRUE(dialogs.takeWarnings().isEmpty());
    w.show();
    // Without a volume control program its button gives way to the hot keys.
    EXPECT_TRUE(!w.ui.volumeControl->isVisible() && w.ui.hotKeysText->isVisible());
    w.ui.recorder->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.takeWarnings(), QStringList({"The drive does not answer."}));
    EXPECT_TRUE(w.playlist().count() == 2 && w.recorderWindow().isVisible());
    discs.failure.clear();
    chooseRecorder(w.recorderWindow(), "cassette-c60");
    w.recorderWindow().findChild<QPushButton*>("UseSuggestedGapButton")->click();
    EXPECT_EQ(w.ui.defaultGapEdit->text(), "4");
    w.close();
    EXPECT_FALSE(w.recorderWindow().isVisible());
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
    const auto* trackList = recorder.findChild<QPlainTextEdit*>("TrackListText");
    const auto* meter = recorder.findChild<QWidget*>("LevelMeter");
    // As it opens; then a cassette's sides and lines, and a custom recorder's figures.
    for (const char* id : {"", "cassette-c60", "custom"}) {
        if (*id)
            chooseRecorder(recorder, id);
        QCoreApplication::processEvents();
        EXPECT_LE(std::max(recorder.height(), (*id ? recorder.minimumSizeHint() : recorder.sizeHint()).height()),
                  768 - 60 - 30) << id; // a panel and a title bar
        EXPECT_LE(std::max(recorder.width(), recorder.minimumSizeHint().width()), 1366) << id;
        EXPECT_GE(meter->height(), meter->sizeHint().height()) << "the meter is squeezed";
        EXPECT_TRUE(*id || trackList->viewport()->height() >= 8 * trackList->fontMetrics().lineSpacing());
    }
}

// The run hands each entry the gain its loudness mode gives it from what the scan
// measured: in Track mode two tracks 20 dB apart are played 20 dB apart the other way.
TEST_F(MainWindowTest, aRunPlaysEachEntryAtTheGainOfItsLoudness)
{
    MainWindow& w = load();
    sampleReader.sounds["/m/loud.wav"] = {FakeSampleReader::levels({{3, 0.5f}})};
    sampleReader.sounds["/m/quiet.wav"] = {FakeSampleReader::levels({{3, 0.05f}})};
    fill({{"/m/loud.wav", 3, 1000}, {"/m/quiet.wav", 3, 0}});
    w.ui.recorder->click();
    QPushButton* scan = buttonCalled(w.recorderWindow(), "&Scan list");
    ASSERT_TRUE(scan && QTest::qWaitFor([&] { return scan->isEnabled(); }, 10000));
    scan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
    choose(recorderControl<QComboBox>("LoudnessMode"), 1);
    w.ui.startRecording->click();
    tick("Timer1");
    player.playThrough();
    ASSERT_EQ(player.gains.size(), 2);
    EXPECT_LT(player.gains[0], -1);
    EXPECT_NEAR(player.gains[1] - player.gains[0], 20, 0.1);
}

TEST_F(MainWindowTest, helperWindowsShowTheirContentOpenOnceEvenDuringARunAndCloseWithTheMainWindow)
{
    MainWindow& w = load();
    w.show();
    // As during a run: the helpers stay at hand and leave the run alone.
    const BusyState::Claim run(w.busyState(), BusyState::Activity::Recording);
    auto* help = w.findChild<HelpWindows*>();
    ASSERT_TRUE(help);
    for (int twice = 0; twice < 2; ++twice) {
        QTest::mouseClick(w.ui.info, Qt::LeftButton);
        QTest::mouseClick(help->info()->viewCordScreenshot, Qt::LeftButton);
        QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    }
    InfoWindow* info = help->info();
    EXPECT_TRUE(info->helpTextBox->toPlainText().contains(u"Start recording")); // the help text was found
    EXPECT_EQ(std::tuple(w.findChildren<InfoWindow*>().size(), w.findChildren<CordWindow*>().size(),
                         w.findChildren<UpdateCheckWindow*>().size()), std::tuple(1, 1, 1));
    EXPECT_EQ(help->cordScreenshot()->cordPicture->pixmap().size(), QSize(339, 433)); // the picture was found
    // They close with it, even when its settings cannot be written.
    for (const bool open : {true, false}) {
        for (QWidget* helper : QList<QWidget*>{info, help->cordScreenshot(), help->updateCheck()})
            EXPECT_EQ(helper->isVisible(), open) << helper->objectName().toStdString();
        QDir(programDir.path()).mkdir("settings.dat"); // a folder where the file should go: told
        EXPECT_TRUE(!open || w.close());
    }
    EXPECT_EQ(dialogs.takeWarnings().size(), 1); // to the user who closed it
}

// A CD without CD-Text put on the list is looked up: its title shows in the list's
// tool-tip and in the track list (which saves it with its album: the recorder window's
// tests). A failed lookup says so in a word, never in a dialog.
TEST_F(MainWindowTest, aLookedUpTitleShowsInTheToolTipAndTheTrackList)
{
    LocalHttpServer server;
    server.respond(200, R"({"releases": [{"title": "Lento", "artist-credit": [{"name": "Ana"}], "media": [
        {"discs": [{"id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-"}], "tracks": [{"title": "Uno"}, {"title": "Dos"}]}]}]})");
    discs.setDisc("/media/cdrom", exampleDisc());
    AppServices withServer = services();
    withServer.discLookupAddress = server.address({});
    const auto open = [&] {
        window = std::make_unique<MainWindow>(withServer);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    };
    open();
    QSignalSpy changed(&window->model(), &QAbstractItemModel::dataChanged);
    fill({ { "/media/cdrom/Track02.cda", 216, 2000 }, { "/music/song.mp3", 100, 2000 } });
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(window->model().index(0, 1).data(Qt::ToolTipRole).toString(), "Ana - Dos");
    EXPECT_FALSE(window->model().index(1, 1).data(Qt::ToolTipRole).isValid());
    window->recorderWindow().show();
    QTest::qWait(10);
    EXPECT_TRUE(window->recorderWindow().findChild<QPlainTextEdit*>("TrackListText")->toPlainText().contains("1. Ana - Dos"));
    window->recorderWindow().close();

    server.respond(404, {});
    Disc unknown = exampleDisc();
    unknown.leadOut += 75;
    discs.setDisc("/media/cdrom", unknown);
    open();
    fill({ { "/media/cdrom/Track02.cda", 216, 2000 } });
    QLabel* label = window->ui.nowPlayingLabel;
    EXPECT_TRUE(QTest::qWaitFor([label] { return !label->text().isEmpty(); }, 5000));
    EXPECT_EQ(std::pair(label->text(), label->toolTip()),
              std::pair(QString("No CD titles online"), QString("CD titles not looked up: 127.0.0.1 does not know the disc.")));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The cable check and a run both play to the output: neither starts while the other
// plays. The Recorder window shows the listening as it begins, what came back once the
// run is over, which it saves, and why it ended early. The received sound can be kept
// once an input is chosen.
TEST_F(MainWindowTest, theListeningShowsInTheRecorderWindowAndNeverPlaysWithTheCableCheck)
{
    soundInputs.list = {{QStringLiteral("line_in.monitor"), QStringLiteral("Line-in"), 44100}};
    MainWindow& w = load();
    fill({{"/music/song.mp3", 2, 2000}});
    QWidget& recorder = w.recorderWindow();
    recorder.show();
    auto* report = recorder.findChild<QPlainTextEdit*>("ListenReport");
    auto* keep = recorder.findChild<QCheckBox*>("KeepReceivedSoundBox");
    auto* button = recorder.findChild<QPushButton*>("CheckCableButton");
    EXPECT_FALSE(report->isVisible() || keep->isEnabled());
    auto* listen = recorder.findChild<QComboBox*>("ListenBackChoice");
    choose(listen, listen->findData(QStringLiteral("line_in.monitor")));
    ASSERT_TRUE(button->isEnabled());
    button->click();
    w.ui.startRecording->click();
    EXPECT_EQ(dialogs.takeWarnings(),
              QStringList("The cable check is playing to the output: start the recording when it is done."));
    EXPECT_FALSE(w.busyState().recording());
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 10000));
    EXPECT_EQ(cableProbe.probes, 1);

    keep->click();
    EXPECT_TRUE(w.session().outputChoice().keepReceivedSound);
    w.ui.startRecording->click();
    EXPECT_TRUE(w.busyState().recording() && !button->isEnabled());
    EXPECT_EQ(report->toPlainText(), "Listening on Line-in while the run plays...");
    inputListener.hear(std::vector<float>(44100 * 2, 0.25f));
    w.ui.stopRecording->click();
    EXPECT_TRUE(button->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->toPlainText().startsWith("What the recorder received:\n1. song: "); }, 5000));
    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("received.txt")});
    recorder.findChild<QPushButton*>("SaveReportButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("received.txt")), report->toPlainText().replace("\n", "\r\n").toUtf8() + "\r\n");
    w.ui.startRecording->click();
    inputListener.lose(QStringLiteral("The input was unplugged."));
    QCoreApplication::processEvents();
    EXPECT_TRUE(report->toPlainText().startsWith("The listening ended: The input was unplugged."));
    recorder.close();
}
