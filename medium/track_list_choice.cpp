#include "medium/track_list_choice.h"

#include "common/settings_lines.h"
#include "common/settings_number.h"
#include "common/text_file.h"

namespace {

bool isOn(const QStringList& lines, int line)
{
    return lines.size() > line && lines[line].trimmed() == QStringLiteral("1");
}

} // namespace

TrackListChoice parseTrackListChoice(const QStringList& lines)
{
    TrackListChoice choice;
    choice.deckTitles = isOn(lines, 0);
    if (lines.size() > 1)
        choice.titleLength = settingsWholeNumber(lines[1], 0, kTitleLengthMost).value_or(choice.titleLength);
    choice.showGain = isOn(lines, 2);
    choice.halfWidthKana = isOn(lines, 3);
    return choice;
}

TrackListChoice readTrackListFile(const QString& path)
{
    return parseTrackListChoice(readSettingsLines(path));
}

void writeTrackListFile(const QString& path, const TrackListChoice& choice)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    writeTextFile(path, {flag(choice.deckTitles), QString::number(choice.titleLength), flag(choice.showGain),
                         flag(choice.halfWidthKana)});
}
