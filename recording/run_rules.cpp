#include "recording/run_rules.h"

#include "common/number_text.h"
#include "common/playlist_table.h"

#include <climits>
#include <cmath>

double gapTotalOf(const PlaylistTable& table)
{
    double total = 0;
    for (int i = 0; i < table.lastIndex(); ++i)
        total += leadingNumber(plainNumber(table[i].gap)) / 1000;
    return total;
}

int gapInterval(double gapMs)
{
    const double whole = std::nearbyint(gapMs); // the default rounding mode: halves to even
    if (!(whole >= 1))
        return 1;
    return whole >= INT_MAX ? INT_MAX : int(whole);
}

bool cdTrackHasEnded(int track, double trackLength, qint16 driveTrack, qint16 driveSeconds)
{
    return driveTrack != track || driveSeconds == trackLength;
}
