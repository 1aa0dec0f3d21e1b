#include "playlist/playlist_table.h"
#include "recording/gap_clock.h"
#include "recording/progress_display.h"
#include "recording/recording_run.h"

#include <gtest/gtest.h>
#include <climits>
#include <limits>

namespace {

TEST(RecordingRules, gapIntervalRoundsHalfToEvenAndWaitsAtLeastOneMillisecond)
{
    const struct {
        double gapMs;
        int interval;
    } cases[] = {
        {2000, 2000}, {1500.5, 1500}, {1501.5, 1502}, {0, 1}, {0.4, 1}, {-500, 1},
        {65535, 65535}, {70000, 70000}, // a long gap is waited in full
        {1e300, INT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gapInterval(c.gapMs), c.interval) << c.gapMs;
}

TEST(RecordingRules, cdEntriesAndTheirTrackNumbers)
{
    const struct {
        const char* path;
        bool cd;
        double track;
    } cases[] = {
        {"/media/cdrom/Track07.CDA", true, 7},
        {"D:\\Track05.cda", true, 5},
        {"/cd/TRACK12.cda", true, 12},
        {"/cd/track 3.cda", true, 3},
        {"/cd/Spår01.cda", true, 0}, // no "track": no track number
        {"/music/track01.mp3", false, 1},
        {"/music/song.cda.mp3", false, 0},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(isCdEntry(path), c.cd) << c.path;
        EXPECT_EQ(cdTrackNumberOf(path), c.track) << c.path;
    }
}

TEST(RecordingRules, gapTotalLeavesOutTheLastEntrysGap)
{
    PlaylistTable table;
    for (double gap : {2000.0, 500.0, 3000.0})
        table[table.claimSlot()] = {QStringLiteral("a.mp3"), QStringLiteral("10"), gap};
    EXPECT_DOUBLE_EQ(gapTotalOf(table), 2.5);
    table.clear();
    table[table.claimSlot()] = {QStringLiteral("a.mp3"), QStringLiteral("10"), 2000};
    EXPECT_DOUBLE_EQ(gapTotalOf(table), 0);
}

TEST(RecordingRules, cdTrackEndsOnAnotherTrackOrAtItsLength)
{
    RecordingRun run;
    run.cdTrackNumber = QStringLiteral("5");
    run.currentTrackLength = QStringLiteral("263");
    EXPECT_FALSE(cdTrackHasEnded(run, 5, 262));
    EXPECT_TRUE(cdTrackHasEnded(run, 5, 263));
    EXPECT_TRUE(cdTrackHasEnded(run, 6, 0)); // a poll missed the last second
}

ProgressDisplay at(double position, RunFigures figures, CountdownRounding rounding)
{
    return progressDisplay([position] { return position; }, figures, rounding);
}

TEST(ProgressDisplayFigures, examplesOfBothForms)
{
    const auto media = CountdownRounding::TowardZero;
    const auto cd = CountdownRounding::HalfToEven;
    const struct {
        double position;
        RunFigures run;
        CountdownRounding rounding;
        float trackPercent;
        float totalPercent;
        const char* track;
        const char* total;
    } cases[] = {
        {10.4, {215, 0, 0, 215}, media, 4.837209f, 4.837209f, "Left of track (03:24) :", "Left of total (03:24) :"},
        {0, {60, 0, 0, 60}, media, 0, 0, "Left of track (01:00) :", "Left of total (01:00) :"},
        {1, {60, 0, 0, 60}, media, 1.666667f, 1.666667f, "Left of track (00:59) :", "Left of total (00:59) :"},
        {0, {3600, 0, 0, 3600}, media, 0, 0, "Left of track (60:00) :", "Left of total (60:00) :"},
        {262, {263, 0, 0, 263}, cd, 99.61977f, 99.61977f, "Left of track (00:01) :", "Left of total (00:01) :"},
        // Two entries of 100 s with a 2 s gap, 50 s into the second.
        {50, {100, 100, 2, 202}, media, 50, 74.25743f, "Left of track (00:50) :", "Left of total (00:50) :"},
        // Past the true length: full bar, never a negative countdown.
        {215.8, {215, 0, 0, 215}, media, 100, 100, "Left of track (00:00) :", "Left of total (00:00) :"},
        {217, {215, 0, 0, 215}, cd, 100, 100, "Left of track (00:00) :", "Left of total (00:00) :"},
        // Halves to even for a CD, cut for a media file.
        {0, {10, 0, 0.5, 13}, cd, 0, 0, "Left of track (00:10) :", "Left of total (00:12) :"},
        {0.5, {10, 0, 0, 13}, media, 5, 3.846154f, "Left of track (00:09) :", "Left of total (00:12) :"},
        // Nothing to divide by: full bars, no NaN.
        {0, {0, 0, 0, 0}, media, 100, 100, "Left of track (00:00) :", "Left of total (00:00) :"},
    };
    for (const auto& c : cases) {
        const ProgressDisplay d = at(c.position, c.run, c.rounding);
        EXPECT_FLOAT_EQ(d.trackPercent, c.trackPercent) << c.track << " at " << c.position;
        EXPECT_FLOAT_EQ(d.totalPercent, c.totalPercent) << c.total << " at " << c.position;
        EXPECT_EQ(d.trackCaption, QLatin1String(c.track)) << c.position;
        EXPECT_EQ(d.totalCaption, QLatin1String(c.total)) << c.position;
    }
}

TEST(ProgressDisplayFigures, positionIsAskedForEveryFigure)
{
    int asked = 0;
    progressDisplay([&asked] { return double(++asked); }, {100, 0, 0, 100}, CountdownRounding::HalfToEven);
    EXPECT_EQ(asked, 4);
}

TEST(ProgressDisplayFigures, notANumberNeverReachesABar)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double position : {nan, inf, -inf, -5.0}) {
        const ProgressDisplay d = at(position, {100, 0, 0, 100}, CountdownRounding::TowardZero);
        EXPECT_TRUE(d.trackPercent >= 0 && d.trackPercent <= 100) << position;
        EXPECT_TRUE(d.totalPercent >= 0 && d.totalPercent <= 100) << position;
    }
}

