#include "player/sample_reader.h"
#include "scan/list_scan.h"
#include "scan/scan_cache.h"
#include "support/fake_sample_reader.h"
#include "support/file_bytes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>
#include <gtest/gtest.h>

namespace {

// What a scan signalled, gathered until it finished.
struct ScanResults {
    std::map<int, TrackMeasure> scanned;
    std::map<int, QString> failed;
    QList<int> percents;
    std::optional<bool> cancelled;
    QObject context; // the connections end with the results

    explicit ScanResults(ListScan& scan)
    {
        QObject::connect(&scan, &ListScan::trackScanned, &context, [this](int index, const TrackMeasure& m) { scanned[index] = m; });
        QObject::connect(&scan, &ListScan::trackFailed, &context, [this](int index, const QString& d) { failed[index] = d; });
        QObject::connect(&scan, &ListScan::progressChanged, &context, [this](int percent) { percents << percent; });
        QObject::connect(&scan, &ListScan::finished, &context, [this](bool c) { cancelled = c; });
    }
    bool waitForEnd() { return QTest::qWaitFor([this] { return cancelled.has_value(); }, 30000); }
};

// What a scan of the sources signalled, once it has ended (none when it did not).
std::unique_ptr<ScanResults> scanToEnd(ListScan& scan, const QList<SoundSource>& sources)
{
    auto results = std::make_unique<ScanResults>(scan);
    scan.start(sources);
    return results->waitForEnd() ? std::move(results) : nullptr;
}

// The same with a scan made for it, as a new start of the program would.
std::unique_ptr<ScanResults> scanToEnd(SampleReader& reader, const QString& cache, const QList<SoundSource>& sources)
{
    ListScan scan(reader, cache);
    return scanToEnd(scan, sources);
}

// A reader to fill, and a folder of its own for each test, where the cache's file
// goes in a folder that does not exist yet.
class ListScanTest : public ::testing::Test {
protected:
    FakeSampleReader reader;
    QTemporaryDir dir;
    const QString cache = dir.filePath("data/Trelvik/") + kScanCacheFileName;

    // Scans a file as a new start of the program would; whether it was scanned.
    bool scanAfterStart(const QString& path)
    {
        const auto results = scanToEnd(reader, cache, { SoundSource { .path = path } });
        return results && results->scanned.size() == 1;
    }
};
using ScanCacheTest = ListScanTest;

} // namespace

// Progress is by time: each track counts as long as it claims to be, one that does
// not say as long as the others on average, and a track longer or shorter than it
// claimed never takes the bar back.
TEST_F(ListScanTest, progressGoesByTheLengthsTheTracksClaim)
{
    reader.sounds["longer.wav"] = { FakeSampleReader::levels({ { 2, 0.5f } }), 44100 };
    reader.sounds["unknown.mp3"] = { {}, 0 };
    reader.sounds["shorter.wav"] = { FakeSampleReader::levels({ { 0.5, 0.5f } }), 44100 };
    const QList<SoundSource> sources { { .path = "longer.wav" }, { .path = "unknown.mp3" }, { .path = "shorter.wav" } };
    const auto results = scanToEnd(reader, cache, sources);
    ASSERT_TRUE(results);
    const QList<int>& percents = results->percents;
    const auto shownAfter = [&](int percent) { // or -1
        const qsizetype at = percents.indexOf(percent);
        return at >= 0 && at + 1 < percents.size() ? percents[at + 1] : -1;
    };
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << ::testing::PrintToString(percents);
    EXPECT_EQ(std::tuple(percents.front(), shownAfter(33), shownAfter(83), percents.back()),
              std::tuple(0, 66, 100, 100)) << ::testing::PrintToString(percents);
    // Nothing claims a length, or nothing can be measured: track by track.
    for (const bool measurable : { true, false }) {
        for (FakeSampleReader::Sound& sound : reader.sounds)
            sound.expectedFrames = 0;
        reader.measurable = measurable;
        const auto trackByTrack = scanToEnd(reader, cache, sources);
        ASSERT_TRUE(trackByTrack);
        EXPECT_EQ(trackByTrack->percents, QList<int>({ 0, 33, 66, 100 }));
        EXPECT_EQ(trackByTrack->scanned.size(), 3u);
    }
}

