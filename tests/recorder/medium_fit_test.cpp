#include "common/playlist_table.h"
#include "recorder/medium_fit.h"
#include "recorder/recorder_kind.h"

#include <gtest/gtest.h>

namespace {

// Entries of whole seconds, each with the gap in milliseconds after it.
PlaylistTable tableOf(std::initializer_list<std::pair<int, double>> entries)
{
    PlaylistTable table;
    for (const auto& [seconds, gapMs] : entries)
        table.push_back({QStringLiteral("/m/a.flac"), seconds, gapMs});
    return table;
}

PlaylistTable sameEntries(int count, int seconds, double gapMs)
{
    PlaylistTable table;
    for (int i = 0; i < count; ++i)
        table.push_back({QStringLiteral("/m/a.flac"), seconds, gapMs});
    return table;
}

RecorderKind kind(const char* id)
{
    return recorderKindById(QString::fromLatin1(id)).value();
}

} // namespace

// 215 s + 2 s gap, 100 s + 1.5 s gap, then 64 s, an exact multiple of every unit.
TEST(MediumFit, eachMediumCountsTracksInItsOwnUnits)
{
    const PlaylistTable table = tableOf({{215, 2000}, {100, 1500}, {64, 2000}});
    const struct {
        const char* id;
        double used;
    } cases[] = {
        {"minidisc-74-sp", 218 + 102 + 64},
        {"minidisc-74-lp2", 220 + 104 + 64},
        {"minidisc-74-lp4", 224 + 104 + 64},
        {"cd-r-74", 217 + 101.5 + 64}, // no units; the last gap is never played
        {"dat-120", 382.5},
        {"cassette-c90", 382.5},
    };
    for (const auto& c : cases) {
        const MediumFit fit = mediumFit(table, kind(c.id));
        EXPECT_DOUBLE_EQ(fit.usedSeconds, c.used) << c.id;
        EXPECT_DOUBLE_EQ(fit.leftSeconds, fit.capacitySeconds - c.used) << c.id;
        EXPECT_TRUE(fit.fits()) << c.id;
    }
    EXPECT_DOUBLE_EQ(mediumFit(table, kind("minidisc-80-lp4")).capacitySeconds, 320 * 60);
    EXPECT_DOUBLE_EQ(mediumFit(table, kind("cassette-c90")).capacitySeconds, 45 * 60); // one side
}

TEST(MediumFit, summarySaysWhatIsLeftOrOver)
{
    // 17 tracks of 240 s with 2 s gaps and one of 216 s: 72:10 on a 74-minute disc.
    PlaylistTable table = sameEntries(17, 240, 2000);
    table.push_back({QStringLiteral("/m/b.flac"), 216, 2000});
    const MediumFit fits = mediumFit(table, kind("minidisc-74-sp"));
    EXPECT_EQ(fitSummary(fits), "72:10 of 74:00 used, 1:50 left; 18 of 254 tracks");
    EXPECT_EQ(fitProblems(fits), "");

    const MediumFit over = mediumFit(tableOf({{4640, 0}}), kind("minidisc-74-sp"));
    EXPECT_FALSE(over.fits());
    EXPECT_EQ(fitSummary(over), "77:20 of 74:00 used, 3:20 over; 1 of 254 tracks");
    EXPECT_EQ(fitProblems(over), "3:20 over");

    // Half a second over is over; no track limit on a tape.
    const MediumFit justOver = mediumFit(tableOf({{2699, 1500}, {0, 0}}), kind("cassette-c90"));
    EXPECT_FALSE(justOver.fits());
    EXPECT_EQ(fitSummary(justOver), "45:01 of 45:00 used, 0:01 over; 2 tracks");
    EXPECT_TRUE(mediumFit(tableOf({{2700, 0}}), kind("cassette-c90")).fits());
}

TEST(MediumFit, trackLimitsOfMiniDiscAndCdR)
{
    const RecorderKind miniDisc = kind("minidisc-74-sp");
    EXPECT_TRUE(mediumFit(sameEntries(254, 1, 2000), miniDisc).fits());
    const MediumFit tooMany = mediumFit(sameEntries(260, 1, 2000), miniDisc);
    EXPECT_GE(tooMany.leftSeconds, 0);
    EXPECT_FALSE(tooMany.fits());
    EXPECT_EQ(fitProblems(tooMany), "260 tracks: 6 over the limit of 254");
    EXPECT_EQ(fitSummary(tooMany), "17:18 of 74:00 used, 56:42 left; 260 tracks: 6 over the limit of 254");

    const RecorderKind cd = kind("cd-r-80");
    EXPECT_TRUE(mediumFit(sameEntries(99, 10, 3000), cd).fits());
    EXPECT_EQ(fitProblems(mediumFit(sameEntries(100, 10, 3000), cd)), "100 tracks: 1 over the limit of 99");
    // Both at once.
    EXPECT_EQ(fitProblems(mediumFit(sameEntries(100, 60, 3000), cd)),
              "24:57 over; 100 tracks: 1 over the limit of 99");
}

TEST(MediumFit, gapsShorterThanTheMinimumSilenceAreListedButNotTheLast)
{
    const PlaylistTable table = tableOf({{60, 1000}, {60, 1500}, {60, 2999}, {60, 3000}, {60, 0}});
    EXPECT_EQ(mediumFit(table, kind("minidisc-74-sp")).shortGaps, (std::vector<int>{0}));
    EXPECT_EQ(mediumFit(table, kind("cd-r-74")).shortGaps, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(mediumFit(table, kind("cassette-c60")).shortGaps, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(mediumFit(PlaylistTable(), kind("cd-r-74")).shortGaps.empty());
}

TEST(RecorderKinds, defaultAndCustom)
{
    const RecorderKind standard = defaultRecorderKind();
    EXPECT_EQ(standard.name, "MiniDisc 74 min (SP)");
    EXPECT_EQ(standard.trackLimit, 254);
    EXPECT_EQ(standard.trackUnitSeconds, 2);
    EXPECT_EQ(recorderKinds().size(), 9u + 2 + 4 + 4);
    for (const RecorderKind& kind : recorderKinds())
        EXPECT_GE(kind.suggestedGapSeconds, kind.silence.minimumSeconds) << kind.id.toStdString();

    const RecorderKind custom = customRecorderKind({90, 0, -45, 2.5});
    EXPECT_EQ(custom.id, "custom");
    EXPECT_EQ(custom.name, "Custom (90 min)");
    EXPECT_DOUBLE_EQ(custom.capacitySeconds, 5400);
    EXPECT_DOUBLE_EQ(custom.suggestedGapSeconds, 3);
    EXPECT_DOUBLE_EQ(customRecorderKind({90, 0, -45, 3}).suggestedGapSeconds, 3);
}
