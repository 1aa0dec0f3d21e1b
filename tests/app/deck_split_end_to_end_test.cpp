#include "end_to_end.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include "scan/level_envelope.h"
#include "scan/list_scan.h"

#include <QSignalSpy>
#include <map>

namespace {

// The level of a 16-bit WAV recording, as the scan measures a track's.
LevelEnvelope envelopeOfRecording(const QString& path)
{
    const WavSamples wav = readWav(path);
    std::vector<float> samples(size_t(wav.frames() * 2)); // as stereo, whatever the monitor gives
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(wav.samples[i / 2 * size_t(wav.channels) + (wav.channels > 1 ? i % 2 : 0)]) / 32768.0f;
    LevelEnvelope envelope;
    appendSamples(envelope, samples.data(), wav.frames());
    return envelope;
}

constexpr const char* kTone = "sine 440 vol 0.5";
constexpr const char* kQuiet = "sine 440 vol 0.001"; // -60 dB

} // namespace

using DeckSplitEndToEnd = EndToEndTest;

// What the scan predicts is what a deck does: the run is recorded, and the recording
// split by the same rule (below -50 dB for 1.5 s) gives the tracks the scan foretold:
// one more where a track holds a long quiet passage, none where a passage or a gap
// is too short.
TEST_F(DeckSplitEndToEnd, theRecordingSplitsWhereTheScanSaidItWould)
{
    const QString split = media.makeFromPieces("split.flac", { { 1.5, kTone }, { 2, kQuiet }, { 1.5, kTone } });
    const QString whole = media.makeFromPieces("whole.wav", { { 1, kTone }, { 1, kQuiet }, { 1, kTone } });
    const QString last = media.makeFromPieces("last.wav", { { 1, kTone } });
    ASSERT_FALSE(split.isEmpty() || whole.isEmpty() || last.isEmpty());
    const SilenceRule rule { -50, 1.5 };
    const double gaps[] = { 2000, 1000, 0 }; // the second is too short to split at

    const auto reader = makeSampleReader();
    ListScan scan(*reader, media.path("scan_cache.dat"));
    std::map<int, LevelEnvelope> scanned;
    QObject::connect(&scan, &ListScan::trackScanned,
                     [&](int index, const TrackMeasure& measure) { scanned[index] = measure.envelope; });
    QSignalSpy finished(&scan, &ListScan::finished);
    scan.start({ SoundSource { .path = split }, SoundSource { .path = whole }, SoundSource { .path = last } });
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_EQ(scanned.size(), 3u);
    std::vector<double> predicted; // where the deck starts a new track, in seconds into the run
    double at = 0;
    for (int index = 0; index < 3; ++index) {
        for (const QuietPassage& passage : quietPassages(scanned[index], rule).inside)
            predicted.push_back(at + passage.startSeconds + passage.lengthSeconds);
        at += scanned[index].seconds() + gaps[index] / 1000;
        if (index < 2 && gaps[index] / 1000 >= rule.minimumSeconds)
            predicted.push_back(at);
    }
    ASSERT_EQ(predicted.size(), 2u);

    SoundingRun run;
    const QString paths[] = { split, whole, last };
    for (int index = 0; index < 3; ++index)
        run.add(paths[index], 5, gaps[index]);
    const QString recording = recorded(run);
    ASSERT_FALSE(recording.isEmpty());

    const LevelEnvelope deck = envelopeOfRecording(recording);
    const TrackSilences heard = quietPassages(deck, rule);
    ASSERT_EQ(heard.inside.size(), predicted.size()) << "the deck makes " << heard.inside.size() + 1 << " tracks";
    // The recording starts a little before the run: compare the splits' distance.
    const double heardApart = heard.inside[1].startSeconds + heard.inside[1].lengthSeconds
        - (heard.inside[0].startSeconds + heard.inside[0].lengthSeconds);
    EXPECT_NEAR(heardApart, predicted[1] - predicted[0], 0.02);
}
