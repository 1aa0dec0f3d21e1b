#pragma once

#include "scan/level_envelope.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>
#include <vector>

// A file as it was when it was scanned: it is read again once it differs.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedMs = 0; // since 1970, UTC
    bool operator==(const FileStamp&) const = default;
};

// What the scan cache knows of a source besides its envelope.
struct CachedScan {
    FileStamp stamp;
    qint64 frames = 0;
    double loudnessLufs = 0;
};

// An envelope's blocks as the cache keeps them: hundredths of a dB of full scale in
// 16 bits, half the size of their floats and finer than a level is ever shown or judged.
std::vector<qint16> levelCodesOf(const LevelEnvelope& envelope);
LevelEnvelope envelopeOf(qint64 frames, const std::vector<qint16>& levelCodes);

// The cache file is a line that names it and its version, the number of entries,
// then the entries in binary, the one used last first. It starts with none.
QByteArray scanCacheStart();
// Adds an entry to the file's bytes; false, adding nothing, when the bytes would
// grow larger than mostBytes.
bool appendScanCacheEntry(QByteArray& bytes, const QString& key, const CachedScan& scan,
                          const std::vector<qint16>& levelCodes, qint64 mostBytes);

// An entry of the file, and where its envelope's blocks are in it.
struct ScanCacheEntry {
    QString key;
    CachedScan scan;
    qint64 codesAt = 0;
};

// The entries of a cache file, their envelopes left in it to be read when they are
// wanted; nothing when it is not a whole cache file of this version.
std::optional<std::vector<ScanCacheEntry>> readScanCacheEntries(QIODevice& file);
// An entry's envelope blocks; nothing when the file ends before them.
std::optional<std::vector<qint16>> readLevelCodes(QIODevice& file, qint64 codesAt, qint64 frames);
