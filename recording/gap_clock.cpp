#include "recording/gap_clock.h"

#include <algorithm>
#include <cmath>

void GapClock::starting()
{
    m_soundStart.reset();
}

void GapClock::heard(qint64 now, double positionSeconds)
{
    // Before the first sample is heard the position says nothing about the timing.
    if (!(positionSeconds > 0) || !std::isfinite(positionSeconds))
        return;
    m_soundStart = double(now) - positionSeconds * 1000;
}

double GapClock::soundEndedAgo(qint64 now, double durationSeconds) const
{
    if (!m_soundStart || !std::isfinite(durationSeconds))
        return 0;
    return std::max(0.0, double(now) - (*m_soundStart + durationSeconds * 1000));
}
