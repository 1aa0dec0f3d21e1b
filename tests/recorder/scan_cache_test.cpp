#include "common/failure.h"
#include "recorder/list_scan.h"
#include "recorder/scan_cache.h"
#include "support/fake_sample_reader.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A file to scan, and the cache's file in a folder that does not exist yet.
struct ScanFolder {
    QTemporaryDir dir;
    QString song = dir.filePath("song.wav");
    QString cache = dir.filePath("data/Trelvik/") + kScanCacheFileName;
    FakeSampleReader reader;

    ScanFolder()
    {
        writeBytes(song, "RIFF");
        reader.sounds[song] = { FakeSampleReader::levels({ { 1, 0.5f } }), 44100 };
    }

    // Scans the song as a new start of the program would; whether it was scanned.
    bool scanAfterStart()
    {
        ListScan scan(reader, cache);
        QSignalSpy scanned(&scan, &ListScan::trackScanned);
        QSignalSpy finished(&scan, &ListScan::finished);
        scan.start({ SoundSource { .path = song } });
        return finished.wait(30000) && scanned.count() == 1;
    }
};

} // namespace

// A cache file that cannot be read as one (cut short anywhere, damaged, of another
// version, another program's, empty) is taken as empty and written anew after the
// scan, which reads the track once more; a folder in its place is left alone, and
// the scan goes on without keeping what it found.
TEST(ScanCache, aCacheThatCannotBeReadIsIgnoredAndWrittenAnew)
{
    ScanFolder folder;
    ASSERT_TRUE(folder.scanAfterStart());
    ASSERT_TRUE(folder.scanAfterStart());
    EXPECT_EQ(folder.reader.reads.load(), 1) << "the second start finds the song in the cache";
    const QByteArray whole = bytesOf(folder.cache);
    ASSERT_GT(whole.size(), 200);

    QByteArray otherVersion = whole;
    otherVersion.replace("cache 1\n", "cache 2\n");
    QByteArray tooLong = whole;
    tooLong[21 + 4 + 2] = '\x7f'; // after the header line and the count, the key's length
    const std::vector<std::pair<const char*, QByteArray>> damages {
        { "empty", {} },
        { "the header cut", whole.first(10) },
        { "no entries", whole.first(24) },
        { "an entry cut", whole.first(60) },
        { "a byte short", whole.chopped(1) },
        { "a byte more", whole + '\0' },
        { "another version", otherVersion },
        { "a key too long", tooLong },
        { "text", "song.wav\t-9.5\n" },
    };
    for (const auto& [damage, bytes] : damages) {
        writeBytes(folder.cache, bytes);
        const int reads = folder.reader.reads;
        ASSERT_TRUE(folder.scanAfterStart()) << damage;
        EXPECT_EQ(folder.reader.reads, reads + 1) << damage;
        EXPECT_EQ(bytesOf(folder.cache), whole) << damage;
    }

    QFile::remove(folder.cache);
    ASSERT_TRUE(QDir().mkpath(folder.cache));
    const int reads = folder.reader.reads;
    EXPECT_TRUE(folder.scanAfterStart());
    EXPECT_TRUE(folder.scanAfterStart());
    EXPECT_EQ(folder.reader.reads, reads + 2);
    EXPECT_TRUE(QFileInfo(folder.cache).isDir());
}

// The file keeps what was used last, as much as its size allows: an entry found
// again stays, the one used longest ago goes first.
TEST(ScanCache, keepsWhatWasUsedLastWithinItsSize)
{
    QTemporaryDir dir;
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
        cache.keep(sources["first"], *ScanCache::stampOf(sources["first"]), measure);
        cache.keep(sources["second"], *ScanCache::stampOf(sources["second"]), measure);
        ASSERT_TRUE(cache.find(sources["first"]));
        cache.keep(sources["third"], *ScanCache::stampOf(sources["third"]), measure);
        cache.save();
    }
    EXPECT_LE(QFileInfo(path).size(), ScanCache::kMostBytes);
    ScanCache cache(path);
    cache.read();
    const std::optional<TrackMeasure> first = cache.find(sources["first"]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->envelope.frames, measure.envelope.frames);
    EXPECT_EQ(first->loudnessLufs, measure.loudnessLufs);
    EXPECT_EQ(first->envelope.blockPeaks, measure.envelope.blockPeaks);
    EXPECT_FALSE(cache.find(sources["second"]));
    EXPECT_TRUE(cache.find(sources["third"]));

    // Nothing kept since the file was read: it is not written again.
    QFile::remove(path);
    cache.save();
    EXPECT_FALSE(QFileInfo::exists(path));
}
