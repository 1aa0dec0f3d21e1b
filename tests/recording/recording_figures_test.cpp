#include "common/playlist_table.h"
#include "player/sound_timeline.h"
#include "recording/progress_display.h"
#include "recording/run_rules.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <climits>
#include <limits>
#include <utility>

namespace {

TEST(RecordingRules, gapIntervalRoundsHalfToEvenAndWaitsAtLeastOneMillisecond)
{
    const std::pair<double, int> cases[] = {{1500.5, 1500}, {1501.5, 1502}, {0.4, 1}, {-500, 1},
                                            {70000, 70000}, {1e300, INT_MAX}}; // a long gap is waited in full
    for (const auto& [gapMs, interval] : cases)
        EXPECT_EQ(gapInterval(gapMs), interval) << gapMs;
}

TEST(ProgressDisplayFigures, examplesOfBothFormsAndNoNotANumberOnABar)
{
    const auto media = CountdownRounding::TowardZero, cd = CountdownRounding::HalfToEven;
    const struct { double position; RunFigures figures; CountdownRounding rounding; float track, total; const char *trackLeft, *totalLeft; } cases[] = {
        {50, {100, 100, 2, 202}, media, 50, 74.25743f, "00:50", "00:50"}, // 50 s into the second of two entries 2 s apart
        {217, {215, 0, 0, 215}, cd, 100, 100, "00:00", "00:00"}, // past the true length: full bar, never a negative countdown
        {0, {10, 0, 0.5, 13}, cd, 0, 0, "00:10", "00:12"},            // halves to even for a CD,
        {0.5, {10, 0, 0, 13}, media, 5, 3.846154f, "00:09", "00:12"}, // cut for a media file
        {0, {0, 0, 0, 0}, media, 100, 100, "00:00", "00:00"}};        // nothing to divide by: full bars
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const ProgressDisplay d = progressDisplay([&c] { return c.position; }, c.figures, c.rounding);
        EXPECT_FLOAT_EQ(d.trackPercent, c.track);
        EXPECT_FLOAT_EQ(d.totalPercent, c.total);
        EXPECT_EQ(d.trackCaption, QStringLiteral("Left of track (%1) :").arg(QLatin1String(c.trackLeft)));
        EXPECT_EQ(d.totalCaption, QStringLiteral("Left of total (%1) :").arg(QLatin1String(c.totalLeft)));
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (const double position : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -5.0}) {
        const ProgressDisplay d = progressDisplay([position] { return position; }, {100, 0, 0, 100}, media);
        EXPECT_TRUE(d.trackPercent >= 0 && d.trackPercent <= 100 && d.totalPercent >= 0 && d.totalPercent <= 100)
            << position;
    }
}

// A file of that many frames, written whole.
void writeFile(SoundTimeline& timeline, qint64 frames)
{
    timeline.startFile();
    timeline.advance(frames);
    timeline.endFile();
}

