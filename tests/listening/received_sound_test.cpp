#include "listening/received_sound.h"
#include "listening/received_wav.h"
#include "support/failure_text.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <vector>
#include <gtest/gtest.h>

namespace {

// Builds what an input hears, piece by piece: tones at a peak level, and silences
// with a hum under them, as interleaved stereo at 44.1 kHz.
class Heard {
public:
    Heard& tone(double seconds, double peakDb, double frequency = 1000)
    {
        const double amplitude = std::pow(10.0, peakDb / 20);
        const qint64 frames = qint64(seconds * 44100);
        for (qint64 i = 0; i < frames; ++i) {
            const auto sample = float(std::clamp(amplitude * std::sin(2 * M_PI * frequency * double(i) / 44100), -1.0, 1.0));
            m_samples.insert(m_samples.end(), {sample, sample});
        }
        return *this;
    }
    Heard& hum(double seconds, double peakDb) { return tone(seconds, peakDb, 50); }
    ReceivedSound sound() const
    {
        ReceivedSound received;
        // In uneven pieces, as a sound server hands them over.
        for (size_t first = 0; first < m_samples.size() / 2; first += 1001)
            received.append(m_samples.data() + 2 * first, std::min<qint64>(1001, qint64(m_samples.size() / 2 - first)));
        return received;
    }

private:
    std::vector<float> m_samples;
};

const SilenceRule kRule{-50, 1.5};

} // namespace

// The entries are found in what came back: the gaps the recorder splits at and
// those it will not (a hum above its threshold, a gap too short), a drop-out inside
// a track, a clipped track; a run stopped early reports what was heard of it.
TEST(ReceivedSound, findsEachTracksLevelAndEachGapAsTheRecorderHearsIt)
{
    const ReceivedSound heard = Heard().hum(1, -70).tone(3.4, -12).hum(2, -70)
                                    .tone(1.5, -12).hum(0.1, -80).tone(1.4, -12) // a drop-out 1.5 s in
                                    .hum(2, -45)                                 // above the threshold
                                    .tone(3.2, 2)                                // over full scale
                                    .hum(1, -70).tone(3, -20).hum(2, -70).sound();
    const std::vector<SentEntry> sent = {{"Uno", 3, 2}, {"Dos", 3, 2}, {"Tres", 3, 1}, {"Cuatro", 3, 0}};
    const ReceivedFindings found = findReceived(heard, sent, kRule);
    ASSERT_EQ(found.tracks.size(), 4u);
    // The levels, drop-outs, clipping and splits are read in the report below.
    EXPECT_NEAR(found.tracks[0].startSeconds, 1, 0.01);
    EXPECT_NEAR(found.tracks[0].endSeconds, 4.4, 0.01);
    EXPECT_EQ(receivedReport(found, sent, kRule),
              QStringList({"1. Uno: peak -12.0 dB, level -12.0 dB",
                           "   gap: -70.0 dB, the recorder starts a new track",
                           "2. Dos: peak -12.0 dB, level -12.1 dB, drop-out at 0:01.5",
                           "   gap: the silence arrives at -45.0 dB, above the -50.0 dB the recorder splits at: "
                           "it will not start a new track",
                           "3. Tres: peak 0.0 dB, level 1.0 dB, clipped",
                           "   gap: below -50.0 dB for only 1.0 s: the recorder will not start a new track",
                           "4. Cuatro: peak -20.0 dB, level -20.0 dB"}));

    // Stopped in the second track: what was heard of it is told.
    const ReceivedSound stopped = Heard().hum(1, -70).tone(3, -12).hum(2, -70).tone(1, -12).hum(0.5, -70).sound();
    const ReceivedFindings early = findReceived(stopped, sent, kRule);
    ASSERT_EQ(early.tracks.size(), 2u);
    EXPECT_NEAR(early.tracks[1].endSeconds - early.tracks[1].startSeconds, 1, 0.01);

    const ReceivedFindings nothing = findReceived(Heard().hum(5, -70).sound(), sent, kRule);
    EXPECT_EQ(receivedReport(nothing, sent, kRule), QStringList({"The input heard nothing of the run."}));
    EXPECT_TRUE(findReceived({}, sent, kRule).tracks.empty());
}

// The file is a WAV any player opens: the header tells the lengths written, and the
// samples are rounded and held within full scale.
TEST(ReceivedWav, holdsTheSoundAsSixteenBitStereoAndEndsWhereItCannotGoOnSayingWhy)
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

    // Named after the list and the run's start (a list loaded from no file as the
    // program: session_test).
    EXPECT_EQ(receivedWavPath("/lists", "Summer, Mix", QDateTime(QDate(2026, 12, 8), QTime(15, 4, 9))),
              "/lists/Summer, Mix received 2026-12-08 15-04-09.wav");

    // A full disk or the format's own limit ends only the file, which stays playable up
    // to there and says so; a file that cannot be made is refused at once.
    const std::vector<float> second(44100 * 2, 0.25f);
    {
        ReceivedWav wav(path, 44100 * 4 + 6); // a second and a frame and a half
        for (int seconds = 0; seconds < 3; ++seconds)
            wav.append(second.data(), 44100);
        EXPECT_EQ(wav.note(), "The received sound is in " + path + " up to 0:00:01 only: a WAV file holds 0:00:01 at most.");
    }
    const QByteArray longer = bytesOf(path);
    EXPECT_EQ(longer.size(), 44 + 44101 * 4);
    EXPECT_EQ(qFromLittleEndian<quint32>(longer.constData() + 40), 44101u * 4); // the data chunk's length

    if (QFile::exists("/dev/full")) {
        ReceivedWav full("/dev/full");
        full.append(second.data(), 44100);
        EXPECT_EQ(full.note(), "The received sound is in /dev/full up to 0:00:00 only: No space left on device.");
    }

    const QString gone = dir.filePath("gone/list.wav");
    const QString failure = failureOf([&] { ReceivedWav nowhere(gone); });
    EXPECT_TRUE(failure.startsWith(gone + " could not be made: ")) << failure.toStdString();
}
