#pragma once

#include "recording/progress_display.h"
#include "recording/recording_run.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class FlatButton;
class MainWindow;
class MediaPlayer;
struct PlaylistEntry;

// The recording run on the main window: "Start recording" and "Stop recording",
// the gap timer Timer1, the watch timers Timer3 (CD) and Timer4 (media), the
// player's end of stream, and the when-done actions after the last entry.
class RecordingController : public QObject {
    Q_OBJECT
public:
    explicit RecordingController(MainWindow& window);
    ~RecordingController() override;

    const RecordingRun& run() const { return m_run; }

    // Ends the program once the run has done its work; tests watch it instead.
    std::function<void()> endProgram;
    // Asks the system to switch the computer off; tests watch it instead.
    std::function<void()> powerOff;
    // How long a CD drive may take to report that it plays.
    int cdStartLimitMs = 10000;

    void startRecording();
    void stopRecording();
    // Asks the system to shut down, then ends the program.
    void stängav();

private:
    void startNext();
    void showEntry(int k);
    bool playMedia(int k);
    void mediaStarted();
    void startCdTrack(const PlaylistEntry& entry);
    void checkCdStarted();
    void watchCd();
    void watchMedia();
    void mediaEnded();
    void mediaFailed(const QString& description);
    void trackEnded();
    void endOfRun();
    void fail(const QString& description);
    void showProgress(const std::function<double()>& position, CountdownRounding rounding);
    void resetDisplay();
    void enableRunButtons();
    QList<FlatButton*> runButtons() const;
    int playlistFormat() const;

    MainWindow& m_window;
    MediaPlayer& m_player;
    RecordingRun m_run;
    int m_queuedTrack = 0; // the media entry handed to the player and not yet heard
    QTimer m_cdStartPoll;  // asks the drive whether it plays yet
    QElapsedTimer m_cdWaited;
};
