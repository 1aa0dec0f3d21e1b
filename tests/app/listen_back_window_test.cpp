#include "support/file_bytes.h"
#include "support/main_window_fixture.h"
#include "support/window_controls.h"

#include <cmath>

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

// A run with an input to listen on is heard, and what came back is told after it; an
// input lost meanwhile ends only the listening.
TEST_F(ListenBackTest, aRunIsListenedToAndWhatCameBackIsToldAfterIt)
{
    QWidget& recorder = openWithAnInput(2);
    MainWindow& w = *window;
    auto* report = recorder.findChild<QPlainTextEdit*>("ListenReport");
    EXPECT_FALSE(report->isVisible());
    w.ui.startRecording->click();
    EXPECT_EQ(inputListener.starts, 0); // none chosen
    w.ui.stopRecording->click();

    chooseTheInput(recorder);
    w.ui.startRecording->click();
    EXPECT_EQ(inputListener.input, "line_in.monitor");
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(report->toPlainText(), "Listening on Line-in while the run plays...");
    std::vector<float> tone;
    for (int i = 0; i < 44100 * 2; ++i) {
        const float sample = float(0.25 * std::sin(2 * M_PI * 1000 * i / 44100.0));
        tone.insert(tone.end(), {sample, sample});
    }
    inputListener.hear(tone);
    w.ui.stopRecording->click();
    inputListener.hear(std::vector<float>(4410 * 2)); // the cable's delay later, the last of it
    ASSERT_TRUE(QTest::qWaitFor([&] { return inputListener.input.isEmpty(); }, 5000));
    EXPECT_EQ(report->toPlainText(), "What the recorder received:\n1. song: peak -12.0 dB, level -12.0 dB");
    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("received.txt")});
    recorder.findChild<QPushButton*>("SaveReportButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("received.txt")), "What the recorder received:\r\n1. song: peak -12.0 dB, level -12.0 dB\r\n");

    w.ui.startRecording->click();
    inputListener.lose(QStringLiteral("The input was unplugged."));
    QCoreApplication::processEvents();
    EXPECT_EQ(report->toPlainText(), "The listening ended: The input was unplugged.");
    EXPECT_TRUE(w.busyState().recording()) << "the run goes on";
    w.ui.stopRecording->click();
    EXPECT_EQ(report->toPlainText(), "The listening ended: The input was unplugged.");
    EXPECT_TRUE(dialogs.messages.empty());
    recorder.close();
}

// Ticked, the run's received sound is kept as a WAV file, and the report says where.
TEST_F(ListenBackTest, theReceivedSoundIsKeptWhenAsked)
{
    QWidget& recorder = openWithAnInput(1);
    MainWindow& w = *window;
    auto* keep = recorder.findChild<QCheckBox*>("KeepReceivedSoundBox");
    EXPECT_FALSE(keep->isEnabled()) << "no input chosen";
    chooseTheInput(recorder);
    ASSERT_TRUE(keep->isEnabled());
    keep->click();

    w.ui.startRecording->click();
    inputListener.hear(std::vector<float>(44100 * 2, 0.5f));
    w.ui.stopRecording->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return inputListener.input.isEmpty(); }, 5000));
    const QStringList wavs = QDir(programDir.path()).entryList({"Trelvik received *.wav"});
    ASSERT_EQ(wavs.size(), 1);
    const QString path = QDir(programDir.path()).filePath(wavs[0]);
    EXPECT_EQ(QFileInfo(path).size(), 44 + 44100 * 4);
    EXPECT_TRUE(recorder.findChild<QPlainTextEdit*>("ListenReport")
                    ->toPlainText()
                    .endsWith("\nThe received sound is in " + path + "."));
    recorder.close();
}
