#include "recorder/received_sound.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <cmath>

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
    ASSERT_EQ(found.gaps.size(), 3u);
    // The levels, drop-outs, clipping and splits are read in the report below.
    EXPECT_NEAR(found.tracks[0].startSeconds, 1, 0.01);
    EXPECT_NEAR(found.tracks[0].endSeconds, 4.4, 0.01);
    ASSERT_EQ(found.tracks[1].dropOuts.size(), 1u);
    EXPECT_NEAR(found.tracks[1].dropOuts[0], 1.5, 0.011);
    EXPECT_NEAR(found.gaps[2].quietSeconds, 1, 0.02);
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
    EXPECT_TRUE(nothing.tracks.empty());
    EXPECT_EQ(receivedReport(nothing, sent, kRule), QStringList({"The input heard nothing of the run."}));
    EXPECT_TRUE(findReceived({}, sent, kRule).tracks.empty());
}
