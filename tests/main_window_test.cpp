#include "support/main_window_fixture.h"

#include "support/file_bytes.h"

#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"

#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace {

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

TEST_F(MainWindowTest, everyControlStandsAtItsPlaceWithItsCaption)
{
    MainWindow& w = load();
    EXPECT_EQ(w.objectName(), "Form1");
    EXPECT_EQ(w.windowTitle(), "Trelvik v1.6.5 - Freeware");
    EXPECT_EQ(w.size(), QSize(705, 459));

    const struct {
        const char* name;
        const char* caption;
        QRect where;
    } controls[] = {
        {"Frame1", "Playlist", twips(120, 0, 8055, 6735)},
        {"ListView1", nullptr, twips(120, 240, 7455, 5775)},
        {"UpDown1", nullptr, twips(7680, 5400, 240, 615)},
        {"AddFilesButton", "&Add files", twips(120, 6120, 735, 450)},
        {"ClearListButton", "&Clear list", twips(960, 6120, 735, 450)},
        {"ShuffleButton", "&Shuffle", twips(1800, 6120, 735, 450)},
        {"StartRecordingButton", "Start recording", twips(2640, 6120, 1215, 450)},
        {"StopRecordingButton", "Stop recording", twips(3960, 6120, 1215, 450)},
        {"LoadPlaylistButton", "&Load playlist", twips(5280, 6120, 1095, 450)},
        {"SavePlaylistButton", "&Save playlist", twips(6480, 6120, 1095, 450)},
        {"Label1", "Default gap (sec):", twips(8280, 120, 1335, 255)},
        {"Text1", "2.0", twips(9720, 120, 495, 285)},
        {"Label2", "Total time:", twips(8280, 480, 2175, 255)},
        {"Frame2", "Recording status", twips(8280, 840, 2175, 1695)},
        {"Label5", "", twips(120, 240, 1935, 255)},
        {"Label3", "Left of track:", twips(120, 480, 1935, 255)},
        {"ProgressBar1", nullptr, twips(120, 720, 1935, 255)},
        {"Label4", "Left of total:", twips(120, 1080, 1935, 255)},
        {"ProgressBar2", nullptr, twips(120, 1320, 1935, 255)},
        {"Frame3", "Hot keys", twips(8280, 2520, 2175, 1335)},
        {"Text2", "Delete track = Del\nChange gap length = F2\nMove track=\nShift+up/down\n", twips(120, 240, 1935, 975)},
        {"VolumeControlButton", "", twips(1560, 720, 585, 585)},
        {"Frame4", "When done", twips(8280, 3840, 2175, 1575)},
        {"Check1", "Save playlist", twips(120, 240, 1935, 255)},
        {"Option1", "M3U", twips(120, 600, 735, 255)},
        {"Option2", "PLS", twips(960, 600, 735, 255)},
        {"Check2", "Exit program", twips(120, 960, 1935, 255)},
        {"Check3", "Shut down computer", twips(120, 1200, 1935, 255)},
        {"InfoButton", "&Info", twips(8280, 5520, 2175, 375)},
        {"CheckForUpdateButton", "Check for product &update", twips(8280, 6000, 2175, 375)},
        {"LinkLabel1", "Velkor Software's homepage", twips(8280, 6480, 2175, 255)},
    };
    for (const auto& c : controls) {
        auto* control = w.findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.where) << c.name;
        if (!c.caption)
            continue;
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(control))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(control))
            caption = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(control))
            caption = g->title();
        else if (auto* e = qobject_cast<QLineEdit*>(control))
            caption = e->text();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(control))
            caption = t->toPlainText();
        EXPECT_EQ(caption, c.caption) << c.name;
    }
    for (const char* timer : {"Timer1", "Timer3", "Timer4"}) {
        auto* t = w.findChild<QTimer*>(QLatin1String(timer));
        ASSERT_NE(t, nullptr) << timer;
        EXPECT_FALSE(t->isActive()) << timer;
    }
    EXPECT_EQ(w.ui.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(w.ui.Timer3->interval(), 300);
    EXPECT_EQ(w.ui.Timer4->interval(), 1000);
}

TEST_F(MainWindowTest, controlsWithoutCaptionCarryAccessibleNames)
{
    MainWindow& w = load();
    EXPECT_EQ(w.ui.ListView1->accessibleName(), "Playlist");
    EXPECT_EQ(w.ui.Label1->buddy(), w.ui.Text1);
    EXPECT_EQ(w.ui.UpDown1->upButton()->accessibleName(), "Move up");
    EXPECT_EQ(w.ui.UpDown1->downButton()->accessibleName(), "Move down");
    EXPECT_EQ(w.ui.ProgressBar1->accessibleName(), "Track progress");
    EXPECT_EQ(w.ui.ProgressBar2->accessibleName(), "Total progress");
    EXPECT_EQ(w.ui.volumeControl->accessibleName(), "Volume control");
}

