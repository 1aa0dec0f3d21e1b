#include "scan/scan_cache.h"

#include "common/regular_file.h"
#include "common/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

ScanCache::ScanCache(const QString& path)
    : m_path(path)
{
}

std::optional<FileStamp> ScanCache::stampOf(const SoundSource& source)
{
    if (source.kind == SoundSource::Kind::DriveTrack)
        return std::nullopt;
    const QFileInfo file(source.path);
    if (!file.exists())
        return std::nullopt;
    return FileStamp { file.size(), file.lastModified().toMSecsSinceEpoch() };
}

void ScanCache::read()
{
    if (!std::exchange(m_read, true))
        readFile();
}

void ScanCache::readFile()
{
    m_file.setFileName(m_path);
    // A FIFO would wait for a writer, a device might never end.
    if (!notARegularFile(m_path).isEmpty() || m_file.size() > kMostBytes || !m_file.open(QIODevice::ReadOnly))
        return;
    const std::optional<std::vector<ScanCacheEntry>> entries = readScanCacheEntries(m_file);
    if (!entries) {
        m_file.close();
        return;
    }
    for (auto entry = entries->rbegin(); entry != entries->rend(); ++entry)
        m_entries.insert(entry->key, { entry->scan, {}, entry->codesAt, ++m_uses });
}

std::optional<std::vector<qint16>> ScanCache::codesOf(const Entry& entry)
{
    if (entry.codesAt < 0)
        return entry.levelCodes;
    return readLevelCodes(m_file, entry.codesAt, entry.scan.frames);
}

std::optional<TrackMeasure> ScanCache::find(const SoundSource& source)
{
    const std::optional<FileStamp> stamp = stampOf(source);
    if (!stamp)
        return std::nullopt;
    const auto entry = m_entries.find(keyOf(source));
    if (entry == m_entries.end() || !(entry->scan.stamp == *stamp))
        return std::nullopt;
    const std::optional<std::vector<qint16>> codes = codesOf(*entry);
    if (!codes)
        return std::nullopt;
    entry->lastUse = ++m_uses;
    return TrackMeasure { envelopeOf(entry->scan.frames, *codes), entry->scan.loudnessLufs };
}

void ScanCache::keep(const SoundSource& source, const FileStamp& stamp, const TrackMeasure& measure)
{
    m_entries.insert(keyOf(source), { { stamp, measure.envelope.frames, measure.loudnessLufs },
                                      levelCodesOf(measure.envelope), -1, ++m_uses });
    m_changed = true;
}

void ScanCache::save()
{
    if (!m_changed)
        return;
    std::vector<std::pair<quint64, QString>> byUse;
    for (auto entry = m_entries.cbegin(); entry != m_entries.cend(); ++entry)
        byUse.emplace_back(entry->lastUse, entry.key());
    std::sort(byUse.begin(), byUse.end(), std::greater<>());
    QByteArray bytes = scanCacheStart();
    for (const auto& [use, key] : byUse) {
        const Entry& entry = *m_entries.constFind(key);
        if (const std::optional<std::vector<qint16>> codes = codesOf(entry))
            appendScanCacheEntry(bytes, key, entry.scan, *codes, kMostBytes);
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    writeWholeFile(m_path, bytes);
    // What was kept here is read from the file from now on.
    m_file.close();
    m_entries.clear();
    m_changed = false;
    readFile();
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
