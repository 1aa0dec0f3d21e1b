#include "recording/sound_timeline.h"

#include <algorithm>
#include <cmath>

void SoundTimeline::reset()
{
    m_lastEnd.reset();
    m_wanted.reset();
    m_start.reset();
}

void SoundTimeline::want(double silenceMs)
{
    m_start.reset();
    m_wanted.reset();
    if (!m_lastEnd)
        return;
    // A negative gap asks for no silence; one beyond any clock is past reach anyway.
    const double silenceNs = silenceMs > 0 ? std::min(silenceMs, 1e12) * 1e6 : 0;
    m_wanted = *m_lastEnd + qint64(std::ceil(silenceNs));
}

qint64 SoundTimeline::place(qint64 now)
{
    m_start = std::max(m_wanted.value_or(0), now + kReadyAheadNs);
    return *m_start;
}

qint64 SoundTimeline::at(qint64 frame, int rate) const
{
    // Counting from the start in whole frames keeps the sum free of rounding drift.
    constexpr qint64 kSecond = 1'000'000'000;
    return m_start.value_or(0) + frame / rate * kSecond + frame % rate * kSecond / rate;
}

qint64 SoundTimeline::finish(qint64 frames, int rate, qint64 now)
{
    if (frames > 0) {
        m_lastEnd = at(frames, rate);
        return *m_lastEnd;
    }
    if (!m_start)
        m_start = std::max(m_wanted.value_or(0), now);
    m_lastEnd = std::max(*m_start, now);
    return *m_lastEnd;
}
