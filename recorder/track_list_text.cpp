#include "recorder/track_list_text.h"

#include "common/playlist_table.h"
#include "discs/cd_entry.h"

#include <QFile>
#include <QFileInfo>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true)).trimmed();
}

QString taggedTitle(const QString& path)
{
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull() || !file.tag())
        return {};
    const QString title = fromTagLib(file.tag()->title());
    const QString artist = fromTagLib(file.tag()->artist());
    if (title.isEmpty() || artist.isEmpty())
        return title;
    return artist + QStringLiteral(" - ") + title;
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
    const QString tagged = taggedTitle(path);
    return tagged.isEmpty() ? QFileInfo(path).completeBaseName() : tagged;
}

QString trackLengthText(qint64 seconds)
{
    const QString secondsPart = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return QStringLiteral("%1:%2").arg(seconds / 60).arg(secondsPart);
    return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0')).arg(secondsPart);
}

QString trackListText(const PlaylistTable& table, const TitleLookup& lookup)
{
    QStringList lines;
    for (size_t index = 0; index < table.size(); ++index) {
        const PlaylistEntry& entry = table[index];
        lines << QStringLiteral("%1. %2 %3")
                     .arg(index + 1)
                     .arg(entryTitle(entry.path, int(index + 1), lookup), trackLengthText(entry.length));
    }
    return lines.join(u'\n');
}
