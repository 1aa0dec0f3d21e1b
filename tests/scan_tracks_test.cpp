#include "player/cd_audio.h"
#include "player/cue_titles.h"
#include "recorder/scan_tracks.h"
#include "support/fake_cd_device.h"
#include "support/generated_media.h"

#include "common/playlist_table.h"

#include <gtest/gtest.h>

// Each entry as the scan reads it: media as it is, a CD track as the device reads
// it (by its path when it cannot), titles from the sheet, gaps in seconds.
TEST(ScanTracks, entriesBecomeWhatTheScanReadsWithTheSheetsTitles)
{
    GeneratedMedia media;
    const QString sheet = media.write("album.cue", "PERFORMER \"Band\"\nFILE \"a.bin\" BINARY\n"
                                                   "  TRACK 01 AUDIO\n    TITLE \"Överture\"\n    INDEX 01 00:00:00\n"
                                                   "  TRACK 02 AUDIO\n    INDEX 01 00:10:00\n");
    CueTitles cueTitles;
    const TitleLookup titles = [&](const QString& path) { return cueTitles.titleOf(path); };
    EXPECT_EQ(titles(sheet + "/Track01.cda"), QStringLiteral("Band - Överture"));
    EXPECT_EQ(titles(sheet + "/Track02.cda"), QString()); // no title: named by its number
    EXPECT_EQ(titles("/music/Track01.cda"), QString());
    EXPECT_EQ(titles(media.path("missing.cue") + "/Track01.cda"), QString());

    PlaylistTable table;
    for (const PlaylistEntry& entry : { PlaylistEntry { "/music/song.flac", "200", 2000 },
                                        PlaylistEntry { sheet + "/Track01.cda", "10", 1500 },
                                        PlaylistEntry { "/cd/Track05.cda", "30", 0 } })
        table[table.claimSlot()] = entry;
    FakeCdDevice device;
    const SoundSource image { .kind = SoundSource::Kind::RawImage, .path = media.path("a.bin"), .endFrame = 441000 };
    device.sounds = { { 1, image } };
    CDAudio cd(device);
    const QList<ScanTrack> tracks = scanTracksOf(table, cd, titles);
    ASSERT_EQ(tracks.size(), 3);
    EXPECT_EQ(tracks[0].source, SoundSource { .path = "/music/song.flac" });
    EXPECT_EQ(tracks[0].name, QStringLiteral("song"));
    EXPECT_EQ(tracks[1].source, image);
    EXPECT_EQ(tracks[1].name, QStringLiteral("Band - Överture"));
    EXPECT_DOUBLE_EQ(tracks[1].gapSeconds, 1.5);
    EXPECT_EQ(tracks[2].source.path, QStringLiteral("/cd/Track05.cda")); // no disc: the scan will say so
    EXPECT_EQ(device.chosenFolders, QStringList({ sheet, "/cd" }));
    EXPECT_FALSE(tracks[1].last);
    EXPECT_TRUE(tracks[2].last);
}
