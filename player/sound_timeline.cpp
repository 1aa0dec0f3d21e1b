#include "player/sound_timeline.h"

#include <algorithm>
#include <cmath>

SoundTimeline::SoundTimeline(int rate)
    : m_rate(rate)
{
}

void SoundTimeline::reset()
{
    m_written = 0;
    m_fileSounding = false;
    m_waiting.clear();
    m_due.reset();
    m_lastEnd.reset();
    m_resumed = false;
}

void SoundTimeline::want(double silenceMs)
{
    m_waiting.push_back(silenceMs);
    if (m_waiting.size() == 1 && !m_fileSounding)
        placeWaitingFile();
}

void SoundTimeline::resume(qint64 heardFrame, double silenceMs)
{
    if (!held())
        return;
    if (m_fileSounding) { // due once that file ends, as any other
        m_waiting.front() = silenceMs;
        return;
    }
    m_waiting.front() = 0;
    // Never into the last sound, nor into the moments a new stream may lose.
    m_due = std::max(heardFrame + framesOf(silenceMs), m_lastEnd.value_or(qint64(m_rate) * kSettleMs / 1000));
    m_resumed = true;
}

qint64 SoundTimeline::takeBackSilence(qint64 earliest)
{
    if (!m_resumed || !m_due || m_fileSounding)
        return 0;
    const qint64 from = std::max(*m_due, earliest);
    if (from >= m_written)
        return 0;
    const qint64 taken = m_written - from;
    m_written = from;
    return taken;
}

void SoundTimeline::forgetLastWaiting()
{
    if (m_waiting.empty())
        return;
    m_waiting.pop_back();
    if (m_waiting.empty())
        m_due.reset();
}

void SoundTimeline::placeWaitingFile()
{
    if (held()) {
        m_due.reset();
        return;
    }
    if (!m_lastEnd) {
        // A sound server may drop the first moments of a new stream: the file waits at
        // least that long, so none of it is lost. Before it there is silence all the
        // same, whether dropped or heard.
        m_due = std::max({m_written, qint64(m_rate) * kSettleMs / 1000, framesOf(m_waiting.front())});
        return;
    }
    m_due = *m_lastEnd + framesOf(m_waiting.front());
}

qint64 SoundTimeline::framesOf(double silenceMs) const
{
    // A negative gap asks for no silence; one beyond any clock is past reach anyway.
    return silenceMs > 0 ? qint64(std::ceil(std::min(silenceMs, 1e12) * m_rate / 1000)) : 0;
}

qint64 SoundTimeline::silenceBeforeStart(qint64 maxFrames) const
{
    if (!m_due)
        return maxFrames;
    return std::clamp(*m_due - m_written, qint64(0), maxFrames);
}

void SoundTimeline::startFile()
{
    m_fileSounding = true;
    m_resumed = false;
    if (!m_waiting.empty())
        m_waiting.pop_front();
    m_due.reset();
}

void SoundTimeline::advance(qint64 frames)
{
    m_written += frames;
}

void SoundTimeline::endFile()
{
    m_fileSounding = false;
    m_lastEnd = m_written;
    if (!m_waiting.empty())
        placeWaitingFile();
}

qint64 SoundTimeline::nanoseconds(qint64 frame) const
{
    // Whole seconds first keeps the product in range for runs of any length.
    constexpr qint64 kSecond = 1'000'000'000;
    return frame / m_rate * kSecond + frame % m_rate * kSecond / m_rate;
}
