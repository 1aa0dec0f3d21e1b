#include "playlist/playlist_table.h"
#include "playlist/playlist_total.h"
#include "playlist/row_form.h"

#include "common/failure.h"

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
        {tableOf({{"30", 2000}}), 30, "Total time: 00:30", "Playlist - 1 files"},
        {tableOf({{"215", 2000}, {"180", 2000}}), 397, "Total time: 06:37", "Playlist - 2 files"},
        {tableOf({{"215", 1500}, {"180", 1500}}), 396.5, "Total time: 06:36.5", "Playlist - 2 files"},
        {tableOf({{"59", 0}, {"1", 0}}), 60, "Total time: 01:00", "Playlist - 2 files"},
        {tableOf({{"3600", 0}}), 3600, "Total time: 60:00", "Playlist - 1 files"},
        {tableOf({{"10", 1250}, {"10", 1250}, {"10", 1250}}), 32.5, "Total time: 00:32.5", "Playlist - 3 files"},
        // The fraction is cut after one digit, not rounded.
        {tableOf({{"10", 1333}, {"10", 1333}, {"10", 1333}}), 32.666, "Total time: 00:32.6", "Playlist - 3 files"},
        {tableOf({{"5", 2000}, {"3", 1000}}), 10, "Total time: 00:10", "Playlist - 2 files"},
        {tableOf({{"4", 1500}, {"1", 2000}}), 6.5, "Total time: 00:06.5", "Playlist - 2 files"},
    };
    for (const auto& c : cases) {
        const double total = playlistTotal(c.table);
        EXPECT_NEAR(total, c.total, 1e-9);
        EXPECT_EQ(totalTimeCaption(total), c.caption);
        EXPECT_EQ(playlistFrameCaption(c.table), c.frame);
    }
}

TEST(PlaylistTable, fullTableRefusesTheNextEntryAndStaysAsItWas)
{
    PlaylistTable table;
    for (int i = 0; i < PlaylistTable::kCapacity; ++i)
        table.claimSlot();
    EXPECT_EQ(table.lastIndex(), 32767);
    try {
        table.claimSlot();
        FAIL() << "a full table took another entry";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), "Overflow");
    }
    EXPECT_EQ(table.lastIndex(), 32767);
    table.releaseSlot();
    EXPECT_EQ(table.count(), 32767);
}

TEST(RowForm, showsTrackNumberPathClockLengthAndGapInSeconds)
{
    const PlaylistEntry entry{QStringLiteral("/music/a.mp3"), QStringLiteral("3725"), 1500};
    EXPECT_EQ(rowText(entry, 0, PlaylistColumn::Track), "1");
    EXPECT_EQ(rowText(entry, 41, PlaylistColumn::Track), "42");
    EXPECT_EQ(rowText(entry, 0, PlaylistColumn::File), "/music/a.mp3");
    EXPECT_EQ(rowText(entry, 0, PlaylistColumn::Length), "62:05");
    EXPECT_EQ(rowText(entry, 0, PlaylistColumn::Gap), "1.5");
    EXPECT_EQ(rowText({{}, QStringLiteral("5"), 2000}, 0, PlaylistColumn::Gap), "2");
    EXPECT_EQ(rowText({{}, QStringLiteral("5"), 0}, 0, PlaylistColumn::Gap), "0");
    EXPECT_EQ(rowText({{}, QStringLiteral("6000"), 0}, 0, PlaylistColumn::Length), "100:00");
}
