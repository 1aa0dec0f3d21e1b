#include "app/main_window.h"

#include "app/hold_prompt.h"
#include "common/addresses.h"
#include "common/busy_state.h"
#include "common/check_box.h"
#include "common/dialogs.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/number_text.h"
#include "common/percent_bar.h"
#include "common/resources.h"
#include "common/up_down_control.h"
#include "disc_lookup/online_disc_titles.h"
#include "help_windows/help_windows.h"
#include "listening/run_listening.h"
#include "playlist/adding_controller.h"
#include "playlist/default_gap.h"
#include "playlist/list_editing.h"
#include "playlist/playlist_total.h"
#include "playlist/row_form.h"
#include "playlist_files/save_playlist_command.h"
#include "recorder/cable_check_panel.h"
#include "recorder/listen_report_panel.h"
#include "recorder/output_panel.h"
#include "recorder/recorder_window.h"
#include "recorder/scan_panel.h"
#include "recorder/track_list_panel.h"
#include "recording/power_off.h"
#include "recording/recording_run.h"
#include "recording/when_done_boxes.h"
#include "scan/list_gains.h"
#include "session/run_output.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>
#include <cmath>

namespace {

void closeWindowsAndQuit()
{
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

} // namespace

namespace {

SessionServices sessionServices(const AppServices& services)
{
    return {services.discs,        services.mediaPlayer,   services.sampleReader,     services.soundOutputs,
            services.otherSounds,  services.cableProbe,    services.inputListener,    services.keepAwake,
            services.programDirectory, services.dataDirectory, services.discLookupAddress};
}

} // namespace

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QWidget(parent)
    , endProgram(closeWindowsAndQuit)
    , powerOff(requestPowerOff)
    , m_services(services)
    , m_session(new Session(sessionServices(services), this))
    , m_model(m_session->playlist())
    , m_audioCd(services.discs, services.audioCdBase)
    , m_run(&m_session->run())
{
    setAttribute(Qt::WA_DeleteOnClose);
    loadResources();
    // The layout was drawn for a narrow 8-point dialog font at 96 dpi.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), dialogFont.family()});
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    buildMainWindow(this, ui);
    ui.playlistView->setModel(&m_model);
    Playlist& playlist = m_session->playlist();
    connect(&playlist, &Playlist::totalChanged, this, &MainWindow::showTotal);
    connect(&playlist, &Playlist::cleared, this, &MainWindow::setUpColumns);

    // A run leaves "Stop recording" on and switches "&Shuffle" and the arrows off.
    m_busy = new BusyState({{ui.addFiles, ui.clearList, ui.startRecording, ui.stopRecording, ui.loadPlaylist,
                             ui.savePlaylist},
                            {ui.addFiles, ui.clearList, ui.startRecording, ui.loadPlaylist, ui.savePlaylist,
                             ui.shuffle},
                            ui.moveButtons},
                           this);
    // A close that came during a long operation is carried out once it has unwound.
    connect(m_busy, &BusyState::stoppedAsAsked, this, &QWidget::close);
    m_adding = new AddingController({ui.addFiles, ui.loadPlaylist, ui.playlistView->viewport(), ui.defaultGapEdit, this},
                         {playlist, *m_busy, services.dialogs, services.discs, services.mediaPlayer, services.programDirectory,
                          m_audioCd},
                         this);
    new ListEditing({ui.playlistView, ui.moveButtons, ui.clearList, ui.shuffle, this},
                    {playlist, *m_busy, services.dialogs, m_random}, this);
    new SavePlaylistCommand(ui.savePlaylist, playlist.table(), services.dialogs, this);
    new HelpWindows(ui.info, ui.checkForUpdate, services.dialogs, this, // a child of the window
                    [this](QWidget* window) { m_helperWindows << window; });
    ui.homePageLink->command = QString::fromLatin1(kHomePageAddress);
    ui.saveWhenDoneBox->setToolTip(QStringLiteral("Saved as Recording 1, Recording 2, ... in ")
                                   + QDir::toNativeSeparators(services.programDirectory));
    connectWhenDoneRules(ui.saveWhenDoneBox, ui.m3uOption, ui.plsOption, ui.exitWhenDoneBox, ui.shutDownWhenDoneBox);
    connectRun();
    connect(ui.volumeControl, &QPushButton::clicked, this,
            [this] { startVolumeControl(m_services.volumeControl); });

    setUpOnlineTitles();
    setUpRecorderWindow();

    readSettings();
}

void MainWindow::readSettings()
{
    const SettingsRead& read = m_session->startingWhenDone();
    if (read.save)
        ui.saveWhenDoneBox->setValue(*read.save);
    if (read.format == PlaylistFormat::M3u)
        ui.m3uOption->setChecked(true);
    else if (read.format == PlaylistFormat::Pls)
        ui.plsOption->setChecked(true);
    if (read.exit)
        ui.exitWhenDoneBox->setValue(*read.exit);
    if (read.shutdown)
        ui.shutDownWhenDoneBox->setValue(*read.shutdown);
}

// The window is made once, hidden; what it shows lives in the session.
void MainWindow::setUpRecorderWindow()
{
    m_recorderWindow = new RecorderWindow(m_session->playlist(), m_services.dialogs, m_session->recorder(),
                                          m_session->sideSettings(), this);
    m_helperWindows << m_recorderWindow;
    connect(ui.recorder, &QPushButton::clicked, this, [this] {
        m_recorderWindow->show();
        m_recorderWindow->raise();
        m_recorderWindow->activateWindow();
    });
    connect(m_recorderWindow, &RecorderWindow::recorderChanged, m_session, &Session::setRecorder);
    connect(m_recorderWindow, &RecorderWindow::sideSettingsChanged, m_session, &Session::setSideSettings);
    TrackListPanel& trackList = m_recorderWindow->trackList();
    trackList.setChoice(m_session->trackListChoice());
    connect(&trackList, &TrackListPanel::choiceChanged, m_session, &Session::setTrackListChoice);
    connect(m_recorderWindow, &RecorderWindow::suggestedGapChosen, this,
            [this](double seconds) { ui.defaultGapEdit->setText(plainNumber(seconds)); });
    m_recorderWindow->setTitleLookup(m_session->titleLookup(), m_session->albumLookup());
    m_model.setTitleLookup(m_session->titleLookup());
    connect(&m_session->onlineTitles(), &OnlineDiscTitles::titlesArrived, this, [this] {
        m_recorderWindow->setTitleLookup(m_session->titleLookup(), m_session->albumLookup()); // shown anew
        m_model.titlesChanged();
    });
    m_recorderWindow->setGains(m_session->gains().gains());
    connect(&m_session->gains(), &ListGains::changed, m_recorderWindow, &RecorderWindow::setGains);

    setUpOutput();
    setUpScan();
    setUpListening();
    // When a run's end quits the program nobody may be there to answer a message.
    connect(m_session, &Session::settingsNotSaved, this, [this](const QString& message) {
        if (m_quittingAfterRun)
            qWarning("%s", qUtf8Printable(message));
        else
            warnIn(m_recorderWindow->isVisible() ? static_cast<QWidget*>(m_recorderWindow) : this, message);
    });
}

// What the scan found outlives the window's closing; the window shows it.
void MainWindow::setUpScan()
{
    auto* scanPanel =
        new ScanPanel(m_session->findings(), m_session->gains(), m_services.mediaPlayer, m_recorderWindow);
    m_recorderWindow->scanArea()->addWidget(scanPanel);
    // Told where the findings show, once they show; the list itself is untouched.
    connect(m_session, &Session::findingsFailed, this, [this](const QString& message) {
        m_findingsFailure = message;
        if (m_recorderWindow->isVisible())
            tellFindingsFailure();
    });
    connect(m_recorderWindow, &RecorderWindow::refreshed, this, &MainWindow::tellFindingsFailure);
    // Its passages play through the run's player: not while a run plays.
    connect(m_run, &RecordingRun::started, scanPanel, [scanPanel] { scanPanel->setEnabled(false); });
    connect(m_run, &RecordingRun::ended, scanPanel, [scanPanel] { scanPanel->setEnabled(true); });
    RunOutput& output = m_session->output();
    connect(scanPanel, &ScanPanel::passageStarting, &output, &RunOutput::passageStarting);
    connect(scanPanel, &ScanPanel::passageOver, &output, &RunOutput::passageOver);
}

void MainWindow::tellFindingsFailure()
{
    if (!m_findingsFailure.isEmpty())
        warnIn(m_recorderWindow, std::exchange(m_findingsFailure, QString()));
}

// Titles are no reason to interrupt: a word where the run's state shows, the reason in its tool-tip.
void MainWindow::setUpOnlineTitles()
{
    OnlineDiscTitles& titles = m_session->onlineTitles();
    connect(&titles, &OnlineDiscTitles::failed, this, [this](const QString& message) {
        qWarning("%s", qUtf8Printable(message));
        if (m_recordingClaim)
            return;
        ui.nowPlayingLabel->setText(QStringLiteral("No CD titles online"));
        ui.nowPlayingLabel->setToolTip(message);
    });
    connect(&titles, &OnlineDiscTitles::titlesArrived, this, [this] {
        if (!ui.nowPlayingLabel->toolTip().isEmpty() && !m_recordingClaim) {
            ui.nowPlayingLabel->clear();
            ui.nowPlayingLabel->setToolTip(QString());
        }
    });
}

void MainWindow::setUpOutput()
{
    m_outputPanel = new OutputPanel(m_services.soundOutputs, m_services.soundInputs, m_services.mediaPlayer,
                                    m_session->outputChoice());
    m_recorderWindow->outputArea()->addWidget(m_outputPanel);
    m_recorderWindow->setLeadIn(m_session->outputChoice().leadInSeconds);
    connect(m_outputPanel, &OutputPanel::choiceChanged, m_session, &Session::setOutputChoice);
    connect(m_session, &Session::outputChoiceChanged, m_recorderWindow,
            [this](const OutputChoice& choice) { m_recorderWindow->setLeadIn(choice.leadInSeconds); });
    connect(&m_session->output(), &RunOutput::keepOffProblem, m_outputPanel, &OutputPanel::setKeepOffProblem);
}

// The cable checked before a run, and what the recorder received during it.
void MainWindow::setUpListening()
{
    auto* panel = new CableCheckPanel(m_session->cableChecker(), m_recorderWindow);
    m_recorderWindow->outputArea()->addWidget(panel);
    panel->setChoice(m_session->outputChoice());
    panel->setRule(m_session->recorder().silence);
    connect(m_session, &Session::outputChoiceChanged, panel, &CableCheckPanel::setChoice);
    connect(m_session, &Session::recorderChanged, panel,
            [panel](const RecorderKind& recorder) { panel->setRule(recorder.silence); });
    connect(m_run, &RecordingRun::started, panel, [panel] { panel->setRunning(true); });
    connect(m_run, &RecordingRun::ended, panel, [panel] { panel->setRunning(false); });

    auto* report = new ListenReportPanel(m_services.dialogs, m_recorderWindow);
    m_recorderWindow->outputArea()->addWidget(report);
    connect(m_session, &Session::listeningStarted, report, &ListenReportPanel::showListening);
    connect(&m_session->listening(), &RunListening::reported, report, &ListenReportPanel::showReport);
    connect(&m_session->listening(), &RunListening::failed, report, &ListenReportPanel::showFailure);
}

// A list that does not fit is recorded only when the user says so.
bool MainWindow::fitsOrRecordAnyway()
{
    const QString question = m_session->recordAnywayQuestion();
    return question.isEmpty() || m_services.dialogs.question(this, question, QStringLiteral("Trelvik"));
}

WhenDoneChoices MainWindow::whenDoneChoices() const
{
    WhenDoneChoices choices;
    choices.save = ui.saveWhenDoneBox->value();
    choices.format = ui.m3uOption->isChecked()   ? PlaylistFormat::M3u
                     : ui.plsOption->isChecked() ? PlaylistFormat::Pls
                                                 : PlaylistFormat::None;
    choices.exit = ui.exitWhenDoneBox->value();
    choices.shutdown = ui.shutDownWhenDoneBox->value();
    return choices;
}

void MainWindow::showTotal(double total)
{
    ui.totalTimeLabel->setText(totalTimeCaption(total));
    ui.playlistFrame->setTitle(playlistFrameCaption(m_session->playlist().table()));
}

void MainWindow::setUpColumns()
{
    for (int column = 0; column < kPlaylistColumns; ++column)
        ui.playlistView->header()->resizeSection(column, columnWidthTwips(PlaylistColumn(column)) / 15);
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

void MainWindow::addFiles(const QStringList& paths)
{
    m_adding->dropFiles(paths);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The helper windows close with this one; the update check gives up its fetch.
    for (const QPointer<QWidget>& window : std::as_const(m_helperWindows)) {
        if (window)
            window->close();
    }
    if (m_busy->askToStop()) {
        // The operation is further down the stack and still needs the window.
        event->ignore();
        return;
    }
    m_session->close();
    event->accept();
}

void MainWindow::warn(const QString& text)
{
    warnIn(this, text);
}

void MainWindow::warnIn(QWidget* window, const QString& text)
{
    m_services.dialogs.message(window, text, QStringLiteral("Trelvik"), QMessageBox::Warning);
}

void MainWindow::connectRun()
{
    connect(ui.startRecording, &QPushButton::clicked, this, &MainWindow::startRecording);
    connect(ui.stopRecording, &QPushButton::clicked, m_run, &RecordingRun::stop);
    connect(m_run, &RecordingRun::leadInLeft, this, &MainWindow::showLeadIn);
    new HoldPrompt(ui, *m_run, this);
    connect(m_run, &RecordingRun::entryStarted, this, &MainWindow::showEntryStarted);
    connect(m_run, &RecordingRun::progressChanged, this, &MainWindow::showProgress);
    connect(m_run, &RecordingRun::warning, this, &MainWindow::warn);
    connect(m_run, &RecordingRun::ended, this, &MainWindow::showRunEnded);
    connect(m_run, &RecordingRun::quitRequested, this, &MainWindow::quitAfterRun);
    const auto handOverChoices = [this] { m_session->setWhenDone(whenDoneChoices()); };
    for (CheckBox* box : {ui.saveWhenDoneBox, ui.exitWhenDoneBox, ui.shutDownWhenDoneBox})
        connect(box, &QCheckBox::stateChanged, this, handOverChoices);
    for (QRadioButton* option : {ui.m3uOption, ui.plsOption})
        connect(option, &QRadioButton::toggled, this, handOverChoices);
    handOverChoices();
}

void MainWindow::startRecording()
{
    // An add or load in progress owns the list; the button is off then anyway.
    if (m_session->playlist().isEmpty() || m_busy->busy())
        return;
    if (const std::optional<QString> refusal = m_session->refusal()) {
        warn(*refusal);
        return;
    }
    if (!fitsOrRecordAnyway())
        return;
    m_recordingClaim.emplace(*m_busy, BusyState::Activity::Recording);
    ui.nowPlayingLabel->setToolTip(QString()); // of a lookup that failed
    ui.playlistView->selectionModel()->select(m_model.index(0, 0),
                                           QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    takeDefaultGap(*ui.defaultGapEdit);
    m_session->startRun();
}

void MainWindow::showLeadIn(int number, double secondsLeft)
{
    ui.nowPlayingLabel->setText(
        QStringLiteral("Lead-in: track #%1 in %2 s...").arg(number).arg(std::ceil(secondsLeft)));
}

void MainWindow::showEntryStarted(int number)
{
    ui.trackProgressBar->setPercent(0);
    const QModelIndex row = m_model.index(number - 1, 0);
    ui.playlistView->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui.playlistView->scrollTo(row);
    const QString playing = QStringLiteral("Playing track #") + QString::number(number) + QStringLiteral("...");
    ui.nowPlayingLabel->setText(playing);
    ui.playlistView->setToolTip(playing);
}

void MainWindow::showProgress(const ProgressDisplay& display, bool fromMedia)
{
    if (fromMedia)
        ui.savePlaylist->setCaptionColor(Qt::black);
    ui.trackProgressBar->setPercent(display.trackPercent);
    ui.totalProgressBar->setPercent(display.totalPercent);
    ui.trackLeftLabel->setText(display.trackCaption);
    ui.totalLeftLabel->setText(display.totalCaption);
}

void MainWindow::showRunEnded()
{
    ui.trackProgressBar->setPercent(0);
    ui.totalProgressBar->setPercent(0);
    m_recordingClaim.reset();
    ui.trackLeftLabel->setText(QStringLiteral("Left of track:"));
    ui.totalLeftLabel->setText(QStringLiteral("Left of total:"));
    ui.nowPlayingLabel->clear();
    ui.playlistView->setToolTip(QString());
}

void MainWindow::quitAfterRun(bool switchOff)
{
    m_quittingAfterRun = true;
    m_session->saveWhenDone(); // the boxes handed their choices over as they changed
    if (switchOff)
        powerOff();
    endProgram();
}
