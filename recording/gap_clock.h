#pragma once

#include <QtGlobal>
#include <optional>

// The silence a recorder hears after a media file begins with the file's last
// audible sample, which can be before the player reports the end of the stream.
// The clock places that moment from the positions read while the file plays, so
// that the gap is counted from the real end of the sound. Times are milliseconds
// on one monotonic clock.
class GapClock {
public:
    // A new file is about to play; what was heard of the last one no longer counts.
    void starting();
    // The player said it was at positionSeconds at the moment now.
    void heard(qint64 now, double positionSeconds);

    // How long ago the sound of the file ended, at its end-of-stream report; 0 when
    // no position was read while it played.
    double soundEndedAgo(qint64 now, double durationSeconds) const;

private:
    std::optional<double> m_soundStart; // when position 0 of the playing file was heard
};
