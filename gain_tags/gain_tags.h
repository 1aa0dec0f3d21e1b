#pragma once

#include <QString>
#include <optional>

// What a media file's tags say about its loudness. Gains are in dB towards -18 LUFS
// (classic ReplayGain's 89 dB is taken as the same level); peaks are fractions of full
// scale. Each figure is there only when a tag gave a sound value for it.
struct GainTags {
    std::optional<double> trackGain;
    std::optional<double> trackPeak;
    std::optional<double> albumGain;
    std::optional<double> albumPeak;
    QString album; // groups the tracks an album gain belongs to; empty when untagged

    bool operator==(const GainTags&) const = default;
};

// The ReplayGain and R128 tags of a media file, in whichever forms its type carries
// them. A file without them, of a type without tags, damaged or unreadable gives none.
GainTags readGainTags(const QString& path);
