#include "support/main_window_fixture.h"

#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <tuple>

namespace {

// The design measures in twips, 15 to the pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// The "When done" boxes: save, exit, shut down, PLS chosen, M3U chosen, formats enabled.
auto whenDone(const MainWindow& w)
{
    return std::tuple(w.ui.Check1->value(), w.ui.Check2->value(), w.ui.Check3->value(), w.ui.Option2->isChecked(),
                      w.ui.Option1->isChecked(), w.ui.Option2->isEnabled());
}

} // namespace

TEST_F(MainWindowTest, opensWithEveryControlInPlaceAndAnEmptyPlaylist)
{
    MainWindow& w = load();
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
        const char* caption = qobject_cast<QGroupBox*>(control)        ? "title"
                              : qobject_cast<QPlainTextEdit*>(control) ? "plainText"
                                                                       : "text";
        EXPECT_EQ(control->property(caption).toString(), QString::fromUtf8(c.caption)) << c.name;
    }
    // Controls without a caption of their own are named for screen readers.
    const std::pair<QWidget*, const char*> named[] = {
        {w.ui.ListView1, "Playlist"},           {w.ui.UpDown1->upButton(), "Move up"},
        {w.ui.UpDown1->downButton(), "Move down"}, {w.ui.ProgressBar1, "Track progress"},
        {w.ui.ProgressBar2, "Total progress"},   {w.ui.volumeControl, "Volume control"},
    };
    for (const auto& [control, name] : named)
        EXPECT_EQ(control->accessibleName(), QString::fromUtf8(name));
    EXPECT_EQ(w.ui.Label1->buddy(), w.ui.Text1);

    const char* headers[] = {"Track", "File", "Length", "Gap (sec)"};
    const int widths[] = {40, 323, 53, 66};
    ASSERT_EQ(w.model().columnCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.model().headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), headers[i]);
        EXPECT_EQ(w.ui.ListView1->header()->sectionSize(i), widths[i]);
    }
    EXPECT_EQ(w.table().lastIndex(), -1);
    EXPECT_EQ(w.model().rowCount(), 0);
    for (QTimer* timer : {w.ui.Timer1, w.ui.Timer3, w.ui.Timer4})
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    // The CD drive is opened with the time format everything else reads.
    EXPECT_EQ(cdDevice.commands, QByteArrayList({"close all", "open cdaudio alias cd wait shareable",
                                                 "set cd time format tmsf wait"}));

    // Without a volume control program its button gives way to the hot keys.
    w.show();
    EXPECT_FALSE(w.ui.volumeControl->isVisible());
    EXPECT_FALSE(w.ui.volumeControl->isEnabled());
    EXPECT_TRUE(w.ui.Text2->isVisible());
}

TEST_F(MainWindowTest, daAndEaSwitchTheSixCommandButtonsOnly)
{
    MainWindow& w = load();
    const QList<FlatButton*> six = {w.ui.addFiles, w.ui.clearList, w.ui.startRecording,
                                    w.ui.stopRecording, w.ui.loadPlaylist, w.ui.savePlaylist};
    w.da();
    for (FlatButton* b : six) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->captionColor(), QColor(0x80, 0x80, 0x80));
    }
    for (FlatButton* b : {w.ui.shuffle, w.ui.info, w.ui.checkForUpdate})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    w.ea();
    for (FlatButton* b : six) {
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->captionColor(), QColor(Qt::black));
    }
}

TEST_F(MainWindowTest, whenDoneBoxesFollowTheirRules)
{
    MainWindow& w = load();
    EXPECT_EQ(whenDone(w), std::tuple(0, 0, 0, false, true, false));
    const struct {
        QAbstractButton* clicked;
        std::tuple<int, int, int, bool, bool, bool> after;
        const char* why;
    } clicks[] = {
        {w.ui.Check1, {1, 0, 0, false, true, true}, "saving offers the formats"},
        {w.ui.Option2, {1, 0, 0, true, false, true}, "PLS chosen"},
        {w.ui.Check1, {0, 0, 0, true, false, false}, "unticking keeps the chosen format"},
        {w.ui.Check3, {0, 1, 1, true, false, false}, "shutting down means exiting"},
        {w.ui.Check2, {0, 1, 1, true, false, false}, "exit stays on while shut down is"},
        {w.ui.Check3, {0, 1, 0, true, false, false}, "exit stays on after shut down"},
        {w.ui.Check2, {0, 0, 0, true, false, false}, "exit alone goes off"},
    };
    for (const auto& c : clicks) {
        QTest::mouseClick(c.clicked, Qt::LeftButton);
        EXPECT_EQ(whenDone(w), c.after) << c.why;
    }
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
        EXPECT_EQ(whenDone(load()), std::tuple(c.save, c.exit, c.shutdown, c.pls, !c.pls, c.optionsEnabled))
            << c.file.toStdString();
    }
}

TEST_F(MainWindowTest, closingKeepsTheBoxesForTheNextStartButNotTheGapOrThePlaylist)
{
    const QString settings = programDir.filePath("settings.dat");
    MainWindow& fresh = load();
    EXPECT_FALSE(QFile::exists(settings)) << "reading does not create the file";
    fresh.close();
    EXPECT_EQ(bytesOf(settings), " 0 \r\n1\r\n 0 \r\n 0 \r\n"); // the first start's defaults

    MainWindow& first = load();
    fill({{"/m/a.mp3", "10", 2000}});
    first.ui.Text1->setText("5");
    QTest::mouseClick(first.ui.Check1, Qt::LeftButton);
    first.ui.Option2->setChecked(true);
    QTest::mouseClick(first.ui.Check3, Qt::LeftButton);
    first.close();
    EXPECT_EQ(bytesOf(settings), " 1 \r\n2\r\n 1 \r\n 1 \r\n");

    MainWindow& second = load();
    EXPECT_EQ(whenDone(second), std::tuple(1, 1, 1, true, false, true));
    EXPECT_EQ(second.ui.Text1->text(), "2.0");
    EXPECT_EQ(second.model().rowCount(), 0);
}

TEST_F(MainWindowTest, closingClosesTheHelperWindowsEvenWhenSettingsCannotBeWritten)
{
    MainWindow& w = load();
    QDir(programDir.path()).mkdir("settings.dat"); // a folder where the file should go
    QWidget helper;
    helper.show();
    w.closeWithWindow(&helper);
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(helper.isVisible());
    EXPECT_TRUE(QFileInfo(programDir.filePath("settings.dat")).isDir());
}
