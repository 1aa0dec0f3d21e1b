#pragma once

#include "common/playlist_table.h"
#include "common/title_lookup.h"
#include "medium/deck_title.h"
#include "loudness/gain_plan.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The title an entry is listed under: the lookup's, else for a CD track "Track N",
// else the file's tags ("Artist - Title" when it has both), else its file name
// without extension. number is the entry's place in the list, for a CD track whose
// file name gives none.
QString entryTitle(const QString& path, int number, const TitleLookup& lookup);

// The album every entry names, when they all name the same; else empty. A file names
// it in its tags, a CD track through albums.
QString sharedAlbum(const PlaylistTable& table, const AlbumLookup& albums);

// A track's length as m:ss, or h:mm:ss from an hour on.
QString trackLengthText(qint64 seconds);

// What the track list tells besides each entry's number, title and length.
struct TrackListOptions {
    std::vector<double> starts;   // seconds on the medium, index for index; empty: none told
    std::vector<int> sideStarts;  // the entries sides begin with; more than one: each side is headed
    std::vector<EntryGain> gains; // index for index; empty: none told
    std::optional<int> deckTitleLength; // titles as a deck takes them, cut to so many characters (0: any)
    DeckLetters deckLetters = DeckLetters::Ascii;
};

// Each entry's title as the track list gives it, as a deck takes it when asked.
QStringList entryTitles(const PlaylistTable& table, const TitleLookup& lookup, const TrackListOptions& options);

// The list for titling the medium, a line a track: "1. Title 3:45"; with start times,
// gains and sides "Side A", "00:02 1. Title 3:45, gain -4.2 dB (measured)".
QString trackListText(const PlaylistTable& table, const TitleLookup& lookup, const TrackListOptions& options = {});
