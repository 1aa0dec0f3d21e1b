#include "playlist/audio_cd_folder.h"

#include "player/cd_audio.h"
#include "player/disc_cd_device.h"
#include "support/fake_cd_device.h"
#include "support/fake_media_player.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

void makeFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("mine");
}

Disc audioTracks(int count)
{
    Disc disc;
    for (int track = 0; track < count; ++track)
        disc.tracks.append({true, 75 * 60, {}});
    return disc;
}

} // namespace

// Only TrackNN.cda files are the folder's own: other files, even CD-like names it
// never writes, outlast every disc.
TEST(AudioCdFolder, showsTheAudioTracksOfTheDiscInTheDriveAndNothingElseOfItsOwn)
{
    QTemporaryDir base;
    FakeCdDevice device;
    CDAudio cd(device);
    AudioCdFolder folder(cd, base.path());
    EXPECT_EQ(folder.path(), base.path() + "/Audio CD");

    device.replies["status cd number of tracks wait"] = "03";
    device.replies["status cd length track 1"] = "03:10:00";
    device.replies["status cd length track 2"] = "01:00:00"; // a data track: no sound
    device.replies["status cd length track 3"] = "00:45:12";
    device.sounds = {{1, SoundSource{.path = "1"}}, {3, SoundSource{.path = "3"}}};
    folder.refresh();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"Track01.cda", "Track03.cda"}));
    EXPECT_EQ(QFileInfo(folder.path() + "/Track03.cda").size(), 0);
    EXPECT_EQ(device.chosenFolders.last(), folder.path()); // a plain folder: the drive's disc

    const QStringList foreign {"notes.txt", "TRACK05.CDA", "Track5.cda", "Track100.cda"};
    for (const QString& name : foreign)
        makeFile(folder.path() + "/" + name);
    device.replies["status cd number of tracks wait"] = "01";
    folder.refresh();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"TRACK05.CDA", "Track01.cda", "Track100.cda", "Track5.cda",
                                                   "notes.txt"}));

    device.replies.clear(); // no drive, or no disc in it
    folder.refresh();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"TRACK05.CDA", "Track100.cda", "Track5.cda", "notes.txt"}));
}

// The disc device keeps a disc it has read while the same folder is asked about, so
// each refresh has to make it read the drive again: once, not once per track.
TEST(AudioCdFolder, eachRefreshReadsTheDiscInTheDriveOnce)
{
    QTemporaryDir base;
    std::optional<Disc> inDrive = audioTracks(2);
    int reads = 0;
    FakeMediaPlayer player;
    DiscCdDevice device([&](const QString&) { ++reads; return inDrive; }, player);
    CDAudio cd(device);
    cd.ReadyDevice(); // as the main window opens it
    AudioCdFolder folder(cd, base.path());

    reads = 0;
    folder.refresh();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"Track01.cda", "Track02.cda"}));
    EXPECT_EQ(reads, 1);

    inDrive = audioTracks(4);
    folder.refresh();
    EXPECT_EQ(filesIn(folder.path()), QStringList({"Track01.cda", "Track02.cda", "Track03.cda", "Track04.cda"}));
    EXPECT_EQ(reads, 2);

    // Adding the tracks chosen there asks the same disc again without reading it.
    cd.UseDisc(folder.path());
    EXPECT_EQ(cd.GetTrackLength(4).left(8), "01:00:00");
    EXPECT_EQ(reads, 2);
}
