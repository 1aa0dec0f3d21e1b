#include "medium/title_import_file.h"

#include <QRegularExpression>
#include <cmath>

namespace {

QString oneLine(const QString& title)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    return QString(title).replace(lineBreaks, QStringLiteral(" "));
}

QString cell(const QString& title)
{
    QString text = oneLine(title);
    while (text.endsWith(u'\\'))
        text.chop(1);
    return text.replace(u',', QStringLiteral("\\,"));
}

QString wholeSeconds(double seconds)
{
    return QString::number(std::isfinite(seconds) && seconds > 0 ? qint64(std::llround(seconds)) : 0);
}

} // namespace

QStringList titleImportCsv(const DiscTitles& titles)
{
    double total = 0;
    for (const double seconds : titles.seconds)
        total += std::isfinite(seconds) && seconds > 0 ? seconds : 0;
    QStringList lines{QStringLiteral("INDEX,GROUP RANGE,GROUP NAME,GROUP FULL WIDTH NAME,NAME,FULL WIDTH NAME,DURATION,ENCODING"),
                      QStringLiteral("0,0-0,,,%1,,%2,").arg(cell(titles.disc), wholeSeconds(total))};
    for (qsizetype i = 0; i < titles.tracks.size(); ++i) {
        const double seconds = size_t(i) < titles.seconds.size() ? titles.seconds[size_t(i)] : 0;
        lines << QStringLiteral("%1,,,,%2,,%3,%4").arg(i + 1).arg(cell(titles.tracks[i]), wholeSeconds(seconds), titles.encoding);
    }
    return lines;
}

QStringList titleImportLines(const DiscTitles& titles)
{
    QStringList lines;
    for (const QString& title : titles.tracks)
        lines << oneLine(title);
    return lines;
}

QString netMdEncoding(const QString& recorderId)
{
    if (recorderId.endsWith(QLatin1String("-lp2")))
        return QStringLiteral("LP2");
    if (recorderId.endsWith(QLatin1String("-lp4")))
        return QStringLiteral("LP4");
    return QStringLiteral("SPS");
}
