#include "discs/cue_titles.h"
#include "discs/system_discs.h"
#include "playlist/playlist.h"
#include "playlist/playlist_adder.h"
#include "scan/scan_tracks.h"
#include "support/fake_discs.h"
#include "support/fake_media_player.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include "common/playlist_table.h"

#include <gtest/gtest.h>

// Each entry as the scan reads it: media as it is, a CD track as its disc's sound
// (by its path when it has none), titles from the sheet, gaps in seconds.
TEST(ScanTracks, entriesBecomeWhatTheScanReadsWithTheSheetsTitles)
{
    GeneratedMedia media;
    const QString sheet = media.write("album.cue", "PERFORMER \"Band\"\nFILE \"a.bin\" BINARY\n"
                                                   "  TRACK 01 AUDIO\n    TITLE \"Överture\"\n    INDEX 01 00:00:00\n"
                                                   "  TRACK 02 AUDIO\n    INDEX 01 00:10:00\n");
    CueTitles cueTitles;
    const TitleLookup titles = [&](const QString& path) { return cueTitles.titleOf(path); };
    // Track 2 has no title: it is named by its number.
    const QString untitled[] = { sheet + "/Track02.cda", "/music/Track01.cda", media.path("missing.cue") + "/Track01.cda" };
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
    EXPECT_EQ(discs.asked, QStringList({ sheet, "/cd", "/cd" }));
    EXPECT_TRUE(!tracks[2].last && tracks[3].last);
}

// A sheet whose TRACK numbers start at 2 and skip 4: its CD entries, their titles and
// the sound the scan reads all go by the sheet's numbers, as a drive's do.
TEST(ScanTracks, theTracksOfASheetKeepItsNumbersFromAddingToTitlesAndSound)
{
    GeneratedMedia media;
    const QString image = media.write("a.bin", QByteArray(2352 * 300, '\0'));
    const QString sheet = media.write("album.cue", "FILE a.bin BINARY\n"
                                                   "TRACK 02 AUDIO\n TITLE Two\n INDEX 01 00:00:00\n"
                                                   "TRACK 03 AUDIO\n TITLE Three\n INDEX 01 00:01:00\n"
                                                   "TRACK 05 AUDIO\n TITLE Five\n INDEX 01 00:02:00\n");
    FakeMediaPlayer player;
    SystemDiscs discs;
    Playlist playlist;
    PlaylistAdder adder({ playlist, discs, player, [] { return 2.0; }, [] {}, [](const QString&) {} });
    adder.addDroppedFile(sheet);

    const int numbers[] = { 2, 3, 5 };
    const QString names[] = { "Two", "Three", "Five" };
    CueTitles cueTitles;
    const QList<ScanTrack> tracks
        = scanTracksOf(playlist.table(), discs, [&](const QString& path) { return cueTitles.titleOf(path); });
    ASSERT_EQ(tracks.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(playlist.at(i).path, sheet + QStringLiteral("/Track%1.cda").arg(numbers[i], 2, 10, QLatin1Char('0')));
        EXPECT_EQ(tracks[i].name, names[i]);
        EXPECT_EQ(tracks[i].source.path, image);
        EXPECT_EQ(tracks[i].source.firstFrame, i * 75 * 588) << i;
    }
}
