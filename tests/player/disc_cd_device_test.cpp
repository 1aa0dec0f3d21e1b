#include "player/disc_cd_device.h"

#include "discs/cdio_drive.h"
#include "player/cd_audio.h"
#include "support/fake_media_player.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

SoundSource imageTrack(int track, qint64 firstFrame)
{
    return { SoundSource::Kind::RawImage, QStringLiteral("/rips/disc.bin"), track, firstFrame, -1, false };
}

// Track 1 of 4:23:45, a data track, and track 3 of exactly 2 seconds.
Disc threeTracks()
{
    return { { { true, 263 * 75 + 45, imageTrack(1, 0) },
               { false, 1000, {} },
               { true, 150, imageTrack(3, 800000) } } };
}

QString nuls(int count)
{
    return QString(count, QChar(0));
}

struct DiscCdDeviceTest : ::testing::Test {
    std::optional<Disc> disc = threeTracks();
    QStringList looked; // the folders the disc was looked up for
    FakeMediaPlayer player;
    DiscCdDevice device { [this](const QString& folder) {
                             looked << folder;
                             return disc;
                         },
                          player };
    CDAudio cd { device };

    QByteArray send(const char* command, int capacity = 30) { return device.sendCommand(command, capacity); }
};

} // namespace

TEST_F(DiscCdDeviceTest, answersTheTableOfContentsOfTheChosenDisc)
{
    device.chooseDisc(QStringLiteral("/rips/album"));
    EXPECT_TRUE(looked.isEmpty()); // not before the device opens
    cd.ReadyDevice();
    EXPECT_EQ(looked, QStringList { "/rips/album" });
    EXPECT_EQ(cd.CheckCD(), 1);
    EXPECT_EQ(cd.GetNumTracks(), 3);
    EXPECT_EQ(send("STATUS  cd number of   tracks wait"), "03" + QByteArray(28, '\0'));
    EXPECT_EQ(cd.GetTrackLength(1), "04:23:45" + nuls(22));
    EXPECT_EQ(trackLengthSeconds(cd.GetTrackLength(1)), 263);
    EXPECT_EQ(cd.GetTrackLength(4), nuls(30));
    EXPECT_EQ(cd.GetCDLength(), "04:38:70" + nuls(22)); // 20920 sectors
    EXPECT_EQ(send("status cd length track 1", 4), "04:2");
    EXPECT_EQ(send("status cd tea", 5), QByteArray(5, '\0'));
    EXPECT_EQ(device.trackSound(3), imageTrack(3, 800000));
    EXPECT_EQ(device.trackSound(2), std::nullopt); // data

    // A disc chosen while the device is open is looked up at once.
    disc.reset();
    device.chooseDisc(QStringLiteral("/rips/other"));
    EXPECT_EQ(looked.last(), "/rips/other");
    EXPECT_EQ(cd.CheckCD(), 0);
}

TEST_F(DiscCdDeviceTest, playsATrackToItsEndAndThenStandsAtTheNext)
{
    cd.ReadyDevice();
    cd.SeekCDtoX(1);
    EXPECT_EQ(player.stops, 0); // the stop before the seek leaves the player's own files alone
    ASSERT_EQ(player.playedSources, QList<SoundSource> { imageTrack(1, 0) });
    EXPECT_EQ(player.silences, QList<double> { 0 });
    EXPECT_EQ(cd.CheckIfPlaying(), 1);

    player.position = 65.5;
    EXPECT_EQ(send("status cd position", 12), "01:01:05:37" + QByteArray(1, '\0'));
    EXPECT_EQ(cd.GetCurrentTrack(), 1);
    EXPECT_EQ(cd.GetCurrentTime(), 65);

    player.finish();
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
    EXPECT_EQ(send("status cd mode", 8), "stopped" + QByteArray(1, '\0'));
    EXPECT_EQ(cd.GetCurrentTrack(), 2);
    EXPECT_EQ(cd.GetCurrentTime(), 0);
    cd.StartPlay(); // a data track plays nothing
    EXPECT_EQ(player.playedSources.size(), 1);
    EXPECT_EQ(cd.CheckIfPlaying(), 0);

    cd.SeekCDtoX(3);
    player.start();
    cd.StopPlay();
    EXPECT_EQ(player.stops, 1);
    EXPECT_EQ(cd.CheckIfPlaying(), 0);

    // The end of the last track stays the place to stand.
    cd.StartPlay();
    EXPECT_EQ(player.playedSources.last(), imageTrack(3, 800000));
    player.finish();
    EXPECT_EQ(send("status cd position", 12), "03:00:02:00" + QByteArray(1, '\0'));
    cd.StartPlay();
    EXPECT_EQ(cd.CheckIfPlaying(), 0);

    // A track that breaks off in the player leaves the drive stopped.
    cd.SeekCDtoX(1);
    player.breakOff(QStringLiteral("gone"));
    EXPECT_EQ(cd.CheckIfPlaying(), 0);
}

