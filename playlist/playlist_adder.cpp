#include "playlist/playlist_adder.h"

#include "common/failure.h"
#include "common/regular_file.h"
#include "common/text_file.h"
#include "discs/cd_entry.h"
#include "discs/cue_disc.h"
#include "discs/discs.h"
#include "playlist/media_duration.h"
#include "playlist/playlist.h"
#include "playlist_files/playlist_reader.h"

#include <QDir>
#include <QFileInfo>
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

// Missing and empty files are passed over without a word. A sheet that is there but
// is no file to read (a folder, a FIFO) is taken all the same, to say what it is.
bool passedOver(const QString& path, bool sheet)
{
    return !fileHasContent(path) && !(sheet && !notARegularFile(path).isEmpty());
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
    add(currentFolder() + name, handling, OnFailure::EndsOperation);
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
    add(path, handlingOfPath(path), OnFailure::Skipped);
}

void PlaylistAdder::addDroppedFile(const QString& path)
{
    add(path, handlingOfPath(path), OnFailure::EndsOperation);
}

void PlaylistAdder::addPlaylist(const QString& path)
{
    if (m_services.playlist.name().isEmpty()) {
        const QFileInfo file(path);
        m_services.playlist.setName(file.completeBaseName(), file.absolutePath());
    }
    readPlaylist(path, [this](const QString& entry) {
        addPlaylistEntry(entry);
        m_services.letEventsRun();
    });
}

void PlaylistAdder::add(const QString& path, Handling handling, OnFailure onFailure)
{
    m_services.playlist.checkRoom();
    const double gap = m_services.defaultGap();
    if (handling == Handling::Nothing)
        return;
    if (handling != Handling::CdTrack && passedOver(path, handling == Handling::CueSheet))
        return;
    try {
        if (handling == Handling::CdTrack)
            addCdTrack(path, gap);
        else if (handling == Handling::Playlist)
            addPlaylist(path);
        else if (handling == Handling::CueSheet)
            addCueSheet(path, gap);
        else
            addMedia(path, gap);
    } catch (const Failure& failure) {
        if (onFailure == OnFailure::EndsOperation)
            throw;
        m_services.warn(failure.description());
    }
}

// A track of no disc, or of none with that number, is passed over without a word.
void PlaylistAdder::addCdTrack(const QString& path, double gap)
{
    if (const std::optional<DiscTrack> track = discTrackOf(m_services.discs, readCdEntry(path)))
        append(path, track->wholeSeconds(), gap);
}

// Each audio track of the sheet's disc becomes a CD entry named the sheet's path
// and TrackNN.cda, NN its number on the disc and in the sheet. A sheet that cannot
// be played adds nothing and says why.
void PlaylistAdder::addCueSheet(const QString& path, double gap)
{
    const Disc disc = discOfCueSheet(path);
    for (qsizetype index = 0; index < disc.tracks.size(); ++index) {
        if (!disc.tracks[index].audio)
            continue;
        if (index > 0)
            m_services.playlist.checkRoom();
        append(path + QLatin1Char('/') + cdTrackFileName(int(index + 1)), disc.tracks[index].wholeSeconds(), gap);
    }
}

void PlaylistAdder::addMedia(const QString& path, double gap)
{
    const double seconds = std::fabs(std::trunc(mediaDuration(m_services.player, path)));
    append(path, qint64(std::min(seconds, 1e15)), gap);
}

void PlaylistAdder::append(const QString& path, qint64 seconds, double gap)
{
    m_services.playlist.append({path, seconds, gap * 1000});
}
