#include "loudness/gain_plan.h"
#include "loudness/gain_tag_reader.h"
#include "support/generated_media.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>
#include <vector>
#include <gtest/gtest.h>

namespace {

GainFacts measured(double lufs, double peak, const QString& album = {}, qint64 frames = 44100)
{
    GainFacts facts;
    facts.measuredLufs = lufs;
    facts.measuredPeak = peak;
    facts.frames = frames;
    facts.album = album;
    return facts;
}

std::vector<double> dbOf(const std::vector<EntryGain>& gains)
{
    std::vector<double> db;
    for (const EntryGain& gain : gains)
        db.push_back(std::round(gain.db * 100) / 100);
    return db;
}

} // namespace

TEST(GainPlan, eachTrackToTheReferenceNeverOverFullScaleAndTagsBeforeMeasures)
{
    GainFacts tagged = measured(-10, 0.5);
    tagged.trackGain = -4;
    tagged.trackPeak = 0.25;
    const std::vector<GainFacts> list = {measured(-30, 0.1), measured(-10, 0.9), tagged,
                                         measured(-std::numeric_limits<double>::infinity(), 0)};
    EXPECT_EQ(dbOf(planGains(list, {GainMode::Off, 6})), std::vector<double>({0, 0, 0, 0}));

    const std::vector<EntryGain> gains = planGains(list, {GainMode::Track, 0});
    // +12 dB would lift a 0.1 peak to 0.4: allowed. The tag's -4 dB wins over the measured -8 dB.
    EXPECT_EQ(dbOf(gains), std::vector<double>({12, -8, -4, 0}));
    EXPECT_EQ(std::tuple(gains[0].from, gains[2].from), std::tuple(EntryGain::From::Measured, EntryGain::From::Tags));
    EXPECT_NEAR(*gains[2].peakAfter, 0.5 * std::pow(10, -4 / 20.0), 1e-9) << "the measured peak, not the tag's";

    // A pre-amp of +12 dB would clip the quiet track (peak 0.1 at +24 dB): held at +20 dB.
    const std::vector<EntryGain> loud = planGains(list, {GainMode::Track, 12});
    EXPECT_EQ(dbOf(loud), std::vector<double>({20, 0.92, 6.02, 0})) << "-8 + 12 held at the 0.9 peak, -4 + 12 at the measured 0.5";
    EXPECT_NEAR(*loud[0].peakAfter, 1.0, 1e-9);
}

// A -6 dBFS track whose tags ask +12 dB: with no peak, a lying peak or an absurd one
// nothing may lift it; once scanned, its measured peak holds the gain.
TEST(GainPlan, onlyAMeasuredPeakLetsAGainLiftATrack)
{
    GainFacts noPeak, lyingPeak, absurdPeak;
    noPeak.trackGain = lyingPeak.trackGain = 12;
    lyingPeak.trackPeak = 0.1;
    absurdPeak.trackGain = 40;
    absurdPeak.trackPeak = 1e-300;
    GainFacts scanned = lyingPeak;
    scanned.measuredLufs = -21;
    scanned.measuredPeak = 0.5;
    GainFacts nanMeasure = noPeak;
    nanMeasure.measuredLufs = -21;
    nanMeasure.measuredPeak = std::nan("");
    const std::vector<EntryGain> gains
        = planGains({noPeak, lyingPeak, absurdPeak, scanned, nanMeasure}, {GainMode::Track, 0});
    EXPECT_EQ(dbOf(gains), std::vector<double>({0, 0, 0, 6.02, 0}));
    EXPECT_FALSE(gains[2].peakAfter || gains[4].peakAfter) << "a peak of 1e-300 is no value, nor a measure of NaN";
    EXPECT_NEAR(*gains[3].peakAfter, 1.0, 1e-9);

    // In album mode one unmeasured track keeps the whole album from being lifted.
    GainFacts first = scanned, second = lyingPeak;
    first.album = second.album = "A";
    first.albumGain = 12;
    EXPECT_EQ(dbOf(planGains({first, second}, {GainMode::Album, 0})), std::vector<double>({0, 0}));
    second.measuredLufs = -21;
    second.measuredPeak = 0.25;
    EXPECT_EQ(dbOf(planGains({first, second}, {GainMode::Album, 0})), std::vector<double>({6.02, 6.02}));
}

TEST(GainPlan, anAlbumKeepsItsTracksLevelsAndUnknownTracksWaitAtTheAverage)
{
    // Two tracks of one album 10 dB apart, a single, the album again (not next to the rest).
    const std::vector<GainFacts> list = {measured(-14, 0.3, "A"), measured(-24, 0.1, "A"), measured(-20, 0.2),
                                         measured(-14, 0.3, "A"), GainFacts()};
    const std::vector<EntryGain> gains = planGains(list, {GainMode::Album, 0});
    EXPECT_NEAR(gains[0].db, gains[1].db, 1e-9) << "one gain for the album";
    // The album's power mean of -14 and -24 LUFS is -16.6 LUFS.
    EXPECT_NEAR(gains[0].db, -18 - 10 * std::log10((std::pow(10, -1.4) + std::pow(10, -2.4)) / 2), 1e-9);
    EXPECT_NEAR(gains[2].db, 2, 1e-9);
    EXPECT_NEAR(gains[3].db, -4, 1e-9) << "not next to the others: an album of its own";
    EXPECT_EQ(gains[4].from, EntryGain::From::Fallback);
    EXPECT_NEAR(gains[4].db, std::min(0.0, (2 * gains[0].db + 2 - 4) / 4), 1e-9); // its text is the Recorder window's

    // An album gain from the tags, and the album's peak limits every track alike.
    GainFacts first = measured(-14, 0.5, "B"), second = measured(-24, 0.9, "B");
    first.albumGain = 3;
    const std::vector<EntryGain> tagged = planGains({first, second}, {GainMode::Album, 0});
    EXPECT_TRUE(tagged[0].db == tagged[1].db && tagged[0].from == EntryGain::From::Tags);
    EXPECT_NEAR(tagged[0].db, -20 * std::log10(0.9), 1e-9);
}

// Tags are read aside and handed over on the window's thread; asked for at once,
// a file is read there and then; a reader dropped with a long queue does not wait
// for the queue.
TEST(GainTagReader, readsAsideOrAtOnceAndStopsWithoutWorkingOffItsQueue)
{
    GeneratedMedia media;
    const QString wav = media.tone("tone.wav", 0.2, 440, 1, 44100, 2, 16);
    const QString flac = media.make("flac", {"-s", "-o", "tagged.flac", wav}, "tagged.flac");
    ASSERT_FALSE(flac.isEmpty());
    ASSERT_EQ(QProcess::execute("metaflac", {"--set-tag=REPLAYGAIN_TRACK_GAIN=-6.5 dB", flac}), 0);
    const QString copy = media.path("copy.flac");
    ASSERT_TRUE(QFile::copy(flac, copy));

    GainTagReader reader;
    QSignalSpy read(&reader, &GainTagReader::tagsRead);
    EXPECT_EQ(reader.find(flac), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.find(flac) != nullptr; }, 10000));
    EXPECT_TRUE(reader.find(flac)->trackGain == -6.5 && read.count() >= 1);
    EXPECT_EQ(reader.readNow(copy).trackGain, -6.5);
    EXPECT_EQ(reader.readNow(wav), GainTags());

    auto queued = std::make_unique<GainTagReader>();
    for (int i = 0; i < 20000; ++i)
        queued->find(flac + QString::number(i));
    queued.reset();
}
