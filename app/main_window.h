#pragma once

#include "app/app_services.h"
#include "app/form1_controls.h"
#include "common/basic_random.h"
#include "player/cd_audio.h"
#include "playlist/playlist_model.h"
#include "playlist/playlist_table.h"

#include <QPointer>
#include <QWidget>

class RecordingController;

// Form1: the whole working surface. It owns the playlist, the run's state, the CD
// device and every control, for the life of the program.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Loads the window: dialog options, the CD device, an empty playlist and the
    // "When done" choices of settings.dat.
    explicit MainWindow(const AppServices& services, QWidget* parent = nullptr);

    Form1Controls ui;

    PlaylistTable& table() { return m_table; }
    PlaylistModel& model() { return m_model; }
    CDAudio& cd() { return m_cd; }
    Dialogs& dialogs() { return m_services.dialogs; }
    // The one generator of the program, so shuffles continue its sequence.
    BasicRandom& random() { return m_random; }
    MediaPlayer& MediaPlayer1() { return m_services.mediaPlayer; }
    const QString& programDirectory() const { return m_services.programDirectory; }
    // The recording run: its buttons, timers and when-done actions.
    RecordingController& recordingRun() { return *m_recordingRun; }

    double playlistTotal() const { return m_total; }
    bool busy = false;      // an add, load, drop, removal or run is going on
    bool recording = false; // a recording run is going on
    // An add, load or drop is running; it lets events run between its files.
    bool longOperationRunning = false;
    // The window was closed during one: it stops after its current file and closes the window then.
    bool closeWanted = false;

    // Recomputes the playlist total and shows it with the number of entries.
    void räknatid();
    // Switch the six command buttons off and on around long operations.
    void da();
    void ea();
    // Empties the list view and gives it its four columns.
    void setUpColumns();
    // Shows the row of the slot at the last index.
    void appendRow();
    // Rewrites every row from the table.
    void udlista();
    // Writes the "When done" choices to settings.dat; a failure is not fatal.
    void sparainställningar();
    // Ties the volume button to the system's volume control, or hides it.
    void setUpVolumeButton();
    // A helper window that closes together with this one.
    void closeWithWindow(QWidget* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString settingsPath() const;
    void readSettings();
    QList<FlatButton*> commandButtons() const;

    AppServices m_services;
    PlaylistTable m_table;
    PlaylistModel m_model;
    CDAudio m_cd;
    double m_total = 0;
    BasicRandom m_random;
    QList<QPointer<QWidget>> m_helperWindows;
    RecordingController* m_recordingRun; // a child of the window
};
