#pragma once

#include "player/cable_probe.h"
#include "medium/silence_rule.h"

#include <QStringList>
#include <vector>

// What a check of the cable sends to the output: a silence, a tone at a known
// level, a silence longer than any recorder's gap, a second tone and a silence
// for the way back, mono at CableProbe::kRate.
struct CableCheckSound {
    static constexpr double kToneHz = 1000;
    static constexpr double kToneDb = -12; // its peak, dB below full scale
    static constexpr double kLeadSeconds = 0.5;
    static constexpr double kFirstToneSeconds = 1.0;
    static constexpr double kSilenceSeconds = 2.0;
    static constexpr double kSecondToneSeconds = 0.5;
    static constexpr double kListenAfterSeconds = 0.5; // the longest round trip heard

    static std::vector<float> samples();
};

// What came back of it.
struct CableFindings {
    bool heard = false;        // the first tone came back, clearly above what the input hears otherwise
    double delaySeconds = 0;   // from leaving the output to arriving at the input
    double levelDb = 0;        // the tone's peak as it arrived, dB below full scale
    bool clipped = false;      // a tone reached full scale at the input
    double silenceDb = 0;      // the loudest of the silence between the tones as it arrived
    bool secondToneHeard = false;
    bool steady = false;       // the second tone came back as long after the first as it was sent
};

CableFindings findCable(const CableProbe::Heard& heard);

// Plays the check's sound to output and finds what input hears of it, checking again,
// up to three times in all, while the sound breaks up on its way, as it can on a busy
// machine. Throws a Failure as the probe does.
CableFindings checkCable(CableProbe& probe, const QString& output, const QString& input,
                         const std::atomic<bool>& cancel);

// The findings in sentences for the user, the silence set against the recorder's rule.
QStringList cableReport(const CableFindings& findings, const SilenceRule& rule);
