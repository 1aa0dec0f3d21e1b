#include "medium/sides_file.h"

#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "common/text_file.h"

namespace {

const QString kFillWord = QStringLiteral("fill");
const QString kBalanceWord = QStringLiteral("balance");

SideSettings parseSides(const QStringList& lines)
{
    SideSettings settings;
    if (!lines.isEmpty()) {
        settings.leaderSeconds
            = settingsWholeNumber(lines[0], 0, SideSettings::kLeaderMost).value_or(settings.leaderSeconds);
    }
    if (lines.size() > 1 && lines[1].trimmed() == kBalanceWord)
        settings.split = SideSplit::Balance;
    return settings;
}

QStringList sidesLines(const SideSettings& settings)
{
    return {QString::number(settings.leaderSeconds),
            settings.split == SideSplit::Balance ? kBalanceWord : kFillWord};
}

} // namespace

SideSettings readSidesFile(const QString& path)
{
    return parseSides(readSettingsLines(path));
}

void writeSidesFile(const QString& path, const SideSettings& settings)
{
    writeTextFile(path, sidesLines(settings));
}
