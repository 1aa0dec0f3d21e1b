#include "player/cue_titles.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "player/cue_sheet.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kLargestSheet = 1 << 20;

} // namespace

QString cueTrackTitle(const QString& entryPath)
{
    const qsizetype cut = entryPath.lastIndexOf(u'/');
    const QString sheetPath = entryPath.left(cut);
    const QString name = entryPath.mid(cut + 1);
    if (cut < 0 || !sheetPath.endsWith(u".cue", Qt::CaseInsensitive) || !name.startsWith(u"Track"))
        return {};
    QFile file(sheetPath);
    if (file.size() > kLargestSheet || !file.open(QIODevice::ReadOnly))
        return {};
    try {
        const CueSheet sheet = parseCueSheet(file.readAll());
        const double number = leadingNumber(QStringView(name).mid(5));
        for (const CueTrack& track : sheet.tracks) {
            if (track.number != number || track.title.isEmpty())
                continue;
            const QString performer = track.performer.isEmpty() ? sheet.performer : track.performer;
            return performer.isEmpty() ? track.title : performer + QStringLiteral(" - ") + track.title;
        }
    } catch (const Failure&) {
        // No title is no reason to bother anyone: the track is named by its number.
    }
    return {};
}
