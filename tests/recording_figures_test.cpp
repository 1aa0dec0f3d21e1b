#include "playlist/playlist_table.h"
#include "recording/progress_display.h"
#include "recording/recording_run.h"
#include "recording/sound_timeline.h"

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

TEST(SoundTimelinePlacement, filesArePlacedTheAskedSilenceApartAndNeverSooner)
{
    constexpr qint64 ms = 1'000'000;
    constexpr int rate = 44100;
    const qint64 ahead = SoundTimeline::kReadyAheadNs;
    SoundTimeline timeline;

    // Nothing played before: as soon as the samples can reach the device.
    timeline.want(2000);
    EXPECT_FALSE(timeline.start());
    EXPECT_EQ(timeline.place(100 * ms), 100 * ms + ahead);
    EXPECT_EQ(timeline.at(rate, rate), 100 * ms + ahead + 1000 * ms);
    EXPECT_EQ(timeline.at(rate / 2 * 3 + 1, rate) - timeline.at(rate / 2 * 3, rate), 22675); // one frame
    const qint64 firstEnd = timeline.finish(3 * rate, rate, 2500 * ms);
    EXPECT_EQ(firstEnd, 100 * ms + ahead + 3000 * ms);

    // Ready in time: exactly the silence after the last sound, whenever it was asked.
    timeline.want(500);
    EXPECT_EQ(timeline.place(firstEnd + 200 * ms), firstEnd + 500 * ms);
    const qint64 secondEnd = timeline.finish(rate, rate, 0);
    EXPECT_EQ(secondEnd, firstEnd + 1500 * ms);

    // Ready too late: as soon as it can, so no sample is dropped; the silence is longer, never shorter.
    timeline.want(500);
    EXPECT_EQ(timeline.place(secondEnd + 480 * ms), secondEnd + 480 * ms + ahead);
    qint64 end = timeline.finish(rate, rate, 0);

    // A gap beyond any clock neither wraps round nor overflows; a negative gap asks for no silence.
    timeline.want(1e300);
    EXPECT_GT(timeline.place(end), end + 1'000'000 * ms);
    timeline.want(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(timeline.place(end - 10 * ms - ahead), end);
    end = timeline.finish(rate, rate, 0);
    timeline.want(-300);
    EXPECT_EQ(timeline.place(end - 10 * ms - ahead), end);
    end = timeline.finish(rate, rate, 0);

    // A file without sound (a video without a sound track) ends when its last
    // picture is shown: the silence is counted from there.
    timeline.want(400);
    timeline.place(end);
    EXPECT_EQ(timeline.finish(0, rate, end + 2000 * ms), end + 2000 * ms);
    timeline.want(400);
    EXPECT_EQ(timeline.place(0), end + 2400 * ms);

    // After a stop nothing came before.
    timeline.reset();
    timeline.want(400);
    EXPECT_FALSE(timeline.start());
    EXPECT_EQ(timeline.place(7 * ms), 7 * ms + ahead);
}

} // namespace
