#pragma once

#include "common/playlist_table.h"

#include <vector>

struct RecorderKind;

// How a list is split between the sides of a two-sided medium.
enum class SideSplit {
    FillSideAFirst, // side A takes entries in list order while they fit
    Balance,        // the split that makes the sides' used times closest
};

// What the user sets for a medium with sides.
struct SideSettings {
    static constexpr int kLeaderMost = 60;
    // Tape at the start of each side that records nothing.
    int leaderSeconds = 6;
    SideSplit split = SideSplit::FillSideAFirst;

    bool operator==(const SideSettings&) const = default;
};

// One side's share of the list: entries first to first + count - 1.
struct PlannedSide {
    int first = 0;
    int count = 0;
    double usedSeconds = 0;
    double leftSeconds = 0; // negative: over
};

// The list laid out on the medium's sides, split at one point in list order.
struct SidePlan {
    std::vector<PlannedSide> sides; // as many as the medium has
    double sideCapacitySeconds = 0; // the leader taken off, and a two-sided medium's lead-in
    // Entries longer than a side, each on the side the split puts it; list indexes.
    std::vector<int> longerThanASide;
    int trackCount = 0;
    int trackLimit = 0; // on the whole medium; 0: no limit

    int tracksOver() const { return trackLimit > 0 && trackCount > trackLimit ? trackCount - trackLimit : 0; }
    bool fits() const;
};

// A side counts as the medium counts (see mediumFit), its last entry without
// the gap after it. Side A is never empty while the list has entries, even when
// its first entry is longer than a side. A one-sided medium has one side holding
// the whole list, with neither leader nor split. The lead-in is recorded before
// each side's first entry.
SidePlan planSides(const PlaylistTable& table, const RecorderKind& kind, const SideSettings& settings,
                   double leadInSeconds = 0);
