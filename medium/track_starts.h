#pragma once

#include "common/playlist_table.h"

#include <QString>
#include <vector>

struct RecorderKind;

// Where each entry starts on the medium, in seconds from the start of its side: the
// lead-in, then the earlier entries of the side with their gaps. On a medium that
// counts tracks in whole units, each earlier track counts rounded up as the medium
// counts it, and the lead-in belongs to the first track, which starts at 0.
// sideStarts are the indexes where sides begin ({0, 7}: side B from the eighth
// entry); the first entry always begins one.
std::vector<double> trackStarts(const PlaylistTable& table, const RecorderKind& kind, double leadInSeconds,
                                const std::vector<int>& sideStarts);

// A start as minutes and seconds, rounded down: "03:45", "125:03".
QString startTimeText(double seconds);
