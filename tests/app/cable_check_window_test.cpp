#include "support/main_window_fixture.h"
#include "support/window_controls.h"

#include "common/flat_button.h"
#include "recorder/recorder_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// The cable check and a run both play to the output: neither starts while the other plays.
TEST_F(MainWindowTest, aRunAndTheCableCheckNeverPlayTogether)
{
    soundInputs.list = {{QStringLiteral("line_in.monitor"), QStringLiteral("Line-in"), 44100}};
    MainWindow& w = load();
    fill({{"/music/song.mp3", 100, 2000}});
    QWidget& recorder = w.recorderWindow();
    recorder.show();
    auto* button = recorder.findChild<QPushButton*>("CheckCableButton");
    EXPECT_FALSE(button->isEnabled());
    auto* listen = recorder.findChild<QComboBox*>("ListenBackChoice");
    choose(listen, listen->findData(QStringLiteral("line_in.monitor")));
    ASSERT_TRUE(button->isEnabled());

    button->click();
    w.ui.startRecording->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages.back().text,
              "The cable check is playing to the output: start the recording when it is done.");
    EXPECT_FALSE(w.busyState().recording());
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 10000));
    EXPECT_TRUE(recorder.findChild<QLabel*>("CableReport")->text().startsWith("Round trip: 10 ms."));

    w.ui.startRecording->click();
    EXPECT_TRUE(w.busyState().recording());
    EXPECT_FALSE(button->isEnabled());
    w.ui.stopRecording->click();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(cableProbe.probes, 1);
    recorder.close();
}
