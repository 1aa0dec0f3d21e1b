#include "app/form1_controls.h"

#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "common/version.h"

#include <QGroupBox>
#include <QHeaderView>
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

void buildForm1(QWidget* form, Form1Controls& ui)
{
    form->setObjectName(QStringLiteral("Form1"));
    form->setWindowTitle(QStringLiteral("Trelvik v%1.%2.%3 - Freeware")
                             .arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    form->setFixedSize(twips(0, 0, 10575, 6885).size());

    ui.Frame1 = frame(form, "Frame1", QStringLiteral("Playlist"), twips(120, 0, 8055, 6735));
    ui.ListView1 = place(new QTreeView(ui.Frame1), "ListView1", twips(120, 240, 7455, 5775));
    ui.ListView1->setAccessibleName(QStringLiteral("Playlist"));
    ui.ListView1->setRootIsDecorated(false);
    ui.ListView1->setUniformRowHeights(true);
    ui.ListView1->setItemsExpandable(false);
    ui.ListView1->setAllColumnsShowFocus(true);
    ui.ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.ListView1->header()->setStretchLastSection(false);
    ui.UpDown1 = place(new UpDownControl(ui.Frame1), "UpDown1", twips(7680, 5400, 240, 615));
    ui.addFiles = button(ui.Frame1, "AddFilesButton", QStringLiteral("&Add files"), twips(120, 6120, 735, 450));
    ui.clearList = button(ui.Frame1, "ClearListButton", QStringLiteral("&Clear list"), twips(960, 6120, 735, 450));
    ui.shuffle = button(ui.Frame1, "ShuffleButton", QStringLiteral("&Shuffle"), twips(1800, 6120, 735, 450));
    ui.startRecording = button(ui.Frame1, "StartRecordingButton", QStringLiteral("Start recording"), twips(2640, 6120, 1215, 450));
    ui.stopRecording = button(ui.Frame1, "StopRecordingButton", QStringLiteral("Stop recording"), twips(3960, 6120, 1215, 450));
    ui.loadPlaylist = button(ui.Frame1, "LoadPlaylistButton", QStringLiteral("&Load playlist"), twips(5280, 6120, 1095, 450));
    ui.savePlaylist = button(ui.Frame1, "SavePlaylistButton", QStringLiteral("&Save playlist"), twips(6480, 6120, 1095, 450));

    ui.Label1 = label(form, "Label1", QStringLiteral("Default gap (sec):"), twips(8280, 120, 1335, 255));
    ui.Text1 = place(new QLineEdit(QStringLiteral("2.0"), form), "Text1", twips(9720, 120, 495, 285));
    ui.Label1->setBuddy(ui.Text1);
    ui.Label2 = label(form, "Label2", QStringLiteral("Total time:"), twips(8280, 480, 2175, 255));

    ui.Frame2 = frame(form, "Frame2", QStringLiteral("Recording status"), twips(8280, 840, 2175, 1695));
    ui.Label5 = label(ui.Frame2, "Label5", QString(), twips(120, 240, 1935, 255));
    ui.Label3 = label(ui.Frame2, "Label3", QStringLiteral("Left of track:"), twips(120, 480, 1935, 255));
    ui.ProgressBar1 = place(new PercentBar(ui.Frame2), "ProgressBar1", twips(120, 720, 1935, 255));
    ui.ProgressBar1->setAccessibleName(QStringLiteral("Track progress"));
    ui.Label4 = label(ui.Frame2, "Label4", QStringLiteral("Left of total:"), twips(120, 1080, 1935, 255));
    ui.ProgressBar2 = place(new PercentBar(ui.Frame2), "ProgressBar2", twips(120, 1320, 1935, 255));
    ui.ProgressBar2->setAccessibleName(QStringLiteral("Total progress"));

    ui.Frame3 = frame(form, "Frame3", QStringLiteral("Hot keys"), twips(8280, 2520, 2175, 1335));
    ui.Text2 = place(new QPlainTextEdit(ui.Frame3), "Text2", twips(120, 240, 1935, 975));
    ui.Text2->setPlainText(QStringLiteral("Delete track = Del\nChange gap length = F2\nMove track=\nShift+up/down\n"));
    ui.Text2->setReadOnly(true);
    ui.Text2->setFrameShape(QFrame::NoFrame);
    ui.Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.volumeControl = button(ui.Frame3, "VolumeControlButton", QString(), twips(1560, 720, 585, 585));
    ui.volumeControl->setAccessibleName(QStringLiteral("Volume control"));
    ui.volumeControl->setIcon(QIcon(QStringLiteral(":/volume.png")));
    ui.volumeControl->setIconSize(QSize(32, 32));

    ui.Frame4 = frame(form, "Frame4", QStringLiteral("When done"), twips(8280, 3840, 2175, 1575));
    ui.Check1 = place(new CheckBox(QStringLiteral("Save playlist"), ui.Frame4), "Check1", twips(120, 240, 1935, 255));
    ui.Option1 = place(new QRadioButton(QStringLiteral("M3U"), ui.Frame4), "Option1", twips(120, 600, 735, 255));
    ui.Option2 = place(new QRadioButton(QStringLiteral("PLS"), ui.Frame4), "Option2", twips(960, 600, 735, 255));
    ui.Option1->setChecked(true);
    ui.Option1->setEnabled(false);
    ui.Option2->setEnabled(false);
    ui.Check2 = place(new CheckBox(QStringLiteral("Exit program"), ui.Frame4), "Check2", twips(120, 960, 1935, 255));
    ui.Check3 = place(new CheckBox(QStringLiteral("Shut down computer"), ui.Frame4), "Check3", twips(120, 1200, 1935, 255));

    ui.info = button(form, "InfoButton", QStringLiteral("&Info"), twips(8280, 5520, 2175, 375));
    ui.checkForUpdate = button(form, "CheckForUpdateButton", QStringLiteral("Check for product &update"), twips(8280, 6000, 2175, 375));
    ui.LinkLabel1 = place(new LinkLabel(QStringLiteral("Velkor Software's homepage"), form), "LinkLabel1", twips(8280, 6480, 2175, 255));

}
