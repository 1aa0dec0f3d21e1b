#pragma once

#include "app/app_services.h"
#include "app/main_window_controls.h"
#include "common/basic_random.h"
#include "common/busy_state.h"
#include "playlist/audio_cd_folder.h"
#include "playlist/playlist_model.h"
#include "recording/progress_display.h"
#include "recording/when_done.h"
#include "session/session.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class AddingController;
class OutputPanel;
class RecorderWindow;

// Form1: the whole working surface. It shows the session (the playlist, the run and
// what they use) and hands it what the user does, for the life of the program.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Loads the window: dialog options, an empty playlist and the "When done"
    // choices of settings.dat.
    explicit MainWindow(const AppServices& services, QWidget* parent = nullptr);

    MainWindowControls ui;

    Session& session() { return *m_session; }
    Playlist& playlist() { return m_session->playlist(); }
    PlaylistModel& model() { return m_model; }
    BusyState& busyState() { return *m_busy; }
    RecordingRun& recordingRun() { return m_session->run(); }
    RecorderWindow& recorderWindow() { return *m_recorderWindow; }

    // Ends the program once a run has done its work; tests watch it instead.
    std::function<void()> endProgram;
    // Asks the system to switch the computer off; tests watch it instead.
    std::function<void()> powerOff;

    // Empties the list view and gives it its four columns.
    void setUpColumns();
    // Writes the "When done" choices to settings.dat; a failure is not fatal.
    // Ties the volume button to the system's volume control, or hides it.
    void setUpVolumeButton();
    // Puts files on the list the way a drop of them on the list does.
    void addFiles(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void readSettings();
    WhenDoneChoices whenDoneChoices() const;
    void setUpRecorderWindow();
    void setUpScan();
    void tellFindingsFailure();
    void setUpOutput();
    void setUpListening();
    bool fitsOrRecordAnyway();
    void showTotal(double total);
    void connectRun();
    void startRecording();
    void showLeadIn(int number, double secondsLeft);
    void showEntryStarted(int number);
    void showProgress(const ProgressDisplay& display, bool fromMedia);
    void showRunEnded();
    void warn(const QString& text);
    void warnIn(QWidget* window, const QString& text);
    void setUpOnlineTitles();
    void quitAfterRun(bool powerOff);

    AppServices m_services;
    Session* m_session; // a child of the window, so that its timers are found by their names
    PlaylistModel m_model;
    AudioCdFolder m_audioCd;
    BasicRandom m_random; // the program's one generator, so shuffles continue its sequence
    BusyState* m_busy;    // children of the window
    AddingController* m_adding;
    RecordingRun* m_run;
    RecorderWindow* m_recorderWindow;
    OutputPanel* m_outputPanel;
    QString m_findingsFailure; // not yet told: the Recorder window was hidden
    bool m_quittingAfterRun = false;
    QList<QPointer<QWidget>> m_helperWindows; // close together with this window
    std::optional<BusyState::Claim> m_recordingClaim; // held from "Start recording" to the run's end
};
