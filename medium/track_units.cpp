#include "medium/track_units.h"

#include <cmath>

double secondsInTrackUnits(double seconds, int unitSeconds)
{
    if (unitSeconds <= 0 || seconds <= 0)
        return seconds;
    // Lengths are whole seconds and gaps whole milliseconds, so a millisecond's
    // tolerance keeps an exact multiple of the unit from rounding up.
    return std::ceil(seconds / unitSeconds - 1e-6) * unitSeconds;
}
