#include "common/playlist_table.h"
#include "medium/medium_fit.h"
#include "medium/recorder_kind.h"
#include "medium/side_plan.h"
#include "medium/side_plan_text.h"
#include "medium/track_starts.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

// Entries of whole seconds, each with the gap in milliseconds after it, named by their number.
PlaylistTable tableOf(std::initializer_list<std::pair<int, double>> entries)
{
    PlaylistTable table;
    for (const auto& [seconds, gapMs] : entries)
        table.push_back({QStringLiteral("/m/%1.flac").arg(table.size() + 1), seconds, gapMs});
    return table;
}

PlaylistTable sameEntries(int count, int seconds, double gapMs)
{
    return PlaylistTable(count, PlaylistEntry{QStringLiteral("/m/a.flac"), seconds, gapMs});
}

RecorderKind kind(const char* id)
{
    return recorderKindById(QString::fromLatin1(id)).value();
}

// Each side as first, count, used, left.
using Sides = std::vector<std::tuple<int, int, double, double>>;
Sides sidesOf(const SidePlan& plan)
{
    Sides sides;
    for (const PlannedSide& side : plan.sides)
        sides.emplace_back(side.first, side.count, side.usedSeconds, side.leftSeconds);
    return sides;
}

constexpr SideSettings kFill{6, SideSplit::FillSideAFirst};
constexpr SideSettings kBalance{6, SideSplit::Balance};

} // namespace

