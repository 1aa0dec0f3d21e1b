#include "app/main_window.h"

#include "app/hold_prompt.h"
#include "app/run_output.h"
#include "app/settings_file.h"
#include "common/addresses.h"
#include "common/busy_state.h"
#include "common/check_box.h"
#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "common/number_text.h"
#include "common/percent_bar.h"
#include "common/resources.h"
#include "common/up_down_control.h"
#include "discs/discs.h"
#include "disc_lookup/disc_lookup.h"
#include "disc_lookup/online_disc_titles.h"
#include "help_windows/help_windows.h"
#include "playlist/adding_controller.h"
#include "playlist/default_gap.h"
#include "playlist/list_editing.h"
#include "playlist/playlist_total.h"
#include "playlist/row_form.h"
#include "playlist_files/save_playlist_command.h"
#include "recorder/cable_check_panel.h"
#include "listening/cable_checker.h"
#include "scan/list_findings.h"
#include "recorder/listen_report_panel.h"
#include "listening/run_listening.h"
#include "scan/list_gains.h"
#include "recorder/output_panel.h"
#include "medium/recorder_file.h"
#include "recorder/recorder_window.h"
#include "scan/scan_cache.h"
#include "recorder/scan_panel.h"
#include "scan/scan_tracks.h"
#include "medium/side_plan_text.h"
#include "medium/sides_file.h"
#include "medium/track_list_choice.h"
#include "recorder/track_list_panel.h"
#include "recording/keep_awake.h"
#include "recording/power_off.h"
#include "recording/recording_run.h"
#include "recording/when_done_boxes.h"

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

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QWidget(parent)
    , endProgram(closeWindowsAndQuit)
    , powerOff(requestPowerOff)
    , m_services(services)
    , m_model(m_playlist)
    , m_audioCd(services.discs, services.audioCdBase)
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
    connect(&m_playlist, &Playlist::totalChanged, this, &MainWindow::showTotal);
    connect(&m_playlist, &Playlist::cleared, this, &MainWindow::setUpColumns);

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
                         {m_playlist, *m_busy, services.dialogs, services.discs, services.mediaPlayer, services.programDirectory,
                          m_audioCd},
                         this);
    new ListEditing({ui.playlistView, ui.moveButtons, ui.clearList, ui.shuffle, this},
                    {m_playlist, *m_busy, services.dialogs, m_random}, this);
    new SavePlaylistCommand(ui.savePlaylist, m_playlist.table(), services.dialogs, this);
    new HelpWindows(ui.info, ui.checkForUpdate, services.dialogs, this, // a child of the window
                    [this](QWidget* window) { m_helperWindows << window; });
    ui.homePageLink->command = QString::fromLatin1(kHomePageAddress);
    ui.saveWhenDoneBox->setToolTip(QStringLiteral("Saved as Recording 1, Recording 2, ... in ")
                                   + QDir::toNativeSeparators(services.programDirectory));
    connectWhenDoneRules(ui.saveWhenDoneBox, ui.m3uOption, ui.plsOption, ui.exitWhenDoneBox, ui.shutDownWhenDoneBox);
    m_run = new RecordingRun(m_playlist, services.mediaPlayer, services.discs, services.programDirectory, this);
    connectRun();
    // Held through a cassette's hold too: the computer must not sleep while the user turns it over.
    connect(m_run, &RecordingRun::started, this, [this] { m_services.keepAwake.hold(); });
    connect(m_run, &RecordingRun::ended, this, [this] { m_services.keepAwake.release(); });
    connect(ui.volumeControl, &QPushButton::clicked, this,
            [this] { startVolumeControl(m_services.volumeControl); });

    setUpOnlineTitles();
    setUpRecorderWindow();

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

QString MainWindow::recorderPath() const
{
    return QDir(m_services.programDirectory).filePath(kRecorderFileName);
}

