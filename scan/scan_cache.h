#pragma once

#include "discs/sound_source.h"
#include "scan/scan_cache_file.h"
#include "scan/track_measure.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <optional>

// The cache's file, in the program's data folder.
inline const QString kScanCacheFileName = QStringLiteral("scan_cache.dat");

// What the scan found in sources read before, kept while their files are unchanged
// (same size, same modification time) in a file that outlives the program. A track
// of the disc in a drive is never kept: another disc may be in the drive by now.
// The file stays open: an envelope, the bulk of it, is read only when its source is
// found. Used by one thread at a time.
class ScanCache {
public:
    // The file keeps what was used last, up to this size (about 1,400 tracks of
    // four minutes); a larger file is not one of ours.
    static constexpr qint64 kMostBytes = 64 << 20;

    // Reads nothing yet.
    explicit ScanCache(const QString& path);

    // The source's file as it is now; nothing for a source that is never kept.
    static std::optional<FileStamp> stampOf(const SoundSource& source);

    // Reads what the file holds, the first time only. A file that is not a whole
    // cache of this version (cut short, damaged, another program's, a folder) is
    // taken as empty, and replaced by the first save after something was kept.
    void read();
    std::optional<TrackMeasure> find(const SoundSource& source);
    // stamp: the file as it was when its scan began, so that a file changed
    // while it was read is read again next time.
    void keep(const SoundSource& source, const FileStamp& stamp, const TrackMeasure& measure);
    // Writes the file whole, creating its folder, when something was kept since it
    // was read, and reads it anew. Throws a Failure.
    void save();

private:
    struct Entry {
        CachedScan scan;
        std::vector<qint16> levelCodes; // of one kept since the file was read
        qint64 codesAt = -1; // where the file holds the levels of one read from it
        quint64 lastUse = 0;
    };
    static QString keyOf(const SoundSource& source);
    void readFile();
    // Nothing when the file no longer holds them.
    std::optional<std::vector<qint16>> codesOf(const Entry& entry);

    QString m_path;
    QFile m_file;
    QHash<QString, Entry> m_entries;
    quint64 m_uses = 0;
    bool m_read = false;
    bool m_changed = false;
};
