#include "recording/progress_display.h"

#include "common/clock_text.h"

#include <algorithm>
#include <cmath>

float percentOf(double part, double whole)
{
    if (!(whole > 0))
        return 100; // nothing to wait for: the bar is full
    const double percent = part / whole * 100;
    if (!(percent > 0))
        return 0;
    return float(std::min(percent, 100.0));
}

qint64 countdownSeconds(double seconds, CountdownRounding rounding)
{
    const double whole = rounding == CountdownRounding::HalfToEven ? std::nearbyint(seconds)
                                                                   : std::trunc(seconds);
    if (!(whole > 0))
        return 0;
    constexpr double kLongest = 1e12; // far beyond any playlist, well inside qint64
    return qint64(std::min(whole, kLongest));
}

ProgressDisplay progressDisplay(const std::function<double()>& position, const RunFigures& run,
                                CountdownRounding rounding)
{
    ProgressDisplay display;
    display.trackPercent = percentOf(position(), run.trackLength);
    display.totalPercent = percentOf(position() + run.completedTime, run.playlistTotal);
    const qint64 trackLeft = countdownSeconds(run.trackLength - position(), rounding);
    display.trackCaption = QStringLiteral("Left of track (") + clockText(trackLeft) + QStringLiteral(") :");
    const double totalLeft = run.playlistTotal - (position() + run.completedTime + run.gapTotal);
    display.totalCaption = QStringLiteral("Left of total (") + clockText(countdownSeconds(totalLeft, rounding))
        + QStringLiteral(") :");
    return display;
}