// The window is made once, hidden, so that the chosen recorder is at hand for every run.
void MainWindow::setUpRecorderWindow()
{
    const QString sidesPath = QDir(m_services.programDirectory).filePath(kSidesFileName);
    m_recorderWindow = new RecorderWindow(m_playlist, m_services.dialogs, readRecorderFile(recorderPath()),
                                          readSidesFile(sidesPath), this);
    m_helperWindows << m_recorderWindow;
    connect(ui.recorder, &QPushButton::clicked, this, [this] {
        m_recorderWindow->show();
        m_recorderWindow->raise();
        m_recorderWindow->activateWindow();
    });
    connect(m_recorderWindow, &RecorderWindow::recorderChanged, this, &MainWindow::rememberRecorder);
    connect(m_recorderWindow, &RecorderWindow::sideSettingsChanged, this, [sidesPath](const SideSettings& sides) {
        try {
            writeSidesFile(sidesPath, sides);
        } catch (const Failure& failure) {
            // The settings hold until the program ends; only the next start misses them.
            qWarning("%s not written: %s", qUtf8Printable(kSidesFileName), qUtf8Printable(failure.description()));
        }
    });
    const QString trackListPath = QDir(m_services.programDirectory).filePath(kTrackListFileName);
    TrackListPanel& trackList = m_recorderWindow->trackList();
    trackList.setChoice(readTrackListFile(trackListPath));
    connect(&trackList, &TrackListPanel::choiceChanged, this, [trackListPath](const TrackListChoice& choice) {
        try {
            writeTrackListFile(trackListPath, choice);
        } catch (const Failure& failure) {
            // The choice holds until the program ends; only the next start misses it.
            qWarning("%s not written: %s", qUtf8Printable(kTrackListFileName), qUtf8Printable(failure.description()));
        }
    });
    connect(m_recorderWindow, &RecorderWindow::suggestedGapChosen, this,
            [this](double seconds) { ui.defaultGapEdit->setText(plainNumber(seconds)); });
    // A sheet's titles first; a disc in the drive may name its tracks in its CD-Text,
    // else MusicBrainz may know them.
    const TitleLookup cueTitle = [this](const QString& path) {
        QString title = m_cueTitles.titleOf(path);
        if (title.isEmpty())
            title = discTextTitleOf(m_services.discs, path);
        return title.isEmpty() ? m_onlineTitles->titleOf(path) : title;
    };
    const AlbumLookup cueAlbum = [this](const QString& path) {
        QString album = m_cueTitles.albumOf(path);
        if (album.isEmpty())
            album = discTextAlbumOf(m_services.discs, path);
        return album.isEmpty() ? m_onlineTitles->albumOf(path) : album;
    };
    m_recorderWindow->setTitleLookup(cueTitle, cueAlbum);
    m_model.setTitleLookup(cueTitle);
    connect(m_onlineTitles, &OnlineDiscTitles::titlesArrived, this, [this, cueTitle, cueAlbum] {
        m_recorderWindow->setTitleLookup(cueTitle, cueAlbum); // shown anew
        m_model.titlesChanged();
    });

    // What the scan found outlives the window's closing; the window shows it.
    auto* findings = new ListFindings(m_services.sampleReader,
                                      QDir(m_services.dataDirectory).filePath(kScanCacheFileName), this);
    findings->setRule(m_recorderWindow->recorder().silence);
    auto* scanPanel = new ScanPanel(*findings, m_services.mediaPlayer, m_recorderWindow);
    m_recorderWindow->scanArea()->addWidget(scanPanel);
    connect(m_recorderWindow, &RecorderWindow::recorderChanged, findings,
            [findings](const RecorderKind& recorder) { findings->setRule(recorder.silence); });
    connect(m_recorderWindow, &RecorderWindow::refreshed, findings, [this, findings, cueTitle] {
        try {
            findings->setTracks(scanTracksOf(m_playlist.table(), m_services.discs, cueTitle));
        } catch (const Failure& failure) {
            // The findings stay those of the list as it was; the list itself is untouched.
            m_services.dialogs.message(m_recorderWindow, failure.description(), QStringLiteral("Trelvik"),
                                       QMessageBox::Warning);
        }
    });
    // Its passages play through the run's player: not while a run plays.
    connect(m_run, &RecordingRun::started, scanPanel, [scanPanel] { scanPanel->setEnabled(false); });
    connect(m_run, &RecordingRun::ended, scanPanel, [scanPanel] { scanPanel->setEnabled(true); });

    setUpOutput();
    setUpListening(cueTitle);
    connect(scanPanel, &ScanPanel::passageStarting, m_runOutput, &RunOutput::passageStarting);
    connect(scanPanel, &ScanPanel::passageOver, m_runOutput, &RunOutput::passageOver);

    // Every entry plays at the loudness chosen, as far as its tags and the scan tell it.
    auto* gains = new ListGains(m_playlist, *findings, this);
    gains->setSettings(m_outputPanel->choice().gain);
    connect(m_outputPanel, &OutputPanel::choiceChanged, gains,
            [gains](const OutputChoice& choice) { gains->setSettings(choice.gain); });
    m_run->setGains([gains](int index) { return gains->gainDb(index); });
    connect(findings, &ListFindings::changed, m_recorderWindow,
            [this, findings] { m_recorderWindow->setGains(findings->gains()); });
}