TEST(SoundTimelinePlacement, filesAreWrittenTheAskedSilenceApartAndNeverSooner)
{
    SoundTimeline timeline(1000); // a frame a millisecond keeps the figures readable

    // Nothing played before: due the asked silence into the new output, or once it has settled.
    timeline.advance(30);
    timeline.want(20);
    EXPECT_EQ(timeline.silenceBeforeStart(1000), SoundTimeline::kSettleMs - 30);
    timeline.advance(SoundTimeline::kSettleMs - 30);
    EXPECT_EQ(timeline.silenceBeforeStart(20), 0);
    writeFile(timeline, 3000);

    // Asked in time: exactly the silence after the last sound, written in pieces.
    timeline.advance(200); // idle silence written before the next file was asked for
    timeline.want(500);
    EXPECT_EQ(timeline.silenceBeforeStart(20), 20);
    timeline.advance(280);
    EXPECT_EQ(timeline.silenceBeforeStart(100), 20);
    timeline.advance(20);
    EXPECT_EQ(timeline.silenceBeforeStart(100), 0);
    // Asked while a file is written: due the silence after that file's end, even a silence of none.
    timeline.startFile();
    timeline.want(0);
    EXPECT_EQ(timeline.silenceBeforeStart(20), 20);
    timeline.advance(1000);
    timeline.endFile();
    EXPECT_EQ(timeline.silenceBeforeStart(20), 0);
    EXPECT_EQ(timeline.written(), 4600);
    writeFile(timeline, 0);

    // Asked too late: due at once, the silence is longer, never shorter.
    timeline.advance(700);
    timeline.want(500);
    EXPECT_EQ(timeline.silenceBeforeStart(20), 0);

    // Files waiting one behind the other: each is due its own silence after the one before
    // it; one forgotten leaves the others where they were.
    timeline.want(300);
    timeline.want(900);
    timeline.forgetLastWaiting();
    EXPECT_EQ(timeline.silenceBeforeStart(20), 0);
    writeFile(timeline, 100);
    EXPECT_EQ(timeline.silenceBeforeStart(1000), 300);
    timeline.want(40);
    timeline.advance(300);
    writeFile(timeline, 100);
    EXPECT_EQ(timeline.silenceBeforeStart(1000), 40);
    timeline.forgetLastWaiting();
    EXPECT_EQ(timeline.silenceBeforeStart(1000), 1000); // nothing is due
    EXPECT_FALSE(timeline.fileWaiting());

    // A fraction of a frame is rounded up; a negative or NaN gap asks for none;
    // a gap beyond any clock neither wraps round nor overflows.
    SoundTimeline fine(44100);
    writeFile(fine, 0);
    fine.want(0.01);
    EXPECT_EQ(fine.silenceBeforeStart(100), 1);
    for (double silence : {-300.0, std::numeric_limits<double>::quiet_NaN()}) {
        timeline.want(silence);
        EXPECT_EQ(timeline.silenceBeforeStart(20), 0) << silence;
        timeline.forgetLastWaiting();
    }
    timeline.want(1e300);
    EXPECT_EQ(timeline.silenceBeforeStart(20), 20);
    EXPECT_GT(timeline.silenceBeforeStart(std::numeric_limits<qint64>::max()), qint64(1e11));

    // After a reset nothing came before.
    timeline.reset();
    timeline.want(400);
    EXPECT_EQ(timeline.silenceBeforeStart(1000), 400);
    EXPECT_EQ(SoundTimeline(44100).nanoseconds(44100 * 3 + 1), 3'000'022'675);
}

// A file held until resumed waits while silence runs on. Resumed, it is due the asked
// silence after the frame heard then, and the silence written beyond that is taken
// back: never nearer to what is heard than allowed, never into the last sound, and
// only once, for the file that was held.
TEST(SoundTimelinePlacement, aHeldFileIsDueTheSilenceAfterItsResumeAndSilenceAheadIsTakenBack)
{
    constexpr double held = std::numeric_limits<double>::infinity();
    SoundTimeline timeline(1000);
    timeline.advance(100);
    timeline.want(0);
    writeFile(timeline, 500); // its sound ends at 600
    timeline.want(held);
    EXPECT_TRUE(timeline.held());
    EXPECT_EQ(timeline.silenceBeforeStart(50), 50);
    timeline.advance(5000);
    EXPECT_EQ(timeline.takeBackSilence(0), 0);

    timeline.resume(4000, 300);
    EXPECT_FALSE(timeline.held());
    EXPECT_EQ(timeline.silenceBeforeStart(50), 0);
    EXPECT_EQ(timeline.takeBackSilence(4100), 5600 - 4300);
    EXPECT_EQ(timeline.written(), 4300);
    EXPECT_EQ(timeline.takeBackSilence(0), 0);

    // Resumed with no lead-in: taken back only as near as allowed.
    timeline.reset();
    timeline.want(0);
    timeline.advance(200);
    writeFile(timeline, 500);
    timeline.want(held);
    timeline.advance(2000);
    timeline.resume(1500, 0);
    EXPECT_EQ(timeline.takeBackSilence(1505), 2700 - 1505);
    timeline.startFile();
    EXPECT_EQ(timeline.takeBackSilence(0), 0);
    timeline.advance(100);
    timeline.endFile();

    // A resume told of a moment before the last sound ended waits for its end.
    timeline.want(held);
    timeline.resume(0, 0);
    EXPECT_EQ(timeline.silenceBeforeStart(1000), 0);
    timeline.advance(300);
    EXPECT_EQ(timeline.takeBackSilence(0), 300);
    EXPECT_EQ(timeline.written(), 1605);
}

} // namespace
