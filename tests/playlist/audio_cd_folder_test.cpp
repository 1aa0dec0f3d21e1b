#include "playlist/audio_cd_folder.h"

#include "support/fake_discs.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Only TrackNN.cda files are the folder's own: other files, even CD-like names it
// never writes, outlast every disc. Each refresh reads the drive's disc anew, once.
TEST(AudioCdFolder, showsTheAudioTracksOfTheDiscInTheDriveAndNothingElseOfItsOwn)
{
    QTemporaryDir base;
    FakeDiscs discs;
    AudioCdFolder folder(discs, base.path());
    EXPECT_EQ(folder.path(), base.path() + "/Audio CD");
    const auto files = [&] { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); };

    discs.setTrack(folder.path(), 1, FakeDiscs::sectors(3, 10));
    discs.setTrack(folder.path(), 2, FakeDiscs::sectors(1, 0), {}, false); // a data track: no sound
    discs.setTrack(folder.path(), 4, FakeDiscs::sectors(0, 45, 12)); // the disc skips 3
    folder.refresh();
    EXPECT_EQ(files(), QStringList({"Track01.cda", "Track04.cda"}));
    EXPECT_EQ(QFileInfo(folder.path() + "/Track04.cda").size(), 0);
    // A plain folder: the drive's disc.
    EXPECT_EQ(std::tuple(discs.asked, discs.looksAgain), std::tuple(QStringList({folder.path()}), 1));

    for (const char* name : {"notes.txt", "TRACK05.CDA", "Track5.cda", "Track100.cda"})
        writeBytes(folder.path() + "/" + name, "mine");
    Disc oneTrack;
    oneTrack.tracks.append(DiscTrack{true, FakeDiscs::sectors(2, 0), {}, {}, 0});
    discs.setDisc(folder.path(), oneTrack);
    folder.refresh();
    EXPECT_EQ(files(), QStringList({"TRACK05.CDA", "Track01.cda", "Track100.cda", "Track5.cda", "notes.txt"}));
    EXPECT_EQ(std::tuple(discs.asked.size(), discs.looksAgain), std::tuple(2, 2));

    discs.setDisc(folder.path(), std::nullopt); // no drive, or no disc in it
    folder.refresh();
    EXPECT_EQ(files(), QStringList({"TRACK05.CDA", "Track100.cda", "Track5.cda", "notes.txt"}));
}