// A CD's tracks are looked up as they go on the list, so their titles are there when shown.
void MainWindow::setUpOnlineTitles()
{
    m_discLookup = new DiscLookup(this);
    m_discLookup->setBaseAddress(m_services.discLookupAddress);
    m_onlineTitles = new OnlineDiscTitles(m_services.discs, *m_discLookup,
                                          QDir(m_services.programDirectory).filePath(kDiscTitleCacheFileName), this);
    connect(&m_playlist, &Playlist::entryAppended, m_onlineTitles,
            [this](int index) { m_onlineTitles->titleOf(m_playlist.at(index).path); });
    // Titles are no reason to interrupt: a word where the run's state shows, the reason in its tool-tip.
    connect(m_onlineTitles, &OnlineDiscTitles::failed, this, [this](const QString& message) {
        qWarning("%s", qUtf8Printable(message));
        if (m_recordingClaim)
            return;
        ui.nowPlayingLabel->setText(QStringLiteral("No CD titles online"));
        ui.nowPlayingLabel->setToolTip(message);
    });
    connect(m_onlineTitles, &OnlineDiscTitles::titlesArrived, this, [this] {
        if (!ui.nowPlayingLabel->toolTip().isEmpty() && !m_recordingClaim) {
            ui.nowPlayingLabel->clear();
            ui.nowPlayingLabel->setToolTip(QString());
        }
    });
}

void MainWindow::setUpOutput()
{
    const QString path = QDir(m_services.programDirectory).filePath(kOutputFileName);
    m_outputPanel = new OutputPanel(m_services.soundOutputs, m_services.soundInputs, m_services.mediaPlayer, readOutputFile(path));
    m_recorderWindow->outputArea()->addWidget(m_outputPanel);
    m_recorderWindow->setLeadIn(m_outputPanel->choice().leadInSeconds);
    connect(m_outputPanel, &OutputPanel::choiceChanged, this, [this, path](const OutputChoice& choice) {
        m_recorderWindow->setLeadIn(choice.leadInSeconds);
        try {
            writeOutputFile(path, choice);
        } catch (const Failure& failure) {
            // The choice holds until the program ends; only the next start misses it.
            qWarning("%s not written: %s", qUtf8Printable(kOutputFileName), qUtf8Printable(failure.description()));
        }
    });
    m_runOutput = new RunOutput(m_services.soundOutputs, m_services.otherSounds, m_services.mediaPlayer,
                                *m_outputPanel, this);
    connect(m_run, &RecordingRun::started, m_runOutput, &RunOutput::runStarted);
    connect(m_run, &RecordingRun::ended, m_runOutput, &RunOutput::runEnded);
    connect(m_runOutput, &RunOutput::lostDuringRun, m_run, &RecordingRun::fail);
}

// The cable checked before a run, and what the recorder received during it.
void MainWindow::setUpListening(const TitleLookup& titles)
{
    m_cableChecker = new CableChecker(m_services.cableProbe, this);
    auto* panel = new CableCheckPanel(*m_cableChecker, m_recorderWindow);
    m_recorderWindow->outputArea()->addWidget(panel);
    panel->setChoice(m_outputPanel->choice());
    panel->setRule(m_recorderWindow->recorder().silence);
    connect(m_outputPanel, &OutputPanel::choiceChanged, panel, &CableCheckPanel::setChoice);
    connect(m_recorderWindow, &RecorderWindow::recorderChanged, panel,
            [panel](const RecorderKind& recorder) { panel->setRule(recorder.silence); });
    connect(m_run, &RecordingRun::started, panel, [panel] { panel->setRunning(true); });
    connect(m_run, &RecordingRun::ended, panel, [panel] { panel->setRunning(false); });

    auto* listening = new RunListening(m_services.inputListener, this);
    auto* report = new ListenReportPanel(m_services.dialogs, m_recorderWindow);
    m_recorderWindow->outputArea()->addWidget(report);
    connect(m_run, &RecordingRun::started, listening, [this, listening, report] {
        const OutputChoice& choice = m_outputPanel->choice();
        if (choice.listenName.isEmpty())
            return;
        report->showListening(choice.listenDescription.isEmpty() ? choice.listenName : choice.listenDescription);
        QString wavPath;
        if (choice.keepReceivedSound) {
            const QString folder = m_playlist.folder().isEmpty() ? m_services.programDirectory : m_playlist.folder();
            wavPath = receivedWavPath(folder, m_playlist.name(), QDateTime::currentDateTime());
        }
        listening->start(choice.listenName, wavPath);
    });
    connect(m_run, &RecordingRun::ended, listening, [this, listening, titles] {
        const PlaylistTable& table = m_playlist.table();
        const QStringList names = entryTitles(table, titles, {});
        std::vector<SentEntry> sent;
        for (size_t index = 0; index < table.size(); ++index)
            sent.push_back({names[qsizetype(index)], double(table[index].length), table[index].gap / 1000.0});
        listening->finish(sent, m_recorderWindow->recorder().silence);
    });
    connect(listening, &RunListening::reported, report, &ListenReportPanel::showReport);
    connect(listening, &RunListening::failed, report, &ListenReportPanel::showFailure);
}

