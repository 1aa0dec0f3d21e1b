#pragma once

#include <QStringView>
#include <optional>

// Loudness figures read from tag texts, with "." as the only decimal point whatever the
// locale. A text that is no number, or a figure beyond all reason, reads as none.

// A gain in dB, "-6.20 dB" (the unit may be left out).
std::optional<double> gainFromText(QStringView text);

// A peak as a fraction of full scale, "0.988553".
std::optional<double> peakFromText(QStringView text);

// An R128 gain: a whole number of 1/256 dB towards -23 LUFS ("-1280"), given towards
// -18 LUFS like the others.
std::optional<double> gainFromR128Text(QStringView text);

// A gain or peak from a tag that holds a number rather than a text, kept when sound.
std::optional<double> soundGain(double gain);
std::optional<double> soundPeak(double peak);
