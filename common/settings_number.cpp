#include "common/settings_number.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

std::optional<double> settingsNumber(const QString& line)
{
    // Without the Unicode option, \s stands for ASCII blanks only.
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*([+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)\s*$)"));
    const QRegularExpressionMatch match = form.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    // The C locale, not the default one nor the C library's, where "1.5" can read as 15 or 1.
    bool ok = false;
    const double value = QLocale::c().toDouble(match.capturedView(1), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> settingsWholeNumber(const QString& line, int least, int most)
{
    const std::optional<double> number = settingsNumber(line);
    if (!number || *number != std::trunc(*number) || *number < least || *number > most)
        return std::nullopt;
    return int(*number);
}
