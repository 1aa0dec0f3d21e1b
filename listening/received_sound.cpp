#include "listening/received_sound.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kBlock = LevelEnvelope::kBlockSeconds;
// How far from where it is due a gap is looked for: a list's lengths are whole seconds.
constexpr double kGapSearchBefore = 1.0;
constexpr double kGapSearchAfter = 2.0;
constexpr double kGapFit = 0.5;
// A drop-out: the sound falls from this far above the threshold to below it within a block.
constexpr double kDropOutFallDb = 20;
constexpr float kClipped = 0.999f;

double decibels(double amplitude)
{
    return amplitude > 0 ? 20 * std::log10(amplitude) : -HUGE_VAL;
}

QString decibelText(double db)
{
    return std::isfinite(db) ? QLocale::c().toString(db, 'f', 1) + QStringLiteral(" dB") : QStringLiteral("silence");
}

QString timeText(double seconds)
{
    const qint64 tenths = std::llround(seconds * 10);
    return QStringLiteral("%1:%2.%3").arg(tenths / 600).arg(tenths / 10 % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
}

size_t blockAt(double seconds)
{
    return size_t(std::max(0.0, std::round(seconds / kBlock)));
}

class Blocks {
public:
    Blocks(const ReceivedSound& heard, const SilenceRule& rule)
        : m_peaks(heard.envelope.blockPeaks)
        , m_power(heard.blockPower)
        , m_threshold(float(std::pow(10.0, rule.thresholdDb / 20)))
    {
    }

    size_t size() const { return m_peaks.size(); }
    bool quiet(size_t block) const { return m_peaks[block] < m_threshold; }
    float threshold() const { return m_threshold; }
    float peak(size_t first, size_t end) const
    {
        float loudest = 0;
        for (size_t block = first; block < std::min(end, size()); ++block)
            loudest = std::max(loudest, m_peaks[block]);
        return loudest;
    }
    double power(size_t first, size_t end) const
    {
        end = std::min(end, std::min(size(), m_power.size()));
        double sum = 0;
        for (size_t block = first; block < end; ++block)
            sum += m_power[block];
        return end > first ? sum / double(end - first) : 0;
    }
    double longestQuiet(size_t first, size_t end) const
    {
        size_t longest = 0;
        size_t run = 0;
        for (size_t block = first; block < std::min(end, size()); ++block) {
            run = quiet(block) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return double(longest) * kBlock;
    }
    // Where a quiet stretch of the given length is quietest, starting in [first, last].
    size_t quietest(size_t first, size_t last, size_t length) const
    {
        size_t best = first;
        float bestPeak = HUGE_VALF;
        for (size_t start = first; start <= last && start < size(); ++start) {
            const float loudest = peak(start, start + length);
            if (loudest < bestPeak) {
                bestPeak = loudest;
                best = start;
            }
        }
        return best;
    }
    std::vector<double> dropOuts(size_t first, size_t end) const
    {
        const float loud = m_threshold * float(std::pow(10.0, kDropOutFallDb / 20));
        std::vector<double> found;
        for (size_t block = first + 1; block + 1 < std::min(end, size()); ++block) {
            if (m_peaks[block - 1] >= loud && quiet(block) && quiet(block + 1))
                found.push_back(double(block - first) * kBlock);
        }
        return found;
    }

private:
    const std::vector<float>& m_peaks;
    const std::vector<float>& m_power;
    float m_threshold;
};

ReceivedTrack trackBetween(const Blocks& blocks, size_t first, size_t end)
{
    ReceivedTrack track;
    track.startSeconds = double(first) * kBlock;
    track.endSeconds = double(end) * kBlock;
    const float loudest = blocks.peak(first, end);
    track.peakDb = decibels(loudest);
    track.levelDb = decibels(std::sqrt(2 * blocks.power(first, end)));
    track.clipped = loudest >= kClipped;
    track.dropOuts = blocks.dropOuts(first, end);
    return track;
}

} // namespace

void ReceivedSound::append(const float* interleavedStereo, qint64 frames)
{
    qint64 done = 0;
    while (done < frames) {
        const qint64 inBlock = envelope.frames % LevelEnvelope::kBlockFrames;
        const qint64 count = std::min(frames - done, LevelEnvelope::kBlockFrames - inBlock);
        if (inBlock == 0)
            blockPower.push_back(0);
        double sum = 0;
        for (const float* sample = interleavedStereo + 2 * done; sample < interleavedStereo + 2 * (done + count); ++sample)
            sum += double(*sample) * *sample;
        // Each block's mean over its whole length, a last short one over what it has.
        blockPower.back() = float((blockPower.back() * double(2 * inBlock) + sum) / double(2 * (inBlock + count)));
        appendSamples(envelope, interleavedStereo + 2 * done, count);
        done += count;
    }
}

ReceivedFindings findReceived(const ReceivedSound& heard, const std::vector<SentEntry>& sent, const SilenceRule& rule)
{
    const Blocks blocks(heard, rule);
    ReceivedFindings findings;
    size_t anchor = 0;
    while (anchor < blocks.size() && blocks.quiet(anchor))
        ++anchor;
    size_t endOfSound = blocks.size();
    while (endOfSound > anchor && blocks.quiet(endOfSound - 1))
        --endOfSound;
    const std::vector<QuietPassage> splits = quietPassages(heard.envelope, rule).inside;
    for (size_t index = 0; index < sent.size() && anchor < endOfSound; ++index) {
        if (index + 1 == sent.size()) {
            findings.tracks.push_back(trackBetween(blocks, anchor, endOfSound));
            break;
        }
        const double due = double(anchor) * kBlock + sent[index].seconds;
        const auto split = std::find_if(splits.cbegin(), splits.cend(), [&](const QuietPassage& passage) {
            return passage.startSeconds >= due - kGapSearchBefore && passage.startSeconds <= due + kGapSearchAfter;
        });
        size_t gapStart = 0;
        size_t gapEnd = 0;
        if (split != splits.cend()) {
            gapStart = blockAt(split->startSeconds);
            gapEnd = blockAt(split->startSeconds + split->lengthSeconds);
        } else {
            // Sound where the gap should be: its quietest stretch, a little shorter than the
            // gap so that it fits between the tracks wherever they were found.
            const size_t length = std::max<size_t>(1, blockAt(sent[index].gapSeconds - kGapFit));
            gapStart = blocks.quietest(blockAt(due - kGapSearchBefore), blockAt(due + kGapSearchAfter), length);
            gapEnd = gapStart + length;
        }
        if (gapStart >= endOfSound) { // the run was stopped in this track
            findings.tracks.push_back(trackBetween(blocks, anchor, endOfSound));
            break;
        }
        findings.tracks.push_back(trackBetween(blocks, anchor, gapStart));
        const float gapPeak = blocks.peak(gapStart, gapEnd);
        // Its quiet stretch is measured out to the tracks around it.
        const size_t reach = split != splits.cend() ? 0 : blockAt(kGapFit);
        findings.gaps.push_back({decibels(gapPeak), blocks.longestQuiet(gapStart - std::min(gapStart, reach), gapEnd + reach),
                                 split != splits.cend()});
        // The next track starts where the sound rises clearly above the gap's.
        anchor = gapEnd;
        while (anchor < endOfSound && (blocks.quiet(anchor) || blocks.peak(anchor, anchor + 1) < 2 * gapPeak))
            ++anchor;
    }
    return findings;
}

QStringList receivedReport(const ReceivedFindings& findings, const std::vector<SentEntry>& sent, const SilenceRule& rule)
{
    if (findings.tracks.empty())
        return {QStringLiteral("The input heard nothing of the run.")};
    QStringList lines;
    for (size_t index = 0; index < findings.tracks.size(); ++index) {
        const ReceivedTrack& track = findings.tracks[index];
        QString line = QStringLiteral("%1. %2: peak %3, level %4").arg(index + 1)
                           .arg(index < sent.size() ? sent[index].title : QString(), decibelText(track.peakDb),
                                decibelText(track.levelDb));
        if (track.clipped)
            line += QStringLiteral(", clipped");
        for (const double at : track.dropOuts)
            line += QStringLiteral(", drop-out at %1").arg(timeText(at));
        lines << line;
        if (index >= findings.gaps.size())
            continue;
        const ReceivedGap& gap = findings.gaps[index];
        if (gap.splits)
            lines << QStringLiteral("   gap: %1, the recorder starts a new track").arg(decibelText(gap.peakDb));
        else if (index < sent.size() && sent[index].gapSeconds < rule.minimumSeconds)
            lines << QStringLiteral("   gap: below %1 for only %2 s: the recorder will not start a new track")
                         .arg(decibelText(rule.thresholdDb), QLocale::c().toString(gap.quietSeconds, 'f', 1));
        else
            lines << QStringLiteral("   gap: the silence arrives at %1, above the %2 the recorder splits at: "
                                    "it will not start a new track")
                         .arg(decibelText(gap.peakDb), decibelText(rule.thresholdDb));
    }
    return lines;
}
