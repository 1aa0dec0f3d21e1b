#include "scan/scan_cache_file.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr QByteArrayView kHeader = "Trelvik scan cache 1\n";
// An entry's numbers: the key's length, the stamp, frames, loudness, the blocks' count.
constexpr qint64 kEntryNumbersBytes = 4 + 8 + 8 + 8 + 8 + 4;
constexpr qint16 kSilentCode = std::numeric_limits<qint16>::min(); // a block of digital silence

qint16 levelCode(float peak)
{
    if (!(peak > 0))
        return kSilentCode;
    // Hundredths of a dB are 2000 * log10, taken from the float's log2, many times faster.
    const double codesPerOctave = 2000 * std::log10(2.0);
    return qint16(std::clamp(std::lround(double(std::log2(peak)) * codesPerOctave), -32767L, 32767L));
}

float levelOf(qint16 code)
{
    static const std::array<float, 65536> levels = [] {
        std::array<float, 65536> table {};
        for (int code = -32767; code <= 32767; ++code)
            table[size_t(code + 32768)] = float(std::pow(10.0, code / 2000.0));
        return table; // the silent code's level stays 0
    }();
    return levels[size_t(code + 32768)];
}

qint64 blocksOf(qint64 frames)
{
    return frames / LevelEnvelope::kBlockFrames + (frames % LevelEnvelope::kBlockFrames != 0);
}

template <typename T>
void append(QByteArray& bytes, T value)
{
    const T stored = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&stored), sizeof stored);
}

template <typename T>
bool read(QIODevice& file, T& value)
{
    char bytes[sizeof value];
    if (file.read(bytes, sizeof bytes) != qint64(sizeof bytes))
        return false;
    value = qFromLittleEndian<T>(bytes);
    return true;
}

std::optional<ScanCacheEntry> readEntry(QIODevice& file)
{
    quint32 keySize = 0;
    if (!read(file, keySize) || keySize > file.size() - file.pos())
        return std::nullopt;
    ScanCacheEntry entry { QString::fromUtf8(file.read(keySize)), {}, 0 };
    CachedScan& scan = entry.scan;
    quint64 loudnessBits = 0;
    quint32 blocks = 0;
    if (!read(file, scan.stamp.size) || !read(file, scan.stamp.modifiedMs) || !read(file, scan.frames)
        || !read(file, loudnessBits) || !read(file, blocks))
        return std::nullopt;
    scan.loudnessLufs = std::bit_cast<double>(loudnessBits);
    if (scan.frames < 0 || blocksOf(scan.frames) != blocks || std::isnan(scan.loudnessLufs)
        || scan.loudnessLufs == std::numeric_limits<double>::infinity())
        return std::nullopt;
    entry.codesAt = file.pos();
    const qint64 codesSize = qint64(blocks) * qint64(sizeof(qint16));
    if (codesSize > file.size() - entry.codesAt || !file.seek(entry.codesAt + codesSize))
        return std::nullopt;
    return entry;
}

} // namespace

std::vector<qint16> levelCodesOf(const LevelEnvelope& envelope)
{
    std::vector<qint16> codes;
    codes.reserve(envelope.blockPeaks.size());
    for (const float peak : envelope.blockPeaks)
        codes.push_back(levelCode(peak));
    return codes;
}

LevelEnvelope envelopeOf(qint64 frames, const std::vector<qint16>& levelCodes)
{
    LevelEnvelope envelope;
    envelope.frames = frames;
    envelope.blockPeaks.reserve(levelCodes.size());
    for (const qint16 code : levelCodes)
        envelope.blockPeaks.push_back(levelOf(code));
    return envelope;
}

QByteArray scanCacheStart()
{
    QByteArray bytes(kHeader.data(), kHeader.size());
    append(bytes, quint32(0));
    return bytes;
}

bool appendScanCacheEntry(QByteArray& bytes, const QString& key, const CachedScan& scan,
                          const std::vector<qint16>& levelCodes, qint64 mostBytes)
{
    const QByteArray keyBytes = key.toUtf8();
    const qint64 codesSize = qint64(levelCodes.size() * sizeof(qint16));
    if (bytes.size() + kEntryNumbersBytes + keyBytes.size() + codesSize > mostBytes)
        return false;
    append(bytes, quint32(keyBytes.size()));
    bytes += keyBytes;
    append(bytes, scan.stamp.size);
    append(bytes, scan.stamp.modifiedMs);
    append(bytes, scan.frames);
    append(bytes, std::bit_cast<quint64>(scan.loudnessLufs));
    append(bytes, quint32(levelCodes.size()));
    if (!levelCodes.empty()) { // a track without sound has no blocks
        const qsizetype at = bytes.size();
        bytes.resize(at + codesSize);
        qToLittleEndian<qint16>(levelCodes.data(), qsizetype(levelCodes.size()), bytes.data() + at);
    }
    char* count = bytes.data() + kHeader.size();
    qToLittleEndian(qFromLittleEndian<quint32>(count) + 1, count);
    return true;
}

std::optional<std::vector<ScanCacheEntry>> readScanCacheEntries(QIODevice& file)
{
    quint32 count = 0;
    if (!file.seek(0) || file.read(kHeader.size()) != kHeader || !read(file, count))
        return std::nullopt;
    std::vector<ScanCacheEntry> entries;
    for (quint32 index = 0; index < count; ++index) {
        std::optional<ScanCacheEntry> entry = readEntry(file);
        if (!entry)
            return std::nullopt;
        entries.push_back(std::move(*entry));
    }
    if (file.pos() != file.size())
        return std::nullopt;
    return entries;
}

std::optional<std::vector<qint16>> readLevelCodes(QIODevice& file, qint64 codesAt, qint64 frames)
{
    std::vector<qint16> codes(size_t(blocksOf(frames)));
    const qint64 size = qint64(codes.size() * sizeof(qint16));
    if (codes.empty())
        return codes;
    if (!file.seek(codesAt) || file.read(reinterpret_cast<char*>(codes.data()), size) != size)
        return std::nullopt;
    qFromLittleEndian<qint16>(codes.data(), qsizetype(codes.size()), codes.data());
    return codes;
}
