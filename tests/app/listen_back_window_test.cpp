#include "support/file_bytes.h"
#include "support/main_window_fixture.h"
#include "support/window_controls.h"

// A one-entry list with its Recorder window open, and one input to listen on.
class ListenBackTest : public MainWindowTest {
protected:
    QWidget& openWithAnInput(qint64 seconds)
    {
        soundInputs.list = {{QStringLiteral("line_in.monitor"), QStringLiteral("Line-in"), 44100}};
        load();
        fill({{"/music/song.mp3", seconds, 2000}});
        QWidget& recorder = window->recorderWindow();
        recorder.show();
        return recorder;
    }

    static void chooseTheInput(QWidget& recorder)
    {
        auto* listen = recorder.findChild<QComboBox*>("ListenBackChoice");
        choose(listen, listen->findData(QStringLiteral("line_in.monitor")));
    }
};

// The cable check and a run both play to the output: neither starts while the other plays.
TEST_F(ListenBackTest, aRunAndTheCableCheckNeverPlayTogether)
{
    QWidget& recorder = openWithAnInput(100);
    MainWindow& w = *window;
    auto* button = recorder.findChild<QPushButton*>("CheckCableButton");
    chooseTheInput(recorder);
    ASSERT_TRUE(button->isEnabled());

    button->click();
    w.ui.startRecording->click();
    EXPECT_EQ(dialogs.takeWarnings(),
              QStringList("The cable check is playing to the output: start the recording when it is done."));
    EXPECT_FALSE(w.busyState().recording());
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 10000));

    w.ui.startRecording->click();
    EXPECT_TRUE(w.busyState().recording());
    EXPECT_FALSE(button->isEnabled());
    w.ui.stopRecording->click();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(cableProbe.probes, 1);
    recorder.close();
}

// The Recorder window shows the listening as it begins, what came back once the run
// is over, which it saves, and why it ended early. The received sound can be kept
// once an input is chosen.
TEST_F(ListenBackTest, theRecorderWindowShowsWhatTheListeningHeard)
{
    QWidget& recorder = openWithAnInput(2);
    auto* report = recorder.findChild<QPlainTextEdit*>("ListenReport");
    auto* keep = recorder.findChild<QCheckBox*>("KeepReceivedSoundBox");
    EXPECT_FALSE(report->isVisible() || keep->isEnabled());
    chooseTheInput(recorder);
    keep->click();
    EXPECT_TRUE(window->session().outputChoice().keepReceivedSound);
    window->ui.startRecording->click();
    EXPECT_EQ(report->toPlainText(), "Listening on Line-in while the run plays...");
    inputListener.hear(std::vector<float>(44100 * 2, 0.25f));
    window->ui.stopRecording->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->toPlainText().startsWith("What the recorder received:\n1. song: "); }, 5000));
    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("received.txt")});
    recorder.findChild<QPushButton*>("SaveReportButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("received.txt")), report->toPlainText().replace("\n", "\r\n").toUtf8() + "\r\n");
    window->ui.startRecording->click();
    inputListener.lose(QStringLiteral("The input was unplugged."));
    QCoreApplication::processEvents();
    EXPECT_TRUE(report->toPlainText().startsWith("The listening ended: The input was unplugged."));
    recorder.close();
}
