#include "playlist_files/playlist_format.h"

PlaylistFormat playlistFormatOf(const QString& path)
{
    if (path.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive))
        return PlaylistFormat::M3u;
    if (path.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive))
        return PlaylistFormat::Pls;
    return PlaylistFormat::None;
}

PlaylistFormat saveFormat(const QString& path, PlaylistFormat chosen)
{
    const PlaylistFormat typed = playlistFormatOf(path);
    return typed == PlaylistFormat::None ? chosen : typed;
}
