#include "listening/cable_check.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRate = CableProbe::kRate;
// Far more than two sound cards' clocks drift apart over the check.
constexpr double kSteadySeconds = 0.002;

qint64 framesOf(double seconds)
{
    return qint64(std::llround(seconds * kRate));
}

double decibels(double amplitude)
{
    return amplitude > 0 ? 20 * std::log10(amplitude) : -HUGE_VAL;
}

// The loudest sample of heard in [first, end), clamped to what was heard.
double peakOf(const std::vector<float>& heard, qint64 first, qint64 end)
{
    first = std::clamp<qint64>(first, 0, qint64(heard.size()));
    end = std::clamp<qint64>(end, first, qint64(heard.size()));
    double peak = 0;
    for (qint64 i = first; i < end; ++i)
        peak = std::max(peak, double(std::abs(heard[size_t(i)])));
    return peak;
}

// A tone's peak from its power, which one loud click in it does not move.
double tonePeakOf(const std::vector<float>& heard, qint64 first, qint64 end)
{
    first = std::clamp<qint64>(first, 0, qint64(heard.size()));
    end = std::clamp<qint64>(end, first, qint64(heard.size()));
    if (end == first)
        return 0;
    double power = 0;
    for (qint64 i = first; i < end; ++i)
        power += double(heard[size_t(i)]) * heard[size_t(i)];
    return std::sqrt(2 * power / double(end - first));
}

// The tone starts at its zero crossing and reaches a third of its peak a few samples
// later: its start is where the heard best matches the tone's first milliseconds.
qint64 toneStartNear(const std::vector<float>& heard, qint64 crossing)
{
    constexpr qint64 kMatchFrames = 88; // two periods
    const double step = 2 * std::numbers::pi * CableCheckSound::kToneHz / kRate;
    qint64 best = crossing;
    double bestMatch = -HUGE_VAL;
    for (qint64 start = std::max<qint64>(0, crossing - 6); start <= crossing; ++start) {
        double match = 0;
        for (qint64 i = 0; i < kMatchFrames && start + i < qint64(heard.size()); ++i)
            match += heard[size_t(start + i)] * std::sin(step * double(i));
        if (match > bestMatch) {
            bestMatch = match;
            best = start;
        }
    }
    return best;
}

QString decibelText(double db)
{
    return QLocale::c().toString(db, 'f', 1);
}

// The first sample in [from, to) as loud as level, at the tone's start near it; -1
// when none is.
qint64 onsetIn(const std::vector<float>& heard, qint64 from, qint64 to, double level)
{
    qint64 onset = std::max<qint64>(0, from);
    to = std::min(to, qint64(heard.size()));
    while (onset < to && std::abs(heard[size_t(onset)]) < level)
        ++onset;
    return onset < to ? toneStartNear(heard, onset) : -1;
}

} // namespace

std::vector<float> CableCheckSound::samples()
{
    const double amplitude = std::pow(10.0, kToneDb / 20);
    std::vector<float> sound(size_t(framesOf(kLeadSeconds + kFirstToneSeconds + kSilenceSeconds + kSecondToneSeconds)));
    const auto tone = [&](double startSeconds, double seconds) {
        const qint64 first = framesOf(startSeconds);
        for (qint64 i = 0; i < framesOf(seconds); ++i)
            sound[size_t(first + i)] = float(amplitude * std::sin(2 * std::numbers::pi * kToneHz * double(i) / kRate));
    };
    tone(kLeadSeconds, kFirstToneSeconds);
    tone(kLeadSeconds + kFirstToneSeconds + kSilenceSeconds, kSecondToneSeconds);
    return sound;
}

