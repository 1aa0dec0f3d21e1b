#pragma once

#include <QString>

// The two playlist formats, numbered as the save dialog's filters and the
// "When done" option buttons number them.
enum PlaylistFormat : int {
    kNoPlaylist = 0,
    kM3uPlaylist = 1,
    kPlsPlaylist = 2,
};

// The format a file name stands for by its last four characters in any case
// (".m3u", ".pls"); kNoPlaylist for any other name.
PlaylistFormat playlistFormatOf(const QString& path);

// The format to save in: the typed extension when it names one, so that the
// file's content always matches its name; otherwise the format of the chosen filter.
int saveFormat(const QString& path, int chosenFilter);
