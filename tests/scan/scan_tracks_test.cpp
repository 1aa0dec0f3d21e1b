#include "discs/cue_titles.h"
#include "scan/scan_tracks.h"
#include "support/fake_discs.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include "common/playlist_table.h"

#include <gtest/gtest.h>

// Each entry as the scan reads it: media as it is, a CD track as its disc's sound
// (by its path when it has none), titles from the sheet by its TRACK numbers, which
// skip 2 here, gaps in seconds.
TEST(ScanTracks, entriesBecomeWhatTheScanReadsWithTheSheetsTitles)
{
    GeneratedMedia media;
    const QString sheet = media.write("album.cue", "PERFORMER \"Band\"\nFILE \"a.bin\" BINARY\n"
                                                   "  TRACK 01 AUDIO\n    TITLE \"Överture\"\n    INDEX 01 00:00:00\n"
                                                   "  TRACK 03 AUDIO\n    TITLE Three\n    INDEX 01 00:10:00\n"
                                                   "  TRACK 04 AUDIO\n    INDEX 01 00:20:00\n");
    CueTitles cueTitles;
    const TitleLookup titles = [&](const QString& path) { return cueTitles.titleOf(path); };
    EXPECT_EQ(titles(sheet + "/Track03.cda"), "Band - Three");
    // Untitled tracks are named by their number.
    const QString untitled[] = { sheet + "/Track02.cda", sheet + "/Track04.cda", "/music/Track01.cda",
                                 media.path("missing.cue") + "/Track01.cda" };
    for (const QString& path : untitled)
        EXPECT_EQ(titles(path), QString()) << path.toStdString();

    const PlaylistTable table { { "/music/song.flac", 200, 2000 }, { sheet + "/Track01.cda", 10, 1500 },
                                { "/cd/Track05.cda", 30, 0 }, { "/cd/Track02.cda", 30, 0 } };
    FakeDiscs discs;
    const SoundSource image { .kind = SoundSource::Kind::RawImage, .path = media.path("a.bin"), .endFrame = 441000 };
    discs.setTrack(sheet, 1, 750, image);
    discs.setTrack("/cd", 2, 750, {}, false); // a data track
    const QList<ScanTrack> tracks = scanTracksOf(table, discs, titles);
    ASSERT_EQ(tracks.size(), 4);
    EXPECT_EQ(std::tuple(tracks[0].source, tracks[0].name),
              std::tuple(SoundSource { .path = "/music/song.flac" }, QStringLiteral("song")));
    EXPECT_EQ(std::tuple(tracks[1].source, tracks[1].name), std::tuple(image, QStringLiteral("Band - Överture")));
    EXPECT_DOUBLE_EQ(tracks[1].gapSeconds, 1.5);
    EXPECT_EQ(tracks[2].source.path, QStringLiteral("/cd/Track05.cda")); // no such track: the scan will say so
    EXPECT_EQ(tracks[3].source.path, QStringLiteral("/cd/Track02.cda"));
    EXPECT_TRUE(!tracks[2].last && tracks[3].last);
}
