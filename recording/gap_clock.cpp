#include "recording/gap_clock.h"

#include <algorithm>
#include <cmath>

void GapClock::starting(qint64 now)
{
    m_startingAt = now;
    m_soundStart.reset();
}

void GapClock::heard(qint64 now, double positionSeconds)
{
    // Before the first sample is heard the position says nothing about the timing.
    if (!(positionSeconds > 0) || !std::isfinite(positionSeconds))
        return;
    const bool firstReading = !m_soundStart;
    m_soundStart = double(now) - positionSeconds * 1000;
    const double delay = std::max(0.0, *m_soundStart - double(m_startingAt));
    if (firstReading)
        m_startDelays.push_back(delay);
    else
        m_startDelays.back() = std::min(m_startDelays.back(), delay);
    constexpr size_t kRemembered = 5;
    if (m_startDelays.size() > kRemembered)
        m_startDelays.pop_front();
}

double GapClock::startDelay() const
{
    // One file alone is no guide: the first start of a program also connects to the sound server.
    if (m_startDelays.size() < 2)
        return 0;
    return *std::min_element(m_startDelays.begin(), m_startDelays.end());
}

double GapClock::soundEndedAgo(qint64 now, double durationSeconds) const
{
    if (!m_soundStart || !std::isfinite(durationSeconds))
        return 0;
    return std::max(0.0, double(now) - (*m_soundStart + durationSeconds * 1000));
}
