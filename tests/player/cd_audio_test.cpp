#include "player/cd_audio.h"

#include "support/fake_cd_device.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <utility>

TEST(CDAudio, sendsExactlyItsCommandStrings)
{
    FakeCdDevice device;
    CDAudio cd(device);
    cd.SetTrack(12);
    cd.GetTrackLength(3);
    cd.SeekCDtoX(7);
    cd.ReadyDevice();
    cd.PausePlay();
    cd.EjectCD();
    cd.CloseCD();
    cd.GetNumTracks();
    cd.GetCDLength();
    cd.CheckCD();
    EXPECT_EQ(device.commands,
              QByteArrayList({"seek cd to  12", "status cd length track 3", "stop cd wait", "seek cd to  7", "play cd",
                              "close all", "open cdaudio alias cd wait shareable", "set cd time format tmsf wait",
                              "pause cd", "set cd door open", "set cd door closed", "status cd number of tracks wait",
                              "status cd length wait", "status cd media present"}));
    // Commands without a reply ask for none; queries get 30 characters.
    EXPECT_EQ(device.capacities.mid(0, 2), QList<int>({0, 30}));
}

TEST(CDAudio, readsRepliesByCharacterPositionAndAnEmptyReplyAsZero)
{
    FakeCdDevice device;
    CDAudio cd(device);
    device.replies["status cd position"] = "05:02:07:30";
    device.replies["status cd length track 3"] = "04:23:45";
    EXPECT_EQ(cd.GetCurrentTime(), 127);
    EXPECT_EQ(cd.GetCurrentTrack(), 5);
    EXPECT_EQ(cd.GetTrackLength(3), "04:23:45" + QString(22, QChar(0))); // the whole 30-character buffer
    EXPECT_EQ(trackLengthSeconds(cd.GetTrackLength(3)), 263);
    // Only a mode beginning with "playing", in that case, counts as playing.
    for (const auto& [mode, playing] : {std::pair{"playingx", 1}, std::pair{"paused", 0}, std::pair{"Playing", 0}}) {
        device.replies["status cd mode"] = mode;
        EXPECT_EQ(cd.CheckIfPlaying(), playing) << mode;
    }

    NoCdDevice none;
    CDAudio noDrive(none);
    EXPECT_EQ(trackLengthSeconds(noDrive.GetTrackLength(1)), 0);
    EXPECT_EQ(noDrive.GetCurrentTime(), 0);
}

// A track of 100 minutes or more is written with three figures of minutes: every
// field is read whole, not by its place in a reply of two-figure fields.
TEST(CDAudio, timesOfAHundredMinutesOrMoreAreReadWhole)
{
    FakeCdDevice device;
    CDAudio cd(device);
    device.replies["status cd position"] = "01:100:30:10";
    device.replies["status cd length track 1"] = "100:30:00";
    EXPECT_EQ(trackLengthSeconds(cd.GetTrackLength(1)), 6030);
    EXPECT_EQ(cd.GetCurrentTime(), 6030);
    EXPECT_EQ(cd.GetCurrentTrack(), 1);
    qint16 track = 0, minutes = 0, seconds = 0;
    cd.GetCDPosition(track, minutes, seconds);
    EXPECT_EQ(QList<qint16>({track, minutes, seconds}), QList<qint16>({1, 100, 30}));
}

TEST(CDAudio, fastForwardAndRewindMoveInMilliseconds)
{
    FakeCdDevice device;
    CDAudio cd(device);
    device.replies["status cd position wait"] = "65000";
    device.replies["status cd mode"] = "playing";
    cd.FastForward(5000);
    EXPECT_EQ(device.commands, QByteArrayList({"set cd time format milliseconds", "status cd position wait",
                                               "status cd mode", "status cd mode", "play cd from 70000",
                                               "set cd time format tmsf wait"}));
    EXPECT_EQ(device.capacities[1], 40);
    device.commands.clear();
    device.replies["status cd mode"] = "stopped";
    cd.ReWind(5000);
    EXPECT_EQ(device.commands[4], "seek cd to 60000");
}
