#include "medium/recorder_file.h"

#include "common/number_text.h"
#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "common/text_file.h"

namespace {

// The figures of a custom recorder; nothing when a line is missing, damaged or out of range.
// Files from before two-sided recorders end after the minimum silence: one side.
std::optional<CustomRecorder> customFromLines(const QStringList& lines)
{
    using R = CustomRecorderRanges;
    if (lines.size() < 5)
        return std::nullopt;
    const std::optional<double> minutes = settingsNumber(lines[1]), threshold = settingsNumber(lines[3]),
                                minimumSeconds = settingsNumber(lines[4]);
    const std::optional<int> trackLimit = settingsWholeNumber(lines[2], 0, R::kTrackLimitMost),
                             sides = lines.size() > 5 ? settingsWholeNumber(lines[5], 1, R::kSidesMost) : 1;
    if (!minutes || !trackLimit || !threshold || !minimumSeconds || !sides)
        return std::nullopt;
    const CustomRecorder custom{*minutes, *trackLimit, *threshold, *minimumSeconds, *sides};
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
