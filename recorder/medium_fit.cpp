#include "recorder/medium_fit.h"

#include "common/playlist_table.h"
#include "recorder/recorder_kind.h"
#include "recorder/track_units.h"

#include <QStringList>
#include <cmath>

namespace {

// Minutes and seconds with no hours: media are sold by their minutes ("74:00").
QString minutesText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// A part of a second over counts as over, a part of a second left does not count.
QString overText(double leftSeconds)
{
    return minutesText(qint64(std::ceil(-leftSeconds))) + QStringLiteral(" over");
}

QString tracksText(int count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" track") : QStringLiteral(" tracks"));
}

QString tracksOverText(const MediumFit& fit)
{
    return QStringLiteral("%1: %2 over the limit of %3")
        .arg(tracksText(fit.trackCount)).arg(fit.tracksOver()).arg(fit.trackLimit);
}

} // namespace

MediumFit mediumFit(const PlaylistTable& table, const RecorderKind& kind)
{
    MediumFit fit;
    fit.capacitySeconds = kind.capacitySeconds;
    fit.trackLimit = kind.trackLimit;
    fit.trackCount = int(table.size());
    for (int index = 0; index < fit.trackCount; ++index) {
        const PlaylistEntry& entry = table[size_t(index)];
        double seconds = double(entry.length);
        if (index < fit.trackCount - 1) {
            const double gapSeconds = entry.gap / 1000;
            seconds += gapSeconds;
            if (gapSeconds < kind.silence.minimumSeconds)
                fit.shortGaps.push_back(index);
        }
        fit.usedSeconds += secondsInTrackUnits(seconds, kind.trackUnitSeconds);
    }
    fit.leftSeconds = fit.capacitySeconds - fit.usedSeconds;
    return fit;
}

QString fitSummary(const MediumFit& fit)
{
    QString text = QStringLiteral("%1 of %2 used, ")
                       .arg(minutesText(qint64(std::ceil(fit.usedSeconds))), minutesText(qint64(fit.capacitySeconds)));
    text += fit.leftSeconds >= 0 ? minutesText(qint64(fit.leftSeconds)) + QStringLiteral(" left") : overText(fit.leftSeconds);
    text += QStringLiteral("; ");
    if (fit.tracksOver() > 0)
        text += tracksOverText(fit);
    else if (fit.trackLimit > 0)
        text += QStringLiteral("%1 of %2 tracks").arg(fit.trackCount).arg(fit.trackLimit);
    else
        text += tracksText(fit.trackCount);
    return text;
}

QString fitProblems(const MediumFit& fit)
{
    QStringList problems;
    if (fit.leftSeconds < 0)
        problems << overText(fit.leftSeconds);
    if (fit.tracksOver() > 0)
        problems << tracksOverText(fit);
    return problems.join(QStringLiteral("; "));
}
