#include "app/settings_file.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "common/text_file.h"

#include <QFile>

namespace {

// Nothing sensible lies beyond the first few bytes of a four-line file.
constexpr qint64 kMostRead = 4096;

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

std::optional<int> checkValue(const QStringList& lines, int index)
{
    const auto value = lineNumber(lines, index);
    if (value && (*value < 0 || *value > 2))
        return std::nullopt;
    return value;
}

QString checkLine(int value)
{
    return printNumber(value) + u' ';
}

} // namespace

SettingsRead parseSettings(const QStringList& lines)
{
    SettingsRead read;
    read.save = checkValue(lines, 0);
    const auto format = lineNumber(lines, 1);
    if (format == 1 || format == 2)
        read.format = format;
    read.exit = checkValue(lines, 2);
    read.shutdown = checkValue(lines, 3);
    return read;
}

QStringList settingsLines(const WhenDoneChoices& choices)
{
    QStringList lines{checkLine(choices.save)};
    if (choices.format == 1 || choices.format == 2)
        lines << QString::number(choices.format);
    lines << checkLine(choices.exit) << checkLine(choices.shutdown);
    return lines;
}

SettingsRead readSettingsFile(const QString& path)
{
    if (!fileHasContent(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseSettings(splitTextLines(file.read(kMostRead)));
}

void writeSettingsFile(const QString& path, const WhenDoneChoices& choices)
{
    writeTextFile(path, settingsLines(choices));
}