CableFindings findCable(const CableProbe::Heard& heard)
{
    using Sound = CableCheckSound;
    const std::vector<float>& samples = heard.samples;
    CableFindings findings;
    // Before the first tone can have come back, the input hears only its own noise;
    // each tone is looked for a little earlier than it can come, should the clocks differ.
    const qint64 sentTone = heard.sentAt + framesOf(Sound::kLeadSeconds);
    const qint64 early = framesOf(Sound::kLeadSeconds / 2);
    const qint64 late = framesOf(Sound::kListenAfterSeconds);
    const double noise = peakOf(samples, heard.sentAt, sentTone - early);
    const double loudest = peakOf(samples, sentTone - early, sentTone + late + framesOf(Sound::kFirstToneSeconds));
    if (loudest < 2 * noise || loudest < 1e-4)
        return findings;
    const double onsetLevel = std::max(loudest / 3, 1.5 * noise);
    const qint64 firstOnset = onsetIn(samples, sentTone - early, sentTone + late, onsetLevel);
    if (firstOnset < 0)
        return findings;
    findings.heard = true;
    // An output stalled on a busy machine catches up by dropping samples, which can take
    // the start of the first tone; the second comes once it has caught up, and tells the
    // round trip. Out of step, the tones tell that the sound broke up on its way.
    const qint64 spacing = framesOf(Sound::kFirstToneSeconds + Sound::kSilenceSeconds);
    const qint64 secondOnset = onsetIn(samples, firstOnset + spacing - early, firstOnset + spacing + early, onsetLevel);
    const qint64 onset = secondOnset < 0 ? firstOnset : secondOnset - spacing;
    findings.steady = secondOnset >= 0 && std::abs(onset - firstOnset) <= framesOf(kSteadySeconds);
    findings.delaySeconds = double(onset - sentTone) / kRate;

    // Each part is measured well inside itself, clear of the edges' ramps.
    const qint64 margin = framesOf(0.1);
    const qint64 toneEnd = onset + framesOf(Sound::kFirstToneSeconds);
    findings.levelDb = decibels(tonePeakOf(samples, std::max(onset, firstOnset) + margin, toneEnd - margin));
    const qint64 secondTone = onset + spacing;
    const qint64 secondEnd = secondTone + framesOf(Sound::kSecondToneSeconds);
    findings.clipped = std::max(peakOf(samples, onset, toneEnd), peakOf(samples, secondTone, secondEnd)) >= 0.999;
    findings.silenceDb = decibels(peakOf(samples, toneEnd + margin, secondTone - margin));
    findings.secondToneHeard = tonePeakOf(samples, secondTone + margin, secondEnd - margin) > loudest / 4;
    return findings;
}

CableFindings checkCable(CableProbe& probe, const QString& output, const QString& input,
                         const std::atomic<bool>& cancel)
{
    CableFindings findings;
    for (int tries = 0; tries < 3 && !cancel && (tries == 0 || (findings.heard && !findings.steady)); ++tries)
        findings = findCable(probe.probe(output, input, CableCheckSound::samples(),
                                         CableCheckSound::kListenAfterSeconds, cancel));
    return findings;
}

QStringList cableReport(const CableFindings& findings, const SilenceRule& rule)
{
    if (!findings.heard)
        return {QStringLiteral("The input hears nothing of the test tone: check the cable, that the recorder "
                               "passes its input on, and the input chosen to listen back.")};
    QStringList lines;
    lines << QStringLiteral("Round trip: %1 ms.").arg(std::lround(findings.delaySeconds * 1000));
    const double change = findings.levelDb - CableCheckSound::kToneDb;
    lines << QStringLiteral("The tone sent at %1 dB arrives at %2 dB (%3%4 dB).")
                 .arg(decibelText(CableCheckSound::kToneDb), decibelText(findings.levelDb),
                      change >= 0 ? QStringLiteral("+") : QString(), decibelText(change));
    if (findings.clipped)
        lines << QStringLiteral("It clips: lower the recorder's input level or the output's volume.");
    const QString silence = std::isfinite(findings.silenceDb)
                                ? QStringLiteral("%1 dB").arg(decibelText(findings.silenceDb))
                                : QStringLiteral("digital silence");
    const QString threshold = decibelText(rule.thresholdDb);
    if (findings.silenceDb >= rule.thresholdDb)
        lines << QStringLiteral("The silence arrives at %1, the recorder splits below %2 dB: it will not start new "
                                "tracks; lower the noise or choose a recorder that splits at a higher level.")
                     .arg(silence, threshold);
    else
        lines << QStringLiteral("The silence arrives at %1, below the %2 dB the recorder splits at.").arg(silence, threshold);
    if (!findings.secondToneHeard)
        lines << QStringLiteral("The second tone did not come back: the sound broke off during the check.");
    else if (!findings.steady)
        lines << QStringLiteral("The sound broke up on its way during the check, so these figures may be off: "
                                "check again, with less else running.");
    return lines;
}
