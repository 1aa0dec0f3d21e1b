#pragma once

// Seconds a track of the given seconds (its gap included) takes on a medium that
// counts each track in whole units of unitSeconds; 0: the medium counts exactly.
double secondsInTrackUnits(double seconds, int unitSeconds);
