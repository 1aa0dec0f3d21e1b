#include "support/fake_discs.h"

#include <gtest/gtest.h>

// A CD entry is titled, and its album named, by its disc's text; other entries, tracks the disc lacks and
// discs that cannot be read give none.
TEST(DiscTextTitle, comesFromTheEntrysTrackOnItsDisc)
{
    FakeDiscs discs;
    discs.setTrack("/media/cdrom", 2, FakeDiscs::sectors(3, 0));
    Disc disc = *discs.disc("/media/cdrom");
    disc.tracks[1].title = QStringLiteral("Ana Ruiz - Dos");
    disc.title = QStringLiteral("Mar");
    discs.setDisc("/media/cdrom", disc);

    EXPECT_EQ(discTextTitleOf(discs, "/media/cdrom/Track02.cda"), "Ana Ruiz - Dos");
    EXPECT_EQ(discTextTitleOf(discs, "/media/cdrom/Track01.cda"), ""); // a number the disc skips
    EXPECT_EQ(discTextTitleOf(discs, "/media/cdrom/Track09.cda"), "");
    EXPECT_EQ(discTextTitleOf(discs, "/music/Track02.mp3"), "");
    EXPECT_EQ(discTextAlbumOf(discs, "/media/cdrom/Track01.cda"), "Mar");
    EXPECT_EQ(discTextAlbumOf(discs, "/music/Track02.mp3"), "");
    discs.failure = QStringLiteral("The drive cannot be read.");
    EXPECT_EQ(discTextTitleOf(discs, "/media/cdrom/Track02.cda"), "");
    EXPECT_EQ(discTextAlbumOf(discs, "/media/cdrom/Track02.cda"), "");
}
