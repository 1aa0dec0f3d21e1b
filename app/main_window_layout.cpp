#include "app/main_window_controls.h"

#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "common/version.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeView>

namespace {

// The design measures in twips: 15 to the pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

template <typename Control>
Control* place(Control* control, const char* name, const QRect& where)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(where);
    return control;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, const QRect& where)
{
    return place(new QGroupBox(title, parent), name, where);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& where)
{
    return place(new QLabel(caption, parent), name, where);
}

FlatButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& where)
{
    return place(new FlatButton(caption, parent), name, where);
}

} // namespace

void buildMainWindow(QWidget* form, MainWindowControls& ui)
{
    form->setObjectName(QStringLiteral("Form1"));
    form->setWindowTitle(QStringLiteral("Trelvik v%1.%2.%3 - Freeware")
                             .arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    form->setFixedSize(twips(0, 0, 10575, 6885).size());

    ui.playlistFrame = frame(form, "Frame1", QStringLiteral("Playlist"), twips(120, 0, 8055, 6735));
    ui.playlistView = place(new QTreeView(ui.playlistFrame), "ListView1", twips(120, 240, 7455, 5775));
    ui.playlistView->setAccessibleName(QStringLiteral("Playlist"));
    ui.playlistView->setRootIsDecorated(false);
    ui.playlistView->setUniformRowHeights(true);
    ui.playlistView->setItemsExpandable(false);
    ui.playlistView->setAllColumnsShowFocus(true);
    ui.playlistView->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.playlistView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.playlistView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.playlistView->header()->setStretchLastSection(false);
    ui.moveButtons = place(new UpDownControl(ui.playlistFrame), "UpDown1", twips(7680, 5400, 240, 615));
    ui.addFiles = button(ui.playlistFrame, "AddFilesButton", QStringLiteral("&Add files"), twips(120, 6120, 735, 450));
    ui.clearList = button(ui.playlistFrame, "ClearListButton", QStringLiteral("&Clear list"), twips(960, 6120, 735, 450));
    ui.shuffle = button(ui.playlistFrame, "ShuffleButton", QStringLiteral("&Shuffle"), twips(1800, 6120, 735, 450));
    ui.startRecording = button(ui.playlistFrame, "StartRecordingButton", QStringLiteral("Start recording"), twips(2640, 6120, 1215, 450));
    ui.stopRecording = button(ui.playlistFrame, "StopRecordingButton", QStringLiteral("Stop recording"), twips(3960, 6120, 1215, 450));
    ui.loadPlaylist = button(ui.playlistFrame, "LoadPlaylistButton", QStringLiteral("&Load playlist"), twips(5280, 6120, 1095, 450));
    ui.savePlaylist = button(ui.playlistFrame, "SavePlaylistButton", QStringLiteral("&Save playlist"), twips(6480, 6120, 1095, 450));
    // The one control the design did not have sits in the room it leaves at the end of
    // the row, under the move buttons; like the volume button it shows a picture.
    ui.recorder = button(ui.playlistFrame, "RecorderButton", QString(), twips(7680, 6120, 240, 450));
    ui.recorder->setAccessibleName(QStringLiteral("Recorder..."));
    ui.recorder->setToolTip(QStringLiteral("Recorder... (Alt+R)"));
    ui.recorder->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    ui.recorder->setIcon(QIcon(QStringLiteral(":/recorder.png")));
    ui.recorder->setIconSize(QSize(14, 14));

    ui.defaultGapLabel = label(form, "Label1", QStringLiteral("Default gap (sec):"), twips(8280, 120, 1335, 255));
    ui.defaultGapEdit = place(new QLineEdit(QStringLiteral("2.0"), form), "Text1", twips(9720, 120, 495, 285));
    ui.defaultGapLabel->setBuddy(ui.defaultGapEdit);
    ui.totalTimeLabel = label(form, "Label2", QStringLiteral("Total time:"), twips(8280, 480, 2175, 255));

    ui.statusFrame = frame(form, "Frame2", QStringLiteral("Recording status"), twips(8280, 840, 2175, 1695));
    ui.nowPlayingLabel = label(ui.statusFrame, "Label5", QString(), twips(120, 240, 1935, 255));
    ui.trackLeftLabel = label(ui.statusFrame, "Label3", QStringLiteral("Left of track:"), twips(120, 480, 1935, 255));
    ui.trackProgressBar = place(new PercentBar(ui.statusFrame), "ProgressBar1", twips(120, 720, 1935, 255));
    ui.trackProgressBar->setAccessibleName(QStringLiteral("Track progress"));
    ui.totalLeftLabel = label(ui.statusFrame, "Label4", QStringLiteral("Left of total:"), twips(120, 1080, 1935, 255));
    ui.totalProgressBar = place(new PercentBar(ui.statusFrame), "ProgressBar2", twips(120, 1320, 1935, 255));
    ui.totalProgressBar->setAccessibleName(QStringLiteral("Total progress"));

    ui.hotKeysFrame = frame(form, "Frame3", QStringLiteral("Hot keys"), twips(8280, 2520, 2175, 1335));
    ui.hotKeysText = place(new QPlainTextEdit(ui.hotKeysFrame), "Text2", twips(120, 240, 1935, 975));
    ui.hotKeysText->setPlainText(QStringLiteral("Delete track = Del\nChange gap length = F2\nMove track=\nShift+up/down\n"));
    ui.hotKeysText->setReadOnly(true);
    ui.hotKeysText->setFrameShape(QFrame::NoFrame);
    ui.hotKeysText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.hotKeysText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.volumeControl = button(ui.hotKeysFrame, "VolumeControlButton", QString(), twips(1560, 720, 585, 585));
    ui.volumeControl->setAccessibleName(QStringLiteral("Volume control"));
    ui.volumeControl->setIcon(QIcon(QStringLiteral(":/volume.png")));
    ui.volumeControl->setIconSize(QSize(32, 32));

    ui.whenDoneFrame = frame(form, "Frame4", QStringLiteral("When done"), twips(8280, 3840, 2175, 1575));
    ui.saveWhenDoneBox = place(new CheckBox(QStringLiteral("Save playlist"), ui.whenDoneFrame), "Check1", twips(120, 240, 1935, 255));
    ui.m3uOption = place(new QRadioButton(QStringLiteral("M3U"), ui.whenDoneFrame), "Option1", twips(120, 600, 735, 255));
    ui.plsOption = place(new QRadioButton(QStringLiteral("PLS"), ui.whenDoneFrame), "Option2", twips(960, 600, 735, 255));
    ui.m3uOption->setChecked(true);
    ui.m3uOption->setEnabled(false);
    ui.plsOption->setEnabled(false);
    ui.exitWhenDoneBox = place(new CheckBox(QStringLiteral("Exit program"), ui.whenDoneFrame), "Check2", twips(120, 960, 1935, 255));
    ui.shutDownWhenDoneBox = place(new CheckBox(QStringLiteral("Shut down computer"), ui.whenDoneFrame), "Check3", twips(120, 1200, 1935, 255));

    ui.info = button(form, "InfoButton", QStringLiteral("&Info"), twips(8280, 5520, 2175, 375));
    ui.checkForUpdate = button(form, "CheckForUpdateButton", QStringLiteral("Check for product &update"), twips(8280, 6000, 2175, 375));
    ui.homePageLink = place(new LinkLabel(QStringLiteral("Velkor Software's homepage"), form), "LinkLabel1", twips(8280, 6480, 2175, 255));

}
