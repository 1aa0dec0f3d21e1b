#pragma once

#include <QString>

class PlaylistTable;

// The state of a recording run, kept by the main window beside the playlist.
// Numbers that pass between the run's handlers are held as decimal text.
struct RecordingRun {
    // Which of the run's timers is armed: Waiting is Timer1 (the gap) or the
    // player holding the gap before a media file, PlayingCd is Timer3 and
    // PlayingMedia is Timer4. Idle arms none, nor does StartingCd, while the
    // drive spins up.
    enum class State { Idle, Waiting, PlayingMedia, StartingCd, PlayingCd };

    State state = State::Idle;
    QString currentTrackNumber = QStringLiteral("0"); // 1-based, of the entry playing or last played
    double completedTime = 0;     // seconds of the entries finished in this run
    double gapTotal = 0;          // seconds of every gap but the last entry's
    QString currentTrackLength;   // whole seconds of the entry playing
    QString cdTrackNumber;        // the CD track playing, to notice the drive moving on

    int currentTrack() const;
};

// Seconds of the gaps of every entry but the last, each through its decimal text.
double gapTotalOf(const PlaylistTable& table);

// Timer1's interval for a gap of gapMs milliseconds: rounded half to even, at least
// 1 ms (a negative gap waits nothing), and never cut short of a long gap.
int gapInterval(double gapMs);

// An entry whose path ends in ".cda", in any case, is played by the CD drive.
bool isCdEntry(const QString& path);

// The number after "track" in a CD entry's path (Track07.CDA gives 7), or 0
// when the path names no track.
double cdTrackNumberOf(const QString& path);

// A CD track has ended when the drive has moved on to another track or has played
// as many whole seconds as the track is long.
bool cdTrackHasEnded(const RecordingRun& run, qint16 driveTrack, qint16 driveSeconds);
