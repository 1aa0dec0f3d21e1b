#include "listening/received_wav.h"

#include "common/failure.h"
#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

quint32 le32(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }

} // namespace

// The file is a WAV any player opens: the header tells the lengths written, and the
// samples are rounded and held within full scale.
TEST(ReceivedWav, holdsTheSoundAsSixteenBitStereo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list received.wav");
    {
        ReceivedWav wav(path);
        const float first[] = {0.5f, -0.5f, 1.5f, -2.0f};
        const float second[] = {0.0f, 1.0f / 65534};
        wav.append(first, 2);
        wav.append(second, 1);
        EXPECT_EQ(wav.note(), "The received sound is in " + path + ".");
    } // the header is written when it goes
    const QByteArray bytes = bytesOf(path);
    ASSERT_EQ(bytes.size(), 44 + 3 * 4);
    // RIFF of 48 bytes; PCM, 2 channels, 44100 Hz, 176400 bytes a second, 4 a frame, 16 bits; data of 12 bytes.
    EXPECT_EQ(bytes.left(44).toHex(' '), "52 49 46 46 30 00 00 00 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 02 00 44 ac 00 00 "
                                         "10 b1 02 00 04 00 10 00 64 61 74 61 0c 00 00 00");
    // 16384, -16384, 32767, -32767, 0 and 1, little-endian.
    EXPECT_EQ(bytes.mid(44).toHex(), "004000c0ff7f018000000100");
}

// A full disk or the format's own limit ends only the file, which stays playable up
// to there and says so; a file that cannot be made is refused at once.
TEST(ReceivedWav, endsWhereItCannotGoOnAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("long.wav");
    const std::vector<float> second(44100 * 2, 0.25f);
    {
        ReceivedWav wav(path, 44100 * 4 + 6); // a second and a frame and a half
        wav.append(second.data(), 44100);
        wav.append(second.data(), 44100);
        wav.append(second.data(), 44100);
        EXPECT_EQ(wav.note(), "The received sound is in " + path + " up to 0:00:01 only: a WAV file holds 0:00:01 at most.");
    }
    const QByteArray bytes = bytesOf(path);
    EXPECT_EQ(bytes.size(), 44 + 44101 * 4);
    EXPECT_EQ(le32(bytes, 40), 44101u * 4);

    if (QFile::exists("/dev/full")) {
        ReceivedWav full("/dev/full");
        full.append(second.data(), 44100);
        EXPECT_EQ(full.note(), "The received sound is in /dev/full up to 0:00:00 only: No space left on device.");
    }

    try {
        ReceivedWav nowhere(dir.filePath("gone/list.wav"));
        ADD_FAILURE() << "made in a folder that is not there";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().startsWith(dir.filePath("gone/list.wav") + " could not be made: "))
            << failure.description().toStdString();
    }
}

TEST(ReceivedWav, isNamedAfterTheListAndTheRunsStart)
{
    const QDateTime start(QDate(2026, 12, 8), QTime(15, 4, 9));
    EXPECT_EQ(receivedWavPath("/lists", "Summer, Mix", start), "/lists/Summer, Mix received 2026-12-08 15-04-09.wav");
    EXPECT_EQ(receivedWavPath("/programs/trelvik", "", start), "/programs/trelvik/Trelvik received 2026-12-08 15-04-09.wav");
}
