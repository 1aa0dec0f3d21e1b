#include "recorder/list_scan.h"
#include "support/bytes_read.h"
#include "support/generated_media.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

// What a scan signalled, gathered until it finished.
struct ScanResults {
    std::map<int, LevelEnvelope> scanned;
    std::map<int, QString> failed;
    QList<int> percents;
    std::optional<bool> cancelled;

    explicit ScanResults(ListScan& scan)
    {
        QObject::connect(&scan, &ListScan::trackScanned, [this](int index, const LevelEnvelope& e) { scanned[index] = e; });
        QObject::connect(&scan, &ListScan::trackFailed, [this](int index, const QString& d) { failed[index] = d; });
        QObject::connect(&scan, &ListScan::progressChanged, [this](int percent) { percents << percent; });
        QObject::connect(&scan, &ListScan::finished, [this](bool c) { cancelled = c; });
    }
    bool waitForEnd(int timeoutMs = 60000)
    {
        return QTest::qWaitFor([this] { return cancelled.has_value(); }, timeoutMs);
    }
};

constexpr const char* kTone = "sine 440 vol 0.5";
constexpr const char* kQuiet = "sine 440 vol 0.001"; // -60 dB

} // namespace

TEST(ListScan, findsQuietPassagesAndPeaksWhereTheyAre)
{
    GeneratedMedia media;
    const QString twoSeconds = media.makeFromPieces("two.flac", { { 3, kTone }, { 2, kQuiet }, { 3, kTone } });
    const QString oneSecond = media.makeFromPieces("one.wav", { { 3, kTone }, { 1, kQuiet }, { 3, kTone } });
    const QString peak = media.makeFromPieces("peak.wav", { { 2, "sine 1000 vol -20dB" }, { 0.5, "sine 1000 vol -3dB" },
                                                        { 2, "sine 1000 vol -20dB" } });
    ASSERT_FALSE(twoSeconds.isEmpty() || oneSecond.isEmpty() || peak.isEmpty()) << "sox could not make the tracks";
    // A stretch from 1 s to 7 s of the first file: its passage lies 1 s earlier.
    const SoundSource stretch { .path = twoSeconds, .firstFrame = 44100, .endFrame = 7 * 44100 };

    ListScan scan;
    ScanResults results(scan);
    scan.start({ SoundSource { .path = twoSeconds }, SoundSource { .path = oneSecond }, SoundSource { .path = peak },
                 stretch });
    EXPECT_TRUE(scan.isRunning());
    ASSERT_TRUE(results.waitForEnd());
    EXPECT_FALSE(*results.cancelled);
    EXPECT_FALSE(scan.isRunning());
    EXPECT_TRUE(results.failed.empty());
    ASSERT_EQ(results.scanned.size(), 4u);
    EXPECT_EQ(results.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(results.percents.begin(), results.percents.end()));

    const SilenceRule rule { -50, 1.5 };
    const TrackSilences two = quietPassages(results.scanned[0], rule);
    EXPECT_EQ(results.scanned[0].frames, 8 * 44100);
    ASSERT_EQ(two.inside.size(), 1u);
    EXPECT_NEAR(two.inside[0].startSeconds, 3.0, 0.01);
    EXPECT_NEAR(two.inside[0].lengthSeconds, 2.0, 0.01);

    EXPECT_TRUE(quietPassages(results.scanned[1], rule).inside.empty());
    EXPECT_EQ(quietPassages(results.scanned[1], { -50, 0.9 }).inside.size(), 1u); // it is there, only short

    const PeakLevel loudest = ::peak(results.scanned[2]);
    EXPECT_NEAR(loudest.db, -3.0, 0.05);
    EXPECT_GE(loudest.seconds, 2.0 - 0.01);
    EXPECT_LT(loudest.seconds, 2.5);

    const TrackSilences inStretch = quietPassages(results.scanned[3], rule);
    EXPECT_EQ(results.scanned[3].frames, 6 * 44100);
    ASSERT_EQ(inStretch.inside.size(), 1u);
    EXPECT_NEAR(inStretch.inside[0].startSeconds, 2.0, 0.01);
}

