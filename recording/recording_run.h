#pragma once

#include "common/gain_source.h"
#include "discs/entry_sound.h"
#include "recording/progress_display.h"
#include "recording/run_rules.h"
#include "recording/when_done.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class Discs;
class MediaPlayer;
class Playlist;

// A recording run: plays every entry of the playlist once, in order, through the
// player (a CD track as its disc's sound), with each entry's gap of silence after
// it but the last, then follows the "When done" choices. A track whose sound broke
// somewhere is named when the run is over. It owns the run's timers (objectNames
// Timer1, the gap; the watch of the entry playing is Timer3 while that is a CD
// track and Timer4 while it is a media file) and tells what happened through its signals; it touches no widget. A lead-in of
// silence may come before the first entry. A cassette's run holds after side A, the
// output sending silence, until the user has turned it over and goes on.
class RecordingRun : public QObject {
    Q_OBJECT
public:
    // Idle is the only state in which no run is going on.
    enum class State { Idle, Waiting, Playing, Holding };

    RecordingRun(const Playlist& playlist, MediaPlayer& player, Discs& discs, QString programDirectory,
                 QObject* parent = nullptr);
    ~RecordingRun() override;

    // Starts a run of the playlist as it stands; nothing when it is empty.
    void start();
    // Ends a run at once, also when none is going on: the player and the display are reset.
    void stop();
    // Ends a run the way a failure of the player does: the user is told why, and
    // nothing of "When done" follows.
    void fail(const QString& description);
    // The choices the end of the run follows, as they stand then.
    void setWhenDone(const WhenDoneChoices& choices) { m_whenDone = choices; }
    // The silence sent before the first entry, so a recorder locks to the signal and
    // arms before the music starts.
    void setLeadIn(double seconds) { m_leadInSeconds = seconds; }
    // Where side B begins: the index of its first entry. An index that leaves a side
    // empty makes the run one-sided.
    void setSideBreak(int firstIndexOfSideB) { m_sideBreak = firstIndexOfSideB; }
    // Goes on after the hold: side B's first entry follows the lead-in, counted from
    // now; later when the output already holds more silence than that.
    void continueRun();
    // Asked for each entry's gain as it is handed to the player. None: every entry plays
    // as its samples are.
    void setGainSource(GainSource* gains) { m_gains = gains; }

    State state() const { return m_state; }
    bool isRunning() const { return m_state != State::Idle; }
    int currentTrack() const { return m_currentTrack; } // 1-based, of the entry playing or last played
    double completedTime() const { return m_completedTime; }
    double gapTotal() const { return m_gapTotal; }

Q_SIGNALS:
    void started();
    // During a lead-in, now and then: entry number is heard in about so many seconds.
    void leadInLeft(int number, double seconds);
    // Entry number (from 1) is heard from now on.
    void entryStarted(int number);
    // A watch timer's figures; fromMedia for the media watch.
    void progressChanged(const ProgressDisplay& display, bool fromMedia);
    // Side A has been heard to its end: nothing more plays until continueRun().
    void holdStarted();
    // The hold is over: the run goes on, or was stopped.
    void holdEnded();
    // Something the user must be told: the run goes on, or ends right after.
    void warning(const QString& text);
    // The run is over, stopped or done; the display goes back to rest.
    void ended();
    // The run is done and "Exit program" is ticked: the program is to end, after
    // switching the computer off when powerOff.
    void quitRequested(bool powerOff);

private:
    void startNext();
    int sideBFirst() const;
    double silenceBefore(int number) const;
    void hold();
    void queue(int number, const EntrySound& entry);
    void mediaTaken();
    void handAhead();
    void mediaStarted();
    void mediaBroke(double position);
    void tellBreaks();
    void startWatch(bool cdTrack);
    void watch();
    void mediaEnded();
    void mediaFailed(const QString& description);
    void trackEnded();
    void endOfRun();
    void startLeadIn(int number);
    void watchLeadIn();
    void showProgress(const std::function<double()>& position, CountdownRounding rounding, bool fromMedia);

    const Playlist& m_playlist;
    MediaPlayer& m_player;
    Discs& m_discs;
    QString m_programDirectory;
    WhenDoneChoices m_whenDone;
    double m_leadInSeconds = 0;
    int m_sideBreak = -1;
    GainSource* m_gains = nullptr;

    QTimer m_gapTimer;
    QTimer m_watch;
    bool m_watchingCd = false; // a drive tells its position in whole seconds; a file to the sample
    QTimer m_leadInWatch;
    QElapsedTimer m_leadInClock;
    int m_leadInTrack = 0; // the entry the lead-in comes before

    State m_state = State::Idle;
    int m_currentTrack = 0;
    double m_completedTime = 0;
    double m_gapTotal = 0;
    double m_trackLength = 0; // seconds of the entry playing
    struct Queued {
        int number;
        double length;
    };
    std::deque<Queued> m_queued; // the entries handed to the player and not yet heard, in order
    int m_waitingInPlayer = 0;   // of those, the ones whose sound the player has not begun to take
    std::vector<SoundBreak> m_breaks;
};
