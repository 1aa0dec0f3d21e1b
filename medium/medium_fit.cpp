#include "medium/medium_fit.h"

#include "common/playlist_table.h"
#include "medium/recorder_kind.h"
#include "medium/track_units.h"

#include <QStringList>
#include <cmath>

namespace {

// Minutes and seconds with no hours: media are sold by their minutes ("74:00").
QString minutesText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString tracksText(int count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" track") : QStringLiteral(" tracks"));
}

} // namespace

double trackSecondsOn(const RecorderKind& kind, const PlaylistEntry& entry, bool withGap, double beforeSeconds)
{
    return secondsInTrackUnits(beforeSeconds + double(entry.length) + (withGap ? entry.gap / 1000 : 0),
                               kind.trackUnitSeconds);
}

MediumFit mediumFit(const PlaylistTable& table, const RecorderKind& kind, double leadInSeconds)
{
    MediumFit fit;
    fit.capacitySeconds = kind.capacitySeconds;
    fit.trackLimit = kind.trackLimit;
    fit.trackCount = int(table.size());
    for (int index = 0; index < fit.trackCount; ++index) {
        const PlaylistEntry& entry = table[size_t(index)];
        const bool last = index == fit.trackCount - 1;
        if (!last && entry.gap / 1000 < kind.silence.minimumSeconds)
            fit.shortGaps.push_back(index);
        fit.usedSeconds += trackSecondsOn(kind, entry, !last, index == 0 ? leadInSeconds : 0);
    }
    fit.leftSeconds = fit.capacitySeconds - fit.usedSeconds;
    return fit;
}

// A part of a second over counts as over, a part of a second left does not count.
QString overText(double leftSeconds)
{
    return minutesText(qint64(std::ceil(-leftSeconds))) + QStringLiteral(" over");
}

QString spaceText(double usedSeconds, double capacitySeconds)
{
    const double leftSeconds = capacitySeconds - usedSeconds;
    return QStringLiteral("%1 of %2 used, ")
               .arg(minutesText(qint64(std::ceil(usedSeconds))), minutesText(qint64(capacitySeconds)))
        + (leftSeconds >= 0 ? minutesText(qint64(leftSeconds)) + QStringLiteral(" left") : overText(leftSeconds));
}

QString tracksOverText(int count, int limit)
{
    return QStringLiteral("%1: %2 over the limit of %3").arg(tracksText(count)).arg(count - limit).arg(limit);
}

QString trackCountText(int count, int limit)
{
    if (limit > 0 && count > limit)
        return tracksOverText(count, limit);
    if (limit > 0)
        return QStringLiteral("%1 of %2 tracks").arg(count).arg(limit);
    return tracksText(count);
}

QString fitSummary(const MediumFit& fit)
{
    return spaceText(fit.usedSeconds, fit.capacitySeconds) + QStringLiteral("; ")
        + trackCountText(fit.trackCount, fit.trackLimit);
}

QString fitProblems(const MediumFit& fit)
{
    QStringList problems;
    if (fit.leftSeconds < 0)
        problems << overText(fit.leftSeconds);
    if (fit.tracksOver() > 0)
        problems << tracksOverText(fit.trackCount, fit.trackLimit);
    return problems.join(QStringLiteral("; "));
}