// A file is known by its size and modification time: one that changed since
// its scan is read again, one that did not is taken from what was found before.
TEST(ListScan, readsAgainOnlyFilesChangedSinceTheirScan)
{
    GeneratedMedia media;
    const QString path = media.makeFromPieces("song.wav", { { 2, kTone } });
    const QString louder = media.makeFromPieces("louder.wav", { { 2, "sine 440 vol 0.9" } });
    ASSERT_FALSE(path.isEmpty() || louder.isEmpty());
    const QDateTime scannedTime = QDateTime::currentDateTime().addSecs(-100);
    const auto replaceWithLouder = [&](const QDateTime& modified) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(louder, path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    };
    const auto scannedPeak = [&](ListScan& scan) {
        ScanResults results(scan);
        scan.start({ SoundSource { .path = path } });
        EXPECT_TRUE(results.waitForEnd());
        scan.disconnect();
        return results.scanned.count(0) ? peak(results.scanned[0]).db : 0.0;
    };
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(scannedTime, QFileDevice::FileModificationTime));
    }
    ListScan scan;
    EXPECT_NEAR(scannedPeak(scan), -6.0, 0.1);
    // Same size, same time: the louder sound is not read.
    replaceWithLouder(scannedTime);
    EXPECT_NEAR(scannedPeak(scan), -6.0, 0.1);
    replaceWithLouder(scannedTime.addSecs(1));
    EXPECT_NEAR(scannedPeak(scan), -0.9, 0.1);
}

TEST(ListScan, cancelEndsTheScanAtOnceAndLeavingMidScanIsSafe)
{
    GeneratedMedia media;
    const QString path = media.makeFromPieces("long.flac", { { 300, kTone } });
    ASSERT_FALSE(path.isEmpty());
    const QList<SoundSource> sources { SoundSource { .path = path }, SoundSource { .path = path } };
    {
        ListScan scan;
        ScanResults results(scan);
        scan.start(sources);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !results.percents.isEmpty() && results.percents.back() >= 5; }, 30000));
        // Ignored, a cancel would leave the scan to read most of the first file and all the second.
        const qint64 before = bytesRead();
        scan.cancel();
        ASSERT_TRUE(results.waitForEnd(10000));
        EXPECT_LT(bytesRead() - before, QFileInfo(path).size() / 4);
        EXPECT_TRUE(*results.cancelled);
        EXPECT_TRUE(results.scanned.empty());
        EXPECT_LT(results.percents.back(), 50);
    }
    auto scan = std::make_unique<ListScan>();
    bool progressed = false;
    QObject::connect(scan.get(), &ListScan::progressChanged, [&](int percent) { progressed = percent > 0; });
    scan->start(sources);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressed; }, 30000));
    const qint64 before = bytesRead();
    scan.reset();
    EXPECT_LT(bytesRead() - before, QFileInfo(path).size() / 4);
}

TEST(ListScan, aDamagedFileFailsAndTheScanGoesOn)
{
    GeneratedMedia media;
    const QString damaged = media.write("damaged.flac", QByteArray("fLaC") + QByteArray(5000, '\x5a'));
    const QString good = media.makeFromPieces("good.wav", { { 1, kTone } });
    ASSERT_FALSE(good.isEmpty());
    ListScan scan;
    ScanResults results(scan);
    scan.start({ SoundSource { .path = damaged }, SoundSource { .path = media.path("missing.mp3") },
                 SoundSource { .path = good } });
    ASSERT_TRUE(results.waitForEnd());
    EXPECT_FALSE(*results.cancelled);
    ASSERT_EQ(results.failed.size(), 2u);
    EXPECT_TRUE(results.failed[0].contains(QStringLiteral("damaged.flac"))) << results.failed[0].toStdString();
    EXPECT_TRUE(results.failed[1].contains(QStringLiteral("missing.mp3"))) << results.failed[1].toStdString();
    ASSERT_EQ(results.scanned.size(), 1u);
    EXPECT_EQ(results.scanned[2].frames, 44100);
}
