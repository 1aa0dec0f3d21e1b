#include "discs/cue_titles.h"
#include "support/fake_discs.h"
#include "support/generated_media.h"

#include <QFileInfo>
#include <sys/stat.h>
#include <gtest/gtest.h>

// A list of all the tracks of a sheet asks for each title: the sheet is read once,
// and again only when its file changes. A sheet that is a FIFO is only looked at,
// never waited on: its tracks have no titles.
TEST(CueTitles, aSheetIsReadAgainOnlyWhenItsFileChangesAFifoGivesNoTitlesAndADiscsTextTitlesItsEntries)
{
    GeneratedMedia media;
    const auto write = [&](const char* title) {
        return media.write("album.cue", QByteArray("TITLE \"Mar\"\nFILE a.bin BINARY\nTRACK 01 AUDIO\nTITLE ") + title
                                            + "\nINDEX 01 00:00:00\n");
    };
    const QString track = write("One") + "/Track01.cda";
    CueTitles titles;
    EXPECT_EQ(titles.titleOf(track) + titles.albumOf(track) + titles.albumOf(media.path("a.bin")), "OneMar");
    const QDateTime changed = QFileInfo(media.path("album.cue")).lastModified();
    const auto date = [&](const QDateTime& time) {
        QFile sheet(media.path("album.cue"));
        return sheet.open(QIODevice::ReadWrite) && sheet.setFileTime(time, QFileDevice::FileModificationTime);
    };
    write("Uno"); // as long, and dated as before: taken for the same file
    ASSERT_TRUE(date(changed));
    EXPECT_EQ(titles.titleOf(track), "One");
    ASSERT_TRUE(date(changed.addSecs(1)));
    EXPECT_EQ(titles.titleOf(track), "Uno");
    write("Twelve"); // longer
    EXPECT_EQ(titles.titleOf(track), "Twelve");

    ASSERT_EQ(mkfifo(QFile::encodeName(media.path("fifo.cue")).constData(), 0600), 0);
    EXPECT_EQ(titles.titleOf(media.path("fifo.cue") + "/Track01.cda"), QString());

    // A CD entry is titled, and its album named, by its disc's text; other entries, tracks the disc lacks and
    // discs that cannot be read give none.
    FakeDiscs discs;
    discs.setTrack("/media/cdrom", 2, FakeDiscs::sectors(3, 0));
    Disc disc = *discs.disc("/media/cdrom");
    disc.tracks[1].title = QStringLiteral("Ana Ruiz - Dos");
    disc.title = QStringLiteral("Mar");
    discs.setDisc("/media/cdrom", disc);

    const auto both = [&](const char* path) { return discTextTitleOf(discs, path) + " | " + discTextAlbumOf(discs, path); };
    EXPECT_EQ(both("/media/cdrom/Track02.cda"), "Ana Ruiz - Dos | Mar");
    EXPECT_EQ(both("/media/cdrom/Track01.cda"), " | Mar"); // a number the disc skips
    EXPECT_EQ(both("/media/cdrom/Track09.cda") + both("/music/Track02.mp3"), " | Mar | ");
    discs.failure = QStringLiteral("The drive cannot be read.");
    EXPECT_EQ(both("/media/cdrom/Track02.cda"), " | ");
}
