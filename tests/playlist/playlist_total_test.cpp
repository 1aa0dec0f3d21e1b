#include "common/number_text.h"
#include "common/playlist_table.h"
#include "playlist/list_edits.h"
#include "playlist/playlist_total.h"

#include <QString>
#include <optional>
#include <utility>
#include <gtest/gtest.h>

namespace {

PlaylistTable tableOf(std::initializer_list<std::pair<qint64, double>> entries)
{
    PlaylistTable table;
    for (const auto& [length, gap] : entries)
        table.push_back({QStringLiteral("song"), length, gap});
    return table;
}

} // namespace

TEST(PlaylistTotal, countsEveryGapButTheLast)
{
    const struct { PlaylistTable table; double total; const char* caption; const char* frame; } cases[] = {
        {tableOf({}), 0, "Total time: 00:00", "Playlist"},
        {tableOf({{4, 1500}, {1, 2000}}), 6.5, "Total time: 00:06.5", "Playlist - 2 files"},
        {tableOf({{59, 0}, {1, 0}}), 60, "Total time: 01:00", "Playlist - 2 files"},
        {tableOf({{3600, 0}}), 3600, "Total time: 60:00", "Playlist - 1 files"},
        // The fraction is cut after one digit, not rounded.
        {tableOf({{10, 1333}, {10, 1333}, {10, 1333}}), 32.666, "Total time: 00:32.6", "Playlist - 3 files"},
    };
    for (const auto& c : cases) {
        const double total = playlistTotal(c.table);
        EXPECT_NEAR(total, c.total, 1e-9);
        EXPECT_EQ(totalTimeCaption(total), c.caption);
        EXPECT_EQ(playlistFrameCaption(c.table), c.frame);
    }
}

// The total reads each gap the way the Gap column shows it; the quick reading of whole
// milliseconds below 10^15 must agree with the full rule on either side of that limit.
TEST(PlaylistTotal, quickGapReadingAgreesWithTheTextRoundTrip)
{
    const qint64 lengths[] = {999999999999999, 12};
    const double gaps[] = {1333, -1000, 1e15 - 1, 1234567890123456, 1333.3333333333333};
    for (qint64 length : lengths) {
        for (double gap : gaps) {
            const double expected = double(length) + leadingNumber(plainNumber(gap / 1000));
            EXPECT_EQ(playlistTotal(tableOf({{length, gap}, {0, 0}})), expected) << length << " " << gap;
        }
    }
}

// A gap is read in seconds by the leading-number rule; one that a timer cannot wait,
// beyond a signed 32-bit count of milliseconds either way, is refused.
TEST(ListEdits, gapMilliseconds_readsSecondsAndRefusesWhatNoTimerCanWait)
{
    const std::pair<const char16_t*, std::optional<double>> cases[] = {
        {u"1.5 s", 1500}, {u"-1", -1000}, {u"2147483.647", 2147483647}, {u"2147483.648", std::nullopt},
        {u"-1e300", std::nullopt},
    };
    for (const auto& [answer, expected] : cases)
        EXPECT_EQ(gapMilliseconds(QStringView(answer)), expected) << QString::fromUtf16(answer).toStdString();
}