TEST_F(ListScanTest, cancelEndsTheScanMidTrackAndLeavingMidScanIsSafe)
{
    reader.sounds["endless.flac"] = { FakeSampleReader::levels({ { 1, 0.5f } }), 44100, true };
    reader.sounds["next.flac"] = { FakeSampleReader::levels({ { 1, 0.5f } }), 44100 };
    const QList<SoundSource> sources { { .path = "endless.flac" }, { .path = "next.flac" } };
    {
        ListScan scan(reader, cache);
        ScanResults results(scan);
        scan.start(sources);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !results.percents.isEmpty() && results.percents.back() >= 5; }, 30000));
        scan.cancel();
        ASSERT_TRUE(results.waitForEnd());
        EXPECT_TRUE(*results.cancelled && results.scanned.empty());
        EXPECT_EQ(reader.reads.load(), 1) << "the next track is not read";
        EXPECT_LE(results.percents.back(), 50);
        results.percents.clear();
        scan.start(sources);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !results.percents.isEmpty() && results.percents.back() > 0; }, 30000));
    } // left mid-scan
    EXPECT_EQ(reader.reads.load(), 2);
}

// A file is known by its size and modification time, also after a restart: one
// that changed since its scan is read again, one that did not is taken from what
// was found before. A track of the disc in a drive is read every time.
TEST_F(ListScanTest, readsAgainOnlyFilesChangedSinceTheirScanAlsoAfterARestart)
{
    const QString path = dir.filePath("song.wav");
    const QDateTime scannedTime = QDateTime::currentDateTime().addSecs(-100);
    const auto writeFile = [&](const QDateTime& modified) {
        writeBytes(path, QByteArray(1000, 'x'));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
    };
    const auto scanned = [&](auto&& scan, const SoundSource& source) {
        const auto results = scanToEnd(scan, { source });
        return results && results->scanned.count(0) ? results->scanned[0] : TrackMeasure {};
    };
    const auto peakDb = [](const TrackMeasure& measure) { return peak(measure.envelope).db; };
    writeFile(scannedTime);
    reader.sounds[path] = { FakeSampleReader::levels({ { 1, 0.5f }, { 2, 0.001f }, { 0.5, 0.0f } }), 44100 };
    const TrackMeasure first = scanned(ListScan(reader, cache), SoundSource { .path = path });
    EXPECT_NEAR(peakDb(first), -6.02, 0.01);
    ASSERT_TRUE(std::isfinite(first.loudnessLufs));

    // Same size, same time: the louder sound is not read, now or after a restart,
    // and what was found comes back as it was.
    reader.sounds[path] = { FakeSampleReader::levels({ { 1, 0.9f } }), 44100 };
    writeFile(scannedTime);
    ListScan restarted(reader, cache);
    const TrackMeasure kept = scanned(restarted, SoundSource { .path = path });
    EXPECT_EQ(reader.reads.load(), 1);
    EXPECT_EQ(std::tuple(kept.envelope.frames, kept.loudnessLufs), std::tuple(first.envelope.frames, first.loudnessLufs));
    ASSERT_EQ(kept.envelope.blockPeaks.size(), first.envelope.blockPeaks.size());
    for (size_t block = 0; block < first.envelope.blockPeaks.size(); ++block) { // silence kept as silence
        const float level = first.envelope.blockPeaks[block], back = kept.envelope.blockPeaks[block];
        EXPECT_TRUE(back == level || std::abs(20 * std::log10(back / level)) < 0.005) << block << ": " << back;
    }
    writeFile(scannedTime.addSecs(1));
    EXPECT_NEAR(peakDb(scanned(restarted, SoundSource { .path = path })), -0.92, 0.01);
    EXPECT_NEAR(peakDb(scanned(ListScan(reader, cache), SoundSource { .path = path })), -0.92, 0.01);
    EXPECT_EQ(reader.reads.load(), 2);

    const SoundSource driveTrack { .kind = SoundSource::Kind::DriveTrack, .path = path, .track = 1 };
    scanned(restarted, driveTrack);
    scanned(ListScan(reader, cache), driveTrack);
    EXPECT_EQ(reader.reads.load(), 4);
}

