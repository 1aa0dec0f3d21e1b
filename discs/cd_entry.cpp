#include "discs/cd_entry.h"

#include "common/failure.h"
#include "common/number_text.h"

#include <algorithm>
#include <cmath>

bool isCdEntry(const QString& path)
{
    return path.endsWith(QLatin1String(".cda"), Qt::CaseInsensitive);
}

bool isCueSheet(const QString& path)
{
    return path.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive);
}

std::optional<CdEntry> cdEntryOf(const QString& path)
{
    if (!isCdEntry(path))
        return std::nullopt;
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QStringView name = QStringView(path).sliced(cut + 1);
    const qsizetype word = name.indexOf(QLatin1String("track"), 0, Qt::CaseInsensitive);
    if (word < 0)
        return std::nullopt;
    QStringView number = name.sliced(word + 5);
    number = number.left(number.indexOf(QLatin1String(".cda"), 0, Qt::CaseInsensitive));
    const double track = std::nearbyint(leadingNumber(number)); // halves to even
    if (!(track >= 1 && track <= 99))
        return std::nullopt;
    return CdEntry { path.left(std::max<qsizetype>(cut, 0)), int(track) };
}

CdEntry readCdEntry(const QString& path)
{
    if (const std::optional<CdEntry> entry = cdEntryOf(path))
        return *entry;
    throw Failure(QStringLiteral("%1 does not name a CD track (Track01.cda to Track99.cda).").arg(path));
}

QString cdTrackFileName(int track)
{
    return QStringLiteral("Track%1.cda").arg(track, 2, 10, QLatin1Char('0'));
}
