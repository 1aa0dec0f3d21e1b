#pragma once

#include "common/playlist_table.h"
#include "playlist_files/playlist_format.h"

#include <QString>
#include <QStringList>

// Writes the playlist to path, as M3U or PLS; PlaylistFormat::None writes nothing.
// Throws a Failure when the file cannot be written. The file is replaced only once
// the new content is complete, so a failed save leaves the old file as it was. An
// entry whose path holds a line break (CR or LF) cannot be written as a line; it is
// left out, and the paths left out are returned in list order for the caller to show.
QStringList writePlaylist(const QString& path, PlaylistFormat format, const PlaylistTable& table);

// The warning that names the entries a save left out.
QString skippedEntriesMessage(const QStringList& skipped);

// The title written for an entry: the file name after the last separator, without
// its last extension ("/Music/My.Song.mp3" gives "My.Song").
QString playlistTitle(const QString& path);
