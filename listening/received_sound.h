#pragma once

#include "scan/level_envelope.h"

#include <QString>
#include <QStringList>
#include <vector>

// What an input heard of a run, as a recorder's silence detection sees it, with the
// power of each 10 ms block beside its peak for the tracks' levels.
struct ReceivedSound {
    LevelEnvelope envelope;
    std::vector<float> blockPower; // mean square of both channels, block for block

    // Takes the next interleaved stereo samples at 44.1 kHz.
    void append(const float* interleavedStereo, qint64 frames);
};

// An entry as the run sent it.
struct SentEntry {
    QString title;
    double seconds = 0;    // its length as the list holds it
    double gapSeconds = 0; // the silence after it; none after the last
};

struct ReceivedTrack {
    double startSeconds = 0; // in what was heard
    double endSeconds = 0;
    double peakDb = 0;
    double levelDb = 0; // its power, as the RMS of a sine would read
    bool clipped = false;
    std::vector<double> dropOuts; // seconds from its start where the sound fell away at once
};

// The silence after a track, as the recorder will hear it.
struct ReceivedGap {
    double peakDb = 0;
    double quietSeconds = 0; // the longest stretch of it below the recorder's threshold
    bool splits = false;     // the recorder starts a new track there
};

struct ReceivedFindings {
    std::vector<ReceivedTrack> tracks; // as far as the run was heard; empty: nothing heard
    std::vector<ReceivedGap> gaps;     // gaps[i] follows tracks[i]
};

// Finds the sent entries in what was heard: the first sound starts the first
// entry, and each gap is looked for near where the entry before it ends.
ReceivedFindings findReceived(const ReceivedSound& heard, const std::vector<SentEntry>& sent, const SilenceRule& rule);

// A line a track, and a line for each gap the recorder will not split at.
QStringList receivedReport(const ReceivedFindings& findings, const std::vector<SentEntry>& sent, const SilenceRule& rule);
