#include "loudness/gain_plan.h"

#include "gain_tags/gain_values.h"
#include "loudness/album_loudness.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

struct Known {
    std::optional<double> gain;
    EntryGain::From from = EntryGain::From::Fallback;
    std::optional<double> peak;
    // A tag's peak may lie, and a gain that trusts it clips: only a measured peak
    // lets a gain lift the sound.
    bool peakMeasured = false;
};

std::optional<double> sound(std::optional<double> peak)
{
    return peak ? soundPeak(*peak) : std::nullopt;
}

// What the scan heard wins over what a tag claims.
std::optional<double> bestPeak(std::optional<double> measured, std::optional<double> tagged)
{
    return sound(measured) ? sound(measured) : sound(tagged);
}

std::optional<double> measuredGain(double lufs)
{
    // A silent track has nothing to bring to the reference.
    return std::isfinite(lufs) ? std::optional(kReferenceLufs - lufs) : std::optional(0.0);
}

Known trackKnown(const GainFacts& facts)
{
    Known known;
    known.peak = bestPeak(facts.measuredPeak, facts.trackPeak);
    known.peakMeasured = sound(facts.measuredPeak).has_value();
    if (facts.trackGain) {
        known.gain = facts.trackGain;
        known.from = EntryGain::From::Tags;
    } else if (facts.measuredLufs) {
        known.gain = measuredGain(*facts.measuredLufs);
        known.from = EntryGain::From::Measured;
    }
    return known;
}

// One album's gain and peak: its tags' where a track has them, else the loudness of
// its measured tracks together.
Known albumKnown(const std::vector<GainFacts>& entries, size_t first, size_t end)
{
    Known known;
    known.peakMeasured = true;
    std::vector<TrackLoudness> measured;
    for (size_t index = first; index < end; ++index) {
        const GainFacts& facts = entries[index];
        if (facts.albumGain && !known.gain) {
            known.gain = facts.albumGain;
            known.from = EntryGain::From::Tags;
        }
        if (facts.measuredLufs)
            measured.push_back({*facts.measuredLufs, facts.frames});
        const std::optional<double> peak = bestPeak(facts.measuredPeak, sound(facts.albumPeak) ? facts.albumPeak : facts.trackPeak);
        known.peakMeasured = known.peakMeasured && sound(facts.measuredPeak);
        if (peak)
            known.peak = std::max(known.peak.value_or(0), *peak);
    }
    if (!known.gain && !measured.empty()) {
        known.gain = measuredGain(albumLoudness(measured));
        known.from = EntryGain::From::Measured;
    }
    return known;
}

EntryGain applied(const Known& known, double gainDb, EntryGain::From from)
{
    EntryGain gain {gainDb, from, {}};
    if (!known.peakMeasured)
        gain.db = std::min(gain.db, 0.0);
    if (known.peak) {
        gain.db = std::min(gain.db, -20 * std::log10(*known.peak));
        gain.peakAfter = *known.peak * std::pow(10.0, gain.db / 20);
    }
    return gain;
}

} // namespace

std::vector<EntryGain> planGains(const std::vector<GainFacts>& entries, const GainSettings& settings)
{
    std::vector<EntryGain> gains(entries.size());
    if (settings.mode == GainMode::Off)
        return gains;
    std::vector<Known> known(entries.size());
    for (size_t first = 0; first < entries.size();) {
        size_t end = first + 1;
        if (settings.mode == GainMode::Album && !entries[first].album.isEmpty()) {
            while (end < entries.size() && entries[end].album == entries[first].album)
                ++end;
            std::fill(known.begin() + qsizetype(first), known.begin() + qsizetype(end), albumKnown(entries, first, end));
        } else {
            known[first] = trackKnown(entries[first]);
        }
        first = end;
    }
    std::vector<double> knownGains;
    for (size_t index = 0; index < entries.size(); ++index) {
        if (known[index].gain) {
            gains[index] = applied(known[index], *known[index].gain + settings.preampDb, known[index].from);
            knownGains.push_back(gains[index].db);
        }
    }
    const double average = knownGains.empty()
        ? settings.preampDb
        : std::accumulate(knownGains.begin(), knownGains.end(), 0.0) / double(knownGains.size());
    const double fallback = std::min(0.0, average);
    for (size_t index = 0; index < entries.size(); ++index) {
        if (!known[index].gain)
            gains[index] = applied(known[index], fallback, EntryGain::From::Fallback);
    }
    return gains;
}

QString gainText(const EntryGain& gain)
{
    static const char* const from[] = {"", " (tags)", " (measured)", " (until measured)"};
    return QStringLiteral("gain %1 dB%2")
        .arg(QString::number(gain.db, 'f', 1), QLatin1String(from[int(gain.from)]));
}

QString loudnessText(std::optional<double> lufs, const EntryGain& gain)
{
    QStringList parts;
    if (lufs && std::isfinite(*lufs))
        parts << QStringLiteral("loudness %1 LUFS").arg(*lufs, 0, 'f', 1);
    parts << gainText(gain);
    if (gain.peakAfter && *gain.peakAfter > 0)
        parts << QStringLiteral("peak after %1 dB").arg(20 * std::log10(*gain.peakAfter), 0, 'f', 1);
    return parts.join(QStringLiteral(", "));
}

bool sameGains(const std::vector<EntryGain>& a, const std::vector<EntryGain>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const EntryGain& x, const EntryGain& y) { return x.db == y.db && x.from == y.from; });
}
