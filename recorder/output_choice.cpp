#include "recorder/output_choice.h"

#include "common/number_text.h"
#include "common/text_file.h"

#include <QFile>
#include <cmath>

namespace {

// Nothing sensible lies beyond the first few bytes of a three-line file.
constexpr qint64 kMostRead = 4096;

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
    if (lines.size() > 2) {
        // QString reads numbers with "." whatever the locale.
        bool ok = false;
        const double seconds = lines[2].trimmed().toDouble(&ok);
        if (ok && std::isfinite(seconds) && seconds >= 0 && seconds <= kLeadInMostSeconds)
            choice.leadInSeconds = seconds;
    }
    if (lines.size() > 3)
        choice.outputDescription = lines[3].trimmed();
    return choice;
}

QStringList outputChoiceLines(const OutputChoice& choice)
{
    return {choice.outputName, choice.keepOtherSoundsOff ? QStringLiteral("1") : QStringLiteral("0"),
            plainNumber(choice.leadInSeconds), choice.outputDescription};
}

OutputChoice readOutputFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseOutputChoice(splitTextLines(file.read(kMostRead)));
}

void writeOutputFile(const QString& path, const OutputChoice& choice)
{
    writeTextFile(path, outputChoiceLines(choice));
}
