#include "common/playlist_table.h"
#include "recorder/medium_fit.h"
#include "recorder/recorder_kind.h"
#include "recorder/side_plan.h"
#include "recorder/side_plan_text.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

// Entries of whole seconds, each with the gap in milliseconds after it.
PlaylistTable tableOf(std::initializer_list<std::pair<int, double>> entries)
{
    PlaylistTable table;
    for (const auto& [seconds, gapMs] : entries)
        table.push_back({QStringLiteral("/m/%1.flac").arg(table.size() + 1), seconds, gapMs});
    return table;
}

RecorderKind kind(const char* id)
{
    return recorderKindById(QString::fromLatin1(id)).value();
}

// Each side as first, count, used, left.
std::vector<std::tuple<int, int, double, double>> sidesOf(const SidePlan& plan)
{
    std::vector<std::tuple<int, int, double, double>> sides;
    for (const PlannedSide& side : plan.sides)
        sides.emplace_back(side.first, side.count, side.usedSeconds, side.leftSeconds);
    return sides;
}

constexpr SideSettings kFill{6, SideSplit::FillSideAFirst};
constexpr SideSettings kBalance{6, SideSplit::Balance};

} // namespace

// A C60 side holds 1800 s, 1794 s after the leader; each side's last gap is not counted.
TEST(SidePlan, fillingSideAFirstAndBalancingSplitAtOnePoint)
{
    const PlaylistTable table = tableOf({{600, 4000}, {600, 4000}, {500, 4000}, {300, 4000}, {200, 0}});
    const SidePlan filled = planSides(table, kind("cassette-c60"), kFill);
    EXPECT_DOUBLE_EQ(filled.sideCapacitySeconds, 1794);
    using Sides = decltype(sidesOf(filled));
    EXPECT_EQ(sidesOf(filled), (Sides{{0, 3, 1708, 86}, {3, 2, 504, 1290}}));
    EXPECT_TRUE(filled.fits());
    EXPECT_TRUE(filled.longerThanASide.empty());

    // Splits after 1, 2 and 3 differ by 1012, 196 and 1204 s.
    EXPECT_EQ(sidesOf(planSides(table, kind("cassette-c60"), kBalance)),
              (Sides{{0, 2, 1204, 590}, {2, 3, 1008, 786}}));
    // A tie goes to the later split; a single entry stays on side A.
    EXPECT_EQ(sidesOf(planSides(tableOf({{100, 0}, {100, 0}, {100, 0}}), kind("cassette-c60"), kBalance)),
              (Sides{{0, 2, 200, 1594}, {2, 1, 100, 1694}}));
    EXPECT_EQ(sidesOf(planSides(tableOf({{100, 0}}), kind("cassette-c60"), kBalance)),
              (Sides{{0, 1, 100, 1694}, {1, 0, 0, 1794}}));
    EXPECT_EQ(sidesOf(planSides(PlaylistTable(), kind("cassette-c60"), kBalance)),
              (Sides{{0, 0, 0, 1794}, {0, 0, 0, 1794}}));
}

TEST(SidePlan, theLeaderAndTheLeadInComeOffEachSide)
{
    // Two 900 s entries fill a side of tape exactly: without a leader side B stays empty.
    const PlaylistTable table = tableOf({{900, 0}, {900, 0}});
    using Sides = decltype(sidesOf(SidePlan()));
    EXPECT_EQ(sidesOf(planSides(table, kind("cassette-c60"), {0, SideSplit::FillSideAFirst})),
              (Sides{{0, 2, 1800, 0}, {2, 0, 0, 1800}}));
    EXPECT_EQ(sidesOf(planSides(table, kind("cassette-c60"), {1, SideSplit::FillSideAFirst})),
              (Sides{{0, 1, 900, 899}, {1, 1, 900, 899}}));
    const SidePlan longLeader = planSides(table, kind("cassette-c90"), {60, SideSplit::FillSideAFirst});
    EXPECT_DOUBLE_EQ(longLeader.sideCapacitySeconds, 2640);
    // The lead-in is played at the start of each side.
    EXPECT_EQ(sidesOf(planSides(table, kind("cassette-c60"), {0, SideSplit::FillSideAFirst}, 1)),
              (Sides{{0, 1, 900, 899}, {1, 1, 900, 899}}));
    // On one side, it is the start of the first track, in the medium's units.
    const SidePlan miniDisc = planSides(table, kind("minidisc-74-sp"), {}, 3);
    EXPECT_DOUBLE_EQ(miniDisc.sides[0].usedSeconds, 1804);
    EXPECT_DOUBLE_EQ(mediumFit(table, kind("minidisc-74-sp"), 3).usedSeconds, 1804);
}

