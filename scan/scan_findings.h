#pragma once

#include "scan/level_envelope.h"

#include <QString>

// What the scan found, in the words the scan panel shows.

// Whole minutes and seconds: "2:31", "0:03", "75:00".
QString minutesAndSeconds(double seconds);

// "quiet passage at 2:31 for 2.0 s"
QString quietPassageText(const QuietPassage& passage);

// "gap 1.0 s is shorter than 1.5 s"; heardSeconds, the gap with the silence at
// the ends of the tracks around it, is told when those add to it.
QString shortGapText(double gapSeconds, double heardSeconds, double minimumSeconds);

// "peak -0.3 dB at 1:12"
QString peakText(const PeakLevel& level);

// "Loudest peak of the list: -0.3 dB in track 3 at 1:12"
QString loudestPeakText(const PeakLevel& level, int trackNumber);

// "silent throughout (below -50 dB)"
QString silentTrackText(double thresholdDb);

// "scan failed: " and the first line of the description (the rest names the file).
QString scanFailedText(const QString& description);
