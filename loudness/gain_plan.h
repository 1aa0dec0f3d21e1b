#pragma once

#include <QString>
#include <optional>
#include <vector>

// How loud the list comes out: untouched, every track at the reference loudness,
// or every album there with its tracks' own levels kept.
enum class GainMode { Off, Track, Album };

struct GainSettings {
    GainMode mode = GainMode::Off;
    double preampDb = 0;

    bool operator==(const GainSettings&) const = default;
};

// ReplayGain 2.0's reference: what a track at gain 0 dB is measured at.
inline constexpr double kReferenceLufs = -18;

// What is known of one entry's loudness: its tags' figures (gains in dB towards the
// reference, peaks as fractions of full scale) and the scan's.
struct GainFacts {
    std::optional<double> trackGain, trackPeak, albumGain, albumPeak;
    std::optional<double> measuredLufs; // minus infinity for a silent track
    std::optional<double> measuredPeak;
    qint64 frames = 0;
    QString album; // entries next to each other with the same album are one album; empty: none
};

struct EntryGain {
    enum class From { Untouched, Tags, Measured, Fallback };
    double db = 0;
    From from = From::Untouched;
    std::optional<double> peakAfter; // the entry's peak once the gain is applied
};

// The gain of every entry. A gain never lifts a known peak over full scale (in album
// mode the album's peak, so its tracks keep their levels), and lifts above 0 dB only
// with a measured peak: tags' peaks may lie. An entry nothing is known of yet gets
// the fallback: the average of the others' gains, never above 0 dB.
std::vector<EntryGain> planGains(const std::vector<GainFacts>& entries, const GainSettings& settings);

// Whether two plans play every entry alike.
bool sameGains(const std::vector<EntryGain>& a, const std::vector<EntryGain>& b);

// "gain -4.2 dB" with where it comes from: "(tags)", "(measured)", "(until measured)".
QString gainText(const EntryGain& gain);

// "loudness -14.2 LUFS, gain -3.8 dB (measured), peak after -1.2 dB"; what is not known is left out.
QString loudnessText(std::optional<double> lufs, const EntryGain& gain);
