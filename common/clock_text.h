#pragma once

#include <QString>

// Seconds as minutes and seconds, each at least two digits, no hours (03:35, 75:00).
QString clockText(qint64 seconds);

// Minutes text of the clock: two digits at least.
QString twoDigits(qint64 value);