// 215 s + 2 s gap, 100 s + 1.5 s gap, then 64 s, an exact multiple of every unit.
// A custom recorder's name and suggested gap are pinned in the Recorder window.
TEST(MediumFit, eachMediumCountsTracksInItsOwnUnitsAndListsGapsTooShort)
{
    const PlaylistTable table = tableOf({{215, 2000}, {100, 1500}, {64, 2000}});
    const std::pair<const char*, double> cases[] = {
        {"minidisc-74-sp", 218 + 102 + 64}, {"minidisc-74-lp2", 220 + 104 + 64}, {"minidisc-74-lp4", 224 + 104 + 64},
        {"cd-r-74", 217 + 101.5 + 64}, // no units; the last gap is never played
        {"dat-120", 382.5}, {"cassette-c90", 382.5},
    };
    for (const auto& [id, used] : cases) {
        const MediumFit fit = mediumFit(table, kind(id));
        EXPECT_DOUBLE_EQ(fit.usedSeconds, used) << id;
        EXPECT_DOUBLE_EQ(fit.leftSeconds, fit.capacitySeconds - used) << id;
        EXPECT_TRUE(fit.fits()) << id;
    }
    EXPECT_DOUBLE_EQ(mediumFit(table, kind("minidisc-80-lp4")).capacitySeconds, 320 * 60);
    EXPECT_DOUBLE_EQ(mediumFit(table, kind("cassette-c90")).capacitySeconds, 45 * 60); // one side

    // Gaps shorter than the minimum silence are listed, but not the last; every recorder
    // is offered a gap it takes for a break between tracks.
    const PlaylistTable gaps = tableOf({{60, 1000}, {60, 1500}, {60, 2999}, {60, 3000}, {60, 0}});
    EXPECT_EQ(mediumFit(gaps, kind("minidisc-74-sp")).shortGaps, (std::vector<int>{0}));
    EXPECT_EQ(mediumFit(gaps, kind("cd-r-74")).shortGaps, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(mediumFit(gaps, kind("cassette-c60")).shortGaps, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(mediumFit(PlaylistTable(), kind("cd-r-74")).shortGaps.empty());
    for (const RecorderKind& kind : recorderKinds())
        EXPECT_GE(kind.suggestedGapSeconds, kind.silence.minimumSeconds) << kind.id.toStdString();
}

// What is left or over, and the track limits of MiniDisc and CD-R; a medium a list
// fits on has no problems to tell.
TEST(MediumFit, summarySaysWhatIsLeftOrOverAndTracksOverTheLimit)
{
    // 17 tracks of 240 s with 2 s gaps and one of 216 s: 72:10 on a 74-minute disc.
    PlaylistTable table = sameEntries(17, 240, 2000);
    table.push_back({QStringLiteral("/m/b.flac"), 216, 2000});
    const struct { const char* kind; PlaylistTable table; const char* summary; const char* problems; } cases[] = {
        {"minidisc-74-sp", table, "72:10 of 74:00 used, 1:50 left; 18 of 254 tracks", ""},
        {"minidisc-74-sp", tableOf({{4640, 0}}), "77:20 of 74:00 used, 3:20 over; 1 of 254 tracks", "3:20 over"},
        // Half a second over is over; no track limit on a tape.
        {"cassette-c90", tableOf({{2699, 1500}, {0, 0}}), "45:01 of 45:00 used, 0:01 over; 2 tracks", "0:01 over"},
        {"cassette-c90", tableOf({{2700, 0}}), nullptr, ""},
        {"minidisc-74-sp", sameEntries(254, 1, 2000), nullptr, ""},
        // Time is left, but not tracks.
        {"minidisc-74-sp", sameEntries(260, 1, 2000), "17:18 of 74:00 used, 56:42 left; 260 tracks: 6 over the limit of 254",
         "260 tracks: 6 over the limit of 254"},
        {"cd-r-80", sameEntries(99, 10, 3000), nullptr, ""},
        {"cd-r-80", sameEntries(100, 10, 3000), nullptr, "100 tracks: 1 over the limit of 99"},
        {"cd-r-80", sameEntries(100, 60, 3000), nullptr, "24:57 over; 100 tracks: 1 over the limit of 99"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + ", " + std::to_string(c.table.size()) + " entries");
        const MediumFit fit = mediumFit(c.table, kind(c.kind));
        if (c.summary) { EXPECT_EQ(fitSummary(fit), c.summary); }
        EXPECT_EQ(fitProblems(fit), c.problems);
        EXPECT_EQ(fit.fits(), !*c.problems);
    }
}

// 215 s + 2 s gap, 100 s + 1.5 s gap, 64 s + 2 s gap, 30 s.
TEST(TrackStarts, eachMediumCountsEarlierTracksInItsOwnUnitsEachSideStartsAgainAndAWholeSecondShowsAsSuch)
{
    const PlaylistTable four = tableOf({{215, 2000}, {100, 1500}, {64, 2000}, {30, 0}});
    const std::pair<const char*, std::vector<double>> cases[] = {
        // The 1.5 s lead-in belongs to the first track: 218.5 s take 220 in 2 s units.
        {"minidisc-74-sp", {0, 220, 322, 388}}, {"minidisc-74-lp2", {0, 220, 324, 392}},
        {"minidisc-74-lp4", {0, 224, 328, 400}}, {"cd-r-74", {1.5, 218.5, 320, 386}},
        {"dat-120", {1.5, 218.5, 320, 386}},
    };
    for (const auto& [id, starts] : cases)
        EXPECT_EQ(trackStarts(four, kind(id), 1.5, {0}), starts) << id;

    const RecorderKind cassette = kind("cassette-c90");
    EXPECT_EQ(trackStarts(four, cassette, 4, {0, 2}), (std::vector<double>{4, 221, 4, 70}));
    EXPECT_EQ(trackStarts(four, cassette, 0, {0, 3}), (std::vector<double>{0, 217, 318.5, 0}));
    // The first entry begins a side even when the list of sides leaves it out.
    EXPECT_EQ(trackStarts(four, cassette, 0, {}), (std::vector<double>{0, 217, 318.5, 384.5}));
    EXPECT_TRUE(trackStarts({}, cassette, 4, {0}).empty());

    // Ten gaps of 0.1 s make a second; counted in seconds they would fall a hair short.
    EXPECT_EQ(startTimeText(trackStarts(sameEntries(11, 0, 100), kind("dat-60"), 0, {0}).back()), "00:01");
    EXPECT_EQ(startTimeText(59.999) + startTimeText(7503), "00:59125:03");
}

// A C60 side holds 1800 s, 1794 s after the leader; each side's last gap is not counted.
TEST(SidePlan, fillingSideAFirstAndBalancingSplitAtOnePointAndTheLeaderAndLeadInComeOffEachSide)
{
    const PlaylistTable table = tableOf({{600, 4000}, {600, 4000}, {500, 4000}, {300, 4000}, {200, 0}});
    const SidePlan filled = planSides(table, kind("cassette-c60"), kFill);
    EXPECT_DOUBLE_EQ(filled.sideCapacitySeconds, 1794);
    EXPECT_EQ(sidesOf(filled), (Sides{{0, 3, 1708, 86}, {3, 2, 504, 1290}}));
    EXPECT_TRUE(filled.fits() && filled.longerThanASide.empty());

    const auto balanced = [](const PlaylistTable& t) { return sidesOf(planSides(t, kind("cassette-c60"), kBalance)); };
    // Splits after 1, 2 and 3 differ by 1012, 196 and 1204 s.
    EXPECT_EQ(balanced(table), (Sides{{0, 2, 1204, 590}, {2, 3, 1008, 786}}));
    // A tie goes to the later split; a single entry stays on side A.
    EXPECT_EQ(balanced(tableOf({{100, 0}, {100, 0}, {100, 0}})), (Sides{{0, 2, 200, 1594}, {2, 1, 100, 1694}}));
    EXPECT_EQ(balanced(tableOf({{100, 0}})), (Sides{{0, 1, 100, 1694}, {1, 0, 0, 1794}}));
    EXPECT_EQ(balanced(PlaylistTable()), (Sides{{0, 0, 0, 1794}, {0, 0, 0, 1794}}));

    // Two 900 s entries fill a side of tape exactly: without a leader side B stays empty.
    const PlaylistTable full = tableOf({{900, 0}, {900, 0}});
    const auto c60 = [&](int leader, double leadIn) {
        return sidesOf(planSides(full, kind("cassette-c60"), {leader, SideSplit::FillSideAFirst}, leadIn));
    };
    EXPECT_EQ(c60(0, 0), (Sides{{0, 2, 1800, 0}, {2, 0, 0, 1800}}));
    EXPECT_EQ(c60(1, 0), (Sides{{0, 1, 900, 899}, {1, 1, 900, 899}}));
    EXPECT_DOUBLE_EQ(planSides(full, kind("cassette-c90"), {60, SideSplit::FillSideAFirst}).sideCapacitySeconds, 2640);
    // The lead-in is played at the start of each side.
    EXPECT_EQ(c60(0, 1), (Sides{{0, 1, 900, 899}, {1, 1, 900, 899}}));
    // On one side, it is the start of the first track, in the medium's units.
    EXPECT_DOUBLE_EQ(planSides(full, kind("minidisc-74-sp"), {}, 3).sides[0].usedSeconds, 1804);
    EXPECT_DOUBLE_EQ(mediumFit(full, kind("minidisc-74-sp"), 3).usedSeconds, 1804);
}

// A one-sided medium keeps its own counting; track limits hold for the whole medium.
TEST(SidePlan, anEntryLongerThanASideGoesWhereTheSplitPutsItAndOneSideIsTheWholeMedium)
{
    // A C46 side holds 1374 s after the leader.
    const SidePlan filled = planSides(tableOf({{300, 2000}, {1400, 2000}, {300, 0}}), kind("cassette-c46"), kFill);
    EXPECT_EQ(sidesOf(filled), (Sides{{0, 1, 300, 1074}, {1, 2, 1702, -328}}));
    EXPECT_TRUE(filled.longerThanASide == std::vector<int>{1} && !filled.fits());
    // Side A is not left empty when its first entry is too long for it.
    const SidePlan first = planSides(tableOf({{1400, 2000}, {100, 0}}), kind("cassette-c46"), kFill);
    EXPECT_EQ(sidesOf(first), (Sides{{0, 1, 1400, -26}, {1, 1, 100, 1274}}));
    EXPECT_EQ(first.longerThanASide, std::vector<int>{0});

    // MiniDisc LP4 counts in 8 s units; neither leader nor split touches it.
    const PlaylistTable table = tableOf({{215, 2000}, {100, 1500}, {64, 2000}});
    const SidePlan plan = planSides(table, kind("minidisc-74-lp4"), {60, SideSplit::Balance});
    const MediumFit fit = mediumFit(table, kind("minidisc-74-lp4"));
    EXPECT_EQ(sidesOf(plan), (Sides{{0, 3, fit.usedSeconds, fit.leftSeconds}}));
    EXPECT_TRUE(plan.fits());

    const SidePlan tooMany = planSides(sameEntries(3, 60, 0), customRecorderKind({10, 2, -40, 4, 2}), kFill);
    EXPECT_TRUE(tooMany.tracksOver() == 1 && !tooMany.fits());
    EXPECT_GE(tooMany.sides[0].leftSeconds, 0);
}

TEST(SidePlanText, aLineASideOneForEachEntryTooLongAndTheQuestionBeforeARun)
{
    const PlaylistTable table = tableOf({{300, 2000}, {1400, 2000}, {2100, 0}, {300, 0}});
    const TitleLookup lookup = [](const QString& path) {
        return path.endsWith("/3.flac") ? QStringLiteral("Long Song") : QString();
    };
    EXPECT_EQ(sidePlanLines(planSides(table, kind("cassette-c46"), kFill), table, lookup),
              QStringList({"Side A: track 1, 5:00 of 22:54 used, 17:54 left",
                           "Side B: tracks 2–4, 63:22 of 22:54 used, 40:28 over",
                           "“2” (23:20) fits on neither side", "“Long Song” (35:00) fits on neither side"}));
    const PlaylistTable one = tableOf({{100, 0}});
    EXPECT_EQ(sidePlanLines(planSides(one, kind("cassette-c46"), kFill), one, lookup),
              QStringList({"Side A: track 1, 1:40 of 22:54 used, 21:14 left", "Side B: empty"}));
    // The question before a run names each side over; a one-sided medium's is pinned where the main window asks it.
    EXPECT_EQ(recordAnywayQuestion(tableOf({{1790, 0}, {1994, 0}}), kind("cassette-c60"), kFill),
              "The list does not fit on Cassette C60 (30 min a side): side B 3:20 over. Record anyway?");
    EXPECT_EQ(recordAnywayQuestion(tableOf({{1790, 0}, {1790, 0}}), kind("cassette-c60"), kFill), "");
    EXPECT_EQ(recordAnywayQuestion(tableOf({{700, 0}, {700, 0}, {100, 0}}), customRecorderKind({10, 2, -40, 4, 2}),
                                   {0, SideSplit::FillSideAFirst}),
              "The list does not fit on Custom (10 min a side): side A 1:40 over; side B 3:20 over; "
              "3 tracks: 1 over the limit of 2. Record anyway?");
}