TEST_F(DiscCdDeviceTest, movesByMillisecondsAcrossTheDisc)
{
    cd.ReadyDevice();
    cd.SeekCDtoX(1);
    player.position = 10;
    cd.FastForward(5000);
    EXPECT_EQ(player.stops, 1); // and the track plays on from 15 seconds
    EXPECT_EQ(player.playedSources.last(), imageTrack(1, 15 * 44100));
    player.position = 1;
    EXPECT_EQ(cd.GetCurrentTime(), 16);

    cd.SetFormat_milliseconds();
    send("seek cd to 276934", 0); // 20770 sectors: the start of track 3
    EXPECT_EQ(send("status cd position", 8), "276933" + QByteArray(2, '\0'));
    cd.SetFormat_tmsf();
    EXPECT_EQ(cd.GetCurrentTrack(), 3);
    EXPECT_EQ(cd.GetCurrentTime(), 0);
}

TEST_F(DiscCdDeviceTest, aClosedDeviceOrOneWithoutADiscAnswersNothing)
{
    EXPECT_EQ(cd.CheckCD(), 0);
    EXPECT_EQ(send("status cd mode", 4), QByteArray(4, '\0'));

    disc.reset();
    cd.ReadyDevice();
    EXPECT_EQ(send("status cd media present", 6), "false" + QByteArray(1, '\0'));
    EXPECT_EQ(send("status cd mode", 10), "not ready" + QByteArray(1, '\0'));
    EXPECT_EQ(cd.GetNumTracks(), 0);
    EXPECT_EQ(cd.GetTrackLength(1), nuls(30));
    cd.SeekCDtoX(1);
    EXPECT_TRUE(player.playedSources.isEmpty());
    EXPECT_EQ(cd.CheckIfPlaying(), 0);

    // The door: open, no disc; closed, the disc is looked up again.
    disc = threeTracks();
    cd.EjectCD();
    EXPECT_EQ(send("status cd mode", 4), "open");
    EXPECT_EQ(cd.CheckCD(), 0);
    cd.CloseCD();
    EXPECT_EQ(cd.GetNumTracks(), 3);

    cd.SeekCDtoX(1);
    cd.UnloadAll();
    EXPECT_EQ(player.stops, 1);
    EXPECT_EQ(cd.CheckCD(), 0);
    EXPECT_EQ(cd.GetNumTracks(), 0);
    EXPECT_EQ(cd.GetCDLength(), nuls(30));
    // Closed, the device still finds a track's sound for the player.
    EXPECT_EQ(device.trackSound(1), imageTrack(1, 0));
}

// The system's device on a generated disc image: a sheet names the disc of its
// entries, any other folder (a Windows drive among them) the disc in the drive,
// which a test machine does not have.
TEST(SystemCdDevice, answersForTheDiscOfASheetAndFindsNoDriveElsewhere)
{
    GeneratedMedia media;
    media.write(QStringLiteral("disc.bin"), QByteArray(2352 * (75 * 62 + 40), '\0'));
    const QString sheet = media.write(QStringLiteral("disc.cue"),
                                      "FILE \"disc.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                                      " TRACK 02 AUDIO\n  INDEX 00 00:59:00\n  INDEX 01 01:00:10\n");
    FakeMediaPlayer player;
    const std::unique_ptr<CdDevice> device = makeSystemCdDevice(player);
    CDAudio cd(*device);
    cd.ReadyDevice();
    cd.UseDisc(sheet);
    EXPECT_EQ(cd.CheckCD(), 1);
    EXPECT_EQ(cd.GetNumTracks(), 2);
    EXPECT_EQ(cd.GetTrackLength(1), "01:00:10" + nuls(22)); // to the second track's INDEX 01
    EXPECT_EQ(cd.GetTrackLength(2), "00:02:30" + nuls(22));
    const SoundSource second { SoundSource::Kind::RawImage, media.path(QStringLiteral("disc.bin")), 0,
                               (75 * 60 + 10) * kFramesPerSector, (75 * 62 + 40) * kFramesPerSector, false };
    EXPECT_EQ(cd.TrackSound(2), second);

    if (readDriveDisc(QString()))
        return; // a machine with an audio disc in its drive
    cd.UseDisc(QStringLiteral("D:"));
    EXPECT_EQ(cd.CheckCD(), 0);
    EXPECT_EQ(cd.GetTrackLength(3), nuls(30));
}
