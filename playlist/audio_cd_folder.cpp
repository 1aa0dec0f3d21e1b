#include "playlist/audio_cd_folder.h"

#include "discs/cd_entry.h"
#include "player/cd_audio.h"

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

AudioCdFolder::AudioCdFolder(CDAudio& cd, const QString& base)
    : m_cd(cd)
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

// The device is closed and opened again around the choice of the drive, as a recording
// run does: opening reads the disc, so a disc changed since the last look is seen.
QStringList AudioCdFolder::audioTrackFiles()
{
    m_cd.UnloadAll();
    m_cd.UseDisc(m_path);
    m_cd.SetCDPlayerReady();
    m_cd.SetFormat_tmsf();
    QStringList names;
    const qint16 count = m_cd.GetNumTracks();
    for (qint16 track = 1; track <= std::min<qint16>(count, 99); ++track) {
        // A data track has a length too, but no sound to play.
        if (replyHasLength(m_cd.GetTrackLength(track)) && m_cd.TrackSound(track))
            names << cdTrackFileName(track);
    }
    return names;
}
