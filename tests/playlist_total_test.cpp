#include "common/number_text.h"
#include "playlist/playlist_table.h"
#include "playlist/playlist_total.h"

#include <gtest/gtest.h>

namespace {

PlaylistTable tableOf(std::initializer_list<std::pair<const char*, double>> entries)
{
    PlaylistTable table;
    for (const auto& [length, gap] : entries)
        table[table.claimSlot()] = {QStringLiteral("song"), QString::fromLatin1(length), gap};
    return table;
}

} // namespace

TEST(PlaylistTotal, countsEveryGapButTheLast)
{
    const struct {
        PlaylistTable table;
        double total;
        const char* caption;
        const char* frame;
    } cases[] = {
        {tableOf({}), 0, "Total time: 00:00", "Playlist"},
        {tableOf({{"5", 2000}, {"3", 1000}}), 10, "Total time: 00:10", "Playlist - 2 files"},
        {tableOf({{"4", 1500}, {"1", 2000}}), 6.5, "Total time: 00:06.5", "Playlist - 2 files"},
        {tableOf({{"215", 1500}, {"180", 1500}}), 396.5, "Total time: 06:36.5", "Playlist - 2 files"},
        {tableOf({{"59", 0}, {"1", 0}}), 60, "Total time: 01:00", "Playlist - 2 files"},
        {tableOf({{"3600", 0}}), 3600, "Total time: 60:00", "Playlist - 1 files"},
        // The fraction is cut after one digit, not rounded.
        {tableOf({{"10", 1333}, {"10", 1333}, {"10", 1333}}), 32.666, "Total time: 00:32.6", "Playlist - 3 files"},
    };
    for (const auto& c : cases) {
        const double total = playlistTotal(c.table);
        EXPECT_NEAR(total, c.total, 1e-9);
        EXPECT_EQ(totalTimeCaption(total), c.caption);
        EXPECT_EQ(playlistFrameCaption(c.table), c.frame);
    }
}

// The total reads each length and gap the way the columns show them; the quick
// reading of plain digits and whole milliseconds must agree with the full rule.
TEST(PlaylistTotal, quickReadingAgreesWithTheTextRoundTrip)
{
    const char* const lengths[] = {"0",  "7",   "215", "3725", "999999999999999", "1234567890123456",
                                   " 12", "2 s", "1.5", "",     "abc"};
    const double gaps[] = {0, -0.0, 1, 999, 1500, 2000, 1333, -1000, 32767, 123456789, 1e14, 1e15 - 1, 1e15, 1e300,
                           0.5, 1333.3333333333333, -2.25};
    for (const char* length : lengths) {
        for (double gap : gaps) {
            PlaylistTable table;
            table[table.claimSlot()] = {QStringLiteral("a"), QString::fromLatin1(length), gap};
            table[table.claimSlot()] = {QStringLiteral("b"), QStringLiteral("0"), 0};
            const double expected = leadingNumber(QString::fromLatin1(length)) + leadingNumber(plainNumber(gap / 1000));
            EXPECT_EQ(playlistTotal(table), expected) << length << " " << gap;
        }
    }
}
