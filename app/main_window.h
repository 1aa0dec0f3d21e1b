#pragma once

#include "app/app_services.h"
#include "app/main_window_controls.h"
#include "common/title_lookup.h"
#include "common/basic_random.h"
#include "common/busy_state.h"
#include "discs/cue_titles.h"
#include "playlist/audio_cd_folder.h"
#include "playlist/playlist.h"
#include "playlist/playlist_model.h"
#include "recording/progress_display.h"
#include "recording/when_done.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class AddingController;
class CableChecker;
class DiscLookup;
class OnlineDiscTitles;
class OutputPanel;
class RecorderWindow;
class RunOutput;
class RecordingRun;
struct RecorderKind;

// Form1: the whole working surface. It owns the playlist, the run and every control
// for the life of the program, and wires them together.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Loads the window: dialog options, an empty playlist and the "When done"
    // choices of settings.dat.
    explicit MainWindow(const AppServices& services, QWidget* parent = nullptr);

    MainWindowControls ui;

    Playlist& playlist() { return m_playlist; }
    PlaylistModel& model() { return m_model; }
    BusyState& busyState() { return *m_busy; }
    RecordingRun& recordingRun() { return *m_run; }
    RecorderWindow& recorderWindow() { return *m_recorderWindow; }

    // Ends the program once a run has done its work; tests watch it instead.
    std::function<void()> endProgram;
    // Asks the system to switch the computer off; tests watch it instead.
    std::function<void()> powerOff;

    // Empties the list view and gives it its four columns.
    void setUpColumns();
    // Writes the "When done" choices to settings.dat; a failure is not fatal.
    void saveSettings();
    // Ties the volume button to the system's volume control, or hides it.
    void setUpVolumeButton();
    // Puts files on the list the way a drop of them on the list does.
    void addFiles(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString settingsPath() const;
    void readSettings();
    WhenDoneChoices whenDoneChoices() const;
    QString recorderPath() const;
    void setUpRecorderWindow();
    void rememberRecorder(const RecorderKind& recorder);
    void setUpOutput();
    void setUpListening(const TitleLookup& titles);
    bool fitsOrRecordAnyway();
    void showTotal(double total);
    void connectRun();
    void startRecording();
    void showLeadIn(int number, double secondsLeft);
    void showEntryStarted(int number);
    void showProgress(const ProgressDisplay& display, bool fromMedia);
    void showRunEnded();
    void warn(const QString& text);
    void setUpOnlineTitles();
    void quitAfterRun(bool powerOff);

    AppServices m_services;
    Playlist m_playlist;
    PlaylistModel m_model;
    AudioCdFolder m_audioCd;
    CueTitles m_cueTitles; // shared by the track list and the scan, so each sheet is read once
    DiscLookup* m_discLookup;         // children of the window
    OnlineDiscTitles* m_onlineTitles;
    BasicRandom m_random; // the program's one generator, so shuffles continue its sequence
    BusyState* m_busy;    // children of the window
    AddingController* m_adding;
    RecordingRun* m_run;
    RecorderWindow* m_recorderWindow;
    OutputPanel* m_outputPanel;
    RunOutput* m_runOutput;
    CableChecker* m_cableChecker;
    QList<QPointer<QWidget>> m_helperWindows; // close together with this window
    std::optional<BusyState::Claim> m_recordingClaim; // held from "Start recording" to the run's end
};
