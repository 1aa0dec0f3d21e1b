#include "playlist/playlist_adder.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "player/cd_audio.h"
#include "player/cue_disc.h"
#include "playlist/media_duration.h"
#include "playlist/playlist.h"
#include "playlist_files/playlist_reader.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace {

QString currentFolder()
{
    QString folder = QDir::toNativeSeparators(QDir::currentPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

// The number behind "track" in a CD track file's name: Track05.cda is track 5.
qint16 cdTrackNumber(const QString& fileName)
{
    const qsizetype word = fileName.indexOf(QLatin1String("track"), 0, Qt::CaseInsensitive);
    if (word < 0)
        throw Failure(QStringLiteral("%1 does not name a CD track.").arg(fileName));
    QStringView number = QStringView(fileName).mid(word + 5);
    number = number.left(number.indexOf(u".cda"));
    return toInt16(leadingNumber(number));
}

// A CUE sheet stands for its disc wherever a file is taken.
bool isCueSheet(const QString& path)
{
    return path.endsWith(u".cue", Qt::CaseInsensitive);
}

} // namespace

PlaylistAdder::PlaylistAdder(Services services)
    : m_services(std::move(services))
{
}

void PlaylistAdder::addChosenFile(const QString& name)
{
    const QString ending = name.right(4);
    const QString lower = ending.toLower();
    Handling handling = Handling::Media;
    if (ending == u".cda")
        handling = Handling::CdTrack;
    else if (lower == u".cda")
        handling = Handling::Nothing; // only the lower-case form names a CD track here
    else if (lower == u".m3u" || lower == u".pls")
        handling = Handling::Playlist;
    else if (isCueSheet(name))
        handling = Handling::CueSheet;
    add(currentFolder() + name, name, handling, PlayerFailure::EndsOperation);
}

// A full path names a CD track only in the exact lower-case form; anything else but a sheet is media.
PlaylistAdder::Handling PlaylistAdder::handlingOfPath(const QString& path)
{
    if (path.endsWith(u".cda"))
        return Handling::CdTrack;
    return isCueSheet(path) ? Handling::CueSheet : Handling::Media;
}

void PlaylistAdder::addPlaylistEntry(const QString& path)
{
    add(path, fileNamePart(path), handlingOfPath(path), PlayerFailure::Skipped);
}

void PlaylistAdder::addDroppedFile(const QString& path)
{
    add(path, fileNamePart(path), handlingOfPath(path), PlayerFailure::EndsOperation);
}

void PlaylistAdder::addPlaylist(const QString& path)
{
    readPlaylist(path, [this](const QString& entry) {
        addPlaylistEntry(entry);
        m_services.letEventsRun();
    });
}

void PlaylistAdder::add(const QString& path, const QString& fileName, Handling handling,
                        PlayerFailure onFailure)
{
    m_services.playlist.checkRoom();
    const double gap = m_services.defaultGap();
    if (handling == Handling::Nothing)
        return;
    if (handling == Handling::CdTrack) {
        addCdTrack(path, fileName, gap);
        return;
    }
    if (!fileHasContent(path))
        return;
    try {
        if (handling == Handling::Playlist)
            addPlaylist(path);
        else if (handling == Handling::CueSheet)
            addCueSheet(path, gap);
        else
            addMedia(path, gap);
    } catch (const Failure& failure) {
        if (onFailure == PlayerFailure::EndsOperation)
            throw;
        m_services.warn(failure.description());
    }
}

void PlaylistAdder::addCdTrack(const QString& path, const QString& fileName, double gap)
{
    m_services.cd.UseDiscOf(path);
    const QString reply = m_services.cd.GetTrackLength(cdTrackNumber(fileName));
    if (replyHasLength(reply))
        append(path, qint64(trackLengthSeconds(reply)), gap);
}

// Each audio track of the sheet's disc becomes a CD entry named the sheet's path
// and TrackNN.cda. A sheet that cannot be played adds nothing and says why.
void PlaylistAdder::addCueSheet(const QString& path, double gap)
{
    const Disc disc = discOfCueSheet(path);
    for (qsizetype index = 0; index < disc.tracks.size(); ++index) {
        if (!disc.tracks[index].audio)
            continue;
        if (index > 0)
            m_services.playlist.checkRoom();
        const QString fileName = QStringLiteral("Track%1.cda").arg(index + 1, 2, 10, QLatin1Char('0'));
        addCdTrack(path + QLatin1Char('/') + fileName, fileName, gap);
    }
}

void PlaylistAdder::addMedia(const QString& path, double gap)
{
    const double seconds = std::fabs(std::trunc(mediaDuration(m_services.player, path)));
    append(path, qint64(std::min(seconds, 1e15)), gap);
}

void PlaylistAdder::append(const QString& path, qint64 seconds, double gap)
{
    m_services.playlist.append({path, QString::number(seconds), gap * 1000});
}
