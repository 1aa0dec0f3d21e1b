#pragma once

#include "common/playlist_table.h"

#include <QString>
#include <vector>

struct RecorderKind;

// How the playlist fits on a recorder's medium, counted as the medium counts.
struct MediumFit {
    double usedSeconds = 0;
    double capacitySeconds = 0;
    double leftSeconds = 0; // negative: over
    int trackCount = 0;
    int trackLimit = 0; // 0: no limit
    // Entries whose gap after them is shorter than the recorder's minimum silence,
    // so that the recorder will not start a new track there; list indexes.
    std::vector<int> shortGaps;

    int tracksOver() const { return trackLimit > 0 && trackCount > trackLimit ? trackCount - trackLimit : 0; }
    bool fits() const { return leftSeconds >= 0 && tracksOver() == 0; }
};

// Each entry takes its length plus the gap after it (none after the last); on a
// medium with a track unit, each track takes whole units.
// The lead-in is recorded as the start of the first track.
MediumFit mediumFit(const PlaylistTable& table, const RecorderKind& kind, double leadInSeconds = 0);
// What one entry takes on the kind's medium, with or without the gap after it, and
// with the silence recorded before it as part of it.
double trackSecondsOn(const RecorderKind& kind, const PlaylistEntry& entry, bool withGap, double beforeSeconds = 0);

// "72:10 of 74:00 used, 1:50 left; 18 of 254 tracks".
QString fitSummary(const MediumFit& fit);
// "72:10 of 74:00 used, 1:50 left", or "3:20 over" at the end.
QString spaceText(double usedSeconds, double capacitySeconds);
// "3:20 over" for a negative time left.
QString overText(double leftSeconds);
// "18 of 254 tracks", "2 tracks" with no limit, or as tracksOverText over the limit.
QString trackCountText(int count, int limit);
// "260 tracks: 6 over the limit of 254".
QString tracksOverText(int count, int limit);

// What does not fit: "3:20 over", "260 tracks: 6 over the limit of 254", or both;
// empty when everything fits.
QString fitProblems(const MediumFit& fit);
