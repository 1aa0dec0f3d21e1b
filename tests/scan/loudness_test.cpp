#include "player/sample_reader.h"
#include "loudness/album_loudness.h"
#include "scan/list_scan.h"
#include "scan/loudness_meter.h"
#include "support/generated_media.h"

#include <QSignalSpy>
#include <cmath>
#include <limits>
#include <map>
#include <vector>
#include <gtest/gtest.h>

namespace {

constexpr double kSilent = -std::numeric_limits<double>::infinity();

// A 997 Hz tone at a level in dB of full scale, in interleaved stereo.
std::vector<float> tone(double seconds, double levelDb, bool rightToo = true)
{
    const double amplitude = std::pow(10.0, levelDb / 20);
    std::vector<float> samples;
    for (qint64 frame = 0; frame < qint64(seconds * 44100); ++frame) {
        const auto sample = float(amplitude * std::sin(2 * M_PI * 997 * double(frame) / 44100));
        samples.insert(samples.end(), { sample, rightToo ? sample : 0.0f });
    }
    return samples;
}

double loudnessOf(const std::vector<std::vector<float>>& pieces)
{
    LoudnessMeter meter;
    for (const std::vector<float>& samples : pieces)
        meter.add(samples.data(), qint64(samples.size() / 2));
    return meter.integratedLufs();
}

} // namespace

// A tone on both channels is as loud in LUFS as its level in dB of full scale; on
// one channel it is 3.01 LU softer. Lossless tracks measure so through the player's
// reader (a mono file plays on both channels), and a silent one has no loudness.
TEST(Loudness, theScanMeasuresTracksOfKnownLoudness)
{
    EXPECT_NEAR(loudnessOf({ tone(5, 0) }), 0.0, 0.01);
    EXPECT_NEAR(loudnessOf({ tone(5, -20, false) }), -23.01, 0.01);
    EXPECT_EQ(loudnessOf({}), kSilent);
    EXPECT_EQ(loudnessOf({ tone(5, -75) }), kSilent) << "below the absolute gate";

    GeneratedMedia media;
    const auto make = [&](const QString& name, int channels, double levelDb, QStringList more = {}) {
        return media.make("sox", QStringList { "-n", "-r", "44100", "-c", QString::number(channels), name, "synth", "4",
                                               "sine", "997", "vol", QString::number(std::pow(10.0, levelDb / 20)) }
                                     + more,
                          name);
    };
    const std::map<QString, double> expected { { make("loud.flac", 2, -10), -10 }, { make("mono.flac", 1, -20), -20 },
                                               { make("left.wav", 2, -20, { "remix", "1", "0" }), -23.01 },
                                               { make("silent.wav", 2, -20, { "vol", "0" }), kSilent } };
    ASSERT_FALSE(expected.contains(QString())) << "sox could not make every track";
    QList<SoundSource> sources;
    for (const auto& [path, lufs] : expected)
        sources << SoundSource { .path = path };

    const auto reader = makeSampleReader();
    ListScan scan(*reader, media.path("scan_cache.dat"));
    std::map<QString, TrackMeasure> measured;
    QObject::connect(&scan, &ListScan::trackScanned,
                     [&](int index, const TrackMeasure& measure) { measured[sources[index].path] = measure; });
    QSignalSpy finished(&scan, &ListScan::finished);
    scan.start(sources);
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_EQ(measured.size(), expected.size());
    for (const auto& [path, lufs] : expected) {
        const double found = measured[path].loudnessLufs; // silence to the exact infinity
        EXPECT_TRUE(found == lufs || std::abs(found - lufs) < 0.2) << qPrintable(path) << ": " << found;
        EXPECT_EQ(measured[path].envelope.frames, 4 * 44100) << qPrintable(path);
    }
}

// An album's loudness from its tracks' is what measuring it whole gives: the mean of
// their powers by length, a silent track counting for nothing.
TEST(Loudness, anAlbumIsThePowerMeanOfItsTracksByLength)
{
    const std::vector<float> loud = tone(20, -10), soft = tone(10, -20), still(2 * 44100 * 5, 0.0f);
    const TrackLoudness loudTrack { loudnessOf({ loud }), 20 * 44100 }, softTrack { loudnessOf({ soft }), 10 * 44100 },
        stillTrack { loudnessOf({ still }), 5 * 44100 };
    EXPECT_NEAR(albumLoudness({ loudTrack, softTrack, stillTrack }), loudnessOf({ loud, soft, still }), 0.05);
    EXPECT_NEAR(albumLoudness({ softTrack, { -5, 0 } }), softTrack.lufs, 1e-9) << "a track without length";
    EXPECT_EQ(albumLoudness({ stillTrack }), kSilent);
    EXPECT_EQ(albumLoudness({}), kSilent);
}
