#include "recording/recording_controller.h"

#include "app/main_window.h"
#include "common/check_box.h"
#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "common/number_text.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "player/cd_audio.h"
#include "player/media_player.h"
#include "playlist_files/playlist_writer.h"
#include "recording/power_off.h"
#include "recording/recording_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

namespace {

void closeWindowsAndQuit()
{
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

} // namespace

RecordingController::RecordingController(MainWindow& window)
    : QObject(&window)
    , endProgram(closeWindowsAndQuit)
    , powerOff(requestPowerOff)
    , m_window(window)
    , m_player(window.MediaPlayer1())
{
    const Form1Controls& ui = window.ui;
    connect(ui.startRecording, &QPushButton::clicked, this, &RecordingController::startRecording);
    connect(ui.stopRecording, &QPushButton::clicked, this, &RecordingController::stopRecording);
    connect(ui.Timer1, &QTimer::timeout, this, &RecordingController::startNext);
    connect(ui.Timer3, &QTimer::timeout, this, &RecordingController::watchCd);
    connect(ui.Timer4, &QTimer::timeout, this, &RecordingController::watchMedia);
    connect(&window.MediaPlayer1(), &MediaPlayer::soundStarted, this, &RecordingController::mediaStarted);
    connect(&window.MediaPlayer1(), &MediaPlayer::endOfStream, this, &RecordingController::mediaEnded);
    connect(&window.MediaPlayer1(), &MediaPlayer::failed, this, &RecordingController::mediaFailed);
    m_cdStartPoll.setInterval(20);
    connect(&m_cdStartPoll, &QTimer::timeout, this, &RecordingController::checkCdStarted);
}

RecordingController::~RecordingController()
{
    // The player outlives the window: a run cut short by closing it must not play on.
    if (m_run.state != RecordingRun::State::Idle)
        m_player.stop();
}

QList<FlatButton*> RecordingController::runButtons() const
{
    const Form1Controls& ui = m_window.ui;
    return {ui.addFiles, ui.clearList, ui.startRecording, ui.loadPlaylist, ui.savePlaylist, ui.shuffle};
}

void RecordingController::startRecording()
{
    // An add or load in progress owns the list; the button is off then anyway.
    if (m_window.table().isEmpty() || m_window.busy)
        return;
    const Form1Controls& ui = m_window.ui;
    m_player.stop();
    m_run.gapTotal = gapTotalOf(m_window.table());
    switchButtonsOff(runButtons());
    ui.UpDown1->setEnabled(false);
    m_window.recording = true;
    m_window.busy = true;
    m_run.completedTime = 0;
    CDAudio& cd = m_window.cd();
    cd.StopPlay();
    cd.UnloadAll();
    cd.SetCDPlayerReady();
    cd.SetFormat_tmsf();
    ui.ListView1->selectionModel()->select(m_window.model().index(0, 0),
                                           QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    if (leadingNumber(ui.Text1->text()) > 32)
        ui.Text1->setText(QStringLiteral("2"));
    ui.Timer1->setInterval(1);
    ui.Timer1->start();
    m_run.state = RecordingRun::State::Waiting;
    m_run.currentTrackNumber = QStringLiteral("0");
}

void RecordingController::startNext()
{
    m_window.ui.Timer1->stop();
    m_run.state = RecordingRun::State::Idle;
    if (m_run.currentTrack() >= m_window.table().count())
        return;
    const int k = m_run.currentTrack() + 1;
    const PlaylistEntry& entry = m_window.table()[k - 1];
    if (isCdEntry(entry.path)) {
        showEntry(k);
        startCdTrack(entry);
    } else if (playMedia(k)) {
        m_run.state = RecordingRun::State::Waiting;
    }
}

// Names entry k as the one playing, from the moment it is heard.
void RecordingController::showEntry(int k)
{
    const Form1Controls& ui = m_window.ui;
    ui.ProgressBar1->setPercent(0);
    m_run.currentTrackNumber = QString::number(k);
    const QModelIndex row = m_window.model().index(k - 1, 0);
    ui.ListView1->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui.ListView1->scrollTo(row);
    const QString playing = QStringLiteral("Playing track #") + QString::number(k) + QStringLiteral("...");
    ui.Label5->setText(playing);
    ui.ListView1->setToolTip(playing);
    ui.Timer1->setInterval(gapInterval(m_window.table()[k - 1].gap));
}

// Hands media entry k to the player, which places its sound the gap of the
// entry before after the sound of the last file, to the sample.
bool RecordingController::playMedia(int k)
{
    try {
        m_player.play(m_window.table()[k - 1].path, k > 1 ? m_window.table()[k - 2].gap : 0);
    } catch (const Failure& failure) {
        fail(failure.description());
        return false;
    }
    m_queuedTrack = k;
    return true;
}

void RecordingController::mediaStarted()
{
    if (m_queuedTrack == 0 || m_run.state != RecordingRun::State::Waiting)
        return;
    const int k = std::exchange(m_queuedTrack, 0);
    showEntry(k);
    m_run.currentTrackLength = m_window.table()[k - 1].length;
    m_window.ui.Timer4->start();
    m_run.state = RecordingRun::State::PlayingMedia;
    // A media file next waits behind this one, so that even a short gap comes out exact.
    if (k < m_window.table().count() && !isCdEntry(m_window.table()[k].path))
        playMedia(k + 1);
}

void RecordingController::startCdTrack(const PlaylistEntry& entry)
{
    CDAudio& cd = m_window.cd();
    try {
        const double number = cdTrackNumberOf(entry.path);
        if (!(number >= 1))
            throw Failure(QStringLiteral("No CD track number in ") + entry.path);
        const qint16 track = toInt16(number);
        m_run.cdTrackNumber = plainNumber(track);
        const qint16 length = toInt16(trackLengthSeconds(cd.GetTrackLength(track)));
        cd.SeekCDtoX(track);
        m_run.currentTrackLength = plainNumber(length);
    } catch (const Failure& failure) {
        fail(failure.description());
        return;
    }
    // The window answers while the drive spins up; a drive that never starts
    // (no disc, no such track) ends the run.
    m_run.state = RecordingRun::State::StartingCd;
    m_cdWaited.start();
    m_cdStartPoll.start();
    checkCdStarted();
}

void RecordingController::checkCdStarted()
{
    if (m_window.cd().CheckIfPlaying() == 1) {
        m_cdStartPoll.stop();
        m_window.ui.Timer3->start();
        m_run.state = RecordingRun::State::PlayingCd;
    } else if (m_cdWaited.elapsed() >= cdStartLimitMs) {
        m_cdStartPoll.stop();
        fail(QStringLiteral("The CD drive did not start playing track ") + m_run.cdTrackNumber + QStringLiteral("."));
    }
}

void RecordingController::fail(const QString& description)
{
    m_window.dialogs().message(&m_window, description, QStringLiteral("Trelvik"), QMessageBox::Warning);
    stopRecording();
}

void RecordingController::showProgress(const std::function<double()>& position, CountdownRounding rounding)
{
    RunFigures figures;
    figures.trackLength = leadingNumber(m_run.currentTrackLength);
    figures.completedTime = m_run.completedTime;
    figures.gapTotal = m_run.gapTotal;
    figures.playlistTotal = m_window.playlistTotal();
    const ProgressDisplay display = progressDisplay(position, figures, rounding);
    const Form1Controls& ui = m_window.ui;
    ui.ProgressBar1->setPercent(display.trackPercent);
    ui.ProgressBar2->setPercent(display.totalPercent);
    ui.Label3->setText(display.trackCaption);
    ui.Label4->setText(display.totalCaption);
}

void RecordingController::watchCd()
{
    CDAudio& cd = m_window.cd();
    showProgress([&cd] { return double(cd.GetCurrentTime()); }, CountdownRounding::HalfToEven);
    const qint16 driveTrack = cd.GetCurrentTrack();
    const qint16 driveSeconds = cd.GetCurrentTime();
    if (!cdTrackHasEnded(m_run, driveTrack, driveSeconds))
        return;
    cd.StopPlay();
    m_run.completedTime += leadingNumber(m_run.currentTrackLength);
    m_window.ui.Timer3->stop();
    trackEnded();
}

void RecordingController::watchMedia()
{
    m_window.ui.savePlaylist->setCaptionColor(Qt::black);
    MediaPlayer& player = m_player;
    showProgress([&player] { return player.currentPosition(); }, CountdownRounding::TowardZero);
}

void RecordingController::mediaEnded()
{
    // The player may report an end after the run was stopped.
    if (m_run.state != RecordingRun::State::PlayingMedia)
        return;
    m_run.completedTime += leadingNumber(m_run.currentTrackLength);
    m_window.ui.Timer4->stop();
    trackEnded();
}

// A media file that cannot be played, or breaks off, ends the run: a broken
// track on the recording is no success.
void RecordingController::mediaFailed(const QString& description)
{
    if (m_run.state == RecordingRun::State::Waiting || m_run.state == RecordingRun::State::PlayingMedia)
        fail(description);
}

void RecordingController::trackEnded()
{
    const int k = m_run.currentTrack();
    if (k - 1 < m_window.table().lastIndex()) {
        m_run.state = RecordingRun::State::Waiting;
        if (m_queuedTrack == k + 1)
            return; // the player starts it the gap after this one's sound
        // A media file after a CD track is woken early enough for the player to place it exactly.
        double gap = m_window.table()[k - 1].gap;
        if (!isCdEntry(m_window.table()[k].path))
            gap -= m_player.startLeadMs();
        m_window.ui.Timer1->setInterval(gapInterval(gap));
        m_window.ui.Timer1->start();
    } else if (k - 1 == m_window.table().lastIndex()) {
        endOfRun();
    } else {
        m_run.state = RecordingRun::State::Idle;
    }
}

int RecordingController::playlistFormat() const
{
    if (m_window.ui.Option1->isChecked())
        return 1;
    return m_window.ui.Option2->isChecked() ? 2 : 0;
}

void RecordingController::endOfRun()
{
    const Form1Controls& ui = m_window.ui;
    bool saved = true;
    if (ui.Check1->value() == 1) {
        try {
            const RecordingSave save = hittaledigfil(m_window.programDirectory(), playlistFormat(), m_window.table());
            if (!save.skipped.isEmpty())
                m_window.dialogs().message(&m_window, skippedEntriesMessage(save.skipped), QStringLiteral("Trelvik"),
                                           QMessageBox::Warning);
        } catch (const Failure& failure) {
            saved = false;
            m_window.dialogs().message(&m_window, failure.description(), QStringLiteral("Trelvik"),
                                       QMessageBox::Warning);
        }
    }
    m_run.state = RecordingRun::State::Idle;
    ui.Timer4->stop();
    m_player.stop(); // the last file is heard; let the sound output go
    ui.ProgressBar1->setPercent(0);
    ui.ProgressBar2->setPercent(0);
    m_window.recording = false;
    m_window.busy = false;
    enableRunButtons();
    resetDisplay();
    // Leaving now would lose the playlist that could not be saved.
    if (!saved || ui.Check2->value() != 1)
        return;
    m_window.sparainställningar();
    if (ui.Check3->value() == 1)
        stängav();
    else
        endProgram();
}

void RecordingController::stängav()
{
    powerOff();
    endProgram();
}

void RecordingController::enableRunButtons()
{
    switchButtonsOn(runButtons());
    m_window.ui.UpDown1->setEnabled(true);
}

void RecordingController::resetDisplay()
{
    const Form1Controls& ui = m_window.ui;
    ui.Label3->setText(QStringLiteral("Left of track:"));
    ui.Label4->setText(QStringLiteral("Left of total:"));
    ui.Label5->clear();
    ui.ListView1->setToolTip(QString());
}

void RecordingController::stopRecording()
{
    const Form1Controls& ui = m_window.ui;
    m_queuedTrack = 0;
    m_cdStartPoll.stop();
    ui.Timer1->stop();
    ui.Timer3->stop();
    ui.UpDown1->setEnabled(true);
    CDAudio& cd = m_window.cd();
    cd.StopPlay();
    cd.UnloadAll();
    cd.SetCDPlayerReady();
    cd.SetFormat_tmsf();
    m_player.stop();
    m_window.recording = false;
    m_window.busy = false;
    resetDisplay();
    enableRunButtons();
    ui.Timer4->stop();
    ui.ProgressBar1->setPercent(0);
    ui.ProgressBar2->setPercent(0);
    m_run.state = RecordingRun::State::Idle;
}
