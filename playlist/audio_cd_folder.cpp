#include "playlist/audio_cd_folder.h"

#include "discs/cd_entry.h"
#include "discs/discs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

namespace {

// Only names this folder could have written are ours to remove.
bool isTrackFileName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^Track\\d\\d\\.cda$"));
    return pattern.match(name).hasMatch();
}

} // namespace

AudioCdFolder::AudioCdFolder(Discs& discs, const QString& base)
    : m_discs(discs)
    , m_path(QDir(base).filePath(QStringLiteral("Audio CD")))
{
}

QString AudioCdFolder::standardBase()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isWritable())
        return QDir(runtime).filePath(QCoreApplication::applicationName());
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

void AudioCdFolder::refresh()
{
    QDir().mkpath(m_path);
    const QStringList wanted = audioTrackFiles();
    QDir folder(m_path);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTrackFileName(name) && !wanted.contains(name))
            folder.remove(name);
    }
    for (const QString& name : wanted) {
        QFile file(folder.filePath(name));
        if (!file.exists())
            file.open(QIODevice::WriteOnly);
    }
}

// The drive is read again each time, so that a disc changed since the last look is seen.
QStringList AudioCdFolder::audioTrackFiles()
{
    m_discs.lookAgain();
    const std::optional<Disc> disc = m_discs.disc(m_path);
    if (!disc)
        return {};
    QStringList names;
    for (int track = 1; track <= std::min<int>(disc->tracks.size(), 99); ++track) {
        // A data track has a length too, but no sound to play.
        if (const DiscTrack& found = disc->tracks[track - 1]; found.audio && found.sectors > 0)
            names << cdTrackFileName(track);
    }
    return names;
}