TEST(GapClockTiming, soundEndAndStartDelayArePlacedByThePositionsHeard)
{
    GapClock clock;
    EXPECT_EQ(clock.soundEndedAgo(5000, 2.0), 0); // nothing heard: count from the report
    EXPECT_EQ(clock.startDelay(), 0);
    clock.starting(900);
    clock.heard(1000, 0);   // not yet heard: says nothing
    EXPECT_EQ(clock.soundEndedAgo(5000, 2.0), 0);
    clock.heard(2000, 1.0); // position 0 was heard at 1000, 100 ms after asking
    EXPECT_DOUBLE_EQ(clock.soundEndedAgo(3400, 2.0), 400);
    EXPECT_DOUBLE_EQ(clock.soundEndedAgo(2900, 2.0), 0); // an early report never lengthens the gap
    EXPECT_EQ(clock.startDelay(), 0); // one file alone is no guide

    // The shortest start of the last five counts, so one slow start shortens no gap.
    const struct {
        qint64 asked;
        double delay;
        double expected;
    } starts[] = {{10000, 40, 40}, {20000, 300, 40}, {30000, 60, 40}, {40000, 70, 40}, {50000, 80, 40}, {60000, 90, 60}};
    for (const auto& s : starts) {
        clock.starting(s.asked);
        EXPECT_EQ(clock.soundEndedAgo(s.asked + 5000, 1.0), 0); // a new file forgets the last one's sound
        clock.heard(s.asked + 1000, (1000 - s.delay) / 1000);
        EXPECT_DOUBLE_EQ(clock.startDelay(), s.expected) << s.asked;
    }
}

} // namespace
