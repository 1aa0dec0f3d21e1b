#pragma once

#include <QtGlobal>
#include <optional>

// The one timeline of a sound output that stays open from file to file and is
// written without a break: a file's samples, then silence, then the next file.
// The next file is due the asked silence after the last one's sound ended, so
// the silence a recorder hears is exact to the sample; a file that is not ready
// when due starts as soon as it is, so a silence is never shortened. Positions
// are sample frames from the start of the output.
class SoundTimeline {
public:
    explicit SoundTimeline(int rate);

    // The output starts anew: nothing written, nothing played.
    void reset();
    // The next file is due silenceMs after the sound of the last one ended, or
    // kSettleMs into the output when nothing played since it started.
    void want(double silenceMs);
    // How much silence to write before the waiting file starts, at most maxFrames;
    // 0 when it is due. maxFrames when no file waits.
    qint64 silenceBeforeStart(qint64 maxFrames) const;
    // The waiting file's first sample is written next.
    void startFile();
    void advance(qint64 frames);
    // The file's last sample was written; its sound ends here.
    void endFile();

    bool fileWaiting() const { return m_due.has_value(); }
    qint64 written() const { return m_written; }
    // Where the latest file's sound begins and ends; empty until it does.
    std::optional<qint64> fileStart() const { return m_start; }
    std::optional<qint64> lastEnd() const { return m_lastEnd; }
    // The moment of a frame, in nanoseconds from the start of the output.
    qint64 nanoseconds(qint64 frame) const;

    static constexpr int kSettleMs = 100;

private:
    int m_rate;
    qint64 m_written = 0;
    std::optional<qint64> m_due;
    std::optional<qint64> m_start;
    std::optional<qint64> m_lastEnd;
};