void MainWindow::rememberRecorder(const RecorderKind& recorder)
{
    try {
        writeRecorderFile(recorderPath(), recorder);
    } catch (const Failure& failure) {
        // The choice holds until the program ends; only the next start misses it.
        qWarning("recorder.dat not written: %s", qUtf8Printable(failure.description()));
    }
}

// A list that does not fit is recorded only when the user says so.
bool MainWindow::fitsOrRecordAnyway()
{
    const QString question = recordAnywayQuestion(m_playlist.table(), m_recorderWindow->recorder(),
                                                  m_recorderWindow->sideSettings(),
                                                  m_outputPanel->choice().leadInSeconds);
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

void MainWindow::saveSettings()
{
    try {
        writeSettingsFile(settingsPath(), whenDoneChoices());
    } catch (const Failure& failure) {
        // The choices are lost for the next start, but leaving must still work.
        qWarning("settings.dat not written: %s", qUtf8Printable(failure.description()));
    }
}

void MainWindow::showTotal(double total)
{
    ui.totalTimeLabel->setText(totalTimeCaption(total));
    ui.playlistFrame->setTitle(playlistFrameCaption(m_playlist.table()));
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
    // A run or passage cut short by the close must not leave other programs muted.
    m_runOutput->letOthersBack();
    m_services.keepAwake.release();
    saveSettings();
    event->accept();
}

void MainWindow::warn(const QString& text)
{
    m_services.dialogs.message(this, text, QStringLiteral("Trelvik"), QMessageBox::Warning);
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
    const auto handOverChoices = [this] { m_run->setWhenDone(whenDoneChoices()); };
    for (CheckBox* box : {ui.saveWhenDoneBox, ui.exitWhenDoneBox, ui.shutDownWhenDoneBox})
        connect(box, &QCheckBox::stateChanged, this, handOverChoices);
    for (QRadioButton* option : {ui.m3uOption, ui.plsOption})
        connect(option, &QRadioButton::toggled, this, handOverChoices);
    handOverChoices();
}

void MainWindow::startRecording()
{
    // An add or load in progress owns the list; the button is off then anyway.
    if (m_playlist.isEmpty() || m_busy->busy())
        return;
    if (const std::optional<QString> refusal = m_runOutput->refusal()) {
        warn(*refusal);
        return;
    }
    if (m_cableChecker->checking()) {
        warn(QStringLiteral("The cable check is playing to the output: start the recording when it is done."));
        return;
    }
    if (!fitsOrRecordAnyway())
        return;
    m_run->setLeadIn(m_outputPanel->choice().leadInSeconds);
    // A cassette's run holds for the flip where side B begins.
    const SidePlan plan = m_recorderWindow->sidePlan();
    m_run->setSideBreak(plan.sides.size() > 1 ? plan.sides[1].first : -1);
    m_recordingClaim.emplace(*m_busy, BusyState::Activity::Recording);
    ui.nowPlayingLabel->setToolTip(QString()); // of a lookup that failed
    ui.playlistView->selectionModel()->select(m_model.index(0, 0),
                                           QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    takeDefaultGap(*ui.defaultGapEdit);
    m_run->start();
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
    saveSettings();
    if (switchOff)
        powerOff();
    endProgram();
}
