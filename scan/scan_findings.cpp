#include "scan/scan_findings.h"

#include <QStringList>
#include <cmath>

namespace {

// One decimal; a value that rounds to zero shows no minus sign.
QString oneDecimal(double value)
{
    return QString::number(std::round(value * 10) / 10 + 0.0, 'f', 1);
}

} // namespace

QString minutesAndSeconds(double seconds)
{
    const qint64 whole = qint64(std::floor(std::max(0.0, seconds)));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString quietPassageText(const QuietPassage& passage)
{
    return QStringLiteral("quiet passage at %1 for %2 s")
        .arg(minutesAndSeconds(passage.startSeconds), oneDecimal(passage.lengthSeconds));
}

QString shortGapText(double gapSeconds, double heardSeconds, double minimumSeconds)
{
    QString text = QStringLiteral("gap %1 s is shorter than %2 s").arg(oneDecimal(gapSeconds), oneDecimal(minimumSeconds));
    if (oneDecimal(heardSeconds) != oneDecimal(gapSeconds))
        text += QStringLiteral(" (%1 s with the silence at the ends of the tracks)").arg(oneDecimal(heardSeconds));
    return text;
}

QString peakText(const PeakLevel& level)
{
    return QStringLiteral("peak %1 dB at %2").arg(oneDecimal(level.db), minutesAndSeconds(level.seconds));
}

QString loudestPeakText(const PeakLevel& level, int trackNumber)
{
    return QStringLiteral("Loudest peak of the list: %1 dB in track %2 at %3")
        .arg(oneDecimal(level.db))
        .arg(trackNumber)
        .arg(minutesAndSeconds(level.seconds));
}

QString silentTrackText(double thresholdDb)
{
    return QStringLiteral("silent throughout (below %1 dB)").arg(oneDecimal(thresholdDb));
}

QString scanFailedText(const QString& description)
{
    return QStringLiteral("scan failed: ") + description.section(QLatin1Char('\n'), 0, 0);
}
