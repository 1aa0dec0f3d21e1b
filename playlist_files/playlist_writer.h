#pragma once

#include <QString>

class PlaylistTable;

// skrivplaylist: writes the playlist to path, as M3U (format 1) or PLS (format 2);
// any other format writes nothing. Throws a Failure when the file cannot be written.
void skrivplaylist(const QString& path, int format, const PlaylistTable& table);
