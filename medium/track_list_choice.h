#pragma once

#include <QStringList>

// How the track list is written, as the user last chose it.
struct TrackListChoice {
    bool deckTitles = false;
    int titleLength = 0; // characters; 0: any
    bool showGain = false;
    bool halfWidthKana = false; // deck titles spell kana in half-width katakana

    bool operator==(const TrackListChoice&) const = default;
};

inline constexpr int kTitleLengthMost = 999;

// track_list.dat, beside recorder.dat: 1 or 0 for titles for the deck, their
// longest length, 1 or 0 for the gain, 1 or 0 for half-width katakana, a line each.
inline const QString kTrackListFileName = QStringLiteral("track_list.dat");

// The choice the lines give; a missing or damaged line gives that part's default.
TrackListChoice parseTrackListChoice(const QStringList& lines);

// Reads track_list.dat; no file gives the defaults.
TrackListChoice readTrackListFile(const QString& path);
// Replaces track_list.dat only once the new content is complete. Throws a Failure.
void writeTrackListFile(const QString& path, const TrackListChoice& choice);
