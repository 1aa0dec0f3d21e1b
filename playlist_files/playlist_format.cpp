#include "playlist_files/playlist_format.h"

PlaylistFormat playlistFormatOf(const QString& path)
{
    if (path.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive))
        return kM3uPlaylist;
    if (path.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive))
        return kPlsPlaylist;
    return kNoPlaylist;
}

int saveFormat(const QString& path, int chosenFilter)
{
    const PlaylistFormat typed = playlistFormatOf(path);
    return typed == kNoPlaylist ? chosenFilter : typed;
}
