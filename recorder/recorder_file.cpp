#include "recorder/recorder_file.h"

#include "common/number_text.h"
#include "common/settings_lines.h"
#include "common/text_file.h"

#include <QRegularExpression>
#include <cmath>

namespace {

bool isWholeUpTo(double value, int most)
{
    return value == std::trunc(value) && std::abs(value) <= most;
}

// The figures of a custom recorder; nothing when a line is missing, damaged or out of range.
// Files from before two-sided recorders end after the minimum silence: one side.
std::optional<CustomRecorder> customFromLines(const QStringList& lines)
{
    if (lines.size() < 5)
        return std::nullopt;
    const std::optional<double> minutes = lineFigure(lines[1]), trackLimit = lineFigure(lines[2]),
                                threshold = lineFigure(lines[3]), minimumSeconds = lineFigure(lines[4]),
                                sides = lines.size() > 5 ? lineFigure(lines[5]) : 1;
    if (!minutes || !trackLimit || !threshold || !minimumSeconds || !sides)
        return std::nullopt;
    if (!isWholeUpTo(*trackLimit, CustomRecorderRanges::kTrackLimitMost)
        || !isWholeUpTo(*sides, CustomRecorderRanges::kSidesMost))
        return std::nullopt;
    const CustomRecorder custom{*minutes, int(*trackLimit), *threshold, *minimumSeconds, int(*sides)};
    if (!isWithinRanges(custom))
        return std::nullopt;
    return custom;
}

} // namespace

std::optional<double> lineFigure(const QString& line)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eEdD][+-]?[0-9]+)?\s*$)"));
    if (!number.match(line).hasMatch())
        return std::nullopt;
    return leadingNumber(line);
}

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
              << plainNumber(custom.thresholdDb) << plainNumber(custom.minimumSeconds) << QString::number(custom.sides);
    }
    return lines;
}

RecorderKind readRecorderFile(const QString& path)
{
    return parseRecorder(readSettingsLines(path));
}

void writeRecorderFile(const QString& path, const RecorderKind& kind)
{
    writeTextFile(path, recorderLines(kind));
}
