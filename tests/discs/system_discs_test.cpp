#include "discs/system_discs.h"

#include "discs/cdio_drive.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

// A sheet is the disc of its entries, read once until the discs are looked at again;
// any other folder (a Windows drive among them) is the disc in the drive, which a
// test machine does not have; a sheet that cannot be used is no disc.
TEST(SystemDiscs, aSheetIsItsEntriesDiscAndIsReadAgainOnlyWhenLookedAtAgain)
{
    GeneratedMedia media;
    media.write(QStringLiteral("disc.bin"), QByteArray(2352 * (75 * 62 + 40), '\0'));
    const QByteArray twoTracks = "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                 " TRACK 03 AUDIO\n  INDEX 00 00:59:00\n  INDEX 01 01:00:10\n";
    const QString sheet = media.write(QStringLiteral("disc.cue"), twoTracks);
    SystemDiscs discs;
    const std::optional<Disc> disc = discs.disc(sheet);
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->tracks.size(), 3);
    EXPECT_EQ(disc->tracks[0].wholeSeconds(), 60); // to the next track's INDEX 01
    const SoundSource third { SoundSource::Kind::RawImage, media.path(QStringLiteral("disc.bin")), 0,
                              (75 * 60 + 10) * kFramesPerSector, (75 * 62 + 40) * kFramesPerSector, false };
    EXPECT_EQ(discTrackOf(discs, { sheet, 3 })->sound, third);
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

    if (readDriveDisc(QString()))
        return; // a machine with an audio disc in its drive
    EXPECT_EQ(discs.disc(QStringLiteral("D:")), std::nullopt);
    EXPECT_EQ(discs.disc(media.path(QStringLiteral("Audio CD"))), std::nullopt);
}
