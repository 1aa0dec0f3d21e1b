#include "discs/cue_titles.h"

#include "support/generated_media.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

// A list of all the tracks of a sheet asks for each title: the sheet is read once,
// and again only when its file changes.
TEST(CueTitles, aSheetIsReadAgainOnlyWhenItsFileChanges)
{
    GeneratedMedia media;
    const auto write = [&](const char* title) {
        return media.write("album.cue", QByteArray("TITLE \"Mar\"\nFILE a.bin BINARY\nTRACK 01 AUDIO\nTITLE ") + title
                                            + "\nINDEX 01 00:00:00\n");
    };
    const QString track = write("One") + "/Track01.cda";
    CueTitles titles;
    EXPECT_EQ(titles.titleOf(track), "One");
    EXPECT_EQ(titles.albumOf(track), "Mar");
    EXPECT_EQ(titles.albumOf(media.path("a.bin")), "");
    const QDateTime changed = QFileInfo(media.path("album.cue")).lastModified();

    write("Uno"); // as long, and dated as before: taken for the same file
    QFile sheet(media.path("album.cue"));
    ASSERT_TRUE(sheet.open(QIODevice::ReadWrite) && sheet.setFileTime(changed, QFileDevice::FileModificationTime));
    sheet.close();
    EXPECT_EQ(titles.titleOf(track), "One");

    ASSERT_TRUE(sheet.open(QIODevice::ReadWrite) && sheet.setFileTime(changed.addSecs(1), QFileDevice::FileModificationTime));
    sheet.close();
    EXPECT_EQ(titles.titleOf(track), "Uno");
    write("Twelve"); // longer
    EXPECT_EQ(titles.titleOf(track), "Twelve");
}

// A sheet that is a FIFO is only looked at, never waited on: its tracks have no titles.
TEST(CueTitles, aSheetThatIsAFifoGivesNoTitles)
{
    GeneratedMedia media;
    ASSERT_EQ(mkfifo(QFile::encodeName(media.path("fifo.cue")).constData(), 0600), 0);
    EXPECT_EQ(CueTitles().titleOf(media.path("fifo.cue") + "/Track01.cda"), QString());
}
