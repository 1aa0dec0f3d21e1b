#include "help_windows/help_windows.h"

#include "common/flat_button.h"
#include "support/main_window_fixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {

HelpWindows& helpWindows(MainWindow& window)
{
    auto* help = window.findChild<HelpWindows*>();
    EXPECT_NE(help, nullptr);
    return *help;
}

// What a recording run owns in the main window, to see that the helpers leave it be.
struct RunState {
    bool busy;
    bool recording;
    QList<bool> buttonsEnabled;
    QString playing;
    bool timer1;

    static RunState of(MainWindow& w)
    {
        QList<bool> enabled;
        for (QWidget* b : {w.ui.addFiles, w.ui.clearList, w.ui.shuffle, w.ui.startRecording, w.ui.stopRecording,
                           w.ui.loadPlaylist, w.ui.savePlaylist})
            enabled << b->isEnabled();
        return {w.busy, w.recording, enabled, w.ui.Label5->text(), w.ui.Timer1->isActive()};
    }
    bool operator==(const RunState&) const = default;
};

} // namespace

TEST_F(MainWindowTest, eachHelperWindowExistsOnceAndComesBackRaised)
{
    MainWindow& w = load();
    w.show();
    HelpWindows& help = helpWindows(w);

    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    Form2* info = help.info();
    ASSERT_NE(info, nullptr);
    info->close();
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    EXPECT_EQ(help.info(), info);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(w.findChildren<Form2*>().size(), 1);

    QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
    QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
    EXPECT_EQ(w.findChildren<Form4*>().size(), 1);
    EXPECT_TRUE(help.cordScreenshot()->isVisible());

    QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    EXPECT_EQ(w.findChildren<Form8*>().size(), 1);
    EXPECT_TRUE(help.updateCheck()->isVisible());
}

TEST_F(MainWindowTest, theInfoWindowShowsTheHelpAndTheCordPicture)
{
    MainWindow& w = load();
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    Form2* info = helpWindows(w).info();
    EXPECT_EQ(info->windowTitle(), u"Info");
    EXPECT_TRUE(info->Text1->isReadOnly());
    EXPECT_TRUE(info->Text1->toPlainText().contains(u"Start recording")); // the help text was found

    QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
    Form4* cord = helpWindows(w).cordScreenshot();
    EXPECT_EQ(cord->windowTitle(), u"Cord screenshot");
    EXPECT_EQ(cord->Image1->pixmap().size(), QSize(339, 433));
    EXPECT_EQ(cord->size(), QSize(339, 433));
}

TEST_F(MainWindowTest, helperWindowsComeAndGoDuringARunWithoutTouchingIt)
{
    MainWindow& w = load();
    fill({{"/music/a.mp3", "215", 2000}, {"/music/b.mp3", "180", 2000}});
    w.show();
    w.busy = true;
    w.recording = true;
    w.da();
    w.ui.shuffle->setEnabled(false);
    w.ui.Label5->setText(QStringLiteral("Track 1"));
    const RunState before = RunState::of(w);

    EXPECT_TRUE(w.ui.info->isEnabled());
    EXPECT_TRUE(w.ui.checkForUpdate->isEnabled());
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    QTest::mouseClick(helpWindows(w).info()->viewCordScreenshot, Qt::LeftButton);
    QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    EXPECT_TRUE(helpWindows(w).info()->isVisible());
    helpWindows(w).cordScreenshot()->close();
    helpWindows(w).info()->close();
    helpWindows(w).updateCheck()->close();

    EXPECT_TRUE(RunState::of(w) == before);
    EXPECT_EQ(w.table().lastIndex(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, closingTheMainWindowClosesTheHelperWindows)
{
    MainWindow& w = load();
    w.show();
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    QTest::mouseClick(helpWindows(w).info()->viewCordScreenshot, Qt::LeftButton);
    QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    w.close();
    EXPECT_FALSE(helpWindows(w).info()->isVisible());
    EXPECT_FALSE(helpWindows(w).cordScreenshot()->isVisible());
    EXPECT_FALSE(helpWindows(w).updateCheck()->isVisible());
}
