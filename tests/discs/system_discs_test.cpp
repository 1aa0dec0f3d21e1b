#include "discs/cdio_drive.h"
#include "discs/disc_id.h"
#include "discs/system_discs.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

// A sheet is the disc of its entries, read once until the discs are looked at again;
// a sheet that cannot be used is no disc.
TEST(SystemDiscs, aSheetIsItsEntriesDiscAndIsReadAgainOnlyWhenLookedAtAgain)
{
    GeneratedMedia media;
    media.write(QStringLiteral("disc.bin"), QByteArray(2352 * (75 * 62 + 40), '\0'));
    const QByteArray twoTracks = "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                 " TRACK 03 AUDIO\n  INDEX 00 00:59:00\n  INDEX 01 01:00:10\n";
    const QString sheet = media.write(QStringLiteral("disc.cue"), twoTracks);
    SystemDiscs discs;
    const std::optional<Disc> disc = discs.disc(sheet);
    ASSERT_TRUE(disc && disc->tracks.size() == 3);
    EXPECT_EQ(disc->tracks[0].wholeSeconds(), 60); // to the next track's INDEX 01
    EXPECT_EQ(discTrackOf(discs, { sheet, 3 })->wholeSeconds(), 2); // 2 s and 30 sectors
    EXPECT_EQ(discTrackOf(discs, { sheet, 2 }), std::nullopt); // a number the sheet skips
    EXPECT_EQ(discTrackOf(discs, { sheet, 4 }), std::nullopt);

    media.write(QStringLiteral("disc.cue"), "FILE \"gone.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n");
    EXPECT_EQ(discs.disc(sheet)->tracks.size(), 3);
    discs.lookAgain();
    EXPECT_EQ(discs.disc(sheet), std::nullopt);
    media.write(QStringLiteral("disc.cue"), twoTracks);
    discs.lookAgain();
    EXPECT_EQ(discs.disc(sheet)->tracks.size(), 3);
}

TEST(CdioDrive, readsTheTracksOfADiscImageWhoseTableOfContentsMakesMusicBrainzsDiscId)
{
    GeneratedMedia media;
    // A sheet and its image, named alike as libcdio finds them; only the sheet's table of contents is read.
    const auto image = [&](const QString& name, const QByteArray& head, const QByteArray& tracks) {
        media.write(name + ".bin", QByteArray(160 * 2352, '\0'));
        return media.write(name + ".cue", head + "FILE \"" + name.toUtf8() + ".bin\" BINARY\n" + tracks);
    };
    // Track 2 has a pregap of 15 sectors: it counts with track 1.
    const QString sheet = image("x", {}, "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                         "  TRACK 02 AUDIO\n    INDEX 00 00:01:25\n    INDEX 01 00:01:40\n");
    const std::optional<Disc> disc = readDriveDisc(sheet);
    ASSERT_TRUE(disc && disc->tracks.size() == 2);
    // The sectors, where each track starts and the lead-out, as its disc ID is made of.
    EXPECT_EQ(std::tuple(disc->tracks[0].audio && disc->tracks[1].audio, disc->tracks[0].sectors, disc->tracks[1].sectors,
                         disc->tracks[0].start, disc->tracks[1].start, disc->leadOut), std::tuple(true, 115, 45, 0, 115, 160));
    EXPECT_EQ(disc->tracks[1].sound, (SoundSource { SoundSource::Kind::DriveTrack, sheet, 2 }));
    EXPECT_EQ(disc->title + disc->tracks[0].title, "");

    // The disc's CD-Text names the album and the tracks, the disc's performer standing
    // for a track's that is not given.
    const std::optional<Disc> titled = readDriveDisc(image("named", "PERFORMER \"Ana Ruiz\"\nTITLE \"Río Lento\"\n",
        "  TRACK 01 AUDIO\n    TITLE \"Primera\"\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    TITLE \"Dúo\"\n    PERFORMER \"Both  of Us\"\n    INDEX 01 00:01:40\n"));
    ASSERT_TRUE(titled && titled->tracks.size() == 2);
    EXPECT_EQ(QStringList({titled->title, titled->tracks[0].title, titled->tracks[1].title}),
              QStringList({"Río Lento", "Ana Ruiz - Primera", "Both of Us - Dúo"}));
    // A sheet in Latin-1, as CD-Text mostly is, reads the same.
    const std::optional<Disc> latin = readDriveDisc(image("latin", "TITLE \"R\xedo Lento\"\n", "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"));
    EXPECT_EQ(latin.value_or(Disc()).title, "Río Lento");

    // A data disc, an empty sheet, a text, a missing sheet: no audio disc.
    for (const QString& none : { image("data", {}, "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"), media.write("empty.cue", {}),
                                 media.write("notes.txt", "not a disc\n"), media.path("missing.cue") })
        EXPECT_EQ(readDriveDisc(none), std::nullopt) << none.toStdString();

    // A disc of audio tracks starting at the given sectors, the last ending at leadOut.
    const auto discOf = [](const QList<qint64>& starts, qint64 leadOut, int firstNumber = 1) {
        Disc disc;
        for (int number = 1; number < firstNumber; ++number)
            disc.tracks.append({ false, 0, {}, {}, 0 });
        for (qsizetype i = 0; i < starts.size(); ++i)
            disc.tracks.append({ true, (i + 1 < starts.size() ? starts[i + 1] : leadOut) - starts[i], {}, {}, starts[i] });
        disc.leadOut = leadOut;
        return disc;
    };
    // MusicBrainz's own worked example (its "Disc ID Calculation" page).
    const Disc example = discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312);
    EXPECT_EQ(musicBrainzDiscId(example), "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

    // An enhanced CD's data track is no part of it: its audio ends 11400 sectors earlier.
    Disc enhanced = discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312 + 11400 + 5000);
    enhanced.tracks[5].sectors += 11400;
    enhanced.tracks.append({ false, 5000, {}, {}, 95312 + 11400 });
    EXPECT_EQ(musicBrainzDiscId(enhanced), "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

    // The numbers count: the same starts from track 2 on are another disc.
    const QString later = musicBrainzDiscId(discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312, 2));
    EXPECT_TRUE(later.size() == 28 && later != "49HHV7Eb8UKF3aQiNmu1GR8vKTY-") << later.toStdString();

    EXPECT_EQ(musicBrainzDiscId(Disc {}) + musicBrainzDiscId(discOf({ 0 }, 0)), ""); // nothing, or no lead-out read
}
