#pragma once

#include <QString>

// The two playlist formats, and none.
enum class PlaylistFormat { None, M3u, Pls };

// The format a file name stands for by its last four characters in any case
// (".m3u", ".pls"); None for any other name.
PlaylistFormat playlistFormatOf(const QString& path);

// The format to save in: the typed extension when it names one, so that the
// file's content always matches its name; otherwise the chosen format.
PlaylistFormat saveFormat(const QString& path, PlaylistFormat chosen);
