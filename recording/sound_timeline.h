#pragma once

#include <QtGlobal>
#include <optional>

// Where each file's samples go on the one timeline of a sound output that stays
// open from file to file. A file is placed the asked silence after the last
// file's sound ended, so the silence a recorder hears is exact to the sample; a
// file whose first samples come too late for that moment is placed as soon as
// it can be, so no sample is ever dropped and no silence is ever shortened.
// Times are nanoseconds on the output's clock.
class SoundTimeline {
public:
    // The output starts anew: nothing played before.
    void reset();
    // The next file is wanted silenceMs after the sound of the last one ended.
    void want(double silenceMs);
    // The file's first samples are ready at the moment now; returns where they go.
    qint64 place(qint64 now);
    // Where the sample frame-th of the placed file goes, at rate frames a second.
    qint64 at(qint64 frame, int rate) const;
    // The file gave its last sample, frames in all, at the moment now; returns the
    // end of its sound. A file without sound ends at that moment.
    qint64 finish(qint64 frames, int rate, qint64 now);

    // Where the playing file's sound begins; empty until its first samples are placed.
    std::optional<qint64> start() const { return m_start; }

    // How far ahead of the clock the first samples of a file must be placed so
    // that they reach the sound device in time.
    static constexpr qint64 kReadyAheadNs = 50'000'000;

private:
    std::optional<qint64> m_lastEnd;
    std::optional<qint64> m_wanted;
    std::optional<qint64> m_start;
};
