#include "medium/output_choice.h"

#include "common/number_text.h"
#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "common/text_file.h"

#include <optional>

namespace {

const char* const kModeNames[] = {"off", "track", "album"};

// A number of the line within the range; nothing for anything else.
std::optional<double> numberIn(const QString& line, double least, double most)
{
    const std::optional<double> value = settingsNumber(line);
    if (value && *value >= least && *value <= most)
        return value;
    return std::nullopt;
}

} // namespace

QString outputTitle(const OutputChoice& choice)
{
    return choice.outputDescription.isEmpty() ? choice.outputName : choice.outputDescription;
}

OutputChoice parseOutputChoice(const QStringList& lines)
{
    OutputChoice choice;
    if (!lines.isEmpty())
        choice.outputName = lines[0].trimmed();
    if (lines.size() > 1)
        choice.keepOtherSoundsOff = lines[1].trimmed() == QLatin1String("1");
    if (lines.size() > 2)
        choice.leadInSeconds = numberIn(lines[2], 0, kLeadInMostSeconds).value_or(0);
    if (lines.size() > 3)
        choice.outputDescription = lines[3].trimmed();
    if (lines.size() > 4) {
        for (int mode = 0; mode < 3; ++mode) {
            if (lines[4].trimmed() == QLatin1String(kModeNames[mode]))
                choice.gain.mode = GainMode(mode);
        }
    }
    if (lines.size() > 5)
        choice.gain.preampDb = numberIn(lines[5], -kPreampMostDb, kPreampMostDb).value_or(0);
    if (lines.size() > 6)
        choice.listenName = lines[6].trimmed();
    if (lines.size() > 7)
        choice.listenDescription = lines[7].trimmed();
    if (lines.size() > 8)
        choice.keepReceivedSound = lines[8].trimmed() == QLatin1String("1");
    return choice;
}

QStringList outputChoiceLines(const OutputChoice& choice)
{
    return {choice.outputName, choice.keepOtherSoundsOff ? QStringLiteral("1") : QStringLiteral("0"),
            plainNumber(choice.leadInSeconds), choice.outputDescription,
            QLatin1String(kModeNames[int(choice.gain.mode)]), plainNumber(choice.gain.preampDb),
            choice.listenName, choice.listenDescription,
            choice.keepReceivedSound ? QStringLiteral("1") : QStringLiteral("0")};
}

OutputChoice readOutputFile(const QString& path)
{
    return parseOutputChoice(readSettingsLines(path));
}

void writeOutputFile(const QString& path, const OutputChoice& choice)
{
    writeTextFile(path, outputChoiceLines(choice));
}
