#pragma once

#include <QtGlobal>
#include <cmath>
#include <deque>
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
    // A file waits behind those waiting already: the first of them is due silenceMs
    // after the sound of the last one ends (once it has ended, when a file is still
    // being written), or silenceMs into the output when nothing played since it
    // started, never before kSettleMs. An infinite silence holds the file until resume().
    void want(double silenceMs);
    // The first waiting file, held, is due silenceMs after heardFrame, the frame heard now.
    void resume(qint64 heardFrame, double silenceMs);
    // Once a resumed file is due at a frame already written with silence, that silence is
    // written anew from the due frame on, or from earliest when that is later: a sound
    // server holds seconds of it ahead, which would make the silence after a hold longer
    // than asked. Returns the frames taken back; what comes next is written from there.
    qint64 takeBackSilence(qint64 earliest);
    // The file that waits last is not played after all.
    void forgetLastWaiting();
    // How much silence to write before the waiting file starts, at most maxFrames;
    // 0 when it is due. maxFrames when no file is due yet.
    qint64 silenceBeforeStart(qint64 maxFrames) const;
    // The first waiting file's first sample is written next.
    void startFile();
    void advance(qint64 frames);
    // The file's last sample was written; its sound ends here.
    void endFile();

    bool fileWaiting() const { return !m_waiting.empty(); }
    bool held() const { return !m_waiting.empty() && isHold(m_waiting.front()); }
    qint64 written() const { return m_written; }
    // The moment of a frame, in nanoseconds from the start of the output.
    qint64 nanoseconds(qint64 frame) const;

    static constexpr int kSettleMs = 100;

private:
    static bool isHold(double silenceMs) { return std::isinf(silenceMs) && silenceMs > 0; }
    void placeWaitingFile();
    qint64 framesOf(double silenceMs) const;

    int m_rate;
    qint64 m_written = 0;
    bool m_fileSounding = false;
    std::deque<double> m_waiting; // the silence asked before each waiting file
    std::optional<qint64> m_due;
    std::optional<qint64> m_lastEnd;
    bool m_resumed = false; // the file due was held: the silence before it may be taken back
};
