#pragma once

#include <QtGlobal>
#include <deque>
#include <optional>

// The silence a recorder hears after a media file begins with the file's last
// audible sample, which can be before the player reports the end of the stream,
// and ends when the next file is heard, some time after it was asked to play.
// The clock places both moments from the positions read while a file plays, so
// that the gap can be counted from the real end of the sound and the next file
// started early by its start-up time. Times are milliseconds on one monotonic clock.
class GapClock {
public:
    // A new file is asked to play at the moment now.
    void starting(qint64 now);
    // The player said it was at positionSeconds at the moment now.
    void heard(qint64 now, double positionSeconds);

    // How long ago the sound of the file ended, at its end-of-stream report; 0 when
    // no position was read while it played.
    double soundEndedAgo(qint64 now, double durationSeconds) const;
    // How long a file takes from being asked to play to being heard: the shortest
    // of the last few, so that one slow start never shortens a later gap; 0 until
    // two files have been heard.
    double startDelay() const;

private:
    qint64 m_startingAt = 0;
    std::optional<double> m_soundStart; // when position 0 of the playing file was heard
    std::deque<double> m_startDelays;   // the latest last
};
