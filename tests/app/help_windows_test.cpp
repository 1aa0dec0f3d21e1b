#include "help_windows/help_windows.h"

#include "support/main_window_fixture.h"

TEST_F(MainWindowTest, helperWindowsShowTheirContentOpenOnceEvenDuringARunAndCloseWithTheMainWindow)
{
    MainWindow& w = load();
    w.show();
    // As during a run: the helpers stay at hand and leave the run alone.
    const BusyState::Claim run(w.busyState(), BusyState::Activity::Recording);
    auto* help = w.findChild<HelpWindows*>();
    ASSERT_NE(help, nullptr);

    QTest::mouseClick(w.ui.info, Qt::LeftButton);
    InfoWindow* info = help->info();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->helpTextBox->toPlainText().contains(u"Start recording")); // the help text was found
    info->close();
    for (int twice = 0; twice < 2; ++twice) {
        QTest::mouseClick(w.ui.info, Qt::LeftButton);
        QTest::mouseClick(info->viewCordScreenshot, Qt::LeftButton);
        QTest::mouseClick(w.ui.checkForUpdate, Qt::LeftButton);
    }
    EXPECT_EQ(w.findChildren<InfoWindow*>().size(), 1);
    EXPECT_EQ(w.findChildren<CordWindow*>().size(), 1);
    EXPECT_EQ(w.findChildren<UpdateCheckWindow*>().size(), 1);
    EXPECT_EQ(help->cordScreenshot()->cordPicture->pixmap().size(), QSize(339, 433)); // the picture was found
    const QList<QWidget*> helpers = {info, help->cordScreenshot(), help->updateCheck()};
    for (QWidget* helper : helpers)
        EXPECT_TRUE(helper->isVisible()) << helper->objectName().toStdString();

    EXPECT_TRUE(dialogs.messages.empty());

    // They close with it, even when its settings cannot be written.
    QDir(programDir.path()).mkdir("settings.dat"); // a folder where the file should go
    EXPECT_TRUE(w.close());
    for (QWidget* helper : helpers)
        EXPECT_FALSE(helper->isVisible()) << helper->objectName().toStdString();
    EXPECT_TRUE(QFileInfo(programDir.filePath("settings.dat")).isDir());
}
