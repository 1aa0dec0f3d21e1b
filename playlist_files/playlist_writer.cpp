#include "playlist_files/playlist_writer.h"

#include "common/text_file.h"
#include "playlist/playlist_table.h"
#include "playlist_files/playlist_format.h"

#include <QDir>
#include <QStringList>

namespace {

QStringList m3uLines(const PlaylistTable& table)
{
    QStringList lines{QStringLiteral("#EXTM3U")};
    for (int slot = 0; slot < table.count(); ++slot) {
        const PlaylistEntry& entry = table[slot];
        lines << QStringLiteral("#EXTINF:") + entry.length + u',' + playlistTitle(entry.path);
        lines << entry.path;
    }
    return lines;
}

QStringList plsLines(const PlaylistTable& table)
{
    QStringList lines{QStringLiteral("[playlist]")};
    for (int slot = 0; slot < table.count(); ++slot) {
        const PlaylistEntry& entry = table[slot];
        const QString n = QString::number(slot + 1);
        lines << QStringLiteral("File") + n + u'=' + entry.path;
        lines << QStringLiteral("Title") + n + u'=' + playlistTitle(entry.path);
        lines << QStringLiteral("Length") + n + u'=' + entry.length;
    }
    lines << QStringLiteral("NumberOfEntries = ") + QString::number(table.count());
    lines << QStringLiteral("Version = 2");
    return lines;
}

} // namespace

QString playlistTitle(const QString& path)
{
    QString title = path.mid(path.lastIndexOf(QDir::separator()) + 1);
    const qsizetype dot = title.lastIndexOf(u'.');
    if (dot >= 0)
        title.truncate(dot);
    return title;
}

void skrivplaylist(const QString& path, int format, const PlaylistTable& table)
{
    if (format == kM3uPlaylist)
        writeTextFile(path, m3uLines(table));
    else if (format == kPlsPlaylist)
        writeTextFile(path, plsLines(table));
}