// A GStreamer without its plugins reads nothing: the scan's thread reports every
// track failed and ends, instead of taking the program down. Run in a process of
// its own: GStreamer reads its plugins once per process, so any test after it in
// the same one would have none either.
TEST(ListScan, withoutGStreamerPluginsEveryTrackFailsAndTheScanEnds)
{
    QTemporaryDir empty;
    if (qEnvironmentVariableIsSet("TRELVIK_SCAN_WITHOUT_PLUGINS")) {
        const auto results = scanToEnd(*makeSampleReader(), empty.filePath("scan_cache.dat"),
                                       { { .path = empty.filePath("a.wav") }, { .path = empty.filePath("b.wav") } });
        ASSERT_TRUE(results);
        EXPECT_EQ(std::tuple(*results->cancelled, results->failed.size(), results->failed[0]),
                  std::tuple(false, size_t(2), QStringLiteral("GStreamer has no playbin element.")));
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TRELVIK_SCAN_WITHOUT_PLUGINS", "1");
    env.insert("GST_PLUGIN_SYSTEM_PATH_1_0", empty.path());
    env.insert("GST_PLUGIN_PATH_1_0", empty.path());
    env.insert("GST_REGISTRY_1_0", empty.filePath("registry.bin"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ListScan.withoutGStreamerPluginsEveryTrackFailsAndTheScanEnds")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0)
        << "the scan without plugins failed; its output is above";
}

// A cache file that cannot be read as one (cut short anywhere, damaged, of another
// version, another program's, empty) is taken as empty and written anew after the
// scan, which reads the track once more; a folder in its place is left alone, and
// the scan goes on without keeping what it found.
TEST_F(ScanCacheTest, aCacheThatCannotBeReadIsIgnoredAndWrittenAnew)
{
    const QString song = dir.filePath("song.wav");
    writeBytes(song, "RIFF");
    reader.sounds[song] = { FakeSampleReader::levels({ { 1, 0.5f } }), 44100 };
    ASSERT_TRUE(scanAfterStart(song));
    const QByteArray whole = bytesOf(cache);
    ASSERT_GT(whole.size(), 200);

    QByteArray tooLong = whole;
    tooLong[21 + 4 + 2] = '\x7f'; // after the header line and the count, the key's length
    const std::vector<std::pair<const char*, QByteArray>> damages {
        { "empty", {} }, { "no entries", whole.first(24) }, { "an entry cut", whole.first(60) },
        { "a byte short", whole.chopped(1) }, { "a byte more", whole + '\0' },
        { "another version", QByteArray(whole).replace("cache 1\n", "cache 2\n") }, { "a key too long", tooLong },
    };
    for (const auto& [damage, bytes] : damages) {
        writeBytes(cache, bytes);
        const int reads = reader.reads;
        ASSERT_TRUE(scanAfterStart(song)) << damage;
        EXPECT_EQ(reader.reads, reads + 1) << damage;
        EXPECT_EQ(bytesOf(cache), whole) << damage;
    }

    QFile::remove(cache);
    ASSERT_TRUE(QDir().mkpath(cache));
    const int reads = reader.reads;
    EXPECT_TRUE(scanAfterStart(song) && scanAfterStart(song));
    EXPECT_EQ(reader.reads, reads + 2);
    EXPECT_TRUE(QFileInfo(cache).isDir());
}

// The file keeps what was used last, as much as its size allows: an entry found
// again stays, the one used longest ago goes first.
TEST_F(ScanCacheTest, keepsWhatWasUsedLastWithinItsSize)
{
    // Three silent tracks of 33 hours each: any two fit in the file, three do not.
    TrackMeasure measure;
    measure.envelope.blockPeaks.assign(12'000'000, 0.0f);
    measure.envelope.frames = qint64(measure.envelope.blockPeaks.size()) * LevelEnvelope::kBlockFrames;
    std::map<QString, SoundSource> sources;
    for (const QString name : { "first", "second", "third" }) {
        writeBytes(dir.filePath(name), name.toUtf8());
        sources[name] = SoundSource { .path = dir.filePath(name) };
    }
    const QString path = dir.filePath(kScanCacheFileName);
    {
        ScanCache cache(path);
        cache.read();
        const auto keep = [&](const QString& name) { cache.keep(sources[name], *ScanCache::stampOf(sources[name]), measure); };
        keep("first");
        keep("second");
        ASSERT_TRUE(cache.find(sources["first"]));
        keep("third");
        cache.save();
    }
    EXPECT_LE(QFileInfo(path).size(), ScanCache::kMostBytes);
    ScanCache cache(path);
    cache.read();
    const std::optional<TrackMeasure> first = cache.find(sources["first"]);
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::tie(first->envelope.frames, first->loudnessLufs, first->envelope.blockPeaks)
                == std::tie(measure.envelope.frames, measure.loudnessLufs, measure.envelope.blockPeaks)); // not printed: 12M peaks
    EXPECT_FALSE(cache.find(sources["second"]));
    EXPECT_TRUE(cache.find(sources["third"]));

    // Nothing kept since the file was read: it is not written again.
    QFile::remove(path);
    cache.save();
    EXPECT_FALSE(QFileInfo::exists(path));
}
