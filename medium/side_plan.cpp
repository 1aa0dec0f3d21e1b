#include "medium/side_plan.h"

#include "medium/medium_fit.h"
#include "medium/recorder_kind.h"

#include <algorithm>
#include <cmath>

namespace {

// Entries first to first + count - 1 summed in list order, as mediumFit sums them,
// with the silence before the first.
double usedSeconds(const PlaylistTable& table, const RecorderKind& kind, int first, int count, double beforeSeconds)
{
    double seconds = 0;
    for (int index = first; index < first + count; ++index)
        seconds += trackSecondsOn(kind, table[size_t(index)], index < first + count - 1,
                                  index == first ? beforeSeconds : 0);
    return seconds;
}

// The most entries from the start that fit on a side; at least one.
int fillSplit(const PlaylistTable& table, const RecorderKind& kind, double capacitySeconds)
{
    const int count = int(table.size());
    double withGaps = 0; // the entries before the split, each with its gap
    int split = 1;
    for (; split < count; ++split) {
        withGaps += trackSecondsOn(kind, table[size_t(split - 1)], true);
        if (withGaps + trackSecondsOn(kind, table[size_t(split)], false) > capacitySeconds)
            break;
    }
    return split;
}

// The split with the closest used times; on a tie, the later one, so side A is the longer.
int balanceSplit(const PlaylistTable& table, const RecorderKind& kind)
{
    const int count = int(table.size());
    // fromHere[i]: entries i to the last, each with its gap but the last.
    std::vector<double> fromHere(size_t(count) + 1, 0);
    for (int index = count - 1; index >= 0; --index)
        fromHere[size_t(index)] = fromHere[size_t(index) + 1]
            + trackSecondsOn(kind, table[size_t(index)], index < count - 1);
    int best = count;
    double bestDifference = INFINITY;
    double withGaps = 0;
    for (int split = 1; split <= count; ++split) {
        const double sideA = withGaps + trackSecondsOn(kind, table[size_t(split - 1)], false);
        const double difference = std::abs(sideA - fromHere[size_t(split)]);
        if (difference <= bestDifference) {
            best = split;
            bestDifference = difference;
        }
        withGaps += trackSecondsOn(kind, table[size_t(split - 1)], true);
    }
    return best;
}

} // namespace

bool SidePlan::fits() const
{
    return tracksOver() == 0
        && std::all_of(sides.begin(), sides.end(), [](const PlannedSide& side) { return side.leftSeconds >= 0; });
}

SidePlan planSides(const PlaylistTable& table, const RecorderKind& kind, const SideSettings& settings,
                   double leadInSeconds)
{
    SidePlan plan;
    plan.trackCount = int(table.size());
    plan.trackLimit = kind.trackLimit;
    const bool twoSided = kind.sides > 1;
    // Each side starts with the lead-in: on two sides it is as good as tape that
    // takes no music, and it keeps balancing to the entries' own times.
    plan.sideCapacitySeconds = kind.capacitySeconds - (twoSided ? settings.leaderSeconds + leadInSeconds : 0);
    const double beforeFirst = twoSided ? 0 : leadInSeconds;
    int split = plan.trackCount;
    if (twoSided && plan.trackCount > 0)
        split = settings.split == SideSplit::Balance ? balanceSplit(table, kind)
                                                     : fillSplit(table, kind, plan.sideCapacitySeconds);
    const std::pair<int, int> ranges[] = {{0, split}, {split, plan.trackCount - split}};
    for (int side = 0; side < (twoSided ? 2 : 1); ++side) {
        const auto [first, count] = ranges[side];
        const double used = usedSeconds(table, kind, first, count, beforeFirst);
        plan.sides.push_back({first, count, used, plan.sideCapacitySeconds - used});
    }
    for (int index = 0; index < plan.trackCount; ++index) {
        if (trackSecondsOn(kind, table[size_t(index)], false) > plan.sideCapacitySeconds)
            plan.longerThanASide.push_back(index);
    }
    return plan;
}
