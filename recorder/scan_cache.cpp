#include "recorder/scan_cache.h"

#include <QFileInfo>

std::optional<ScanCache::FileStamp> ScanCache::stampOf(const SoundSource& source)
{
    if (source.kind == SoundSource::Kind::DriveTrack)
        return std::nullopt;
    const QFileInfo file(source.path);
    if (!file.exists())
        return std::nullopt;
    return FileStamp { file.size(), file.lastModified() };
}

std::optional<LevelEnvelope> ScanCache::find(const SoundSource& source) const
{
    const std::optional<FileStamp> stamp = stampOf(source);
    if (!stamp)
        return std::nullopt;
    const auto entry = m_entries.constFind(keyOf(source));
    if (entry == m_entries.constEnd() || !(entry->stamp == *stamp))
        return std::nullopt;
    return entry->envelope;
}

void ScanCache::keep(const SoundSource& source, const FileStamp& stamp, const LevelEnvelope& envelope)
{
    m_entries.insert(keyOf(source), { stamp, envelope });
}

QString ScanCache::keyOf(const SoundSource& source)
{
    return QStringLiteral("%1 %2 %3 %4 %5 ")
               .arg(int(source.kind))
               .arg(source.track)
               .arg(source.firstFrame)
               .arg(source.endFrame)
               .arg(int(source.bigEndian))
        + QFileInfo(source.path).absoluteFilePath();
}