TEST(SidePlan, anEntryLongerThanASideGoesWhereTheSplitPutsIt)
{
    // A C46 side holds 1374 s after the leader.
    const PlaylistTable table = tableOf({{300, 2000}, {1400, 2000}, {300, 0}});
    const SidePlan filled = planSides(table, kind("cassette-c46"), kFill);
    using Sides = decltype(sidesOf(filled));
    EXPECT_EQ(sidesOf(filled), (Sides{{0, 1, 300, 1074}, {1, 2, 1702, -328}}));
    EXPECT_EQ(filled.longerThanASide, std::vector<int>{1});
    EXPECT_FALSE(filled.fits());

    // Side A is not left empty when its first entry is too long for it.
    const SidePlan first = planSides(tableOf({{1400, 2000}, {100, 0}}), kind("cassette-c46"), kFill);
    EXPECT_EQ(sidesOf(first), (Sides{{0, 1, 1400, -26}, {1, 1, 100, 1274}}));
    EXPECT_EQ(first.longerThanASide, std::vector<int>{0});
}

TEST(SidePlan, aOneSidedMediumKeepsItsOwnCountingAndTrackLimitsHoldForTheWholeMedium)
{
    // MiniDisc LP4 counts in 8 s units; neither leader nor split touches it.
    const PlaylistTable table = tableOf({{215, 2000}, {100, 1500}, {64, 2000}});
    const RecorderKind miniDisc = kind("minidisc-74-lp4");
    const SidePlan plan = planSides(table, miniDisc, {60, SideSplit::Balance});
    const MediumFit fit = mediumFit(table, miniDisc);
    using Sides = decltype(sidesOf(plan));
    EXPECT_EQ(sidesOf(plan), (Sides{{0, 3, fit.usedSeconds, fit.leftSeconds}}));
    EXPECT_DOUBLE_EQ(fit.usedSeconds, 224 + 104 + 64);
    EXPECT_TRUE(plan.fits());

    const RecorderKind limited = customRecorderKind({10, 2, -40, 4, 2});
    const SidePlan tooMany = planSides(tableOf({{60, 0}, {60, 0}, {60, 0}}), limited, kFill);
    EXPECT_EQ(tooMany.tracksOver(), 1);
    EXPECT_GE(tooMany.sides[0].leftSeconds, 0);
    EXPECT_FALSE(tooMany.fits());
}

TEST(SidePlanText, aLineASideAndOneForEachEntryTooLong)
{
    const PlaylistTable table = tableOf({{300, 2000}, {1400, 2000}, {2100, 0}, {300, 0}});
    const TitleLookup lookup = [](const QString& path) {
        return path.endsWith("/3.flac") ? QStringLiteral("Long Song") : QString();
    };
    const SidePlan plan = planSides(table, kind("cassette-c46"), kFill);
    EXPECT_EQ(sidePlanLines(plan, table, lookup),
              QStringList({"Side A: track 1, 5:00 of 22:54 used, 17:54 left",
                           "Side B: tracks 2–4, 63:22 of 22:54 used, 40:28 over",
                           "“2” (23:20) fits on neither side", "“Long Song” (35:00) fits on neither side"}));
    const PlaylistTable one = tableOf({{100, 0}});
    EXPECT_EQ(sidePlanLines(planSides(one, kind("cassette-c46"), kFill), one, lookup),
              QStringList({"Side A: track 1, 1:40 of 22:54 used, 21:14 left", "Side B: empty"}));
}

TEST(SidePlanText, theQuestionBeforeARunNamesEachSideOver)
{
    const PlaylistTable table = tableOf({{1790, 0}, {1994, 0}});
    EXPECT_EQ(recordAnywayQuestion(table, kind("cassette-c60"), kFill),
              "The list does not fit on Cassette C60 (30 min a side): side B 3:20 over. Record anyway?");
    EXPECT_EQ(recordAnywayQuestion(tableOf({{1790, 0}, {1790, 0}}), kind("cassette-c60"), kFill), "");

    const PlaylistTable three = tableOf({{700, 0}, {700, 0}, {100, 0}});
    EXPECT_EQ(recordAnywayQuestion(three, customRecorderKind({10, 2, -40, 4, 2}), {0, SideSplit::FillSideAFirst}),
              "The list does not fit on Custom (10 min a side): side A 1:40 over; side B 3:20 over; "
              "3 tracks: 1 over the limit of 2. Record anyway?");

    // One side: the whole medium, as it always was; no leader is taken off.
    EXPECT_EQ(recordAnywayQuestion(tableOf({{3602, 0}}), kind("minidisc-60-sp"), kFill),
              "The list does not fit on MiniDisc 60 min (SP): 0:02 over. Record anyway?");
    EXPECT_EQ(recordAnywayQuestion(tableOf({{3600, 0}}), customRecorderKind({60, 0, -40, 4, 1}), kFill), "");
}