TEST_F(MainWindowTest, startsEmptyWithFourColumns)
{
    MainWindow& w = load();
    EXPECT_EQ(w.table().lastIndex(), -1);
    EXPECT_EQ(w.model().rowCount(), 0);
    const char* headers[] = {"Track", "File", "Length", "Gap (sec)"};
    const int widths[] = {40, 323, 53, 66};
    ASSERT_EQ(w.model().columnCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.model().headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), headers[i]);
        EXPECT_EQ(w.ui.ListView1->header()->sectionSize(i), widths[i]);
    }
    EXPECT_EQ(w.ui.Label2->text(), "Total time:");
    EXPECT_EQ(w.ui.Frame1->title(), "Playlist");
    for (FlatButton* b : {w.ui.addFiles, w.ui.clearList, w.ui.startRecording, w.ui.stopRecording,
                          w.ui.loadPlaylist, w.ui.savePlaylist})
        EXPECT_TRUE(b->isEnabled());
    // The CD drive is opened with the time format everything else reads.
    EXPECT_EQ(cdDevice.commands, QByteArrayList({"close all", "open cdaudio alias cd wait shareable",
                                                 "set cd time format tmsf wait"}));
}

TEST_F(MainWindowTest, rowsMirrorTheTableAndTheTotalFollows)
{
    MainWindow& w = load();
    fill({{"/m/a.mp3", "215", 2000}, {"/m/b.mp3", "180", 1500}});
    ASSERT_EQ(w.model().rowCount(), 2);
    EXPECT_EQ(w.model().index(1, 0).data().toString(), "2");
    EXPECT_EQ(w.model().index(1, 1).data().toString(), "/m/b.mp3");
    EXPECT_EQ(w.model().index(0, 2).data().toString(), "03:35");
    EXPECT_EQ(w.model().index(1, 3).data().toString(), "1.5");
    EXPECT_EQ(w.ui.Label2->text(), "Total time: 06:37");
    EXPECT_EQ(w.ui.Frame1->title(), "Playlist - 2 files");
    EXPECT_DOUBLE_EQ(w.playlistTotal(), 397);
    EXPECT_FALSE(w.model().flags(w.model().index(0, 0)) & Qt::ItemIsEditable);

    w.table().clear();
    w.udlista();
    w.räknatid();
    EXPECT_EQ(w.model().rowCount(), 0);
    EXPECT_EQ(w.ui.Label2->text(), "Total time: 00:00");
    EXPECT_EQ(w.ui.Frame1->title(), "Playlist");
}

TEST_F(MainWindowTest, daAndEaSwitchTheSixCommandButtons)
{
    MainWindow& w = load();
    const QList<FlatButton*> six = {w.ui.addFiles, w.ui.clearList, w.ui.startRecording,
                                    w.ui.stopRecording, w.ui.loadPlaylist, w.ui.savePlaylist};
    w.da();
    for (FlatButton* b : six) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->captionColor(), QColor(0x80, 0x80, 0x80));
    }
    QSignalSpy clicks(w.ui.addFiles, &QPushButton::clicked);
    QTest::mouseClick(w.ui.addFiles, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    for (FlatButton* b : {w.ui.shuffle, w.ui.info, w.ui.checkForUpdate})
        EXPECT_TRUE(b->isEnabled());
    w.ea();
    for (FlatButton* b : six) {
        EXPECT_TRUE(b->isEnabled());
        EXPECT_EQ(b->captionColor(), QColor(Qt::black));
    }
}

TEST_F(MainWindowTest, whenDoneBoxesFollowTheirRules)
{
    MainWindow& w = load();
    EXPECT_FALSE(w.ui.Option1->isEnabled());
    QTest::mouseClick(w.ui.Check1, Qt::LeftButton);
    EXPECT_TRUE(w.ui.Option1->isEnabled());
    EXPECT_TRUE(w.ui.Option2->isEnabled());
    w.ui.Option2->setChecked(true);
    QTest::mouseClick(w.ui.Check1, Qt::LeftButton);
    EXPECT_FALSE(w.ui.Option1->isEnabled());
    EXPECT_TRUE(w.ui.Option2->isChecked()) << "unticking keeps the chosen format";

    QTest::mouseClick(w.ui.Check3, Qt::LeftButton);
    EXPECT_EQ(w.ui.Check2->value(), 1) << "shutting down means exiting";
    QTest::mouseClick(w.ui.Check2, Qt::LeftButton);
    EXPECT_EQ(w.ui.Check2->value(), 1) << "exit cannot be switched off while shut down is on";
    QTest::mouseClick(w.ui.Check3, Qt::LeftButton);
    EXPECT_EQ(w.ui.Check2->value(), 1);
    QTest::mouseClick(w.ui.Check2, Qt::LeftButton);
    EXPECT_EQ(w.ui.Check2->value(), 0);
}

