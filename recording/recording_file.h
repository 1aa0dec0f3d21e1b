#pragma once

#include "common/playlist_table.h"
#include "playlist_files/playlist_format.h"

#include <QString>
#include <QStringList>

// The playlists saved at the end of a run: Recording 1, Recording 2 and so on in
// the program's directory.

// The first stem "<directory>/Recording n" for which neither a non-empty .m3u nor a
// non-empty .pls nor a folder of those names exists, whatever the format to be
// written. Empty files of the numbers passed over are deleted on the way.
QString freeRecordingStem(const QString& directory);

struct RecordingSave {
    QString path;        // the file written
    QStringList skipped; // entries left out of it, to be named in a warning (writePlaylist)
};

// Writes the playlist as the next free Recording file, as M3U or PLS; with
// PlaylistFormat::None nothing is written. Throws a Failure when the file cannot be written.
RecordingSave saveNextRecordingPlaylist(const QString& directory, PlaylistFormat format, const PlaylistTable& table);
