#include "scan/scan_cache_file.h"

#include <QBuffer>
#include <bit>
#include <cstdlib>
#include <limits>

// A cache file that reads gives every entry's envelope, of the blocks its length
// needs, and is written back as the same entries.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const std::optional<std::vector<ScanCacheEntry>> entries = readScanCacheEntries(file);
    if (!entries)
        return 0;
    QByteArray written = scanCacheStart();
    std::vector<std::vector<qint16>> allCodes;
    for (const ScanCacheEntry& entry : *entries) {
        const std::optional<std::vector<qint16>> codes = readLevelCodes(file, entry.codesAt, entry.scan.frames);
        if (!codes)
            std::abort();
        const LevelEnvelope envelope = envelopeOf(entry.scan.frames, *codes);
        const auto blocks = qint64(envelope.blockPeaks.size());
        if (blocks * LevelEnvelope::kBlockFrames < envelope.frames
            || (blocks > 0 && (blocks - 1) * LevelEnvelope::kBlockFrames >= envelope.frames))
            std::abort();
        if (!appendScanCacheEntry(written, entry.key, entry.scan, *codes, std::numeric_limits<qint64>::max()))
            std::abort();
        allCodes.push_back(*codes);
    }
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    const std::optional<std::vector<ScanCacheEntry>> reread = readScanCacheEntries(again);
    if (!reread || reread->size() != entries->size())
        std::abort();
    for (size_t index = 0; index < entries->size(); ++index) {
        const ScanCacheEntry &before = (*entries)[index], &after = (*reread)[index];
        if (after.key != before.key || after.scan.stamp != before.scan.stamp || after.scan.frames != before.scan.frames
            || std::bit_cast<quint64>(after.scan.loudnessLufs) != std::bit_cast<quint64>(before.scan.loudnessLufs)
            || readLevelCodes(again, after.codesAt, after.scan.frames) != allCodes[index])
            std::abort();
    }
    return 0;
}
