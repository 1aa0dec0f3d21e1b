#include "help_windows/help_windows.h"

#include "common/flat_button.h"
#include "support/main_window_fixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

TEST_F(MainWindowTest, helperWindowsOpenOnceEvenDuringARunAndCloseWithTheMainWindow)
{
    MainWindow& w = load();
    fill({{"/music/a.mp3", "215", 2000}});
    w.show();
    // As during a run: the helpers stay at hand and leave the run alone.
    w.busy = w.recording = true;
    w.da();
    w.ui.Label5->setText(QStringLiteral("Track 1"));
    auto* help = w.findChild<HelpWindows*>();
    ASSERT_NE(help, nullptr);

    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    Form2* info = help->info();
    ASSERT_NE(info, nullptr);
    info->close();
    for (int twice = 0; twice < 2; ++twice) {
        QTest::mouseClick(w.ui.info, Qt::LeftButton);
        QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
        QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    }
    EXPECT_EQ(help->info(), info);
    EXPECT_EQ(w.findChildren<Form2*>().size(), 1);
    EXPECT_EQ(w.findChildren<Form4*>().size(), 1);
    EXPECT_EQ(w.findChildren<Form8*>().size(), 1);
    const QList<QWidget*> helpers = {info, help->cordScreenshot(), help->updateCheck()};
    for (QWidget* helper : helpers)
        EXPECT_TRUE(helper->isVisible()) << helper->objectName().toStdString();

    EXPECT_TRUE(w.busy && w.recording);
    EXPECT_FALSE(w.ui.addFiles->isEnabled());
    EXPECT_EQ(w.ui.Label5->text(), u"Track 1");
    EXPECT_EQ(w.table().lastIndex(), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    w.close();
    for (QWidget* helper : helpers)
        EXPECT_FALSE(helper->isVisible()) << helper->objectName().toStdString();
}

TEST_F(MainWindowTest, theInfoWindowShowsTheHelpAndTheCordPicture)
{
    MainWindow& w = load();
    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    Form2* info = w.findChild<HelpWindows*>()->info();
    EXPECT_EQ(info->windowTitle(), u"Info");
    EXPECT_TRUE(info->Text1->isReadOnly());
    EXPECT_TRUE(info->Text1->toPlainText().contains(u"Start recording")); // the help text was found

    QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
    Form4* cord = w.findChild<HelpWindows*>()->cordScreenshot();
    EXPECT_EQ(cord->windowTitle(), u"Cord screenshot");
    EXPECT_EQ(cord->Image1->pixmap().size(), QSize(339, 433));
    EXPECT_EQ(cord->size(), QSize(339, 433));
}
