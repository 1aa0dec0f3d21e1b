#include "common/playlist_table.h"
#include "recorder/recorder_kind.h"
#include "recorder/track_starts.h"

#include <gtest/gtest.h>

namespace {

// 215 s + 2 s gap, 100 s + 1.5 s gap, 64 s + 2 s gap, 30 s.
PlaylistTable fourEntries()
{
    PlaylistTable table;
    for (const auto& [seconds, gapMs] : {std::pair{215, 2000.0}, {100, 1500.0}, {64, 2000.0}, {30, 0.0}})
        table.push_back({QStringLiteral("/m/a.flac"), seconds, gapMs});
    return table;
}

RecorderKind kind(const char* id)
{
    return recorderKindById(QString::fromLatin1(id)).value();
}

} // namespace

TEST(TrackStarts, eachMediumCountsEarlierTracksInItsOwnUnits)
{
    const struct {
        const char* id;
        std::vector<double> starts;
    } cases[] = {
        // The 1.5 s lead-in belongs to the first track: 218.5 s take 220 in 2 s units.
        {"minidisc-74-sp", {0, 220, 322, 388}},
        {"minidisc-74-lp2", {0, 220, 324, 392}},
        {"minidisc-74-lp4", {0, 224, 328, 400}},
        {"cd-r-74", {1.5, 218.5, 320, 386}},
        {"dat-120", {1.5, 218.5, 320, 386}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trackStarts(fourEntries(), kind(c.id), 1.5, {0}), c.starts) << c.id;
}

TEST(TrackStarts, eachSideStartsAgainAfterItsLeadIn)
{
    const RecorderKind cassette = kind("cassette-c90");
    EXPECT_EQ(trackStarts(fourEntries(), cassette, 4, {0, 2}), (std::vector<double>{4, 221, 4, 70}));
    EXPECT_EQ(trackStarts(fourEntries(), cassette, 0, {0, 3}), (std::vector<double>{0, 217, 318.5, 0}));
    // The first entry begins a side even when the list of sides leaves it out.
    EXPECT_EQ(trackStarts(fourEntries(), cassette, 0, {}), (std::vector<double>{0, 217, 318.5, 384.5}));
    EXPECT_TRUE(trackStarts({}, cassette, 4, {0}).empty());
}

TEST(TrackStarts, startsOnAWholeSecondShowThatSecond)
{
    // Ten gaps of 0.1 s make a second; counted in seconds they would fall a hair short.
    PlaylistTable table(11, PlaylistEntry{QStringLiteral("/m/a.flac"), 0, 100});
    EXPECT_EQ(startTimeText(trackStarts(table, kind("dat-60"), 0, {0}).back()), "00:01");

    EXPECT_EQ(startTimeText(0), "00:00");
    EXPECT_EQ(startTimeText(59.999), "00:59");
    EXPECT_EQ(startTimeText(225.9), "03:45");
    EXPECT_EQ(startTimeText(7503), "125:03");
}
