#pragma once

#include <QString>
#include <optional>

// A number that a settings file's line holds and nothing else but blanks around it: an
// optional sign, digits with "." as the decimal point whatever the locale, and an
// optional exponent after E. Nothing for an empty, garbled or partial line, which the
// leading-number rule would read as 0, nor for one that overflows or underflows.
std::optional<double> settingsNumber(const QString& line);

// A settings number that is whole and within least..most; nothing for anything else.
std::optional<int> settingsWholeNumber(const QString& line, int least, int most);
