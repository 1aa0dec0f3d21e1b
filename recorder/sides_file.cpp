#include "recorder/sides_file.h"

#include "common/settings_lines.h"
#include "common/text_file.h"
#include "recorder/recorder_file.h"

#include <cmath>

namespace {

const QString kFillWord = QStringLiteral("fill");
const QString kBalanceWord = QStringLiteral("balance");

SideSettings parseSides(const QStringList& lines)
{
    SideSettings settings;
    if (!lines.isEmpty()) {
        const std::optional<double> leader = lineFigure(lines[0]);
        if (leader && *leader == std::trunc(*leader) && *leader >= 0 && *leader <= SideSettings::kLeaderMost)
            settings.leaderSeconds = int(*leader);
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
