#include "medium/track_list_text.h"

#include "common/playlist_table.h"
#include "discs/cd_entry.h"
#include "medium/deck_title.h"
#include "medium/track_starts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <mutex>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true)).trimmed();
}

struct FileTags {
    QString title; // "Artist - Title" when it has both
    QString album;
};

FileTags readFileTags(const QString& path)
{
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull() || !file.tag())
        return {};
    FileTags tags{fromTagLib(file.tag()->title()), fromTagLib(file.tag()->album())};
    const QString artist = fromTagLib(file.tag()->artist());
    if (!tags.title.isEmpty() && !artist.isEmpty())
        tags.title = artist + QStringLiteral(" - ") + tags.title;
    return tags;
}

// Every change of the list lists every entry again; a long list's files are read
// once, and again only when they change.
FileTags fileTags(const QString& path)
{
    struct Known {
        QDateTime modified;
        qint64 size;
        FileTags tags;
    };
    static QHash<QString, Known> known;
    static std::mutex mutex;
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    {
        const std::lock_guard lock(mutex);
        const auto found = known.constFind(path);
        if (found != known.cend() && found->modified == modified && found->size == size)
            return found->tags;
    }
    const FileTags tags = readFileTags(path);
    const std::lock_guard lock(mutex);
    known.insert(path, {modified, size, tags});
    return tags;
}

} // namespace

QString entryTitle(const QString& path, int number, const TitleLookup& lookup)
{
    if (lookup) {
        const QString title = lookup(path);
        if (!title.isEmpty())
            return title;
    }
    if (isCdEntry(path)) {
        const std::optional<CdEntry> entry = cdEntryOf(path);
        return QStringLiteral("Track %1").arg(entry ? entry->track : number);
    }
    const QString tagged = fileTags(path).title;
    return tagged.isEmpty() ? QFileInfo(path).completeBaseName() : tagged;
}

QString sharedAlbum(const PlaylistTable& table, const AlbumLookup& albums)
{
    QString album;
    for (const PlaylistEntry& entry : table) {
        const bool cd = isCdEntry(entry.path);
        if (cd && !albums)
            return {};
        const QString own = cd ? albums(entry.path) : fileTags(entry.path).album;
        if (own.isEmpty() || (!album.isEmpty() && own != album))
            return {};
        album = own;
    }
    return album;
}

QStringList entryTitles(const PlaylistTable& table, const TitleLookup& lookup, const TrackListOptions& options)
{
    QStringList titles;
    for (size_t index = 0; index < table.size(); ++index) {
        QString title = entryTitle(table[index].path, int(index + 1), lookup);
        if (options.deckTitleLength) {
            title = deckTitle(title, *options.deckTitleLength, options.deckLetters);
            // A title wholly in letters a deck cannot take still names the track.
            if (title.isEmpty())
                title = deckTitle(QStringLiteral("Track %1").arg(index + 1), *options.deckTitleLength);
        }
        titles << title;
    }
    return titles;
}

QString trackLengthText(qint64 seconds)
{
    const QString secondsPart = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return QStringLiteral("%1:%2").arg(seconds / 60).arg(secondsPart);
    return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0')).arg(secondsPart);
}

QString trackListText(const PlaylistTable& table, const TitleLookup& lookup, const TrackListOptions& options)
{
    QStringList lines;
    const bool sided = options.sideStarts.size() > 1;
    const QStringList titles = entryTitles(table, lookup, options);
    for (size_t index = 0; index < table.size(); ++index) {
        const auto side = std::find(options.sideStarts.begin(), options.sideStarts.end(), int(index));
        if (sided && side != options.sideStarts.end())
            lines << QStringLiteral("Side %1").arg(QChar(char16_t(u'A' + (side - options.sideStarts.begin()))));
        const PlaylistEntry& entry = table[index];
        QString line = QStringLiteral("%1. %2 %3").arg(index + 1).arg(titles[int(index)], trackLengthText(entry.length));
        if (index < options.starts.size())
            line.prepend(startTimeText(options.starts[index]) + u' ');
        if (index < options.gains.size())
            line += QStringLiteral(", ") + gainText(options.gains[index]);
        lines << line;
    }
    return lines.join(u'\n');
}
