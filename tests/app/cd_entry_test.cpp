#include "discs/cd_entry.h"
#include "playlist/playlist.h"
#include "playlist/playlist_adder.h"
#include "scan/scan_tracks.h"
#include "recording/recording_run.h"
#include "support/fake_discs.h"
#include "support/fake_media_player.h"

#include "common/failure.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A disc at discPath with every track, each 30 s long and sounding from its number.
FakeDiscs everyTrackDisc(const QString& discPath)
{
    FakeDiscs discs;
    for (int track = 1; track <= 99; ++track)
        discs.setTrack(discPath, track, 30 * kSectorsPerSecond, SoundSource { .path = QString::number(track) });
    return discs;
}

QString failureOf(const QString& path)
{
    try {
        readCdEntry(path);
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

} // namespace

// One reading of a CD entry's path: its disc is the folder or sheet it lies in, its
// track comes from its file name alone. Adding, the run, the scan and the track list
// all take the same track of the same disc, or all refuse the entry.
TEST(CdEntry, everyUserReadsTheSameTrackFromTheFileNameAlone)
{
    const struct {
        QString path;
        QString disc;
        int track; // 0: names no CD track
    } cases[] = {
        { "/home/u/Music/Track 2 Remixes/album.cue/Track01.cda", "/home/u/Music/Track 2 Remixes/album.cue", 1 },
        { "/home/u/Music/Soundtracks/album.cue/Track03.cda", "/home/u/Music/Soundtracks/album.cue", 3 },
        { "/rips/album.cue/Track03 track99999.cda", "/rips/album.cue", 3 }, // the first "track" counts
        { "D:\\Track03.cda", "D:", 3 },
        { "/media/cdrom/TRACK07.CDA", "/media/cdrom", 7 },
        { "/cd/track 12.cda", "/cd", 12 },
        { "Track05.cda", "", 5 },
        { "/cd/Track2.5.cda", "/cd", 2 }, // rounded half to even
        { "/cd/Spår01.cda", "", 0 },
        { "/rips/good.cue/01.cda", "", 0 },
        { "/rips/good.cue/Track1e9.cda", "", 0 },
        { "/rips/good.cue/Track00.cda", "", 0 },
        { "/rips/good.cue/Track100.cda", "", 0 },
        { "/rips/good.cue/Track.cda", "", 0 },
        { "/rips/Track 5/Track-1.cda", "", 0 },
    };
    // A media file is no CD entry, whatever its name holds.
    EXPECT_EQ(cdEntryOf("/music/Track05.mp3"), std::nullopt);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QString refusal = c.path + " does not name a CD track (Track01.cda to Track99.cda).";
        ASSERT_TRUE(isCdEntry(c.path));
        EXPECT_EQ(cdEntryOf(c.path), c.track ? std::optional(CdEntry { c.disc, c.track }) : std::nullopt);
        EXPECT_EQ(failureOf(c.path), c.track ? QString() : refusal);

        // Adding takes only the lower-case ending as a CD track; a playlist's bad entry is skipped with a word.
        FakeDiscs discs = everyTrackDisc(c.disc);
        FakeMediaPlayer player;
        if (c.path.endsWith(".cda")) {
            Playlist playlist;
            QStringList warnings;
            PlaylistAdder adder({ playlist, discs, player, [] { return 2.0; }, [] {},
                                  [&](const QString& text) { warnings << text; } });
            adder.addPlaylistEntry(c.path);
            EXPECT_EQ(playlist.count(), c.track ? 1 : 0);
            EXPECT_EQ(warnings, c.track ? QStringList() : QStringList { refusal });
            EXPECT_EQ(discs.asked, c.track ? QStringList { c.disc } : QStringList());
            discs.asked.clear();
        }

        // The run plays that track of that disc, or stops saying why.
        Playlist playlist;
        playlist.append({ c.path, 30, 0 });
        QTemporaryDir programDir;
        RecordingRun run(playlist, player, discs, programDir.path());
        QSignalSpy warnings(&run, &RecordingRun::warning);
        run.start();
        QMetaObject::invokeMethod(run.findChild<QTimer*>("Timer1"), "timeout");
        EXPECT_EQ(player.played, c.track ? QStringList { QString::number(c.track) } : QStringList());
        EXPECT_EQ(discs.asked, c.track ? QStringList { c.disc } : QStringList());
        EXPECT_EQ(warnings.isEmpty() ? QString() : warnings[0][0].toString(), c.track ? QString() : refusal);
        EXPECT_EQ(warnings.count(), c.track ? 0 : 1);

        // The scan reads that track's sound; an entry naming none is handed on by its path.
        const QList<ScanTrack> tracks = scanTracksOf(playlist.table(), discs, {});
        ASSERT_EQ(tracks.size(), 1);
        EXPECT_EQ(tracks[0].source.path, c.track ? QString::number(c.track) : c.path);
        EXPECT_EQ(tracks[0].name, QStringLiteral("Track %1").arg(c.track ? c.track : 1));
    }

    for (const char* path : { "/music/track01.mp3", "/music/song.cda.mp3", "/music/Track01.cda.old" })
        EXPECT_FALSE(isCdEntry(QString::fromUtf8(path))) << path;
}
