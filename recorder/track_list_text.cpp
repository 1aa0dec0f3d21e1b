#include "recorder/track_list_text.h"

#include "common/number_text.h"
#include "common/playlist_table.h"

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

// The number behind "track" in a CD track file's name (Track05.cda is 5); 0 when none.
int cdTrackNumber(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype word = name.indexOf(QLatin1String("track"), 0, Qt::CaseInsensitive);
    if (word < 0)
        return 0;
    const double number = leadingNumber(QStringView(name).mid(word + 5));
    return number >= 1 && number <= 99 ? int(number) : 0;
}

} // namespace

QString entryTitle(const QString& path, int number, const TitleLookup& lookup)
{
    if (lookup) {
        const QString title = lookup(path);
        if (!title.isEmpty())
            return title;
    }
    if (path.endsWith(u".cda")) {
        const int track = cdTrackNumber(path);
        return QStringLiteral("Track %1").arg(track > 0 ? track : number);
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
    for (int index = 0; index < table.count(); ++index) {
        const PlaylistEntry& entry = table[index];
        lines << QStringLiteral("%1. %2 %3")
                     .arg(index + 1)
                     .arg(entryTitle(entry.path, index + 1, lookup), trackLengthText(qint64(leadingNumber(entry.length))));
    }
    return lines.join(u'\n');
}
