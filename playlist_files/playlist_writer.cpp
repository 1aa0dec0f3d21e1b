#include "playlist_files/playlist_writer.h"

#include "common/text_file.h"

#include <QDir>
#include <QStringList>
#include <vector>

namespace {

using Entries = std::vector<const PlaylistEntry*>;

QStringList m3uLines(const Entries& entries)
{
    QStringList lines{QStringLiteral("#EXTM3U")};
    for (const PlaylistEntry* entry : entries) {
        lines << QStringLiteral("#EXTINF:") + QString::number(entry->length) + u',' + playlistTitle(entry->path);
        lines << entry->path;
    }
    return lines;
}

QStringList plsLines(const Entries& entries)
{
    QStringList lines{QStringLiteral("[playlist]")};
    for (size_t i = 0; i < entries.size(); ++i) {
        const PlaylistEntry& entry = *entries[i];
        const QString n = QString::number(i + 1);
        lines << QStringLiteral("File") + n + u'=' + entry.path;
        lines << QStringLiteral("Title") + n + u'=' + playlistTitle(entry.path);
        lines << QStringLiteral("Length") + n + u'=' + QString::number(entry.length);
    }
    lines << QStringLiteral("NumberOfEntries = ") + QString::number(entries.size());
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

QStringList writePlaylist(const QString& path, PlaylistFormat format, const PlaylistTable& table)
{
    if (format == PlaylistFormat::None)
        return {};
    Entries written;
    QStringList skipped;
    for (const PlaylistEntry& entry : table) {
        // Written out, the break would end the line early: an M3U reads back wrong
        // and a PLS takes the rest of the name for a line of its own.
        if (entry.path.contains(u'\r') || entry.path.contains(u'\n'))
            skipped << entry.path;
        else
            written.push_back(&entry);
    }
    writeTextFile(path, format == PlaylistFormat::M3u ? m3uLines(written) : plsLines(written));
    return skipped;
}

QString skippedEntriesMessage(const QStringList& skipped)
{
    return QStringLiteral("These entries were not written to the playlist, because their names hold a "
                          "line break:\n")
        + skipped.join(u'\n');
}