TEST_F(MainWindowTest, firstStartUsesTheDefaultsAndClosingWritesTheChoices)
{
    MainWindow& w = load();
    EXPECT_EQ(w.ui.Check1->value(), 0);
    EXPECT_EQ(w.ui.Check2->value(), 0);
    EXPECT_EQ(w.ui.Check3->value(), 0);
    EXPECT_TRUE(w.ui.Option1->isChecked());
    EXPECT_FALSE(QFile::exists(programDir.filePath("settings.dat")));
    w.close();
    EXPECT_EQ(bytesOf(programDir.filePath("settings.dat")), " 0 \r\n1\r\n 0 \r\n 0 \r\n");
}

TEST_F(MainWindowTest, settingsAreReadAsIfTheBoxesWereClicked)
{
    const struct {
        QByteArray file;
        int save, exit, shutdown;
        bool pls, optionsEnabled;
    } cases[] = {
        {"1\r\n2\r\n0\r\n0\r\n", 1, 0, 0, true, true},
        {"0\r\n1\r\n0\r\n1\r\n", 0, 1, 1, false, false}, // shut down brings exit along
        {"1\r\n3\r\n1\r\n0\r\n", 1, 1, 0, false, true},  // an unknown format keeps M3U
        {" 2 \r\n2\r\n", 2, 0, 0, true, false},          // greyed is kept, but is not ticked
        {"garbage", 0, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        writeBytes(programDir.filePath("settings.dat"), c.file);
        MainWindow& w = load();
        EXPECT_EQ(w.ui.Check1->value(), c.save) << c.file.toStdString();
        EXPECT_EQ(w.ui.Check2->value(), c.exit) << c.file.toStdString();
        EXPECT_EQ(w.ui.Check3->value(), c.shutdown) << c.file.toStdString();
        EXPECT_EQ(w.ui.Option2->isChecked(), c.pls) << c.file.toStdString();
        EXPECT_EQ(w.ui.Option1->isChecked(), !c.pls) << c.file.toStdString();
        EXPECT_EQ(w.ui.Option2->isEnabled(), c.optionsEnabled) << c.file.toStdString();
    }
}

TEST_F(MainWindowTest, restartKeepsTheBoxesButNotTheGapOrThePlaylist)
{
    MainWindow& first = load();
    fill({{"/m/a.mp3", "10", 2000}});
    first.ui.Text1->setText("5");
    QTest::mouseClick(first.ui.Check1, Qt::LeftButton);
    first.ui.Option2->setChecked(true);
    QTest::mouseClick(first.ui.Check3, Qt::LeftButton);
    first.close();

    MainWindow& second = load();
    EXPECT_EQ(second.ui.Check1->value(), 1);
    EXPECT_TRUE(second.ui.Option2->isChecked());
    EXPECT_EQ(second.ui.Check2->value(), 1);
    EXPECT_EQ(second.ui.Check3->value(), 1);
    EXPECT_EQ(second.ui.Text1->text(), "2.0");
    EXPECT_EQ(second.model().rowCount(), 0);
}

TEST_F(MainWindowTest, unwritableSettingsDoNotStopTheWindowFromClosing)
{
    MainWindow& w = load();
    QDir(programDir.path()).mkdir("settings.dat"); // a folder where the file should go
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(QFileInfo(programDir.filePath("settings.dat")).isDir());
}

TEST_F(MainWindowTest, volumeButtonIsHiddenWithoutAVolumeControl)
{
    MainWindow& w = load();
    w.show();
    EXPECT_FALSE(w.ui.volumeControl->isVisible());
    EXPECT_FALSE(w.ui.volumeControl->isEnabled());
    EXPECT_TRUE(w.ui.Text2->isVisible());
}

TEST_F(MainWindowTest, closingTheWindowClosesItsHelperWindows)
{
    MainWindow& w = load();
    QWidget helper;
    helper.show();
    w.closeWithWindow(&helper);
    w.show();
    w.close();
    EXPECT_FALSE(helper.isVisible());
}
