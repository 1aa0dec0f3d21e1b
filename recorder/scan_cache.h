#pragma once

#include "discs/sound_source.h"
#include "recorder/level_envelope.h"

#include <QDateTime>
#include <QHash>
#include <optional>

// The envelopes of sources scanned before, kept while their files are unchanged
// (same size, same modification time). A track of the disc in a drive is never
// kept: another disc may be in the drive by now. Kept in memory only.
class ScanCache {
public:
    struct FileStamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };

    // The source's file as it is now; nothing for a source that is never kept.
    static std::optional<FileStamp> stampOf(const SoundSource& source);

    std::optional<LevelEnvelope> find(const SoundSource& source) const;
    // stamp: the file as it was when its scan began, so that a file changed
    // while it was read is read again next time.
    void keep(const SoundSource& source, const FileStamp& stamp, const LevelEnvelope& envelope);

private:
    struct Entry {
        FileStamp stamp;
        LevelEnvelope envelope;
    };
    static QString keyOf(const SoundSource& source);

    QHash<QString, Entry> m_entries;
};
