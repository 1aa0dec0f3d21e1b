#include "app/main_window.h"

#include "app/settings_file.h"
#include "common/addresses.h"
#include "common/check_box.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/resources.h"
#include "help_windows/help_windows.h"
#include "playlist/adding_controller.h"
#include "playlist/list_editing.h"
#include "playlist/playlist_total.h"
#include "playlist/row_form.h"
#include "playlist_files/save_playlist_command.h"
#include "recording/recording_controller.h"
#include "recording/when_done_boxes.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTreeView>

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_model(m_table)
    , m_cd(services.cdDevice)
{
    setAttribute(Qt::WA_DeleteOnClose);
    loadResources();
    // The layout was drawn for a narrow 8-point dialog font at 96 dpi.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), dialogFont.family()});
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    buildForm1(this, ui);
    ui.ListView1->setModel(&m_model);
    new AddingController(*this); // a child of the window
    new ListEditing(*this); // a child of the window
    new SavePlaylistCommand(*this); // a child of the window
    new HelpWindows(ui.info, ui.checkForUpdate, dialogs(), this, // a child of the window
                    [this](QWidget* window) { closeWithWindow(window); });
    ui.LinkLabel1->command = QString::fromLatin1(kHomePageAddress);
    connectWhenDoneRules(ui.Check1, ui.Option1, ui.Option2, ui.Check2, ui.Check3);
    m_recordingRun = new RecordingController(*this);
    connect(ui.volumeControl, &QPushButton::clicked, this,
            [this] { startVolumeControl(m_services.volumeControl); });

    m_cd.ReadyDevice();
    m_table.clear();
    readSettings();
}

QString MainWindow::settingsPath() const
{
    return QDir(m_services.programDirectory).filePath(QStringLiteral("settings.dat"));
}

void MainWindow::readSettings()
{
    const SettingsRead read = readSettingsFile(settingsPath());
    if (read.save)
        ui.Check1->setValue(*read.save);
    if (read.format == 1)
        ui.Option1->setChecked(true);
    else if (read.format == 2)
        ui.Option2->setChecked(true);
    if (read.exit)
        ui.Check2->setValue(*read.exit);
    if (read.shutdown)
        ui.Check3->setValue(*read.shutdown);
}

void MainWindow::sparainställningar()
{
    WhenDoneChoices choices;
    choices.save = ui.Check1->value();
    choices.format = ui.Option1->isChecked() ? 1 : ui.Option2->isChecked() ? 2 : 0;
    choices.exit = ui.Check2->value();
    choices.shutdown = ui.Check3->value();
    try {
        writeSettingsFile(settingsPath(), choices);
    } catch (const Failure& failure) {
        // The choices are lost for the next start, but leaving must still work.
        qWarning("settings.dat not written: %s", qUtf8Printable(failure.description()));
    }
}

void MainWindow::räknatid()
{
    m_total = ::playlistTotal(m_table);
    ui.Label2->setText(totalTimeCaption(m_total));
    ui.Frame1->setTitle(playlistFrameCaption(m_table));
}

QList<FlatButton*> MainWindow::commandButtons() const
{
    return {ui.addFiles, ui.clearList, ui.startRecording, ui.stopRecording, ui.loadPlaylist, ui.savePlaylist};
}

void MainWindow::da()
{
    switchButtonsOff(commandButtons());
}

void MainWindow::ea()
{
    switchButtonsOn(commandButtons());
}

void MainWindow::setUpColumns()
{
    m_model.removeAllRows();
    for (int column = 0; column < kPlaylistColumns; ++column)
        ui.ListView1->header()->resizeSection(column, columnWidthTwips(PlaylistColumn(column)) / 15);
}

void MainWindow::appendRow()
{
    m_model.appendRow();
}

void MainWindow::udlista()
{
    m_model.rebuild();
}

void MainWindow::setUpVolumeButton()
{
    if (m_services.volumeControl.found()) {
        ui.volumeControl->tag = m_services.volumeControl.program;
    } else {
        ui.volumeControl->setEnabled(false);
        ui.volumeControl->hide();
    }
}

void MainWindow::closeWithWindow(QWidget* window)
{
    m_helperWindows << window;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the update check also ends a fetch that may be waiting further down the stack.
    for (const QPointer<QWidget>& window : std::as_const(m_helperWindows)) {
        if (window)
            window->close();
    }
    if (longOperationRunning) {
        // The operation is further down the stack and still needs the window.
        closeWanted = true;
        event->ignore();
        return;
    }
    sparainställningar();
    event->accept();
}
