#pragma once

#include "loudness/gain_plan.h"

#include <QStringList>

// What the recorder is fed from: the output a run plays to, whether other
// programs' sounds are kept off it, and the silence before the first track.
struct OutputChoice {
    QString outputName;         // the sound server's name of it; empty for the system default
    bool keepOtherSoundsOff = false;
    double leadInSeconds = 0;
    QString outputDescription; // as the server last described it, to name it while it is away
    GainSettings gain;
    QString listenName;        // the input that hears what the recorder receives; empty: none
    QString listenDescription; // as the server last described it
    bool keepReceivedSound = false; // what the input hears is saved as a WAV beside the list

    bool operator==(const OutputChoice&) const = default;
};

inline constexpr double kLeadInMostSeconds = 60;
inline constexpr double kPreampMostDb = 15;

// output.dat, beside recorder.dat: the output's name, 1 or 0 for keeping other
// sounds off, the lead-in in seconds, the output's description, the loudness mode
// ("off", "track" or "album"), the pre-amp in dB, the name of the input listened
// on and its description, and 1 or 0 for keeping what it hears, a line each.
inline const QString kOutputFileName = QStringLiteral("output.dat");

// What the user is shown of the chosen output.
QString outputTitle(const OutputChoice& choice);

// The choice the lines give; a missing or damaged line gives that part's default.
OutputChoice parseOutputChoice(const QStringList& lines);
QStringList outputChoiceLines(const OutputChoice& choice);

// Reads output.dat; no file or a damaged one gives the defaults.
OutputChoice readOutputFile(const QString& path);
// Replaces output.dat only once the new content is complete. Throws a Failure.
void writeOutputFile(const QString& path, const OutputChoice& choice);
