#include "recorder/recorder_file.h"

#include "common/number_text.h"
#include "common/text_file.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace {

// Nothing sensible lies beyond the first few bytes of a five-line file.
constexpr qint64 kMostRead = 4096;

// A figure's line holds one number and nothing else: by the leading-number rule
// an empty or garbled line would read as 0, a figure in range for most of them.
std::optional<double> figure(const QString& line)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eEdD][+-]?[0-9]+)?\s*$)"));
    if (!number.match(line).hasMatch())
        return std::nullopt;
    return leadingNumber(line);
}

// The figures of a custom recorder; nothing when a line is missing, damaged or out of range.
std::optional<CustomRecorder> customFromLines(const QStringList& lines)
{
    if (lines.size() < 5)
        return std::nullopt;
    const std::optional<double> minutes = figure(lines[1]), trackLimit = figure(lines[2]),
                                threshold = figure(lines[3]), minimumSeconds = figure(lines[4]);
    if (!minutes || !trackLimit || !threshold || !minimumSeconds)
        return std::nullopt;
    if (*trackLimit != std::trunc(*trackLimit) || std::abs(*trackLimit) > CustomRecorderRanges::kTrackLimitMost)
        return std::nullopt;
    const CustomRecorder custom{*minutes, int(*trackLimit), *threshold, *minimumSeconds};
    if (!isWithinRanges(custom))
        return std::nullopt;
    return custom;
}

} // namespace

RecorderKind parseRecorder(const QStringList& lines)
{
    if (lines.isEmpty())
        return defaultRecorderKind();
    const QString id = lines[0].trimmed();
    if (id == kCustomRecorderId) {
        const std::optional<CustomRecorder> custom = customFromLines(lines);
        return custom ? customRecorderKind(*custom) : defaultRecorderKind();
    }
    return recorderKindById(id).value_or(defaultRecorderKind());
}

QStringList recorderLines(const RecorderKind& kind)
{
    QStringList lines{kind.id};
    if (kind.id == kCustomRecorderId) {
        const CustomRecorder custom = customFigures(kind);
        lines << plainNumber(custom.minutes) << QString::number(custom.trackLimit)
              << plainNumber(custom.thresholdDb) << plainNumber(custom.minimumSeconds);
    }
    return lines;
}

RecorderKind readRecorderFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultRecorderKind();
    return parseRecorder(splitTextLines(file.read(kMostRead)));
}

void writeRecorderFile(const QString& path, const RecorderKind& kind)
{
    writeTextFile(path, recorderLines(kind));
}
