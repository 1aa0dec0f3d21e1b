#include "session/settings_file.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "common/settings_lines.h"
#include "common/text_file.h"

namespace {

std::optional<int> lineNumber(const QStringList& lines, int index)
{
    if (index >= lines.size())
        return std::nullopt;
    try {
        return toInt16(leadingNumber(lines[index]));
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// A box is written as 0 clear, 1 ticked, 2 greyed.
std::optional<BoxState> boxState(const QStringList& lines, int index)
{
    switch (lineNumber(lines, index).value_or(-1)) {
    case 0:
        return BoxState::Clear;
    case 1:
        return BoxState::Ticked;
    case 2:
        return BoxState::Greyed;
    default:
        return std::nullopt;
    }
}

QString boxLine(BoxState state)
{
    const int number = state == BoxState::Ticked ? 1 : state == BoxState::Greyed ? 2 : 0;
    return printNumber(number) + u' ';
}

// The format line is 1 for M3U, 2 for PLS; with neither chosen it is left out.
std::optional<PlaylistFormat> playlistFormat(const QStringList& lines)
{
    const std::optional<int> number = lineNumber(lines, 1);
    if (number == 1)
        return PlaylistFormat::M3u;
    if (number == 2)
        return PlaylistFormat::Pls;
    return std::nullopt;
}

} // namespace

SettingsRead parseSettings(const QStringList& lines)
{
    SettingsRead read;
    read.save = boxState(lines, 0);
    read.format = playlistFormat(lines);
    read.exit = boxState(lines, 2);
    read.shutdown = boxState(lines, 3);
    return read;
}

QStringList settingsLines(const WhenDoneChoices& choices)
{
    QStringList lines{boxLine(choices.save)};
    if (choices.format == PlaylistFormat::M3u)
        lines << QStringLiteral("1");
    else if (choices.format == PlaylistFormat::Pls)
        lines << QStringLiteral("2");
    lines << boxLine(choices.exit) << boxLine(choices.shutdown);
    return lines;
}

SettingsRead readSettingsFile(const QString& path)
{
    if (!fileHasContent(path))
        return {};
    return parseSettings(readSettingsLines(path));
}

void writeSettingsFile(const QString& path, const WhenDoneChoices& choices)
{
    writeTextFile(path, settingsLines(choices));
}
